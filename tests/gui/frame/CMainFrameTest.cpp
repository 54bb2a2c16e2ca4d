#include "gui/frame/CMainFrame.h"

#include "core/commands/CommandState.h"
#include "gui/frame/CommandIds.h"
#include "gui/widgets/Artwork.h"

#include "support/platform/FakeDesktop.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

namespace vra {

using ::testing::ElementsAre;

namespace {

QStringList Texts(const QList<QAction*>& actions) {
    QStringList texts;
    for (QAction* a : actions) {
        if (a->isSeparator())
            texts << QStringLiteral("-");
        else if (a->isVisible())
            texts << a->text();
    }
    return texts;
}

QStringList Ids(QToolBar* bar) {
    QStringList ids;
    for (QAction* a : bar->actions()) ids << QString::number(a->data().toInt());
    return ids;
}

// Frames on one settings store, so that a second frame is the next run.
class MainFrame : public ::testing::Test {
protected:
    CMainFrame& Open(QSize size = {}) {
        frame_ = std::make_unique<CMainFrame>(settings_, shell_, prompts_);
        if (!size.isEmpty()) frame_->resize(size);
        frame_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
        return *frame_;
    }
    vra::test::MemorySettingsStore settings_;
    vra::test::FakeShell shell_;
    vra::test::ScriptedPrompts prompts_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace

TEST_F(MainFrame, CaptionAndMenusHoldTheBuiltCommandsInOrder) {
    CMainFrame& frame = Open();
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("No lap selected - Velmar Replay Analyzer"));
    frame.SetDocumentTitle(QStringLiteral("Oakfield"));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Oakfield - Velmar Replay Analyzer"));
    // The program's own icon, with no icon theme to take it from: a dark tile.
    const QImage icon = frame.windowIcon().pixmap(32, 32).toImage();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixelColor(16, 28), QColor(0x1d, 0x27, 0x33));

