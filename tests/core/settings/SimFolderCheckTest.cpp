#include "core/settings/SimFolderCheck.h"

#include "core/settings/AppSettings.h"

#include "support/ScratchDir.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

using namespace vra;
using testing::ElementsAre;
using vra::test::MemorySettingsStore;
using vra::test::ScriptedPrompts;
namespace fs = std::filesystem;

namespace {
struct SimFolder : testing::Test {
    fs::path makeSim(const std::string& name, const std::string& exeName) {
        fs::create_directories(root_ / name);
        std::ofstream(root_ / name / exeName) << "MZ";
        return root_ / name;
    }
    const vra::test::ScratchDir scratch_{"simfolder"};
    const fs::path root_ = scratch_.path();
};
}  // namespace

TEST_F(SimFolder, FindsTheExecutableIgnoringCaseAndTrailingSeparators) {
    fs::path dir = makeSim("Velmar", "velmar.EXE");
    for (const std::string& folder : {dir.string(), dir.string() + "/", dir.string() + "\\"})
        EXPECT_EQ(FindSimExecutable(folder), dir / "velmar.EXE") << folder;
    fs::create_directories(root_ / "Trap" / "VELMAR.exe");  // a folder is not the executable
    for (const std::string& folder : {std::string(), (root_ / "nowhere").string(),
                                      makeSim("Other", "OTHER.exe").string(), (root_ / "Trap").string()})
        EXPECT_FALSE(FindSimExecutable(folder)) << folder;
}

TEST_F(SimFolder, AMissingExecutableTellsTheUserThenOpensTheSettings) {
    MemorySettingsStore store;
    AppSettings settings(store);
    ScriptedPrompts prompts;
    fs::path dir = makeSim("Velmar", "VELMAR.exe");
    const SettingsDialogRequest* seen = nullptr;
    prompts.settingsAnswer([&](const SettingsDialogRequest& request) {
        seen = &request;
        request.settings->SetSimFolder(dir.string());
        return SettingsDialogResult{true};
    });
    SettingsDialogRequest request{&settings, nullptr};
    EXPECT_FALSE(CheckSimExecutable(settings.SimFolder(), prompts, request));
    EXPECT_THAT(prompts.log(),
                ElementsAre("message: Unable to find the file Velmar.exe in the specified VELMR-directory.\n"
                            "Please choose a valid Velmar directory.",
                            "editSettings"));
    EXPECT_EQ(seen, &request);
    EXPECT_EQ(prompts.shown()[0].buttons, Buttons::Ok);
    // The folder chosen in the dialog is valid: nothing more is asked.
    EXPECT_TRUE(CheckSimExecutable(settings.SimFolder(), prompts, request));
    EXPECT_EQ(prompts.log().size(), 2u);
}
