#include "core/commands/CommandIds.h"
#include "core/graphs/TelemetryPageLayout.h"
#include "core/graphs/TimeDifference.h"
#include "core/track/TrackPath.h"
#include "gui/chart/CXGraph.h"
#include "gui/graphs/CGraphPanel.h"
#include "gui/graphs/CGraphWnd.h"
#include "gui/graphs/Grafpages.h"
#include "gui/graphs/GraphPrint.h"
#include "gui/graphs/NewGraph.h"
#include "gui/graphs/TimeDiffForGraph.h"
#include "gui/graphs/TrackMapDialog.h"

#include "AnalyserFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImageReader>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSizeGrip>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <gmock/gmock.h>

namespace vra::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

using TelemetryGraph = AnalyserStart;

QColor SlotColour(int slot) {
    const Rgb c = kGraphColours[std::size_t(slot)];
    return QColor(c.red, c.green, c.blue);
}

int Count(const QImage& image, QColor colour) {
    return CountColour(image, colour);
}

TEST_F(TelemetryGraph, WithoutLapsTheCommandSaysSo) {
    CRpyGraphApp& app = Start();
    app.Frame()->Action(cmd::GraphWindow)->trigger();
    EXPECT_THAT(prompts_.messages(), ElementsAre("No replay lap loaded!"));
}

TEST_F(TelemetryGraph, LapBoxesPlotTheTickedLapsAndTheLayoutFollowsTheSize) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    AddRaceLap(1, 5);
    NewGraph dialog(app.Document());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_THAT(dialog.LapBox(0)->text().toStdString(),
                ::testing::StartsWith("A Morgan " + FormatGraphLapTime(DemoRaceLapMs(0, 2))));
    EXPECT_EQ(dialog.LapBox(1)->palette().color(QPalette::WindowText), SlotColour(1));
    // Switched off, the time difference box reads so, in the style's colour.
    EXPECT_FALSE(dialog.TimeDiffBox()->isEnabled());
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText})
        EXPECT_EQ(dialog.TimeDiffBox()->palette().color(QPalette::Disabled, role),
                  QApplication::palette(dialog.TimeDiffBox()).color(QPalette::Disabled, role));
    for (int box = 2; box < 5; ++box) EXPECT_FALSE(dialog.LapBox(box)->isVisible() || dialog.LapBox(box)->isEnabled());
    EXPECT_TRUE(dialog.BasicPage()->Button(1032)->isChecked());

    dialog.LapBox(0)->click();
    dialog.LapBox(1)->click();
    EXPECT_EQ(dialog.Graph()->Model().GetGraphCount(), 2);
    EXPECT_TRUE(dialog.TimeDiffBox()->isEnabled());
    dialog.TimeDiffBox()->click();
    ASSERT_TRUE(dialog.TimeDiff());
    EXPECT_EQ(dialog.Graph()->Model().GetGraphCount(), 4);
    EXPECT_THAT(dialog.TimeDiff()->GroupText().toStdString(), HasSubstr(" is:"));
    EXPECT_FALSE(dialog.TimeDiff()->Text(1037).isEmpty());

    // The advanced page shows no tick while the basic page chose the channel.
    dialog.Sheet()->setCurrentIndex(1);
    dialog.AdvancedPage()->Button(1253)->click();
    EXPECT_EQ(dialog.Controller().ChannelCode(), 38);
    EXPECT_TRUE(dialog.WheelBox(0)->isEnabled());
    dialog.Sheet()->setCurrentIndex(0);
    EXPECT_FALSE(dialog.BasicPage()->Button(1032)->isChecked());

    dialog.resize(900, 600);
    QTest::qWait(10);
    const QRect g = dialog.Graph()->geometry();
    EXPECT_EQ(g.top(), 20);
    EXPECT_EQ(g.bottom() + 1, 600 - 20);
    EXPECT_NEAR(g.right() + 1, 900 - 10, 1);  // both ends truncated
    EXPECT_EQ(g.left(), int(dialog.LapGroupRight() * 1.1));
    EXPECT_EQ(dialog.SizeGrip()->geometry().bottomRight(), QPoint(899, 599));
}

TEST_F(TelemetryGraph, TheMapMarksTheCursorAndNothingBeyondTheTrack) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    ASSERT_TRUE(app.Document()->TrackLoaded());
    NewGraph dialog(app.Document());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.MapButton()->click();
    TrackMapDialog* map = dialog.TrackMap();
    ASSERT_TRUE(map && map->isVisible());
    const double length = app.Document()->GetTrackPath()->Length();
    EXPECT_EQ(map->windowTitle(), QString::fromStdString(app.Document()->Title()) +
                                      QStringLiteral(" (%1 meters)").arg(static_cast<long long>(length)));
    EXPECT_EQ(map->Map().pixelColor(1, 1), QColor(204, 204, 204));
    const int plain = Count(map->Map(), Qt::white);
    dialog.Controller().TimeDiffText(length / 2, 0);
    EXPECT_GT(Count(map->Map(), Qt::white), plain);
    // A stretch that starts exactly at the track's end: the path cannot mark it.
    const double half = 1 * length * 0.01;
    ASSERT_EQ((length + half) - half, length);
    dialog.Controller().TimeDiffText(length + half, 0);
    EXPECT_EQ(Count(map->Map(), Qt::white), plain);
    dialog.Controller().TimeDiffText(length / 2, 0);
    dialog.Controller().TimeDiffText(length * 1.05, 0);
    EXPECT_EQ(Count(map->Map(), Qt::white), plain);
}

