#pragma once
// The telemetry graph window: the series and axes (GraphModel) with the
// parts that show them, a frame holding the rulers and the plot panel in
// its container and the "Points" bar docked on the right. Every change of
// the data reaches the panel first, then the bar.

#include "core/graphs/GraphModel.h"

#include <QMainWindow>
#include <QWidget>

class QDockWidget;
class QPainter;

namespace vra {

class CAxisPropertyPage;
class CGraphicsPropertyPage;
class CGraphPanel;
class CPointViewBar;
class FHRuler;
class FVRuler;
class GraphPropertySheet;

class CGraphContainer : public QWidget {
    Q_OBJECT
public:
    explicit CGraphContainer(QWidget* parent);
    CGraphPanel* Panel() const { return panel_; }
    FVRuler* Vertical() const { return vertical_; }
    FHRuler* Horizontal() const { return horizontal_; }
    // Panel and rulers into rect of any painter, measured on its device.
    void DrawToDC(QPainter& painter, const QRect& rect) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    FVRuler* vertical_;
    FHRuler* horizontal_;
    CGraphPanel* panel_;
};

class CGraphFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CGraphFrame(QWidget* parent);
    CGraphContainer* Container() const { return container_; }
    CPointViewBar* Bar() const { return bar_; }
    QDockWidget* Dock() const { return dock_; }
    // Command 11003; the bar's view action.
    QAction* BarAction() const;
    void OnGraphCommand(int id);
    void ShowBar(bool show);

private:
    CGraphContainer* container_;
    QDockWidget* dock_;
    CPointViewBar* bar_;
};

class CGraphWnd : public QWidget, public GraphParts {
    Q_OBJECT
public:
    CGraphWnd(int capacity, QWidget* parent);
    ~CGraphWnd() override;

    GraphModel& Model() { return model_; }
    const GraphModel& Model() const { return model_; }
    CGraphFrame* Frame() const { return frame_; }
    CGraphPanel* Panel() const;

    // Panel and rulers into rect of any painter (printing).
    void DrawToDC(QPainter& painter, const QRect& rect) const;

    // A command from the panel travels on to the frame and this window.
    void RouteFromPanel(int id);
    void AddPropertyPages(GraphPropertySheet& sheet);
    void OnPropertiesClosed(bool ok);

    // GraphParts
    void Notify(const GraphNotify& n) override;
    int PanelFlags() const override;
    void PanelRange(double& x1, double& x2, double& y1, double& y2) const override;
    void ShowBar(bool show) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    GraphModel model_;
    CGraphFrame* frame_;
    CAxisPropertyPage* axisPage_ = nullptr;
    CGraphicsPropertyPage* graphicsPage_ = nullptr;
};

}  // namespace vra
