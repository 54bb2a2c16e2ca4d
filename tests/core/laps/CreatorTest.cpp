#include "core/base/FileUtil.h"
#include "core/laps/ReplayCDDatabaseCreator.h"
#include "core/laps/ReplayDatabaseLoader.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"

#include "LapsFixture.h"

#include <gmock/gmock.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vra::testing {
namespace {

using ::testing::ElementsAre;

constexpr const char* kCaption = "Error reading replay file - is this a standard VELMR replay?";

class Creator : public LapsFixture {
protected:
    ReplayCDDatabaseCreator creator() { return ReplayCDDatabaseCreator(sim, volumes, prompts); }

    // Hooks that answer the name dialog from a list and record progress.
    ReplayCDDatabaseCreator::Hooks hooks(std::vector<std::optional<std::string>> names) {
        names_ = std::move(names);
        ReplayCDDatabaseCreator::Hooks h;
        h.askName = [this](const std::string& proposal) -> std::optional<std::string> {
            proposals.push_back(proposal);
            if (names_.empty()) return std::nullopt;
            auto n = names_.front();
            names_.erase(names_.begin());
            return n;
        };
        h.progressRange = [this](int lo, int hi) {
            progress.push_back("range " + std::to_string(lo) + "-" + std::to_string(hi));
        };
        h.progressPos = [this](int pos) { progress.push_back(std::to_string(pos)); };
        h.waitCursor = [this](bool on) { progress.push_back(on ? "wait" : "done"); };
        return h;
    }

    std::filesystem::path dbFolder() const { return sim / "replay" / "VELMRRA_CDDB"; }

