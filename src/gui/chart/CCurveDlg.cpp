#include "gui/chart/CCurveDlg.h"

#include "gui/chart/CMovingAvgDlg.h"
#include "gui/chart/CTrendDlg.h"
#include "gui/chart/CXGraph.h"
#include "gui/chart/ChartDialogKit.h"
#include "gui/chart/ChartRenderer.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QPainter>
#include <QPixmap>

namespace vra {

namespace {

QIcon SymbolIcon(int kind) {
    QPixmap pm(16, 16);
    pm.fill(Qt::white);
    QPainter p(&pm);
    CDCEx dc(p);
    ChartRenderer::DrawMarker(dc, kind, 2, 2, 10, kBlack);
    return QIcon(pm);
}

QIcon PatternIcon(int style) {
    QPixmap pm(24, 16);
    pm.fill(Qt::white);
    QPainter p(&pm);
    CDCEx dc(p);
    dc.SetHatch(style, Qt::black);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 23, 15);
    return QIcon(pm);
}

}  // namespace

CCurveDlg::CCurveDlg(CChartPage& sheet, CXGraph& chart) : ChartPageBase(sheet, chart) {
    auto* form = new QFormLayout;
    content->addLayout(form);
    label = Named(new QLineEdit(this), 210);
    form->addRow(QStringLiteral("Label"), label);
    type = Named(new QComboBox(this), 234);
    type->addItems({QStringLiteral("Line"), QStringLiteral("Scatter")});
    form->addRow(QStringLiteral("Type"), type);
    penStyle = Named(new QComboBox(this), 208);
    penStyle->setIconSize(QSize(100, 16));
    for (int i = 0; i < 5; ++i) penStyle->addItem(PenStyleIcon(i), QString());
    form->addRow(QStringLiteral("Style"), penStyle);
    lineWidth = NumberEdit(this, 235);
    form->addRow(QStringLiteral("Linewidth"), lineWidth);
    colour = Named(new CColorButton(this), 207);
    form->addRow(QStringLiteral("Linecolor"), colour);
    visible = Named(new QCheckBox(QStringLiteral("Visible"), this), 209);
    form->addRow(visible);
    showMarkers = Named(new QCheckBox(QStringLiteral("Show markers"), this), 238);
    numbered = Named(new QRadioButton(QStringLiteral("Numbered"), this), 262);
    symbolic = Named(new QRadioButton(QStringLiteral("Symbol :"), this), 259);
    symbol = Named(new QComboBox(this), 260);
    form->addRow(showMarkers, numbered);
    form->addRow(symbolic, symbol);
    markerSize = NumberEdit(this, 222);
    form->addRow(QStringLiteral("Markersize"), markerSize);
    fill = Named(new QCheckBox(QStringLiteral("Fill area beneath curve"), this), 211);
    transparent = Named(new QCheckBox(QStringLiteral("Transparent"), this), 212);
    form->addRow(fill, transparent);
    auto* grid = new QGridLayout;
    patternGroup = new QButtonGroup(this);
    static constexpr int kPatternIds[] = {245, 227, 228, 242, 243, 231, 232};
    for (int i = 0; i < 7; ++i) {
        patterns[i] = Named(new QRadioButton(this), kPatternIds[i]);
        patterns[i]->setIcon(PatternIcon(i));
        patternGroup->addButton(patterns[i], i);
        grid->addWidget(patterns[i], 0, i);
    }
    form->addRow(grid);
    movingAverage = Named(new QPushButton(QStringLiteral("Moving average ..."), this), 265);
    linearTrend = Named(new QPushButton(QStringLiteral("Add linear trend"), this), 266);
    cubicTrend = Named(new QPushButton(QStringLiteral("Add cubic trend"), this), 267);
    polynomialTrend = Named(new QPushButton(QStringLiteral("Add polynomial trend"), this), 268);
    form->addRow(movingAverage, linearTrend);
    form->addRow(cubicTrend, polynomialTrend);

    for (auto* c : {visible, showMarkers, fill, transparent})
        connect(c, &QCheckBox::toggled, this, [this] { OnChange(); });
    for (auto* r : {numbered, symbolic}) connect(r, &QRadioButton::toggled, this, [this] { OnChange(); });
    connect(patternGroup, &QButtonGroup::idClicked, this, [this] { OnChange(); });
    for (auto* c : {type, penStyle, symbol}) connect(c, &QComboBox::currentIndexChanged, this, [this] { OnChange(); });
    for (auto* e : {label, lineWidth, markerSize}) connect(e, &QLineEdit::textEdited, this, [this] { OnChange(); });
    connect(colour, &CColorButton::colourChanged, this, [this] { OnChange(); });
    connect(movingAverage, &QPushButton::clicked, this, &CCurveDlg::OnMovingAverage);
    connect(linearTrend, &QPushButton::clicked, this, &CCurveDlg::OnLinearTrend);
    connect(cubicTrend, &QPushButton::clicked, this, &CCurveDlg::OnCubicTrend);
    connect(polynomialTrend, &QPushButton::clicked, this, &CCurveDlg::OnPolynomialTrend);
}

