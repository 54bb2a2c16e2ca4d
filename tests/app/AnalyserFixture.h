#pragma once
// The whole analyser on a demo simulation folder written at test time, with
// scripted prompts in place of the dialogs: the fixture its tests share.

#include "app/CRpyGraphApp.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/document/DocumentColours.h"
#include "core/text/LapTime.h"
#include "gui/frame/CMainFrame.h"
#include "gui/map/CRpyGraphView.h"
#include "gui/map/ViewDialog.h"

#include "simkit/replay/DemoSim.h"
#include "simkit/track/DemoTrack.h"
#include "support/ScratchDir.h"
#include "support/platform/FakeDesktop.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include "PictureProbe.h"

#include <QTest>
#include <gtest/gtest.h>

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

inline QColor LapColour(int slot) {
    const Rgb c = kMapPalette[std::size_t(slot)];
    return QColor(c.red, c.green, c.blue);
}

// Everything the map draws that is not background.
inline QRect TrackExtent(const QImage& picture) {
    QRect extent;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixelColor(x, y) != QColor(Qt::white)) extent |= QRect(x, y, 1, 1);
    return extent;
}

inline std::string LapCaption(const char* first, const char* last, std::uint32_t ms) {
    return std::string(1, first[0]) + " " + last + " " + vra::FormatLapTime(ms);
}

inline const QString kNoLapCaption = QStringLiteral("No lap selected - Velmar Replay Analyzer");

class AnalyserStart : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(simkit::WriteDemoSim(root_));
        ASSERT_TRUE(simkit::WriteDemoTrack(root_));
        store_.preset(SettingsKey::Simulation, SettingsScope::System, "Directory", root_.string());
    }
    // An empty size keeps the window's size of a first start.
    CRpyGraphApp& Start(const std::vector<std::string>& args = {}, QSize size = {1100, 800}) {
        app_ = std::make_unique<CRpyGraphApp>(CRpyGraphApp::Services{store_, prompts_, shell_, &waitBox_, {}});
        EXPECT_TRUE(app_->InitInstance(args));
        if (size.isValid()) app_->Frame()->resize(size);
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
    // Declared first so that the folder outlives the application.
    const ScratchDir scratch_{"app"};
    const std::filesystem::path root_ = scratch_.path(), race_ = root_ / "replay" / "Demo Race.rpy";
    MemorySettingsStore store_;
    ScriptedPrompts prompts_;
    FakeShell shell_;
    RecordingWaitBox waitBox_;
    std::unique_ptr<CRpyGraphApp> app_;
};

}  // namespace vra::test
