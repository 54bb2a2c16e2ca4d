// The whole analyser on a demo simulation folder written at test time, with
// scripted prompts in place of the dialogs.

#include "app/CRpyGraphApp.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/text/LapTime.h"
#include "gui/frame/CMainFrame.h"
#include "gui/frame/CommandIds.h"
#include "gui/map/CRpyGraphView.h"
#include "gui/map/ViewDialog.h"

#include "simkit/replay/DemoSim.h"
#include "simkit/track/DemoTrack.h"
#include "support/ScratchDir.h"
#include "support/platform/FakeDesktop.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include "AnalyserFixture.h"
#include "PictureProbe.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <gmock/gmock.h>

namespace vra::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST_F(AnalyserStart, WithoutAFileToOpenShowsTheWelcomePicture) {
    // A batch command line starts as an ordinary start until the exports come.
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"-xml", "--" + race_.string()}}) {
        app_.reset();
        CRpyGraphApp& app = Start(args);
        EXPECT_EQ(app.Frame()->windowTitle(), kNoLapCaption);
        EXPECT_FALSE(app.View()->HasTrackMap());
        EXPECT_TRUE(prompts_.log().empty());
        EXPECT_FALSE(app.Frame()->Action(cmd::ZoomIn)->isEnabled());
        EXPECT_FALSE(app.ViewBar()->IsLapShown(1));
    }
}

TEST_F(AnalyserStart, TheTractionCircleNeedsALap) {
    CRpyGraphApp& app = Start({});
    app.Frame()->Action(cmd::TractionCircle)->trigger();
    EXPECT_THAT(prompts_.messages(), ElementsAre("No replay lap loaded!"));
}

TEST_F(AnalyserStart, ReportCommandsWithoutALapTellSoOrOfferAReplayFile) {
    CRpyGraphApp& app = Start({});
    app.Frame()->Action(cmd::ReportSpeed)->trigger();
    prompts_.answer(Button::Ok).answer(Button::No);
    app.Frame()->Action(cmd::ReportRace)->trigger();
    EXPECT_THAT(prompts_.messages(), ElementsAre("No replay lap loaded!", "No replay lap loaded!",
                                                 "Do you wish to choose a replay file to be used in the report only?"));
}

TEST_F(AnalyserStart, AFileArgumentAndADroppedFileOpenTheLapChooserOnTheirReplay) {
    prompts_.lapAnswer(LapChoice{1, 3, 2});
    CRpyGraphApp& app = Start({"-loadrpy", race_.string()});
    // Path mode: no file dialog before the chooser.
    EXPECT_THAT(prompts_.log(), ElementsAre("chooseLap: " + race_.string()));
    EXPECT_TRUE(app.View()->HasTrackMap());
    EXPECT_EQ(app.Frame()->windowTitle(), QStringLiteral("DEMO - Velmar Replay Analyzer"));
    EXPECT_EQ(app.ViewBar()->LapBox(1)->text().toStdString(), LapCaption("Jonas", "Berg", DemoRaceLapMs(1, 2)));
    EXPECT_THAT(app.Frame()->RecentFiles().Entries(), ElementsAre(race_.string()));
    EXPECT_TRUE(app.Frame()->Action(cmd::ZoomIn)->isEnabled());
    prompts_.lapAnswer(LapChoice{0, 3, 3});
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(race_.string()))});
    EXPECT_TRUE(app.Frame()->OpenDroppedFiles(data));
    EXPECT_THAT(prompts_.log(), ElementsAre("chooseLap: " + race_.string(), "chooseLap: " + race_.string()));
    EXPECT_EQ(app.Document()->LapCount(), 2);
}

using AnalyserLaps = AnalyserStart;

TEST_F(AnalyserLaps, FiveTickedLapsDrawInTheirColoursOnTheTrackAndUntickingRemovesOne) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    for (int driver = 1; driver < 5; ++driver) AddRaceLap(driver, 4);
    ASSERT_EQ(app.Document()->LapCount(), 5);
    ViewDialog& bar = *app.ViewBar();
    EXPECT_EQ(bar.LapBox(2)->text().toStdString(), LapCaption("Jonas", "Berg", DemoRaceLapMs(1, 4)));
    // Lap 1 red, lap 2 blue, lap 3 green.
    EXPECT_EQ(LapColour(0), QColor(255, 0, 0));
    EXPECT_EQ(LapColour(1), QColor(0, 0, 255));
    EXPECT_EQ(LapColour(2), QColor(0, 0xFB, 0x38));
    const QImage bare = MapPicture();
    const QRect track = TrackExtent(bare);
    ASSERT_GT(track.width(), 300);
    const int redMarks = CountColour(bare, LapColour(0));  // the quarter marks are red too
    EXPECT_EQ(CountColour(bare, LapColour(1)), 0);
    for (int box = 1; box <= 5; ++box) app.Frame()->Action(cmd::ToggleLap1 + box - 1)->trigger();
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
    EXPECT_FALSE(app.Frame()->Action(cmd::ToggleLap1 + 1)->isChecked());
    EXPECT_TRUE(app.Frame()->Action(cmd::ToggleLap1)->isChecked());
}

