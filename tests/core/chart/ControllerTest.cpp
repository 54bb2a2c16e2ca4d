#include "core/chart/ChartController.h"

#include "FixedMeasurer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vra {
namespace {

using test::ExampleChart;
using ::testing::Contains;
using ::testing::Not;

std::vector<int> Posted(const ChartEvents& ev) {
    std::vector<int> out;
    for (const auto& e : ev)
        if (e.kind == ChartEvent::Kind::Post) out.push_back(e.message);
    return out;
}

std::pair<double, double> Range(const CXGraphAxis& a) {
    return {a.curMin, a.curMax};
}

TEST(Controller, KeysStepTheViewByATenth) {
    struct Case {
        ChartKey key;
        std::pair<double, double> x, y;
    } cases[] = {
        {ChartKey::Add, {10, 90}, {10, 90}},   {ChartKey::Subtract, {-10, 110}, {-10, 110}},
        {ChartKey::Left, {10, 110}, {0, 100}}, {ChartKey::Right, {-10, 90}, {0, 100}},
        {ChartKey::Up, {0, 100}, {-10, 90}},   {ChartKey::Down, {0, 100}, {10, 110}},
    };
    for (const auto& k : cases) {
        ExampleChart c;
        ChartController ctl(c.model);
        ctl.KeyUp(k.key);
        EXPECT_EQ(Range(c.x()), k.x);
        EXPECT_EQ(Range(c.y()), k.y);
        ctl.KeyUp(ChartKey::Home);
        EXPECT_EQ(Range(c.x()), (std::pair{0.0, 100.0}));
        EXPECT_EQ(Range(c.y()), (std::pair{0.0, 100.0}));
    }

    // Two keys before a repaint both step by a tenth of the drawn width 100.
    ExampleChart c;
    ChartController ctl(c.model);
    ctl.KeyUp(ChartKey::Add);
    ctl.KeyUp(ChartKey::Add);
    EXPECT_EQ(Range(c.x()), (std::pair{20.0, 80.0}));
    EXPECT_EQ(Range(c.y()), (std::pair{20.0, 80.0}));
    ctl.Command(chartcmd::kPan);  // drawn as it is: 20 ... 80
    c.Layout();
    ctl.KeyUp(ChartKey::Left);
    EXPECT_EQ(Range(c.x()), (std::pair{26.0, 86.0}));
}

TEST(Controller, RubberBandZoomsOnceAndKeepsHistory) {
    ExampleChart c;
    ChartController ctl(c.model);
    ctl.Command(chartcmd::kZoom);
    ctl.LeftDown({100, 50});
    ctl.MouseMove({200, 150}, true);
    const auto ev = ctl.LeftUp({200, 150});
    EXPECT_EQ(Posted(ev), std::vector<int>{chartmsg::kZoomed});
    EXPECT_NEAR(c.x().curMin, 16.442953, 1e-6);
    EXPECT_NEAR(c.x().curMax, 50, 1e-9);
    EXPECT_NEAR(c.y().curMin, 52.136752, 1e-6);
    EXPECT_NEAR(c.y().curMax, 94.871795, 1e-6);
    ASSERT_EQ(c.x().zoomHistory.size(), 1u);
    EXPECT_EQ(c.x().zoomHistory[0], (Point2D{0, 100}));
    EXPECT_EQ(c.y().zoomHistory[0], (Point2D{0, 100}));

    // 14 pixels is too small a band: nothing changes, nothing is posted.
    ExampleChart d;
    ChartController small(d.model);
    small.Command(chartcmd::kZoom);
    small.LeftDown({100, 50});
    small.MouseMove({114, 150}, true);
    EXPECT_TRUE(Posted(small.LeftUp({114, 150})).empty());
    EXPECT_EQ(Range(d.x()), (std::pair{0.0, 100.0}));
}

TEST(Controller, PanMovesTheDataWithTheMouse) {
    ExampleChart c;
    ChartController ctl(c.model);
    ctl.Command(chartcmd::kPan);
    EXPECT_FALSE(c.x().autoscale);
    ctl.LeftDown({100, 100});
    ctl.MouseMove({249, 100}, true);
    EXPECT_NEAR(c.x().curMin, -50, 1e-9);
    EXPECT_NEAR(c.x().curMax, 50, 1e-9);
    EXPECT_EQ(Range(c.y()), (std::pair{0.0, 100.0}));
}

struct LapChart : ExampleChart {
    LapChart() : ExampleChart(false) {
        model.curves.clear();
        model.xAxes.clear();
        model.yAxes.clear();
        const Point2D pts[] = {{10, 30}, {11, 32}, {12, 34.5}, {13, 33}, {14, 31}};
        model.SetData(pts, 5, 0, 0, 0)->name = "Laptime";
        x().label = "Min";
        y().label = "Sec";
        Layout();
    }
};

TEST(Controller, CursorSnapsReadsOutAndNotes) {
    LapChart c;
    ChartController ctl(c.model);
    ctl.Command(chartcmd::kCursor);
    const IPoint at{c.x().GetPointForValue({12, 0}).x, c.y().GetPointForValue({0, 34.5}).y + 4};
    const auto ev = ctl.MouseMove(at, false);
    EXPECT_THAT(Posted(ev), Contains(chartmsg::kCursorMoved));
    EXPECT_EQ(c.model.snappedCurve, 0);
    EXPECT_TRUE(c.model.ReadOut().visible);
    const std::string& text = c.model.ReadOut().text;
    const std::string line = " Laptime[01] :  12.0,  34.5\r\n";
    ASSERT_GE(text.size(), line.size());
    EXPECT_EQ(text.substr(text.size() - line.size()), line);
    EXPECT_EQ(ctl.cross()->y, at.y - 4);

    ctl.LeftDown(at);
    ctl.LeftUp(at);
    ASSERT_EQ(c.model.objects.size(), 2u);
    auto* note = dynamic_cast<CXGraphDataNotation*>(c.model.objects[1].get());
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text, "[3] :  12.0Min, 34.5Sec");
    c.Layout();
    EXPECT_EQ(note->rect.top, note->anchor.y - 20);

