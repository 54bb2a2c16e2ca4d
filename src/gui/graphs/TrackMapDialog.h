#pragma once
// A small resizable window with the loaded track as a map, marking the
// stretch of track around the graph cursor's distance.

#include "gui/map/MFCDisplay.h"
#include "gui/widgets/CResizingDialog.h"

#include <QImage>

namespace vra {

class CRpyGraphDoc;

class TrackMapDialog : public CResizingDialog {
    Q_OBJECT
public:
    explicit TrackMapDialog(CRpyGraphDoc* doc, QWidget* parent);
    ~TrackMapDialog() override;

    // Marks width percent of the track length either side of distance.
    void SetCursorDistance(double distance, unsigned width);
    void RenderTrack();
    const QImage& Map() const { return map_; }
    QWidget* MapControl() const { return control_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    CRpyGraphDoc* doc_;
    QWidget* control_;
    QImage map_;
    MFCDisplay display_;
    bool placed_ = false;
};

}  // namespace vra
