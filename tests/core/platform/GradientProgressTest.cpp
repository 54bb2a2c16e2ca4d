#include "platform/GradientProgress.h"

#include <gtest/gtest.h>

using namespace vra;

namespace {

GradientProgress Bar(RgbColour from, RgbColour to)
{
    GradientProgress bar;
    bar.startColour = from;
    bar.endColour = to;
    return bar;
}

}  // namespace

TEST(GradientProgress, EmptyAtEitherEndOfTheRange)
{
    GradientProgress bar = WaitBoxProgress();
    bar.SetPos(0);
    EXPECT_TRUE(bar.Paint(200).empty);
    bar.SetPos(100);
    EXPECT_TRUE(bar.Paint(200).empty);
    EXPECT_TRUE(bar.Paint(200).percentText.empty());
    bar.SetPos(150);
    EXPECT_TRUE(bar.Paint(200).empty);
}

TEST(GradientProgress, WaitBoxShowsThePercentage)
{
    GradientProgress bar = WaitBoxProgress();
    bar.SetPos(50);
    const auto layout = bar.Paint(200);
    EXPECT_FALSE(layout.empty);
    EXPECT_EQ(layout.percentText, "50%");
    EXPECT_EQ(bar.startColour, (RgbColour{0, 0, 255}));
    EXPECT_EQ(bar.endColour, (RgbColour{255, 255, 0}));
}

// Red to black is 255 steps; over 255 pixels each band is one pixel wide and
// band i has red 255 - i. At position 40 of 100, 102 pixels are filled.
TEST(GradientProgress, BandsUpToTheFilledWidthThenBackground)
{
    GradientProgress bar = Bar({255, 0, 0}, {0, 0, 0});
    bar.SetRange32(0, 100);
    bar.SetPos(40);
    const auto layout = bar.Paint(255);
    ASSERT_EQ(layout.bands.size(), 103u);
    EXPECT_EQ(layout.bands.front(), (GradientProgress::Band{0, 1, {255, 0, 0}}));
    EXPECT_EQ(layout.bands.back(), (GradientProgress::Band{102, 103, {153, 0, 0}}));
    EXPECT_EQ(layout.backgroundFrom, 103);
}

TEST(GradientProgress, TheSameColoursSitAtTheSamePlacesWhateverThePosition)
{
    GradientProgress bar = Bar({0, 0, 0}, {0, 100, 0});
    bar.SetPos(30);
    const auto shorter = bar.Paint(400);
    bar.SetPos(80);
    const auto longer = bar.Paint(400);
    ASSERT_LT(shorter.bands.size(), longer.bands.size());
    for (std::size_t i = 0; i < shorter.bands.size(); ++i)
        EXPECT_EQ(shorter.bands[i], longer.bands[i]);
}

TEST(GradientProgress, EqualColoursStillMakeOneBand)
{
    GradientProgress bar = Bar({10, 20, 30}, {10, 20, 30});
    bar.SetPos(50);
    const auto layout = bar.Paint(100);
    ASSERT_EQ(layout.bands.size(), 1u);
    EXPECT_EQ(layout.bands[0], (GradientProgress::Band{0, 100, {10, 20, 30}}));
}

TEST(GradientProgress, RangesThatDoNotStartAtZero)
{
    GradientProgress bar = Bar({0, 0, 0}, {0, 0, 200});
    bar.showPercent = true;
    bar.SetRange32(-100, 0);  // an upper bound of 0 must not divide by zero
    bar.SetPos(-50);
    auto layout = bar.Paint(200);
    EXPECT_FALSE(layout.empty);
    EXPECT_EQ(layout.percentText, "50%");
    EXPECT_EQ(layout.backgroundFrom, 101);

    bar.SetRange32(10, 10);
    bar.SetPos(10);
    EXPECT_TRUE(bar.Paint(200).empty);
    bar.SetRange32(50, 10);  // reversed
    bar.SetPos(30);
    EXPECT_TRUE(bar.Paint(200).empty);
}
