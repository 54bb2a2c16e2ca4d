#include "gui/chart/CAxisDlg.h"

#include "core/chart/AxisPageRules.h"
#include "core/chart/OleDate.h"
#include "gui/chart/CXGraph.h"
#include "gui/chart/ChartDialogKit.h"

#include <QFormLayout>
#include <QPainter>
#include <QPixmap>

#include <cmath>

namespace vra {

namespace {

QDateTime ToDateTime(double date) {
    const auto civil = OleDate::ToCivil(date);
    if (!civil) return QDateTime(QDate(1970, 1, 1), QTime(0, 0), Qt::UTC);
    return QDateTime(QDate(civil->year, civil->month, civil->day), QTime(civil->hour, civil->minute, civil->second),
                     Qt::UTC);
}

double FromDateTime(const QDate& d, const QTime& t) {
    return OleDate::FromCivil({d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()});
}

FontSpec FromQFont(const QFont& f) {
    FontSpec s;
    const QString family = f.family();
    s.family = family == QStringLiteral("Liberation Sans") ? "Arial" : family.toStdString();
    s.height = f.pixelSize() > 0 ? f.pixelSize() : static_cast<int>(std::lround(f.pointSizeF() * 96 / 72));
    s.weight = f.weight();
    s.italic = f.italic();
    s.underline = f.underline();
    s.strikeOut = f.strikeOut();
    return s;
}

}  // namespace

CAxisDlg::CAxisDlg(CChartPage& sheet, CXGraph& chart) : ChartPageBase(sheet, chart) {
    auto* form = new QFormLayout;
    content->addLayout(form);
    label = Named(new QLineEdit(this), 210);
    form->addRow(QStringLiteral("Label"), label);
    visible = Named(new QCheckBox(QStringLiteral("Visible"), this), 209);
    autoscale = Named(new QCheckBox(QStringLiteral("Autoscale"), this), 239);
    showGrid = Named(new QCheckBox(QStringLiteral("Show grid"), this), 214);
    showMarkers = Named(new QCheckBox(QStringLiteral("Show markers"), this), 258);
    form->addRow(visible, autoscale);
    form->addRow(showGrid, showMarkers);
    timeAxis = Named(new QCheckBox(QStringLiteral("Timeaxis, format :"), this), 215);
    timeFormat = Named(new QLineEdit(this), 246);
    form->addRow(timeAxis, timeFormat);
    decimals = NumberEdit(this, 216);
    arrowSize = NumberEdit(this, 218);
    tickSize = NumberEdit(this, 220);
    markerSize = NumberEdit(this, 222);
    form->addRow(QStringLiteral("Decimal places (scale)"), decimals);
    form->addRow(QStringLiteral("Arrowsize"), arrowSize);
    form->addRow(QStringLiteral("Ticksize"), tickSize);
    form->addRow(QStringLiteral("Markersize"), markerSize);
    adjustment = Named(new QComboBox(this), 257);
    adjustment->addItems({QStringLiteral("Left"), QStringLiteral("Right")});
    form->addRow(QStringLiteral("Adjustment"), adjustment);
    gridStyle = Named(new QComboBox(this), 272);
    gridStyle->setIconSize(QSize(100, 16));
    for (int i = 0; i < 5; ++i) gridStyle->addItem(PenStyleIcon(i), QString());
    form->addRow(QStringLiteral("Gridstyle"), gridStyle);
    axisColour = Named(new CColorButton(this), 207);
    gridColour = Named(new CColorButton(this), 233);
    form->addRow(QStringLiteral("Axis-color"), axisColour);
    form->addRow(QStringLiteral("Gridcolor"), gridColour);
    minimum = NumberEdit(this, 240);
    maximum = NumberEdit(this, 213);
    step = NumberEdit(this, 224);
    form->addRow(QStringLiteral("Minimum"), minimum);
    minDate = Named(new QDateEdit(this), 225);
    minTime = Named(new QTimeEdit(this), 226);
    form->addRow(minDate, minTime);
    form->addRow(QStringLiteral("Maximum"), maximum);
    maxDate = Named(new QDateEdit(this), 229);
    maxTime = Named(new QTimeEdit(this), 230);
    form->addRow(maxDate, maxTime);
    for (auto* t : {minTime, maxTime}) {
        t->setDisplayFormat(QStringLiteral("HH:mm:ss"));
        t->setTimeSpec(Qt::UTC);
    }
    for (auto* d : {minDate, maxDate}) {
        d->setTimeSpec(Qt::UTC);
        d->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    }
    form->addRow(QStringLiteral("Stepwidth"), step);
    timeStepCount = NumberEdit(this, 270);
    timeUnit = Named(new QComboBox(this), 271);
    timeUnit->addItems(
        {QStringLiteral("Seconds"), QStringLiteral("Minutes"), QStringLiteral("Hours"), QStringLiteral("Days")});
    form->addRow(timeStepCount, timeUnit);
    scaleFont = Named(new QPushButton(QStringLiteral("Scalefont ..."), this), 201);
    titleFont = Named(new QPushButton(QStringLiteral("Titlefont ..."), this), 202);
    form->addRow(scaleFont, titleFont);

    for (auto* c : {visible, autoscale, showGrid, timeAxis, showMarkers})
        connect(c, &QCheckBox::toggled, this, [this] { OnChange(); });
    for (auto* e :
         {label, timeFormat, decimals, arrowSize, tickSize, markerSize, minimum, maximum, step, timeStepCount})
        connect(e, &QLineEdit::textEdited, this, [this] { OnChange(); });
    for (auto* c : {adjustment, gridStyle, timeUnit})
        connect(c, &QComboBox::currentIndexChanged, this, [this] { OnChange(); });
    for (auto* d : {minDate, maxDate}) connect(d, &QDateEdit::dateChanged, this, [this] { OnChange(); });
    for (auto* t : {minTime, maxTime}) connect(t, &QTimeEdit::timeChanged, this, [this] { OnChange(); });
    for (auto* b : {axisColour, gridColour}) connect(b, &CColorButton::colourChanged, this, [this] { Changed(); });
    auto pickFont = [this](bool tick) {
        CXGraphAxis* a = axis();
        if (!a) return;
        QFont f = QtFont(tick ? a->tickFont : a->titleFont);
        if (!ChartDialogs().font(this, f, nullptr)) return;
        (tick ? a->tickFont : a->titleFont) = FromQFont(f);
        Changed();
    };
    connect(scaleFont, &QPushButton::clicked, this, [pickFont] { pickFont(true); });
    connect(titleFont, &QPushButton::clicked, this, [pickFont] { pickFont(false); });
}

CXGraphAxis* CAxisDlg::axis() const {
    auto& axes = kind_ == CXGraphAxis::X ? chart_.model().xAxes : chart_.model().yAxes;
    if (index_ < 0 || index_ >= static_cast<int>(axes.size())) return nullptr;
    return &axes[static_cast<std::size_t>(index_)];
}

void CAxisDlg::SetAxis(int kind, int index) {
    kind_ = kind;
    index_ = index;
    FillFromAxis();
}

void CAxisDlg::FillFromAxis() {
    const CXGraphAxis* a = axis();
    setEnabled(a != nullptr);
    if (!a) return;
    const QSignalBlocker blockers[] = {
        QSignalBlocker(visible),     QSignalBlocker(autoscale),  QSignalBlocker(showGrid),  QSignalBlocker(timeAxis),
        QSignalBlocker(showMarkers), QSignalBlocker(adjustment), QSignalBlocker(gridStyle), QSignalBlocker(timeUnit),
        QSignalBlocker(minDate),     QSignalBlocker(maxDate),    QSignalBlocker(minTime),   QSignalBlocker(maxTime)};
    double lo, hi, s;
    a->GetRanges(lo, hi, s);
    label->setText(QString::fromStdString(a->label));
    minimum->setText(QString::number(lo, 'g', 17));
    maximum->setText(QString::number(hi, 'g', 17));
    step->setText(QString::number(s, 'g', 17));
    autoscale->setChecked(a->autoscale);
    timeAxis->setChecked(a->timeAxis);
    showGrid->setChecked(a->showGrid);
    visible->setChecked(a->visible);
    axisColour->SetColour(ToQColor(a->colour));
    gridColour->SetColour(ToQColor(a->gridColour));
    showMarkers->setChecked(a->showMarkers);
    adjustment->setCurrentIndex(a->placement == 1 ? 1 : 0);
    arrowSize->setText(QString::number(a->arrowSize));
    tickSize->setText(QString::number(a->tickSize));
    markerSize->setText(QString::number(a->markerSize));
    gridStyle->setCurrentIndex(std::clamp(a->gridStyle, 0, 4));
    if (a->timeAxis) {
        timeFormat->setText(QString::fromStdString(EscapeNewlines(a->labelFormat)));
        decimals->setText(QStringLiteral("1"));
        const TimeStepShown shown = ShowTimeStep(s);
        timeUnit->setCurrentIndex(static_cast<int>(shown.unit));
        timeStepCount->setText(QString::number(shown.count));
        const QDateTime from = ToDateTime(lo), to = ToDateTime(hi);
        minDate->setDate(from.date());
        minTime->setTime(from.time());
        maxDate->setDate(to.date());
        maxTime->setTime(to.time());
    } else {
        // The user's own clock: the pickers show the wall-clock date and time.
        const QDateTime now = QDateTime::currentDateTime();
        minDate->setDate(now.date());
        minTime->setTime(now.time());
        maxDate->setDate(now.date());
        maxTime->setTime(now.time());
        decimals->setText(QString::number(DecimalsOf(a->labelFormat)));
        timeStepCount->setText(QStringLiteral("1"));
    }
    Enable();
    apply->setEnabled(false);
}

void CAxisDlg::Enable() {
    const bool time = timeAxis->isChecked(), autoOn = autoscale->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{minimum, maximum, step}) w->setEnabled(!autoOn && !time);
    for (QWidget* w : std::initializer_list<QWidget*>{minDate, minTime, maxDate, maxTime, timeStepCount, timeUnit})
        w->setEnabled(time && !autoOn);
    decimals->setEnabled(!time);
    timeFormat->setEnabled(time);
    adjustment->setEnabled(!time);
}

