#pragma once
// The whole analyser on a demo simulation folder written at test time, with
// scripted prompts in place of the dialogs.

#include "CRpyGraphApp.h"

#include "PictureProbe.h"
#include "document/CRpyGraphDoc.h"
#include "frame/CMainFrame.h"
#include "map/CRpyGraphView.h"
#include "map/ViewDialog.h"
#include "platform/FakeDesktop.h"
#include "platform/MemorySettingsStore.h"
#include "platform/ScriptedPrompts.h"
#include "replay/DemoSim.h"
#include "track/DemoTrack.h"

#include <QTest>

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

namespace vra::test {

// Race lap times of the demo replay, from its description: car i's lap l
// (0-based) takes 45500 + 700 i + ((37 l + 11 i) mod 9) x 180 ms, the first
// lap 2500 ms more for the standing start.
inline std::uint32_t DemoRaceLapMs(int driver, int lap) {
    const int l = lap - 1;
    const std::uint32_t ms = 45500 + 700 * std::uint32_t(driver) + std::uint32_t((l * 37 + driver * 11) % 9) * 180;
    return l == 0 ? ms + 2500 : ms;
}

class AnalyserFixture : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::filesystem::temp_directory_path()
                / (std::string("vra_app_") + info->test_suite_name() + "_" + info->name() + "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(root_);
        ASSERT_TRUE(simkit::WriteDemoSim(root_));
        ASSERT_TRUE(simkit::WriteDemoTrack(root_));
        store_.preset(SettingsKey::Simulation, SettingsScope::System, "Directory", root_.string());
        race_ = root_ / "replay" / "Demo Race.rpy";
    }
    void TearDown() override {
        app_.reset();
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    CRpyGraphApp& Start(const std::vector<std::string>& args = {}) {
        app_ = std::make_unique<CRpyGraphApp>(CRpyGraphApp::Services{store_, prompts_, shell_, &waitBox_, {}});
        EXPECT_TRUE(app_->InitInstance(args));
        app_->Frame()->resize(1100, 800);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(app_->Frame()));
        return *app_;
    }

    // Adds race lap `lap` of `driver` through the add-lap run in path mode.
    void AddRaceLap(int driver, int lap) {
        prompts_.lapAnswer(LapChoice{driver, 3, lap});
        app_->OpenLap(QString::fromStdString(race_.string()));
    }

    QImage MapPicture() {
        app_->View()->viewport()->repaint();
        return Snapshot(*app_->View()->viewport());
    }

    std::filesystem::path root_, race_;
    MemorySettingsStore store_;
    ScriptedPrompts prompts_;
    FakeShell shell_;
    RecordingWaitBox waitBox_;
    std::unique_ptr<CRpyGraphApp> app_;
};

}  // namespace vra::test
