#include "core/graphs/ChannelTable.h"
#include "core/graphs/GraphModel.h"
#include "core/graphs/TelemetryGraphController.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"

#include "simkit/replay/ReplayBuilder.h"

#include "RecordingParts.h"
#include "ScriptedGraphView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>

using namespace vra;

namespace {

void Put(std::span<std::uint8_t> body, std::size_t at, float v) {
    if (at + 4 <= body.size()) std::memcpy(body.data() + at, &v, 4);
}

// The saving player's race lap of a replay whose records hold known raw values.
struct KnownLap {
    Drivers drivers;
    GetRpyInfo info;
    LockedWheels locked;

    KnownLap() {
        simkit::ReplayBuilder b;
        b.drivers(2).trackLength(1000).session(3, 3, 8000, 2010).engineBlocks();
        b.desc.fullHook = [](const simkit::FrameContext&, simkit::FullRecordFields& f) {
            f.rpmCode = 400;
            f.oilPressure = 50;
            f.throttle = 255;
        };
        b.desc.engineHook = [](const simkit::FrameContext&, simkit::EngineWordFields& e) {
            e.oilTemperature = 100;
            e.waterTemperature = 85;
            e.fuelPressure = 10;
        };
        b.desc.blockHook = [](const simkit::FrameContext&, int type, std::span<std::uint8_t> body) {
            std::fill(body.begin(), body.end(), 0);
            switch (type) {
                case 101:
                    Put(body, 16, 10.0f);  // a steady 10 m/s ahead
                    Put(body, 72, 5.0f);
                    break;
                case 102:
                    for (std::size_t w = 0; w < 4; ++w) {
                        Put(body, 16 * w, 100.0f);
                        Put(body, 16 * w + 4, 0.05f);
                        Put(body, 16 * w + 8, 0.05f);
                        Put(body, 16 * w + 12, 4000.0f);
                    }
                    break;
                case 103:
                    for (std::size_t w = 0; w < 4; ++w) {
                        for (std::size_t k = 0; k < 3; ++k) Put(body, 16 * w + 4 * k, 80.0f);
                        Put(body, 16 * w + 12, 200.0f);
                    }
                    break;
                case 104:
                    Put(body, 4, 100000.0f);
                    Put(body, 8, 300.0f);
                    break;
                case 105:
                    Put(body, 8, 50.0f);
                    break;
                default:
                    break;
            }
        };
        const auto bytes = b.build();
        EXPECT_EQ(drivers.LoadBytes(bytes), Drivers::LoadResult::Ok);
        EXPECT_EQ(info.ExtractLapFromBytes(bytes, drivers, 0, 2, 3, 1000.0f), GetRpyInfo::Result::Ok);
        EXPECT_EQ(info.AllocateChannels(1), GetRpyInfo::Result::Ok);
    }
};

}  // namespace

TEST(TelemetryChannels, EveryChannelOfARecordedLapInItsUnits) {
    KnownLap lap;
    ASSERT_EQ(lap.info.fullData, 1);
    GraphModel graph(32);
    RecordingParts parts;
    graph.SetParts(&parts);
    ScriptedGraphView view;
    view.laps[0] = true;
    TelemetryGraphInput in;
    in.speedUnit = 1;
    in.laps[0] = GraphLapData{&lap.info, &lap.locked, "Alex", "Morgan", 8000};
    TelemetryGraphController c(in, graph, view);
    c.InitialState();
    c.OnLapBox(0);

    const std::map<int, double> first = {
        {3, 4680.30},      {15, 40.25},      {18, 8.05},        {19, 248.0},
        {20, 215.6},       {22, 100.0},      {24, 134.1021853}, {25, 300.0},
        {28, 1.0},         {29, 50.0},       {30, 5.0},         {31, 175.99999618530273},
        {34, 29.00753915}, {35, 2.86479134}, {36, 899.2000222}, {37, 1.9686001},
        {38, 15.9155072},
    };
    for (const ChannelInfo& ch : Channels()) {
        c.OnChannel(ch.code);
        ASSERT_EQ(c.ChannelCode(), ch.code);
        EXPECT_EQ(graph.GetAxisInfo(0).Name(), ch.yName) << ch.code;
        EXPECT_EQ(graph.GetAxisInfo(0).Unit(), ChannelUnit(ch, 1)) << ch.code;
        const int slot = c.SeriesSlot(0, 0);
        const CGraphProps* g = graph.GetGraph(slot);
        ASSERT_NE(g, nullptr) << ch.code;
        const Rgb colour = ch.perWheel ? kGraphColours[6] : kGraphColours[0];
        EXPECT_EQ(g->colour, colour) << ch.code;
        for (const Point2D& p : g->Points()) ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << ch.code;
        if (auto it = first.find(ch.code); it != first.end()) {
            ASSERT_GT(g->Count(), 0) << ch.code;
            EXPECT_NEAR(g->At(0).y, it->second, 1e-2) << ch.code;
        }
    }
    EXPECT_EQ(graph.GetAxisInfo(0).Unit(), "rotations/sec");
    c.OnChannel(8);
    EXPECT_EQ(graph.GetAxisInfo(0).Unit(), "Inches");
}