    std::vector<std::string> proposals, progress;

private:
    std::vector<std::optional<std::string>> names_;
};

TEST_F(Creator, DriveListAndItsEnabledState) {
    auto none = creator();
    none.ScanDrives();
    EXPECT_THAT(none.EntryTexts(), ElementsAre("No CD-roms found"));
    EXPECT_FALSE(none.CreateEnabled());

    volumes.volumes = {test::FakeVolumes::EmptyDrive("/dev/sr1")};
    auto empty = creator();
    empty.ScanDrives();
    EXPECT_THAT(empty.EntryTexts(), ElementsAre("/dev/sr1 [No Disk in Drive]"));
    EXPECT_FALSE(empty.CreateEnabled());

    volumes.volumes.push_back(test::FakeVolumes::Disc(disc, "RACES 2", "udf"));
    empty.ScanDrives();  // a rescan sees the disc
    EXPECT_THAT(empty.EntryTexts(), ElementsAre("/dev/sr1 [No Disk in Drive]", disc.string() + " RACES 2 [udf]"));
    EXPECT_EQ(empty.Entries()[1].label, "RACES 2 [udf]");
    EXPECT_EQ(empty.Entries()[1].root, disc);
    EXPECT_TRUE(empty.CreateEnabled());

    const std::string info = ReplayCDDatabaseCreator::InformationText();
    EXPECT_EQ(info.substr(info.size() - 2), "\r\n");
    EXPECT_NE(info.find("\r\n\r\nIt works like this:\r\n1. Burn your VELMR Replay CD"), std::string::npos);
    EXPECT_NE(info.find("\\VELMR\\Replay\\ directory.\r\n5."), std::string::npos);
}

TEST_F(Creator, WritesEveryReadableReplayInWalkOrder) {
    Write(Replay("OVAL", 3), disc / "a.rpy");
    Write(Replay("RING", 4, 2, 50000), disc / "races" / "b.rpy");
    Write(Replay("OVAL", 2, 5, 30000), disc / "races" / "deep" / "c.rpy");
    WriteCut(disc / "broken.rpy", "OVAL");
    WriteText(disc / "notes" / "readme.rpy", "this is not a replay");
    volumes.volumes = {test::FakeVolumes::Disc(disc, "RACES")};
    auto c = creator();
    c.ScanDrives();

    const auto written = c.OnCreateDatabase(0, hooks({"my races"}));
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, dbFolder() / "my races.rdb");
    EXPECT_THAT(proposals, ElementsAre("RACES [iso9660]"));
    const auto& shown = prompts.shown();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].text,
              "The following directory will be created and will\r\ncontain replay CD databases:\r\n\r\n" +
                  dbFolder().string());
    EXPECT_EQ(shown[1].text,
              (disc / "notes" / "readme.rpy").string() + "\r\nFile will not be included in the database.");
    EXPECT_EQ(shown[1].caption, kCaption);
    // The folder and the file are named as the system spells them.
    EXPECT_EQ(shown[0].parts.Parts().back(), (ShownText::Part{dbFolder().string(), true}));
    EXPECT_EQ(shown[1].parts.Parts().front(), (ShownText::Part{(disc / "notes" / "readme.rpy").string(), true}));
    EXPECT_EQ(shown[1].icon, Icon::Error);
    EXPECT_EQ(shown[2].text, (disc / "broken.rpy").string() + "\r\nFile will not be included in the database.");
    EXPECT_EQ(shown[3].text, "The replay CD contained 5 replays,\r\n3 were added to the database.");
    // The text file's header fails (no step); the cut replay's header reads.
    EXPECT_THAT(progress, ElementsAre("range 0-5", "wait", "2", "3", "4", "5", "done", "0"));

    const auto bytes = ReadWholeFile(*written, 1 << 24);
    ASSERT_TRUE(bytes);
    const std::string start(bytes->begin(), bytes->begin() + 33);
    EXPECT_EQ(start, std::string("VELMRRACDDB\0\x02RACES [iso9660]\0\x05\0\0\0", 33));

    ReplayDatabaseLoader loader;
    ASSERT_TRUE(loader.FindDatabases(dbFolder()));
    std::vector<std::string> paths;
    while (loader.Next()) {
        paths.push_back(loader.RecordPath());
        EXPECT_EQ(loader.Label(), "RACES [iso9660]");
        EXPECT_EQ(loader.Name(), "my races");
        std::string rel = loader.RecordPath();
        std::replace(rel.begin(), rel.end(), '\\', '/');
        Header h;
        Drivers d;
        ASSERT_EQ(h.Read(disc / rel), 0);
        ASSERT_EQ(d.Load(disc / rel), Drivers::LoadResult::Ok);
        const Header& lh = *loader.GetHeader();
        const Drivers& ld = *loader.GetDrivers();
        EXPECT_EQ(std::vector<int>({lh.version, int(lh.fileSize), int(lh.frameCount), lh.raceLaps, lh.gameMode,
                                    lh.damage, lh.temperature, lh.aiCars, lh.wearRate, lh.hardcoreDrivingAids}),
                  std::vector<int>({h.version, int(h.fileSize), int(h.frameCount), h.raceLaps, h.gameMode, h.damage,
                                    h.temperature, h.aiCars, h.wearRate, h.hardcoreDrivingAids}));
        EXPECT_EQ(std::vector<std::string>({lh.firstName, lh.lastName, lh.trackName, lh.secondText, lh.windDirection}),
                  std::vector<std::string>({h.firstName, h.lastName, h.trackName, h.secondText, h.windDirection}));
        EXPECT_EQ(ld.fileDate, d.fileDate);
        EXPECT_EQ(ld.savingPlayer, d.savingPlayer);
        EXPECT_EQ(ld.sessionPresent, d.sessionPresent);
        ASSERT_EQ(ld.drivers.size(), d.drivers.size());
        for (std::size_t i = 0; i < d.drivers.size(); ++i) {
            const auto& a = ld.drivers[i];
            const auto& b = d.drivers[i];
            EXPECT_EQ(std::tie(a.firstName, a.lastName, a.nickname, a.type, a.carNumber, a.carId, a.physics),
                      std::tie(b.firstName, b.lastName, b.nickname, b.type, b.carNumber, b.carId, b.physics));
            for (int k = 0; k < 4; ++k) {
                const auto& la = a.sessions[std::size_t(k)];
                const auto& lb = b.sessions[std::size_t(k)];
                ASSERT_EQ(la.count, lb.count);
                if (!d.sessionPresent[std::size_t(k)]) continue;
                for (int j = 0; j <= lb.count; ++j) {
                    EXPECT_EQ(la.times[std::size_t(j)], lb.times[std::size_t(j)]);
                    EXPECT_EQ(la.valid[std::size_t(j)], lb.valid[std::size_t(j)]);
                }
            }
        }
    }
    EXPECT_THAT(paths, ElementsAre("races\\deep\\c.rpy", "races\\b.rpy", "a.rpy"));
}

TEST_F(Creator, TooManyDriversAreExplainedBeforeTheFileIsLeftOut) {
    Write(Replay("OVAL", 50, 1), disc / "crowd.rpy");
    volumes.volumes = {test::FakeVolumes::Disc(disc, "RACES")};
    auto c = creator();
    c.ScanDrives();
    std::filesystem::create_directories(dbFolder());
    c.OnCreateDatabase(0, hooks({"crowd"}));
    const auto messages = prompts.messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_THAT(messages[0], ::testing::EndsWith("Please, state also this number: 50"));
    EXPECT_EQ(messages[1], (disc / "crowd.rpy").string() + "\r\nFile will not be included in the database.");
}

