#include "core/graphs/GraphModel.h"

#include "RecordingParts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

using namespace vra;
using ::testing::ElementsAre;

TEST(PointsCollection, SortedWithoutDuplicatesKeepsTheLastYOfEqualX) {
    CPointsCollection c(true, false);
    for (auto [x, y] : {std::pair{3.0, 30.0}, {1.0, 10.0}, {2.0, 20.0}, {2.0, 21.0}}) c.Add(x, y, true);
    ASSERT_EQ(c.Count(), 3);
    EXPECT_EQ(c.At(0), (Point2D{1, 10}));
    EXPECT_EQ(c.At(1), (Point2D{2, 21}));
    EXPECT_EQ(c.At(2), (Point2D{3, 30}));
    EXPECT_EQ(c.Minimum(), (Point2D{1, 10}));
    EXPECT_EQ(c.Maximum(), (Point2D{3, 30}));

    CPointsCollection dup(true, true);
    dup.Add(2, 1, true);
    EXPECT_EQ(dup.Add(2, 2, true), 0);  // the later one stands first
    EXPECT_EQ(dup.At(0).y, 2);

    CPointsCollection unsorted(false, false);
    unsorted.Add(5, 0, true);
    unsorted.Add(1, 0, true);
    EXPECT_EQ(unsorted.At(1).x, 1);
    EXPECT_EQ(unsorted.Replace(2, 0, 0, true), -1);
    EXPECT_EQ(unsorted.Insert(3, 0, 0, true), -1);
}

TEST(PointsCollection, ManyEqualXStayQuick) {
    // A car standing still: every sample lands on the same distance.
    CPointsCollection c(true, false);
    c.Add(1.0, 0, false);
    for (int i = 0; i < 100000; ++i) c.Add(5.0, i, false);
    c.Add(9.0, 0, false);
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(c.At(1).y, 99999);
}

