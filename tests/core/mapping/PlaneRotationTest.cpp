#include "core/mapping/PlaneRotation.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace vra;

TEST(PlaneRotation, TurnsKeepLengthAndAddAngles) {
    const Point2D quarter = RotateComplex(Point2D{1, 0}, PolarUnit(std::numbers::pi / 2));
    EXPECT_NEAR(quarter.x, 0.0, 1e-12);
    EXPECT_NEAR(quarter.y, 1.0, 1e-12);
    const Point2D p{3, 4};
    const Point2D once = RotateComplex(RotateComplex(p, PolarUnit(0.3)), PolarUnit(0.5));
    const Point2D both = RotateComplex(p, PolarUnit(0.8));
    EXPECT_NEAR(once.x, both.x, 1e-12);
    EXPECT_NEAR(once.y, both.y, 1e-12);
    EXPECT_NEAR(std::hypot(both.x, both.y), 5.0, 1e-12);
    const Point2D half = RotateComplex(p, PolarUnit(std::numbers::pi));
    EXPECT_NEAR(half.x, -3.0, 1e-12);
    EXPECT_NEAR(half.y, -4.0, 1e-12);
}
