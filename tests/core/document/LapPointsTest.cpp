// What the document keeps for the map beside a lap and its track: each
// sample's map point and the track's race line, read once.

#include "core/ptf/LpLine.h"
#include "core/replay/GetRpyInfo.h"
#include "core/track/TrackPath.h"

#include "simkit/track/RaceLineWriter.h"

#include "SimFolderFixture.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vra::testing {
namespace {

using ::testing::IsEmpty;

class MapOfTheLaps : public SimFolder {
protected:
    void SetUp() override {
        SimFolder::SetUp();
        writeTrack("oval", oval);
    }

    // A race on the oval in which car 1 loses its records for two seconds of
    // its second lap, the cars weaving across the road.
    std::filesystem::path holeyReplay() {
        auto b = replay("OVAL", oval.TotalLength());
        b.desc.lateral = [](int driver, double ms) { return 3.0 * std::sin(ms / 2000.0) + driver; };
        const double start = double(simkit::ReplayBuilder::LapStartMs(b.desc.sessions[0].cars[1], 2)) + 10000.0;
        b.desc.frameHook = [start](simkit::FrameContext& ctx) {
            if (ctx.sessionMs >= start && ctx.sessionMs < start + 2000.0)
                std::erase_if(ctx.records, [](const simkit::FrameRecord& r) { return r.type == 3; });
        };
        return write(b, "holey.rpy");
    }

    simkit::TrackLayout oval = simkit::TrackLayout::Oval();
};

TEST_F(MapOfTheLaps, EachSampleGetsItsPointOnTheTrackWhenTheLapIsAddedAndSamplesWithoutARecordNone) {
    const auto path = holeyReplay();
    document().AddLapFromLapFinder(path, 0, 3, 2);
    document().AddLapFromLapFinder(path, 1, 3, 2);
    ASSERT_EQ(doc->LapCount(), 2);
    const double length = oval.TotalLength();
    for (int slot = 0; slot < 2; ++slot) {
        const GetRpyInfo& info = *doc->Slot(slot).info;
        const LapPoints& points = doc->Slot(slot).points;
        ASSERT_EQ(points.Size(), std::size_t(info.sampleCount) + 1);
        std::size_t placed = 0;
        for (int i = 1; i <= info.sampleCount; ++i) {
            const auto u = std::size_t(i);
            const double d = info.distanceM[u];
            if (d == 0.0 && info.lateralM[u] == 0.0) {
                EXPECT_FALSE(points.Placed(u)) << slot << " " << i;
                continue;
            }
            ASSERT_TRUE(points.Placed(u)) << slot << " " << i;
            ++placed;
            // The last samples run past the line into the next lap.
            const Point2D want = LayoutPoint(oval, d >= length ? d - length : d, info.lateralM[u]);
            EXPECT_NEAR(points.At(u).x, want.x, 1e-6) << slot << " " << i;
            EXPECT_NEAR(points.At(u).y, want.y, 1e-6) << slot << " " << i;
        }
        EXPECT_EQ(placed, std::size_t(info.sampleCount - info.missingCount)) << slot;
        EXPECT_EQ(points.PlacedCount(), placed) << slot;
    }
    // Two seconds of missing records: 72 samples without a place.
    EXPECT_EQ(doc->Slot(1).info->missingCount, 72);

    doc->OnNewDocument();
    EXPECT_EQ(doc->Slot(0).points.Size(), 0u);
}

TEST_F(MapOfTheLaps, PointsMoveWithTheirLapWhenTheLapsAreRearranged) {
    const auto path = holeyReplay();
    document().AddLapFromLapFinder(path, 0, 3, 2);
    document().AddLapFromLapFinder(path, 1, 3, 2);
    ASSERT_EQ(doc->LapCount(), 2);
    const std::vector<Point2D> first = doc->Slot(0).points.Points();
    const std::vector<Point2D> second = doc->Slot(1).points.Points();
    const std::size_t secondPlaced = doc->Slot(1).points.PlacedCount();

    doc->ArrangeLaps({1, 0});
    auto same = [](const std::vector<Point2D>& a, const std::vector<Point2D>& b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(),
                          [](const Point2D& p, const Point2D& q) { return p.x == q.x && p.y == q.y; });
    };
    EXPECT_TRUE(same(doc->Slot(0).points.Points(), second));
    EXPECT_TRUE(same(doc->Slot(1).points.Points(), first));
    EXPECT_EQ(doc->Slot(0).points.PlacedCount(), secondPlaced);

