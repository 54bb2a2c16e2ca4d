// Laps played back on the map inside the main window, the timer ticked by
// hand: the view bar's lock and read-outs, the line drawn as the laps go,
// the meters bar and the race bar.

#include "core/commands/CommandIds.h"
#include "core/document/LapLinePlotter.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "core/settings/AppSettings.h"
#include "gui/map/C3DMeterCtrl.h"
#include "gui/map/MapPlayback.h"
#include "gui/map/MeterBar.h"
#include "gui/map/RaceReplay.h"

#include "AnalyserFixture.h"
#include "ShownText.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSlider>
#include <gmock/gmock.h>

namespace vra::test {
namespace {

class Playback : public AnalyserStart {
protected:
    // Starts with race lap 2 of driver 0 in slot 0 and lap 3 of driver 1 in
    // slot 1, box 1 ticked.
    CRpyGraphApp& StartWithLaps() {
        CRpyGraphApp& app = Start();
        AddRaceLap(0, 2);
        AddRaceLap(1, 3);
        app.Frame()->Action(cmd::ToggleLap1)->trigger();
        return app;
    }
    MapPlayback& Player() { return app_->View()->Playback(); }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) Player().OnTimer();
    }
    QColor SlotColour(int slot) { return LapColour(app_->Document()->Slot(slot).plotter->ColourIndex()); }
    // The toolbar and menus show the playback as it is: playing locks the
    // commands that change the laps, idle frees them.
    void ExpectCommandsShow(bool playing) {
        CMainFrame& frame = *app_->Frame();
        EXPECT_EQ(frame.Action(cmd::Play)->isChecked(), playing);
        for (int id : {cmd::Pause, cmd::Stop}) EXPECT_EQ(frame.Action(id)->isEnabled(), playing) << id;
        for (int id : {cmd::FileNew, cmd::FileOpen, cmd::AddReplayLap, cmd::MoveRemoveLaps, cmd::FilePrint})
            EXPECT_EQ(frame.Action(id)->isEnabled(), !playing) << id;
    }
};

// A coarse timer may fire early and run the clock fast.
TEST_F(Playback, TheTickIsAPrecise55Ms) {
    Start();
    EXPECT_EQ(Player().Timer().interval(), 55);
    EXPECT_EQ(Player().Timer().timerType(), Qt::PreciseTimer);
}

TEST_F(Playback, LinesDrawOnlyTheDrivenPartUntilStopDrawsTheWholeLine) {
    CRpyGraphApp& app = StartWithLaps();
    CMainFrame& frame = *app.Frame();
    ViewDialog& bar = *app.ViewBar();
    const QColor lap = SlotColour(0);
    const int before = CountColour(MapPicture(), lap);
    // The map stays where Play zoomed it: at the start.
    for (QRadioButton* radio : bar.findChildren<QRadioButton*>())
        if (radio->text() == QStringLiteral("Manual")) radio->click();
    ASSERT_EQ(bar.FollowChoice(), 0);

    frame.Action(cmd::Play)->trigger();
    Player().Timer().stop();  // ticked by hand
    EXPECT_TRUE(frame.Action(cmd::Play)->isChecked());
    EXPECT_TRUE(frame.Action(cmd::Pause)->isEnabled());
    EXPECT_FALSE(frame.Action(cmd::FastReverse)->isEnabled());
    EXPECT_FALSE(frame.Action(cmd::FileNew)->isEnabled());
    EXPECT_FALSE(bar.LapBox(1)->isEnabled());
    EXPECT_TRUE(bar.RealtimeGroup()->isVisibleTo(&bar));
    // Playing, the map shows no lap line until the lap drives it; what shows
    // in its colour are the quarter marks.
    const int marks = CountColour(MapPicture(), lap);
    EXPECT_LT(marks, before / 2);
    const int otherLap = CountColour(MapPicture(), SlotColour(1));

    Ticks(40);
    EXPECT_EQ(bar.ElapsedValue()->text(), QStringLiteral("0:02"));
    EXPECT_FALSE(bar.SpeedValue(1)->text().isEmpty());
    EXPECT_FALSE(bar.GearValue(1)->text().isEmpty());
    const int driven = CountColour(MapPicture(), lap) - marks;
    EXPECT_GT(driven, 20);
    // Lap 2 is not ticked: it draws nothing.
    EXPECT_EQ(CountColour(MapPicture(), SlotColour(1)), otherLap);
    // A scroll keeps what was driven.
    app.View()->CenterOnLogicalPoint(app.View()->GetLogicalCenterPoint() + QPoint(30, 30));
    EXPECT_NEAR(CountColour(MapPicture(), lap) - marks, driven, driven / 4);

    frame.Action(cmd::Stop)->trigger();
    EXPECT_GT(CountColour(MapPicture(), lap), marks + driven + 50);
    EXPECT_TRUE(bar.LapBox(1)->isEnabled());
    EXPECT_FALSE(bar.RealtimeGroup()->isVisibleTo(&bar));
    EXPECT_FALSE(frame.Action(cmd::Play)->isChecked());
    EXPECT_TRUE(frame.Action(cmd::FileNew)->isEnabled());
}

