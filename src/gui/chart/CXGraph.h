#pragma once
// The chart window: curves on stacked axes with legend, labels and notes,
// rubber-band zoom, panning, key steps, a snapping cursor with a read-out,
// printing and the property dialogs. Painting lays the chart out and
// renders it through CDCEx; the interaction runs in ChartController and
// comes back here as messages for the owner, dialogs and repaints.

#include "core/chart/ChartController.h"
#include "core/chart/ChartModel.h"
#include "gui/chart/CDCEx.h"

#include <QAction>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>

class QPlainTextEdit;
class QPrintDialog;
class QPrinter;

namespace vra {

class CXGraph : public QWidget {
    Q_OBJECT
public:
    explicit CXGraph(QWidget* parent = nullptr);
    ~CXGraph() override;

    // The owner's operations.
    CXGraphDataSerie* SetData(const Point2D* points, int count, int curve, int xAxis, int yAxis, bool copy = true);
    bool DeleteCurve(int index);
    CXGraphDataSerie& GetCurve(int i) { return model_.GetCurve(i); }
    CXGraphAxis& GetXAxis(int i) { return model_.GetXAxis(i); }
    CXGraphAxis& GetYAxis(int i) { return model_.GetYAxis(i); }
    int GetAxisIndex(const CXGraphAxis* a) const { return model_.GetAxisIndex(a); }
    int GetCurveIndex(const CXGraphDataSerie* c) const { return model_.GetCurveIndex(c); }
    CXGraphLabel* InsertLabel(Rect r, const std::string& text) { return model_.InsertLabel(r, text); }
    CXGraphLabel* InsertEmptyLabel(const std::string& text) { return model_.InsertEmptyLabel(text); }
    bool SelectCurve(int i);
    bool SelectXAxis(int i);
    bool SelectYAxis(int i);
    void ResetAll();
    void Print();
    // The options the default print dialog opens with.
    static void SetUpPrintDialog(QPrintDialog& dialog);
    // Prints one page onto an already set up printer.
    void PrintTo(QPrinter& printer);
    CXGraphDataSerie* AddLinearTrend(int curve);
    CXGraphDataSerie* AddCubicTrend(int curve);

    ChartModel& model() { return model_; }
    ChartController& controller() { return controller_; }
    // The chart's commands, with their ids as data, for the owner's menus.
    QAction* action(int id) const;
    void Command(int id);

    // Replaceable hooks: the properties sheet (target and index), an
    // object's own popup, the label dialog and the print dialog.
    std::function<void(ChartEvent::Target, int)> openSheet;
    std::function<void(CXGraphObject*)> objectMenu;
    std::function<void(CXGraphLabel*)> labelDialog;
    std::function<bool(QPrinter&)> printDialog;

signals:
    // Posted to the owner: the message number (1025 .. 1034, 40012) and the
    // axis or curve index, or 0.
    void chartMessage(int message, int index);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void keyReleaseEvent(QKeyEvent*) override;
    void showEvent(QShowEvent*) override;
    void hideEvent(QHideEvent*) override;

private:
    void Handle(const ChartEvents& events);
    void BeginEdit(CXGraphLabel* label);
    void EndEdit(CXGraphLabel* label);
    void ShowObjectMenu(CXGraphObject* object);

    ChartModel model_;
    ChartController controller_{model_};
    QtTextMeasurer measurer_;
    std::map<int, QAction*> actions_;
    QPointer<QPlainTextEdit> editor_;
    CXGraphLabel* editing_ = nullptr;
    // The tracker: the object being moved or sized, which handle (8: body).
    CXGraphObject* tracked_ = nullptr;
    int trackHandle_ = -1;
    IPoint trackStart_;
    Rect trackRect_;
};

}  // namespace vra
