#pragma once
// The "Curve" page: the look of one curve, and buttons that add a moving
// average or a linear, cubic or polynomial trend of it to the chart.

#include "gui/chart/CChartPage.h"
#include "gui/chart/CColorButton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace vra {

class CXGraphDataSerie;

class CCurveDlg : public ChartPageBase {
    Q_OBJECT
public:
    CCurveDlg(CChartPage& sheet, CXGraph& chart);
    void SetCurve(int index);
    void FillFromCurve();
    bool Apply() override;
    CXGraphDataSerie* curve() const;
    int curveIndex() const { return index_; }

    void OnMovingAverage();
    void OnLinearTrend() { AddIndexTrend(false); }
    void OnCubicTrend() { AddIndexTrend(true); }
    void OnPolynomialTrend();

    QLineEdit* label;
    QComboBox *type, *penStyle, *symbol;
    QLineEdit *lineWidth, *markerSize;
    CColorButton* colour;
    QCheckBox *visible, *showMarkers, *fill, *transparent;
    QRadioButton *numbered, *symbolic;
    QRadioButton* patterns[7];
    QButtonGroup* patternGroup;
    QPushButton *movingAverage, *linearTrend, *cubicTrend, *polynomialTrend;

private:
    void OnChange();
    void AddIndexTrend(bool cubic);
    void AddDerived(const std::vector<Point2D>& pts, const std::string& suffix);
    int index_ = -1;
};

}  // namespace vra
