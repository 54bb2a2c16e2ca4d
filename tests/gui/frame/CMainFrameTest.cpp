#include "frame/CMainFrame.h"
#include "frame/CommandIds.h"

#include "PictureProbe.h"
#include "platform/FakeDesktop.h"
#include "platform/MemorySettingsStore.h"
#include "platform/ScriptedPrompts.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

struct Services {
    vra::test::MemorySettingsStore settings;
    vra::test::FakeShell shell;
    vra::test::ScriptedPrompts prompts;
};

QStringList Texts(const QList<QAction*>& actions) {
    QStringList texts;
    for (QAction* a : actions) {
        if (a->isSeparator()) texts << QStringLiteral("-");
        else if (a->isVisible()) texts << a->text();
    }
    return texts;
}

QStringList Ids(QToolBar* bar) {
    QStringList ids;
    for (QAction* a : bar->actions()) ids << QString::number(a->data().toInt());
    return ids;
}

}  // namespace

TEST(CMainFrameStart, CaptionNamesTheDocumentBeforeTheProgram) {
    Services s;
    CMainFrame frame(s.settings, s.shell, s.prompts);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("No lap selected - Velmar Replay Analyzer"));
    frame.SetDocumentTitle(QStringLiteral("Oakfield"));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Oakfield - Velmar Replay Analyzer"));
}

TEST(CMainFrameStart, MenusHoldTheBuiltCommandsInOrder) {
    Services s;
    CMainFrame frame(s.settings, s.shell, s.prompts);
    QStringList menus;
    for (QAction* a : frame.menuBar()->actions()) menus << a->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&View", "&Help"}));

    const auto menuAt = [&](int i) { return frame.menuBar()->actions().at(i)->menu(); };
    EXPECT_EQ(Texts(menuAt(0)->actions()),
              (QStringList{"&Add replay lap...\tCtrl+O", "&Clear all replay laps...\tCtrl+N", "-", "&Print...\tCtrl+P",
                           "Print Pre&view...", "P&rint Setup...", "-", "-", "E&xit"}));
    EXPECT_EQ(Texts(menuAt(1)->actions()), (QStringList{"Zoom In", "Zoom Out", "Fit To Track", "Panning Tool", "-",
                                                        "&Plot Settings", "&Zoom Bar", "&Lap Bar"}));
    EXPECT_EQ(Texts(menuAt(2)->actions()),
              (QStringList{"View &Readme file", "&About Velmar Replay Analyzer..."}));
    EXPECT_EQ(frame.Action(vra::cmd::ViewPlotSettings)->statusTip(), QStringLiteral("Show or hide the plot settings"));
    EXPECT_EQ(frame.Action(vra::cmd::FileNew)->statusTip(), QStringLiteral("Clears all loaded replay laps"));
}

TEST(CMainFrameStart, ToolbarsStandInOneRowAtTheTop) {
    Services s;
    CMainFrame frame(s.settings, s.shell, s.prompts);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    using namespace vra::cmd;
    EXPECT_EQ(Ids(frame.MainToolBar()), (QStringList{"57600", "32776", "57607"}));
    EXPECT_EQ(Ids(frame.ZoomToolBar()), (QStringList{"32790", "32791", "32792", "32800"}));
    EXPECT_EQ(Ids(frame.LapToolBar()), (QStringList{"32840", "32795", "32796", "32797", "32798", "32799"}));
    QToolBar* bars[] = {frame.MainToolBar(), frame.ZoomToolBar(), frame.LapToolBar()};
    for (QToolBar* bar : bars) {
        EXPECT_EQ(frame.toolBarArea(bar), Qt::TopToolBarArea);
        EXPECT_EQ(bar->geometry().top(), bars[0]->geometry().top());
    }
    EXPECT_LT(bars[0]->geometry().right(), bars[1]->geometry().left());
    EXPECT_LT(bars[1]->geometry().right(), bars[2]->geometry().left());
    EXPECT_EQ(frame.dockWidgetArea(frame.ViewBar()), Qt::LeftDockWidgetArea);
}

TEST(CMainFrameStart, BarTogglesHideAndShowTheirBars) {
    Services s;
    CMainFrame frame(s.settings, s.shell, s.prompts);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.Action(vra::cmd::ViewZoomBar)->trigger();
    EXPECT_FALSE(frame.ZoomToolBar()->isVisible());
    frame.Action(vra::cmd::ViewZoomBar)->trigger();
    EXPECT_TRUE(frame.ZoomToolBar()->isVisible());
    frame.Action(vra::cmd::ViewPlotSettings)->trigger();
    EXPECT_FALSE(frame.ViewBar()->isVisible());
    frame.Action(vra::cmd::ViewLapBar)->trigger();
    EXPECT_FALSE(frame.LapToolBar()->isVisible());
}

