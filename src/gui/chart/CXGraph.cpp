#include "gui/chart/CXGraph.h"

#include "core/chart/ChartLayout.h"
#include "gui/chart/CChartPage.h"
#include "gui/chart/CLabelDlg.h"
#include "gui/chart/ChartDialogKit.h"
#include "gui/chart/ChartRenderer.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>

namespace vra {

namespace {

IPoint At(const QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    return {p.x(), p.y()};
}

// Which tracker handle lies under p: 0-7 clockwise from the top-left
// corner, 8 the body, -1 none.
int TrackerHandle(const Rect& r, IPoint p) {
    const int h = ChartController::kTrackerHandle;
    if (!r.inflated(h, h).contains(p)) return -1;
    const bool left = p.x < r.left, right = p.x >= r.right, top = p.y < r.top, bottom = p.y >= r.bottom;
    if (top && left) return 0;
    if (top && right) return 2;
    if (bottom && right) return 4;
    if (bottom && left) return 6;
    if (top) return 1;
    if (right) return 3;
    if (bottom) return 5;
    if (left) return 7;
    return 8;
}

}  // namespace

CXGraph::CXGraph(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);
    model_.measurer = &measurer_;
    static const std::pair<int, const char*> kCommands[] = {
        {chartcmd::kNormal, "Normal"},
        {chartcmd::kInsertLabel, "Insert label"},
        {chartcmd::kZoom, "Zoom"},
        {chartcmd::kReset, "Reset"},
        {chartcmd::kPan, "Pan"},
        {chartcmd::kProperties, "Properties"},
        {chartcmd::kPrint, "Print"},
        {chartcmd::kLinearTrend, "Linear trend"},
        {chartcmd::kCubicTrend, "Cubic trend"},
        {chartcmd::kCursor, "Cursor"},
        {chartcmd::kNotifyParent, "Notify parent"},
    };
    for (const auto& [id, text] : kCommands) {
        auto* a = new QAction(QString::fromLatin1(text), this);
        a->setData(id);
        connect(a, &QAction::triggered, this, [this, id = id] { Command(id); });
        actions_[id] = a;
    }
    objectMenu = [this](CXGraphObject* o) { ShowObjectMenu(o); };
    openSheet = [this](ChartEvent::Target target, int index) {
        CChartPage sheet(*this, target, index, this);
        ChartDialogs().run(sheet);
    };
    labelDialog = [this](CXGraphLabel* label) {
        CLabelDlg dialog(*label, *this, this);
        ChartDialogs().run(dialog);
    };
    printDialog = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        SetUpPrintDialog(dialog);
        return dialog.exec() == QDialog::Accepted;
    };
}

CXGraph::~CXGraph() = default;

