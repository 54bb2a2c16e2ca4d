// The map view inside the main window: which commands it offers and checks,
// how it fits a first lap, and what it shows at its limits.

#include "core/commands/CommandIds.h"
#include "core/document/LapLinePlotter.h"
#include "core/replay/GetRpyInfo.h"
#include "core/track/Segment.h"
#include "core/track/TrackPath.h"
#include "gui/map/MFCDisplay.h"
#include "gui/widgets/CHyperLink.h"

#include "AnalyserFixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <gmock/gmock.h>

#include <ostream>

namespace vra::test {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::HasSubstr;

using MapView = AnalyserStart;

// The check marks of the zoom-in, zoom-out and panning commands.
std::vector<bool> ToolChecks(CMainFrame& frame) {
    return {frame.Action(cmd::ZoomIn)->isChecked(), frame.Action(cmd::ZoomOut)->isChecked(),
            frame.Action(cmd::PanningTool)->isChecked()};
}

struct PopupEntry {
    std::string text;
    bool enabled;
    bool checked;
    friend bool operator==(const PopupEntry&, const PopupEntry&) = default;
    friend std::ostream& operator<<(std::ostream& os, const PopupEntry& e) {
        return os << e.text << (e.enabled ? " on" : " off") << (e.checked ? " checked" : "");
    }
};

// Opens the map's pop-up menu with a right click, reads its entries, then
// chooses the entry with the text, or closes the menu.
std::vector<PopupEntry> RunPopup(CRpyGraphView& view, const std::string& choose = {}) {
    std::vector<PopupEntry> entries;
    QTimer::singleShot(0, &view, [&] {
        QMenu* menu = view.ContextMenu();
        if (!menu) return;
        QAction* chosen = nullptr;
        for (QAction* a : menu->actions()) {
            if (a->isSeparator()) continue;
            entries.push_back({a->text().toStdString(), a->isEnabled(), a->isChecked()});
            if (a->text().toStdString() == choose) chosen = a;
        }
        if (chosen) chosen->trigger();
        menu->close();
    });
    const QPoint at = view.viewport()->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view.viewport(), &event);
    return entries;
}

TEST_F(MapView, CheckMarksShowOnlyTheToolThatIsOnWhereverItWasChosen) {
    CRpyGraphApp& app = Start();
    CMainFrame& frame = *app.Frame();
    CRpyGraphView& view = *app.View();
    // Without a lap the pop-up still opens, with every entry disabled.
    const std::vector<PopupEntry> empty = RunPopup(view);
    ASSERT_EQ(empty.size(), 10u);
    EXPECT_THAT(empty, Each(Field(&PopupEntry::enabled, false)));

    AddRaceLap(0, 2);
    auto trigger = [&](int id) { frame.Action(id)->trigger(); };
    trigger(cmd::ZoomIn);
    trigger(cmd::ZoomOut);
    EXPECT_THAT(ToolChecks(frame), ElementsAre(false, true, false));
    trigger(cmd::ZoomOut);
    EXPECT_THAT(ToolChecks(frame), ElementsAre(false, false, false));
    trigger(cmd::PanningTool);
    trigger(cmd::ZoomIn);
    EXPECT_THAT(ToolChecks(frame), ElementsAre(true, false, false));
    trigger(cmd::PanningTool);
    EXPECT_THAT(ToolChecks(frame), ElementsAre(false, false, true));

    // The pop-up shows the same marks and its choices move them the same way.
    EXPECT_THAT(RunPopup(view, "Zoom out"),
                ElementsAre(PopupEntry{"Zoom in", true, false}, PopupEntry{"Zoom out", true, false},
                            PopupEntry{"Show whole track", true, false}, PopupEntry{"Panning tool", true, true},
                            PopupEntry{"Toggle RaceLine", true, false}, PopupEntry{"Toggle lap 1", true, false},
                            PopupEntry{"Toggle lap 2", false, false}, PopupEntry{"Toggle lap 3", false, false},
                            PopupEntry{"Toggle lap 4", false, false}, PopupEntry{"Toggle lap 5", false, false}));
    EXPECT_THAT(ToolChecks(frame), ElementsAre(false, true, false));
    RunPopup(view, "Toggle RaceLine");
    RunPopup(view, "Toggle lap 1");
    EXPECT_TRUE(app.ViewBar()->RaceLineOn());
    EXPECT_TRUE(frame.Action(cmd::ToggleRaceLine)->isChecked());
    EXPECT_TRUE(frame.Action(cmd::ToggleLap1)->isChecked());
    const std::vector<PopupEntry> after = RunPopup(view);
    ASSERT_EQ(after.size(), 10u);
    EXPECT_EQ(after[1], (PopupEntry{"Zoom out", true, true}));
    EXPECT_EQ(after[4], (PopupEntry{"Toggle RaceLine", true, true}));

    // Clearing the laps by its key leaves the tools without a lap to act on.
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&frame, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(app.Document()->LapCount(), 0);
    for (int id : {cmd::ZoomIn, cmd::ZoomOut, cmd::ShowWholeTrack, cmd::PanningTool, cmd::ToggleRaceLine})
        EXPECT_FALSE(frame.Action(id)->isEnabled()) << id;
}