TEST(CMainFrameStart, ReadmeOpensBesideTheProgramWhateverTheCurrentFolder) {
    Services s;
    CMainFrame frame(s.settings, s.shell, s.prompts);
    frame.Action(vra::cmd::ViewReadme)->trigger();
    ASSERT_EQ(s.shell.opened().size(), 1u);
    const QString opened = QString::fromStdString(s.shell.opened()[0]);
    EXPECT_EQ(opened, QCoreApplication::applicationDirPath() + QStringLiteral("/Velmar Replay Analyzer.txt"));
}

TEST(CMainFrameRecentFiles, KeepsTheSevenNewestAndComesBackNextRun) {
    Services s;
    {
        CMainFrame frame(s.settings, s.shell, s.prompts);
        for (int i = 1; i <= 9; ++i) frame.AddToRecentFileList(QStringLiteral("/replays/race%1.rpy").arg(i));
        frame.AddToRecentFileList(QStringLiteral("/replays/race5.rpy"));
        EXPECT_THAT(frame.RecentFiles().Entries(),
                    ElementsAre("/replays/race5.rpy", "/replays/race9.rpy", "/replays/race8.rpy", "/replays/race7.rpy",
                                "/replays/race6.rpy", "/replays/race4.rpy", "/replays/race3.rpy"));
    }
    CMainFrame again(s.settings, s.shell, s.prompts);
    ASSERT_EQ(again.RecentFiles().Entries().size(), 7u);
    QStringList texts = Texts(again.FileMenu()->actions());
    EXPECT_EQ(texts.mid(7, 7), (QStringList{"&1 /replays/race5.rpy", "&2 /replays/race9.rpy", "&3 /replays/race8.rpy",
                                            "&4 /replays/race7.rpy", "&5 /replays/race6.rpy", "&6 /replays/race4.rpy",
                                            "&7 /replays/race3.rpy"}));

    QSignalSpy opened(&again, &CMainFrame::openLapRequested);
    again.Action(vra::cmd::FileMruFirst + 1)->trigger();
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened.at(0).at(0).toString(), QStringLiteral("/replays/race9.rpy"));
}

TEST(CMainFrameDrop, EachDroppedFileIsOpenedAsALap) {
    Services s;
    CMainFrame frame(s.settings, s.shell, s.prompts);
    EXPECT_TRUE(frame.acceptDrops());
    QSignalSpy opened(&frame, &CMainFrame::openLapRequested);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.rpy")), QUrl(QStringLiteral("https://example.org/x")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/b.rpy"))});
    EXPECT_TRUE(frame.OpenDroppedFiles(data));
    ASSERT_EQ(opened.count(), 2);
    EXPECT_EQ(opened.at(0).at(0).toString(), QStringLiteral("/tmp/a.rpy"));
    EXPECT_EQ(opened.at(1).at(0).toString(), QStringLiteral("/tmp/b.rpy"));
}

TEST(CMainFrameBarState, DockPlacesAndSizesComeBackAfterARestart) {
    Services s;
    int savedWidth = 0;
    {
        CMainFrame frame(s.settings, s.shell, s.prompts);
        frame.resize(1000, 700);
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        frame.addDockWidget(Qt::RightDockWidgetArea, frame.ViewBar());
        frame.resizeDocks({frame.ViewBar()}, {300}, Qt::Horizontal);
        frame.LapToolBar()->hide();
        QCoreApplication::processEvents();
        savedWidth = frame.ViewBar()->width();
        frame.close();
    }
    CMainFrame again(s.settings, s.shell, s.prompts);
    again.resize(1000, 700);
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    EXPECT_EQ(again.dockWidgetArea(again.ViewBar()), Qt::RightDockWidgetArea);
    EXPECT_NEAR(again.ViewBar()->width(), savedWidth, 2);
    EXPECT_FALSE(again.LapToolBar()->isVisible());
    EXPECT_TRUE(again.ZoomToolBar()->isVisible());
}

TEST(CMainFrameBarState, ViewBarNeverShrinksBelowItsMinimum) {
    Services s;
    CMainFrame frame(s.settings, s.shell, s.prompts);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.resizeDocks({frame.ViewBar()}, {5}, Qt::Horizontal);
    QCoreApplication::processEvents();
    EXPECT_GE(frame.ViewBar()->width(), CMainFrame::kMinBarWidth);
}

TEST(CMainFrameBarState, AGarbledSavedStateLeavesTheDefaultLayout) {
    Services s;
    s.settings.preset(vra::SettingsKey::Program, vra::SettingsScope::User, CMainFrame::kBarStateName,
                      std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7});
    CMainFrame frame(s.settings, s.shell, s.prompts);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    EXPECT_EQ(frame.dockWidgetArea(frame.ViewBar()), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(frame.LapToolBar()->isVisible());
}
