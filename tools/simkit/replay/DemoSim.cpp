#include "simkit/replay/DemoSim.h"

#include "core/base/AtomicFile.h"

#include "simkit/replay/ReplayBuilder.h"

#include <fmt/format.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace vra::simkit {

namespace fs = std::filesystem;

namespace {

// Six cars on the demo track: the saving player and five AI drivers, with
// lap times between 45 and 50 seconds that vary a little from lap to lap.
ReplayBuilder DemoReplay(int kind, int laps) {
    ReplayBuilder b;
    b.drivers(6);
    static const char* const kNames[6][2] = {{"Alex", "Morgan"}, {"Jonas", "Berg"},  {"Maria", "Lind"},
                                             {"Tomas", "Kral"},  {"Ines", "Duarte"}, {"Owen", "Hale"}};
    for (std::size_t i = 0; i < 6; ++i) {
        b.desc.drivers[i].firstName = kNames[i][0];
        b.desc.drivers[i].lastName = kNames[i][1];
        b.desc.drivers[i].carNumber = static_cast<std::uint16_t>(7 + 3 * i);
    }
    b.trackLength(kDemoTrackLength);
    b.desc.settings.trackName = std::string(kDemoTrackName);
    b.desc.settings.raceWord = 8u << 8;
    b.desc.settings.qualifyingWord = 4u << 8;
    b.desc.engineBlocks = true;
    b.desc.raceControlEvery = 36 * 10;
    b.desc.raceFlags = true;
    b.desc.carStatusEvery = 36 * 15;
    SessionDesc s;
    s.kind = kind;
    for (int i = 0; i < 6; ++i) {
        CarSession c;
        c.firstStampMs = 8000 + 400 * static_cast<std::uint32_t>(i);
        for (int lap = 0; lap < laps; ++lap) {
            const std::uint32_t ms =
                45500 + 700 * static_cast<std::uint32_t>(i) + static_cast<std::uint32_t>((lap * 37 + i * 11) % 9) * 180;
            c.laps.push_back(lap == 0 && kind == 3 ? ms + 2500 : ms);  // a standing start costs time
        }
        s.cars.push_back(c);
    }
    if (kind == 3) {
        // The race-start record in the race's first frame, where a recorded
        // race has it (the cars start 8 s later).
        s.raceStartMs = s.startMs;
        s.state = 6;
    }
    b.desc.sessions.push_back(s);
    // The cars weave a little around the middle of the track.
    b.desc.lateral = [](int driver, double ms) { return 1.5 * std::sin(ms / 3000.0 + driver) - 2.0 + driver * 0.8; };
    return b;
}

// The telemetry switches of the simulation's core.ini, as the demo replays
// were recorded: every sample block at the normal rate, no setup records.
// Each value is padded before its comment, as the simulation writes them,
// which leaves the room a rewrite in place needs.
std::string DemoCoreIniText() {
    struct Key {
        const char* name;
        int value;
        const char* comment;
    };
    static const Key kKeys[] = {
        {"record_telem", 1, "record telemetry into replays"},
        {"record_telem_at_physics_rate", 0, "sample at 288 Hz instead of 36 Hz"},
        {"record_telem_sample", 63, "sample blocks, bits 0-5"},
        {"record_telem_state_a", 0, "bit 3 setup, bit 4 pit stop"},
    };
    std::string text = "[ Replay ]\r\n";
    for (const Key& k : kKeys) text += fmt::format("{}={:<10} ; {}\r\n", k.name, k.value, k.comment);
    return text;
}

}  // namespace

bool WriteDemoReplays(const fs::path& folder) {
    std::error_code ec;
    const fs::path dir = folder / "replay";
    fs::create_directories(dir, ec);
    if (ec) return false;
    bool ok = DemoReplay(0, 4).writeFile(dir / "Demo Practice.rpy");
    ok = DemoReplay(1, 3).writeFile(dir / "Demo Qualifying.rpy") && ok;
    ok = DemoReplay(3, 8).writeFile(dir / "Demo Race.rpy") && ok;
    return ok;
}

