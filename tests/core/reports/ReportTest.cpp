// The text reports of built replays: rows, orders, switches and the files of
// the batch export, with expected texts taken from how the replays were built.
#include "core/reports/Report.h"

#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/replay/ReplayFormat.h"

#include "simkit/replay/ReplayBuilder.h"
#include "simkit/track/TrackFolderWriter.h"
#include "support/FileSizeLimit.h"
#include "support/FileText.h"
#include "support/ScratchDir.h"
#include "support/platform/ScriptedPrompts.h"

#include <fmt/printf.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace vra {
namespace {

using simkit::ReplayBuilder;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

using vra::test::ReadAll;

std::string Row(int pos, const char* no, const char* name, const char* best, const char* speed, int laps) {
    return fmt::sprintf("%3d  %4s  %-33s  %11s  %10s  %4d", pos, no, name, best, speed, laps) + "\r\n";
}

std::string RaceRow(int pos, const char* no, const char* name, int laps, const char* total, const char* behind,
                    const char* best) {
    std::string row = fmt::sprintf("%3d  %4s  %-33s  %4d  %11s  %9s  %11s", pos, no, name, laps, total, behind, best);
    return row.substr(0, row.find_last_not_of(' ') + 1) + "\r\n";
}

// A simulation folder with the DEMO track's track.ini and one replay in it.
class ReportFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.path() / "tracks" / "DEMO");
        std::ofstream(dir.path() / "tracks" / "DEMO" / "track.ini", std::ios::binary)
            << simkit::TrackIniText("Demo", 2500.0);
        // The sessions follow each other as the simulation runs them: the
        // lap tables are numbered back from the last session.
        builder.drivers(4)
            .session(0, 2, 61000)
            .session(1, 2, 60000)
            .session(2, 2, 62000)
            .session(3, 3, 60000)
            .trackLength(2500.0);
    }

    Report& Load() {
        path = dir.path() / "r1.rpy";
        EXPECT_TRUE(builder.writeFile(path));
        EXPECT_EQ(header.Read(path), Header::Ok);
        EXPECT_EQ(drivers.Load(path), Drivers::LoadResult::Ok);
        report.header = &header;
        report.drivers = &drivers;
        report.settings.simFolder = dir.path().string();
        report.settings.speedUnit = 0;
        report.prompts = &prompts;
        return report;
    }
    simkit::CarSession& Car(int session, int driver) {
        return builder.desc.sessions[static_cast<std::size_t>(session)].cars[static_cast<std::size_t>(driver)];
    }

    test::ScratchDir dir{"reports"};
    ReplayBuilder builder;
    std::filesystem::path path;
    Header header;
    Drivers drivers;
    Report report;
    test::ScriptedPrompts prompts;
};

TEST_F(ReportFixture, SessionReportsRankBestCompleteLapsWithSpeedsAndHeadings) {
    Car(1, 2).laps[0] = 50000 | (1u << 28);  // quicker, but incomplete: never the best
    Load();
    ASSERT_EQ(drivers.LapWordAt(Qualifying, 0, 1), 60000u);
    const std::string qual = report.Text(ReportKind::Qualifying);
    EXPECT_EQ(qual.substr(0, qual.find("Pos")),
              "Qualifying Report\r\nTrack: DEMO\r\nReplay: r1.rpy\r\nDate: " + drivers.fileDate + "\r\n\r\n");
    EXPECT_THAT(qual, HasSubstr(Row(1, "1", "Alex Morgan", "1m 00.000s", "150.000kph", 2)));
    EXPECT_THAT(qual, HasSubstr(Row(2, "2", "Driver1 Racer1", "1m 00.250s", "149.378kph", 2)));
    EXPECT_THAT(qual, HasSubstr(Row(3, "3", "Driver2 Racer2", "1m 00.500s", "148.760kph", 2)));
    EXPECT_THAT(report.Text(ReportKind::Practice),
                HasSubstr(Row(1, "1", "Alex Morgan", "1m 01.000s", "147.541kph", 2)));
    EXPECT_THAT(report.Text(ReportKind::HappyHour),
                HasSubstr(Row(1, "1", "Alex Morgan", "1m 02.000s", "145.161kph", 2)));

    report.settings.speedUnit = 1;
    EXPECT_THAT(report.Text(ReportKind::Qualifying),
                HasSubstr(Row(1, "1", "Alex Morgan", "1m 00.000s", "93.205mph", 2)));
}

