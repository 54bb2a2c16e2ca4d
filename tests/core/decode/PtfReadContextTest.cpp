#include "decode/KtException.h"
#include "decode/PtfReadContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

using vra::KtException;
using vra::PtfReadContext;

TEST(PtfReadContext, RoundsHalfAwayFromZeroAndSaturates) {
    EXPECT_EQ(PtfReadContext::RoundToInt(2.5), 3);
    EXPECT_EQ(PtfReadContext::RoundToInt(-2.5), -3);
    EXPECT_EQ(PtfReadContext::RoundToInt(2.49), 2);
    EXPECT_EQ(PtfReadContext::RoundToInt(-0.4), 0);
    EXPECT_EQ(PtfReadContext::RoundToInt(1e12), std::numeric_limits<int>::max());
    EXPECT_EQ(PtfReadContext::RoundToInt(-1e12), std::numeric_limits<int>::min());
    EXPECT_EQ(PtfReadContext::RoundToInt(std::nan("")), 0);
}

TEST(PtfReadContext, HsvToRgbTakesOneAsZeroAndAlwaysSetsItsOutputs) {
    float r = -1, g = -1, b = -1;
    PtfReadContext::HsvToRgb(1.0f / 3, 1.0f, 1.0f, r, g, b);
    EXPECT_NEAR(r, 0, 1e-5);
    EXPECT_FLOAT_EQ(g, 1);
    PtfReadContext::HsvToRgb(1.0f, 1.0f, 0.5f, r, g, b);
    EXPECT_FLOAT_EQ(r, 0.5f);
    EXPECT_FLOAT_EQ(g, 0);
    PtfReadContext::HsvToRgb(0.3f, 0.0f, 0.25f, r, g, b);
    EXPECT_FLOAT_EQ(b, 0.25f);
    r = g = b = -1;
    PtfReadContext::HsvToRgb(7.5f, 1.0f, 1.0f, r, g, b);
    EXPECT_TRUE(r >= 0 && g >= 0 && b >= 0);
}

TEST(PtfReadContext, ThrowsFramedMessagesCatchableAsStdExceptions) {
    try {
        PtfReadContext::ThrowKtException("ptf\\LpLine", 28, "raceline.lp failed to open");
        FAIL();
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Error reported in ptf\\LpLine near line 28\nError message:\nraceline.lp failed to open");
        EXPECT_NE(dynamic_cast<const KtException*>(&e), nullptr);
    }
}
