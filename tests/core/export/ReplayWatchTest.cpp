// The listener's polls over a scripted folder and clock: which replays are
// handled, when, and what each one's line says.
#include "core/export/ReplayWatch.h"

#include "core/export/ExportFlows.h"
#include "core/replay/Header.h"
#include "core/reports/Report.h"

#include "simkit/replay/ReplayBuilder.h"
#include "support/ScratchDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

namespace vra {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Watch : public ::testing::Test {
protected:
    void SetUp() override {
        simkit::ReplayBuilder race;
        race.drivers(3).session(3, 2, 60000);
        ASSERT_TRUE(race.writeFile(dir / "race.rpy"));
        race.desc.settings.trackName = "ELSEWHERE";
        ASSERT_TRUE(race.writeFile(dir / "other.rpy"));
        simkit::ReplayBuilder practice;
        practice.drivers(2).session(0, 2, 60000);
        ASSERT_TRUE(practice.writeFile(dir / "practice.rpy"));
        std::ofstream(dir / "broken.rpy") << "not a replay";
        std::filesystem::create_directories(exportDir);
    }

    ReplayWatch MakeWatch() {
        return ReplayWatch([this] { return entries; },
                           [this](const Header& header, std::string& error) -> std::unique_ptr<ReportMapPort> {
                               decoded.push_back(header.trackName);
                               if (header.trackName == "DEMO") return std::make_unique<ReportMapPort>();
                               error = "no track " + header.trackName;
                               return nullptr;
                           },
                           100);
    }
    void Set(const std::string& name, std::uint64_t size, std::int64_t time) {
        for (auto& e : entries)
            if (e.path.filename() == name) {
                e.size = size;
                e.modifiedNs = time;
                return;
            }
        entries.push_back({dir / name, size, time});
    }

    test::ScratchDir dir{"watch"};
    std::filesystem::path exportDir = dir / "export";
    std::vector<ReplayWatch::Entry> entries;
    std::vector<std::string> decoded;
};

TEST_F(Watch, NewReplaysAreHandledOnceTheyHoldStill) {
    ReplayWatch watch = MakeWatch();
    Set("race.rpy", 10, 50);  // written before the listener opened
    Set("practice.rpy", 10, 200);
    EXPECT_THAT(watch.Poll(exportDir.string()).lines, IsEmpty());
    Set("race.rpy", 20, 300);  // written again since
    EXPECT_THAT(watch.Poll(exportDir.string()).lines,
                ElementsAre("practice.rpy: This replay file does not contain race info!"));
    Set("race.rpy", 30, 400);  // still growing
    EXPECT_THAT(watch.Poll(exportDir.string()).lines, IsEmpty());
    EXPECT_THAT(watch.Poll(exportDir.string()).lines,
                ElementsAre("race.rpy: Report site created in " + (exportDir / "race").string() + "/"));
    EXPECT_TRUE(std::filesystem::exists(exportDir / "race" / "race.html"));
    EXPECT_THAT(watch.Poll(exportDir.string()).lines, IsEmpty());
    EXPECT_THAT(decoded, ElementsAre("DEMO"));
}

TEST_F(Watch, FailuresAreListedOnceUntilTheReplayChanges) {
    ReplayWatch watch = MakeWatch();
    Set("broken.rpy", 12, 200);
    Set("other.rpy", 12, 200);
    watch.Poll(exportDir.string());
    EXPECT_THAT(watch.Poll(exportDir.string()).lines,
                ElementsAre("broken.rpy: HeaderClass: Error reading file!", "other.rpy: no track ELSEWHERE"));
    EXPECT_FALSE(std::filesystem::exists(exportDir / "other"));
    EXPECT_THAT(watch.Poll(exportDir.string()).lines, IsEmpty());
    Set("broken.rpy", 13, 250);
    EXPECT_THAT(watch.Poll(exportDir.string()).lines, IsEmpty());
    EXPECT_THAT(watch.Poll(exportDir.string()).lines, ElementsAre("broken.rpy: HeaderClass: Error reading file!"));

    // Without an export path nothing is handled and the status says why.
    Set("broken.rpy", 14, 260);
    const ReplayWatch::Result result = watch.Poll("");
    EXPECT_EQ(result.status, kNoExportPathText);
    EXPECT_THAT(result.lines, IsEmpty());
}

TEST_F(Watch, ListsOnlyReplaysOfTheFolder) {
    std::ofstream(dir / "notes.txt") << "x";
    std::ofstream(dir / "UPPER.RPY") << "x";
    std::vector<std::string> names;
    for (const auto& e : ListReplays(dir.path())) names.push_back(e.path.filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_THAT(names, ElementsAre("UPPER.RPY", "broken.rpy", "other.rpy", "practice.rpy", "race.rpy"));
    EXPECT_THAT(ListReplays(dir / "missing"), IsEmpty());
}

}  // namespace
}  // namespace vra