// Paused, no step centres the leader again: the map does so itself when its
// window changes size. Docking the view bar again narrows the window, which
// keeps its scroll position and so loses its right-hand part; the map would
// show bare canvas until Play.
TEST_F(Playback, APausedMapKeepsTheTrackInViewWhenTheViewBarIsDockedAgain) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    CMainFrame& frame = *app.Frame();
    frame.Action(cmd::ToggleLap1)->trigger();
    ASSERT_EQ(app.ViewBar()->FollowChoice(), 1);  // the map follows the leader
    frame.ViewBar()->setFloating(true);
    QApplication::processEvents();
    frame.Action(cmd::Play)->trigger();
    Player().Timer().stop();
    // The lap on the straight along the canvas's right edge: the wide window,
    // scrolled as far as it goes, shows it at its right.
    Ticks(335);
    frame.Action(cmd::Pause)->trigger();
    ASSERT_FALSE(TrackExtent(MapPicture()).isEmpty());
    frame.ViewBar()->setFloating(false);
    QApplication::processEvents();
    EXPECT_FALSE(TrackExtent(MapPicture()).isEmpty());
}

TEST_F(Playback, AZoomClickWhilePlayingClearsTheDrivenPartAndPlayingGoesOn) {
    CRpyGraphApp& app = StartWithLaps();
    app.Frame()->Action(cmd::Play)->trigger();
    Player().Timer().stop();
    Ticks(20);
    const QColor lap = SlotColour(1);                     // no quarter mark shares it
    app.Frame()->Action(cmd::ToggleLap1 + 1)->trigger();  // locked while playing
    EXPECT_FALSE(app.ViewBar()->IsLapTicked(2));
    app.Frame()->Action(cmd::Stop)->trigger();
    app.Frame()->Action(cmd::ToggleLap1)->trigger();
    app.Frame()->Action(cmd::ToggleLap1 + 1)->trigger();
    app.Frame()->Action(cmd::Play)->trigger();
    Player().Timer().stop();
    const int marks = CountColour(MapPicture(), lap);
    Ticks(20);
    ASSERT_GT(CountColour(MapPicture(), lap), marks + 10);
    app.Frame()->Action(cmd::ZoomOut)->trigger();
    QTest::mouseClick(app.View()->viewport(), Qt::LeftButton, {}, app.View()->viewport()->rect().center());
    const QImage after = MapPicture();
    EXPECT_LT(CountColour(after, lap), marks + 10);
    EXPECT_TRUE(Player().Controller().Playing());
    EXPECT_TRUE(Player().Timer().isActive());
}

// Whatever changes the playback, the commands follow: a zoom click that
// holds it for the picture, Stop, the end of the laps.
TEST_F(Playback, CommandsFollowTheLinesThroughAZoomClickAndTheirEnd) {
    CRpyGraphApp& app = StartWithLaps();
    CMainFrame& frame = *app.Frame();
    frame.Action(cmd::Play)->trigger();
    Player().Timer().stop();
    Ticks(10);
    ExpectCommandsShow(true);
    frame.Action(cmd::ZoomIn)->trigger();
    QTest::mousePress(app.View()->viewport(), Qt::LeftButton, {}, app.View()->viewport()->rect().center());
    ASSERT_TRUE(Player().Controller().Suspended());  // held for the picture
    ExpectCommandsShow(true);
    QTest::mouseRelease(app.View()->viewport(), Qt::LeftButton, {}, app.View()->viewport()->rect().center());
    MapPicture();  // the picture is rebuilt: playing goes on
    ASSERT_TRUE(Player().Controller().Playing());
    ExpectCommandsShow(true);

    frame.Action(cmd::Stop)->trigger();
    ExpectCommandsShow(false);

    frame.Action(cmd::Play)->trigger();
    Player().Timer().stop();
    const int samples = app.Document()->Slot(0).info->sampleCount;
    for (int i = 0; i < samples && Player().Controller().Playing(); ++i) Ticks(1);
    ASSERT_FALSE(Player().Controller().Playing());
    ExpectCommandsShow(false);
}

