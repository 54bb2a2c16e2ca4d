#include "core/graphs/StintReader.h"

#include "core/replay/GetRpyInfo.h"
#include "core/replay/ReplayFormat.h"

#include "support/document/LapDocument.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vra::test {
namespace {

using ::testing::ElementsAre;

// Remembers the curves as the chart would number them.
class FakeChart : public StintChart {
public:
    int CurveCount() override { return int(labels.size()); }
    void DeleteCurve(int index) override { labels.erase(labels.begin() + index); }
    void AddCurve(const StintSeries&, int, const std::string& label, bool) override { labels.push_back(label); }
    std::vector<std::string> labels;
};

std::vector<std::string> Rows(const StintReader& r) {
    std::vector<std::string> rows;
    for (int s = 0; s < r.StintCount(); ++s)
        rows.push_back(r.RowOf(s).stint + " | " + r.RowOf(s).session + " | " + r.RowOf(s).laps);
    return rows;
}

StintReader::Request Ask(std::array<bool, 5> replays, std::array<bool, 4> kinds = {true, true, true, true},
                         int minLaps = 3) {
    return {replays, kinds, minLaps};
}

// The player (driver 0) drives ten race laps, the sixth pitted.
class StintReading : public ::testing::Test {
protected:
    StintReading() : lapDoc_("stints") {
        lapDoc_.builder = simkit::ReplayBuilder();
        lapDoc_.builder.drivers(3).session(3, 10, 8000).trackLength(simkit::kDemoTrackLength);
        lapDoc_.builder.desc.settings.trackName = std::string(simkit::kDemoTrackName);
        lapDoc_.builder.desc.sessions[0].cars[0].laps[5] |= LapWord::Pitted;
    }
    LapDocument lapDoc_;
    StintReader reader_;
};

TEST_F(StintReading, ListsEachCleanRunAndPlotsItsCurves) {
    lapDoc_.Open();
    lapDoc_.AddLap(0, 2);
    ASSERT_EQ(lapDoc_.doc->LapCount(), 1);
    EXPECT_EQ(reader_.Read(*lapDoc_.doc, Ask({true}), lapDoc_.prompts, lapDoc_.waitBox), 2);
    EXPECT_THAT(Rows(reader_), ElementsAre("1:1 | Race | 1-5", "1:2 | Race | 7-10"));
    EXPECT_TRUE(lapDoc_.prompts.messages().empty());
    const auto& calls = lapDoc_.waitBox.calls();
    const auto shown = std::find(calls.begin(), calls.end(), "show: Reading stints from replay...");
    ASSERT_NE(shown, calls.end());
    EXPECT_EQ(*(shown + 1), "text: Reading stints from Analyses.rpy");
    EXPECT_EQ(calls.back(), "hide");

    // Lap times of five laps; no tyre curves without tyre records.
    ASSERT_NE(reader_.Series(0, 0), nullptr);
    EXPECT_EQ(reader_.Series(0, 0)->count, 5);
    EXPECT_GT(reader_.Series(0, 1)->count, 5 * 8 * 36 - 40);
    EXPECT_EQ(reader_.Series(0, 5), nullptr);

    FakeChart chart;
    reader_.Toggle(0, 0, chart);
    reader_.Toggle(0, 1, chart);
    reader_.Toggle(1, 0, chart);
    EXPECT_THAT(chart.labels, ElementsAre("Laptime[1:1]", "Watertemp[1:1]", "Laptime[1:2]"));
    // Removing a curve moves the later ones down.
    reader_.Toggle(0, 0, chart);
    EXPECT_EQ(reader_.Series(0, 1)->curveIndex, 0);
    EXPECT_EQ(reader_.Series(1, 0)->curveIndex, 1);
    EXPECT_FALSE(reader_.Series(0, 0)->plotted);
    reader_.Toggle(1, 0, chart);
    EXPECT_THAT(chart.labels, ElementsAre("Watertemp[1:1]"));
    reader_.Toggle(0, 7, chart);  // no such curve: nothing
    EXPECT_EQ(chart.labels.size(), 1u);
}

TEST_F(StintReading, TellsWhatIsMissingAndWhenNothingWasFound) {
    // Two laps only: no stint of three.
    lapDoc_.builder.desc.sessions[0].cars[0].laps.resize(2);
    lapDoc_.builder.desc.sessions[0].cars[1].laps.resize(2);
    lapDoc_.builder.desc.sessions[0].cars[2].laps.resize(2);
    const auto shortRace = lapDoc_.Write("short.rpy");
    lapDoc_.builder = simkit::ReplayBuilder();
    lapDoc_.builder.drivers(3).session(3, 10, 8000).trackLength(simkit::kDemoTrackLength);
    lapDoc_.builder.desc.settings.trackName = std::string(simkit::kDemoTrackName);
    lapDoc_.Open();
    lapDoc_.AddLap(shortRace, 0, 2);
    lapDoc_.AddLap(shortRace, 0, 1);
    lapDoc_.AddLap(0, 2);
    ASSERT_EQ(lapDoc_.doc->LapCount(), 3);
    auto& prompts = lapDoc_.prompts;

    reader_.Read(*lapDoc_.doc, Ask({}), prompts, lapDoc_.waitBox);
    reader_.Read(*lapDoc_.doc, Ask({true}, {}), prompts, lapDoc_.waitBox);
    EXPECT_THAT(prompts.messages(), ElementsAre("Please choose the replay file(s) to read",
                                                "Please choose at least one type of session to read"));
    // Each replay without a stint says so while none was found.
    StintReader both;
    both.Read(*lapDoc_.doc, Ask({true, true}), prompts, lapDoc_.waitBox);
    EXPECT_EQ(prompts.messages().size(), 4u);
    EXPECT_EQ(prompts.messages()[2], "No stints found in replay");
    EXPECT_EQ(prompts.messages()[3], "No stints found in replay");
    // After a replay with stints, one without is passed silently.
    StintReader after;
    after.Read(*lapDoc_.doc, Ask({true, false, true}), prompts, lapDoc_.waitBox);
    EXPECT_EQ(prompts.messages().size(), 5u);
    EXPECT_EQ(after.StintCount(), 1);
}

TEST_F(StintReading, UntickedKindsAreSkipped) {
    lapDoc_.builder = simkit::ReplayBuilder();
    lapDoc_.builder.drivers(3).session(1, 3, 8000).session(2, 3, 8000).session(3, 3, 8000);
    lapDoc_.builder.trackLength(simkit::kDemoTrackLength);
    lapDoc_.builder.desc.settings.trackName = std::string(simkit::kDemoTrackName);
    lapDoc_.Open();
    lapDoc_.AddLap(0, 2);
    // Practice and race asked for: the qualifying stint is passed over.
    reader_.Read(*lapDoc_.doc, Ask({true}, {true, false, false, true}), lapDoc_.prompts, lapDoc_.waitBox);
    EXPECT_THAT(Rows(reader_), ElementsAre("1:1 | Race | 1-3"));
    StintReader qualifyingOnly;
    qualifyingOnly.Read(*lapDoc_.doc, Ask({true}, {false, true, false, false}), lapDoc_.prompts, lapDoc_.waitBox);
    EXPECT_THAT(Rows(qualifyingOnly), ElementsAre("1:1 | Qualifying | 1-3"));
}

TEST_F(StintReading, StopsAtFiftyStints) {
    // 160 laps of 2 s, every third pitted: 53 stints of two laps.
    lapDoc_.builder = simkit::ReplayBuilder();
    lapDoc_.builder.drivers(1).session(3, 160, 2000).trackLength(simkit::kDemoTrackLength);
    lapDoc_.builder.desc.settings.trackName = std::string(simkit::kDemoTrackName);
    lapDoc_.builder.desc.compactRecords = false;
    auto& laps = lapDoc_.builder.desc.sessions[0].cars[0].laps;
    for (std::size_t k = 2; k < laps.size(); k += 3) laps[k] |= LapWord::Pitted;
    lapDoc_.Open();
    lapDoc_.AddLap(0, 1);
    lapDoc_.AddLap(0, 1);
    EXPECT_EQ(
        reader_.Read(*lapDoc_.doc, Ask({true, true}, {true, true, true, true}, 2), lapDoc_.prompts, lapDoc_.waitBox),
        50);
    EXPECT_THAT(lapDoc_.prompts.messages(), ElementsAre("Maximum number of stints loaded"));
    EXPECT_EQ(reader_.RowOf(49).stint, "1:50");
}

TEST(StintReader, ReplayLabelsAndProgress) {
    EXPECT_EQ(StintReplayLabel("race.v2.rpy"), "race.v2");
    EXPECT_EQ(StintReplayLabel("race"), "race");
    EXPECT_EQ(ScaledProgress(50, 100), 50);
    EXPECT_EQ(ScaledProgress(std::uint64_t(1) << 40, std::uint64_t(1) << 41), 1 << 29);
}

}  // namespace
}  // namespace vra::test
