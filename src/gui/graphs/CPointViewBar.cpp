#include "gui/graphs/CPointViewBar.h"

#include "gui/graphs/CGraphPanel.h"
#include "gui/graphs/CGraphWnd.h"
#include "gui/graphs/GraphPropertyPages.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

namespace vra {

QVariant PointRowsModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !graph_ || !index.isValid()) return {};
    const CGraphProps* g = graph_->Model().GetGraph(slot_);
    const int row = SourceRow(index.row());
    if (!g || row < 0 || row >= g->Count()) return {};
    const Point2D& p = g->At(row);
    return QString::fromStdString(index.column() == 0 ? graph_->Model().FormatValue(p.x, 1, 1)
                                                      : graph_->Model().FormatValue(p.y, 0, 1));
}

QVariant PointRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return section == 0 ? QStringLiteral("X") : QStringLiteral("Y");
}

int PointRowsModel::SourceRow(int row) const {
    if (inserting_ >= 0) return row < inserting_ ? row : row + 1;
    if (removing_ >= 0) return row < removing_ ? row : row == removing_ ? -1 : row - 1;
    return row;
}

void PointRowsModel::SetRowCount(int n) {
    beginResetModel();
    rows_ = n;
    endResetModel();
}

void PointRowsModel::InsertRow(int row) {
    row = std::clamp(row, 0, rows_);
    inserting_ = row;
    beginInsertRows({}, row, row);
    inserting_ = -1;
    ++rows_;
    endInsertRows();
}

void PointRowsModel::RemoveRow(int row) {
    // A row that is not there is left alone.
    if (row < 0 || row >= rows_) return;
    removing_ = row;
    beginRemoveRows({}, row, row);
    removing_ = -1;
    --rows_;
    endRemoveRows();
}

void PointRowsModel::RepaintRows(int first, int last) {
    if (rows_ == 0 || first > last) return;
    first = std::clamp(first, 0, rows_ - 1);
    last = std::clamp(last, 0, rows_ - 1);
    emit dataChanged(index(first, 0), index(last, 1));
}

CPointViewBar::CPointViewBar(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    series_ = new QComboBox(this);
    series_->setItemDelegate(new SeriesItemDelegate(series_));
    layout->addWidget(series_);
    list_ = new QTableView(this);
    rows_ = new PointRowsModel(list_);
    list_->setModel(rows_);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setContextMenuPolicy(Qt::NoContextMenu);
    layout->addWidget(list_);
    connect(series_, &QComboBox::currentIndexChanged, this, [this] {
        rows_->SetSlot(CurrentGraph());
        RefreshList();
    });
}

void CPointViewBar::SetGraph(CGraphWnd* graph) {
    graph_ = graph;
    rows_->SetSource(graph, CurrentGraph());
}

int CPointViewBar::CurrentGraph() const {
    const int i = series_->currentIndex();
    return i < 0 ? -1 : series_->itemData(i).toInt();
}

void CPointViewBar::Held(int redraw, const std::function<void()>& step) {
    const bool hold = redraw == 0;
    if (hold) list_->setUpdatesEnabled(false);
    step();
    if (hold) list_->setUpdatesEnabled(true);
}

void CPointViewBar::OnNotify(const GraphNotify& n) {
    const bool current = n.slot >= 0 && n.slot == CurrentGraph();
    switch (n.code) {
        case kPointAdded:
            if (live_ && current) Held(n.redraw, [&] { rows_->InsertRow(n.index); });
            break;
        case kPointRemoved:
            if (live_ && current) Held(n.redraw, [&] { rows_->RemoveRow(n.index); });
            break;
        case kPointReplaced:
            if (live_ && current) Held(n.redraw, [&] { rows_->RepaintRows(n.index, n.index); });
            break;
        case kGraphAdded:
            Held(n.redraw, [&] {
                const QSignalBlocker block(series_);
                const bool none = series_->currentIndex() < 0;
                series_->addItem(QString(), n.slot);
                if (graph_)
                    if (const CGraphProps* g = graph_->Model().GetGraph(n.slot))
                        SetSeriesEntry(*series_, series_->count() - 1, *g);
                if (none) {
                    series_->setCurrentIndex(series_->count() - 1);
                    rows_->SetSlot(CurrentGraph());
                }
            });
            break;
        case kGraphRemoved:
            Held(n.redraw, [&] {
                const int noted = CurrentGraph();
                const int entry = series_->findData(n.slot);
                if (entry < 0) return;
                const QSignalBlocker block(series_);
                series_->removeItem(entry);
                if (series_->count() == 0) {
                    series_->setCurrentIndex(-1);
                    rows_->SetSlot(-1);
                    rows_->SetRowCount(0);
                } else if (noted == n.slot) {
                    series_->setCurrentIndex(0);
                    rows_->SetSlot(CurrentGraph());
                    RefreshList();
                }
            });
            break;
        case kPointsCleared:
            if (current || (n.slot == -1 && CurrentGraph() >= 0)) Held(n.redraw, [&] { rows_->SetRowCount(0); });
            break;
        case kRangeChanged:
            series_->update();
            break;
        case kAxisChanged:
            if (n.redraw) RefreshList();
            break;
        case kRedraw:
            series_->repaint();
            RefreshList();
            break;
        case kBarLive:
            live_ = true;
            series_->repaint();
            RefreshList();
            break;
        case kBarHeld:
            live_ = false;
            break;
        default:
            break;
    }
}

void CPointViewBar::RefreshList(CGraphWnd* graph) {
    if (!live_) return;
    if (!graph) graph = graph_;
    const int s = CurrentGraph();
    if (s == -1 || !graph) {
        rows_->SetRowCount(0);
        return;
    }
    const CGraphProps* g = graph->Model().GetGraph(s);
    const int n = g ? g->Count() : 0;
    if (rows_->rowCount() != n)
        rows_->SetRowCount(n);
    else if (n > 0)
        rows_->RepaintRows(0, n - 1);
    for (int i = 0; i < series_->count(); ++i)
        if (const CGraphProps* e = graph->Model().GetGraph(series_->itemData(i).toInt()))
            SetSeriesEntry(*series_, i, *e);
}

void CPointViewBar::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(tr("Properties"))->setData(4107);
    if (!menu.exec(event->globalPos()) || !graph_) return;
    GraphPropertySheet sheet(this);
    graph_->AddPropertyPages(sheet);
    const bool ok = sheet.exec() == QDialog::Accepted;
    graph_->OnPropertiesClosed(ok);
    if (ok) graph_->Model().Redraw(-1);
}

}  // namespace vra
