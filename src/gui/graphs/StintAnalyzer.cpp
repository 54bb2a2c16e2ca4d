#include "gui/graphs/StintAnalyzer.h"

#include "core/chart/ChartController.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/platform/Prompts.h"
#include "core/replay/Drivers.h"
#include "gui/platform/Cp1252.h"
#include "gui/widgets/LiteralText.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QResizeEvent>
#include <QSizeGrip>
#include <QSpinBox>
#include <QTreeWidget>

namespace vra {

namespace {

constexpr const char* kNoDataHint =
    " No data loaded\n Click on \"Read Stints\" to start reading of data.\n For longer replays this will take a while.";
constexpr const char* kLoadedHint = " Stints from replay now loaded.\n Click on the stints you want to plot.";

// The chart as the reader sees it: curves added at the end, removed by
// number.
class ChartSink : public StintChart {
public:
    explicit ChartSink(CXGraph& chart) : chart_(chart) {}
    int CurveCount() override { return chart_.model().CurveCount(); }
    void DeleteCurve(int index) override { chart_.DeleteCurve(index); }
    void AddCurve(const StintSeries& series, int yAxis, const std::string& label, bool markers) override {
        const int index = CurveCount();
        CXGraphDataSerie* curve = chart_.SetData(series.points.data(), series.count, index, 0, yAxis);
        if (!curve) return;
        curve->SetLabel(label);
        if (markers) {
            curve->markerType = 1;
            curve->markerSize = 5;
            curve->showMarkers = true;
        }
    }

private:
    CXGraph& chart_;
};

QCheckBox* Box(QWidget* parent, const QString& text, QRect rect) {
    auto* box = new QCheckBox(text, parent);
    box->setGeometry(rect);
    return box;
}

}  // namespace

StintAnalyzer::StintAnalyzer(CRpyGraphDoc& doc, Prompts& prompts, WaitBox& wait, QWidget* parent)
    : QDialog(parent), doc_(doc), prompts_(prompts), wait_(wait) {
    setWindowTitle(QStringLiteral("Stint Analyzer"));
    resize(900, 600);

    optionsGroup_ = new QGroupBox(QStringLiteral("Plot Options"), this);
    optionsGroup_->setGeometry(8, 8, 200, 292);
    for (int o = 0; o < StintReader::kOptions; ++o) {
        options_[std::size_t(o)] = Box(this, QString::fromLatin1(StintReader::kOptionTable[std::size_t(o)].box),
                                       QRect(16, 28 + 20 * o, 184, 18));
        connect(options_[std::size_t(o)], &QCheckBox::clicked, this, [this, o] { Replot(o, -1); });
    }
    loaded_ = new QLabel(QStringLiteral("Loaded stints"), this);
    loaded_->setGeometry(8, 306, 200, 18);
    list_ = new QTreeWidget(this);
    list_->setGeometry(8, 326, 200, 200);
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    const QStringList titles = {QStringLiteral("Rpy:# "), QStringLiteral("Session"), QStringLiteral("Laps")};
    list_->setHeaderLabels(titles);
    const QFontMetrics fm(list_->header()->font());
    for (int c = 0; c < titles.size(); ++c) list_->setColumnWidth(c, fm.horizontalAdvance(titles[c]) + 15);
    connect(list_, &QTreeWidget::itemChanged, this, &StintAnalyzer::OnItemChanged);
    print_ = new QPushButton(QStringLiteral("Print"), this);
    print_->setGeometry(8, 532, 96, 24);
    connect(print_, &QPushButton::clicked, this, [this] { chart_->Print(); });
    starNote_ = new QLabel(QStringLiteral("*=only if telemetry in rpy"), this);
    starNote_->setGeometry(8, 562, 200, 18);
    close_ = new QPushButton(QStringLiteral("Close"), this);
    close_->setGeometry(112, 300, 96, 24);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);

