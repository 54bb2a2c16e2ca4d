#pragma once

#include "core/view/ZoomModel.h"

#include <QAbstractScrollArea>
#include <QCursor>

#include <optional>

class QPainter;

namespace vra {
class Prompts;

// A scrolling window that shows a fixed logical document at a zoom: zoom in
// on a click or a dragged box, zoom out on a click, zoom to fit, centre on a
// point, pan with a hand tool or the keys, and print fitted to the page.
// Derived views paint in OnDraw, on a painter already mapped to logical units.
class CZoomView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CZoomView(QWidget* parent = nullptr);

    // Where the zoom limit message goes; without prompts a message box shows it.
    void SetPrompts(vra::Prompts* prompts) { prompts_ = prompts; }

    // Document size and page and line steps in logical units (0: a tenth).
    void SetZoomSizes(QSize total, QSize page = {}, QSize line = {});
    void UpdateViewport();

    // Each returns true when the zoom changed; a zoom beyond the limit shows
    // the limit message and keeps the zoom.
    bool DoZoomIn(QRect logical);
    bool ZoomByFactor(std::optional<QPoint> logicalCenter, float factor);
    bool ZoomOutByFactor(std::optional<QPoint> logicalCenter, float factor);
    bool ZoomFull();

    void SetZoomMode(vra::ZoomMode mode);
    vra::ZoomMode GetZoomMode() const { return model_.GetZoomMode(); }
    // 1 while the panning tool is on.
    void SetSecondaryMode(bool panning);
    bool GetSecondaryMode() const { return model_.PanMode(); }

    void CenterOnLogicalPoint(QPoint logical);
    QPoint GetLogicalCenterPoint() const;
    QPoint ClientToLogical(QPoint client) const;
    QPoint LogicalToClient(QPoint logical) const;
    // The client area in logical units: what a paint has to cover.
    QRect VisibleLogicalRect() const;
    // Scrolls by amount pixels; false when nothing moved.
    bool PanStep(vra::PanDirection direction, int amount);

    float ZoomScale() const { return model_.Scale(); }
    QSize DeviceSize() const;
    QSize LogicalSize() const;
    const vra::ZoomModel& Model() const { return model_; }

    // Maps the painter's logical units onto the window, as paintEvent does.
    void PrepareScreenPainter(QPainter& painter) const;
    // Maps the whole document onto a page of this size, aspect kept.
    void PrepareForPrinting(QPainter& painter, QSize page) const;

    // The cursor of our own for the zoom tools: a magnifying glass.
    static QCursor MagnifierCursor();

signals:
    // After every change of the zoom.
    void zoomChanged();
    // After the zoom mode or the panning tool changed.
    void toolChanged();

protected:
    // Paints the document; the painter is in logical units. Nothing here.
    virtual void OnDraw(QPainter& painter);
    // Tells the user that the zoom cannot grow any further.
    virtual void ReportZoomLimit();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool Apply(vra::ZoomResult result);
    void SyncScrollBars();
    void UpdateCursor();

    vra::ZoomModel model_;
    vra::Prompts* prompts_ = nullptr;
    bool syncing_ = false;
};

}  // namespace vra
