// The batch export as a server runs it: the built program started with a
// command line and no display, judged by its files, its stderr and its exit
// status.
#include "core/base/OutputSink.h"
#include "core/export/RaceData.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/replay/ReplaySource.h"
#include "core/reports/Report.h"

#include "simkit/replay/ReplayBuilder.h"
#include "simkit/track/TrackFolderWriter.h"
#include "simkit/track/TrackLayout.h"
#include "support/FileText.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <png.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vra {
namespace {

using vra::test::FilesUnder;
using vra::test::ReadAll;

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class BatchRun : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.path() / "settings" / "user");
        std::ofstream(dir.path() / "settings" / "user" / "keep.ini") << "[Settings]\nAltRpyPath=/nowhere\n";
        simkit::ReplayBuilder b;
        b.drivers(3).session(1, 2, 60000).session(3, 2, 60000);
        b.desc.sessions.back().raceStartMs = 0;
        replay = dir.path() / "data" / "r1.rpy";
        std::filesystem::create_directories(replay.parent_path());
        ASSERT_TRUE(b.writeFile(replay));
        std::filesystem::create_directories(out);
        // The program's runtime folder, which Qt would otherwise make in the
        // temporary folder.
        const std::filesystem::path runtime = dir.path() / "runtime";
        std::filesystem::create_directories(runtime);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }

    // Runs the program without any display; returns its exit status, or -1
    // when a signal ended it.
    int Run(const std::vector<std::string>& args, const std::string& shellSetUp = {}) {
        std::string cmd = "cd " + Quote(dir.path().string()) + shellSetUp +
                          " && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=C VRA_SETTINGS_DIR=" +
                          Quote((dir.path() / "settings").string()) + " " + Quote(VRA_ANALYSER);
        for (const std::string& a : args) cmd += " " + Quote(a);
        cmd += " 2>" + Quote((dir.path() / "stderr.txt").string()) + " </dev/null";
        const int status = std::system(cmd.c_str());
        stderrText = ReadAll(dir.path() / "stderr.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The program's own settings, as the settings dialog saves them.
    void SetSettings(const std::string& lines) {
        const std::filesystem::path ini =
            dir.path() / "settings" / "user" / "Velmar Replay Analyzer" / "Velmar Replay Analyzer.ini";
        std::filesystem::create_directories(ini.parent_path());
        std::ofstream(ini) << "[Settings]\n" << lines;
    }

    // A simulation folder with the replay's track, known to the settings.
    void SetUpSimulation() {
        const std::filesystem::path sim = dir.path() / "sim";
        ASSERT_FALSE(simkit::WriteTrackFolder(sim / "tracks", "demo", simkit::TrackLayout::Oval(), {}).empty());
        const std::filesystem::path ini = dir.path() / "settings" / "user" / "Sorvan" / "Velmar.ini";
        std::filesystem::create_directories(ini.parent_path());
        std::ofstream(ini) << "[General]\nDirectory=" << sim.string() << "\n";
    }

    // Runs the program on a disk that takes no more than 512 bytes a file:
    // under a shell's file-size limit, as a server's job limit sets it, with
    // the signal such a write raises at its default action.
    int RunOnAFullDisk(const std::vector<std::string>& args) { return Run(args, " && ulimit -f 1"); }

    std::vector<std::string> Written() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(out)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::ScratchDir dir{"batch"};
    std::filesystem::path replay;
    std::filesystem::path out = dir.path() / "out";
    std::string stderrText;
};

TEST_F(BatchRun, WritesEveryReportWithMechOnlyAsTheFourthOfFourArguments) {
    const std::string settingsBefore = ReadAll(dir.path() / "settings" / "user" / "keep.ini");
    ASSERT_EQ(Run({"-expreports", "-r" + replay.string(), "-o" + out.string() + "/", "-mech"}), 0) << stderrText;
    ASSERT_EQ(Written().size(), 10u);

    Header header;
    Drivers drivers;
    ASSERT_EQ(header.Read(replay), Header::Ok);
    ASSERT_EQ(drivers.Load(replay), Drivers::LoadResult::Ok);
    Report report;
    report.header = &header;
    report.drivers = &drivers;
    for (const auto& [suffix, kind] : std::vector<std::pair<std::string, int>>{{"_MiscInfo.txt", 13},
                                                                               {"_Practice.txt", 11},
                                                                               {"_Qual.txt", 1},
                                                                               {"_HappyHour.txt", 12},
                                                                               {"_Race.txt", 2},
                                                                               {"_LapChart.txt", 3},
                                                                               {"_LapByLap.txt", 4},
                                                                               {"_Complete.txt", 5},
                                                                               {"_Mechanical.txt", 6},
                                                                               {"_Flag.txt", 14}})
        EXPECT_EQ(ReadAll(out / ("r1" + suffix)), report.Text(kind)) << suffix;
    EXPECT_EQ(ReadAll(dir.path() / "settings" / "user" / "keep.ini"), settingsBefore);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "settings" / "user"), {}), 1);

    for (const auto& args : std::vector<std::vector<std::string>>{
             {"-expreports", "-r" + replay.string(), "-o" + out.string() + "/"},
             {"-expreports", "-r" + replay.string(), "-o" + out.string() + "/", "-MECH"},
             {"-expreports", "-r" + replay.string(), "-o" + out.string() + "/", "-mech", "x"}}) {
        std::filesystem::remove_all(out);
        std::filesystem::create_directories(out);
        ASSERT_EQ(Run(args), 0) << stderrText;
        EXPECT_EQ(Written().size(), 8u);
        EXPECT_FALSE(std::filesystem::exists(out / "r1_Flag.txt"));
    }
}