CXGraphDataSerie* CCurveDlg::curve() const {
    if (index_ < 0 || index_ >= chart_.model().CurveCount()) return nullptr;
    return &chart_.model().curves[static_cast<std::size_t>(index_)];
}

void CCurveDlg::SetCurve(int index) {
    index_ = index;
    FillFromCurve();
}

void CCurveDlg::FillFromCurve() {
    const CXGraphDataSerie* c = curve();
    setEnabled(c != nullptr);
    if (!c) return;
    const QSignalBlocker b1(symbol), b2(type), b3(penStyle), b4(visible), b5(showMarkers), b6(fill), b7(transparent),
        b8(numbered), b9(symbolic);
    symbol->clear();
    symbol->setIconSize(QSize(16, 16));
    for (int i = 0; i < 8; ++i) symbol->addItem(SymbolIcon(i), QString());
    label->setText(QString::fromStdString(c->GetLabel()));
    type->setCurrentIndex(c->lineType == 1 ? 1 : 0);
    penStyle->setCurrentIndex(std::clamp(c->penStyle, 0, 4));
    lineWidth->setText(QString::number(c->lineWidth));
    colour->SetColour(ToQColor(c->colour));
    visible->setChecked(c->visible);
    showMarkers->setChecked(c->showMarkers);
    numbered->setChecked(c->markerType == 0);
    symbolic->setChecked(c->markerType == 1);
    symbol->setCurrentIndex(std::clamp(c->markerSymbol, 0, 7));
    markerSize->setText(QString::number(c->markerSize));
    fill->setChecked(c->fill);
    transparent->setChecked(c->transparent);
    patterns[std::clamp(c->fillStyle, 0, 6)]->setChecked(true);
    for (auto* r : patterns) r->setEnabled(c->fill);
    symbol->setEnabled(c->markerType == 1);
    // The page starts as its form was drawn; the first change sets these right.
    transparent->setEnabled(false);
    numbered->setEnabled(false);
    symbolic->setEnabled(false);
    // Derived curves need two points; an average needs a window of at least one.
    const int n = c->Count();
    linearTrend->setEnabled(n >= 2);
    cubicTrend->setEnabled(n >= 2);
    polynomialTrend->setEnabled(n >= 2);
    movingAverage->setEnabled(n / 2 >= 1);
    apply->setEnabled(false);
}

void CCurveDlg::OnChange() {
    const bool filled = fill->isChecked(), markers = showMarkers->isChecked();
    transparent->setEnabled(filled);
    for (auto* r : patterns) r->setEnabled(filled);
    numbered->setEnabled(markers);
    symbolic->setEnabled(markers);
    symbol->setEnabled(markers && symbolic->isChecked());
    Changed();
}