// A menu shows the states of the moment, even where nothing told the
// commands of a change.
TEST_F(Playback, EveryMenuTakesTheCommandStatesBeforeItShows) {
    CRpyGraphApp& app = StartWithLaps();
    CMainFrame& frame = *app.Frame();
    frame.Action(cmd::Play)->trigger();
    Player().Timer().stop();
    const QList<QAction*> menus = frame.menuBar()->actions();
    ASSERT_EQ(menus.size(), 7);
    for (QAction* entry : menus) {
        frame.Action(cmd::Play)->setChecked(false);
        frame.Action(cmd::Pause)->setEnabled(false);
        frame.Action(cmd::FileNew)->setEnabled(true);
        QMenu* menu = entry->menu();
        menu->popup(frame.mapToGlobal(QPoint(20, 20)));
        ExpectCommandsShow(true);
        menu->hide();
    }
}

// The meters follow the only ticked lap; the bar shows only while laps play
// and the switch is on.
TEST_F(Playback, MetersShowWhileLapsPlayAndTheirCloseButtonTurnsThemOff) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    AddRaceLap(1, 2);
    AddRaceLap(2, 2);
    CMainFrame& frame = *app.Frame();
    frame.Action(cmd::ToggleLap1 + 2)->trigger();
    QDockWidget& dock = *frame.MetersBar();
    auto& meters = *dock.findChild<MeterBar*>();
    EXPECT_FALSE(dock.isVisible());
    frame.Action(cmd::Play)->trigger();
    Player().Timer().stop();
    EXPECT_TRUE(dock.isVisible());
    EXPECT_EQ(meters.ChosenLap(), 3);
    EXPECT_TRUE(meters.LapRadio(3)->isChecked());
    for (int n : {1, 2}) EXPECT_FALSE(meters.LapRadio(n)->isEnabled()) << n;
    for (int n : {4, 5}) EXPECT_FALSE(meters.LapRadio(n)->isVisibleTo(&meters)) << n;
    const bool miles = app.Document()->SpeedUnit() != 0;
    EXPECT_EQ(meters.MeterAt(MeterBar::Speed)->Units(), miles ? QStringLiteral("mph") : QStringLiteral("kph"));
    EXPECT_EQ(meters.MeterAt(MeterBar::Speed)->Maximum(), miles ? 250.0 : 400.0);
    Ticks(10);
    const GetRpyInfo& lap = *app.Document()->Slot(2).info;
    EXPECT_DOUBLE_EQ(meters.MeterAt(MeterBar::Speed)->Value(), lap.speed[20] * (miles ? 0.621 : 1.0));
    EXPECT_DOUBLE_EQ(meters.MeterAt(MeterBar::Revs)->Value(), lap.revolutions[20] * 0.001);
    EXPECT_DOUBLE_EQ(meters.MeterAt(MeterBar::Throttle)->Value(), lap.throttle[20] * 100.0 / 255.0);
    // Past its end a lap's meters hold its last driven sample.
    meters.UpdateMeters(std::uint32_t(lap.sampleCount + 100));
    EXPECT_DOUBLE_EQ(meters.MeterAt(MeterBar::LatG)->Value(), lap.accelCarLat[std::size_t(lap.sampleCount - 2)]);

    // 32850 turns the switch off and on; on, the bar shows while lines play.
    frame.Action(cmd::ViewMetersBar)->trigger();
    EXPECT_FALSE(dock.isVisible());
    EXPECT_EQ(app.Document()->Settings().ShowMetersBar(), 0);
    frame.Action(cmd::ViewMetersBar)->trigger();
    EXPECT_TRUE(dock.isVisible());

    dock.close();
    EXPECT_FALSE(dock.isVisible());
    EXPECT_EQ(app.Document()->Settings().ShowMetersBar(), 0);
    EXPECT_THAT(
        prompts_.messages(),
        ::testing::Contains("If you ever want to view this window in the\r\nfuture, enable it under View->Meters Bar"));
    frame.Action(cmd::Stop)->trigger();
    frame.Action(cmd::Play)->trigger();
    EXPECT_FALSE(dock.isVisible());
    frame.Action(cmd::Stop)->trigger();
    frame.Action(cmd::ViewMetersBar)->trigger();  // on, but nothing plays
    EXPECT_FALSE(dock.isVisible());
}