TEST_F(AnalyserLaps, ZoomCommandsTellTheStatusBarWhatAClickDoesAndRebuildThePicture) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    CMainFrame& frame = *app.Frame();
    CRpyGraphView& view = *app.View();
    const std::pair<int, const char*> hints[] = {
        {cmd::ZoomIn, "Click to zoom in on point or drag a zoom box."},
        {cmd::ZoomIn, ""},
        {cmd::ZoomOut, "Click to zoom out on point."},
        {cmd::PanningTool, "Use the panning tool to move the trackmap around."}};
    for (const auto& [command, hint] : hints) {
        frame.Action(command)->trigger();
        EXPECT_EQ(frame.MessageText().toStdString(), hint);
    }
    EXPECT_EQ(view.GetZoomMode(), ZoomMode::Off);
    EXPECT_TRUE(frame.Action(cmd::PanningTool)->isChecked());
    frame.Action(cmd::PanningTool)->trigger();
    // A dragged box zooms in and the keys scroll; each rebuilds the picture,
    // a plain repaint reuses it.
    frame.Action(cmd::ZoomIn)->trigger();
    const float scale = view.ZoomScale();
    const int builds = view.CacheBuilds();
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(view.viewport(), QPoint(200, 160));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(200, 160));
    ASSERT_GT(view.ZoomScale(), scale * 2);
    const QImage zoomed = MapPicture();
    const int afterZoom = view.CacheBuilds();
    EXPECT_GT(afterZoom, builds);
    MapPicture();
    EXPECT_EQ(view.CacheBuilds(), afterZoom);
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_PageDown);
    EXPECT_NE(MapPicture(), zoomed);
    frame.Action(cmd::ShowWholeTrack)->trigger();
    EXPECT_FLOAT_EQ(view.ZoomScale(), scale);
}

// Run from the View menu or from its button, a zoom tool's text stays once
// the menu has closed or the mouse has left the buttons.
TEST_F(AnalyserLaps, AToolsTextStaysWhenItsMenuClosesOrTheMouseLeavesItsButton) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    CMainFrame& frame = *app.Frame();
    QMenuBar& menus = *frame.menuBar();
    QMenu& view = *frame.ViewMenu();
    QWidget& map = *app.View()->viewport();
    // The mouse passes over a toolbar button on its way back to the map.
    const auto passOverButton = [&](int command) {
        QWidget* button = frame.ZoomToolBar()->widgetForAction(frame.Action(command));
        QTest::mouseMove(button, button->rect().center());
        EXPECT_EQ(frame.MessageText(), frame.Action(command)->statusTip());
        QTest::mouseMove(&map, map.rect().center());
    };
    const auto fromMenu = [&](int command) {
        QTest::mouseClick(&menus, Qt::LeftButton, {}, menus.actionGeometry(view.menuAction()).center());
        EXPECT_TRUE(view.isVisible());
        const QPoint entry = view.actionGeometry(frame.Action(command)).center();
        QTest::mouseMove(&view, entry);
        QTest::mouseClick(&view, Qt::LeftButton, {}, entry);
        passOverButton(command);
    };
    fromMenu(cmd::ZoomIn);
    EXPECT_EQ(frame.MessageText().toStdString(), "Click to zoom in on point or drag a zoom box.");
    fromMenu(cmd::ZoomIn);
    EXPECT_EQ(frame.MessageText().toStdString(), "");

    QWidget* button = frame.ZoomToolBar()->widgetForAction(frame.Action(cmd::ZoomOut));
    QTest::mouseMove(button, button->rect().center());
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    QTest::mouseMove(&map, map.rect().center());
    EXPECT_EQ(frame.MessageText().toStdString(), "Click to zoom out on point.");
    passOverButton(cmd::ZoomIn);
    EXPECT_EQ(frame.MessageText().toStdString(), "Click to zoom out on point.");
}

TEST_F(AnalyserLaps, PrintedPageNamesTheTrackAndTheTickedLaps) {
    if (QProcess::execute(QStringLiteral("pdftotext"), {QStringLiteral("-v")}) < 0) GTEST_SKIP() << "no pdftotext";
    CRpyGraphApp& app = Start();
    for (const auto& [driver, lap] : {std::pair{0, 2}, {2, 3}, {1, 5}}) AddRaceLap(driver, lap);
    for (int box : {1, 3}) app.ViewBar()->ToggleLap(box);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("map.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(pdf);  // a .pdf name selects the PDF output
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

TEST_F(AnalyserLaps, ATrackWithoutItsRaceLineIsDrawnWithoutOneAndClearingBringsBackTheWelcomePicture) {
    std::filesystem::remove(root_ / "tracks" / "demo" / "raceline.lp");
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    app.ViewBar()->ToggleLap(1);
    const QRect track = TrackExtent(MapPicture());
    app.Frame()->Action(cmd::ToggleRaceLine)->trigger();
    ASSERT_TRUE(app.ViewBar()->RaceLineOn());
    EXPECT_EQ(TrackExtent(MapPicture()), track);
    app.Frame()->Action(cmd::FileNew)->trigger();
    EXPECT_FALSE(app.View()->HasTrackMap());
    EXPECT_FALSE(app.ViewBar()->IsLapShown(1) || app.ViewBar()->IsLapTicked(1) || app.ViewBar()->RaceLineOn());
    EXPECT_FALSE(app.Frame()->Action(cmd::ToggleRaceLine)->isChecked());
    EXPECT_EQ(app.Frame()->windowTitle(), kNoLapCaption);
}

}  // namespace
}  // namespace vra::test