TEST_F(MapView, AFirstLapIsShownWholeHoweverItIsOpened) {
    // Each way of opening a replay, after the window has changed its size
    // since the last fit.
    const std::vector<std::pair<std::string, std::function<void(CRpyGraphApp&)>>> ways = {
        {"start-up argument", [](CRpyGraphApp&) {}},
        {"Ctrl+O",
         [this](CRpyGraphApp& app) {
             prompts_.openFileAnswer(race_);
             prompts_.lapAnswer(LapChoice{0, 3, 2});
             app.Frame()->Action(cmd::FileOpen)->trigger();
         }},
        {"recent file",
         [this](CRpyGraphApp& app) {
             prompts_.lapAnswer(LapChoice{0, 3, 2});
             app.Frame()->Action(cmd::FileMruFirst)->trigger();
         }},
        {"drop", [this](CRpyGraphApp& app) {
             prompts_.lapAnswer(LapChoice{0, 3, 2});
             QMimeData data;
             data.setUrls({QUrl::fromLocalFile(QString::fromStdString(race_.string()))});
             app.Frame()->OpenDroppedFiles(data);
         }}};
    for (const auto& [way, open] : ways) {
        app_.reset();
        const bool atStart = way == "start-up argument";
        if (atStart) prompts_.lapAnswer(LapChoice{0, 3, 2});
        CRpyGraphApp& app = Start(atStart ? std::vector<std::string>{race_.string()} : std::vector<std::string>{});
        if (!atStart) {
            app.Frame()->AddToRecentFileList(QString::fromStdString(race_.string()));
            app.Frame()->resize(1400, 1000);
            QApplication::processEvents();
            open(app);
        }
        ASSERT_EQ(app.Document()->LapCount(), 1) << way;
        QApplication::processEvents();
        const QSize fitted = app.View()->DeviceSize();
        app.View()->ZoomFull();
        EXPECT_EQ(fitted, app.View()->DeviceSize()) << way;
    }
}

// Points in the middle of the track surface, in canvas units of the map: the
// one nearest the canvas's top-left corner and the one farthest from it, so
// that both ends of the zoomed canvas's pixel range are seen.
std::pair<QPoint, QPoint> SurfacePoints(const CRpyGraphDoc& doc) {
    const TrackPath& path = *doc.GetTrackPath();
    MFCDisplay display;
    display.FitToTrackEdges(path.EdgeBounds(), CRpyGraphView::kScreenMargin, CRpyGraphView::kScreenMargin,
                            CRpyGraphView::kCanvas, CRpyGraphView::kCanvas);
    std::pair<QPoint, QPoint> ends{{CRpyGraphView::kCanvas, CRpyGraphView::kCanvas}, {0, 0}};
    for (std::int32_t i = 0; i < std::int32_t(path.PieceCount()); ++i) {
        const Segment& piece = path.PieceAt(i);
        const Point2D a = piece.FirstWallPositionAt(1.0), b = piece.LastWallPositionAt(1.0);
        DevicePoint at;
        display.MapPoint({(a.x + b.x) / 2, (a.y + b.y) / 2}, at);
        if (at.x + at.y < ends.first.x() + ends.first.y()) ends.first = {at.x, at.y};
        if (at.x + at.y > ends.second.x() + ends.second.y()) ends.second = {at.x, at.y};
    }
    return ends;
}

bool IsSurfaceColour(QColor c) {
    for (int index = 6; index <= 15; ++index)
        if (index != 14 && c == LapColour(index)) return true;
    return false;
}