    // Hidden curves catch nothing.
    c.model.curves[0].visible = false;
    ctl.MouseMove(at, false);
    EXPECT_EQ(c.model.snappedCurve, -1);
}

TEST(Controller, PaintingRedrawsTheCursorForRangesChangedSinceTheMove) {
    ExampleChart c;  // plot (51, 5, 395, 272), y 234 pixels for 0 ... 100
    const Point2D low[] = {{0, 3}, {100, 97}};
    c.model.SetData(low, 2, 1, 0, 0);
    c.Layout();
    ChartController ctl(c.model);
    ctl.Command(chartcmd::kCursor);

    // y 3 lies at 264: the mouse at 256 snaps to curve 1 (8 pixels) and
    // not to curve 0 at 272 (16); the paint after the move keeps that.
    ctl.MouseMove({51, 256}, false);
    EXPECT_EQ(c.model.snappedCurve, 1);
    ctl.Painting();
    EXPECT_EQ(c.model.snappedCurve, 1);

    // "+" narrows both axes to 10 ... 90; the next paint reads them at the
    // same mouse point, now too far from either curve to snap.
    ctl.KeyUp(ChartKey::Add);
    c.Layout();
    ctl.Painting();
    EXPECT_EQ(c.model.snappedCurve, -1);
    EXPECT_EQ(c.model.ReadOut().text, " X[01] :  10.0  \r\n Y[01] :  12.7  \r\n");
}