TEST_F(BatchRun, FailuresGoToStderrWithExitStatusOne) {
    std::ofstream(dir.path() / "bad.rpy", std::ios::binary) << "not a replay";
    const std::string bad = (dir.path() / "bad.rpy").string();
    EXPECT_EQ(Run({"-expreports", "-r" + bad, "-o" + out.string() + "/"}), 1);
    EXPECT_EQ(stderrText, "HeaderClass: Error reading file!\n" + bad + "\n");
    EXPECT_TRUE(Written().empty());

    // A space typed after a flag leaves it without its value: the flag is
    // named with the mode's use, and nothing is written.
    const std::string expUse = "usage: velmar-replay-analyzer -expreports -r<replay> [-o<output prefix> [-mech]]\n";
    EXPECT_EQ(Run({"-expreports", "-r", replay.string(), "-o" + out.string() + "/"}), 1);
    EXPECT_EQ(stderrText, "Nothing follows \"-r\": the replay goes right after it, with no space between.\n" + expUse);
    EXPECT_EQ(Run({"-racedata", "-r" + replay.string(), "-o", (out / "cars.txt").string()}), 1);
    EXPECT_EQ(stderrText,
              "Nothing follows \"-o\": the output file goes right after it, with no space between.\n"
              "usage: velmar-replay-analyzer -racedata -r<replay> -o<output file>\n");
    EXPECT_TRUE(Written().empty());

    // A missing output folder is made; one that cannot be is refused once,
    // named with the system's reason.
    const std::filesystem::path missing = dir.path() / "missing" / "deeper";
    ASSERT_EQ(Run({"-expreports", "-r" + replay.string(), "-o" + missing.string() + "/"}), 0) << stderrText;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(missing), {}), 8);
    std::ofstream(dir.path() / "file") << "x";
    EXPECT_EQ(Run({"-expreports", "-r" + replay.string(), "-o" + (dir.path() / "file" / "sub").string() + "/"}), 1);
    EXPECT_EQ(stderrText, "Error creating file!\n" + (dir.path() / "file" / "sub").string() +
                              "/: " + std::make_error_code(std::errc::not_a_directory).message() + "\n");
}

TEST_F(BatchRun, ValuesAreNeverOpenedAsLaps) {
    // A prefix not starting with "-" would be a lap to open for an ordinary
    // start; a batch run opens nothing and shows nothing, without a display.
    ASSERT_EQ(Run({"-expreports", "-r" + replay.string(), "pre"}), 0) << stderrText;
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "er1_Race.txt"));
    EXPECT_EQ(stderrText, "");
}

TEST_F(BatchRun, RaceDataEqualsTheExportInProcessOrTellsItsFailure) {
    const std::filesystem::path file = out / "cars.txt";
    ASSERT_EQ(Run({"-racedata", "-r" + replay.string(), "-o" + file.string()}), 0) << stderrText;
    EXPECT_EQ(stderrText, "");
    Drivers drivers;
    ASSERT_EQ(drivers.Load(replay), Drivers::LoadResult::Ok);
    ReplaySource src(replay);
    MemorySink sink;
    ASSERT_TRUE(RaceData::Write(src, drivers, 1.0 / 1024.0, sink));
    EXPECT_EQ(ReadAll(file), std::string(sink.bytes().begin(), sink.bytes().end()));

    std::ofstream(dir.path() / "bad.rpy", std::ios::binary) << "not a replay";
    std::filesystem::remove(file);
    EXPECT_EQ(Run({"-racedata", "-r" + (dir.path() / "bad.rpy").string(), "-o" + file.string()}), 1);
    EXPECT_EQ(stderrText, "Race data could not be written.\nHeaderClass: Error reading file!\n" +
                              (dir.path() / "bad.rpy").string() + "\n");
    EXPECT_TRUE(Written().empty());
}