    QStringList menus;
    for (QAction* a : frame.menuBar()->actions()) menus << a->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&View", "&Playback", "&Mode", "&Reports", "&Tools", "&Help"}));
    const auto menuAt = [&](int i) { return frame.menuBar()->actions().at(i)->menu()->actions(); };
    EXPECT_EQ(Texts(menuAt(0)), (QStringList{"&Add replay lap...\tCtrl+O",
                                             "&Clear all replay laps...\tCtrl+N",
                                             "Add replay lap using Lap Finder...",
                                             "Open most recently added replay file...",
                                             "Move/Remove loaded replay laps...",
                                             "-",
                                             "Save replay lap...",
                                             "Save telemetry to text file",
                                             "Merge all laps to one replay file...",
                                             "Compress replay file...",
                                             "Fix Trans-Am ride height...",
                                             "-",
                                             "Settings...",
                                             "-",
                                             "&Print...\tCtrl+P",
                                             "Print Pre&view...",
                                             "P&rint Setup...",
                                             "-",
                                             "-",
                                             "E&xit"}));
    EXPECT_EQ(Texts(menuAt(1)),
              (QStringList{"Zoom In", "Zoom Out", "Fit To Track", "Panning Tool", "-", "&Plot Settings",
                           "Play&back Bar", "&Zoom Bar", "&Lap Bar", "&Meters Bar"}));
    EXPECT_EQ(Texts(menuAt(2)), (QStringList{"Start/Continue", "Pause", "Fast Forward", "Fast reverse", "Stop",
                                             "Beginning of lap", "-", "Toggle replay race/driving lines"}));
    EXPECT_EQ(Texts(menuAt(3)), (QStringList{"Replay race"}));
    EXPECT_EQ(Texts(menuAt(4)), (QStringList{"Qualify",
                                             "Race",
                                             "Lap Chart",
                                             "Lap by lap",
                                             "Complete(all above)",
                                             "Mechanical",
                                             "Sector Times",
                                             "Practice",
                                             "Happy Hour",
                                             "Race Settings",
                                             "Flags (yellows etc)",
                                             "Speed",
                                             "Car File Report",
                                             "Ratings Report",
                                             "Throttle/Brake Use",
                                             "-",
                                             "Generate Report site (html)",
                                             "Export Reports to XML",
                                             "Report Site Listener",
                                             "Export Records to html"}));
    EXPECT_EQ(Texts(menuAt(5)),
              (QStringList{"&Graph", "Replay CD Database Creator", "Gearchange Analyzer", "Traction Circle",
                           "Stint Analyzer", "SpeedTrack", "VELMR Replay Settings", "Save Trackmap as BMP-file...",
                           "PB Viewer", "Graphical Race Report", "Race History Graph"}));
    EXPECT_EQ(Texts(menuAt(6)), (QStringList{"View &Readme file", "&About Velmar Replay Analyzer..."}));
    EXPECT_EQ(frame.Action(vra::cmd::MoveToEndOfLap), nullptr);
    EXPECT_EQ(frame.Action(vra::cmd::ViewPlotSettings)->statusTip(), QStringLiteral("Show or hide the plot settings"));
    EXPECT_EQ(frame.Action(vra::cmd::FileNew)->statusTip(), QStringLiteral("Clears all loaded replay laps"));
}

TEST_F(MainFrame, ReportsWaitWhilePlayingOrListeningAndThreeStayOff) {
    CMainFrame& frame = Open();
    QList<QAction*> reports = frame.menuBar()->actions().at(4)->menu()->actions();
    for (int id : {vra::cmd::EngineDetection, vra::cmd::DetailedRaceReport, vra::cmd::OnlineLaptimeVerifier}) {
        ASSERT_NE(frame.Action(id), nullptr);
        EXPECT_FALSE(reports.contains(frame.Action(id)));
        reports << frame.Action(id);
    }
    const auto enabled = [&] {
        QStringList on;
        for (QAction* a : reports)
            if (a->isEnabled() && !a->isSeparator()) on << a->text();
        return on;
    };
    vra::CommandSnapshot idle;
    frame.ApplyCommandStates(idle);
    EXPECT_EQ(enabled().size(), 19);
    vra::CommandSnapshot playing;
    playing.playing = true;
    frame.ApplyCommandStates(playing);
    EXPECT_TRUE(enabled().isEmpty());
    frame.ApplyCommandStates(idle);
    vra::CommandSnapshot listening;
    listening.listenerOpen = true;
    frame.ApplyCommandStates(listening);
    EXPECT_TRUE(enabled().isEmpty());
}

TEST_F(MainFrame, ToolbarsStandInOrderAtTheTopAndToggle) {
    CMainFrame& frame = Open();
    EXPECT_EQ(Ids(frame.MainToolBar()), (QStringList{"57600", "32776", "32804", "32831", "32824", "57607", "0", "32771",
                                                     "32808", "32818", "32807", "32823", "237", "32842"}));
    EXPECT_EQ(Ids(frame.PlaybackToolBar()),
              (QStringList{"32789", "32838", "32781", "32783", "32784", "32785", "0", "32839"}));
    EXPECT_EQ(Ids(frame.ZoomToolBar()), (QStringList{"32790", "32791", "32792", "32800"}));
    EXPECT_EQ(Ids(frame.LapToolBar()), (QStringList{"32840", "32795", "32796", "32797", "32798", "32799"}));
    QToolBar* bars[] = {frame.MainToolBar(), frame.PlaybackToolBar(), frame.ZoomToolBar(), frame.LapToolBar()};
    for (QToolBar* bar : bars) EXPECT_EQ(frame.toolBarArea(bar), Qt::TopToolBarArea);
    // Side by side, or a row further down from its start.
    for (int b = 1; b < 4; ++b) {
        const QRect before = bars[b - 1]->geometry(), here = bars[b]->geometry();
        if (here.top() == before.top())
            EXPECT_LT(before.right(), here.left()) << b;
        else
            EXPECT_TRUE(here.top() > before.bottom() && here.left() == bars[0]->geometry().left()) << b;
    }
    EXPECT_EQ(frame.dockWidgetArea(frame.ViewBar()), Qt::LeftDockWidgetArea);
    EXPECT_EQ(frame.dockWidgetArea(frame.RaceBar()), Qt::LeftDockWidgetArea);
    EXPECT_EQ(frame.dockWidgetArea(frame.MetersBar()), Qt::BottomDockWidgetArea);
    EXPECT_FALSE(frame.RaceBar()->isVisible());
    EXPECT_FALSE(frame.MetersBar()->isVisible());
    frame.Action(vra::cmd::ViewPlaybackBar)->trigger();
    EXPECT_FALSE(frame.PlaybackToolBar()->isVisible());
    frame.Action(vra::cmd::ViewPlaybackBar)->trigger();
    EXPECT_TRUE(frame.PlaybackToolBar()->isVisible());
    // In race mode the plot settings command acts on the race bar.
    frame.Action(vra::cmd::ToggleRaceReplay)->setChecked(true);
    frame.ShowRaceBar(true);
    EXPECT_FALSE(frame.ViewBar()->isVisible());
    frame.Action(vra::cmd::ViewPlotSettings)->trigger();
    EXPECT_FALSE(frame.RaceBar()->isVisible());
    frame.Action(vra::cmd::ViewPlotSettings)->trigger();
    EXPECT_TRUE(frame.RaceBar()->isVisible());
    frame.ShowRaceBar(false);
    frame.Action(vra::cmd::ToggleRaceReplay)->setChecked(false);
    EXPECT_TRUE(frame.ViewBar()->isVisible());

    frame.Action(vra::cmd::ViewZoomBar)->trigger();
    EXPECT_FALSE(frame.ZoomToolBar()->isVisible());
    frame.Action(vra::cmd::ViewZoomBar)->trigger();
    EXPECT_TRUE(frame.ZoomToolBar()->isVisible());
    frame.Action(vra::cmd::ViewPlotSettings)->trigger();
    EXPECT_FALSE(frame.ViewBar()->isVisible());
    frame.Action(vra::cmd::ViewLapBar)->trigger();
    EXPECT_FALSE(frame.LapToolBar()->isVisible());
}

// At the first start's window size no button falls into a bar's overflow
// menu: the bars take a second row where one row does not hold them.
TEST_F(MainFrame, EveryToolbarButtonShowsAtTheFirstWindowSize) {
    CMainFrame& frame = Open();
    int buttons = 0;
    for (QToolBar* bar : {frame.MainToolBar(), frame.PlaybackToolBar(), frame.ZoomToolBar(), frame.LapToolBar()}) {
        for (QAction* a : bar->actions()) {
            if (a->isSeparator()) continue;
            const QWidget* button = bar->widgetForAction(a);
            ASSERT_TRUE(button) << a->data().toInt();
            EXPECT_TRUE(button->isVisible()) << a->data().toInt();
            EXPECT_TRUE(bar->rect().contains(button->geometry())) << a->data().toInt();
            ++buttons;
        }
        for (const QToolButton* b : bar->findChildren<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
            EXPECT_FALSE(b->isVisible()) << bar->objectName().toStdString();
        EXPECT_LE(bar->geometry().right(), frame.width()) << bar->objectName().toStdString();
    }
    EXPECT_EQ(buttons, 30);

    // The first width is the view bar's 130 dialog units, the unit a quarter
    // of the average width of the 52 letters, plus room for the map.
    const QFontMetrics fm(frame.font());
    const int unit =
        (fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 26 + 1) / 2;
    EXPECT_EQ(frame.width(), (130 * unit + 2) / 4 + 510);
}

TEST_F(MainFrame, EveryToolbarCommandShowsAPictureOfItsOwnWithItsTextAsTip) {
    CMainFrame& frame = Open();
    // Commands a bar carries once they are built have their pictures too.
    QList<QImage> seen;
    for (auto ids : {MainToolBarIds(), PlaybackToolBarIds(), ZoomToolBarIds(), LapToolBarIds()})
        for (int id : ids) {
            if (id == kSeparator) continue;
            const QAction* action = frame.Action(id);
            const QImage image = (action ? action->icon() : Artwork::CommandIcon(id)).pixmap(16, 15).toImage();
            ASSERT_FALSE(image.isNull()) << id;
            int drawn = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) drawn += image.pixelColor(x, y).alpha() > 0;
            EXPECT_GT(drawn, 20) << id;
            EXPECT_FALSE(seen.contains(image)) << id << " looks like another command";
            seen << image;
        }
    for (QToolBar* bar : frame.findChildren<QToolBar*>())
        for (QAction* action : bar->actions()) {
            if (action->isSeparator()) continue;
            EXPECT_FALSE(action->icon().isNull()) << action->data().toInt();
            EXPECT_FALSE(action->statusTip().isEmpty()) << action->data().toInt();
            // A picture, not a wide text button.
            const QSize button = bar->widgetForAction(action)->sizeHint();
            EXPECT_LE(button.width(), 2 * button.height()) << action->data().toInt();
        }
    EXPECT_EQ(frame.Action(vra::cmd::AddLapWithLapFinder)->toolTip(),
              QStringLiteral("Add replay lap using Lap Finder"));
    EXPECT_EQ(frame.Action(vra::cmd::FileNew)->toolTip(), QStringLiteral("Clear all replay laps"));
    EXPECT_EQ(frame.Action(vra::cmd::FileNew)->statusTip(), QStringLiteral("Clears all loaded replay laps"));
    EXPECT_EQ(frame.Action(vra::cmd::ZoomIn)->statusTip(), QStringLiteral("Zoom In"));
}

TEST_F(MainFrame, ReadmeOpensBesideTheProgramWhateverTheCurrentFolder) {
    Open().Action(vra::cmd::ViewReadme)->trigger();
    EXPECT_THAT(
        shell_.opened(),
        ElementsAre(
            (QCoreApplication::applicationDirPath() + QStringLiteral("/Velmar Replay Analyzer.txt")).toStdString()));
}

TEST_F(MainFrame, AReadmeNoProgramCanOpenIsToldWithItsPlace) {
    shell_.setFailing(true);
    Open().Action(vra::cmd::ViewReadme)->trigger();
    EXPECT_THAT(prompts_.messages(),
                ElementsAre("Can't open the readme file:\n\n" +
                            (QCoreApplication::applicationDirPath() + "/Velmar Replay Analyzer.txt").toStdString()));
}

// A menu's prompt or a button's hint shows over the program's own text and
// gives it back when it ends, whether the command wrote that text before or
// after the prompt was cleared.
TEST_F(MainFrame, HintsGiveBackTheProgramsOwnText) {
    CMainFrame& frame = Open();
    EXPECT_EQ(frame.MessageText(), QStringLiteral("Ready"));
    const auto hint = [&](const QString& text) {
        QStatusTipEvent tip(text);
        QApplication::sendEvent(&frame, &tip);
    };
    hint(QStringLiteral("Merge all laps"));
    EXPECT_EQ(frame.MessageText(), QStringLiteral("Merge all laps"));
    hint({});
    EXPECT_EQ(frame.MessageText(), QStringLiteral("Ready"));

    hint(QStringLiteral("Zoom Out"));
    frame.SetMessageText(QStringLiteral("Click to zoom out on point."));  // the command, prompt still up
    EXPECT_EQ(frame.MessageText(), QStringLiteral("Click to zoom out on point."));
    hint({});
    EXPECT_EQ(frame.MessageText(), QStringLiteral("Click to zoom out on point."));
    hint(QStringLiteral("Merge all laps"));  // the mouse passes over a button
    hint({});
    EXPECT_EQ(frame.MessageText(), QStringLiteral("Click to zoom out on point."));
    hint(QStringLiteral("Zoom Out"));
    frame.SetMessageText({});  // the tool turned off
    hint({});
    EXPECT_EQ(frame.MessageText(), QString());
    hint({});  // the menu cleared its prompt first
    frame.SetMessageText(QStringLiteral("Click to zoom out on point."));
    EXPECT_EQ(frame.MessageText(), QStringLiteral("Click to zoom out on point."));

    // A box that opens under the mouse ends a button's hint, not the
    // program's text.
    const auto showBox = [&] {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Velmar"), QStringLiteral("No laps"), QMessageBox::Ok,
                        &frame);
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        QApplication::processEvents();
    };
    showBox();
    EXPECT_EQ(frame.MessageText(), QStringLiteral("Click to zoom out on point."));
    hint(QStringLiteral("Merge all laps"));
    showBox();
    EXPECT_EQ(frame.MessageText(), QStringLiteral("Click to zoom out on point."));
}

