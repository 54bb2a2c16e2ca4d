#pragma once
// A simulation folder written at test time: the executable, replay/ and the
// tracks a test asks for, plus the settings and prompts a document runs with.

#include "core/document/CRpyGraphDoc.h"
#include "core/document/DocumentObserver.h"
#include "core/document/LapLinePlotter.h"
#include "core/settings/AppSettings.h"

#include "simkit/replay/ReplayBuilder.h"
#include "simkit/track/TrackFolderWriter.h"
#include "simkit/track/TrackLayout.h"
#include "support/ScratchDir.h"
#include "support/platform/FakeDesktop.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace vra::testing {

class RecordingObserver : public DocumentObserver {
public:
    void TitleChanged(std::string_view title) override { titles.emplace_back(title); }
    void PathNameChanged(const std::filesystem::path& path, bool addToRecent) override {
        if (addToRecent) recent.push_back(path);
    }
    void ViewsChanged() override { ++viewUpdates; }
    void LapsClearing() override { ++clearings; }
    std::vector<std::string> titles;
    std::vector<std::filesystem::path> recent;
    int viewUpdates = 0;
    int clearings = 0;
};

// Where the layout puts a track position.
inline Point2D LayoutPoint(const simkit::TrackLayout& layout, double distance, double lateral) {
    for (const auto& piece : layout.Expected())
        if (distance < piece.startDistance + piece.length)
            return piece.PointAt(distance - piece.startDistance, lateral);
    return {};
}

// Lap times of the built replays: every car drives its laps at a constant
// speed, so a lap of kLapMs on a track of length L runs at L / kLapMs.
inline constexpr std::uint32_t kLapMs = 40000;

class SimFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(root / "replay");
        std::filesystem::create_directories(root / "tracks");
        std::ofstream(root / "VELMAR.exe") << "exe";
        settings = std::make_unique<AppSettings>(store);
        settings->SetSimFolder(root.string());
    }

    void writeTrack(const std::string& folder, const simkit::TrackLayout& layout) {
        ASSERT_FALSE(simkit::WriteTrackFolder(root / "tracks", folder, layout, {}).empty());
    }

    // A replay of three cars on trackName with a race of three laps.
    simkit::ReplayBuilder replay(const std::string& trackName, double trackLength) {
        simkit::ReplayBuilder b;
        b.drivers(3).session(3, 3, kLapMs).trackLength(trackLength);
        b.desc.settings.trackName = trackName;
        return b;
    }

    std::filesystem::path write(simkit::ReplayBuilder& b, const std::string& name) {
        const auto path = root / "replay" / name;
        EXPECT_TRUE(b.writeFile(path));
        return path;
    }

    CRpyGraphDoc& document() {
        if (!doc) doc = std::make_unique<CRpyGraphDoc>(*settings, prompts, waitBox, &observer);
        return *doc;
    }

    const test::ScratchDir scratch{"doc"};
    const std::filesystem::path root = scratch.path();
    test::MemorySettingsStore store;
    std::unique_ptr<AppSettings> settings;
    test::ScriptedPrompts prompts;
    test::RecordingWaitBox waitBox;
    RecordingObserver observer;
    std::unique_ptr<CRpyGraphDoc> doc;
};

}  // namespace vra::testing