TEST_F(BatchRun, FailuresNameTheReadersMessageOrTheFolderAndTheSystemsReason) {
    const std::filesystem::path file = out / "cars.txt";
    const std::string raceDataFailed = "Race data could not be written.\n";
    const std::string tooLarge = std::make_error_code(std::errc::file_too_large).message();

    // A replay that cannot be read: the reader's message and the replay.
    const std::string missing = (dir.path() / "missing.rpy").string();
    EXPECT_EQ(Run({"-racedata", "-r" + missing, "-o" + file.string()}), 1);
    EXPECT_EQ(stderrText, raceDataFailed + "HeaderClass: Error reading file!\n" + missing + "\n");
    const std::string bytes = ReadAll(replay);
    const std::filesystem::path truncated = dir.path() / "truncated.rpy";
    std::ofstream(truncated, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    EXPECT_EQ(Run({"-racedata", "-r" + truncated.string(), "-o" + file.string()}), 1);
    EXPECT_EQ(stderrText, raceDataFailed + "DriversClass: Error reading file!\n" + truncated.string() + "\n");
    // One without a race.
    simkit::ReplayBuilder b;
    b.drivers(3).session(1, 2, 60000);
    const std::filesystem::path qualifying = dir.path() / "qualifying.rpy";
    ASSERT_TRUE(b.writeFile(qualifying));
    EXPECT_EQ(Run({"-racedata", "-r" + qualifying.string(), "-o" + file.string()}), 1);
    EXPECT_EQ(stderrText,
              raceDataFailed + "This replay file does not contain race info!\n" + qualifying.string() + "\n");
    EXPECT_TRUE(Written().empty());

    // A write that fails: the file or folder and why.
    EXPECT_EQ(RunOnAFullDisk({"-racedata", "-r" + replay.string(), "-o" + file.string()}), 1);
    EXPECT_EQ(stderrText, raceDataFailed + file.string() + ": " + tooLarge + "\n");
    SetSettings("RecordsPath=" + out.string() + "\n");
    EXPECT_EQ(RunOnAFullDisk({"-xml", "-r" + replay.string()}), 1);
    EXPECT_EQ(stderrText, "Could not create file!\nPlease verify export path in File->Settings\n" +
                              (out / "r1.xml").string() + ": " + tooLarge + "\n");
    EXPECT_TRUE(Written().empty());

    SetUpSimulation();
    // The first page too large for that disk is named; the settings only
    // when they gave the folder.
    const std::string page = (out / "r1" / "happyhour.html").string();
    EXPECT_EQ(RunOnAFullDisk({"-reportsite", "-r" + replay.string(), "-o" + out.string()}), 1);
    EXPECT_EQ(stderrText, "Could not create site!\n" + page + ": " + tooLarge + "\n");
    EXPECT_EQ(RunOnAFullDisk({"-reportsite", "-r" + replay.string()}), 1);
    EXPECT_EQ(stderrText,
              "Could not create site!\nPlease verify export path in File->Settings\n" + page + ": " + tooLarge + "\n");
}

// A job's file-size limit fails the write like a full disk: the run says
// why and ends with status 1, the old set as it was and nothing new left.
TEST_F(BatchRun, AFileSizeLimitFailsTheRunAndKeepsTheOldSet) {
    SetUpSimulation();
    const std::string tooLarge = std::make_error_code(std::errc::file_too_large).message();
    ASSERT_EQ(Run({"-expreports", "-r" + replay.string(), "-o" + out.string() + "/"}), 0) << stderrText;
    ASSERT_EQ(Run({"-reportsite", "-r" + replay.string(), "-o" + out.string()}), 0) << stderrText;
    const auto before = FilesUnder(out);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"-expreports", "-r" + replay.string(), "-o" + out.string() + "/"},
             {"-reportsite", "-r" + replay.string(), "-o" + out.string()},
             {"-racedata", "-r" + replay.string(), "-o" + (out / "cars.txt").string()}}) {
        EXPECT_EQ(RunOnAFullDisk(args), 1) << args[0];
        EXPECT_NE(stderrText.find(": " + tooLarge + "\n"), std::string::npos) << args[0] << ": " << stderrText;
        EXPECT_TRUE(FilesUnder(out) == before) << args[0];
    }
}

// A replay that cannot be read is named whatever the mode; a file standing
// where the output folder should be is told as not being a folder; a folder
// a failed run made goes with it.
TEST_F(BatchRun, AReplayThatCannotBeReadAndAFolderThatCannotBeMadeAreNamed) {
    SetUpSimulation();
    SetSettings("RecordsPath=" + out.string() + "/\n");
    const std::filesystem::path truncated = dir.path() / "truncated.rpy";
    std::ofstream(truncated, std::ios::binary) << ReadAll(replay).substr(0, 1000);
    const std::string t = "-r" + truncated.string();
    for (const auto& args : std::vector<std::vector<std::string>>{{"-xml", t},
                                                                  {"-reportsite", t},
                                                                  {"-reportsite", t, "-o" + out.string()},
                                                                  {"-expreports", t, "-o" + out.string() + "/"}}) {
        EXPECT_EQ(Run(args), 1) << args[0];
        EXPECT_EQ(stderrText, "DriversClass: Error reading file!\n" + truncated.string() + "\n") << args.size();
    }
    EXPECT_TRUE(Written().empty());

    std::filesystem::remove_all(out);
    std::ofstream(out) << "x";
    const std::string notAFolder =
        out.string() + "/: " + std::make_error_code(std::errc::not_a_directory).message() + "\n";
    const std::string r = "-r" + replay.string();
    EXPECT_EQ(Run({"-expreports", r, "-o" + out.string() + "/"}), 1);
    EXPECT_EQ(stderrText, "Error creating file!\n" + notAFolder);
    EXPECT_EQ(Run({"-xml", r}), 1);
    EXPECT_EQ(stderrText, "Could not create file!\nPlease verify export path in File->Settings\n" + notAFolder);
    EXPECT_EQ(Run({"-reportsite", r}), 1);
    EXPECT_EQ(stderrText, "Could not create site!\nPlease verify export path in File->Settings\n" + notAFolder);

    const std::filesystem::path fresh = dir.path() / "fresh" / "deeper";
    EXPECT_EQ(Run({"-racedata", t, "-o" + (fresh / "cars.txt").string()}), 1);
    EXPECT_EQ(RunOnAFullDisk({"-reportsite", r, "-o" + fresh.string()}), 1);
    EXPECT_EQ(RunOnAFullDisk({"-expreports", r, "-o" + fresh.string() + "/"}), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "fresh"));
}

