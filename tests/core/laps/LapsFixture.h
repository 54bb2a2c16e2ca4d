#pragma once
// A simulation folder, a disc folder and the fakes the lap sources run with.

#include "core/document/CRpyGraphDoc.h"
#include "core/settings/AppSettings.h"

#include "simkit/replay/ReplayBuilder.h"
#include "support/ScratchDir.h"
#include "support/platform/FakeDesktop.h"
#include "support/platform/FakeVolumes.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace vra::testing {

class LapsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(sim / "replay");
        std::filesystem::create_directories(sim / "tracks");
        std::filesystem::create_directories(disc);
        std::ofstream(sim / "VELMAR.exe") << "exe";
        settings = std::make_unique<AppSettings>(store);
        settings->SetSimFolder(sim.string());
    }

    // A replay on track of n cars, race laps of lapMs + 250 ms x driver index.
    static simkit::ReplayBuilder Replay(const std::string& track, int cars = 3, int laps = 3,
                                        std::uint32_t lapMs = 40000) {
        simkit::ReplayBuilder b;
        b.drivers(cars).session(3, laps, lapMs).trackLength(2000);
        b.desc.settings.trackName = track;
        return b;
    }

    static void Write(simkit::ReplayBuilder b, const std::filesystem::path& path) {
        std::filesystem::create_directories(path.parent_path());
        ASSERT_TRUE(b.writeFile(path)) << path;
    }
    static void WriteText(const std::filesystem::path& path, const std::string& text) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    // A replay whose header reads but whose driver table is cut short.
    static void WriteCut(const std::filesystem::path& path, const std::string& track) {
        auto b = Replay(track);
        auto bytes = b.build();
        bytes.resize(b.layout().driverTable + 10);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream f(path, std::ios::binary);
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    CRpyGraphDoc& document() {
        if (!doc) doc = std::make_unique<CRpyGraphDoc>(*settings, prompts, waitBox);
        return *doc;
    }

    const test::ScratchDir scratch{"laps"};
    const std::filesystem::path sim = scratch.path() / "sim";
    const std::filesystem::path disc = scratch.path() / "media" / "RACES disc";
    test::MemorySettingsStore store;
    std::unique_ptr<AppSettings> settings;
    test::ScriptedPrompts prompts;
    test::RecordingWaitBox waitBox;
    test::FakeVolumes volumes;
    std::unique_ptr<CRpyGraphDoc> doc;
};

}  // namespace vra::testing