TEST_F(ReportFixture, WithoutTrackIniTheSpeedColumnIsLeftOut) {
    Load();
    std::filesystem::remove(dir.path() / "tracks" / "DEMO" / "track.ini");
    const std::string qual = report.Text(ReportKind::Qualifying);
    EXPECT_THAT(qual, HasSubstr("Speeds not shown: track.ini of this track was not found.\r\n"));
    EXPECT_THAT(qual,
                HasSubstr(fmt::sprintf("%3d  %4s  %-33s  %11s  %4d\r\n", 1, "1", "Alex Morgan", "1m 00.000s", 2)));
    EXPECT_THAT(qual, Not(HasSubstr("kph")));
}

TEST_F(ReportFixture, RaceReportOrdersByLapsAndCrossingWithGapsAndSwitches) {
    Car(3, 3).laps.pop_back();  // the last car is a lap down
    Load();
    const std::string race = report.Text(ReportKind::Race);
    EXPECT_THAT(race, HasSubstr("Finishing order and last lap info is unofficial\r\n"));
    EXPECT_THAT(race, HasSubstr(RaceRow(1, "1", "Alex Morgan", 3, "3m 00.000s", "", "1m 00.000s")));
    EXPECT_THAT(race, HasSubstr(RaceRow(2, "2", "Driver1 Racer1", 3, "3m 00.750s", "+0:00.750", "1m 00.250s")));
    EXPECT_THAT(race, HasSubstr(RaceRow(4, "4", "Driver3 Racer3", 2, "2m 01.500s", "+1 lap", "1m 00.750s")));
    EXPECT_THAT(race, Not(HasSubstr("Damage info")));
    report.settings.damageInfo = 1;
    EXPECT_THAT(report.Text(ReportKind::Race),
                HasSubstr("Damage info is not available: the replay's car status records are not decoded.\r\n"));
}

TEST_F(ReportFixture, OfficialRaceHasNoUnofficialLine) {
    builder.desc.sessions.back().state = 6;
    Load();
    ASSERT_TRUE(drivers.IsRaceOfficial());
    EXPECT_THAT(report.Text(ReportKind::Race), Not(HasSubstr("unofficial")));
}

TEST_F(ReportFixture, NicknamesOnlyInOnlineRacesAndOnlyWhenAskedFor) {
    builder.desc.drivers[1].nickname = "Quick";
    Load();
    report.settings.useNickNames = 1;
    EXPECT_THAT(report.Text(ReportKind::Race), HasSubstr("Driver1 Racer1"));  // driver 0 has none: not online

    builder.desc.drivers[0].nickname = "Lead";
    Load();
    EXPECT_THAT(report.Text(ReportKind::Race), HasSubstr("  Quick  "));
    EXPECT_THAT(report.Text(ReportKind::Race), HasSubstr("  Lead  "));
    report.settings.useNickNames = 0;
    EXPECT_THAT(report.Text(ReportKind::Race), Not(HasSubstr("Quick")));
}

// Names are Windows-1252: "Jos\xC3\xA9" is six characters ("Jos" and two
// accented letters), whatever the same bytes would mean as UTF-8.
TEST_F(ReportFixture, NameColumnsCountOneColumnPerByte) {
    builder.desc.drivers[0].firstName = "Jos\xC3\xA9";
    builder.desc.drivers[0].lastName = "Lima";
    Load();
    const std::string name = "Jos\xC3\xA9 Lima" + std::string(23, ' ');  // 10 bytes, 33 columns
    EXPECT_THAT(report.Text(ReportKind::Qualifying),
                HasSubstr("  1     1  " + name + "   1m 00.000s  150.000kph     2\r\n"));
    EXPECT_THAT(report.Text(ReportKind::Race), HasSubstr("  1     1  " + name + "     3   3m 00.000s"));
    EXPECT_THAT(report.Text(ReportKind::LapByLap), HasSubstr("  1     1  " + name + "   1m 00.000s\r\n"));
    EXPECT_THAT(report.Text(ReportKind::Ratings), HasSubstr("   1  " + name + "  Human\r\n"));
}

TEST_F(ReportFixture, LapChartAndLapByLapFollowTheCrossingsWithIncidents) {
    Car(3, 2).laps[1] = 55000 | (1u << 29) | (1u << 30);  // driver 2 pits and leaves the track, leads line 2
    Load();
    const std::string chart = report.Text(ReportKind::LapChart);
    EXPECT_THAT(chart, HasSubstr("Lap 1: 1 2 3 4\r\nLap 2: 3 1 2 4\r\nLap 3: 3 1 2 4\r\n"));
    std::string lbl = report.Text(ReportKind::LapByLap);
    EXPECT_THAT(lbl, HasSubstr("Lap 2\r\n"));
    EXPECT_THAT(lbl, HasSubstr(fmt::sprintf("%3d  %4s  %-33s  %11s  %s\r\n", 1, "3", "Driver2 Racer2", "0m 55.000s",
                                            "Pitted")));
    report.settings.offTrackRemoved = 0;
    EXPECT_THAT(report.Text(ReportKind::LapByLap),
                HasSubstr(fmt::sprintf("%3d  %4s  %-33s  %11s  %s\r\n", 1, "3", "Driver2 Racer2", "0m 55.000s",
                                       "Pitted, Off track")));

    const std::string complete = report.Text(ReportKind::Complete);
    EXPECT_THAT(complete,
                HasSubstr("\r\n" + report.Text(ReportKind::Qualifying) + "\r\n" + report.Text(ReportKind::Race) +
                          "\r\n" + report.Text(ReportKind::LapChart) + "\r\n" + report.Text(ReportKind::LapByLap)));
}

