#pragma once
// The "Chart" page: colours, legend, snapping cursor, double buffering,
// and lists that point the other pages at an axis or a curve.

#include "gui/chart/CChartPage.h"
#include "gui/chart/CColorButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

namespace vra {

class CChartDlg : public ChartPageBase {
    Q_OBJECT
public:
    CChartDlg(CChartPage& sheet, CXGraph& chart);
    void Load(ChartEvent::Target target, int index);
    bool Apply() override;

    CColorButton *background, *exterior, *interior;
    QCheckBox* showLegend;
    QComboBox* legendSide;
    QCheckBox* snap;
    QLineEdit* tolerance;
    QListWidget *xAxes, *yAxes, *curves;
    QCheckBox* doubleBuffer;

private:
    void OnChange();
};

}  // namespace vra