TEST(PointsCollection, AddingInOneStepEqualsAddingOneByOne) {
    // Rising runs with a car standing (equal x, whose replaced y narrows the
    // extents), going back, a point before all others and distances that are
    // not numbers; long runs whose y are not numbers or zeros of both signs.
    const std::vector<std::vector<Point2D>> laps = {
        {{NAN, 1},
         {1, 5},
         {2, -3},
         {3, 9},
         {3, 0},
         {2.5, 7},
         {4, 1},
         {0, -9},
         {5, 2},
         {NAN, 40},
         {6, -1},
         {7, 3},
         {-0.0, 8},
         {0.0, 6},
         {8, 4},
         {9, 9},
         {9, 1}},
        {{1, 2}, {2, NAN}, {3, -0.0}, {4, 0.0}, {5, 3}, {6, -0.0}, {7, -2}, {8, 0.0}, {9, 1}, {10, 0.0}, {11, -0.0}},
        {{1, NAN}, {2, 0.0}, {3, -0.0}, {4, 0.0}, {5, -0.0}, {6, 0.0}, {7, 0.0}, {8, -0.0}, {9, 0.0}, {10, 1}},
        {{1, 5}, {2, 7}, {3, -0.0}, {4, 8}, {5, 9}, {6, 0.0}, {7, 3}, {8, -0.0}, {9, 6}, {10, 0.0}, {11, 2}},
        {{1, -5}, {2, -7}, {3, 0.0}, {4, -8}, {5, -9}, {6, -0.0}, {7, -3}, {8, 0.0}, {9, -6}, {10, -0.0}, {11, -2}},
    };
    // Bit for bit, so that not a number and the sign of zero compare too.
    const auto same = [](const Point2D& a, const Point2D& b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    for (const auto& points : laps)
        for (std::size_t skip : {0u, 1u, 2u})
            for (std::size_t split : {5u, 9u}) {
                CPointsCollection one(true, false), all(true, false);
                for (std::size_t i = skip; i < points.size(); ++i) one.Add(points[i].x, points[i].y, true);
                all.AddAll(std::span(points).subspan(skip, split - skip));
                all.AddAll(std::span(points).subspan(split));
                ASSERT_EQ(all.Count(), one.Count());
                for (int i = 0; i < one.Count(); ++i) EXPECT_TRUE(same(all.At(i), one.At(i))) << i;
                EXPECT_TRUE(same(all.Minimum(), one.Minimum()));
                EXPECT_TRUE(same(all.Maximum(), one.Maximum()));
            }
}

TEST(GraphModel, AddingPointsTellsThePartsOfEachPoint) {
    GraphModel g(2);
    RecordingParts parts;
    g.SetParts(&parts);
    const int s = g.AddGraph({}, "a", 0, true, false);
    const std::vector<Point2D> points = {{2, 1}, {3, 1}, {1, 1}, {3, 2}};
    g.AddPoints(s, points, 0);
    ASSERT_EQ(parts.sent.size(), 5u);
    std::vector<int> indices;
    for (std::size_t i = 1; i < parts.sent.size(); ++i) indices.push_back(parts.sent[i].index);
    EXPECT_THAT(indices, ElementsAre(0, 1, 0, 2));
    EXPECT_EQ(g.GetGraph(s)->Count(), 3);
}

TEST(GraphModel, SlotsFillFromTheLowestAndReportAFullGraph) {
    GraphModel g(32);
    for (int i = 0; i < 32; ++i) ASSERT_EQ(g.AddGraph({}, "s", 0, true, false), i);
    EXPECT_EQ(g.AddGraph({}, "s", 0, true, false), -1);
    EXPECT_EQ(g.RemoveGraph(5, 0), 5);
    EXPECT_EQ(g.AddGraph({}, "s", 0, true, false), 5);
    EXPECT_EQ(g.GetGraph(32), nullptr);
    EXPECT_EQ(g.GetGraph(-1), nullptr);
    EXPECT_EQ(g.RemoveGraph(40, 0), -1);
}

TEST(GraphModel, NotifiesOnlyRealChanges) {
    GraphModel g(4);
    RecordingParts parts;
    g.SetParts(&parts);
    g.ClearPoints(-1, 1);
    EXPECT_THAT(parts.Codes(), ElementsAre(kPointsCleared));
    parts.sent.clear();

    const int s = g.AddGraph({}, "a", 1, true, false);
    g.AddPoint(s, 2, 1, 0, -1);
    g.AddPoint(s, 1, 1, 0, 0);
    EXPECT_EQ(parts.sent.back().index, 0);  // the point's real index
    EXPECT_EQ(g.RemovePoint(s, 7, 1), -1);
    EXPECT_EQ(g.ReplacePoint(s, 7, 0, 0, 1), -1);
    EXPECT_EQ(g.RemovePoint(3, 0, 1), -1);
    EXPECT_THAT(parts.Codes(), ElementsAre(kGraphAdded, kPointAdded, kPointAdded));
    g.ShowPointsBar(1 | 8);
    EXPECT_TRUE(parts.barShown);
    EXPECT_EQ(parts.sent.back().code, kBarLive);
}

TEST(GraphModel, BoundsSkipHiddenAndEmptySeries) {
    GraphModel g(4);
    double a = -7, b = -7, c = -7, d = -7;
    EXPECT_FALSE(g.GetDataBounds(a, b, c, d));
    EXPECT_EQ(a, -7);
    const int hidden = g.AddGraph({}, "h", 0, true, false);
    g.AddPoint(hidden, -100, -100, 0, -1);
    g.GetGraph(hidden)->visible = false;
    g.AddGraph({}, "empty", 0, true, false);
    const int one = g.AddGraph({}, "one", 0, true, false);
    g.AddPoint(one, 4, 5, 0, -1);
    ASSERT_TRUE(g.GetDataBounds(a, b, c, d));
    EXPECT_EQ(a, 4);
    EXPECT_EQ(b, 4);
    EXPECT_EQ(c, 5);
    EXPECT_EQ(d, 5);
}

TEST(GraphModel, FormatsValuesByAxisAndStyle) {
    GraphModel g(1);
    g.SetAxis("Distance", "Meter", 0, 1, 0);
    g.SetAxis("Speed", "Kph", 2, 0, 0);
    EXPECT_EQ(g.FormatValue(1.23456, 1, 1), "1 Meter");
    EXPECT_EQ(g.FormatValue(1.23456, 0, 2), "Speed: 1.23 Kph");
    EXPECT_EQ(g.FormatValue(1.23456, 0, 0), "1.23");
    EXPECT_EQ(g.FormatValue(1.23456, 1, 3), "");
    EXPECT_EQ(g.GetAxisInfo(1).Title(), "Distance, Meter");
}
