// The layout helpers of the object-stream builder: other tests take their
// expected geometry from these poses, so they are checked against plain
// circle facts here.
#include "track/PtfBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace vra::simkit;

TEST(PtfBuilderLayout, StraightEndsItsLengthAlongTheHeading) {
    const SegmentDesc s = StraightSegment(10, 20, std::numbers::pi / 2, 30);
    EXPECT_EQ(s.type, 0);
    EXPECT_NEAR(s.endX, 10, 1e-12);
    EXPECT_NEAR(s.endY, 50, 1e-12);
    EXPECT_DOUBLE_EQ(s.endHeading, s.startHeading);
}

TEST(PtfBuilderLayout, CornersTurnAboutACentreBesideTheStart) {
    const double pi = std::numbers::pi;
    const SegmentDesc left = CornerSegment(100, 0, 0, 50, pi / 2);
    EXPECT_EQ(left.type, 1);
    EXPECT_NEAR(left.endX, 150, 1e-9);
    EXPECT_NEAR(left.endY, 50, 1e-9);
    EXPECT_NEAR(left.endHeading, pi / 2, 1e-12);

    const SegmentDesc right = CornerSegment(100, 0, 0, 50, -pi / 2);
    EXPECT_NEAR(right.endX, 150, 1e-9);
    EXPECT_NEAR(right.endY, -50, 1e-9);
    EXPECT_NEAR(right.endHeading, -pi / 2, 1e-12);

    // A half turn heading west comes back east, with the heading kept in (-pi, pi].
    const SegmentDesc back = CornerSegment(0, 120, pi, 60, pi);
    EXPECT_NEAR(back.endX, 0, 1e-9);
    EXPECT_NEAR(back.endY, 0, 1e-9);
    EXPECT_NEAR(std::cos(back.endHeading), 1, 1e-12);
    EXPECT_GT(back.endHeading, -pi);
    EXPECT_LE(back.endHeading, pi);
}
