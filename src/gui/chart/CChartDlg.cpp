#include "gui/chart/CChartDlg.h"

#include "gui/chart/CXGraph.h"
#include "gui/chart/ChartDialogKit.h"

#include <QFormLayout>
#include <QLabel>

namespace vra {

CChartDlg::CChartDlg(CChartPage& sheet, CXGraph& chart) : ChartPageBase(sheet, chart) {
    auto* form = new QFormLayout;
    content->addLayout(form);
    background = Named(new CColorButton(this), 247);
    exterior = Named(new CColorButton(this), 248);
    interior = Named(new CColorButton(this), 249);
    form->addRow(QStringLiteral("Background color"), background);
    form->addRow(QStringLiteral("Exterior color"), exterior);
    form->addRow(QStringLiteral("Interior color"), interior);
    showLegend = Named(new QCheckBox(QStringLiteral("Show legend"), this), 250);
    legendSide = Named(new QComboBox(this), 251);
    legendSide->addItems({QStringLiteral("Left"), QStringLiteral("Right")});
    form->addRow(showLegend, legendSide);
    snap = Named(new QCheckBox(QStringLiteral("Snap cursor to "), this), 256);
    tolerance = NumberEdit(this, 275);
    form->addRow(snap, new QLabel(QStringLiteral("nearest curve. Tolerance :"), this));
    form->addRow(QString(), tolerance);
    xAxes = Named(new QListWidget(this), 253);
    yAxes = Named(new QListWidget(this), 255);
    curves = Named(new QListWidget(this), 254);
    form->addRow(QStringLiteral("Select x-axis"), xAxes);
    form->addRow(QStringLiteral("Select y-axis"), yAxes);
    form->addRow(QStringLiteral("Select curve"), curves);
    doubleBuffer = Named(new QCheckBox(QStringLiteral("Double buffering"), this), 252);
    form->addRow(doubleBuffer);

    for (auto* b : {background, exterior, interior})
        connect(b, &CColorButton::colourChanged, this, [this] { Changed(); });
    for (auto* c : {showLegend, snap, doubleBuffer}) connect(c, &QCheckBox::toggled, this, [this] { OnChange(); });
    connect(legendSide, &QComboBox::currentIndexChanged, this, [this] { OnChange(); });
    connect(tolerance, &QLineEdit::textEdited, this, [this] { OnChange(); });
    connect(xAxes, &QListWidget::itemClicked, this, [this] {
        const int i = xAxes->currentRow();
        sheet_.ShowXAxis(i);
        yAxes->clearSelection();
        yAxes->setCurrentRow(-1);
        chart_.SelectXAxis(i);
    });
    connect(yAxes, &QListWidget::itemClicked, this, [this] {
        const int i = yAxes->currentRow();
        sheet_.ShowYAxis(i);
        xAxes->clearSelection();
        xAxes->setCurrentRow(-1);
        chart_.SelectYAxis(i);
    });
    connect(curves, &QListWidget::itemClicked, this, [this] {
        const int i = curves->currentRow();
        sheet_.ShowCurve(i);
        chart_.SelectCurve(i);
    });
}

void CChartDlg::Load(ChartEvent::Target target, int index) {
    const ChartModel& m = chart_.model();
    background->SetColour(ToQColor(m.backColour));
    exterior->SetColour(ToQColor(m.frameColour));
    interior->SetColour(ToQColor(m.plotColour));
    showLegend->setChecked(m.legend);
    legendSide->setCurrentIndex(m.legendPlacement == 0 ? 0 : 1);
    legendSide->setEnabled(m.legend);
    snap->setChecked(m.snap);
    tolerance->setText(QString::number(m.snapTolerance));
    doubleBuffer->setChecked(m.doubleBuffer);
    auto fill = [](QListWidget* list, int count, auto name) {
        list->clear();
        for (int i = 0; i < count; ++i)
            list->addItem(QStringLiteral("%1 %2").arg(i + 1).arg(QString::fromStdString(name(i))));
    };
    fill(xAxes, static_cast<int>(m.xAxes.size()), [&](int i) { return m.xAxes[static_cast<std::size_t>(i)].label; });
    fill(yAxes, static_cast<int>(m.yAxes.size()), [&](int i) { return m.yAxes[static_cast<std::size_t>(i)].label; });
    fill(curves, m.CurveCount(), [&](int i) { return m.curves[static_cast<std::size_t>(i)].name; });
    if (target == ChartEvent::Target::XAxis) xAxes->setCurrentRow(index);
    if (target == ChartEvent::Target::YAxis) yAxes->setCurrentRow(index);
    if (target == ChartEvent::Target::Curve) curves->setCurrentRow(index);
    apply->setEnabled(false);
}

void CChartDlg::OnChange() {
    legendSide->setEnabled(showLegend->isChecked());
    Changed();
}

bool CChartDlg::Apply() {
    long long tol = 0;
    if (!ReadInteger(this, tolerance, 0, 100, tol)) return false;
    ChartModel& m = chart_.model();
    m.backColour = FromQColor(background->GetColour().isValid() ? background->GetColour() : background->defaultColour);
    m.frameColour = FromQColor(exterior->GetColour().isValid() ? exterior->GetColour() : exterior->defaultColour);
    m.plotColour = FromQColor(interior->GetColour().isValid() ? interior->GetColour() : interior->defaultColour);
    m.legend = showLegend->isChecked();
    m.doubleBuffer = doubleBuffer->isChecked();
    m.legendPlacement = legendSide->currentIndex();
    m.snap = snap->isChecked();
    m.snapTolerance = static_cast<int>(tol);
    chart_.update();
    apply->setEnabled(false);
    return true;
}

}  // namespace vra
