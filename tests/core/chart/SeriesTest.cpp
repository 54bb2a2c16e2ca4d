#include "core/chart/MarkerShapes.h"
#include "core/chart/Vec2.h"

#include "FixedMeasurer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

namespace vra {
namespace {

CXGraphDataSerie Curve(std::vector<Point2D> pts) {
    CXGraphDataSerie c;
    c.points = std::move(pts);
    return c;
}

std::vector<double> Ys(const std::vector<Point2D>& pts) {
    std::vector<double> out;
    for (const auto& p : pts) out.push_back(p.y);
    return out;
}

TEST(Series, TrendsOverThePointIndex) {
    auto c = Curve({{0, 2}, {10, 1}, {20, 6}, {30, 5}});
    const auto lin = c.LinearTrend(1);
    ASSERT_EQ(lin.size(), 5u);
    const double expected[] = {1.4, 2.8, 4.2, 5.6, 7.0};
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(lin[i].y, expected[i], 1e-12);
    EXPECT_EQ(lin[4].x, 40.0);

    const auto cub = Curve({{0, 1}, {1, 1}, {2, 1}}).CubicTrend(0);
    ASSERT_EQ(cub.size(), 3u);
    EXPECT_NEAR(cub[0].y, 36.0 / 794, 1e-15);
    EXPECT_NEAR(cub[2].y, 27 * 36.0 / 794, 1e-13);
    // c times the cube of the index, not c multiplied by the index three
    // times (which rounds differently at index 11).
    const auto far = Curve({{0, 1}, {1, 1}, {2, 1}}).CubicTrend(8);
    ASSERT_EQ(far.size(), 11u);
    EXPECT_EQ(far[10].y, (36.0 / 794) * 1331.0);
    EXPECT_EQ(far[10].x, 10.0);

    // Fewer than two points, and oversized extensions, give nothing.
    EXPECT_TRUE(Curve({{1, 1}}).LinearTrend(0).empty());
    EXPECT_TRUE(Curve({}).CubicTrend(0).empty());
    auto two = Curve({{0, 0}, {1, 1}});
    EXPECT_EQ(two.LinearTrend(1000000).size(), 1000002u);
    EXPECT_TRUE(two.LinearTrend(1000001).empty());
    EXPECT_TRUE(two.LinearTrend(-1).empty());
}

TEST(Series, PolynomialTrendOverX) {
    auto c = Curve({{0, 1}, {1, 3}, {3, 4}});
    const auto p = c.PolynomialTrend(2, 2);
    ASSERT_EQ(p.size(), 5u);
    EXPECT_NEAR(c.solver.coef[0], 10.0 / 7, 1e-12);
    EXPECT_NEAR(c.solver.coef[1], 13.0 / 14, 1e-12);
    EXPECT_EQ(p[3].x, 5.0);
    EXPECT_EQ(p[4].x, 7.0);
    EXPECT_NEAR(p[3].y, 85.0 / 14, 1e-12);

    auto q = Curve({{0, 1}, {1, 3}, {2, 9}, {3, 19}});
    const auto r = q.PolynomialTrend(3, 1);
    ASSERT_EQ(r.size(), 5u);
    EXPECT_NEAR(q.solver.coef[0], 1, 1e-12);
    EXPECT_NEAR(q.solver.coef[1], 0, 1e-12);
    EXPECT_NEAR(q.solver.coef[2], 2, 1e-12);
    EXPECT_NEAR(r[4].y, 33, 1e-9);
    EXPECT_EQ(PolynomialLabel(q.solver), "f(x)=1.0000e+00*X^0+\n2.0000e+00*X^2");
    CPolynomialSolver lastZero;
    lastZero.count = 2;
    lastZero.coef[0] = 1;
    EXPECT_EQ(PolynomialLabel(lastZero), "f(x)=1.0000e+00*X^0+\n");

    // Every term is the coefficient times the power itself: 0.3 x 0.3 x 0.3
    // is one unit in the last place above 0.3 cubed.
    CPolynomialSolver cube;
    cube.count = 4;
    cube.coef[3] = 1;
    EXPECT_EQ(cube.Evaluate(0.3), std::pow(0.3, 3.0));
    EXPECT_EQ(cube.Evaluate(0.0), 0.0);
    cube.coef[0] = 2;
    EXPECT_EQ(cube.Evaluate(0.0), 2.0);

    // Too few distinct x values fail, however the rounding falls.
    EXPECT_TRUE(Curve({{0.1, 1}, {0.1, 2}, {0.1, 3}}).PolynomialTrend(2, 0).empty());
    EXPECT_TRUE(Curve({{0, 1}, {1, 2}}).PolynomialTrend(3, 0).empty());
    EXPECT_TRUE(Curve({{0, 1}}).PolynomialTrend(1, 0).empty());
    EXPECT_TRUE(Curve({{0, 1}, {1, 2}}).PolynomialTrend(22, 0).empty());
    EXPECT_TRUE(Curve({{0, 1}, {1, 2}}).PolynomialTrend(0, 0).empty());
    EXPECT_TRUE(Curve({{0, 1}, {1e200, 2}}).PolynomialTrend(2, 0).empty());
}

TEST(Series, MovingAveragesLeaveTheFirstPointOut) {
    auto c = Curve({{0, 10}, {1, 20}, {2, 30}, {3, 40}});
    using ::testing::DoubleNear;
    using ::testing::ElementsAre;
    EXPECT_THAT(Ys(c.SimpleMovingAverage(3)), ElementsAre(10, 20, 25, 30));
    EXPECT_THAT(Ys(c.LinearMovingAverage(3)),
                ElementsAre(10, 20, DoubleNear(26.6666667, 1e-6), DoubleNear(33.3333333, 1e-6)));
    EXPECT_THAT(Ys(c.TriangularMovingAverage(3)), ElementsAre(10, 20, DoubleNear(25, 1e-12), DoubleNear(30, 1e-12)));
    EXPECT_THAT(Ys(c.SineWeightedMovingAverage(3)),
                ElementsAre(10, 20, DoubleNear(25.857864376, 1e-8), DoubleNear(30, 1e-9)));
    EXPECT_THAT(Ys(c.ExponentialMovingAverage(3)), ElementsAre(10, 15, 22.5, 31.25));
    EXPECT_THAT(Ys(c.ExponentialMovingAverage(1)), ElementsAre(10, 20, 30, 40));
    EXPECT_TRUE(c.SimpleMovingAverage(0).empty());
    EXPECT_TRUE(Curve({}).SimpleMovingAverage(3).empty());
    EXPECT_EQ(Curve({{1, 2}}).LinearMovingAverage(3).size(), 1u);
}

TEST(Series, HitTestingUsesTheDistanceFromTheLine) {
    EXPECT_DOUBLE_EQ(PointLineDistance(0, 0, 10, 0, 3, 4), 4);
    EXPECT_TRUE(std::isnan(PointLineDistance(3, 3, 3, 3, 3, 4)));
    EXPECT_TRUE(CXGraphDataSerie::HitTest(0, 0, 10, 0, 5, 2, 4));
    EXPECT_FALSE(CXGraphDataSerie::HitTest(0, 0, 10, 0, 5, 3, 4));
    EXPECT_TRUE(CXGraphDataSerie::HitTest(0, 0, 10, 0, 5, 1, 1));
    // A segment of no length is hit near its point.
    EXPECT_TRUE(CXGraphDataSerie::HitTest(3, 3, 3, 3, 3, 4, 4));
    EXPECT_FALSE(CXGraphDataSerie::HitTest(3, 3, 3, 3, 3, 6, 4));
}

TEST(Series, MarkerShapesAndNumberColours) {
    const auto diamond = MarkerGeometry(3, 10, 20, 8);
    EXPECT_EQ(diamond.polygon, (std::vector<IPoint>{{14, 20}, {18, 24}, {14, 28}, {10, 24}}));
    const auto left = MarkerGeometry(4, 10, 20, 8);
    EXPECT_EQ(left.polygon, (std::vector<IPoint>{{17, 20}, {10, 24}, {17, 28}}));
    EXPECT_EQ(MarkerGeometry(9, 0, 0, 4).kind, MarkerShapeKind::Rectangle);
    EXPECT_EQ(NumberedMarkerTextColour({255, 255, 0}, false), kBlack);
    EXPECT_EQ(NumberedMarkerTextColour({0, 0, 255}, false), kWhite);
    EXPECT_EQ(NumberedMarkerTextColour({129, 0, 0}, false), kBlack);
    EXPECT_EQ(NumberedMarkerTextColour({128, 128, 0}, false), kWhite);
}

TEST(Series, SetDataAddsReplacesAndRefuses) {
    ChartModel m;
    const Point2D pts[] = {{0, 5}, {1, 6}, {2, 7}};
    auto* c = m.SetData(pts, 3, 0, 0, 0);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(m.GetXAxis(0).curMin, 0.0);
    EXPECT_EQ(m.GetXAxis(0).curMax, 2.0);
    EXPECT_EQ(m.GetYAxis(0).curMin, 5.0);
    EXPECT_EQ(m.GetYAxis(0).curMax, 7.0);
    EXPECT_EQ(c->colour, ChartModel::kCurveColours[0]);

    // An empty curve is still a curve and moves no axis.
    EXPECT_NE(m.SetData(nullptr, 0, 1, 0, 0), nullptr);
    EXPECT_EQ(m.CurveCount(), 2);
    EXPECT_EQ(m.GetYAxis(0).curMax, 7.0);
    // Indices above the counts and negative counts are refused.
    EXPECT_EQ(m.SetData(pts, 3, 3, 0, 0), nullptr);
    EXPECT_EQ(m.SetData(pts, 3, 2, 2, 0), nullptr);
    EXPECT_EQ(m.SetData(pts, -1, 2, 0, 0), nullptr);
    EXPECT_EQ(m.CurveCount(), 2);
    EXPECT_EQ(m.xAxes.size(), 1u);
    // Non-finite points do not reach the ranges.
    const Point2D odd[] = {{NAN, 1}, {3, INFINITY}, {-1, 8}};
    m.SetData(odd, 3, 2, 0, 0);
    EXPECT_EQ(m.GetXAxis(0).curMin, -1.0);
    EXPECT_EQ(m.GetXAxis(0).curMax, 3.0);
    EXPECT_EQ(m.GetYAxis(0).curMax, 8.0);
    // So do those that replace a curve's points of the same count.
    ChartModel r;
    r.SetData(pts, 3, 0, 0, 0);
    const Point2D wider[] = {{NAN, 1}, {4, INFINITY}, {-2, 9}};
    r.SetData(wider, 3, 0, 0, 0);
    EXPECT_EQ(r.GetXAxis(0).curMin, -2.0);
    EXPECT_EQ(r.GetXAxis(0).curMax, 4.0);
    EXPECT_EQ(r.GetYAxis(0).curMax, 9.0);
    EXPECT_EQ(r.curves[0].points[2].y, 9.0);
    for (int i = 3; i < 13; ++i) m.SetData(pts, 3, i, 0, 0);
    EXPECT_EQ(m.curves[12].colour, ChartModel::kCurveColours[0]);
    // A new axis index adds exactly one axis.
    m.SetData(pts, 3, 13, 1, 1);
    EXPECT_EQ(m.xAxes.size(), 2u);
    EXPECT_EQ(m.yAxes.size(), 2u);
    EXPECT_FALSE(m.SelectCurve(14));
    EXPECT_TRUE(m.SelectXAxis(1));
    EXPECT_TRUE(m.GetXAxis(1).hit);
    EXPECT_FALSE(m.GetXAxis(0).hit);
}

}  // namespace
}  // namespace vra