QAction* CXGraph::action(int id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

CXGraphDataSerie* CXGraph::SetData(const Point2D* points, int count, int curve, int xAxis, int yAxis, bool copy) {
    model_.windowVisible = isVisible();
    auto* c = model_.SetData(points, count, curve, xAxis, yAxis, copy);
    if (c) update();
    return c;
}

bool CXGraph::DeleteCurve(int index) {
    return model_.DeleteCurve(index);
}

bool CXGraph::SelectCurve(int i) {
    const bool ok = model_.SelectCurve(i);
    if (ok) update();
    return ok;
}
bool CXGraph::SelectXAxis(int i) {
    const bool ok = model_.SelectXAxis(i);
    if (ok) update();
    return ok;
}
bool CXGraph::SelectYAxis(int i) {
    const bool ok = model_.SelectYAxis(i);
    if (ok) update();
    return ok;
}

void CXGraph::ResetAll() {
    if (editing_) EndEdit(editing_);
    tracked_ = nullptr;
    model_.ResetAll();
}

CXGraphDataSerie* CXGraph::AddLinearTrend(int curve) {
    auto* c = model_.AddLinearTrend(curve);
    update();
    return c;
}

CXGraphDataSerie* CXGraph::AddCubicTrend(int curve) {
    auto* c = model_.AddCubicTrend(curve);
    update();
    return c;
}

void CXGraph::Command(int id) {
    Handle(controller_.Command(id));
}

void CXGraph::SetUpPrintDialog(QPrintDialog& dialog) {
    // One page, printed whole. Printing to a file stays: without a printer a
    // PDF is the only way to print the chart.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
}

void CXGraph::Print() {
    QPrinter printer;
    if (!printDialog || !printDialog(printer)) return;
    PrintTo(printer);
}

void CXGraph::PrintTo(QPrinter& printer) {
    printer.setDocName(QStringLiteral("Graph"));
    QPainter painter;
    if (!painter.begin(&printer)) return;
    CDCEx dc(painter);
    dc.ComputeScaling(*this, printer);
    dc.scaling = true;
    // Only a printer that prints grey is black and white.
    dc.monochrome = printer.colorMode() == QPrinter::GrayScale;
    painter.scale(dc.fx, dc.fy);
    const Rect page{0, 0, static_cast<int>(printer.width() / dc.fx), static_cast<int>(printer.height() / dc.fy)};
    // A printer's pixel is a fraction of a layout pixel and its solid pens
    // grow with the resolution: every point of a curve can show.
    ChartLayout::Run(model_, measurer_, page, false);
    ChartRenderer::Render(model_, nullptr, dc);
    painter.end();
    update();
}

void CXGraph::paintEvent(QPaintEvent*) {
    model_.windowVisible = true;
    QPainter painter(this);
    CDCEx dc(painter);
    ChartLayout::Run(model_, measurer_, Rect{0, 0, width(), height()});
    controller_.Painting();
    ChartRenderer::Render(model_, &controller_, dc);
}

void CXGraph::showEvent(QShowEvent*) {
    model_.windowVisible = true;
}
void CXGraph::hideEvent(QHideEvent*) {
    model_.windowVisible = false;
}

void CXGraph::Handle(const ChartEvents& events) {
    for (const auto& e : events) {
        switch (e.kind) {
            case ChartEvent::Kind::Post: {
                const int message = e.message, param = e.param;
                QMetaObject::invokeMethod(
                    this, [this, message, param] { emit chartMessage(message, param); }, Qt::QueuedConnection);
                break;
            }
            case ChartEvent::Kind::OpenSheet:
                if (openSheet) openSheet(e.target, e.index);
                update();
                break;
            case ChartEvent::Kind::BeginEdit:
                BeginEdit(dynamic_cast<CXGraphLabel*>(e.object));
                break;
            case ChartEvent::Kind::EndEdit:
                EndEdit(dynamic_cast<CXGraphLabel*>(e.object));
                break;
            case ChartEvent::Kind::InvokeProperties:
                if (objectMenu) objectMenu(e.object);
                break;
            case ChartEvent::Kind::Track:
                if (!tracked_ && e.object) {
                    tracked_ = e.object;
                    trackRect_ = e.object->rect;
                    trackHandle_ = TrackerHandle(trackRect_, controller_.mousePoint());
                    trackStart_ = controller_.mousePoint();
                }
                break;
            case ChartEvent::Kind::Print:
                Print();
                break;
            case ChartEvent::Kind::Repaint:
                update();
                break;
        }
    }
}

void CXGraph::BeginEdit(CXGraphLabel* label) {
    if (!label) return;
    delete editor_;
    editing_ = label;
    auto* edit = new QPlainTextEdit(this);
    edit->setObjectName(QStringLiteral("65534"));
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setFont(QtFont(label->font));
    edit->setPlainText(QString::fromStdString(label->text));
    const Qt::Alignment align = label->format == 1   ? Qt::AlignHCenter
                                : label->format == 2 ? Qt::AlignRight
                                                     : Qt::AlignLeft;
    QTextOption option = edit->document()->defaultTextOption();
    option.setAlignment(align);
    edit->document()->setDefaultTextOption(option);
    const Rect r = label->rect.inflated(-1, -1);
    edit->setGeometry(r.left, r.top, std::max(r.width(), 1), std::max(r.height(), 1));
    edit->show();
    edit->setFocus();
    edit->selectAll();
    edit->ensureCursorVisible();
    editor_ = edit;
    update();
}

void CXGraph::EndEdit(CXGraphLabel* label) {
    if (!label) return;
    const std::string text = editor_ && editing_ == label ? editor_->toPlainText().toStdString() : label->text;
    label->EndEdit(text);
    if (editing_ == label) {
        delete editor_;
        editing_ = nullptr;
    }
    update();
}

void CXGraph::ShowObjectMenu(CXGraphObject* object) {
    auto* label = dynamic_cast<CXGraphLabel*>(object);
    if (!label) return;
    QMenu menu(this);
    QAction* properties = menu.addAction(QStringLiteral("Properties"));
    properties->setData(chartcmd::kLabelProperties);
    if (menu.exec(QCursor::pos()) == properties && labelDialog && model_.ObjectIndex(label) >= 0) {
        labelDialog(label);
        update();
    }
}

void CXGraph::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        Handle(controller_.LeftDown(At(e)));
    } else if (e->button() == Qt::RightButton) {
        Handle(controller_.RightDown(At(e)));
    }
}