// At the first start's window size all six meters show, side by side across
// the window's bottom, and each keeps the shape its face is drawn for: in kph
// and in mph, every range label and unit shows whole.
TEST_F(Playback, EveryMetersRangeAndUnitStayInsideIt) {
    CRpyGraphApp& app = Start({}, {});
    AddRaceLap(0, 2);
    CMainFrame& frame = *app.Frame();
    frame.Action(cmd::ToggleLap1)->trigger();
    frame.Action(cmd::Play)->trigger();
    Player().Timer().stop();
    QApplication::processEvents();
    MeterBar& meters = *frame.MetersBar()->findChild<MeterBar*>();
    ASSERT_TRUE(meters.isVisible());
    const QWidget& shown = *frame.MetersBar()->findChild<QScrollArea*>()->viewport();
    for (int m = 0; m < MeterBar::kMeters; ++m) {
        const C3DMeterCtrl& meter = *meters.MeterAt(MeterBar::Meter(m));
        const QRect at(meter.mapTo(&shown, QPoint()), meter.size());
        EXPECT_TRUE(shown.rect().contains(at))
            << meter.Units().toStdString() << " at x " << at.left() << ".." << at.right() << " of " << shown.width();
    }
    for (int miles : {0, 1}) {
        app.Document()->SetSpeedUnit(miles);
        meters.SetupMeters();
        for (int m = 0; m < MeterBar::kMeters; ++m) {
            const C3DMeterCtrl& meter = *meters.MeterAt(MeterBar::Meter(m));
            // Drawn amid a white canvas thrice its size, whatever would fall
            // past its edges shows around it.
            const QSize size = meter.size();
            QImage canvas(size * 3, QImage::Format_RGB32);
            canvas.fill(Qt::white);
            QPainter painter(&canvas);
            painter.translate(size.width(), size.height());
            meter.PaintFace(painter, size);
            painter.end();
            const QRect drawn = TrackExtent(canvas).translated(-size.width(), -size.height());
            EXPECT_TRUE(QRect(QPoint(), size).contains(drawn))
                << meter.Units().toStdString() << " drawn over x " << drawn.left() << ".." << drawn.right() << ", y "
                << drawn.top() << ".." << drawn.bottom() << " of " << size.width() << " x " << size.height();
        }
    }
}

// The bars take their room from the map: the window keeps the size of a
// first start while the race bar, the meters bar and the view bar come and
// go, the view bar lengthened by the laps and their read-outs, and when the
// laps are cleared.
TEST_F(Playback, TheWindowKeepsItsSizeWhileTheBarsComeAndGo) {
    CRpyGraphApp& app = Start({}, {});
    CMainFrame& frame = *app.Frame();
    const QSize first = frame.size();
    const auto expectFirstSize = [&](const char* step) {
        QApplication::processEvents();
        EXPECT_EQ(frame.width(), first.width()) << step;
        EXPECT_EQ(frame.height(), first.height()) << step;
    };
    AddRaceLap(0, 2);
    frame.Action(cmd::ToggleRaceReplay)->trigger();
    ASSERT_TRUE(frame.RaceBar()->isVisible());
    expectFirstSize("race bar shown");
    frame.Action(cmd::ToggleRaceReplay)->trigger();
    expectFirstSize("race bar hidden");
    AddRaceLap(1, 3);
    frame.Action(cmd::ToggleLap1)->trigger();
    frame.Action(cmd::ToggleLap1 + 1)->trigger();
    frame.Action(cmd::Play)->trigger();
    Player().Timer().stop();
    ASSERT_TRUE(frame.MetersBar()->isVisible());
    expectFirstSize("meters bar shown");
    frame.Action(cmd::Stop)->trigger();
    expectFirstSize("meters bar hidden");
    frame.Action(cmd::ViewPlotSettings)->trigger();
    expectFirstSize("view bar hidden");
    frame.Action(cmd::ViewPlotSettings)->trigger();
    expectFirstSize("view bar shown");
    frame.Action(cmd::FileNew)->trigger();
    expectFirstSize("laps cleared");
}