TEST_F(ReportFixture, DriverListsAndFixedLines) {
    builder.desc.drivers[2].fourthText = "cup_red.car";
    builder.desc.drivers.push_back({"Safety", "Car", "", "", 0, 0, 65535, 99});
    Load();
    const std::string cars = report.Text(ReportKind::CarFile);
    EXPECT_THAT(
        cars, HasSubstr(fmt::sprintf("%4s  %-33s  %-16s  %s\r\n", "3", "Driver2 Racer2", "Velmar Cup", "cup_red.car")));
    EXPECT_THAT(cars, Not(HasSubstr("Safety")));
    const std::string ratings = report.Text(ReportKind::Ratings);
    EXPECT_THAT(ratings, HasSubstr(fmt::sprintf("%4s  %-33s  %s\r\n", "1", "Alex Morgan", "Human")));
    EXPECT_THAT(ratings, HasSubstr(fmt::sprintf("%4s  %-33s  %s\r\n", "2", "Driver1 Racer1", "AI-car")));
    EXPECT_THAT(ratings,
                HasSubstr("Non-competing\r\nDriver ratings are not recorded in this replay's driver table.\r\n"));
    EXPECT_THAT(report.Text(ReportKind::RaceSettings), HasSubstr("Track: DEMO\r\nPhysics: CUP\r\n"));
    EXPECT_THAT(report.Text(ReportKind::Mechanical), HasSubstr("Mechanical failures: No\r\nDamage: None\r\n"));
    EXPECT_THAT(report.Text(ReportKind::EngineDetection), HasSubstr("Engine detection is not available"));
}

TEST_F(ReportFixture, FlagReportListsEveryChangeOfFlagState) {
    auto& race = builder.desc.sessions.back();
    race.raceStartMs = 0;
    builder.desc.frameHook = [](simkit::FrameContext& ctx) {
        if (ctx.session != 3 || ctx.frameInSession % 36 != 0) return;
        const std::uint32_t second = ctx.frameInSession / 36;
        static const std::map<std::uint32_t, std::uint8_t> flags = {{5, 0},  {10, 4}, {20, 8}, {30, 4},
                                                                    {35, 4}, {40, 2}, {50, 1}};
        const auto it = flags.find(second);
        if (it == flags.end()) return;
        simkit::FrameRecord r{9, -1, std::vector<std::uint8_t>(12, 0)};
        r.body[0] = 1;
        r.body[4] = it->second;
        ctx.records.push_back(r);
    };
    Load();
    const auto row = [](const char* t, const char* lap, const char* text) {
        std::string s = fmt::sprintf("%6s  %4s  %s", t, lap, text);
        return s + "\r\n";
    };
    EXPECT_THAT(report.Text(ReportKind::Flags),
                HasSubstr(fmt::sprintf("%6s  %4s  %s\r\n", "Time", "Lap", "Flag") + row("0:00", "", "Pace lap") +
                          row("0:10", "1", "Green flag racing") + row("0:20", "1", "Yellow flag racing") +
                          row("0:30", "1", "Green flag racing") + row("0:40", "1", "White flag waved") +
                          row("0:50", "1", "Chequered flag waved")));

    Header otherHeader;
    Drivers noRace;
    ReplayBuilder practiceOnly;
    practiceOnly.drivers(2).session(0, 1, 30000);
    ASSERT_TRUE(practiceOnly.writeFile(dir.path() / "p.rpy"));
    ASSERT_EQ(otherHeader.Read(dir.path() / "p.rpy"), Header::Ok);
    ASSERT_EQ(noRace.Load(dir.path() / "p.rpy"), Drivers::LoadResult::Ok);
    report.header = &otherHeader;
    report.drivers = &noRace;
    EXPECT_THAT(report.Text(ReportKind::Flags), HasSubstr("\r\n\r\nRpyDataClass: Error reading file!\r\n"));
    EXPECT_THAT(report.Text(ReportKind::Race), HasSubstr("This replay holds no Race session.\r\n"));
    EXPECT_THAT(report.Text(ReportKind::HappyHour), HasSubstr("This replay holds no Happy Hour session.\r\n"));
}

