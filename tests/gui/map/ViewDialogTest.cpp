#include "gui/map/ViewDialog.h"

#include "PictureProbe.h"
#include "ShownText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace vra {

using vra::test::ColourExtent;
using vra::test::Snapshot;

namespace {

QColor Lap(int slot) {
    const vra::Rgb c = vra::kMapPalette[std::size_t(slot)];
    return QColor(c.red, c.green, c.blue);
}

// The bar with laps in slots 1 and 3 only; box 2 is ticked when asked.
class ViewBar : public ::testing::Test {
protected:
    static std::vector<ViewDialog::LapEntry> SlotsOneAndThree() {
        return {{0, "A Morgan 1m 20.000s", {20000, 40000, 60000}}, {2, "D Racer1 1m 20.250s", {20100, 40200, 60300}}};
    }
    void Fill(bool tickSecond = false) {
        bar.UpdateLapControls(SlotsOneAndThree());
        bar.SetLapTicked(2, tickSecond);
    }
    ViewDialog bar;
};

}  // namespace

TEST(ViewDialogTexts, SplitTimes) {
    EXPECT_EQ(ViewDialog::FormatSplitTime(303123), "5:03.123s");
    EXPECT_EQ(ViewDialog::FormatSplitTime(0), "0:00.000s");
}

TEST_F(ViewBar, TheLapsFillTheFirstBoxesAndHideTheRest) {
    Fill(true);
    EXPECT_TRUE(bar.IsLapShown(1));
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
    bar.UpdateLapControls({SlotsOneAndThree()[0]});
    EXPECT_FALSE(bar.IsLapTicked(2));
}

TEST_F(ViewBar, DriverNamesShowAsTheyAreSpelt) {
    bar.UpdateLapControls({{0, "A <i>M&M</i> 1m 20.000s", {20000, 40000, 60000}}});
    EXPECT_EQ(vra::test::ShownText(*bar.LapBox(1)), QStringLiteral("A <i>M&M</i> 1m 20.000s"));
    EXPECT_EQ(bar.LapCombo()->itemText(0), QStringLiteral("A <i>M&M</i> 1m 20.000s"));
}

TEST_F(ViewBar, CaptionsAndNumbersStandInTheLapColours) {
    Fill();
    bar.resize(300, 500);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    const QImage picture = Snapshot(bar);
    auto box = [&](int n) {
        return QRect(bar.LapBox(n)->mapTo(&bar, QPoint(0, 0)), bar.LapBox(n)->size())
            .united(QRect(bar.NumberLabel(n)->mapTo(&bar, QPoint(0, 0)), bar.NumberLabel(n)->size()));
    };
    EXPECT_FALSE(ColourExtent(picture.copy(box(1)), Lap(0), 40).isEmpty());
    EXPECT_FALSE(ColourExtent(picture.copy(box(2)), Lap(2), 40).isEmpty());
    EXPECT_TRUE(ColourExtent(picture.copy(box(2)), Lap(0), 40).isEmpty());
}

TEST_F(ViewBar, PlayingLocksTheBoxesAndShowsTheTickedLapsLive) {
    Fill(true);
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

TEST_F(ViewBar, HeadingPicturesShowOnlyWhilePlayingAndOnlyForTickedLaps) {
    Fill(true);
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
    // A heading in no sector shows no car at all, not sector 0's.
    for (int n = 1; n <= ViewDialog::kLapBoxes; ++n) bar.SetOrientation(n, -1);
    EXPECT_EQ(vra::test::CountColour(Snapshot(*bar.OrientStrip()), body), 0);
    bar.UpdateLapControls(SlotsOneAndThree());
    EXPECT_EQ(bar.Orientation(2), 0);
}

}  // namespace vra
