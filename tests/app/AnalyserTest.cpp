#include "AnalyserFixture.h"

#include "frame/CommandIds.h"

#include <QAction>
#include <QCheckBox>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using vra::test::AnalyserFixture;
using vra::test::ColourExtent;
using vra::test::CountColour;
using vra::test::DemoRaceLapMs;

namespace {

QColor LapColour(int slot) {
    const vra::Rgb c = vra::kMapPalette[std::size_t(slot)];
    return QColor(c.red, c.green, c.blue);
}

// Everything the map draws that is not background.
QRect TrackExtent(const QImage& picture) {
    QRect extent;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixelColor(x, y) != QColor(Qt::white)) extent |= QRect(x, y, 1, 1);
    return extent;
}

std::string LapCaption(const char* first, const char* last, std::uint32_t ms) {
    return std::string(1, first[0]) + " " + last + " " + ViewDialog::FormatLapTime(ms);
}

const QString kNoLapCaption = QStringLiteral("No lap selected - Velmar Replay Analyzer");

}  // namespace

using AnalyserStart = AnalyserFixture;

TEST_F(AnalyserStart, WithoutAFileToOpenShowsTheWelcomePicture) {
    // A batch command line starts as an ordinary start until the exports come.
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"-xml", "--" + race_.string()}}) {
        app_.reset();
        CRpyGraphApp& app = Start(args);
        EXPECT_EQ(app.Frame()->windowTitle(), kNoLapCaption);
        EXPECT_FALSE(app.View()->HasTrackMap());
        EXPECT_TRUE(prompts_.log().empty());
        EXPECT_FALSE(app.Frame()->Action(vra::cmd::ZoomIn)->isEnabled());
        EXPECT_FALSE(app.ViewBar()->IsLapShown(1));
    }
}

TEST_F(AnalyserStart, AFileArgumentAndADroppedFileOpenTheLapChooserOnTheirReplay) {
    prompts_.lapAnswer(vra::LapChoice{1, 3, 2});
    CRpyGraphApp& app = Start({"-loadrpy", race_.string()});
    // Path mode: no file dialog before the chooser.
    EXPECT_THAT(prompts_.log(), ElementsAre("chooseLap: " + race_.string()));
    EXPECT_EQ(app.Document()->LapCount(), 1);
    EXPECT_TRUE(app.View()->HasTrackMap());
    EXPECT_EQ(app.Frame()->windowTitle(), QStringLiteral("DEMO - Velmar Replay Analyzer"));
    EXPECT_EQ(app.ViewBar()->LapBox(1)->text().toStdString(), LapCaption("Jonas", "Berg", DemoRaceLapMs(1, 2)));
    EXPECT_THAT(app.Frame()->RecentFiles().Entries(), ElementsAre(race_.string()));
    EXPECT_TRUE(app.Frame()->Action(vra::cmd::ZoomIn)->isEnabled());

    prompts_.lapAnswer(vra::LapChoice{0, 3, 3});
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(race_.string()))});
    EXPECT_TRUE(app.Frame()->OpenDroppedFiles(data));
    EXPECT_THAT(prompts_.log(), ElementsAre("chooseLap: " + race_.string(), "chooseLap: " + race_.string()));
    EXPECT_EQ(app.Document()->LapCount(), 2);
}

using AnalyserLaps = AnalyserFixture;

TEST_F(AnalyserLaps, FiveTickedLapsDrawInTheirColoursOnTheTrackAndUntickingRemovesOne) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    for (int driver = 1; driver < 5; ++driver) AddRaceLap(driver, 4);
    ASSERT_EQ(app.Document()->LapCount(), 5);
    ViewDialog& bar = *app.ViewBar();
    EXPECT_EQ(bar.LapBox(1)->text().toStdString(), LapCaption("Alex", "Morgan", DemoRaceLapMs(0, 2)));
    EXPECT_EQ(bar.LapBox(2)->text().toStdString(), LapCaption("Jonas", "Berg", DemoRaceLapMs(1, 4)));

    const QImage bare = MapPicture();
    const QRect track = TrackExtent(bare);
    ASSERT_GT(track.width(), 300);
    const int redMarks = CountColour(bare, LapColour(0));  // the quarter marks are red too
    EXPECT_EQ(CountColour(bare, LapColour(1)), 0);

    for (int box = 1; box <= 5; ++box) app.Frame()->Action(vra::cmd::ToggleLap1 + box - 1)->trigger();
    const QImage lines = MapPicture();
    EXPECT_GT(CountColour(lines, LapColour(0)), redMarks + 200);
    for (int slot = 0; slot < 5; ++slot) {
        const QRect extent = ColourExtent(lines, LapColour(slot));
        EXPECT_GT(extent.width(), track.width() / 2) << slot;
        EXPECT_TRUE(track.contains(extent)) << slot;
    }

    QTest::mouseClick(bar.LapBox(2), Qt::LeftButton, {}, QPoint(5, bar.LapBox(2)->height() / 2));
    EXPECT_FALSE(bar.IsLapTicked(2));
    const QImage four = MapPicture();
    EXPECT_EQ(CountColour(four, LapColour(1)), 0);
    EXPECT_GT(CountColour(four, LapColour(0)), redMarks + 200);
    EXPECT_FALSE(app.Frame()->Action(vra::cmd::ToggleLap1 + 1)->isChecked());
    EXPECT_TRUE(app.Frame()->Action(vra::cmd::ToggleLap1)->isChecked());

    // A sixth lap is refused and changes nothing.
    AddRaceLap(5, 4);
    EXPECT_EQ(app.Document()->LapCount(), 5);
}

