#pragma once
// A document over a simulation folder with the demo track and one built
// race replay, for the analysis dialogs: laps are added by driver and lap.

#include "core/document/CRpyGraphDoc.h"
#include "core/settings/AppSettings.h"

#include "simkit/replay/DemoSim.h"
#include "simkit/replay/ReplayBuilder.h"
#include "simkit/track/DemoTrack.h"
#include "support/ScratchDir.h"
#include "support/platform/FakeDesktop.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace vra::test {

class LapDocument {
public:
    explicit LapDocument(const char* name, bool withTrack = true) : scratch_(name) {
        std::ofstream(root_ / "VELMAR.exe") << "exe";
        if (withTrack) simkit::WriteDemoTrack(root_);
        builder.drivers(3).session(3, 4, 46000).trackLength(simkit::kDemoTrackLength);
        builder.desc.settings.trackName = std::string(simkit::kDemoTrackName);
        std::filesystem::create_directories(root_ / "replay");
        store_.preset(SettingsKey::Simulation, SettingsScope::System, "Directory", root_.string());
    }

    // Writes the replay as described by now and opens the document.
    void Open() {
        ASSERT_TRUE(builder.writeFile(replay));
        settings_ = std::make_unique<AppSettings>(store_);
        doc = std::make_unique<CRpyGraphDoc>(*settings_, prompts, waitBox);
    }
    // Writes the replay as described by now under another name.
    std::filesystem::path Write(const std::string& name) {
        const auto path = root_ / "replay" / name;
        EXPECT_TRUE(builder.writeFile(path));
        return path;
    }
    void AddLap(int driver, int lap, int session = 3) { AddLap(replay, driver, lap, session); }
    void AddLap(const std::filesystem::path& path, int driver, int lap, int session = 3) {
        prompts.lapAnswer(LapChoice{driver, session, lap});
        doc->OnOpenDocument(path);
    }

private:
    const ScratchDir scratch_;
    const std::filesystem::path root_ = scratch_.path();
    MemorySettingsStore store_;
    std::unique_ptr<AppSettings> settings_;

public:
    const std::filesystem::path replay = root_ / "replay" / "Analyses.rpy";
    simkit::ReplayBuilder builder;
    ScriptedPrompts prompts;
    RecordingWaitBox waitBox;
    // Last: it saves the settings when it goes.
    std::unique_ptr<CRpyGraphDoc> doc;
};

}  // namespace vra::test