    // The read settings stand where the plot options appear after a read.
    readGroup_ = new QGroupBox(QStringLiteral("Stint read settings"), this);
    readGroup_->setGeometry(8, 8, 200, 286);
    auto* replayText = new QLabel(QStringLiteral("Replay files:"), readGroup_);
    replayText->setGeometry(8, 20, 184, 18);
    for (int slot = 0; slot < 5; ++slot) {
        QCheckBox* box = Box(readGroup_, {}, QRect(8, 40 + 18 * slot, 184, 18));
        replays_[std::size_t(slot)] = box;
        // Box k stands for slot k, in its label as in the reading.
        if (!doc_.IsSlotUsed(slot)) {
            box->hide();
            box->setEnabled(false);
            continue;
        }
        const LapSlot& lap = doc_.Slot(slot);
        const std::string name = lap.drivers ? StintReplayLabel(lap.drivers->path.filename().string()) : std::string();
        box->setText(QStringLiteral("%1 %2%3")
                         .arg(slot + 1)
                         .arg(StintReader::HasTyreTelemetry(doc_, slot) ? QStringLiteral("(Adv)") : QString())
                         .arg(LiteralCaption(QFile::decodeName(QByteArray::fromStdString(name)))));
    }
    auto* sessionText = new QLabel(QStringLiteral("Sessions:"), readGroup_);
    sessionText->setGeometry(8, 134, 184, 18);
    const char* kinds[] = {"Training/Practice", "Qualifying", "Happy Hour", "Race"};
    for (int k = 0; k < 4; ++k) {
        sessions_[std::size_t(k)] = Box(readGroup_, QString::fromLatin1(kinds[k]), QRect(8, 154 + 18 * k, 184, 18));
        sessions_[std::size_t(k)]->setChecked(true);
    }
    auto* minText = new QLabel(QStringLiteral("Stint min. laps:"), readGroup_);
    minText->setGeometry(8, 230, 100, 20);
    minLaps_ = new QSpinBox(readGroup_);
    minLaps_->setGeometry(110, 228, 70, 22);
    minLaps_->setRange(2, 512);
    minLaps_->setValue(3);
    read_ = new QPushButton(QStringLiteral("Read Stints"), readGroup_);
    read_->setGeometry(8, 256, 184, 24);
    connect(read_, &QPushButton::clicked, this, &StintAnalyzer::OnReadStints);

    for (QWidget* w : {static_cast<QWidget*>(optionsGroup_), static_cast<QWidget*>(loaded_),
                       static_cast<QWidget*>(list_), static_cast<QWidget*>(print_), static_cast<QWidget*>(starNote_)})
        w->hide();
    for (QCheckBox* box : options_) box->hide();

    chart_ = new CXGraph(this);
    chart_->model().interactive = false;
    connect(chart_, &CXGraph::chartMessage, this, [this](int message, int) {
        if (message == chartmsg::kRightButtonUp) ChartMenu()->popup(QCursor::pos());
    });
    grip_ = new QSizeGrip(this);
    grip_->resize(grip_->sizeHint());
    PlaceChart();
    ShowHint(kNoDataHint);
}

StintAnalyzer::~StintAnalyzer() {
    chart_->ResetAll();
}

QMenu* StintAnalyzer::ChartMenu() {
    if (menu_) return menu_;
    menu_ = new QMenu(this);
    const std::pair<int, const char*> items[] = {{chartcmd::kNormal, "Normal"}, {chartcmd::kZoom, "Zoom"},
                                                 {chartcmd::kReset, "Reset"},   {chartcmd::kPan, "Pan"},
                                                 {chartcmd::kCursor, "Cursor"}, {chartcmd::kPrint, "Print"}};
    for (const auto& [id, text] : items) {
        QAction* a = menu_->addAction(QString::fromLatin1(text));
        a->setData(id);
        connect(a, &QAction::triggered, chart_, [this, id = id] { chart_->Command(id); });
    }
    return menu_;
}

void StintAnalyzer::PlaceChart() {
    // The group's right edge lies just past its last column of pixels.
    const int left = int((optionsGroup_->x() + optionsGroup_->width()) * 1.1);
    chart_->setGeometry(left, 10, std::max(width() - (left + 10), 1), std::max(height() - 20, 1));
    grip_->move(width() - grip_->width(), height() - grip_->height());
}

void StintAnalyzer::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    PlaceChart();
}

void StintAnalyzer::ShowHint(const char* text) {
    ChartModel& m = chart_->model();
    m.backColour = kWhite;
    m.legend = false;
    chart_->InsertLabel(Rect{10, 10, chart_->width() - 10, chart_->height() - 10}, text);
    chart_->update();
}