// A failed run takes away only the folders it made itself: a file, a folder
// or a link, dangling or not, that stood on the way stays as it was.
TEST_F(BatchRun, AFailedRunTakesAwayOnlyWhatItMade) {
    SetUpSimulation();
    const std::filesystem::path place = dir.path() / "place";
    std::filesystem::create_directories(place / "site");
    std::filesystem::create_directories(place / "target");
    std::ofstream(place / "notes.txt") << "my notes";
    std::filesystem::create_directory_symlink(place / "target", place / "out");
    std::filesystem::create_directory_symlink(place / "unmounted", place / "records");
    const auto before = FilesUnder(place);
    const std::string r = "-r" + replay.string(), p = place.string();
    for (const auto& [args, limited] : std::vector<std::pair<std::vector<std::string>, bool>>{
             {{"-racedata", r, "-o" + p + "/new/../notes.txt/race.txt"}, false},
             {{"-reportsite", r, "-o" + p + "/tmp/../site"}, true},
             {{"-expreports", r, "-o" + p + "/x/../out/"}, true},
             {{"-expreports", r, "-o" + p + "/records/"}, false},
             {{"-racedata", r, "-o" + p + "/records/race.txt"}, false}}) {
        EXPECT_EQ(limited ? RunOnAFullDisk(args) : Run(args), 1) << args[2];
        EXPECT_TRUE(FilesUnder(place) == before) << args[2] << ": " << stderrText;
    }
    // The dangling link is told with the reason its folder cannot be reached.
    EXPECT_EQ(stderrText, "Race data could not be written.\n" + p + "/records: " +
                              std::make_error_code(std::errc::no_such_file_or_directory).message() + "\n");
}

// An output that is the replay itself, by its name, a link or a second name,
// is refused before anything is written.
TEST_F(BatchRun, RaceDataNeverWritesOverItsReplay) {
    const std::string bytes = ReadAll(replay);
    std::filesystem::create_symlink(replay, dir.path() / "link.rpy");
    std::filesystem::create_hard_link(replay, dir.path() / "second.rpy");
    for (const std::filesystem::path& output : {replay, dir.path() / "link.rpy", dir.path() / "second.rpy",
                                                replay.parent_path() / ".." / "data" / "r1.rpy"}) {
        EXPECT_EQ(Run({"-racedata", "-r" + replay.string(), "-o" + output.string()}), 1) << output;
        EXPECT_EQ(stderrText, "Race data could not be written.\nThe output file is this replay file itself!\n" +
                                  replay.string() + "\n");
        EXPECT_EQ(ReadAll(replay), bytes);
    }
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.rpy"));
}

// No mode replaces the replay it reads, whatever name of its output stands
// for it: the run is refused before anything is written.
TEST_F(BatchRun, NoModeWritesOverItsReplay) {
    SetUpSimulation();
    SetSettings("RecordsPath=" + out.string() + "\n");
    const std::string bytes = ReadAll(replay);
    const std::string itself = "The output file is this replay file itself!\n";
    auto refused = [&](const std::vector<std::string>& args, const std::filesystem::path& read,
                       const std::string& expected) {
        EXPECT_EQ(Run(args), 1) << args[0];
        EXPECT_EQ(stderrText, expected) << args[0];
        EXPECT_TRUE(ReadAll(read) == bytes) << args[0];
    };

    std::filesystem::create_symlink(replay, out / "r1_Race.txt");
    refused({"-expreports", "-r" + replay.string(), "-o" + out.string() + "/"}, replay,
            "Error creating file!\n" + itself + (out / "r1_Race.txt").string() + "\n");
    EXPECT_EQ(Written(), std::vector<std::string>{"r1_Race.txt"});
    std::filesystem::remove(out / "r1_Race.txt");

    const std::filesystem::path kept = out / "r1.xml";
    std::filesystem::copy_file(replay, kept);
    refused({"-xml", "-r" + kept.string()}, kept,
            "Could not create file!\nPlease verify export path in File->Settings\n" + itself + kept.string() + "\n");
    std::filesystem::remove(kept);

    const std::filesystem::path page = dir.path() / "g" / "index" / "index.html";
    std::filesystem::create_directories(page.parent_path());
    std::filesystem::copy_file(replay, page);
    refused({"-reportsite", "-r" + page.string(), "-o" + (dir.path() / "g").string()}, page,
            "Could not create site!\n" + itself + page.string() + "\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(page.parent_path()), {}), 1);

    std::filesystem::create_directories(out / "r1");
    std::filesystem::create_symlink(replay, out / "r1" / "track.png");
    refused({"-reportsite", "-r" + replay.string(), "-o" + out.string()}, replay,
            "Could not create site!\n" + itself + (out / "r1" / "track.png").string() + "\n");
    EXPECT_TRUE(std::filesystem::is_symlink(out / "r1" / "track.png"));
}

// A name that reaches the replay only through a folder the run makes is
// found out once that folder stands: the run fails as on any refusal, and
// the folder goes with it.
TEST_F(BatchRun, NoNameThroughAFolderTheRunMakesReachesTheReplay) {
    SetUpSimulation();
    const std::string bytes = ReadAll(replay);
    const std::string itself = "The output file is this replay file itself!\n";
    const std::filesystem::path d = dir.path() / "d";
    std::filesystem::create_directories(d / "o" / "race");
    for (const char* name : {"r.rpy", "r.xml", "o/race/race.html"}) std::filesystem::copy_file(replay, d / name);
    std::filesystem::create_symlink(d / "r.rpy", d / "r_Race.txt");
    const std::string x = (d / "x").string() + "/..";
    SetSettings("RecordsPath=" + x + "\n");
    for (const auto& [args, expected] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"-xml", "-r" + (d / "r.xml").string()},
              "Could not create file!\nPlease verify export path in File->Settings\n" + itself + x + "/r.xml\n"},
             {{"-expreports", "-r" + (d / "r.rpy").string(), "-o" + x + "/"},
              "Error creating file!\n" + itself + x + "/r_Race.txt\n"},
             {{"-reportsite", "-r" + (d / "o" / "race" / "race.html").string(), "-o" + (d / "o").string() + "/x/.."},
              "Could not create site!\n" + itself + (d / "o").string() + "/x/../race/race.html\n"}}) {
        EXPECT_EQ(Run(args), 1) << args[0];
        EXPECT_EQ(stderrText, expected) << args[0];
        const std::string read = args[1].substr(2);
        EXPECT_TRUE(ReadAll(read) == bytes) << args[0];
        EXPECT_FALSE(std::filesystem::exists(d / "x") || std::filesystem::exists(d / "o" / "x")) << args[0];
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::filesystem::path(read).parent_path()), {}),
                  args[0] == "-reportsite" ? 1 : 4)
            << args[0];
    }
}