TEST_F(ReportFixture, LongestRaceSumsItsLapsInSixtyFourBits) {
    builder = ReplayBuilder();
    builder.drivers(2).session(3, 512, 2000).trackLength(2500.0);
    Load();
    const std::string chart = report.Text(ReportKind::LapChart);
    EXPECT_THAT(chart, HasSubstr("Lap 512: 1 2\r\n"));
    EXPECT_THAT(chart, Not(HasSubstr("Lap 513")));
    EXPECT_THAT(report.Text(ReportKind::Race),
                HasSubstr(RaceRow(1, "1", "Alex Morgan", 512, "17m 04.000s", "", "0m 02.000s")));
}

TEST_F(ReportFixture, WriteAllTextReportsWritesEachFileWholeWithCrlfLines) {
    Load();
    header.path = "/data/r1.rpy";
    const std::filesystem::path out = dir.path() / "out";
    std::filesystem::create_directories(out);
    ASSERT_TRUE(report.WriteAllTextReports(out.string() + "/", 1));
    const std::vector<std::pair<std::string, int>> expected = {{"r1_MiscInfo.txt", ReportKind::RaceSettings},
                                                               {"r1_Practice.txt", ReportKind::Practice},
                                                               {"r1_Qual.txt", ReportKind::Qualifying},
                                                               {"r1_HappyHour.txt", ReportKind::HappyHour},
                                                               {"r1_Race.txt", ReportKind::Race},
                                                               {"r1_LapChart.txt", ReportKind::LapChart},
                                                               {"r1_LapByLap.txt", ReportKind::LapByLap},
                                                               {"r1_Complete.txt", ReportKind::Complete},
                                                               {"r1_Mechanical.txt", ReportKind::Mechanical},
                                                               {"r1_Flag.txt", ReportKind::Flags}};
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), 10);
    for (const auto& [name, kind] : expected) {
        const std::string text = ReadAll(out / name);
        EXPECT_EQ(text, report.Text(kind)) << name;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << name;
            }
        }
    }

    // No separator: the prefix is only put in front of the name.
    ASSERT_TRUE(report.WriteAllTextReports((dir.path() / "pre").string(), 0));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "prer1_Complete.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "prer1_Flag.txt"));

    // A file that cannot be replaced is named; the set is left as it was.
    std::filesystem::remove(out / "r1_Race.txt");
    std::filesystem::create_directories(out / "r1_Race.txt" / "x");
    std::filesystem::remove(out / "r1_Complete.txt");
    std::ofstream(out / "r1_Qual.txt", std::ios::binary) << "older run";
    EXPECT_FALSE(report.WriteAllTextReports(out.string() + "/", 0));
    EXPECT_THAT(prompts.messages(), ElementsAre("Error creating file!\r\n" + out.string() + "/r1_Race.txt: " +
                                                std::make_error_code(std::errc::is_a_directory).message()));
    EXPECT_FALSE(std::filesystem::exists(out / "r1_Complete.txt"));
    EXPECT_EQ(ReadAll(out / "r1_Qual.txt"), "older run");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), 9);

    EXPECT_FALSE(report.WriteAllTextReports((dir.path() / "missing" / "").string(), 0));
    EXPECT_EQ(Report::BaseName("C:\\replays\\a.b.rpy"), "a.b");
    EXPECT_EQ(Report::BaseName("/x/y/z"), "z");
}

// The disk fills while the largest report is written over an older run's:
// every older report stays as it was, and no new one stands beside them.
TEST_F(ReportFixture, AFullDiskLeavesTheOlderReportsAsTheyWere) {
    Load();
    header.path = "/data/r1.rpy";
    const std::filesystem::path out = dir.path() / "out";
    std::filesystem::create_directories(out);
    ASSERT_TRUE(report.WriteAllTextReports(out.string() + "/", 1));
    std::uintmax_t largest = 0;
    std::map<std::string, std::string> older;
    for (const auto& e : std::filesystem::directory_iterator(out)) {
        largest = std::max(largest, e.file_size());
        const std::string name = e.path().filename().string();
        std::ofstream(e.path(), std::ios::binary) << (older[name] = "older " + name);
    }
    {
        const test::FileSizeLimit diskFull(largest - 1);
        ASSERT_TRUE(diskFull.active());
        EXPECT_FALSE(report.WriteAllTextReports(out.string() + "/", 1));
    }
    EXPECT_EQ(test::FilesUnder(out), older);
}

}  // namespace
}  // namespace vra
