#include "core/commands/CommandState.h"

#include "core/commands/CommandIds.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace vra {
namespace {

using ::testing::ElementsAre;

CommandSnapshot OneLap() {
    CommandSnapshot s;
    s.lapCount = 1;
    s.slotUsed[0] = true;
    s.lapBoxShown[0] = true;
    return s;
}

bool On(int id, const CommandSnapshot& s) {
    return CommandStateFor(id, s).enabled;
}

std::vector<int> Enabled(std::initializer_list<int> ids, const CommandSnapshot& s) {
    std::vector<int> on;
    for (int id : ids)
        if (On(id, s)) on.push_back(id);
    return on;
}

const std::initializer_list<int> kPlaybackAndMap = {cmd::Play,           cmd::Pause,
                                                    cmd::FastForward,    cmd::FastReverse,
                                                    cmd::Stop,           cmd::MoveToBeginningOfLap,
                                                    cmd::MoveToEndOfLap, cmd::ToggleRaceReplay,
                                                    cmd::ZoomIn,         cmd::ZoomOut,
                                                    cmd::ShowWholeTrack, cmd::PanningTool,
                                                    cmd::ToggleRaceLine, cmd::ToggleLap1,
                                                    cmd::ToggleLap1 + 4};

const std::initializer_list<int> kIdleFileCommands = {
    cmd::FileNew,           cmd::FileOpen,       cmd::AddReplayLap, cmd::FilePrintSetup, cmd::FilePrint,
    cmd::FilePrintPreview,  cmd::MoveRemoveLaps, cmd::MergeLaps,    cmd::CompressReplay, cmd::GearChangeAnalyzer,
    cmd::CdDatabaseCreator, cmd::TractionCircle, cmd::StintAnalyzer};

TEST(CommandState, WithoutLapsOnlyTheFileCommandsAndSettingsAreOffered) {
    const CommandSnapshot empty;
    EXPECT_THAT(Enabled(kPlaybackAndMap, empty), ElementsAre());
    EXPECT_TRUE(On(cmd::EditSettings, empty));
    EXPECT_EQ(Enabled(kIdleFileCommands, empty), std::vector<int>(kIdleFileCommands));
    // Commands without a rule of their own stay usable.
    EXPECT_FALSE(HasCommandRule(cmd::ViewReadme));
    EXPECT_EQ(CommandStateFor(cmd::ViewReadme, empty), (CommandState{true, std::nullopt}));
}

TEST(CommandState, ToolsWithoutAMenuEntryAreNeverOffered) {
    const std::initializer_list<int> unreachable = {cmd::OrlRankHandicap, cmd::TrackOrganizer, cmd::EngineDetection,
                                                    cmd::DetailedRaceReport, cmd::OnlineLaptimeVerifier};
    EXPECT_THAT(Enabled(unreachable, CommandSnapshot{}), ElementsAre());
    EXPECT_THAT(Enabled(unreachable, OneLap()), ElementsAre());
}

TEST(CommandState, CheckMarksFollowTheToolThatIsOn) {
    CommandSnapshot s = OneLap();
    const auto checks = [&] {
        return std::vector<bool>{*CommandStateFor(cmd::ZoomIn, s).checked, *CommandStateFor(cmd::ZoomOut, s).checked,
                                 *CommandStateFor(cmd::PanningTool, s).checked};
    };
    EXPECT_THAT(checks(), ElementsAre(false, false, false));
    s.zoomMode = ZoomMode::In;
    EXPECT_THAT(checks(), ElementsAre(true, false, false));
    s.zoomMode = ZoomMode::Out;
    EXPECT_THAT(checks(), ElementsAre(false, true, false));
    s.zoomMode = ZoomMode::Off;
    s.panMode = true;
    EXPECT_THAT(checks(), ElementsAre(false, false, true));
    // Without laps the hand is disabled and keeps whatever check it shows.
    s.lapCount = 0;
    EXPECT_EQ(CommandStateFor(cmd::PanningTool, s), (CommandState{false, std::nullopt}));
    // Lap toggles follow their boxes; the race line its switch.
    s = OneLap();
    s.lapBoxTicked[0] = true;
    s.raceLineOn = true;
    EXPECT_EQ(CommandStateFor(cmd::ToggleLap1, s), (CommandState{true, true}));
    EXPECT_EQ(CommandStateFor(cmd::ToggleLap1 + 1, s), (CommandState{false, false}));
    EXPECT_EQ(CommandStateFor(cmd::ToggleRaceLine, s), (CommandState{true, true}));
}

TEST(CommandState, PlaybackHoldsBackWhatWouldChangeTheDocumentOrTheLines) {
    CommandSnapshot s = OneLap();
    EXPECT_THAT(Enabled({cmd::Play, cmd::Pause, cmd::Stop, cmd::ToggleRaceReplay, cmd::FastReverse}, s),
                ElementsAre(cmd::Play, cmd::ToggleRaceReplay));
    s.playing = true;
    EXPECT_THAT(Enabled(kIdleFileCommands, s), ElementsAre());
    EXPECT_THAT(Enabled({cmd::ToggleLap1, cmd::ToggleRaceLine, cmd::Pause, cmd::Stop, cmd::MoveToEndOfLap,
                         cmd::FastForward, cmd::FastReverse},
                        s),
                ElementsAre(cmd::Pause, cmd::Stop, cmd::MoveToEndOfLap, cmd::FastForward));
    EXPECT_EQ(CommandStateFor(cmd::Play, s).checked, true);
    // Paused: the lines stay locked even though "playing" is clear.
    s.playing = false;
    s.paused = true;
    EXPECT_FALSE(On(cmd::ToggleLap1, s));
    EXPECT_FALSE(On(cmd::FilePrint, s));
    // Fast forward shows its check even where it cannot be used.
    s.paused = false;
    s.fastForward = true;
    EXPECT_EQ(CommandStateFor(cmd::FastForward, s), (CommandState{false, true}));
}

TEST(CommandState, RaceModeClosesTheLapCommandsThatNeedDrivingLines) {
    CommandSnapshot s = OneLap();
    const std::initializer_list<int> lines = {cmd::AddLapWithLapFinder, cmd::SaveReplayLap,  cmd::OpenMostRecentReplay,
                                              cmd::ToggleLap1,          cmd::ToggleRaceLine, cmd::AddReplayLap};
    EXPECT_EQ(Enabled(lines, s), std::vector<int>(lines));
    s.raceMode = true;
    EXPECT_THAT(Enabled(lines, s), ElementsAre(cmd::AddReplayLap));
    EXPECT_EQ(CommandStateFor(cmd::ToggleRaceReplay, s), (CommandState{true, true}));
    EXPECT_FALSE(On(cmd::FastReverse, s));
    s.playing = true;
    EXPECT_TRUE(On(cmd::FastReverse, s));
    // It asks only whether a race plays, not how many laps are loaded.
    s.lapCount = 0;
    EXPECT_EQ(CommandStateFor(cmd::FastReverse, s), (CommandState{true, false}));
}

TEST(CommandState, AnOpenListenerHoldsBackPlaybackWithoutTurningItOn) {
    CommandSnapshot s = OneLap();
    s.listenerOpen = true;
    // Nothing of the playback may start or seem to run, nor the file commands.
    EXPECT_THAT(Enabled(kPlaybackAndMap, s),
                ElementsAre(cmd::ZoomIn, cmd::ZoomOut, cmd::ShowWholeTrack, cmd::PanningTool));
    EXPECT_THAT(Enabled(kIdleFileCommands, s), ElementsAre());
    EXPECT_EQ(CommandStateFor(cmd::Play, s).checked, false);
    EXPECT_EQ(CommandStateFor(cmd::Pause, s).checked, false);
    // In race mode too.
    s.raceMode = true;
    EXPECT_EQ(CommandStateFor(cmd::ToggleRaceReplay, s), (CommandState{false, true}));
    s.listenerOpen = false;
    EXPECT_TRUE(On(cmd::Play, s));
    EXPECT_TRUE(On(cmd::FilePrint, s));
}

}  // namespace
}  // namespace vra
