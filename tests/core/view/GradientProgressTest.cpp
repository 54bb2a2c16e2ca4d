#include "core/view/GradientProgress.h"

#include <gtest/gtest.h>

using namespace vra;

namespace {

GradientProgress Bar(Rgb from, Rgb to, std::int32_t lower, std::int32_t upper, std::int32_t pos) {
    GradientProgress bar;
    bar.startColour = from;
    bar.endColour = to;
    bar.SetRange32(lower, upper);
    bar.SetPos(pos);
    return bar;
}

}  // namespace

TEST(GradientProgress, WaitBoxIsEmptyAtEitherEndAndShowsThePercentageBetween) {
    GradientProgress bar = WaitBoxProgress();
    for (int pos : {0, 100, 150}) {
        bar.SetPos(pos);
        EXPECT_TRUE(bar.Paint(200).empty) << pos;
        EXPECT_TRUE(bar.Paint(200).percentText.empty()) << pos;
    }
    bar.SetPos(50);
    EXPECT_FALSE(bar.Paint(200).empty);
    EXPECT_EQ(bar.Paint(200).percentText, "50%");
    // 23 x 100 / 40 is 57.5 exactly and rounds to the even 58; 23 / 40 x 100
    // would give 57.49999999999999 and "57%".
    bar.SetRange32(0, 40);
    bar.SetPos(23);
    EXPECT_EQ(bar.Paint(200).percentText, "58%");
    bar.SetRange32(0, 80);
    bar.SetPos(46);
    EXPECT_EQ(bar.Paint(200).percentText, "58%");
}

// Red to black is 255 steps; over 255 pixels each band is one pixel wide and
// band i has red 255 - i. At position 40 of 100, 102 pixels are filled.
TEST(GradientProgress, BandsUpToTheFilledWidthThenBackground) {
    const auto layout = Bar({255, 0, 0}, {0, 0, 0}, 0, 100, 40).Paint(255);
    ASSERT_EQ(layout.bands.size(), 103u);
    EXPECT_EQ(layout.bands.front(), (GradientProgress::Band{0, 1, {255, 0, 0}}));
    EXPECT_EQ(layout.bands.back(), (GradientProgress::Band{102, 103, {153, 0, 0}}));
    EXPECT_EQ(layout.backgroundFrom, 103);
}

TEST(GradientProgress, EqualColoursAndRangesEndingAtZeroDivideByNothing) {
    const auto same = Bar({10, 20, 30}, {10, 20, 30}, 0, 100, 50).Paint(100);
    ASSERT_EQ(same.bands.size(), 1u);
    EXPECT_EQ(same.bands[0], (GradientProgress::Band{0, 100, {10, 20, 30}}));

    GradientProgress bar = Bar({0, 0, 0}, {0, 0, 200}, -100, 0, -50);
    bar.showPercent = true;
    const auto layout = bar.Paint(200);
    EXPECT_FALSE(layout.empty);
    EXPECT_EQ(layout.percentText, "50%");
    EXPECT_EQ(layout.backgroundFrom, 101);

    EXPECT_TRUE(Bar({0, 0, 0}, {0, 0, 200}, 10, 10, 10).Paint(200).empty);
    EXPECT_TRUE(Bar({0, 0, 0}, {0, 0, 200}, 50, 10, 30).Paint(200).empty);  // reversed
}
