#pragma once
// The chart's properties sheet "XGraph-Properties": the "Chart", "Axis" and
// "Curve" pages, each editing one object of the chart in place. "Apply"
// writes the page and repaints, "OK" applies and closes, "Cancel" closes.

#include "core/chart/ChartController.h"

#include <QDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vra {

class CXGraph;
class CChartDlg;
class CAxisDlg;
class CCurveDlg;
class CChartPage;

// The frame every page shares: its content above Apply, OK and Cancel.
class ChartPageBase : public QWidget {
    Q_OBJECT
public:
    ChartPageBase(CChartPage& sheet, CXGraph& chart);
    // Writes the page into its object; false (the page stays) when a typed
    // value is refused.
    virtual bool Apply() = 0;
    void Changed();

    QVBoxLayout* content;
    QPushButton* apply;
    QPushButton* ok;
    QPushButton* cancel;

protected:
    void keyPressEvent(QKeyEvent*) override;
    CChartPage& sheet_;
    CXGraph& chart_;
};

class CChartPage : public QDialog {
    Q_OBJECT
public:
    // target and index name the axis or curve to show first, if any.
    CChartPage(CXGraph& chart, ChartEvent::Target target, int index, QWidget* parent = nullptr);

    void ShowXAxis(int i);
    void ShowYAxis(int i);
    void ShowCurve(int i);

    QTabWidget* tabs;
    CChartDlg* chartPage;
    CAxisDlg* axisPage;
    CCurveDlg* curvePage;

protected:
    void keyPressEvent(QKeyEvent*) override;
};

}  // namespace vra
