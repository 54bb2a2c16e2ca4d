#pragma once
// The plot area of a graph window: draws the series, their marks and the
// grid into an off-screen image and copies it to the screen, follows the
// graph's notifications, and lets the user read coordinates, pan with Shift,
// zoom with a rubber band or the zoom rectangle, and fit the range.

#include "core/graphs/GraphModel.h"
#include "core/graphs/PanelRange.h"
#include "gui/graphs/CRectTracker.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <string>

class QMenu;

namespace vra {

class CGraphWnd;
class FHRuler;
class FVRuler;

class CGraphPanel : public QWidget {
    Q_OBJECT
public:
    // The extra read-out text for a cursor at (x, y) in values.
    using Host = std::function<std::string(double x, double y)>;

    CGraphPanel(FVRuler* vertical, FHRuler* horizontal, QWidget* parent);

    void SetGraph(CGraphWnd* graph) { graph_ = graph; }
    void SetHost(Host host) { host_ = std::move(host); }

    int GetFlags() const { return range_.Flags(); }
    int SetFlags(int flags, bool redraw);
    GraphRange GetRange() const { return range_.Range(); }
    void SetRange(const GraphRange& r, bool redraw);
    const PanelRange& Range() const { return range_; }

    void OnNotify(const GraphNotify& n);
    // A full redraw of the surface, then the screen.
    void Render();
    // The whole plot into rect of any painter (printing).
    void DrawAll(QPainter& painter, const QRect& rect) const;

    // Commands 4097-4105 and 4107.
    void OnGraphCommand(int id);
    void BuildContextMenu(QMenu& menu);
    void ApplyZoom();
    void Fit(int id);
    bool ZoomToolActive() const { return zoomTool_; }
    const CRectTracker& Tracker() const { return tracker_; }
    QString CoordinatesText(int x, int y) const;

    const QImage& Surface() const { return surface_; }
    int FullRenders() const { return fullRenders_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Recalculate(const GraphNotify& n);
    void DrawSeries(QPainter& painter, const QRect& rect) const;
    void DrawGrid(QPainter& painter, const QRect& rect) const;
    void PanStep();
    void ShowProperties();
    void RedrawRulers();

    FVRuler* vertical_;
    FHRuler* horizontal_;
    CGraphWnd* graph_ = nullptr;
    Host host_;
    PanelRange range_;
    QImage surface_;
    bool valid_ = false;
    int fullRenders_ = 0;
    QColor background_ = Qt::white;

    bool zoomTool_ = false;
    CRectTracker tracker_;
    int trackHit_ = -1;
    QPoint trackFrom_;
    bool dragging_ = false;
    QPoint dragStart_, dragEnd_;
    bool panning_ = false;
    QPoint previous_, current_;
};

}  // namespace vra