// The values are taken by their places: a pair given the other way round is
// refused before anything is read or written.
TEST_F(BatchRun, ValuesInTheWrongOrderAreRefused) {
    const std::string bytes = ReadAll(replay);
    const std::filesystem::path a = dir.path() / "a.rpy", b = dir.path() / "b.rpy";
    std::filesystem::copy_file(replay, a);
    std::filesystem::copy_file(replay, b);
    const std::string raceUse = "usage: velmar-replay-analyzer -racedata -r<replay> -o<output file>\n";
    EXPECT_EQ(Run({"-racedata", "-o" + a.string(), "-r" + b.string()}), 1);
    EXPECT_EQ(stderrText, "\"-o" + a.string() +
                              "\" is not the replay: the replay comes first, as -r<replay>, then the output file, as "
                              "-o<output file>.\n" +
                              raceUse);
    EXPECT_EQ(Run({"-racedata", "-r" + a.string(), "-r" + b.string()}), 1);
    EXPECT_TRUE(stderrText.starts_with("\"-r" + b.string() + "\" is not the output file: ")) << stderrText;
    EXPECT_TRUE(ReadAll(a) == bytes && ReadAll(b) == bytes);
    EXPECT_EQ(Run({"-expreports", "-o" + out.string() + "/", "-r" + a.string()}), 1);
    EXPECT_EQ(stderrText,
              "\"-o" + out.string() +
                  "/\" is not the replay: the replay comes first, as -r<replay>, then the output prefix, as "
                  "-o<output prefix>.\n"
                  "usage: velmar-replay-analyzer -expreports -r<replay> [-o<output prefix> [-mech]]\n");
    // An empty argument is named by what it stands for.
    EXPECT_EQ(Run({"-racedata", "-r" + a.string(), ""}), 1);
    EXPECT_EQ(stderrText, "An empty argument stands where the output file goes.\n" + raceUse);
    EXPECT_TRUE(Written().empty());

    ASSERT_EQ(Run({"-racedata", "-r" + a.string(), "-o" + (out / "cars.txt").string()}), 0) << stderrText;
    EXPECT_EQ(Written(), std::vector<std::string>{"cars.txt"});
}

// The site's folder is named after the replay's file as this system names
// files: a "\\" is a letter like any other, and the site stays one folder
// below the folder given, never in it or above it.
TEST_F(BatchRun, TheSiteStaysOneFolderBelowItsFolderWhateverTheReplaysName) {
    SetUpSimulation();
    const std::filesystem::path par = dir.path() / "par";
    std::filesystem::create_directories(par / "site");
    for (const char* mine : {"index.html", "style.css", "track.png", "site/index.html", "site/style.css"})
        std::ofstream(par / mine) << "mine: " << mine;
    const auto before = FilesUnder(par);
    for (const auto& [name, folder] : std::vector<std::pair<std::string, std::string>>{
             {"a\\..", "a\\."}, {"a\\.", "a\\"}, {"x\\", "x\\"}, {".rpy", ".rpy"}, {"..rpy", "..rpy"}}) {
        const std::filesystem::path odd = dir.path() / "r" / name;
        std::filesystem::create_directories(odd.parent_path());
        std::filesystem::copy_file(replay, odd);
        EXPECT_EQ(Run({"-reportsite", "-r" + odd.string(), "-o" + (par / "site").string()}), 0) << name << stderrText;
        EXPECT_TRUE(std::filesystem::exists(par / "site" / folder / "index.html")) << name;
        auto after = FilesUnder(par);
        std::erase_if(after, [&](const auto& file) { return file.first.starts_with("site/" + folder); });
        EXPECT_TRUE(after == before) << name;
        std::filesystem::remove_all(par / "site" / folder);
    }
}