TEST_F(Playback, ARaceSwapsTheBarsAndPlaysEveryCarWithTheSliderFollowing) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    CMainFrame& frame = *app.Frame();
    const QImage bare = MapPicture();
    auto& bar = *frame.RaceBar()->findChild<RaceReplay*>();
    // The steppers are plain buttons without a race and round with one.
    const auto steppersRound = [&bar] {
        int round = 0;
        for (QPushButton* b : {bar.DriverPlus(), bar.DriverMinus(), bar.LapPlus(), bar.LapMinus()})
            round += !b->mask().isEmpty() && !b->mask().contains(QPoint(0, 0));
        return round;
    };
    EXPECT_EQ(steppersRound(), 0);
    frame.Action(cmd::ToggleRaceReplay)->trigger();
    MapPlayback& player = Player();
    RaceModel& race = player.Race();
    ASSERT_TRUE(race.Loaded());
    // The demo race starts as a recorded one does: nothing to warn about.
    EXPECT_EQ(prompts_.messages(), std::vector<std::string>{});
    EXPECT_EQ(steppersRound(), 4);
    EXPECT_TRUE(frame.RaceBar()->isVisible());
    EXPECT_FALSE(frame.ViewBar()->isVisible());
    EXPECT_TRUE(frame.Action(cmd::ToggleRaceReplay)->isChecked());
    for (int id : {cmd::AddLapWithLapFinder, cmd::SaveReplayLap, cmd::OpenMostRecentReplay})
        if (QAction* a = frame.Action(id)) {
            EXPECT_FALSE(a->isEnabled()) << id;
        }
    EXPECT_EQ(bar.Slider()->maximum(), int(race.FrameCount()) - 1);
    EXPECT_EQ(bar.Slider()->pageStep(), 2160);
    EXPECT_EQ(bar.TextLabel(RaceReplay::ScheduledLaps)->text().toStdString(),
              std::to_string(app.Document()->Slot(0).header->raceLaps));
    EXPECT_FALSE(bar.Drivers()->isEnabled());
    ASSERT_EQ(bar.Drivers()->count(), race.DriverCount());
    const auto& first = app.Document()->Slot(0).drivers->drivers[0];
    EXPECT_EQ(bar.Drivers()->itemText(0).toStdString(), first.firstName.substr(0, 1) + " " + first.lastName);
    EXPECT_TRUE(bar.LeaderRadio()->isChecked());
    EXPECT_TRUE(bar.DrawRadio(1)->isChecked());

    frame.Action(cmd::Play)->trigger();
    player.Timer().stop();
    EXPECT_TRUE(frame.Action(cmd::FastReverse)->isEnabled());
    QSignalSpy moved(bar.Slider(), &QSlider::valueChanged);
    Ticks(300);
    EXPECT_EQ(race.CurrentFrame(), 600u);
    EXPECT_EQ(bar.Slider()->value(), 600);
    EXPECT_EQ(moved.count(), 0) << "the model's frames do not come back as slider moves";
    EXPECT_FALSE(bar.TextLabel(RaceReplay::Elapsed)->text().isEmpty());
    // Every present car shows in its colour where the model placed it.
    const QImage withCars = MapPicture();
    int shown = 0;
    for (const RaceModel::CarPose& pose : race.Poses()) {
        if (!pose.present) continue;
        const QPoint at = app.View()->LogicalToClient(QPoint(pose.device.x, pose.device.y));
        const QRect around(at - QPoint(6, 6), QSize(13, 13));
        shown += CountColour(withCars.copy(around), LapColour(pose.colour)) > 0;
    }
    EXPECT_GT(shown, 0);

    // Dragging the slider holds the playback and steps there; letting go
    // plays on.
    bar.Slider()->setSliderDown(true);
    EXPECT_FALSE(player.Controller().Playing());
    EXPECT_TRUE(player.Controller().Paused());
    EXPECT_FALSE(frame.Action(cmd::Pause)->isEnabled());
    bar.Slider()->setValue(100);
    EXPECT_EQ(race.CurrentFrame(), 100u);
    bar.Slider()->setSliderDown(false);
    EXPECT_TRUE(player.Controller().Playing());
    Ticks(1);
    EXPECT_EQ(race.CurrentFrame(), 102u);

    // The slider's End key ends the race; the race also ends by itself.
    ExpectCommandsShow(true);
    QTest::keyClick(bar.Slider(), Qt::Key_End);
    ExpectCommandsShow(false);
    QTest::keyClick(bar.Slider(), Qt::Key_Home);
    frame.Action(cmd::Play)->trigger();
    player.Timer().stop();
    ExpectCommandsShow(true);
    bar.Slider()->setValue(bar.Slider()->maximum() - 12);
    Ticks(3);
    ExpectCommandsShow(true);
    Ticks(10);
    ExpectCommandsShow(false);

    // Leaving race mode brings the view bar back and the map as it was.
    frame.Action(cmd::ToggleRaceReplay)->trigger();
    EXPECT_FALSE(race.Loaded());
    EXPECT_EQ(steppersRound(), 0);
    EXPECT_FALSE(frame.RaceBar()->isVisible());
    EXPECT_TRUE(frame.ViewBar()->isVisible());
    const QImage after = MapPicture();
    // (The view bar keeps the width the race bar left.)
    EXPECT_EQ(TrackExtent(after).size(), TrackExtent(bare).size());
    EXPECT_EQ(CountColour(after, LapColour(0)), CountColour(bare, LapColour(0)));
}

