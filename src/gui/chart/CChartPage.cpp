#include "gui/chart/CChartPage.h"

#include "gui/chart/CAxisDlg.h"
#include "gui/chart/CChartDlg.h"
#include "gui/chart/CCurveDlg.h"
#include "gui/chart/CXGraph.h"

#include <QHBoxLayout>
#include <QKeyEvent>

namespace vra {

ChartPageBase::ChartPageBase(CChartPage& sheet, CXGraph& chart) : QWidget(nullptr), sheet_(sheet), chart_(chart) {
    auto* outer = new QVBoxLayout(this);
    content = new QVBoxLayout;
    outer->addLayout(content);
    auto* row = new QHBoxLayout;
    row->addStretch();
    apply = new QPushButton(QStringLiteral("Apply"), this);
    apply->setObjectName(QStringLiteral("100"));
    ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("2"));
    for (auto* b : {apply, ok, cancel}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    outer->addLayout(row);
    apply->setEnabled(false);
    connect(apply, &QPushButton::clicked, this, [this] { Apply(); });
    connect(ok, &QPushButton::clicked, this, [this] {
        if (Apply()) sheet_.accept();
    });
    connect(cancel, &QPushButton::clicked, &sheet_, &QDialog::reject);
}

void ChartPageBase::Changed() {
    apply->setEnabled(true);
}

// Return and Escape neither press a button nor close the sheet.
void ChartPageBase::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Escape) return;
    QWidget::keyPressEvent(e);
}

void CChartPage::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(e);
}

CChartPage::CChartPage(CXGraph& chart, ChartEvent::Target target, int index, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("XGraph-Properties"));
    auto* layout = new QVBoxLayout(this);
    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("273"));
    layout->addWidget(tabs);
    chartPage = new CChartDlg(*this, chart);
    axisPage = new CAxisDlg(*this, chart);
    curvePage = new CCurveDlg(*this, chart);
    tabs->addTab(chartPage, QStringLiteral("Chart"));
    tabs->addTab(axisPage, QStringLiteral("Axis"));
    tabs->addTab(curvePage, QStringLiteral("Curve"));

    const bool isAxis = target == ChartEvent::Target::XAxis || target == ChartEvent::Target::YAxis;
    if (target == ChartEvent::Target::XAxis)
        axisPage->SetAxis(CXGraphAxis::X, index);
    else if (target == ChartEvent::Target::YAxis)
        axisPage->SetAxis(CXGraphAxis::Y, index);
    else
        axisPage->SetAxis(CXGraphAxis::Y, 0);
    curvePage->SetCurve(target == ChartEvent::Target::Curve ? index : 0);
    chartPage->Load(target, index);
    tabs->setCurrentIndex(target == ChartEvent::Target::Curve ? 2 : isAxis ? 1 : 0);
}

void CChartPage::ShowXAxis(int i) {
    axisPage->SetAxis(CXGraphAxis::X, i);
}
void CChartPage::ShowYAxis(int i) {
    axisPage->SetAxis(CXGraphAxis::Y, i);
}
void CChartPage::ShowCurve(int i) {
    curvePage->SetCurve(i);
}

}  // namespace vra
