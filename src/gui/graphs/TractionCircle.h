#pragma once
// "Traction Circle": the accelerations of the loaded laps over a stretch of
// track chosen on a slider, as points of (lateral g, longitudinal g) round
// the plot's centre, with the stretch marked on the track map and the time
// each lap took over it.

#include "gui/map/MFCDisplay.h"
#include "gui/widgets/CResizingDialog.h"

#include <QImage>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vra {

class CRpyGraphDoc;
class CSelectionSliderCtrl;
class TractionCircleHelp;

class TractionCircle : public CResizingDialog {
    Q_OBJECT
public:
    static constexpr int kLaps = 5;

    explicit TractionCircle(CRpyGraphDoc& doc, QWidget* parent = nullptr);
    ~TractionCircle() override;

    CSelectionSliderCtrl* Slider() const { return slider_; }
    // Box and time value of lap 1-5.
    QCheckBox* LapBox(int lap) const { return lapBoxes_[std::size_t(lap - 1)]; }
    QLabel* TimeValue(int lap) const { return times_[std::size_t(lap - 1)]; }
    QLabel* StartValue() const { return start_; }
    QLabel* EndValue() const { return end_; }
    QLabel* LengthValue() const { return length_; }
    QCheckBox* CirclesBox() const { return circles_; }
    QRadioButton* CarFrameButton() const { return carFrame_; }
    QRadioButton* TravelFrameButton() const { return travelFrame_; }
    QPushButton* HelpButton() const { return help_; }
    TractionCircleHelp* Help() const { return helpDialog_; }
    QWidget* PlotFrame() const { return plotFrame_; }
    QWidget* TrackFrame() const { return trackFrame_; }
    const QImage& PlotPicture() const { return plotPicture_; }
    const QImage& TrackPicture() const { return trackPicture_; }

    // Rebuilds both pictures from the controls and repaints them.
    void Redraw();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FillLapBoxes();
    void OnHScroll();
    void BuildPlotPicture();
    void BuildTrackPicture();
    void OnHelp();

    CRpyGraphDoc& doc_;
    CSelectionSliderCtrl* slider_;
    std::array<QCheckBox*, kLaps> lapBoxes_{};
    std::array<QLabel*, kLaps> times_{};
    QLabel* start_;
    QLabel* end_;
    QLabel* length_;
    QCheckBox* circles_;
    QRadioButton* carFrame_;
    QRadioButton* travelFrame_;
    QPushButton* help_;
    QWidget* plotFrame_;
    QWidget* trackFrame_;
    QImage plotPicture_, trackPicture_;
    MFCDisplay display_;
    TractionCircleHelp* helpDialog_ = nullptr;
    bool picturesBuilt_ = false;
};

// "Traction Circle Explained": how to read the plot.
class TractionCircleHelp : public CResizingDialog {
    Q_OBJECT
public:
    explicit TractionCircleHelp(QWidget* parent = nullptr);
};

}  // namespace vra
