#include "core/laps/LapFinder.h"

#include "core/laps/ReplayDatabase.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"

#include "simkit/replay/DatabaseWriter.h"

#include "LapsFixture.h"

#include <gmock/gmock.h>

#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace vra::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

constexpr const char* kCaption = "Error reading replay file - is this a standard Velmar replay?";

// Noon UTC of a day, so that the local date is that day in every zone
// within twelve hours of UTC.
void SetDate(const std::filesystem::path& p, int year, int month, int day) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = 12;
    const std::time_t t = timegm(&tm);
    struct timespec times[2] = {{t, 0}, {t, 0}};
    ::utimensat(AT_FDCWD, p.c_str(), times, 0);
}

// The parts of a shown text that are file names, in order.
std::vector<std::string> FileNameParts(const ShownText& text) {
    std::vector<std::string> names;
    for (const ShownText::Part& p : text.Parts())
        if (p.fileName) names.push_back(p.bytes);
    return names;
}

class LapFinderTest : public LapsFixture {
protected:
    void SetUp() override {
        LapsFixture::SetUp();
        for (const char* t : {"oval", "ring", "shared"}) std::filesystem::create_directories(sim / "tracks" / t);
        WriteText(sim / "tracks" / "notes.txt", "stray");
        // The replay folder: two oval replays, one of another track and
        // one that is no replay.
        Write(Replay("OVAL", 3, 2, 40000), sim / "replay" / "race.rpy");
        SetDate(sim / "replay" / "race.rpy", 2026, 4, 2);
        Write(Replay("Oval", 2, 1, 61000), sim / "replay" / "DUEL.RPY");
        SetDate(sim / "replay" / "DUEL.RPY", 2026, 2, 20);
        Write(Replay("RING"), sim / "replay" / "ring.rpy");
        WriteText(sim / "replay" / "junk.rpy", "not a replay");
        // The second folder.
        Write(Replay("OVAL", 3, 1, 39000), alt / "alt.rpy");
        SetDate(alt / "alt.rpy", 2025, 12, 24);
        // Databases, one in a sub-folder.
        simkit::DbDesc one;
        one.label = "RACES [CDFS]";
        one.records = {simkit::SimpleDbRecord("season\\r1.rpy", "OVAL", 2, 1, 600000),
                       simkit::SimpleDbRecord("r2.rpy", "RING", 2, 1, 50000)};
        one.records[0].fileDate = "2024 Jan 05";
        one.records[0].drivers[0].firstName = "Disc";
        std::filesystem::create_directories(sim / "replay" / "VELMRRA_CDDB" / "old");
        ASSERT_TRUE(simkit::WriteDatabase(sim / "replay" / "VELMRRA_CDDB" / "old" / "season.rdb", one));
        simkit::DbDesc two;
        two.label = "MORE [udf]";
        two.records = {simkit::SimpleDbRecord("x.rpy", "RING", 3, 1, 50000)};
        ASSERT_TRUE(simkit::WriteDatabase(sim / "replay" / "VELMRRA_CDDB" / "more.rdb", two));
        settings->SetAltReplayPath(alt.string());
    }

    LapFinder finder() { return LapFinder(document(), volumes, waitBox); }

    static std::vector<std::string> Column(const LapFinder& f, int c) {
        std::vector<std::string> out;
        for (const auto& r : f.Rows()) out.push_back(r.text[std::size_t(c)]);
        return out;
    }

    const std::filesystem::path alt = scratch.path() / "alt";
};

