#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <random>

#include "decode/KtException.h"
#include "decode/KtObjectFactory.h"
#include "decode/KtTrack.h"
#include "ptf/LpLine.h"
#include "track/PtfBuilder.h"
#include "track/RaceLineWriter.h"
#include "track/RecordingDisplay.h"
#include "track/TrackLayout.h"
#include "track/TrackPath.h"

namespace vra {
namespace {

namespace fs = std::filesystem;
using simkit::RaceLineWriter;
using simkit::TrackLayout;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class LpLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        folder_ = fs::temp_directory_path() / ("vra_lpline_" + std::to_string(rd()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }

    // A straight along x from the origin, so that the point of record i at
    // offset d is (3 i, d).
    std::unique_ptr<TrackPath> Straight(double length) {
        TrackLayout layout;
        layout.straight(length);
        return PathFor(layout);
    }
    std::unique_ptr<TrackPath> PathFor(const TrackLayout& layout) {
        const auto image = simkit::PtfBuilder::Build(layout.Describe());
        return std::make_unique<TrackPath>(KtObjectFactory::ReadTrackImage(image), folder_);
    }
    void Write(const RaceLineWriter& w, const std::string& name = "raceline.lp") {
        ASSERT_TRUE(w.write(folder_ / name));
    }
    static std::string ThrownText(LpLine& line) {
        try {
            line.Load();
        } catch (const KtException& e) {
            return e.what();
        }
        return "";
    }

    fs::path folder_;
};

TEST_F(LpLineTest, PlacesOneRecordEveryThreeMetres) {
    const auto path = Straight(100);
    Write(RaceLineWriter().offsets({0.0f, 1.5f, -2.0f, 4.25f}));
    LpLine line(*path);
    EXPECT_TRUE(line.Load());
    ASSERT_EQ(line.Points().size(), 4u);
    const double offsets[] = {0.0, 1.5, -2.0, 4.25};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(line.Points()[i].x, 3.0 * static_cast<double>(i), 1e-9);
        EXPECT_NEAR(line.Points()[i].y, offsets[i], 1e-9);
    }
    simkit::RecordingDisplay display;
    line.Draw(display);
    ASSERT_EQ(display.Calls().size(), 1u);
    EXPECT_EQ(display.Calls()[0].op, simkit::RecordingDisplay::Op::ColourPolyline);
    EXPECT_EQ(display.Calls()[0].points, line.Points());
}

TEST_F(LpLineTest, FollowsTheCornersOfARoadCourse) {
    const TrackLayout course = TrackLayout::RoadCourse();
    const auto path = PathFor(course);
    Write(RaceLineWriter::ForLayout(course));
    LpLine line(*path);
    line.Load();
    const auto expected = course.Expected();
    ASSERT_EQ(line.Points().size(), static_cast<std::size_t>(std::ceil(course.TotalLength() / 3.0)));
    std::size_t piece = 0;
    for (std::size_t i = 0; i < line.Points().size(); ++i) {
        const double t = 3.0 * static_cast<double>(i);
        while (t >= expected[piece].startDistance + expected[piece].length) ++piece;
        const double d = static_cast<float>(course.RaceLineOffsetAt(t));
        const Point2D want = expected[piece].PointAt(t - expected[piece].startDistance, d);
        EXPECT_NEAR(line.Points()[i].x, want.x, 1e-6) << i;
        EXPECT_NEAR(line.Points()[i].y, want.y, 1e-6) << i;
    }
}

TEST_F(LpLineTest, EmptyFileDrawsNothing) {
    const auto path = Straight(100);
    Write(RaceLineWriter());
    LpLine line(*path);
    EXPECT_TRUE(line.Load());
    EXPECT_TRUE(line.Points().empty());
    // A file too short even for its header holds no records either.
    Write(RaceLineWriter().offsets({1.0f}).truncatedTo(7));
    EXPECT_TRUE(line.Load());
    EXPECT_TRUE(line.Points().empty());
}

TEST_F(LpLineTest, RecordsUpToTheEndOfTheTrack) {
    const auto path = Straight(1000);
    // Distances 0 to 999 m: 334 records fit.
    Write(RaceLineWriter().offsets(std::vector<float>(334, 1.0f)));
    LpLine line(*path);
    line.Load();
    EXPECT_EQ(line.Points().size(), 334u);

    // A 335th record at 1002 m lies beyond the end.
    Write(RaceLineWriter().offsets(std::vector<float>(335, 1.0f)));
    LpLine beyond(*path);
    const std::string text = ThrownText(beyond);
    EXPECT_THAT(text, StartsWith("Error reported in ptf\\LpLine near line 51"));
    EXPECT_THAT(text, HasSubstr("s_idx == -1"));
    EXPECT_TRUE(beyond.Points().empty());
}

TEST_F(LpLineTest, MissingFileFailsToOpen) {
    const auto path = Straight(100);
    LpLine line(*path);
    const std::string text = ThrownText(line);
    EXPECT_THAT(text, StartsWith("Error reported in ptf\\LpLine near line 28"));
    EXPECT_THAT(text, HasSubstr("raceline.lp failed to open"));
    // A folder of that name is no file.
    fs::create_directories(folder_ / "raceline.lp");
    EXPECT_THAT(ThrownText(line), HasSubstr("raceline.lp failed to open"));
}

TEST_F(LpLineTest, FileNameIsMatchedWithoutCase) {
    const auto path = Straight(100);
    Write(RaceLineWriter().offsets({2.0f}), "RaceLine.LP");
    LpLine line(*path);
    line.Load();
    ASSERT_EQ(line.Points().size(), 1u);
    EXPECT_NEAR(line.Points()[0].y, 2.0, 1e-9);
}

TEST_F(LpLineTest, ShortFileEndsAtItsLastWholeRecord) {
    const auto path = Straight(100);
    // Ten records announced, four and a half present.
    Write(RaceLineWriter().offsets({1, 2, 3, 4, 5}).declaredCount(10).truncatedTo(16 + 24 * 4 + 10));
    LpLine line(*path);
    line.Load();
    ASSERT_EQ(line.Points().size(), 4u);
    EXPECT_NEAR(line.Points()[3].y, 4.0, 1e-9);
    EXPECT_NEAR(line.Points()[3].x, 9.0, 1e-9);
}

TEST_F(LpLineTest, RecordsThatAreNoNumbersAreLeftOut) {
    const auto path = Straight(100);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    Write(RaceLineWriter().offsets({1.0f, nan, 2.0f, inf, -inf, 3.0f}));
    LpLine line(*path);
    line.Load();
    ASSERT_EQ(line.Points().size(), 3u);
    EXPECT_NEAR(line.Points()[1].x, 6.0, 1e-9);  // record 2 keeps its distance
    EXPECT_NEAR(line.Points()[2].x, 15.0, 1e-9);
}

TEST_F(LpLineTest, EachPathReadsItsOwnTracksFile) {
    const auto path = Straight(100);
    Write(RaceLineWriter().offsets({1.0f, 1.0f}));
    const fs::path other = folder_ / "other";
    fs::create_directories(other);
    ASSERT_TRUE(RaceLineWriter().offsets({-1.0f}).write(other / "raceline.lp"));
    TrackLayout layout;
    layout.straight(50);
    const auto image = simkit::PtfBuilder::Build(layout.Describe());
    const TrackPath otherPath(KtObjectFactory::ReadTrackImage(image), other);

    LpLine first(*path);
    LpLine second(otherPath);
    second.Load();
    first.Load();
    EXPECT_EQ(first.Points().size(), 2u);
    ASSERT_EQ(second.Points().size(), 1u);
    EXPECT_NEAR(second.Points()[0].y, -1.0, 1e-9);
}

TEST_F(LpLineTest, HugeCountsEndAtTheData) {
    const auto path = Straight(100);
    LpLine line(*path);
    const auto bytes = RaceLineWriter().offsets({1, 2}).declaredCount(0xFFFFFFFFu).bytes();
    EXPECT_TRUE(line.LoadFrom(bytes));
    EXPECT_EQ(line.Points().size(), 2u);
}

}  // namespace
}  // namespace vra