void StintAnalyzer::OnReadStints() {
    StintReader::Request request;
    telemetryMask_ = 0;
    for (int slot = 0; slot < 5; ++slot) {
        request.replays[std::size_t(slot)] = replays_[std::size_t(slot)]->isChecked();
        if (request.replays[std::size_t(slot)] && StintReader::HasTyreTelemetry(doc_, slot))
            telemetryMask_ |= std::uint8_t(1u << slot);
    }
    for (int k = 0; k < 4; ++k) request.kinds[std::size_t(k)] = sessions_[std::size_t(k)]->isChecked();
    request.minLaps = minLaps_->value();
    const int before = reader_.StintCount();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    reader_.Read(doc_, request, prompts_, wait_);
    QApplication::restoreOverrideCursor();

    list_->blockSignals(true);
    for (int s = before; s < reader_.StintCount(); ++s) {
        const StintReader::Row& row = reader_.RowOf(s);
        auto* item = new QTreeWidgetItem(list_, {QString::fromStdString(row.stint), QString::fromStdString(row.session),
                                                 QString::fromStdString(row.laps)});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
        ticks_.push_back(false);
    }
    list_->blockSignals(false);
    if (reader_.StintCount() == 0) return;
    // Read once: the stints stay as read for the dialog's life.
    read_->setEnabled(false);
    EnterPlotMode();
    chart_->ResetAll();
    ShowHint(kLoadedHint);
}

void StintAnalyzer::EnterPlotMode() {
    for (QWidget* w : {static_cast<QWidget*>(optionsGroup_), static_cast<QWidget*>(loaded_),
                       static_cast<QWidget*>(list_), static_cast<QWidget*>(print_), static_cast<QWidget*>(starNote_)})
        w->show();
    for (QCheckBox* box : options_) box->show();
    close_->move(close_->x(), print_->y());
    for (int o : {0, 1, 2, 3}) options_[std::size_t(o)]->setChecked(true);
    if (telemetryMask_ != 0) {
        for (int o : {6, 10, 12}) options_[std::size_t(o)]->setChecked(true);
    } else {
        for (int o = StintReader::kFirstTyreOption; o < StintReader::kOptions; ++o)
            options_[std::size_t(o)]->setEnabled(false);
    }
    readGroup_->hide();
}

void StintAnalyzer::OnItemChanged(QTreeWidgetItem* item) {
    const int row = list_->indexOfTopLevelItem(item);
    if (row < 0 || std::size_t(row) >= ticks_.size()) return;
    const bool ticked = item->checkState(0) == Qt::Checked;
    if (ticked == ticks_[std::size_t(row)]) return;
    ticks_[std::size_t(row)] = ticked;
    Replot(-1, row);
}

void StintAnalyzer::Replot(int option, int stint) {
    ChartModel& m = chart_->model();
    ChartSink sink(*chart_);
    if (m.xAxes.empty() && stint >= 0) {
        // Three y axes on one x axis, made by placeholder curves that go
        // again at once.
        chart_->ResetAll();
        const Point2D origin[3] = {};
        for (int k = 0; k < 3; ++k) chart_->SetData(origin, 3, k, 0, k);
        for (int k = 2; k >= 0; --k) chart_->DeleteCurve(k);
        m.legend = true;
    }
    if (option >= 0) {
        for (std::size_t s = 0; s < ticks_.size(); ++s)
            if (ticks_[s]) reader_.Toggle(int(s), option, sink);
    }
    if (stint >= 0) {
        for (int o = 0; o < StintReader::kOptions; ++o)
            if (options_[std::size_t(o)]->isChecked()) reader_.Toggle(stint, o, sink);
    }
    if (!m.xAxes.empty() && m.yAxes.size() >= 3) {
        CXGraphAxis& x = chart_->GetXAxis(0);
        x.SetLabel("Min");
        x.showGrid = false;
        x.showMarkers = false;
        const char* labels[] = {"Sec",
                                "\xC2\xB0"
                                "F",
                                "PSI"};
        for (int k = 0; k < 3; ++k) {
            CXGraphAxis& y = chart_->GetYAxis(k);
            y.SetLabel(labels[k]);
            y.showGrid = k == 0;
            y.showMarkers = false;
            y.placement = 0;
        }
    }
    chart_->update();
}

}  // namespace vra
