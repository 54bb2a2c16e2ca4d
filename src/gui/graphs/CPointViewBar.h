#pragma once
// The "Points" bar: a list of the graph's series and, for the chosen one,
// its points as x and y with their units. It follows every change of the
// graph; while held (code 12) it skips point changes and catches up in one
// step when made live again (code 11).

#include "core/graphs/GraphModel.h"

#include <QAbstractTableModel>
#include <QWidget>

#include <functional>

class QComboBox;
class QTableView;

namespace vra {

class CGraphWnd;

// Only the row count is kept; every cell is asked of the graph when shown.
class PointRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PointRowsModel(QObject* parent) : QAbstractTableModel(parent) {}
    void SetSource(CGraphWnd* graph, int slot) {
        graph_ = graph;
        slot_ = slot;
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void SetRowCount(int n);
    void InsertRow(int row);
    void RemoveRow(int row);
    void RepaintRows(int first, int last);
    void SetSlot(int slot) { slot_ = slot; }

private:
    // The graph changes before the list hears of it: while a row is being
    // inserted or removed, rows are read as they stood before the change.
    int SourceRow(int row) const;

    CGraphWnd* graph_ = nullptr;
    int slot_ = -1;
    int rows_ = 0;
    int inserting_ = -1, removing_ = -1;
};

class CPointViewBar : public QWidget {
    Q_OBJECT
public:
    explicit CPointViewBar(QWidget* parent);
    void SetGraph(CGraphWnd* graph);
    void OnNotify(const GraphNotify& n);
    int CurrentGraph() const;
    void RefreshList(CGraphWnd* graph = nullptr);
    bool Live() const { return live_; }
    QComboBox* SeriesList() const { return series_; }
    QTableView* List() const { return list_; }
    PointRowsModel* Rows() const { return rows_; }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Held(int redraw, const std::function<void()>& step);

    CGraphWnd* graph_ = nullptr;
    QComboBox* series_;
    QTableView* list_;
    PointRowsModel* rows_;
    bool live_ = true;
};

}  // namespace vra
