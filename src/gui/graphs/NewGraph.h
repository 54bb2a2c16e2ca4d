#pragma once
// The "Telemetry Graph" dialog: one telemetry channel of the ticked laps
// (and wheels) along the lap distance, the time difference between two
// laps, a small track map and the printed telemetry page.

#include "core/graphs/TelemetryGraphController.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QSizeGrip;
class QTabWidget;

namespace vra {

class CGraphWnd;
class CRpyGraphDoc;
class Grafpage_Advanced;
class Grafpage_Basic;
class TimeDiffForGraph;
class TrackMapDialog;

class NewGraph : public QDialog, public TelemetryGraphView {
    Q_OBJECT
public:
    explicit NewGraph(CRpyGraphDoc* doc, QWidget* parent = nullptr);
    ~NewGraph() override;

    TelemetryGraphController& Controller() { return *controller_; }
    CGraphWnd* Graph() const { return graph_; }
    QCheckBox* LapBox(int box) const { return lapBoxes_[box]; }
    QCheckBox* WheelBox(int wheel) const { return wheelBoxes_[wheel]; }
    QCheckBox* TimeDiffBox() const { return timeDiffBox_; }
    Grafpage_Basic* BasicPage() const { return basic_; }
    Grafpage_Advanced* AdvancedPage() const { return advanced_; }
    QTabWidget* Sheet() const { return sheet_; }
    TrackMapDialog* TrackMap() const { return trackMap_; }
    TimeDiffForGraph* TimeDiff() const { return timeDiff_; }
    QPushButton* MapButton() const { return map_; }
    QPushButton* PrintButton() const { return print_; }
    QSizeGrip* SizeGrip() const { return grip_; }
    // The right edge of the lap group box, in client pixels.
    int LapGroupRight() const;

    void OnMap();
    void OnPrint();

    // TelemetryGraphView
    bool LapBoxTicked(int box) const override;
    bool WheelBoxTicked(int wheel) const override;
    bool TimeDiffTicked() const override;
    void EnableWheelBoxes(bool enable) override;
    void EnableTimeDiffBox(bool enable) override;
    void ShowTimeDiffWindow(const std::string& groupText) override;
    void HideTimeDiffWindow() override;
    bool TimeDiffWindowExists() const override;
    void SetTimeDiffTexts(const std::string& finish, const std::string& ahead, const std::string& behind,
                          const std::string& spread) override;
    void SetPositionText(const std::string& text) override;
    bool TrackMapExists() const override;
    void SetMapCursor(double distance, unsigned percent) override;
    void WaitCursor(bool on) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CRpyGraphDoc* doc_;
    QGroupBox* lapGroup_;
    QCheckBox* lapBoxes_[5];
    QCheckBox* wheelBoxes_[4];
    QCheckBox* timeDiffBox_;
    QTabWidget* sheet_;
    Grafpage_Basic* basic_;
    Grafpage_Advanced* advanced_;
    QPushButton *close_, *print_, *map_;
    QSizeGrip* grip_;
    CGraphWnd* graph_;
    TrackMapDialog* trackMap_ = nullptr;
    TimeDiffForGraph* timeDiff_ = nullptr;
    std::unique_ptr<TelemetryGraphController> controller_;
    int waiting_ = 0;
};

}  // namespace vra