TEST_F(LapFinderTest, ScanListsTheValidLapsOfTheChosenTrack) {
    auto f = finder();
    EXPECT_THAT(f.FillTrackList(), ElementsAre("oval", "ring"));
    EXPECT_EQ(f.GetFilter(), LapFinder::Filter::OnlyLocal);
    f.OnTrackChosen("oval");

    // Folder replays in name order, then the second folder, then the databases.
    ASSERT_EQ(f.RowCount(), 5);
    const auto& r = f.Rows();
    EXPECT_THAT(r[0].text, ElementsAre("Alex Morgan", "1m 01.000s", "Simulation", "Race", "2026 Feb 20", "DUEL.RPY",
                                       "CUP", std::to_string(1 * 65536 + 0 * 256 + 3), "NA"));
    EXPECT_THAT(Column(f, 1), ElementsAre("1m 01.000s", "0m 40.000s", "0m 40.000s", "0m 39.000s", "10m 00.000s"));
    EXPECT_THAT(Column(f, 5), ElementsAre("DUEL.RPY", "race.rpy", "race.rpy", "alt.rpy", "season:season\\r1.rpy"));
    EXPECT_THAT(Column(f, 8), ElementsAre("NA", "NA", "NA", "NA", "RACES [CDFS]"));
    EXPECT_THAT(Column(f, 7), ElementsAre("65539", "65539", "131075", "65539", "65539"));
    EXPECT_EQ(r[4].text[0], "Disc Morgan");
    EXPECT_EQ(r[4].text[4], "2024 Jan 05");
    EXPECT_EQ(r[1].replayPath, sim / "replay" / "race.rpy");
    EXPECT_EQ(r[3].replayPath, alt / "alt.rpy");

    EXPECT_EQ(f.FolderFiles(), 5);
    EXPECT_EQ(f.DatabaseReplays(), 3);
    EXPECT_EQ(f.StatusText(),
              "Total number of replay files scanned was 8, out of which 3 were taken from Replay CD databases.");
    ASSERT_EQ(prompts.shown().size(), 1u);  // one box for the file that is no replay
    EXPECT_EQ(prompts.shown()[0].text, (sim / "replay" / "junk.rpy").string());
    EXPECT_EQ(prompts.shown()[0].caption, kCaption);
    EXPECT_EQ(waitBox.calls().front(), "show: Please wait while scanning replays...");
    EXPECT_EQ(waitBox.calls().back(), "hide");
}

TEST_F(LapFinderTest, FiltersAndSessionNames) {
    auto f = finder();
    f.SetFilter(LapFinder::Filter::ShowAll);
    f.OnTrackChosen("OVAL");
    // race: 3 cars x 2 laps; duel: 2 x 1; alt: 3 x 1; database: 2 x 1.
    EXPECT_EQ(f.RowCount(), 6 + 2 + 3 + 2);
    // Two-driver replays hold training, whatever the table says.
    auto sessions = Column(f, 3);
    EXPECT_EQ(std::count(sessions.begin(), sessions.end(), "Race"), 13);

    f.SetFilter(LapFinder::Filter::NoAi);
    f.OnTrackChosen("OVAL");
    EXPECT_THAT(Column(f, 0), ElementsAre("Alex Morgan", "Alex Morgan", "Alex Morgan", "Alex Morgan", "Disc Morgan"));

    // A two-driver replay's practice is training.
    auto b = Replay("OVAL", 2, 1, 45000);
    b.desc.sessions[0].kind = 0;
    Write(b, sim / "replay" / "training.rpy");
    auto t = finder();
    t.OnTrackChosen("oval");
    EXPECT_THAT(Column(t, 3), ::testing::Contains("Training"));
}

TEST_F(LapFinderTest, SortingByButtonsAndHeadingsAndTheClipboard) {
    auto f = finder();
    f.OnTrackChosen("oval");
    const auto unsorted = Column(f, 5);
    EXPECT_EQ(f.GetSortMode(), LapFinder::Unsorted);

    EXPECT_TRUE(f.SortBy(LapFinder::ByLapTime));
    EXPECT_THAT(Column(f, 1), ElementsAre("0m 39.000s", "0m 40.000s", "0m 40.000s", "1m 01.000s", "10m 00.000s"));
    // Equal times keep their order.
    EXPECT_THAT(Column(f, 7), ElementsAre("65539", "65539", "131075", "65539", "65539"));
    EXPECT_FALSE(f.SortBy(LapFinder::ByLapTime));
    // "Unsorted" keeps the sorted order.
    EXPECT_TRUE(f.SortBy(LapFinder::Unsorted));
    EXPECT_THAT(Column(f, 1), ElementsAre("0m 39.000s", "0m 40.000s", "0m 40.000s", "1m 01.000s", "10m 00.000s"));

    f.OnColumnClick(4);
    EXPECT_EQ(f.GetSortMode(), LapFinder::ByFileDate);
    EXPECT_THAT(Column(f, 4), ElementsAre("2024 Jan 05", "2025 Dec 24", "2026 Feb 20", "2026 Apr 02", "2026 Apr 02"));
    f.OnColumnClick(5);
    EXPECT_EQ(f.GetSortMode(), LapFinder::ByReplayFile);
    EXPECT_THAT(Column(f, 5), ElementsAre("alt.rpy", "DUEL.RPY", "race.rpy", "race.rpy", "season:season\\r1.rpy"));
    f.OnColumnClick(0);
    EXPECT_EQ(f.GetSortMode(), LapFinder::ByDriver);
    EXPECT_EQ(Column(f, 0).front(), "Alex Morgan");
    EXPECT_EQ(Column(f, 0).back(), "Disc Morgan");
    f.OnColumnClick(7);
    EXPECT_THAT(prompts.messages(), ::testing::Contains("No sorting available for this column."));
    EXPECT_EQ(f.GetSortMode(), LapFinder::ByDriver);
    for (int c = 0; c < 7; ++c) EXPECT_NE(LapFinder::SortModeForColumn(c), 0);
    EXPECT_EQ(LapFinder::SortModeForColumn(1), LapFinder::ByLapTime);
    EXPECT_EQ(LapFinder::SortModeForColumn(4), LapFinder::ByFileDate);
    EXPECT_EQ(LapFinder::SortModeForColumn(5), LapFinder::ByReplayFile);

    test::FakeClipboard clipboard;
    ASSERT_TRUE(f.CopyTableToClipboard(clipboard));
    std::string expected = "Driver Name\tLap time\tGame mode\tSession\tFiledate\tReplay file\n";
    for (const auto& row : f.Rows()) {
        for (int c = 0; c < 7; ++c) expected += row.text[std::size_t(c)] + "\t";
        expected += "\n";
    }
    EXPECT_EQ(clipboard.text(), expected);
    EXPECT_EQ(FileNameParts(clipboard.shownText()), Column(f, 5));
    EXPECT_NE(clipboard.text().find("Alex Morgan\t0m 39.000s\tSimulation\tRace\t2025 Dec 24\talt.rpy\tCUP\t\n"),
              std::string::npos);
    (void)unsorted;
}