TEST_F(Creator, PathsOfTwoHundredBytesAreLeftOut) {
    // "x/" + name: 199 and 200 bytes relative to the disc's root.
    const std::string keep = std::string(193, 'k') + ".rpy";
    const std::string drop = std::string(194, 'd') + ".rpy";
    Write(Replay("OVAL"), disc / "x" / keep);
    Write(Replay("OVAL"), disc / "x" / drop);
    volumes.volumes = {test::FakeVolumes::Disc(disc, "RACES")};
    auto c = creator();
    c.ScanDrives();
    ASSERT_TRUE(c.OnCreateDatabase(0, hooks({"long"})));
    EXPECT_THAT(prompts.messages(),
                ElementsAre(::testing::StartsWith("The following directory"),
                            (disc / "x" / drop).string() + "\r\nFile will not be included in the database.",
                            "The replay CD contained 2 replays,\r\n1 were added to the database."));
    ReplayDatabaseLoader loader;
    loader.FindDatabases(dbFolder());
    ASSERT_TRUE(loader.Next());
    EXPECT_EQ(loader.RecordPath(), "x\\" + keep);
    EXPECT_EQ(loader.RecordPath().size(), 199u);
    EXPECT_FALSE(loader.Next());
}

TEST_F(Creator, StopsWithoutReplaysOrFolderAndAsksBeforeOverwriting) {
    volumes.volumes = {test::FakeVolumes::Disc(disc, "RACES")};
    WriteText(disc / "readme.txt", "no replays");
    auto c = creator();
    c.ScanDrives();
    EXPECT_FALSE(c.OnCreateDatabase(0, hooks({"x"})));
    EXPECT_THAT(prompts.messages(), ElementsAre("No replay files found on selected media, aborting..."));
    EXPECT_TRUE(proposals.empty());
    EXPECT_FALSE(std::filesystem::exists(dbFolder()));

    for (int i = 0; i < 5; ++i) Write(Replay("OVAL"), disc / ("r" + std::to_string(i) + ".rpy"));
    std::filesystem::create_directories(dbFolder());
    WriteText(dbFolder() / "RACES [iso9660].rdb", "old");
    WriteText(dbFolder() / "second.rdb", "old too");

    // Cancel at the name, then No (asked again with the typed name), then
    // Cancel at the question: nothing is written.
    prompts = test::ScriptedPrompts();
    EXPECT_FALSE(c.OnCreateDatabase(0, hooks({std::nullopt})));
    prompts.answer(Button::No).answer(Button::Cancel);
    EXPECT_FALSE(c.OnCreateDatabase(0, hooks({"RACES [iso9660]", "second"})));
    EXPECT_THAT(proposals, ElementsAre("RACES [iso9660]", "RACES [iso9660]", "RACES [iso9660]"));
    EXPECT_THAT(prompts.messages(), ElementsAre("File already exists, overwrite?", "File already exists, overwrite?"));
    EXPECT_EQ(prompts.shown()[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(*ReadWholeFile(dbFolder() / "second.rdb", 100),
              std::vector<std::uint8_t>({'o', 'l', 'd', ' ', 't', 'o', 'o'}));

    // Yes replaces it; every replay read gives "all".
    prompts = test::ScriptedPrompts();
    prompts.answer(Button::Yes);
    ASSERT_TRUE(c.OnCreateDatabase(0, hooks({"second"})));
    EXPECT_THAT(prompts.messages(),
                ElementsAre("File already exists, overwrite?",
                            "The replay CD contained 5 replays,\r\nall were added to the database."));
    EXPECT_GT(std::filesystem::file_size(dbFolder() / "second.rdb"), 100u);

    // A name that is no file name.
    prompts = test::ScriptedPrompts();
    EXPECT_FALSE(c.OnCreateDatabase(0, hooks({"a/b"})));
    EXPECT_THAT(prompts.messages(), ElementsAre("Error creating database file, aborting..."));
}

TEST_F(Creator, FailuresKeepTheOldDatabase) {
    for (int i = 0; i < 2; ++i) Write(Replay("OVAL"), disc / ("r" + std::to_string(i) + ".rpy"));
    volumes.volumes = {test::FakeVolumes::Disc(disc, "RACES")};
    auto c = creator();
    c.ScanDrives();

    // The folder cannot be made where a file stands in its way.
    std::filesystem::remove_all(sim / "replay");
    WriteText(sim / "replay", "a file");
    EXPECT_FALSE(c.OnCreateDatabase(0, hooks({"x"})));
    EXPECT_THAT(prompts.messages(), ElementsAre(::testing::StartsWith("The following directory will be created"),
                                                "Error creating directory, aborting..."));
    std::filesystem::remove(sim / "replay");

    // Writes past a few bytes fail, as on a full disc.
    std::filesystem::create_directories(dbFolder());
    WriteText(dbFolder() / "keep.rdb", "precious");
    prompts = test::ScriptedPrompts();
    prompts.answer(Button::Yes);
    {
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 64;
        ::setrlimit(RLIMIT_FSIZE, &small);
        EXPECT_FALSE(c.OnCreateDatabase(0, hooks({"keep"})));
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }
    EXPECT_THAT(prompts.messages(),
                ElementsAre("File already exists, overwrite?", "Error creating database file, aborting..."));
    EXPECT_EQ(*ReadWholeFile(dbFolder() / "keep.rdb", 100),
              std::vector<std::uint8_t>({'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dbFolder()), {}), 1);
}

}  // namespace
}  // namespace vra::testing