// An output name is found as the shell's ">" finds it: a link is followed
// and kept, a dangling one makes the file it names, a loop is refused, and a
// named pipe is written into for the program reading it.
TEST_F(BatchRun, AnOutputNameIsFollowedAsTheShellFollowsIt) {
    const std::filesystem::path plain = dir.path() / "plain";
    ASSERT_EQ(Run({"-racedata", "-r" + replay.string(), "-o" + (plain / "cars.txt").string()}), 0) << stderrText;
    ASSERT_EQ(Run({"-expreports", "-r" + replay.string(), "-o" + plain.string() + "/"}), 0) << stderrText;
    const std::filesystem::path elsewhere = dir.path() / "elsewhere";
    std::filesystem::create_directories(elsewhere);
    for (const auto& [mode, name] :
         std::vector<std::pair<std::string, std::string>>{{"-racedata", "cars.txt"}, {"-expreports", "r1_Race.txt"}}) {
        const std::vector<std::string> args = {
            mode, "-r" + replay.string(), "-o" + (mode == "-racedata" ? (out / name).string() : out.string() + "/")};
        const std::string expected = ReadAll(plain / name);
        std::filesystem::remove_all(out);
        std::filesystem::create_directories(out);

        std::filesystem::create_symlink(elsewhere / "missing.txt", out / name);
        EXPECT_EQ(Run(args), 0) << mode << stderrText;
        EXPECT_TRUE(std::filesystem::is_symlink(out / name)) << mode;
        EXPECT_EQ(ReadAll(elsewhere / "missing.txt"), expected) << mode;
        // A link to a file, the one just made.
        std::filesystem::resize_file(elsewhere / "missing.txt", 0);
        EXPECT_EQ(Run(args), 0) << mode << stderrText;
        EXPECT_TRUE(std::filesystem::is_symlink(out / name)) << mode;
        EXPECT_EQ(ReadAll(elsewhere / "missing.txt"), expected) << mode;
        std::filesystem::remove(elsewhere / "missing.txt");

        std::filesystem::remove_all(out);
        std::filesystem::create_directories(out);
        std::filesystem::create_symlink(out / name, out / name);
        EXPECT_EQ(Run(args), 1) << mode;
        EXPECT_NE(stderrText.find((out / name).string() + ": " +
                                  std::make_error_code(std::errc::too_many_symbolic_link_levels).message() + "\n"),
                  std::string::npos)
            << stderrText;
        EXPECT_EQ(Written(), std::vector<std::string>{name}) << mode;
        EXPECT_TRUE(std::filesystem::is_symlink(out / name)) << mode;

        std::filesystem::remove(out / name);
        ASSERT_EQ(::mkfifo((out / name).c_str(), 0600), 0);
        std::string read;
        std::thread reader([&] { read = ReadAll(out / name); });
        EXPECT_EQ(Run(args), 0) << mode << stderrText;
        // Lets the reader go should the run never have opened the pipe.
        if (const int fd = ::open((out / name).c_str(), O_WRONLY | O_NONBLOCK); fd >= 0) ::close(fd);
        reader.join();
        EXPECT_EQ(read, expected) << mode;
        EXPECT_EQ(std::filesystem::status(out / name).type(), std::filesystem::file_type::fifo) << mode;
    }
}

// A site that fails on its way names the file or folder that failed and
// leaves nothing new, the folders made for it included; a replay whose track
// is missing is named with the track it names.
TEST_F(BatchRun, AFailedSiteNamesWhatFailedAndLeavesNothing) {
    SetUpSimulation();
    SetSettings("BMPSizeInPixel=4000\n");
    const std::string tooLarge = std::make_error_code(std::errc::file_too_large).message();
    const std::filesystem::path site = dir.path() / "n1" / "n2" / "r1";
    EXPECT_EQ(
        Run({"-reportsite", "-r" + replay.string(), "-o" + (dir.path() / "n1" / "n2").string()}, " && ulimit -f 60"),
        1);
    EXPECT_EQ(stderrText, "Could not create site!\n" + (site / "track.png").string() + ": " + tooLarge + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "n1"));

    std::ofstream(out / "r1") << "x";
    EXPECT_EQ(Run({"-reportsite", "-r" + replay.string(), "-o" + out.string()}), 1);
    EXPECT_EQ(stderrText, "Could not create site!\n" + (out / "r1").string() +
                              "/: " + std::make_error_code(std::errc::not_a_directory).message() + "\n");

    std::string bytes = ReadAll(replay);
    std::fill(bytes.begin() + 96, bytes.begin() + 128, '\0');
    const std::filesystem::path nameless = dir.path() / "nameless.rpy";
    std::ofstream(nameless, std::ios::binary) << bytes;
    EXPECT_EQ(Run({"-reportsite", "-r" + nameless.string(), "-o" + out.string()}), 1);
    EXPECT_NE(stderrText.find("Error: cannot open track file\nReplay: " + nameless.string() + "\nTrack: \"\" in " +
                              (dir.path() / "sim" / "tracks").string() + "\n"),
              std::string::npos)
        << stderrText;
}

