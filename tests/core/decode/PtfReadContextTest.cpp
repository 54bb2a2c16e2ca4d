#include "core/decode/PtfReadContext.h"

#include "core/decode/KtException.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

using vra::KtException;
using vra::PtfReadContext;

TEST(PtfReadContext, RoundsHalfAwayFromZeroSaturatesAndAlwaysSetsColours) {
    const double in[] = {2.5, -2.5, 2.49, -0.4, 1e12, -1e12, std::nan("")};
    const int out[] = {3, -3, 2, 0, std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), 0};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(PtfReadContext::RoundToInt(in[i]), out[i]) << in[i];

    float r = -1, g = -1, b = -1;
    PtfReadContext::HsvToRgb(1.0f / 3, 1.0f, 1.0f, r, g, b);
    EXPECT_NEAR(r, 0, 1e-5);
    EXPECT_FLOAT_EQ(g, 1);
    PtfReadContext::HsvToRgb(1.0f, 1.0f, 0.5f, r, g, b);  // a hue of one is zero
    EXPECT_FLOAT_EQ(r, 0.5f);
    EXPECT_FLOAT_EQ(g, 0);
    PtfReadContext::HsvToRgb(0.3f, 0.0f, 0.25f, r, g, b);
    EXPECT_FLOAT_EQ(b, 0.25f);
    r = g = b = -1;
    PtfReadContext::HsvToRgb(7.5f, 1.0f, 1.0f, r, g, b);
    EXPECT_TRUE(r >= 0 && g >= 0 && b >= 0);

    try {
        PtfReadContext::ThrowKtException("ptf\\LpLine", 28, "raceline.lp failed to open");
        FAIL();
    } catch (const std::exception& e) {  // framed, and catchable as a standard exception
        EXPECT_STREQ(e.what(),
                     "Error reported in ptf\\LpLine near line 28\nError message:\nraceline.lp failed to open");
        EXPECT_NE(dynamic_cast<const KtException*>(&e), nullptr);
    }
}
