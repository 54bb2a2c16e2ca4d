#include "mapping/PlaneRotation.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace vra;

namespace {
struct Pt {
    double x;
    double y;
};
}  // namespace

TEST(PlaneRotation, AQuarterTurnTurnsXIntoY)
{
    const PlaneVector u = PolarUnit(std::numbers::pi / 2);
    const Pt r = RotateComplex(Pt{1, 0}, u);
    EXPECT_NEAR(r.x, 0.0, 1e-12);
    EXPECT_NEAR(r.y, 1.0, 1e-12);
}

TEST(PlaneRotation, TurnsKeepLengthAndAddAngles)
{
    const Pt p{3, 4};
    const Pt once = RotateComplex(RotateComplex(p, PolarUnit(0.3)), PolarUnit(0.5));
    const Pt both = RotateComplex(p, PolarUnit(0.8));
    EXPECT_NEAR(once.x, both.x, 1e-12);
    EXPECT_NEAR(once.y, both.y, 1e-12);
    EXPECT_NEAR(std::hypot(both.x, both.y), 5.0, 1e-12);
    const Pt half = RotateComplex(p, PolarUnit(std::numbers::pi));
    EXPECT_NEAR(half.x, -3.0, 1e-12);
    EXPECT_NEAR(half.y, -4.0, 1e-12);
}
