#include "gui/graphs/CGraphWnd.h"

#include "gui/graphs/CGraphPanel.h"
#include "gui/graphs/CPointViewBar.h"
#include "gui/graphs/FRuler.h"
#include "gui/graphs/GraphPropertyPages.h"

#include <QAction>
#include <QDockWidget>
#include <QPaintDevice>
#include <QPainter>

namespace vra {

namespace {
int Dpi(const QPaintDevice* d, bool x) {
    return d ? (x ? d->logicalDpiX() : d->logicalDpiY()) : 96;
}
}  // namespace

CGraphContainer::CGraphContainer(QWidget* parent) : QWidget(parent) {
    horizontal_ = new FHRuler(this);
    vertical_ = new FVRuler(this);
    horizontal_->SetRange(0, 10, true);
    vertical_->SetRange(0, 10, true);
    panel_ = new CGraphPanel(vertical_, horizontal_, this);
}

void CGraphContainer::resizeEvent(QResizeEvent*) {
    const int w = vertical_->GetThickness(logicalDpiX(), logicalDpiY());
    const int h = horizontal_->GetThickness(logicalDpiX(), logicalDpiY());
    vertical_->setGeometry(0, 0, w, height());
    horizontal_->setGeometry(0, 0, width(), h);
    panel_->setGeometry(w, h, width() - w, height() - h);
    vertical_->raise();
}

void CGraphContainer::DrawToDC(QPainter& p, const QRect& rect) const {
    const QPaintDevice* d = p.device();
    const int w = vertical_->GetThickness(Dpi(d, true), Dpi(d, false));
    const int h = horizontal_->GetThickness(Dpi(d, true), Dpi(d, false));
    const int right = rect.left() + rect.width(), bottom = rect.top() + rect.height();
    panel_->DrawAll(p, QRect(QPoint(rect.left() + w, rect.top() + h), QPoint(right - 1, bottom - 1)));
    vertical_->PaintScale(p, QRect(rect.left(), rect.top(), w, rect.height()));
    horizontal_->PaintScale(p, QRect(rect.left(), rect.top(), rect.width(), h));
}

CGraphFrame::CGraphFrame(QWidget* parent) : QMainWindow(parent) {
    // A main window always starts as a window of its own; this one lives
    // inside the graph window.
    setWindowFlags(Qt::Widget);
    container_ = new CGraphContainer(this);
    setCentralWidget(container_);
    dock_ = new QDockWidget(tr("Points"), this);
    dock_->setObjectName(QStringLiteral("Points"));
    bar_ = new CPointViewBar(dock_);
    dock_->setWidget(bar_);
    dock_->resize(150, 200);
    addDockWidget(Qt::RightDockWidgetArea, dock_);
}

QAction* CGraphFrame::BarAction() const {
    return dock_->toggleViewAction();
}

void CGraphFrame::ShowBar(bool show) {
    dock_->setVisible(show);
}

void CGraphFrame::OnGraphCommand(int id) {
    if (id == 4106) ShowBar(dock_->isHidden());
}

CGraphWnd::CGraphWnd(int capacity, QWidget* parent) : QWidget(parent), model_(capacity) {
    frame_ = new CGraphFrame(this);
    frame_->Container()->Panel()->SetGraph(this);
    frame_->Bar()->SetGraph(this);
    frame_->setVisible(true);
    model_.SetParts(this);
}

CGraphWnd::~CGraphWnd() {
    model_.SetParts(nullptr);
}

CGraphPanel* CGraphWnd::Panel() const {
    return frame_->Container()->Panel();
}

void CGraphWnd::resizeEvent(QResizeEvent*) {
    frame_->setGeometry(0, 0, width(), height());
}

void CGraphWnd::DrawToDC(QPainter& p, const QRect& rect) const {
    frame_->Container()->DrawToDC(p, rect);
}

void CGraphWnd::RouteFromPanel(int id) {
    frame_->OnGraphCommand(id);
}

void CGraphWnd::Notify(const GraphNotify& n) {
    Panel()->OnNotify(n);
    frame_->Bar()->OnNotify(n);
}

int CGraphWnd::PanelFlags() const {
    return Panel()->GetFlags();
}

void CGraphWnd::PanelRange(double& x1, double& x2, double& y1, double& y2) const {
    const GraphRange r = Panel()->GetRange();
    x1 = r.x1, x2 = r.x2, y1 = r.y1, y2 = r.y2;
}

void CGraphWnd::ShowBar(bool show) {
    frame_->ShowBar(show);
}

void CGraphWnd::AddPropertyPages(GraphPropertySheet& sheet) {
    const GraphAxisInfo& x = model_.GetAxisInfo(1);
    const GraphAxisInfo& y = model_.GetAxisInfo(0);
    axisPage_ = new CAxisPropertyPage(x, y);
    graphicsPage_ = new CGraphicsPropertyPage(model_);
    sheet.AddPage(axisPage_, tr("Axis"));
    sheet.AddPage(graphicsPage_, tr("Graphs"));
}

void CGraphWnd::OnPropertiesClosed(bool ok) {
    if (ok && axisPage_ && graphicsPage_) {
        model_.SetAxis(axisPage_->XName(), axisPage_->XUnit(), axisPage_->XDecimals(), 1, 0);
        model_.SetAxis(axisPage_->YName(), axisPage_->YUnit(), axisPage_->YDecimals(), 0, 0);
        for (const auto& copy : graphicsPage_->Copies())
            if (CGraphProps* g = model_.GetGraph(copy->slot)) g->CopyFrom(*copy);
    }
    // The sheet owns and frees the pages.
    axisPage_ = nullptr;
    graphicsPage_ = nullptr;
}

}  // namespace vra