// A replay of too many drivers gives the reader's explanation before its
// path box, as everywhere a driver table is read.
TEST_F(LapFinderTest, TooManyDriversAreExplainedBeforeThePath) {
    Write(Replay("OVAL", 50, 1), sim / "replay" / "crowd.rpy");
    auto f = finder();
    prompts = test::ScriptedPrompts();
    f.OnTrackChosen("oval");
    const auto messages = prompts.messages();
    const auto box = std::find(messages.begin(), messages.end(), (sim / "replay" / "crowd.rpy").string());
    ASSERT_NE(box, messages.end());
    ASSERT_NE(box, messages.begin());
    EXPECT_THAT(*(box - 1), ::testing::EndsWith("Please, state also this number: 50"));
}

TEST(LapFinderDates, ParseEnglishDatesOnly) {
    EXPECT_LT(*ParseFileDate("2026 Feb 28"), *ParseFileDate("2026 Apr 01"));
    EXPECT_LT(*ParseFileDate("2025 Dec 31"), *ParseFileDate("2026 Jan 01"));
    EXPECT_FALSE(ParseFileDate("2026 Foo 01"));
    EXPECT_FALSE(ParseFileDate(""));
    EXPECT_FALSE(ParseFileDate("2026 feb 01"));
}

TEST_F(LapFinderTest, LoadingRefusalsAndFolderRows) {
    // The same file name in both folders: each row loads its own replay.
    Write(Replay("OVAL", 3, 1, 44000), sim / "replay" / "same.rpy");
    Write(Replay("OVAL", 3, 1, 47000), alt / "same.rpy");
    auto f = finder();
    f.OnTrackChosen("oval");
    prompts = test::ScriptedPrompts();

    EXPECT_FALSE(f.OnOK({}));
    EXPECT_EQ(prompts.shown().back().text, "Choose a lap to view!");
    EXPECT_EQ(prompts.shown().back().caption, "No lap choosen!");
    EXPECT_EQ(prompts.shown().back().icon, Icon::Error);

    std::vector<int> same;
    for (int i = 0; i < f.RowCount(); ++i)
        if (f.Rows()[std::size_t(i)].text[5] == "same.rpy") same.push_back(i);
    ASSERT_EQ(same.size(), 2u);
    // The replay folder's row goes away before loading: its box, the other
    // row still loads.
    std::filesystem::remove(sim / "replay" / "same.rpy");
    EXPECT_TRUE(f.OnOK(same));
    ASSERT_GE(prompts.shown().size(), 2u);
    EXPECT_EQ(prompts.shown()[1].text, (sim / "replay" / "same.rpy").string());
    EXPECT_EQ(prompts.shown()[1].caption, kCaption);
    EXPECT_THAT(FileNameParts(prompts.shown()[1].parts), ElementsAre((sim / "replay" / "same.rpy").string()));
    ASSERT_EQ(document().LapCount(), 1);
    EXPECT_EQ(document().Slot(0).header->path, alt / "same.rpy");
    EXPECT_EQ(document().Slot(0).drivers->LapWordAt(3, 0, 1) & 0x0FFFFFFF, 47000u);

    // Two more loaded: three selected is one too many.
    ASSERT_TRUE(f.OnOK({0, 1}));
    EXPECT_EQ(document().LapCount(), 3);
    prompts = test::ScriptedPrompts();
    EXPECT_FALSE(f.OnOK({0, 1, 2}));
    EXPECT_THAT(prompts.messages(), ElementsAre("Too many laps selected!"));
    EXPECT_EQ(document().LapCount(), 3);
}

