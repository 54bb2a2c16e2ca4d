#include "core/graphs/GraphModel.h"

#include "RecordingParts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
