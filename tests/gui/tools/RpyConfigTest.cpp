#include "gui/tools/RpyConfig.h"

#include "core/base/FileUtil.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/settings/AppSettings.h"

#include "support/ScratchDir.h"
#include "support/platform/FakeDesktop.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

namespace vra {
namespace {

using ::testing::ElementsAre;

const std::string kIni =
    "[ Replay ]\r\n"
    "record_telem=1          ; master switch\r\n"
    "record_telem_at_physics_rate=2          ; 288 Hz\r\n"
    "record_telem_sample=28       ; blocks\r\n"
    "record_telem_state_a=8          ; state\r\n";

class TelemetryDialog : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(scratch.path() / "VELMAR.exe") << "exe";
        std::ofstream(scratch.path() / "Core.INI", std::ios::binary) << kIni;
        settings.SetSimFolder(scratch.path().string());
        doc = std::make_unique<CRpyGraphDoc>(settings, prompts, waitBox);
    }
    std::string ini() const {
        auto bytes = ReadWholeFile(scratch.path() / "Core.INI", 1 << 20);
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
    }
    void press(RpyConfig& d, QDialogButtonBox::StandardButton b) {
        d.findChild<QDialogButtonBox*>()->button(b)->click();
    }

    const test::ScratchDir scratch{"rpyconfig"};
    test::MemorySettingsStore store;
    AppSettings settings{store};
    test::ScriptedPrompts prompts;
    test::RecordingWaitBox waitBox;
    std::unique_ptr<CRpyGraphDoc> doc;
};

TEST_F(TelemetryDialog, BoxesAndTotalFollowTheFileThePresetsAndThePhysicsBox) {
    RpyConfig dialog(*doc, prompts);
    std::vector<bool> checked;
    for (int i = 0; i < RpyConfig::kBoxes; ++i) checked.push_back(dialog.Box(i)->isChecked());
    // Wheel, tire and driveline data, the setup, and a stored physics rate of 2.
    EXPECT_THAT(checked, ElementsAre(false, false, true, true, true, false, true, false, true));
    EXPECT_EQ(dialog.TotalText(), QStringLiteral("2626560 bytes = 2565 kb/minute"));

    dialog.Box(8)->click();
    EXPECT_EQ(dialog.Values().record_telem_at_physics_rate, 0);
    EXPECT_EQ(dialog.TotalText(), QStringLiteral("328320 bytes = 320 kb/minute"));
    dialog.Box(7)->click();  // the pit stop block does not count
    EXPECT_EQ(dialog.Values().record_telem_state_a, 8 | 16);
    EXPECT_EQ(dialog.TotalText(), QStringLiteral("328320 bytes = 320 kb/minute"));

    dialog.findChild<QPushButton*>(QStringLiteral("allOff"))->click();
    EXPECT_EQ(dialog.TotalText(), QStringLiteral("0 bytes = 0 kb/minute"));
    EXPECT_FALSE(dialog.Box(2)->isChecked());
    dialog.findChild<QPushButton*>(QStringLiteral("recommended"))->click();
    EXPECT_EQ(dialog.TotalText(), QStringLiteral("328320 bytes = 320 kb/minute"));
    EXPECT_EQ(dialog.Values(), (CoreIniValues{1, 0, 28, 31}));
    EXPECT_TRUE(dialog.Box(6)->isChecked());
    EXPECT_TRUE(prompts.log().empty());
}

TEST_F(TelemetryDialog, OkRewritesTheValuesInPlaceAndCancelLeavesTheFile) {
    {
        RpyConfig dialog(*doc, prompts);
        dialog.Box(0)->click();
        press(dialog, QDialogButtonBox::Cancel);
    }
    EXPECT_EQ(ini(), kIni);
    RpyConfig dialog(*doc, prompts);
    dialog.findChild<QPushButton*>(QStringLiteral("allOff"))->click();
    press(dialog, QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_THAT(prompts.messages(), ElementsAre("Replay telemetry settings updated successfully."));
    EXPECT_EQ(ini(),
              "[ Replay ]\r\n"
              "record_telem=0          ; master switch\r\n"
              "record_telem_at_physics_rate=0          ; 288 Hz\r\n"
              "record_telem_sample=0        ; blocks\r\n"
              "record_telem_state_a=0          ; state\r\n");
}

TEST_F(TelemetryDialog, AMissingFileIsToldAndEveryBoxStartsOff) {
    std::filesystem::remove(scratch.path() / "Core.INI");
    RpyConfig dialog(*doc, prompts);
    EXPECT_THAT(prompts.messages(), ElementsAre("Error reading from core.ini"));
    for (int i = 0; i < RpyConfig::kBoxes; ++i) EXPECT_FALSE(dialog.Box(i)->isChecked());
    press(dialog, QDialogButtonBox::Ok);
    EXPECT_THAT(prompts.messages(), ElementsAre("Error reading from core.ini", "Error reading from core.ini"));
    EXPECT_FALSE(std::filesystem::exists(scratch.path() / "Core.INI"));
}

}  // namespace
}  // namespace vra