    // Removing a lap leaves the one kept with its own points, the freed slot none.
    doc->ArrangeLaps({1});
    ASSERT_EQ(doc->LapCount(), 1);
    EXPECT_TRUE(same(doc->Slot(0).points.Points(), first));
    EXPECT_EQ(doc->Slot(1).points.Size(), 0u);
}

TEST_F(MapOfTheLaps, ALapWithoutATrackHasNoPoints) {
    auto b = replay("NOWHERE", 1500.0);
    const auto path = write(b, "nowhere.rpy");
    document().AddLapFromLapFinder(path, 0, 3, 2);
    ASSERT_EQ(doc->LapCount(), 1);
    EXPECT_EQ(doc->Slot(0).points.Size(), 0u);
    EXPECT_EQ(doc->RaceLine(), nullptr);
}

TEST_F(MapOfTheLaps, TheRaceLineIsReadWithTheTrackAndKeptWhenItsFileGoes) {
    const std::vector<float> offsets = {1.0f, -2.0f, 0.5f, 3.0f};
    ASSERT_TRUE(simkit::RaceLineWriter().offsets(offsets).write(root / "tracks" / "oval" / "raceline.lp"));
    const auto path = holeyReplay();
    document().AddLapFromLapFinder(path, 0, 3, 2);
    std::filesystem::remove(root / "tracks" / "oval" / "raceline.lp");
    document().AddLapFromLapFinder(path, 2, 3, 2);
    ASSERT_EQ(doc->LapCount(), 2);
    ASSERT_NE(doc->RaceLine(), nullptr);
    const std::vector<Point2D>& line = doc->RaceLine()->Points();
    ASSERT_EQ(line.size(), offsets.size());
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        const Point2D want = LayoutPoint(oval, 3.0 * double(i), offsets[i]);
        EXPECT_NEAR(line[i].x, want.x, 1e-4) << i;
        EXPECT_NEAR(line[i].y, want.y, 1e-4) << i;
    }
    doc->OnNewDocument();
    EXPECT_EQ(doc->RaceLine(), nullptr);
}

TEST_F(MapOfTheLaps, AnUnreadableRaceLineLeavesTheMapWithoutOneAndSaysNothing) {
    const auto folder = root / "tracks" / "oval";
    const auto path = holeyReplay();
    // Missing, and with a record beyond the end of the track.
    const std::vector<float> beyond(std::size_t(oval.TotalLength() / 3.0) + 5, 0.0f);
    for (bool present : {false, true}) {
        std::filesystem::remove(folder / "raceline.lp");
        if (present) {
            ASSERT_TRUE(simkit::RaceLineWriter().offsets(beyond).write(folder / "raceline.lp"));
        }
        document().AddLapFromLapFinder(path, 1, 3, 2);
        ASSERT_EQ(doc->LapCount(), 1) << present;
        EXPECT_NE(doc->GetTrackPath(), nullptr) << present;
        EXPECT_EQ(doc->RaceLine(), nullptr) << present;
        EXPECT_GT(doc->Slot(0).points.PlacedCount(), 1000u) << present;
        EXPECT_THAT(prompts.messages(), IsEmpty()) << present;
        doc->OnNewDocument();
    }
}

}  // namespace
}  // namespace vra::testing