TEST_F(Playback, ClearingTheLapsLeavesTheRace) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    app.Frame()->Action(cmd::ToggleRaceReplay)->trigger();
    ASSERT_TRUE(Player().Controller().RaceMode());
    app.Frame()->Action(cmd::FileNew)->trigger();
    EXPECT_FALSE(Player().Controller().RaceMode());
    EXPECT_FALSE(Player().Race().Loaded());
    EXPECT_FALSE(app.Frame()->RaceBar()->isVisible());
}

// Long texts wrap in the race bar: the slider along its right edge stays in
// view at the bar's first width, whatever the status says.
TEST_F(Playback, TheRaceSliderStaysInViewBesideTheLongestTexts) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    CMainFrame& frame = *app.Frame();
    frame.Action(cmd::ToggleRaceReplay)->trigger();
    ASSERT_TRUE(frame.RaceBar()->isVisible());
    auto& bar = *frame.RaceBar()->findChild<RaceReplay*>();
    // Driver names are an initial and a last name of up to 16 letters, shown
    // as they are spelt.
    const QString name = QStringLiteral("M <i>Montgomery</i>&Co");
    for (RaceReplay::Text t : {RaceReplay::Leader, RaceReplay::Name}) {
        bar.TextLabel(t)->setText(name);
        EXPECT_EQ(ShownText(*bar.TextLabel(t)), name);
    }
    for (const char* status : {"Chequered flag waved", "White flag waved", "All cars finished"}) {
        bar.TextLabel(RaceReplay::Status)->setText(QString::fromLatin1(status));
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        // Nothing around the slider cuts it off, and nothing scrolls sideways.
        EXPECT_EQ(bar.Slider()->visibleRegion(), QRegion(bar.Slider()->rect())) << status;
        for (const QScrollArea* scroll : frame.RaceBar()->findChildren<QScrollArea*>())
            EXPECT_LE(scroll->widget()->minimumSizeHint().width(), scroll->viewport()->width()) << status;
        for (RaceReplay::Text t : {RaceReplay::Status, RaceReplay::Leader, RaceReplay::Name}) {
            const QLabel& label = *bar.TextLabel(t);
            EXPECT_GE(label.height(), label.heightForWidth(label.width())) << status;
        }
    }
}