// A server stops a run on its time limit while the run writes, by whatever
// signal: the run leaves no temporary file and no folder it made, and ends
// with the signal. A run whose standard error nobody reads any more fails
// with its own status and takes away what it made too.
TEST_F(BatchRun, AStoppedRunLeavesNothingItMade) {
    simkit::ReplayBuilder b;
    b.drivers(12).session(3, 25, 60000);
    b.desc.sessions.back().raceStartMs = 0;
    const std::filesystem::path big = dir.path() / "data" / "big.rpy";
    ASSERT_TRUE(b.writeFile(big));
    const std::filesystem::path fresh = dir.path() / "fresh", deeper = fresh / "deeper";
    const std::string outArg = "-o" + (deeper / "cars.txt").string();
    const std::string settings = (dir.path() / "settings").string();
    // Starts the program on replay with stderr going to errFd; no core file.
    auto start = [&](const std::filesystem::path& replayFile, int errFd) {
        const std::string replayArg = "-r" + replayFile.string();
        const pid_t pid = ::fork();
        if (pid == 0) {
            for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) ::unsetenv(name);
            ::setenv("VRA_SETTINGS_DIR", settings.c_str(), 1);
            const rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            if (errFd >= 0) ::dup2(errFd, 2);
            ::execl(VRA_ANALYSER, VRA_ANALYSER, "-racedata", replayArg.c_str(), outArg.c_str(), nullptr);
            ::_exit(127);
        }
        return pid;
    };
    for (int sig : {SIGTERM, SIGXCPU, SIGALRM}) {
        const pid_t pid = start(big, -1);
        // Stopped as soon as its temporary file holds part of the output.
        bool stopped = false;
        int status = 0;
        while (!stopped && ::waitpid(pid, &status, WNOHANG) == 0) {
            std::error_code ec;
            for (std::filesystem::directory_iterator it(deeper, ec), end; !ec && it != end; it.increment(ec))
                if (it->path().filename().string().starts_with(".vra-") && it->file_size(ec) > 0 && !ec) stopped = true;
            if (stopped)
                ::kill(pid, sig);
            else
                ::usleep(500);
        }
        if (stopped) ::waitpid(pid, &status, 0);
        ASSERT_TRUE(stopped) << "the run ended before it could be stopped: " << status;
        ASSERT_TRUE(WIFSIGNALED(status)) << status;
        EXPECT_EQ(WTERMSIG(status), sig);
        EXPECT_FALSE(std::filesystem::exists(fresh)) << strsignal(sig);
    }

    simkit::ReplayBuilder q;
    q.drivers(3).session(1, 2, 60000);
    const std::filesystem::path qualifying = dir.path() / "qualifying.rpy";
    ASSERT_TRUE(q.writeFile(qualifying));
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[0]);
    const pid_t pid = start(qualifying, fds[1]);
    ::close(fds[1]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_FALSE(std::filesystem::exists(fresh));
}

TEST_F(BatchRun, XmlGoesIntoTheRecordsFolder) {
    EXPECT_EQ(Run({"-xml", "-r" + replay.string()}), 1);
    EXPECT_EQ(stderrText, "No export path set. Please set this\npath in File->Settings dialog.\n");
    EXPECT_TRUE(Written().empty());

    const std::filesystem::path ini =
        dir.path() / "settings" / "user" / "Velmar Replay Analyzer" / "Velmar Replay Analyzer.ini";
    std::filesystem::create_directories(ini.parent_path());
    std::ofstream(ini) << "[Settings]\nRecordsPath=" << out.string() << "\n";
    ASSERT_EQ(Run({"-xml", "-r" + replay.string(), "-o/ignored"}), 0) << stderrText;
    EXPECT_EQ(Written(), std::vector<std::string>{"r1.xml"});
    EXPECT_NE(ReadAll(out / "r1.xml").find("<ReplayReports replay=\"r1.rpy\""), std::string::npos);

    // A missing records folder is made; a file in its place is named.
    std::filesystem::remove_all(out);
    ASSERT_EQ(Run({"-xml", "-r" + replay.string()}), 0) << stderrText;
    EXPECT_EQ(Written(), std::vector<std::string>{"r1.xml"});
    std::filesystem::remove_all(out);
    std::ofstream(out) << "x";
    EXPECT_EQ(Run({"-xml", "-r" + replay.string()}), 1);
    EXPECT_EQ(stderrText, "Could not create file!\nPlease verify export path in File->Settings\n" + out.string() +
                              ": " + std::make_error_code(std::errc::not_a_directory).message() + "\n");
    // A failure past the folder names the file.
    std::filesystem::remove_all(out);
    std::filesystem::create_directories(out / "r1.xml");
    EXPECT_EQ(Run({"-xml", "-r" + replay.string()}), 1);
    EXPECT_EQ(stderrText, "Could not create file!\nPlease verify export path in File->Settings\n" +
                              (out / "r1.xml").string() + ": " +
                              std::make_error_code(std::errc::is_a_directory).message() + "\n");
}

// The width and height of a PNG file, from its header.
std::pair<std::uint32_t, std::uint32_t> PngSize(const std::string& png) {
    auto word = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < 4 && at + i < png.size(); ++i) v = v << 8 | std::uint8_t(png[at + i]);
        return v;
    };
    return {word(16), word(20)};
}

