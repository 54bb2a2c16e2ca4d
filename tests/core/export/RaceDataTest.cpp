// The race-data export over built replays: the lines of the race's frames
// with their times, drivers and places, and damaged replays that must leave
// no new file behind.
#include "core/export/RaceData.h"

#include "core/base/OutputSink.h"
#include "core/replay/Drivers.h"
#include "core/replay/ReplaySource.h"

#include "simkit/replay/ReplayBuilder.h"
#include "support/FileText.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

namespace vra {
namespace {

using vra::test::ReadAll;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t p = 0;
    while (p < text.size()) {
        const std::size_t e = text.find("\r\n", p);
        if (e == std::string::npos) break;
        lines.push_back(text.substr(p, e - p));
        p = e + 2;
    }
    return lines;
}

class RaceDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        simkit::ReplayBuilder b;
        b.drivers(3).session(1, 2, 60000).session(3, 2, 60000);
        b.desc.drivers[2].carNumber = 2007;
        b.desc.fullHook = [](const simkit::FrameContext&, simkit::FullRecordFields& f) {
            f.distance = 12346;
            f.lateral = 100000;
        };
        b.desc.compactHook = [](const simkit::FrameContext&, int driver, simkit::CompactRecordFields& c) {
            c.distance = driver == 1 ? 1000000 : 2048;
            c.lateral = driver == 1 ? -20000 : 0;
        };
        bytes = b.build();
        layout = b.layout();
        raceFrames = layout.frames.size() - layout.sessionFirstFrame.back();
        replay = dir / "race.rpy";
        std::ofstream(replay, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    int Run(const std::filesystem::path& file, const std::string& simFolder = {}) {
        RaceData data;
        data.SetOutputFile(out.string());
        data.SetReplayFile(file.string());
        data.SetSimulationFolder(simFolder);
        return data.Run();
    }

    test::ScratchDir dir{"racedata"};
    std::vector<std::uint8_t> bytes;
    simkit::ReplayLayout layout;
    std::size_t raceFrames = 0;
    std::filesystem::path replay, out = dir / "race.txt";
};

TEST_F(RaceDataTest, OneLinePerCarRecordOfEveryRaceFrame) {
    std::filesystem::create_directories(dir / "sim" / "tracks" / "demo");
    std::ofstream(dir / "sim" / "tracks" / "demo" / "track.ini") << "[Track]\ntrack_length = 20 km\n";
    ASSERT_EQ(Run(replay, (dir / "sim").string()), 1);
    const std::vector<std::string> lines = Lines(ReadAll(out));
    ASSERT_EQ(lines.size(), raceFrames * 3);
    // A 20 km track needs a step coarser than 1/1024 m: 20010 / 16777215 m.
    EXPECT_EQ(lines[0], "0,0,0,1,6.173,3.977");
    EXPECT_EQ(lines[1], "0,0,1,2,1192.689,-12.937");
    EXPECT_EQ(lines[2], "0,0,2,07,2.443,0.000");
    // Frames between session records count on from the last one.
    EXPECT_EQ(lines[3].substr(0, 7), "1,27,0,");
    EXPECT_EQ(lines[35 * 3].substr(0, 9), "35,972,0,");
    EXPECT_EQ(lines[36 * 3].substr(0, 10), "36,1000,0,");
    EXPECT_EQ(lines[37 * 3].substr(0, 10), "37,1027,0,");

    // Without a track.ini the finest step, 1/1024 m; the file equals the
    // export over the bytes in memory.
    ASSERT_EQ(Run(replay), 1);
    const std::string text = ReadAll(out);
    EXPECT_EQ(Lines(text)[1], "0,0,1,2,976.562,-12.937");
    Drivers drivers;
    ASSERT_EQ(drivers.LoadBytes(bytes), Drivers::LoadResult::Ok);
    ReplaySource src(bytes);
    MemorySink sink;
    ASSERT_TRUE(RaceData::Write(src, drivers, 1.0 / 1024.0, sink));
    EXPECT_EQ(std::string(sink.bytes().begin(), sink.bytes().end()), text);
}

TEST_F(RaceDataTest, DamagedRaceFramesWriteNothing) {
    Drivers drivers;
    ASSERT_EQ(drivers.LoadBytes(bytes), Drivers::LoadResult::Ok);
    const std::uint64_t frame = layout.frames[layout.sessionFirstFrame.back() + 5];
    struct Damage {
        const char* what;
        std::size_t at;
        std::uint16_t value;
    };
    for (const Damage& d : {Damage{"frame size below its header", 0, 4}, Damage{"record length below 4", 10, 2},
                            Damage{"record type 7", 8, 7}, Damage{"frame past the stream", 0, 0xFFF0}}) {
        std::vector<std::uint8_t> broken = bytes;
        std::memcpy(&broken[frame + d.at], &d.value, 2);
        ReplaySource src(broken);
        MemorySink sink;
        EXPECT_FALSE(RaceData::Write(src, drivers, 1.0 / 1024.0, sink)) << d.what;
    }
    // A file cut inside the race.
    const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(frame + 20));
    ReplaySource src(cut);
    MemorySink sink;
    EXPECT_FALSE(RaceData::Write(src, drivers, 1.0 / 1024.0, sink));

    // Through the files: the old output stays as it was.
    std::ofstream(out, std::ios::binary) << "old";
    std::vector<std::uint8_t> broken = bytes;
    broken[frame + 8] = 7;
    const std::filesystem::path bad = dir / "bad.rpy";
    std::ofstream(bad, std::ios::binary)
        .write(reinterpret_cast<const char*>(broken.data()), static_cast<std::streamsize>(broken.size()));
    EXPECT_EQ(Run(bad), 0);
    EXPECT_EQ(ReadAll(out), "old");
    EXPECT_EQ(Run(dir / "missing.rpy"), 0);
    EXPECT_EQ(ReadAll(out), "old");
    out = dir / "no-such-folder" / "race.txt";
    EXPECT_EQ(Run(replay), 0);
    EXPECT_FALSE(std::filesystem::exists(out.parent_path()));
}

}  // namespace
}  // namespace vra