TEST(Controller, NearestPointIsTheCloserNeighbourTiesLow) {
    ChartModel m;
    const Point2D a[] = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}};
    const Point2D b[] = {{0, 0}, {1, 0}, {10, 0}, {11, 0}};
    m.SetData(a, 5, 0, 0, 0);
    m.SetData(b, 4, 1, 0, 0);
    m.SetData(nullptr, 0, 2, 0, 0);
    const auto& x = m.GetXAxis(0);
    EXPECT_EQ(x.GetNearestPointIndex(1.1, 0), 1);
    EXPECT_EQ(x.GetNearestPointIndex(1.0, 0), 1);
    EXPECT_EQ(x.GetNearestPointIndex(1.5, 0), 1);
    EXPECT_EQ(x.GetNearestPointIndex(9, 1), 2);
    EXPECT_EQ(x.GetNearestPointIndex(-5, 1), 0);
    EXPECT_EQ(x.GetNearestPointIndex(50, 1), 3);
    EXPECT_EQ(x.GetNearestPointIndex(1, 2), -1);
}

TEST(Controller, DeletingACurveRenumbersWhatNamesCurves) {
    ExampleChart c;
    const Point2D pts[] = {{0, 10}, {50, 20}, {100, 30}};
    c.model.SetData(pts, 3, 1, 0, 0);
    c.model.SetData(pts, 3, 2, 0, 0);
    c.model.AddNotation(1, 1, "on one");
    c.model.AddNotation(2, 1, "on two");
    auto* label = c.model.InsertLabel({10, 10, 50, 50}, "x");
    label->curve = 2;
    c.model.selectedCurve = 1;
    c.Layout();
    ASSERT_TRUE(c.model.DeleteCurve(1));
    c.Layout();
    ASSERT_EQ(c.model.objects.size(), 3u);
    auto* note = dynamic_cast<CXGraphDataNotation*>(c.model.objects[1].get());
    EXPECT_EQ(note->text, "on two");
    EXPECT_EQ(note->curve, 1);
    EXPECT_EQ(label->curve, 1);
    EXPECT_EQ(c.model.selectedCurve, -1);
    EXPECT_EQ(c.model.curves[1].curveIndex, 1);
    EXPECT_FALSE(c.model.DeleteCurve(2));

    c.model.activeTracker = c.model.currentObject = label;
    c.model.ResetAll();
    EXPECT_EQ(c.model.objects.size(), 1u);
    EXPECT_EQ(c.model.currentObject, nullptr);
    EXPECT_EQ(c.model.activeTracker, nullptr);
    c.Layout();
}

TEST(Controller, ClicksSelectAndDoubleClicksEdit) {
    ExampleChart c;
    ChartController ctl(c.model);
    const IPoint onCurve{c.x().GetPointForValue({50, 0}).x, c.y().GetPointForValue({0, 50}).y};
    ctl.LeftDown(onCurve);
    auto ev = ctl.LeftUp(onCurve);
    EXPECT_EQ(Posted(ev), std::vector<int>{chartmsg::kCurveClicked});
    EXPECT_EQ(c.model.selectedCurve, 0);
    EXPECT_TRUE(c.model.curves[0].hit);

    ctl.Command(chartcmd::kLinearTrend);
    EXPECT_EQ(c.model.CurveCount(), 2);
    EXPECT_EQ(c.model.curves[1].name, "  linear trend");

    const IPoint empty{300, 30};
    ctl.LeftDown(empty);
    EXPECT_TRUE(Posted(ctl.LeftUp(empty)).empty());
    ev = ctl.LeftDoubleClick(empty);
    EXPECT_EQ(Posted(ev), std::vector<int>{chartmsg::kNothingEdit});
    EXPECT_THAT(ev, Contains(::testing::Field(&ChartEvent::kind, ChartEvent::Kind::OpenSheet)));

    const IPoint onY{c.y().originX, 150};
    ev = ctl.LeftDoubleClick(onY);
    EXPECT_EQ(Posted(ev), std::vector<int>{chartmsg::kYAxisEdit});

    // A label: a click selects it, Delete removes it but never the read-out.
    auto* label = c.model.InsertLabel({200, 100, 260, 140}, "note");
    ctl.LeftDown({210, 110});
    ctl.LeftUp({210, 110});
    EXPECT_TRUE(label->selected);
    ctl.DeleteKey();
    EXPECT_EQ(c.model.objects.size(), 1u);
    c.model.ReadOut().visible = true;
    c.model.ReadOut().selected = true;
    ctl.LeftDown({150, 150});
    ctl.DeleteKey();
    EXPECT_EQ(c.model.objects.size(), 1u);
}

