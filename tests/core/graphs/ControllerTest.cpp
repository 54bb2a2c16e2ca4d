#include "core/graphs/GraphModel.h"
#include "core/graphs/TelemetryGraphController.h"

#include "HandLap.h"
#include "RecordingParts.h"
#include "ScriptedGraphView.h"

#include <gtest/gtest.h>

#include <random>

using namespace vra;

namespace {

struct Dialog {
    std::array<GetRpyInfo, 3> laps{HandLap(40, true), HandLap(50), HandLap(60)};
    LockedWheels locked;
    GraphModel graph{32};
    RecordingParts parts;
    ScriptedGraphView view;
    std::unique_ptr<TelemetryGraphController> c;

    explicit Dialog(int count = 3) {
        graph.SetParts(&parts);
        TelemetryGraphInput in;
        for (int s = 0; s < count; ++s) {
            GraphLapData lap;
            lap.info = &laps[std::size_t(s)];
            lap.locked = &locked;
            lap.firstName = s == 1 ? "" : "John";
            lap.lastName = "Smith";
            lap.lapWord = 83456 + std::uint32_t(s);
            in.laps[std::size_t(s)] = lap;
        }
        c = std::make_unique<TelemetryGraphController>(in, graph, view);
        c->InitialState();
    }
    void Tick(int box, bool on) {
        view.laps[std::size_t(box)] = on;
        c->OnLapBox(box);
    }
    void Wheel(int w, bool on) {
        view.wheels[std::size_t(w)] = on;
        c->OnWheelBox(w);
    }
};

}  // namespace

TEST(TelemetryGraphController, LapBoxesAndTheOpeningState) {
    Dialog d;
    EXPECT_EQ(d.c->LapBoxText(0), "J Smith 1m23.456s(Adv)");
    EXPECT_EQ(d.c->LapBoxText(1), "Smith 1m23.457s");  // no initial for no first name
    EXPECT_EQ(d.c->BoxSlot(3), -1);
    EXPECT_EQ(d.c->ChannelCode(), 1);
    EXPECT_EQ(d.c->GroupCount(), 1);
    EXPECT_EQ(d.parts.panel.Flags(), 4);
    EXPECT_FALSE(d.parts.barShown);
    EXPECT_EQ(d.graph.GetAxisInfo(1).Name(), "Meter");
    EXPECT_EQ(d.graph.GetAxisInfo(0).Unit(), "Kph");
    d.Tick(0, true);
    EXPECT_EQ(d.graph.GetGraphCount(), 1);
    EXPECT_EQ(d.graph.GetGraph(d.c->SeriesSlot(0, 0))->colour, kGraphColours[0]);
}

TEST(TelemetryGraphController, WheelGroupsCloseUpAndRebuildOnlyOnANewChannel) {
    Dialog d;
    d.Tick(0, true);
    d.view.wheels = {false, true, true, false};  // right front and left rear
    d.c->OnChannel(38);
    EXPECT_TRUE(d.view.wheelsEnabled);
    EXPECT_EQ(d.c->WheelGroup(1), 0);
    EXPECT_EQ(d.c->WheelGroup(2), 1);
    const int leftRear = d.c->SeriesSlot(0, 1);
    d.Wheel(1, false);
    EXPECT_EQ(d.c->WheelGroup(2), 0);
    EXPECT_EQ(d.c->SeriesSlot(0, 0), leftRear);
    d.Wheel(0, true);
    EXPECT_EQ(d.c->WheelGroup(0), 1);
    EXPECT_EQ(d.graph.GetGraphCount(), 2);

    d.c->OnChannel(31);
    d.parts.sent.clear();
    d.c->OnChannel(31);
    EXPECT_TRUE(d.parts.sent.empty());
    d.c->OnChannel(32);
    EXPECT_EQ(d.c->ChannelCode(), 32);
    EXPECT_EQ(d.graph.GetGraphCount(), 2);
}

TEST(TelemetryGraphController, TimeDifferenceFollowsTwoTickedLaps) {
    Dialog d;
    d.view.timeDiff = true;
    d.Tick(0, true);
    EXPECT_FALSE(d.view.timeDiffEnabled);
    d.Tick(1, true);
    EXPECT_TRUE(d.view.timeDiffEnabled);
    ASSERT_TRUE(d.c->CurvePresent());
    EXPECT_EQ(d.view.groupText, "J Smith 1m23.456s(Adv) is:");
    EXPECT_EQ(d.graph.GetGraph(d.c->CurveSlot())->colour, kGraphColours[5]);
    EXPECT_EQ(d.graph.GetGraphCount(), 4);

    d.Tick(2, true);
    EXPECT_FALSE(d.c->CurvePresent());
    EXPECT_FALSE(d.view.timeDiffEnabled);
    EXPECT_FALSE(d.view.windowShown);
    EXPECT_EQ(d.graph.GetGraphCount(), 3);
    d.Tick(2, false);
    EXPECT_TRUE(d.c->CurvePresent());
    EXPECT_EQ(d.graph.GetGraphCount(), 4);

    d.view.timeDiff = false;
    d.c->OnTimeDifference();
    EXPECT_EQ(d.graph.GetGraphCount(), 2);
    d.Tick(2, true);
    d.Tick(2, false);
    EXPECT_EQ(d.graph.GetGraphCount(), 2);  // lap series untouched

    d.view.mapExists = true;
    d.view.timeDiff = true;
    d.c->OnTimeDifference();
    EXPECT_EQ(d.c->TimeDiffText(20, 100).rfind(", timediff=", 0), 0u);
    EXPECT_EQ(d.view.mapCursor.back(), 20);
}

TEST(TelemetryGraphController, ClearingLeavesNoStaleRange) {
    Dialog d;
    d.Tick(0, true);
    d.c->OnChannel(3);  // RPM: 400..10000
    d.c->OnChannel(24);
    EXPECT_EQ(d.c->Ranges().yLow, -500);
    d.c->ClearGraph();
    EXPECT_EQ(d.c->Ranges().yLow, 0.0);
    EXPECT_EQ(d.c->Ranges().yHigh, 1.0);
}

TEST(TelemetryGraphController, RandomTicksNeverExceedTheSeriesBound) {
    Dialog d;
    std::mt19937 rng(7);
    const int codes[] = {1, 6, 12, 14, 17, 24, 31, 32, 38};
    for (int step = 0; step < 3000; ++step) {
        switch (rng() % 4) {
            case 0: {
                const int box = int(rng() % 3);
                d.Tick(box, !d.view.laps[std::size_t(box)]);
                break;
            }
            case 1: {
                const int w = int(rng() % 4);
                d.Wheel(w, !d.view.wheels[std::size_t(w)]);
                break;
            }
            case 2:
                d.view.timeDiff = !d.view.timeDiff;
                d.c->OnTimeDifference();
                break;
            default:
                d.c->OnChannel(codes[rng() % 9]);
        }
        int ticked = 0;
        for (bool t : d.view.laps) ticked += t;
        const int expected = ticked * d.c->GroupCount() + (d.c->CurvePresent() ? 2 : 0);
        ASSERT_EQ(d.graph.GetGraphCount(), expected) << "step " << step;
        ASSERT_LE(d.graph.GetGraphCount(), 22);
    }
}
