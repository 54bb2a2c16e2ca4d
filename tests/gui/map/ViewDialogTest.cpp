#include "map/ViewDialog.h"

#include "PictureProbe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using vra::test::ColourExtent;
using vra::test::Snapshot;

namespace {

QColor Lap(int slot) {
    const vra::Rgb c = vra::kMapPalette[std::size_t(slot)];
    return QColor(c.red, c.green, c.blue);
}

std::vector<ViewDialog::LapEntry> SlotsOneAndThree() {
    return {{0, "A Morgan 1m 20.000s", {20000, 40000, 60000}}, {2, "D Racer1 1m 20.250s", {20100, 40200, 60300}}};
}

}  // namespace

TEST(ViewDialogTexts, LapAndSplitTimes) {
    EXPECT_EQ(ViewDialog::FormatLapTime(5), "0m 00.005s");
    EXPECT_EQ(ViewDialog::FormatLapTime(0x20000000u | 303123u), "5m 03.123s");
    EXPECT_EQ(ViewDialog::FormatSplitTime(303123), "5:03.123s");
    EXPECT_EQ(ViewDialog::FormatSplitTime(0), "0:00.000s");
}

TEST(ViewDialogLaps, TheLapsFillTheFirstBoxesAndHideTheRest) {
    ViewDialog bar;
    bar.UpdateLapControls(SlotsOneAndThree());
    EXPECT_TRUE(bar.IsLapShown(1));
    EXPECT_TRUE(bar.IsLapShown(2));
    EXPECT_EQ(bar.SlotOfBox(2), 2);
    for (int n = 3; n <= 5; ++n) {
        EXPECT_FALSE(bar.LapBox(n)->isVisibleTo(&bar)) << n;
        EXPECT_FALSE(bar.SplitValue(n, 0)->isVisibleTo(&bar)) << n;
        EXPECT_EQ(bar.SlotOfBox(n), -1);
    }
    EXPECT_EQ(bar.LapBox(2)->text(), QStringLiteral("D Racer1 1m 20.250s"));
    EXPECT_EQ(bar.SplitValue(2, 2)->text(), QStringLiteral("1:00.300s"));
    EXPECT_EQ(bar.LapCombo()->count(), 2);
    EXPECT_EQ(bar.LapCombo()->currentIndex(), 0);

    // A lap that goes away takes its tick with it.
    bar.SetLapTicked(2, true);
    bar.UpdateLapControls({SlotsOneAndThree()[0]});
    EXPECT_FALSE(bar.IsLapTicked(2));
}

TEST(ViewDialogLaps, CaptionsAndNumbersStandInTheLapColours) {
    ViewDialog bar;
    bar.resize(300, 500);
    bar.UpdateLapControls(SlotsOneAndThree());
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    const QImage picture = Snapshot(bar);
    auto inBar = [&](QWidget* w) { return QRect(w->mapTo(&bar, QPoint(0, 0)), w->size()); };
    const QRect box1 = inBar(bar.LapBox(1)).united(inBar(bar.NumberLabel(1)));
    const QRect box2 = inBar(bar.LapBox(2)).united(inBar(bar.NumberLabel(2)));
    const QRect red = ColourExtent(picture.copy(box1), Lap(0), 40);
    const QRect green = ColourExtent(picture.copy(box2), Lap(2), 40);
    EXPECT_FALSE(red.isEmpty());
    EXPECT_FALSE(green.isEmpty());
    EXPECT_TRUE(ColourExtent(picture.copy(box2), Lap(0), 40).isEmpty());
}

TEST(ViewDialogLaps, TogglesFlipBoxesAndTheRaceLineAndAskForARedraw) {
    ViewDialog bar;
    bar.UpdateLapControls(SlotsOneAndThree());
    QSignalSpy changed(&bar, &ViewDialog::linesChanged);
    bar.ToggleLap(1);
    EXPECT_TRUE(bar.IsLapTicked(1));
    bar.ToggleLap(0);
    EXPECT_TRUE(bar.RaceLineOn());
    bar.ToggleLap(0);
    EXPECT_FALSE(bar.RaceLineOn());
    bar.show();
    QTest::mouseClick(bar.LapBox(2), Qt::LeftButton, {}, QPoint(5, bar.LapBox(2)->height() / 2));
    EXPECT_TRUE(bar.IsLapTicked(2));
    EXPECT_EQ(changed.count(), 4);
    bar.ToggleLap(9);
    EXPECT_EQ(changed.count(), 4);
    bar.UntickAll();
    EXPECT_FALSE(bar.IsLapTicked(1));
    EXPECT_FALSE(bar.IsLapTicked(2));
}

TEST(ViewDialogPlayback, PlayingLocksTheBoxesAndShowsTheTickedLapsLive) {
    ViewDialog bar;
    bar.UpdateLapControls(SlotsOneAndThree());
    bar.SetLapTicked(2, true);
    bar.show();
    bar.DisableLapControls();
    EXPECT_FALSE(bar.LapBox(1)->isEnabled());
    EXPECT_TRUE(bar.RealtimeGroup()->isVisible());
    EXPECT_FALSE(bar.SplitValue(1, 0)->isVisible());
    EXPECT_FALSE(bar.SpeedValue(1)->isVisible());
    EXPECT_TRUE(bar.SpeedValue(2)->isVisible());
    EXPECT_TRUE(bar.ColumnHead(2)->isVisible());
    EXPECT_FALSE(bar.GearValue(3)->isVisible());
    // The box still flips through its command while locked.
    bar.ToggleLap(1);
    EXPECT_TRUE(bar.IsLapTicked(1));

    bar.EnableLapControls();
    EXPECT_TRUE(bar.LapBox(1)->isEnabled());
    EXPECT_FALSE(bar.RealtimeGroup()->isVisible());
    EXPECT_TRUE(bar.SplitValue(1, 0)->isVisible());
    EXPECT_FALSE(bar.SplitValue(3, 0)->isVisible());
}

TEST(ViewDialogPlayback, HeadingPicturesShowOnlyWhilePlayingAndOnlyForTickedLaps) {
    ViewDialog bar;
    bar.UpdateLapControls(SlotsOneAndThree());
    bar.SetLapTicked(2, true);
    bar.show();
    bar.DisableLapControls();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    const QColor body(200, 30, 30);
    EXPECT_EQ(vra::test::CountColour(Snapshot(*bar.OrientStrip()), body), 0);
    bar.SetOrientation(2, 4);
    bar.SetPlaying(true);
    const QRect car = ColourExtent(Snapshot(*bar.OrientStrip()), body);
    ASSERT_FALSE(car.isEmpty());
    // Box 2's picture stands in the second place, 23 pixels along.
    EXPECT_GE(car.left(), 23);
    EXPECT_LT(car.right(), 23 + 24);
    // Sector 4 points the car across: wider than high.
    EXPECT_GT(car.width(), car.height());
    EXPECT_EQ(bar.Orientation(2), 4);
    bar.UpdateLapControls(SlotsOneAndThree());
    EXPECT_EQ(bar.Orientation(2), 0);
}