TEST(Controller, DeselectingAnObjectFreesTheTrackerForTheNextClick) {
    // Three labels that do not edit in place, so a double click selects.
    ExampleChart c;
    ChartController ctl(c.model);
    CXGraphLabel* labels[3];
    for (int i = 0; i < 3; ++i) {
        labels[i] = c.model.InsertLabel({100 + 60 * i, 100, 150 + 60 * i, 140}, "l");
        labels[i]->editable = false;
    }
    auto click = [&](IPoint p) {
        ctl.LeftDown(p);
        ctl.LeftUp(p);
    };
    click({230, 120});
    EXPECT_TRUE(labels[2]->selected);
    // Double click on the middle one: it is selected, the last one loses its
    // selection and with it the tracker, so the next click selects the first.
    ctl.LeftDoubleClick({170, 120});
    EXPECT_TRUE(labels[1]->selected);
    EXPECT_FALSE(labels[2]->selected);
    EXPECT_EQ(c.model.activeTracker, nullptr);
    click({110, 120});
    EXPECT_TRUE(labels[0]->selected);
    EXPECT_FALSE(labels[1]->selected);

    // Two overlapping labels both selected, the first holding the tracker:
    // deleting the second (the one under the press) frees the tracker too.
    ExampleChart d;
    ChartController ctl2(d.model);
    auto* front = d.model.InsertLabel({100, 100, 150, 140}, "a");
    auto* back = d.model.InsertLabel({120, 100, 170, 140}, "b");
    front->editable = back->editable = false;
    ctl2.LeftDown({160, 120});
    ctl2.LeftUp({160, 120});
    ctl2.LeftDown({130, 120});
    ctl2.LeftUp({130, 120});
    ctl2.LeftDoubleClick({130, 120});
    EXPECT_TRUE(front->selected && back->selected);
    EXPECT_EQ(d.model.activeTracker, front);
    ctl2.DeleteKey();
    EXPECT_EQ(d.model.objects.size(), 2u);
    EXPECT_EQ(d.model.activeTracker, nullptr);
}

TEST(Controller, WithoutInteractivityOnlyTheRightButtonSpeaks) {
    ExampleChart c;
    c.model.interactive = false;
    ChartController ctl(c.model);
    EXPECT_TRUE(ctl.LeftDoubleClick({300, 30}).empty());
    EXPECT_TRUE(Posted(ctl.Command(chartcmd::kProperties)).empty());
    ctl.LeftDown({300, 30});
    EXPECT_EQ(Posted(ctl.RightUp({300, 30})), std::vector<int>{chartmsg::kRightButtonUp});
    auto* label = c.model.InsertLabel({200, 100, 260, 140}, "hint");
    ctl.LeftDown({210, 110});
    const auto ev = ctl.RightUp({210, 110});
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].kind, ChartEvent::Kind::InvokeProperties);
    EXPECT_EQ(ev[0].object, label);
}

TEST(Controller, TrendCommandsNeedACurveOfTwoPoints) {
    ExampleChart c;
    ChartController ctl(c.model);
    EXPECT_TRUE(ctl.Command(chartcmd::kLinearTrend).empty());
    const Point2D one[] = {{5, 5}};
    c.model.SetData(one, 1, 1, 0, 0);
    c.model.selectedCurve = 1;
    EXPECT_TRUE(ctl.Command(chartcmd::kCubicTrend).empty());
    EXPECT_EQ(c.model.CurveCount(), 2);
}

}  // namespace
}  // namespace vra