TEST_F(MapView, ZoomedInToItsLimitTheMapStillShowsTheTrackSurfaceEdgeToEdge) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    CRpyGraphView& view = *app.View();
    const auto [nearCorner, farCorner] = SurfacePoints(*app.Document());
    for (const QPoint onTrack : {nearCorner, farCorner}) {
        view.OnShowWholeTrack();
        ASSERT_TRUE(IsSurfaceColour(MapPicture().pixelColor(view.LogicalToClient(onTrack))));
        // Clicks of the zoom tool on the point until the limit says no.
        const std::size_t before = prompts_.messages().size();
        for (int clicks = 0; prompts_.messages().size() == before && clicks < 100; ++clicks)
            view.ZoomByFactor(onTrack, ZoomModel::kClickFactor);
        ASSERT_EQ(prompts_.messages().size(), before + 1);
        EXPECT_EQ(prompts_.messages().back(), "Not enough memory to zoom more!\r\nPlease zoom out.");
        // Far enough in that one canvas unit covers many pixels.
        EXPECT_GT(view.DeviceSize().width() / CRpyGraphView::kCanvas, 100);
        view.CenterOnLogicalPoint(onTrack);
        const QImage limit = MapPicture();
        const QPoint centre = limit.rect().center();
        EXPECT_TRUE(IsSurfaceColour(limit.pixelColor(centre))) << limit.pixelColor(centre).name().toStdString();
        EXPECT_EQ(CountColour(limit, Qt::white), 0);
    }

    // A ticked lap's line still shows through the middle of the window at
    // the limit, centred on one of its points.
    app.Frame()->Action(cmd::ToggleLap1)->trigger();
    const GetRpyInfo& lap = *app.Document()->Slot(0).info;
    MFCDisplay display;
    display.FitToTrackEdges(app.Document()->GetTrackPath()->EdgeBounds(), CRpyGraphView::kScreenMargin,
                            CRpyGraphView::kScreenMargin, CRpyGraphView::kCanvas, CRpyGraphView::kCanvas);
    LapLinePlotter plotter(app.Document()->GetTrackPath(), 0);
    const std::size_t sample = lap.distanceM.size() / 3;
    plotter.PlotPoint(display, lap.distanceM[sample - 1], lap.lateralM[sample - 1], true);
    const DevicePoint onLine = plotter.PlotPoint(display, lap.distanceM[sample], lap.lateralM[sample], true);
    view.CenterOnLogicalPoint({onLine.x, onLine.y});
    const QImage line = MapPicture();
    EXPECT_GT(CountColour(line.copy(QRect(line.rect().center() - QPoint(3, 3), QSize(7, 7))), LapColour(0)), 0);
}

TEST_F(MapView, QuarterMarksShowInFullRedAtTheWholeTrackView) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    // No lap line is ticked: the marks are the only red.
    ASSERT_FALSE(app.ViewBar()->IsLapTicked(1));
    const QImage whole = MapPicture();
    ASSERT_LT(app.View()->ZoomScale(), 0.2f);
    EXPECT_GT(CountColour(whole, QColor(255, 0, 0)), 4 * 5);
}

TEST_F(MapView, TheReadmeOpensFromTheHelpMenuAndTheViewBarsLink) {
    CRpyGraphApp& app = Start();
    app.Frame()->Action(cmd::ViewReadme)->trigger();
    CHyperLink& link = *app.ViewBar()->Link();
    QTest::mouseClick(&link, Qt::LeftButton, {}, link.rect().center());
    const std::string readme = QFile::encodeName(CMainFrame::ReadmePath()).toStdString();
    EXPECT_THAT(shell_.opened(), ElementsAre(readme, readme));
    EXPECT_EQ(std::filesystem::path(readme).filename(), "Velmar Replay Analyzer.txt");
}

TEST_F(MapView, PrintSetupChoosesThePaperThatPrintUses) {
    if (QProcess::execute(QStringLiteral("pdfinfo"), {QStringLiteral("-v")}) < 0) GTEST_SKIP() << "no pdfinfo";
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("map.pdf"));
    app.View()->Printer().setOutputFileName(pdf);
    // The user picks landscape A5 in Print Setup, then prints.
    QTimer::singleShot(0, [] {
        auto* setup = qobject_cast<QPageSetupDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(setup, nullptr);
        auto* size = setup->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
        auto* landscape = setup->findChild<QRadioButton*>(QStringLiteral("landscape"));
        ASSERT_TRUE(size && landscape);
        const int a5 = size->findText(QStringLiteral("A5"), Qt::MatchStartsWith);
        ASSERT_GE(a5, 0);
        size->setCurrentIndex(a5);
        landscape->click();
        setup->accept();
    });
    app.Frame()->Action(cmd::FilePrintSetup)->trigger();
    QTimer::singleShot(0, [] {
        auto* print = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(print, nullptr);
        print->accept();
    });
    app.Frame()->Action(cmd::FilePrint)->trigger();
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    ASSERT_TRUE(info.waitForFinished(20000));
    const std::string out = QString::fromUtf8(info.readAllStandardOutput()).toStdString();
    // A5 landscape: 210 x 148 mm, 595 x 420 points.
    EXPECT_THAT(out, HasSubstr("595 x 420 pts"));
}

TEST_F(MapView, TheStatusBarSaysReadyWhenAMenuHasClosed) {
    CRpyGraphApp& app = Start();
    CMainFrame& frame = *app.Frame();
    QMenu* file = frame.FileMenu();
    file->popup(frame.mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(file));
    file->setActiveAction(frame.Action(cmd::FileNew));
    EXPECT_EQ(frame.MessageText(), QStringLiteral("Clears all loaded replay laps"));
    file->hide();
    QApplication::processEvents();
    EXPECT_EQ(frame.MessageText(), QStringLiteral("Ready"));
}

}  // namespace
}  // namespace vra::test
