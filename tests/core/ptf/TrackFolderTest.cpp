// A whole track folder as the simulation keeps it, written from a layout and
// loaded the way the program loads a replay's track: the container (or a
// loose stream) found by the upper-cased name, decoded into a path, and the
// race line read from the folder the track was found in.
#include "core/decode/KtTrackFile.h"
#include "core/document/TrackIni.h"
#include "core/ptf/LpLine.h"
#include "core/track/TrackPath.h"

#include "simkit/replay/DemoSim.h"
#include "simkit/track/DemoTrack.h"
#include "simkit/track/TrackFolderWriter.h"
#include "simkit/track/TrackLayout.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace vra {
namespace {

namespace fs = std::filesystem;
using simkit::TrackLayout;

class TrackFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        tracks_ = fs::temp_directory_path() / ("vra_tracks_" + std::to_string(rd())) / "tracks";
        fs::create_directories(tracks_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(tracks_.parent_path(), ec);
    }
    fs::path tracks_;
};

TEST_F(TrackFolderTest, DemoTrackLoadsFromItsContainerWithItsRaceLine) {
    const fs::path sim = tracks_.parent_path();
    ASSERT_TRUE(simkit::WriteDemoTrack(sim));
    const TrackLayout course = simkit::DemoTrackLayout();
    EXPECT_TRUE(fs::exists(tracks_ / "demo" / "demo.dat"));
    EXPECT_FALSE(fs::exists(tracks_ / "demo" / "demo.ptf"));

    KtTrackFile file(tracks_, std::string(simkit::kDemoTrackName));
    EXPECT_TRUE(file.IsCompressed());
    file.Parse();
    TrackPath path(file.GetTrack(), file.TrackFolder());
    EXPECT_NEAR(path.Length(), simkit::kDemoTrackLength, 1e-6);
    EXPECT_EQ(path.PieceCount(), course.StepCount());

    LpLine line(path);
    ASSERT_TRUE(line.Load());
    // One record every 3 m from 0 to 2499 m.
    EXPECT_EQ(line.Points().size(), 834u);
    const auto expected = course.Expected();
    const double d = static_cast<float>(course.RaceLineOffsetAt(0.0));
    EXPECT_NEAR(line.Points()[0].x, expected[0].PointAt(0, d).x, 1e-6);
    EXPECT_NEAR(line.Points()[0].y, expected[0].PointAt(0, d).y, 1e-6);

    // The stated length agrees with the decoded one.
    const auto stated = ReadTrackIniLength(sim.string(), simkit::kDemoTrackName);
    ASSERT_TRUE(stated.has_value());
    EXPECT_NEAR(*stated, simkit::kDemoTrackLength, 1e-6);
}

}  // namespace
}  // namespace vra