TEST_F(BatchRun, TheSitesMapHasTheSizeTheSettingsDialogWouldStoreOrTheSiteIsRefused) {
    SetUpSimulation();
    // What the dialog would store: 768 for a size of 0 or less.
    for (const char* size : {"0", "-5"}) {
        std::filesystem::remove_all(out);
        SetSettings(std::string("BMPSizeInPixel=") + size + "\n");
        ASSERT_EQ(Run({"-reportsite", "-r" + replay.string(), "-o" + out.string()}), 0) << stderrText;
        EXPECT_EQ(PngSize(ReadAll(out / "r1" / "track.png")), std::make_pair(768u, 768u)) << size;
        EXPECT_NE(ReadAll(out / "r1" / "index.html").find("<img src=\"track.png\">"), std::string::npos);
    }

    // A map larger than the machine can draw is told, and nothing written.
    std::filesystem::remove_all(out);
    std::filesystem::create_directories(out);
    SetSettings("BMPSizeInPixel=1000000\n");
    EXPECT_EQ(Run({"-reportsite", "-r" + replay.string(), "-o" + out.string()}), 1);
    EXPECT_EQ(stderrText,
              "Could not create site!\nNot enough memory for a track map of 1000000 x 1000000 pixels.\n"
              "Please choose a smaller \"Size of exported BMP file\" in File->Settings.\n");
    EXPECT_TRUE(Written().empty());

    // A replay whose name is all extension gets a folder of its own.
    SetSettings("");
    for (const char* name : {".rpy", "..rpy"}) {
        const std::filesystem::path odd = dir.path() / "data" / name;
        std::filesystem::copy_file(replay, odd, std::filesystem::copy_options::overwrite_existing);
        ASSERT_EQ(Run({"-reportsite", "-r" + odd.string(), "-o" + out.string()}), 0) << stderrText;
        EXPECT_TRUE(std::filesystem::exists(out / name / "style.css")) << name;
    }
    EXPECT_EQ(Written(), (std::vector<std::string>{"..rpy", ".rpy"}));
}

TEST_F(BatchRun, ABatchFlagWithoutItsArgumentsTellsItsUseWithoutAWindow) {
    for (const auto& [args, usage] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"-expreports"}, "-expreports -r<replay> [-o<output prefix> [-mech]]"},
             {{"-racedata"}, "-racedata -r<replay> -o<output file>"},
             {{"-racedata", "-r" + replay.string()}, "-racedata -r<replay> -o<output file>"},
             {{"-reportsite"}, "-reportsite -r<replay> [-o<output folder>]"},
             {{"-xml"}, "-xml -r<replay>"}}) {
        EXPECT_EQ(Run(args), 1) << args[0];
        EXPECT_EQ(stderrText, "usage: velmar-replay-analyzer " + usage + "\n");
    }
    EXPECT_TRUE(Written().empty());

    // A missing output folder is made.
    SetUpSimulation();
    const std::filesystem::path fresh = dir.path() / "fresh" / "sites";
    ASSERT_EQ(Run({"-reportsite", "-r" + replay.string(), "-o" + fresh.string()}), 0) << stderrText;
    EXPECT_TRUE(std::filesystem::exists(fresh / "r1" / "index.html"));
    ASSERT_EQ(Run({"-racedata", "-r" + replay.string(), "-o" + (fresh / "data" / "cars.txt").string()}), 0)
        << stderrText;
    EXPECT_GT(std::filesystem::file_size(fresh / "data" / "cars.txt"), 0u);
}

TEST_F(BatchRun, ReportSiteWithTheDecodedTrackWithoutADisplay) {
    EXPECT_EQ(Run({"-reportsite", "-r" + replay.string()}), 1);
    EXPECT_EQ(stderrText, "No export path set. Please set this\npath in File->Settings dialog.\n");
    EXPECT_TRUE(Written().empty());

    // No simulation folder: the track's message with the decoder's detail.
    EXPECT_EQ(Run({"-reportsite", "-r" + replay.string(), "-o" + out.string()}), 1);
    EXPECT_EQ(stderrText.rfind("Can't find track for this replay!\n", 0), 0u) << stderrText;
    EXPECT_GT(stderrText.size(), std::string("Detailed error message:\n").size() + 150);
    EXPECT_TRUE(Written().empty());

    const std::filesystem::path sim = dir.path() / "sim";
    ASSERT_FALSE(simkit::WriteTrackFolder(sim / "tracks", "demo", simkit::TrackLayout::Oval(), {}).empty());
    const std::filesystem::path ini = dir.path() / "settings" / "user" / "Sorvan" / "Velmar.ini";
    std::filesystem::create_directories(ini.parent_path());
    std::ofstream(ini) << "[General]\nDirectory=" << sim.string() << "\n";
    ASSERT_EQ(Run({"-reportsite", "-r" + replay.string(), "-o" + out.string()}), 0) << stderrText;
    EXPECT_EQ(Written(), std::vector<std::string>{"r1"});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out / "r1"), {}), 10);
    // The map at the settings' size (768 by default): white corners, the track in its colours.
    const std::string png = ReadAll(out / "r1" / "track.png");
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size()));
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    ASSERT_EQ(image.width, 768u);
    ASSERT_EQ(image.height, 768u);
    for (std::size_t corner : {std::size_t(0), std::size_t(767), std::size_t(767) * 768, std::size_t(768) * 768 - 1})
        EXPECT_EQ(std::vector<std::uint8_t>(pixels.begin() + corner * 3, pixels.begin() + corner * 3 + 3),
                  (std::vector<std::uint8_t>{255, 255, 255}));
    EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](std::uint8_t v) { return v != 255; }), 1000);
}

}  // namespace
}  // namespace vra