// An exported map shows the ticked lines only when the screen would draw
// them whole: not while laps play or are paused, nor in race mode.
TEST_F(Playback, TheExportedMapLeavesOutTheLinesWhilePlaybackOwnsThem) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);  // one lap: race mode asks for no choice
    app.Frame()->Action(cmd::ToggleLap1)->trigger();
    CRpyGraphView& view = *app.View();
    CMainFrame& frame = *app.Frame();
    using ::testing::ElementsAre;
    EXPECT_THAT(view.ExportedLineSlots(), ElementsAre(0));
    frame.Action(cmd::Play)->trigger();
    Player().Timer().stop();
    EXPECT_THAT(view.ExportedLineSlots(), ElementsAre());
    frame.Action(cmd::Pause)->trigger();
    ASSERT_TRUE(Player().Controller().Paused());
    EXPECT_THAT(view.ExportedLineSlots(), ElementsAre());
    frame.Action(cmd::Play)->trigger();  // Stop needs a playing lap
    frame.Action(cmd::Stop)->trigger();
    EXPECT_THAT(view.ExportedLineSlots(), ElementsAre(0));

    // A race loaded but not started still owns the map.
    frame.Action(cmd::ToggleRaceReplay)->trigger();
    ASSERT_TRUE(Player().Controller().RaceMode());
    ASSERT_FALSE(Player().Controller().Playing());
    EXPECT_THAT(view.ExportedLineSlots(), ElementsAre());
    frame.Action(cmd::ToggleRaceReplay)->trigger();
    EXPECT_THAT(view.ExportedLineSlots(), ElementsAre(0));
}

// The car of the race that stands farthest from any other, in canvas units.
int LoneCar(const RaceModel& race) {
    int best = -1;
    double bestGap = 0;
    const auto& poses = race.Poses();
    for (std::size_t d = 0; d < poses.size(); ++d) {
        if (!poses[d].present) continue;
        double gap = 1e18;
        for (std::size_t e = 0; e < poses.size(); ++e) {
            if (e == d || !poses[e].present) continue;
            const double dx = poses[d].device.x - poses[e].device.x, dy = poses[d].device.y - poses[e].device.y;
            gap = std::min(gap, dx * dx + dy * dy);
        }
        if (gap > bestGap) {
            bestGap = gap;
            best = int(d);
        }
    }
    return best;
}

// Cars at scale, oversized at twice the size, and as dots of one size at any
// zoom, each where the model placed it.
TEST_F(Playback, CarsDrawAtScaleOversizedOrAsDotsOfOneSize) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    CMainFrame& frame = *app.Frame();
    frame.Action(cmd::ToggleRaceReplay)->trigger();
    RaceModel& race = Player().Race();
    auto& bar = *frame.RaceBar()->findChild<RaceReplay*>();
    bar.ManualRadio()->click();  // the map stays where it is put
    frame.Action(cmd::Play)->trigger();
    Player().Timer().stop();
    Ticks(400);
    frame.Action(cmd::Pause)->trigger();
    const int car = LoneCar(race);
    ASSERT_GE(car, 0);
    const RaceModel::CarPose pose = race.Poses()[std::size_t(car)];
    CRpyGraphView& view = *app.View();
    view.ZoomFull();
    // What a car adds to the map round its place: a race stopped while it
    // plays shows no cars; paused, a draw option draws the frame again.
    const auto carExtent = [&](int mode) {
        Player().Controller().Play();  // from the pause: no zoom to the start
        Player().Timer().stop();
        Player().Controller().Stop();
        const QImage bare = MapPicture();
        // Fast forward starts from a stop without zooming to the start.
        Player().Controller().FastForward();
        Player().Controller().Pause();
        bar.DrawRadio(mode)->click();
        const QImage cars = MapPicture();
        const QPoint at = view.LogicalToClient(QPoint(pose.device.x, pose.device.y));
        QRect extent;
        for (int y = at.y() - 20; y <= at.y() + 20; ++y)
            for (int x = at.x() - 20; x <= at.x() + 20; ++x)
                if (bare.rect().contains(x, y) && bare.pixel(x, y) != cars.pixel(x, y)) extent |= QRect(x, y, 1, 1);
        return extent;
    };
    const QRect scale = carExtent(1);
    ASSERT_FALSE(scale.isEmpty());
    const QRect oversized = carExtent(2);
    const int a = std::max(scale.width(), scale.height()), b = std::max(oversized.width(), oversized.height());
    EXPECT_GE(b, 2 * a - 3);
    EXPECT_LE(b, 2 * a + 3);
    const QRect dot = carExtent(3);
    EXPECT_GE(dot.width(), 7);
    EXPECT_LE(dot.width(), 12);
    view.ZoomByFactor(QPoint(pose.device.x, pose.device.y), 3.0f);
    const QRect zoomed = carExtent(3);
    EXPECT_NEAR(zoomed.width(), dot.width(), 1);
    EXPECT_NEAR(zoomed.height(), dot.height(), 1);
}

}  // namespace
}  // namespace vra::test