bool CCurveDlg::Apply() {
    CXGraphDataSerie* c = curve();
    if (!c) return true;
    long long width = 0, size = 0;
    if (!ReadInteger(this, lineWidth, 1, 5, width) || !ReadInteger(this, markerSize, 1, 20, size)) return false;
    c->lineType = type->currentIndex();
    c->lineWidth = static_cast<int>(width);
    if (colour->GetColour().isValid()) c->colour = FromQColor(colour->GetColour());
    c->penStyle = penStyle->currentIndex();
    c->visible = visible->isChecked();
    c->showMarkers = showMarkers->isChecked();
    c->fill = fill->isChecked();
    c->fillStyle = std::max(patternGroup->checkedId(), 0);
    c->transparent = transparent->isChecked();
    c->SetLabel(label->text().toStdString());
    c->markerType = symbolic->isChecked() ? 1 : 0;
    c->markerSize = static_cast<int>(size);
    c->markerSymbol = symbol->currentIndex();
    chart_.update();
    apply->setEnabled(false);
    return true;
}

void CCurveDlg::AddDerived(const std::vector<Point2D>& pts, const std::string& suffix) {
    const CXGraphDataSerie* c = curve();
    if (!c || pts.empty()) return;
    const std::string name = c->GetLabel() + suffix;
    const int ax = c->xAxis, ay = c->yAxis, keep = index_;
    auto* added = chart_.SetData(pts.data(), static_cast<int>(pts.size()), chart_.model().CurveCount(), ax, ay, true);
    if (added) added->SetLabel(name);
    // Adding a curve may move the curves: take ours again by its index.
    index_ = keep;
    chart_.update();
}

void CCurveDlg::OnMovingAverage() {
    const CXGraphDataSerie* c = curve();
    if (!c || c->Count() / 2 < 1) return;
    CMovingAvgDlg dialog(c->Count() / 2, this);
    if (!ChartDialogs().run(dialog)) return;
    static const char* kWords[] = {"simple", "linear", "exponential", "triangular", "sine weighted"};
    const int w = static_cast<int>(dialog.windowSize);
    std::vector<Point2D> pts;
    switch (dialog.typeIndex) {
        case 0:
            pts = c->SimpleMovingAverage(w);
            break;
        case 1:
            pts = c->LinearMovingAverage(w);
            break;
        case 2:
            pts = c->ExponentialMovingAverage(w);
            break;
        case 3:
            pts = c->TriangularMovingAverage(w);
            break;
        default:
            pts = c->SineWeightedMovingAverage(w);
            break;
    }
    AddDerived(pts, std::string(" AVG, ") + kWords[std::clamp(dialog.typeIndex, 0, 4)]);
}

void CCurveDlg::AddIndexTrend(bool cubic) {
    const CXGraphDataSerie* c = curve();
    if (!c || c->Count() < 2) return;
    CTrendDlg dialog(this);
    if (!ChartDialogs().run(dialog)) return;
    const int n = static_cast<int>(dialog.extensionCount);
    AddDerived(cubic ? c->CubicTrend(n) : c->LinearTrend(n), cubic ? " Trend (cub.)" : " Trend (lin.)");
}

void CCurveDlg::OnPolynomialTrend() {
    CXGraphDataSerie* c = curve();
    if (!c || c->Count() < 2) return;
    CTrendDlg dialog(this);
    if (!ChartDialogs().run(dialog)) return;
    const auto pts = c->PolynomialTrend(static_cast<int>(dialog.maxDegree), static_cast<int>(dialog.extensionCount));
    if (pts.empty()) {
        ChartDialogs().message(this, QStringLiteral("Could not create polynomial trend for the selected curve."));
        return;
    }
    const std::string text = PolynomialLabel(c->solver);
    AddDerived(pts, " Trend (poly.) ");
    QtTextMeasurer measurer;
    const ISize size = measurer.extent(FontSpec{"Arial", 14, 400}, text);
    chart_.InsertLabel(Rect{200, 200, 200 + std::max(size.cx, 10), 200 + std::max(size.cy, 10)}, text);
    chart_.update();
}

}  // namespace vra
