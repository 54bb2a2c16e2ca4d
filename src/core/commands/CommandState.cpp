#include "core/commands/CommandState.h"

#include "core/commands/CommandIds.h"

#include <algorithm>

namespace vra {

namespace {

using Rule = CommandState (*)(const CommandSnapshot&);

struct Row {
    int id;
    Rule rule;
};

CommandState Enabled(bool on) {
    return {on, std::nullopt};
}
CommandState Checked(bool on, bool check) {
    return {on, check};
}

// Commands that change the picture of the lines wait while a lap or race
// plays or is paused: the playback owns the picture then.
bool LinesEditable(const CommandSnapshot& s) {
    return !s.playing && !s.paused && !s.raceMode && !s.listenerOpen;
}

template <int N>
CommandState LapToggle(const CommandSnapshot& s) {
    return Checked(s.lapBoxShown[N - 1] && LinesEditable(s), s.lapBoxTicked[N - 1]);
}

CommandState Idle(const CommandSnapshot& s) {
    return Enabled(s.Idle());
}
CommandState IdleLines(const CommandSnapshot& s) {
    return Enabled(s.Idle() && !s.raceMode);
}
CommandState Never(const CommandSnapshot&) {
    return Enabled(false);
}
CommandState WithLapsWhilePlaying(const CommandSnapshot& s) {
    return Enabled(s.PlaybackFree() && s.playing);
}

// One row per command: id, then who may use it and what its check mark shows.
constexpr Row kRows[] = {
    {cmd::Play, [](const CommandSnapshot& s) { return Checked(s.PlaybackFree(), s.playing); }},
    {cmd::Pause, [](const CommandSnapshot& s) { return Checked(s.PlaybackFree() && s.playing, s.paused); }},
    {cmd::FastForward, [](const CommandSnapshot& s) { return Checked(s.PlaybackFree() && s.playing, s.fastForward); }},
    // Reversing belongs to the race playback alone: it asks only whether a
    // race plays.
    {cmd::FastReverse,
     [](const CommandSnapshot& s) { return Checked(!s.listenerOpen && s.raceMode && s.playing, s.fastReverse); }},
    {cmd::Stop, WithLapsWhilePlaying},
    {cmd::MoveToBeginningOfLap, WithLapsWhilePlaying},
    {cmd::MoveToEndOfLap, WithLapsWhilePlaying},
    {cmd::ToggleRaceReplay, [](const CommandSnapshot& s) { return Checked(s.PlaybackFree(), s.raceMode); }},
    {cmd::ToggleRaceLine,
     [](const CommandSnapshot& s) { return Checked(s.slotUsed[0] && LinesEditable(s), s.raceLineOn); }},
    {cmd::ToggleLap1, LapToggle<1>},
    {cmd::ToggleLap1 + 1, LapToggle<2>},
    {cmd::ToggleLap1 + 2, LapToggle<3>},
    {cmd::ToggleLap1 + 3, LapToggle<4>},
    {cmd::ToggleLap1 + 4, LapToggle<5>},
    {cmd::ZoomIn, [](const CommandSnapshot& s) { return Checked(s.LapsLoaded(), s.zoomMode == ZoomMode::In); }},
    {cmd::ZoomOut, [](const CommandSnapshot& s) { return Checked(s.LapsLoaded(), s.zoomMode == ZoomMode::Out); }},
    {cmd::ShowWholeTrack, [](const CommandSnapshot& s) { return Enabled(s.LapsLoaded()); }},
    // A disabled hand keeps the check it had.
    {cmd::PanningTool,
     [](const CommandSnapshot& s) {
         return s.LapsLoaded() ? Checked(true, s.panMode) : CommandState{false, std::nullopt};
     }},
    {cmd::EditSettings, [](const CommandSnapshot&) { return Enabled(true); }},
    {cmd::FileNew, Idle},
    {cmd::FileOpen, Idle},
    {cmd::AddReplayLap, Idle},
    {cmd::FilePrintSetup, Idle},
    {cmd::FilePrint, Idle},
    {cmd::FilePrintPreview, Idle},
    {cmd::MoveRemoveLaps, Idle},
    {cmd::MergeLaps, Idle},
    {cmd::CompressReplay, Idle},
    {cmd::GearChangeAnalyzer, Idle},
    {cmd::GraphWindow, Idle},
    {cmd::TractionCircle, Idle},
    {cmd::StintAnalyzer, Idle},
    {cmd::CdDatabaseCreator, Idle},
    {cmd::ReportQualify, Idle},
    {cmd::ReportRace, Idle},
    {cmd::ReportLapChart, Idle},
    {cmd::ReportLapByLap, Idle},
    {cmd::ReportComplete, Idle},
    {cmd::ReportMechanical, Idle},
    {cmd::ReportSectorTimes, Idle},
    {cmd::ReportPractice, Idle},
    {cmd::ReportHappyHour, Idle},
    {cmd::ReportRaceSettings, Idle},
    {cmd::ReportFlags, Idle},
    {cmd::ReportSpeed, Idle},
    {cmd::ReportCarFile, Idle},
    {cmd::ReportRatings, Idle},
    {cmd::ReportThrottleBrake, Idle},
    {cmd::TelemetrySettings, Idle},
    {cmd::ShowSpeedTrack, Idle},
    {cmd::ExportReportsToXml, Idle},
    {cmd::ExportRecords, Idle},
    {cmd::PbViewer, Idle},
    {cmd::GenerateReportSite, Idle},
    {cmd::GraphicalRaceReport, Idle},
    {cmd::RaceHistoryGraph, Idle},
    {cmd::ReportSiteListener, Idle},
    {cmd::AddLapWithLapFinder, IdleLines},
    {cmd::SaveReplayLap, IdleLines},
    {cmd::OpenMostRecentReplay, IdleLines},
    // Never reachable, so never offered: a control that carried one would
    // show disabled.
    {cmd::OrlRankHandicap, Never},
    {cmd::TrackOrganizer, Never},
    {cmd::EngineDetection, Never},
    {cmd::DetailedRaceReport, Never},
    {cmd::OnlineLaptimeVerifier, Never},
};

const Row* Find(int id) {
    const auto it = std::find_if(std::begin(kRows), std::end(kRows), [id](const Row& r) { return r.id == id; });
    return it == std::end(kRows) ? nullptr : it;
}

constexpr int kMainBar[] = {
    cmd::FileNew,       cmd::AddReplayLap, cmd::AddLapWithLapFinder, cmd::MoveRemoveLaps,     cmd::MergeLaps,
    cmd::FilePrint,     kSeparator,        cmd::GraphWindow,         cmd::GearChangeAnalyzer, cmd::CdDatabaseCreator,
    cmd::ExportRecords, cmd::PbViewer,     cmd::TractionCircle,      cmd::TelemetrySettings};
// "Move to end of lap" has no button.
constexpr int kPlaybackBar[] = {cmd::MoveToBeginningOfLap, cmd::FastReverse, cmd::Play,  cmd::Pause,
                                cmd::FastForward,          cmd::Stop,        kSeparator, cmd::ToggleRaceReplay};
constexpr int kZoomBar[] = {cmd::ZoomIn, cmd::ZoomOut, cmd::ShowWholeTrack, cmd::PanningTool};
constexpr int kLapBar[] = {cmd::ToggleRaceLine, cmd::ToggleLap1,     cmd::ToggleLap1 + 1,
                           cmd::ToggleLap1 + 2, cmd::ToggleLap1 + 3, cmd::ToggleLap1 + 4};

}  // namespace

CommandState CommandStateFor(int id, const CommandSnapshot& s) {
    const Row* row = Find(id);
    return row ? row->rule(s) : CommandState{};
}

bool HasCommandRule(int id) {
    return Find(id) != nullptr;
}

std::span<const int> MainToolBarIds() {
    return kMainBar;
}
std::span<const int> PlaybackToolBarIds() {
    return kPlaybackBar;
}
std::span<const int> ZoomToolBarIds() {
    return kZoomBar;
}
std::span<const int> LapToolBarIds() {
    return kLapBar;
}

}  // namespace vra