TEST_F(AnalyserLaps, ClearingTheLapsBringsBackTheWelcomePictureWithoutAnyLine) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    app.ViewBar()->ToggleLap(1);
    app.Frame()->Action(vra::cmd::ToggleRaceLine)->trigger();
    ASSERT_TRUE(app.ViewBar()->RaceLineOn());
    app.Frame()->Action(vra::cmd::FileNew)->trigger();
    EXPECT_EQ(app.Document()->LapCount(), 0);
    EXPECT_FALSE(app.View()->HasTrackMap());
    EXPECT_FALSE(app.ViewBar()->IsLapShown(1));
    EXPECT_FALSE(app.ViewBar()->IsLapTicked(1));
    EXPECT_FALSE(app.ViewBar()->RaceLineOn());
    EXPECT_FALSE(app.Frame()->Action(vra::cmd::ToggleRaceLine)->isChecked());
    EXPECT_EQ(app.Frame()->windowTitle(), kNoLapCaption);
}

TEST_F(AnalyserLaps, ZoomCommandsTellTheStatusBarWhatAClickDoesAndRebuildThePicture) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    CMainFrame& frame = *app.Frame();
    CRpyGraphView& view = *app.View();
    frame.Action(vra::cmd::ZoomIn)->trigger();
    EXPECT_EQ(frame.MessageText(), QStringLiteral("Click to zoom in on point or drag a zoom box."));
    EXPECT_TRUE(frame.Action(vra::cmd::ZoomIn)->isChecked());
    frame.Action(vra::cmd::ZoomIn)->trigger();
    EXPECT_EQ(frame.MessageText(), QStringLiteral("Ready"));
    frame.Action(vra::cmd::ZoomOut)->trigger();
    EXPECT_EQ(frame.MessageText(), QStringLiteral("Click to zoom out on point."));
    frame.Action(vra::cmd::PanningTool)->trigger();
    EXPECT_EQ(frame.MessageText(), QStringLiteral("Use the panning tool to move the trackmap around."));
    EXPECT_EQ(view.GetZoomMode(), 0);
    EXPECT_TRUE(frame.Action(vra::cmd::PanningTool)->isChecked());
    frame.Action(vra::cmd::PanningTool)->trigger();

    // A dragged box zooms in and the keys scroll; each rebuilds the picture,
    // a plain repaint reuses it.
    frame.Action(vra::cmd::ZoomIn)->trigger();
    const float scale = view.ZoomScale();
    const int builds = view.CacheBuilds();
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(view.viewport(), QPoint(200, 160));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(200, 160));
    ASSERT_GT(view.ZoomScale(), scale * 2);
    const QImage zoomed = MapPicture();
    EXPECT_GT(view.CacheBuilds(), builds);
    const int afterZoom = view.CacheBuilds();
    MapPicture();
    EXPECT_EQ(view.CacheBuilds(), afterZoom);
    const QPoint centre = view.GetLogicalCenterPoint();
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_PageDown);
    EXPECT_GT(view.GetLogicalCenterPoint().x(), centre.x());
    EXPECT_GT(view.GetLogicalCenterPoint().y(), centre.y());
    EXPECT_NE(MapPicture(), zoomed);

    frame.Action(vra::cmd::ShowWholeTrack)->trigger();
    EXPECT_FLOAT_EQ(view.ZoomScale(), scale);
    // The zoom stops at its cap with the memory message.
    for (int i = 0; i < 40 && prompts_.messages().empty(); ++i) view.ZoomByFactor(std::nullopt, 4.0f);
    EXPECT_THAT(prompts_.messages(), ElementsAre("Not enough memory to zoom more!\r\nPlease zoom out."));
}

TEST_F(AnalyserLaps, PrintedPageNamesTheTrackAndTheTickedLaps) {
    if (QProcess::execute(QStringLiteral("pdftotext"), {QStringLiteral("-v")}) < 0) GTEST_SKIP() << "no pdftotext";
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    AddRaceLap(2, 3);
    AddRaceLap(1, 5);
    app.ViewBar()->ToggleLap(1);
    app.ViewBar()->ToggleLap(3);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("map.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    app.View()->PrintTo(printer);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString out = QString::fromUtf8(text.readAllStandardOutput());
    const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 3);
    EXPECT_THAT(lines[0].trimmed().toStdString(), HasSubstr("Velmar Replay Analyzer - DEMO"));
    EXPECT_EQ(lines[1].trimmed().toStdString(), LapCaption("Alex", "Morgan", DemoRaceLapMs(0, 2)));
    EXPECT_EQ(lines[2].trimmed().toStdString(), LapCaption("Jonas", "Berg", DemoRaceLapMs(1, 5)));
    EXPECT_FALSE(out.contains(QString::fromStdString(LapCaption("Maria", "Lind", DemoRaceLapMs(2, 3)))));
}

TEST_F(AnalyserLaps, ATrackWithoutItsRaceLineIsDrawnWithoutOne) {
    std::filesystem::remove(root_ / "tracks" / "demo" / "raceline.lp");
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    const QRect track = TrackExtent(MapPicture());
    app.Frame()->Action(vra::cmd::ToggleRaceLine)->trigger();
    EXPECT_TRUE(app.ViewBar()->RaceLineOn());
    EXPECT_EQ(TrackExtent(MapPicture()), track);
}
