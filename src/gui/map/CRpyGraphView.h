#pragma once
// The track map: the decoded track of the loaded laps with the driving line
// of every ticked lap, zoomed and panned through the zoom view, printable.
// Without a track it shows the welcome picture.

#include "view/CZoomView.h"

class CRpyGraphView : public CZoomView {
    Q_OBJECT
public:
    static constexpr int kCanvas = 10000;
    static constexpr const char* kStartCaption = "Velmar Replay Analyzer - version 2.32";

    explicit CRpyGraphView(QWidget* parent = nullptr);

    // Whether a decoded track is shown (else the welcome picture).
    bool HasTrackMap() const;

protected:
    void OnDraw(QPainter& painter) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawNoMapPicture(QPainter& painter);

    bool firstPaint_ = true;
};
