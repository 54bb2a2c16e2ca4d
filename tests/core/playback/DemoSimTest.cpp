// The demo simulation folder as the program finds it: the race bar's flags
// over the demo race, and the telemetry switches of its core.ini.
#include "simkit/replay/DemoSim.h"

#include "core/document/TrackDistanceUnit.h"
#include "core/playback/RaceModel.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/settings/CoreIniEditor.h"

#include "support/ScratchDir.h"
#include "support/platform/ScriptedPrompts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace vra {
namespace {

using ::testing::ElementsAre;

TEST(DemoSim, TheRaceWavesItsFlagsAsItRunsAndTheTelemetrySettingsOpen) {
    const test::ScratchDir scratch{"demosim"};
    ASSERT_TRUE(simkit::WriteDemoSim(scratch.path()));

    const auto race = scratch.path() / "replay" / "Demo Race.rpy";
    Header header;
    ASSERT_EQ(header.Read(race), Header::Ok);
    Drivers drivers;
    ASSERT_EQ(drivers.Load(race), Drivers::LoadResult::Ok);
    test::ScriptedPrompts prompts;
    RaceModel model;
    model.SetCarsWanted(false);
    ASSERT_TRUE(model.Load(drivers, header, nullptr, TrackDistanceUnitFor(simkit::kDemoTrackLength), prompts, nullptr));
    // Every status in the order the bar shows it (frame 0 has none of its
    // own), with the leader's lap a frame after it first shows.
    std::vector<std::string> statuses;
    std::map<std::string, std::string> lapAtStart;
    for (std::uint32_t f = 1; f + 1 < model.FrameCount(); ++f) {
        model.UpdateStatus(f);
        const std::string status = model.GetTexts().status;
        if (!statuses.empty() && statuses.back() == status) continue;
        statuses.push_back(status);
        model.UpdateStatus(f + 1);
        lapAtStart[status] = model.GetTexts().currentLap;
    }
    EXPECT_THAT(statuses, ElementsAre("Pace lap", "Green flag racing", "White flag waved", "Chequered flag waved",
                                      kAllCarsFinishedText));
    EXPECT_EQ(lapAtStart["Green flag racing"], "1");
    EXPECT_EQ(lapAtStart["White flag waved"], std::to_string(header.raceLaps));

    // The recording dialog reads the switches on opening and writes them
    // back on OK, each without a complaint.
    const auto ini = CoreIniEditor::Locate(scratch.path());
    const auto values = CoreIniEditor::Read(ini);
    ASSERT_TRUE(values.has_value());
    EXPECT_EQ(CoreIniEditor::Message(CoreIniEditor::Write(ini, *values)),
              "Replay telemetry settings updated successfully.");
}

}  // namespace
}  // namespace vra
