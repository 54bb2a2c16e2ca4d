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
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <png.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace vra {
namespace {

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
    }

    // Runs the program without any display; returns its exit status.
    int Run(const std::vector<std::string>& args) {
        std::string cmd = "cd " + Quote(dir.path().string()) +
                          " && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM VRA_SETTINGS_DIR=" +
                          Quote((dir.path() / "settings").string()) + " " + Quote(VRA_ANALYSER);
        for (const std::string& a : args) cmd += " " + Quote(a);
        cmd += " 2>" + Quote((dir.path() / "stderr.txt").string()) + " </dev/null";
        const int status = std::system(cmd.c_str());
        stderrText = ReadAll(dir.path() / "stderr.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

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

    // A short value is empty; so is the path it names.
    EXPECT_EQ(Run({"-expreports", "-r", "-o" + out.string() + "/"}), 1);
    EXPECT_EQ(stderrText, "HeaderClass: Error reading file!\n\n");

    EXPECT_EQ(Run({"-expreports", "-r" + replay.string(), "-o" + (dir.path() / "missing").string() + "/"}), 1);
    EXPECT_NE(stderrText.find("Error creating file!\n"), std::string::npos);
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
    EXPECT_EQ(stderrText, "Race data could not be written.\n");
    EXPECT_TRUE(Written().empty());
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

    std::filesystem::remove_all(out);
    EXPECT_EQ(Run({"-xml", "-r" + replay.string()}), 1);
    EXPECT_EQ(stderrText, "Could not create file!\nPlease verify export path in File->Settings\n");
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
