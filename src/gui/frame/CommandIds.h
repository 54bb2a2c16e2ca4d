#pragma once
// The command numbers of the main window's menus and toolbars. They name the
// actions (QAction::data) so that the view, the frame and the tests agree on
// which command is which.

namespace vra::cmd {

inline constexpr int FileNew = 57600;   // "&Clear all replay laps..."
inline constexpr int FileOpen = 57601;  // "&Add replay lap..."
inline constexpr int FilePrintSetup = 57606;
inline constexpr int FilePrint = 57607;
inline constexpr int FilePrintPreview = 57609;
inline constexpr int FileMruFirst = 57616;  // recent file 1; 2..7 follow
inline constexpr int AppAbout = 57664;
inline constexpr int AppExit = 57665;

inline constexpr int AddReplayLap = 32776;
inline constexpr int ViewPlotSettings = 32787;
inline constexpr int ZoomIn = 32790;
inline constexpr int ZoomOut = 32791;
inline constexpr int ShowWholeTrack = 32792;
inline constexpr int ViewZoomBar = 32793;
inline constexpr int ViewReadme = 32794;
inline constexpr int ToggleLap1 = 32795;  // lap 2..5 follow
inline constexpr int PanningTool = 32800;
inline constexpr int ViewLapBar = 32812;
inline constexpr int ToggleRaceLine = 32840;

}  // namespace vra::cmd