// On a store that refuses every write the window says so once per run: not
// at every open, nor again when the bar layout is lost at close.
TEST_F(MainFrame, AFailedSettingsWriteIsToldOncePerRun) {
    settings_.setReadOnly(true);
    CMainFrame& first = Open();
    first.AddToRecentFileList(QStringLiteral("/replays/a.rpy"));
    first.AddToRecentFileList(QStringLiteral("/replays/b.rpy"));
    first.close();
    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_EQ(prompts_.messages()[0], "The settings could not be saved.\nThe settings saved before are kept.");
    CMainFrame& next = Open();
    next.close();
    EXPECT_EQ(prompts_.messages().size(), 2u);
}

TEST_F(MainFrame, RecentFilesKeepTheSevenNewestAndComeBackNextRun) {
    CMainFrame& first = Open();
    for (int i = 1; i <= 9; ++i) first.AddToRecentFileList(QStringLiteral("/replays/race%1.rpy").arg(i));
    first.AddToRecentFileList(QStringLiteral("/replays/race5.rpy"));
    CMainFrame& again = Open();
    EXPECT_THAT(again.RecentFiles().Entries(),
                ElementsAre("/replays/race5.rpy", "/replays/race9.rpy", "/replays/race8.rpy", "/replays/race7.rpy",
                            "/replays/race6.rpy", "/replays/race4.rpy", "/replays/race3.rpy"));
    EXPECT_EQ(
        // The entries stand just before the last separator and "E&xit".
        Texts(again.FileMenu()->actions()).mid(again.FileMenu()->actions().size() - 9, 7),
        (QStringList{"&1 /replays/race5.rpy", "&2 /replays/race9.rpy", "&3 /replays/race8.rpy", "&4 /replays/race7.rpy",
                     "&5 /replays/race6.rpy", "&6 /replays/race4.rpy", "&7 /replays/race3.rpy"}));

    QSignalSpy opened(&again, &CMainFrame::openLapRequested);
    again.Action(vra::cmd::FileMruFirst + 1)->trigger();
    // Each dropped local file is opened as a lap too.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.rpy")), QUrl(QStringLiteral("https://example.org/x")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/b.rpy"))});
    EXPECT_TRUE(again.acceptDrops());
    EXPECT_TRUE(again.OpenDroppedFiles(data));
    ASSERT_EQ(opened.count(), 3);
    EXPECT_EQ(opened.at(0).at(0).toString(), QStringLiteral("/replays/race9.rpy"));
    EXPECT_EQ(opened.at(1).at(0).toString(), QStringLiteral("/tmp/a.rpy"));
    EXPECT_EQ(opened.at(2).at(0).toString(), QStringLiteral("/tmp/b.rpy"));
}

