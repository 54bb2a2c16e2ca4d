#include "settings/AppSettings.h"
#include "settings/SimFolderCheck.h"

#include "platform/MemorySettingsStore.h"
#include "platform/ScriptedPrompts.h"
#include "ScratchDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

using namespace vra;
using testing::ElementsAre;
using vra::test::MemorySettingsStore;
using vra::test::ScriptedPrompts;
namespace fs = std::filesystem;

namespace {

class SimFolder : public testing::Test {
protected:
    fs::path makeSim(const std::string& name, const std::string& exeName)
    {
        fs::path dir = root_ / name;
        fs::create_directories(dir);
        std::ofstream(dir / exeName) << "MZ";
        return dir;
    }

    const vra::test::ScratchDir scratch_{"simfolder"};
    const fs::path root_ = scratch_.path();
};

const std::string kMessage =
    "Unable to find the file Velmar.exe in the specified VELMR-directory.\n"
    "Please choose a valid Velmar directory.";

}  // namespace

TEST_F(SimFolder, FindsTheExecutableIgnoringCaseAndTrailingSeparators)
{
    fs::path dir = makeSim("Velmar", "velmar.EXE");
    for (const std::string& folder : {dir.string(), dir.string() + "/", dir.string() + "\\"})
        EXPECT_EQ(FindSimExecutable(folder), dir / "velmar.EXE") << folder;

    EXPECT_FALSE(FindSimExecutable(""));
    EXPECT_FALSE(FindSimExecutable((root_ / "nowhere").string()));
    EXPECT_FALSE(FindSimExecutable(makeSim("Other", "OTHER.exe").string()));
    fs::create_directories(root_ / "Trap" / "VELMAR.exe");
    EXPECT_FALSE(FindSimExecutable((root_ / "Trap").string())) << "a folder is not the executable";
}

TEST_F(SimFolder, AMissingExecutableTellsTheUserThenOpensTheSettings)
{
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
    EXPECT_THAT(prompts.log(), ElementsAre("message: " + kMessage, "editSettings"));
    EXPECT_EQ(seen, &request);
    EXPECT_EQ(prompts.shown()[0].buttons, Buttons::Ok);
    // The folder chosen in the dialog is valid: nothing more is asked.
    EXPECT_TRUE(CheckSimExecutable(settings.SimFolder(), prompts, request));
    EXPECT_EQ(prompts.log().size(), 2u);
}