void CXGraph::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        if (tracked_) {
            CXGraphObject* o = tracked_;
            tracked_ = nullptr;
            Handle(controller_.TrackFinished(o, trackRect_, !(trackRect_ == o->rect)));
            return;
        }
        Handle(controller_.LeftUp(At(e)));
    } else if (e->button() == Qt::RightButton) {
        Handle(controller_.RightUp(At(e)));
    }
}

void CXGraph::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) Handle(controller_.LeftDoubleClick(At(e)));
}

void CXGraph::mouseMoveEvent(QMouseEvent* e) {
    const IPoint p = At(e);
    if (tracked_) {
        const int dx = p.x - trackStart_.x, dy = p.y - trackStart_.y;
        Rect r = tracked_->rect;
        const int h = trackHandle_;
        if (h == 8) r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
        if (h == 0 || h == 6 || h == 7) r.left += dx;
        if (h == 2 || h == 3 || h == 4) r.right += dx;
        if (h == 0 || h == 1 || h == 2) r.top += dy;
        if (h == 4 || h == 5 || h == 6) r.bottom += dy;
        trackRect_ = r.normalized();
        if (tracked_->Trackable()) {
            tracked_->rect = trackRect_;
            trackStart_ = p;
            trackRect_ = tracked_->rect;
        }
        update();
        return;
    }
    Handle(controller_.MouseMove(p, e->buttons() & Qt::LeftButton));
    switch (controller_.CursorShape()) {
        case ChartCursorShape::SizeAll:
            setCursor(Qt::SizeAllCursor);
            break;
        case ChartCursorShape::Cross:
            setCursor(Qt::CrossCursor);
            break;
        case ChartCursorShape::Hand:
            setCursor(Qt::PointingHandCursor);
            break;
        case ChartCursorShape::Arrow:
            unsetCursor();
            break;
    }
}

void CXGraph::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Delete) {
        Handle(controller_.DeleteKey());
        return;
    }
    QWidget::keyPressEvent(e);
}

void CXGraph::keyReleaseEvent(QKeyEvent* e) {
    if (e->isAutoRepeat()) return;
    ChartKey key = ChartKey::Other;
    switch (e->key()) {
        case Qt::Key_Home:
            key = ChartKey::Home;
            break;
        case Qt::Key_Plus:
            key = ChartKey::Add;
            break;
        case Qt::Key_Minus:
            key = ChartKey::Subtract;
            break;
        case Qt::Key_Left:
            key = ChartKey::Left;
            break;
        case Qt::Key_Right:
            key = ChartKey::Right;
            break;
        case Qt::Key_Up:
            key = ChartKey::Up;
            break;
        case Qt::Key_Down:
            key = ChartKey::Down;
            break;
        default:
            break;
    }
    Handle(controller_.KeyUp(key));
    QWidget::keyReleaseEvent(e);
}

}  // namespace vra