void CAxisDlg::OnChange() {
    Enable();
    Changed();
}

bool CAxisDlg::Apply() {
    CXGraphAxis* a = axis();
    if (!a) return true;
    // Everything typed is checked before anything is written.
    long long dec = 0, arrow = 0, tick = 0, marker = 0, count = 1;
    double lo = 0, hi = 0, s = 0;
    const bool time = timeAxis->isChecked(), autoOn = autoscale->isChecked();
    if (!time && !ReadInteger(this, decimals, 0, 6, dec)) return false;
    if (!ReadInteger(this, arrowSize, 1, 10, arrow) || !ReadInteger(this, tickSize, 1, 10, tick) ||
        !ReadInteger(this, markerSize, 1, 20, marker))
        return false;
    if (!autoOn) {
        if (time) {
            if (!ReadInteger(this, timeStepCount, 1, 22118400, count)) return false;
            lo = FromDateTime(minDate->date(), minTime->time());
            hi = FromDateTime(maxDate->date(), maxTime->time());
            s = TimeStepDays(count, static_cast<TimeUnit>(timeUnit->currentIndex()));
        } else if (!ReadNumber(this, minimum, lo) || !ReadNumber(this, maximum, hi) || !ReadNumber(this, step, s)) {
            return false;
        }
        if (const auto error = CheckAxisRange(lo, hi, s)) {
            ChartDialogs().message(this, QString::fromStdString(*error));
            return false;
        }
    }
    a->gridStyle = gridStyle->currentIndex();
    a->label = label->text().toStdString();
    a->autoscale = autoOn;
    a->visible = visible->isChecked();
    if (!autoOn) a->SetRange(lo, hi, s);
    a->showGrid = showGrid->isChecked();
    a->placement = adjustment->currentIndex();
    if (time)
        a->labelFormat = UnescapeNewlines(timeFormat->text().toStdString());
    else
        a->labelFormat = NumberFormatFor(a->curMin, a->curMax, static_cast<int>(dec));
    a->colour = FromQColor(axisColour->GetColour().isValid() ? axisColour->GetColour() : QColor(Qt::black));
    a->gridColour = FromQColor(gridColour->GetColour().isValid() ? gridColour->GetColour() : QColor(Qt::gray));
    a->arrowSize = static_cast<int>(arrow);
    a->tickSize = static_cast<int>(tick);
    a->markerSize = static_cast<int>(marker);
    a->timeAxis = time;
    a->showMarkers = showMarkers->isChecked();
    chart_.update();
    apply->setEnabled(false);
    return true;
}

}  // namespace vra
