#pragma once
// The "Axis" page: label, range or date-time range and step, look and fonts
// of one axis.

#include "gui/chart/CChartPage.h"
#include "gui/chart/CColorButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTimeEdit>

namespace vra {

class CXGraphAxis;

class CAxisDlg : public ChartPageBase {
    Q_OBJECT
public:
    CAxisDlg(CChartPage& sheet, CXGraph& chart);
    void SetAxis(int kind, int index);
    void FillFromAxis();
    bool Apply() override;
    CXGraphAxis* axis() const;

    QLineEdit* label;
    QCheckBox *visible, *autoscale, *showGrid, *timeAxis, *showMarkers;
    QLineEdit* timeFormat;
    QLineEdit *decimals, *arrowSize, *tickSize, *markerSize;
    QComboBox *adjustment, *gridStyle;
    CColorButton *axisColour, *gridColour;
    QLineEdit *minimum, *maximum, *step;
    QDateEdit *minDate, *maxDate;
    QTimeEdit *minTime, *maxTime;
    QLineEdit* timeStepCount;
    QComboBox* timeUnit;
    QPushButton *scaleFont, *titleFont;

private:
    void OnChange();
    void Enable();
    int kind_ = 1;
    int index_ = -1;
};

}  // namespace vra
