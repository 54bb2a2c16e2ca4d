#include "core/ptf/LpLine.h"

#include "core/decode/KtException.h"
#include "core/decode/KtObjectFactory.h"
#include "core/decode/KtTrack.h"
#include "core/track/TrackPath.h"

#include "simkit/track/PtfBuilder.h"
#include "simkit/track/RaceLineWriter.h"
#include "simkit/track/TrackLayout.h"
#include "support/ScratchDir.h"
#include "support/track/RecordingDisplay.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

namespace vra {
namespace {

namespace fs = std::filesystem;
using simkit::RaceLineWriter;
using simkit::TrackLayout;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class LpLineTest : public ::testing::Test {
protected:
    // A straight along x from the origin, so that the point of record i at
    // offset d is (3 i, d).
    std::unique_ptr<TrackPath> Straight(double length, const fs::path& folder = {}) {
        TrackLayout layout;
        layout.straight(length);
        return PathFor(layout, folder);
    }
    std::unique_ptr<TrackPath> PathFor(const TrackLayout& layout, const fs::path& folder = {}) {
        const auto image = simkit::PtfBuilder::Build(layout.Describe());
        return std::make_unique<TrackPath>(KtObjectFactory::ReadTrackImage(image), folder.empty() ? folder_ : folder);
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

    test::ScratchDir scratch_{"lpline"};
    fs::path folder_ = scratch_.path();
};

TEST_F(LpLineTest, DrawsItsPointsAsOneColourLine) {
    const auto path = Straight(100);
    Write(RaceLineWriter().offsets({0.0f, 1.5f}));
    LpLine line(*path);
    ASSERT_TRUE(line.Load());
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

TEST_F(LpLineTest, ShortEmptyOrOddFilesGiveOnlyTheirWholeNumericRecords) {
    const auto path = Straight(100);
    struct Case {
        RaceLineWriter file;
        std::vector<Point2D> points;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<Case> cases = {
        // one record every 3 m, at its lateral offset
        {RaceLineWriter().offsets({0.0f, 1.5f, -2.0f, 4.25f}), {{0, 0}, {3, 1.5}, {6, -2}, {9, 4.25}}},
        {RaceLineWriter(), {}},
        // too short even for its header
        {RaceLineWriter().offsets({1.0f}).truncatedTo(7), {}},
        // ten records announced, four and a half present
        {RaceLineWriter().offsets({1, 2, 3, 4, 5}).declaredCount(10).truncatedTo(16 + 24 * 4 + 10),
         {{0, 1}, {3, 2}, {6, 3}, {9, 4}}},
        // records that are no numbers are left out; the others keep their distance
        {RaceLineWriter().offsets({1.0f, nan, 2.0f, inf, -inf, 3.0f}), {{0, 1}, {6, 2}, {15, 3}}},
        {RaceLineWriter().offsets({1, 2}).declaredCount(0xFFFFFFFFu), {{0, 1}, {3, 2}}},
    };
    for (std::size_t c = 0; c < cases.size(); ++c) {
        Write(cases[c].file);
        LpLine line(*path);
        EXPECT_TRUE(line.Load()) << c;
        ASSERT_EQ(line.Points().size(), cases[c].points.size()) << c;
        for (std::size_t i = 0; i < cases[c].points.size(); ++i) {
            EXPECT_NEAR(line.Points()[i].x, cases[c].points[i].x, 1e-9) << c;
            EXPECT_NEAR(line.Points()[i].y, cases[c].points[i].y, 1e-9) << c;
        }
    }
}

TEST_F(LpLineTest, EachPathReadsItsOwnFolderIgnoringCase) {
    const auto path = Straight(100);
    Write(RaceLineWriter().offsets({1.0f, 1.0f}), "RaceLine.LP");
    const fs::path other = folder_ / "other";
    fs::create_directories(other);
    ASSERT_TRUE(RaceLineWriter().offsets({-1.0f}).write(other / "raceline.lp"));
    const auto otherPath = Straight(50, other);
    LpLine first(*path);
    LpLine second(*otherPath);
    second.Load();
    first.Load();
    EXPECT_EQ(first.Points().size(), 2u);
    ASSERT_EQ(second.Points().size(), 1u);
    EXPECT_NEAR(second.Points()[0].y, -1.0, 1e-9);
}

}  // namespace
}  // namespace vra