TEST_F(TelemetryGraph, ALapWithoutItsTrackPlotsAndTheMapStaysShut) {
    std::filesystem::remove_all(root_ / "tracks");
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    ASSERT_EQ(app.Document()->LapCount(), 1);
    ASSERT_FALSE(app.Document()->TrackLoaded());
    NewGraph dialog(app.Document());
    dialog.LapBox(0)->click();
    const CGraphProps* speed = dialog.Graph()->Model().GetGraph(dialog.Controller().SeriesSlot(0, 0));
    ASSERT_NE(speed, nullptr);
    EXPECT_GT(speed->Count(), 100);
    dialog.MapButton()->click();
    EXPECT_EQ(dialog.TrackMap(), nullptr);
    dialog.Controller().TimeDiffText(100, 0);
}

// The words of a PDF's first page with their boxes in points, as
// pdftotext finds them; empty when it could not read the file.
struct PdfWord {
    QString text;
    QRectF box;
};
std::vector<PdfWord> PdfWords(const QString& pdf) {
    QProcess run;
    run.start(QStringLiteral("pdftotext"),
              {QStringLiteral("-bbox"), QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
    if (!run.waitForFinished(20000)) return {};
    static const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<PdfWord> words;
    const QString out = QString::fromUtf8(run.readAllStandardOutput());
    for (auto it = word.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        words.push_back({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                               QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return words;
}

const PdfWord* FindWord(const std::vector<PdfWord>& words, const QString& text) {
    for (const PdfWord& w : words)
        if (w.text == text) return &w;
    return nullptr;
}

TEST_F(TelemetryGraph, ThePrintButtonsPrinterSetsThePageAtItsSize) {
    if (QProcess::execute(QStringLiteral("pdftotext"), {QStringLiteral("-v")}) < 0) GTEST_SKIP() << "no pdftotext";
    CRpyGraphApp& app = Start();
    for (int driver = 0; driver < 5; ++driver) AddRaceLap(driver, 2);
    NewGraph dialog(app.Document());
    for (int box = 0; box < 5; ++box) dialog.LapBox(box)->click();
    QTemporaryDir dir;

    // The word's height in points of a known font size, measured as the page's.
    const QString reference = dir.filePath(QStringLiteral("reference.pdf"));
    {
        QPdfWriter writer(reference);
        QPainter p(&writer);
        QFont font;
        font.setPointSizeF(10);
        p.setFont(font);
        p.drawText(QPoint(1000, 1000), QStringLiteral("Velmar"));
    }
    const std::vector<PdfWord> known = PdfWords(reference);
    ASSERT_EQ(known.size(), 1u);
    const double pointsPerHeight = 10 / known[0].box.height();

    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    const std::unique_ptr<QPrinter> printer = NewTelemetryPrinter();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
    printer->setPageSize(QPageSize(QPageSize::A4));
    ASSERT_TRUE(PrintTelemetryPageOn(*printer, dialog, *app.Document(), {14, 3, -1}));
    const std::vector<PdfWord> words = PdfWords(pdf);
    const PdfWord* title = FindWord(words, QStringLiteral("Velmar"));
    ASSERT_NE(title, nullptr);
    EXPECT_NEAR(title->box.height() * pointsPerHeight, 17.1, 0.5);

    // The five rows of the lap table stand inside its frame.
    const TelemetryPageLayout l(printer->width(), printer->height());
    const PageRect t = l.areas[kLapTableArea];
    const double perPixel = 72.0 / printer->resolution();
    const QRectF table = QRectF(QPointF(t.left, t.top) * perPixel, QPointF(t.right, t.bottom) * perPixel)
                             .translated(printer->pageLayout().paintRect(QPageLayout::Point).topLeft());
    int rows = 0;
    for (const PdfWord& w : words)
        if (w.text.contains(QStringLiteral("s(")) && table.contains(w.box)) ++rows;
    EXPECT_EQ(rows, 5);

    // Every text has its own place: none runs into another.
    ASSERT_NE(FindWord(words, QStringLiteral("Laptime(Speed)")), nullptr);
    for (std::size_t i = 0; i < words.size(); ++i)
        for (std::size_t j = i + 1; j < words.size(); ++j) {
            const QRectF shared = words[i].box.intersected(words[j].box);
            EXPECT_FALSE(shared.width() > 0.5 && shared.height() > 0.5)
                << words[i].text.toStdString() << " / " << words[j].text.toStdString();
        }
}

TEST(TelemetryPrintDialog, OffersPrintingToAPdfFile) {
    const std::unique_ptr<QPrinter> printer = NewTelemetryPrinter();
    QPrintDialog print(printer.get());
    CXGraph::SetUpPrintDialog(print);
    EXPECT_TRUE(print.testOption(QAbstractPrintDialog::PrintToFile));
    EXPECT_FALSE(print.testOption(QAbstractPrintDialog::PrintPageRange));
    print.show();
    auto* printers = print.findChild<QComboBox*>(QStringLiteral("printers"));
    ASSERT_NE(printers, nullptr);
    EXPECT_GE(printers->findText(QStringLiteral("PDF"), Qt::MatchContains), 0);
    print.reject();
}

TEST_F(TelemetryGraph, PrintedPageHoldsItsTitlesRowsAndGraphs) {
    if (QProcess::execute(QStringLiteral("pdftotext"), {QStringLiteral("-v")}) < 0) GTEST_SKIP() << "no pdftotext";
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    AddRaceLap(1, 5);
    NewGraph dialog(app.Document());
    dialog.LapBox(0)->click();
    dialog.LapBox(1)->click();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    int writer4961 = 0, writer7016 = 0;
    {
        QPdfWriter writer(pdf);
        writer.setResolution(600);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter p(&writer);
        writer4961 = writer.width();
        writer7016 = writer.height();
        DrawTelemetryPage(p, writer.width(), writer.height(), dialog, *app.Document(), {14, -1, -1});
    }
    EXPECT_EQ(dialog.Controller().ChannelCode(), 1);  // the screen shows the primary graph again
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    const std::string out = QString::fromUtf8(text.readAllStandardOutput()).toStdString();
    for (const char* s : {"Velmar Telemetry Graph", "Printed with Velmar Replay Analyzer", "Driver Name",
                          "Laptime(Speed)", "Alex Morgan", "Speed", "Elapsed time"})
        EXPECT_THAT(out, HasSubstr(s));
    EXPECT_THAT(out, HasSubstr(FormatGraphLapTime(DemoRaceLapMs(0, 2)) + "("));

    // Rendered at the page's own resolution: every frame line is one pixel.
    QProcess raster;
    raster.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QStringLiteral("600"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
                  pdf, dir.filePath(QStringLiteral("page"))});
    ASSERT_TRUE(raster.waitForFinished(60000));
    QImageReader::setAllocationLimit(512);  // megabytes: an A4 page at 600 dpi
    const QImage page = QImageReader(dir.filePath(QStringLiteral("page.png"))).read();
    ASSERT_FALSE(page.isNull());
    const TelemetryPageLayout l(writer4961, writer7016);
    auto near = [&](int x, int y, QColor want) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const QColor c =
                    page.pixelColor(std::clamp(x + dx, 0, page.width() - 1), std::clamp(y + dy, 0, page.height() - 1));
                if (std::abs(c.red() - want.red()) < 60 && std::abs(c.green() - want.green()) < 60 &&
                    std::abs(c.blue() - want.blue()) < 60)
                    return true;
            }
        return false;
    };
    for (int a = 0; a < 8; ++a) {
        const PageRect r = l.areas[std::size_t(a)];
        const int mx = (r.left + r.right) / 2 + 37, my = (r.top + r.bottom) / 2 + 41;
        EXPECT_EQ(near(r.left, my, Qt::blue), l.Framed(a)) << a;
        EXPECT_EQ(near(mx, r.top, Qt::blue), l.Framed(a)) << a;
        EXPECT_EQ(near(r.right - 1, my, Qt::red), l.Framed(a)) << a;
        EXPECT_EQ(near(mx, r.bottom - 1, Qt::red), l.Framed(a)) << a;
    }
    // The unused secondary areas stay empty inside their frames.
    for (int a : {kSecondary2, kSecondary3}) {
        const PageRect r = l.Content(a);
        const QImage inside = page.copy(r.left + 2, r.top + 2, r.Width() - 4, r.Height() - 4);
        EXPECT_EQ(CountColour(inside, Qt::white), inside.width() * inside.height()) << a;
    }

    GraphPrint choose(1, QStringLiteral("primary"));
    QString told;
    choose.warn = [&](const QString& t) { told = t; };
    for (int index : {2, 3, 4, 5}) choose.Box(index)->setChecked(true);
    EXPECT_FALSE(choose.Box(1)->isEnabled());
    choose.accept();
    EXPECT_EQ(told, QStringLiteral("Max three secondary graphs can be selected"));
    EXPECT_EQ(choose.result(), 0);
    EXPECT_EQ(choose.Selections()[2], 4);
}

}  // namespace
}  // namespace vra::test