bool WriteDemoSim(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return false;
    std::FILE* f = std::fopen((folder / std::string(kDemoExecutable)).c_str(), "wb");
    if (!f) return false;
    std::fclose(f);
    if (!WriteFileAtomic(folder / "core.ini", DemoCoreIniText())) return false;
    return WriteDemoReplays(folder);
}

bool WriteReplayFuzzSeeds(const fs::path& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) return false;
    bool ok = true;
    auto save = [&](const std::string& name, ReplayBuilder b,
                    void (*mutate)(std::vector<std::uint8_t>&, const ReplayLayout&) = nullptr) {
        auto bytes = b.build();
        if (mutate) mutate(bytes, b.layout());
        std::FILE* f = std::fopen((dir / name).c_str(), "wb");
        if (!f) {
            ok = false;
            return;
        }
        ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && ok;
        ok = std::fclose(f) == 0 && ok;
    };
    // Short sessions keep every seed small.
    auto small = [](int kind, int drivers, int laps, std::uint32_t lapMs) {
        ReplayBuilder b;
        b.drivers(drivers).trackLength(400.0).session(kind, laps, lapMs, 1500);
        b.desc.sessions.back().tailMs = 1500;
        return b;
    };
    save("race_player.rpy", small(3, 3, 2, 4000));
    {
        auto b = small(3, 2, 1, 3000);
        b.desc.engineBlocks = true;
        save("race_blocks.rpy", b);
    }
    {
        auto b = small(0, 2, 1, 3000);
        for (int kind : {1, 2, 3}) b.desc.sessions.push_back(small(kind, 2, 1, 3000).desc.sessions.back());
        save("four_sessions.rpy", b);
    }
    {
        auto b = small(1, 2, 1, 4000);
        b.desc.sessions.push_back(small(3, 2, 1, 4000).desc.sessions.back());
        b.desc.settings.quickRace = 2;
        save("quick_race.rpy", b);
    }
    {
        auto b = small(3, 3, 2, 4000);
        b.desc.paddingEvery = 3;
        b.desc.raceControlEvery = 5;
        b.desc.carStatusEvery = 7;
        b.desc.sessions.back().cars[1].laps[0] |= 1u << 28;
        b.desc.sessions.back().state = 6;
        save("padding_flags.rpy", b);
    }
    {
        auto b = small(3, 2, 1, 4000);
        b.desc.header.headerBodySize = 64;
        save("older_layout.rpy", b);
    }
    {
        auto b = small(3, 2, 1, 4000);
        b.desc.sessions.back().raceStartMs.reset();
        save("no_race_start.rpy", b);
    }
    save("truncated_frames.rpy", small(3, 2, 1, 4000), [](std::vector<std::uint8_t>& v, const ReplayLayout& l) {
        v.resize(static_cast<std::size_t>(l.frames[l.frames.size() / 2] + 5));
    });
    save("zero_frame.rpy", small(3, 2, 1, 4000), [](std::vector<std::uint8_t>& v, const ReplayLayout& l) {
        const std::size_t at = static_cast<std::size_t>(l.frames[l.frames.size() / 3]);
        v[at] = 0;
        v[at + 1] = 0;
    });
    save("huge_lap_count.rpy", small(3, 2, 1, 4000), [](std::vector<std::uint8_t>& v, const ReplayLayout& l) {
        const std::size_t at = static_cast<std::size_t>(l.carLaps[0][0] + 8);
        v[at + 2] = 0x7F;
    });
    return ok;
}

bool WriteLargeReplayFuzzSeed(const std::filesystem::path& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) return false;
    // Eight cars for two and a half minutes: some 1.3 MB.
    ReplayBuilder b;
    b.drivers(8).trackLength(400.0).session(3, 30, 5000, 1500);
    b.desc.sessions.back().tailMs = 1500;
    return b.writeFile(dir / "race_large.rpy");
}

}  // namespace vra::simkit