TEST_F(MainFrame, DockPlacesAndSizesComeBackAfterARestart) {
    CMainFrame& first = Open({1000, 700});
    first.addDockWidget(Qt::RightDockWidgetArea, first.ViewBar());
    first.resizeDocks({first.ViewBar()}, {300}, Qt::Horizontal);
    first.LapToolBar()->hide();
    first.addDockWidget(Qt::TopDockWidgetArea, first.MetersBar());
    first.MetersBar()->show();
    first.ShowRaceBar(true);  // closed while a race played
    QCoreApplication::processEvents();
    const int savedWidth = first.ViewBar()->width();
    first.close();
    CMainFrame& again = Open({1000, 700});
    EXPECT_EQ(again.dockWidgetArea(again.ViewBar()), Qt::RightDockWidgetArea);
    EXPECT_EQ(again.dockWidgetArea(again.MetersBar()), Qt::TopDockWidgetArea);
    // The places come back; the playback's bars wait for a playback.
    EXPECT_FALSE(again.MetersBar()->isVisible());
    EXPECT_FALSE(again.RaceBar()->isVisible());
    EXPECT_TRUE(again.ViewBar()->isVisible());
    EXPECT_NEAR(again.ViewBar()->width(), savedWidth, 2);
    EXPECT_FALSE(again.LapToolBar()->isVisible());
    EXPECT_TRUE(again.ZoomToolBar()->isVisible());

    again.resizeDocks({again.ViewBar()}, {5}, Qt::Horizontal);
    QCoreApplication::processEvents();
    EXPECT_GE(again.ViewBar()->width(), CMainFrame::kMinBarWidth) << "never below the minimum";
}

TEST_F(MainFrame, AGarbledSavedStateLeavesTheDefaultLayout) {
    settings_.preset(vra::SettingsKey::Program, vra::SettingsScope::User, CMainFrame::kBarStateName,
                     std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7});
    CMainFrame& frame = Open();
    EXPECT_EQ(frame.dockWidgetArea(frame.ViewBar()), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(frame.LapToolBar()->isVisible());
}

}  // namespace vra