TEST_F(LapFinderTest, DiscRowsAskForTheirDisc) {
    // The disc as a folder, its names in another case.
    Write(Replay("OVAL", 2, 1, 600000), disc / "SEASON" / "R1.RPY");
    auto f = finder();
    f.OnTrackChosen("oval");
    const int row = f.RowCount() - 1;
    ASSERT_TRUE(f.Rows()[std::size_t(row)].onDisc);
    prompts = test::ScriptedPrompts();

    const std::string ask =
        "The replay file season\\r1.rpy is stored on the CD season.\r\n(Actual CD label is RACES [CDFS])\r\nThis CD "
        "must be inserted now to load the replay.\r\n\r\nDo you want to continue?";
    prompts.answer(Button::No);
    EXPECT_FALSE(f.LoadChosenLap(f.Rows()[std::size_t(row)]));
    EXPECT_THAT(prompts.messages(), ElementsAre(ask));
    EXPECT_EQ(prompts.shown()[0].buttons, Buttons::YesNo);
    EXPECT_THAT(FileNameParts(prompts.shown()[0].parts), ElementsAre("season\\r1.rpy", "season", "RACES [CDFS]"));
    EXPECT_EQ(volumes.listings(), 0);

    // Yes; not found twice, then the disc is "inserted": an iso9660 volume
    // answers the CDFS label.
    prompts = test::ScriptedPrompts();
    prompts.answer(Button::Yes).answer(Button::Yes).answer(Button::Yes);
    volumes.beforeList = [&](int listing) {
        if (listing == 3) volumes.volumes = {test::FakeVolumes::Disc(disc, "RACES", "iso9660")};
    };
    const auto path = f.LoadChosenLap(f.Rows()[std::size_t(row)]);
    ASSERT_TRUE(path);
    EXPECT_EQ(*path, disc / "SEASON" / "R1.RPY");
    EXPECT_THAT(prompts.messages(), ElementsAre(ask, "Can't find the CD with label: RACES [CDFS]! Try again?",
                                                "Can't find the CD with label: RACES [CDFS]! Try again?"));
    EXPECT_EQ(f.LastDiscLabel(), "RACES [CDFS]");
    EXPECT_THAT(FileNameParts(prompts.shown()[1].parts), ElementsAre("RACES [CDFS]"));

    // A second lap of that disc asks nothing and loads through OK.
    prompts = test::ScriptedPrompts();
    EXPECT_TRUE(f.OnOK({row}));
    EXPECT_TRUE(prompts.messages().empty() || prompts.messages()[0] != ask);
    ASSERT_EQ(document().LapCount(), 1);
    EXPECT_EQ(document().Slot(0).header->path, disc / "SEASON" / "R1.RPY");

    // Refusing to search again loads nothing; a volume of another family
    // or name is not the disc.
    volumes.beforeList = nullptr;
    volumes.volumes = {test::FakeVolumes::Disc(disc, "RACES", "udf"), test::FakeVolumes::Disc(disc, "races")};
    auto fresh = finder();
    fresh.OnTrackChosen("oval");
    prompts = test::ScriptedPrompts();
    prompts.answer(Button::Yes).answer(Button::No);
    EXPECT_FALSE(fresh.LoadChosenLap(fresh.Rows().back()));
    EXPECT_EQ(prompts.messages().size(), 2u);
    EXPECT_TRUE(fresh.LastDiscLabel().empty());
}

TEST_F(LapFinderTest, LoadedLapsChooseTheTrack) {
    auto f = finder();
    EXPECT_FALSE(f.InitialTrack(f.FillTrackList()));
    document().AddLapFromLapFinder(sim / "replay" / "ring.rpy", 0, 3, 1);
    ASSERT_EQ(document().LapCount(), 1);
    EXPECT_EQ(f.InitialTrack(f.FillTrackList()), "ring");
}

}  // namespace
}  // namespace vra::testing
