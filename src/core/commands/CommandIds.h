#pragma once
// The command numbers of the main window's menus, toolbars and the map's
// context menu. They name the actions (QAction::data) and the rows of the
// command-state rule, so that the view, the frame, the rule and the tests
// agree on which command is which.

namespace vra::cmd {

inline constexpr int FileNew = 57600;   // "&Clear all replay laps..."
inline constexpr int FileOpen = 57601;  // "&Add replay lap..."
inline constexpr int FilePrintSetup = 57606;
inline constexpr int FilePrint = 57607;
inline constexpr int FilePrintDirect = 57608;
inline constexpr int FilePrintPreview = 57609;
inline constexpr int FileMruFirst = 57616;  // recent file 1; 2..7 follow
inline constexpr int AppAbout = 57664;
inline constexpr int AppExit = 57665;

inline constexpr int TractionCircle = 237;
inline constexpr int GraphWindow = 32771;
inline constexpr int AddReplayLap = 32776;
inline constexpr int Play = 32781;
inline constexpr int Pause = 32783;
inline constexpr int FastForward = 32784;
inline constexpr int Stop = 32785;
inline constexpr int ViewPlaybackBar = 32786;
inline constexpr int ViewPlotSettings = 32787;
inline constexpr int MoveToEndOfLap = 32788;
inline constexpr int MoveToBeginningOfLap = 32789;
inline constexpr int ZoomIn = 32790;
inline constexpr int ZoomOut = 32791;
inline constexpr int ShowWholeTrack = 32792;
inline constexpr int ViewZoomBar = 32793;
inline constexpr int ViewReadme = 32794;
inline constexpr int ToggleLap1 = 32795;  // lap 2..5 follow
inline constexpr int PanningTool = 32800;
inline constexpr int EditSettings = 32801;
inline constexpr int SaveReplayLap = 32802;
inline constexpr int AddLapWithLapFinder = 32804;
inline constexpr int SaveTelemetryText = 32806;
inline constexpr int ExportRecords = 32807;
inline constexpr int GearChangeAnalyzer = 32808;
inline constexpr int SaveTrackmapBmp = 32810;
inline constexpr int ViewLapBar = 32812;
inline constexpr int OpenMostRecentReplay = 32816;
inline constexpr int CdDatabaseCreator = 32818;
inline constexpr int ExportLapToGroove = 32821;  // no menu, no button
inline constexpr int PbViewer = 32823;
inline constexpr int MergeLaps = 32824;
inline constexpr int MoveRemoveLaps = 32831;
inline constexpr int FastReverse = 32838;
inline constexpr int ToggleRaceReplay = 32839;
inline constexpr int ToggleRaceLine = 32840;
inline constexpr int TelemetrySettings = 32842;
inline constexpr int StintAnalyzer = 32843;
inline constexpr int ShowSpeedTrack = 32844;
inline constexpr int CompressReplay = 32847;
inline constexpr int ViewMetersBar = 32850;
inline constexpr int FixTransAmRideHeight = 32852;
inline constexpr int ExportReportsToXml = 32851;
inline constexpr int GenerateReportSite = 32841;
inline constexpr int GraphicalRaceReport = 32815;
inline constexpr int RaceHistoryGraph = 32835;
inline constexpr int ReportSiteListener = 32849;
// The meters bar's own close button.
inline constexpr int CloseMetersBar = 1242;

// Tools that no menu or toolbar carries; their rows keep them disabled.
inline constexpr int OrlRankHandicap = 32811;
inline constexpr int TrackOrganizer = 32813;
inline constexpr int EngineDetection = 32819;
inline constexpr int DetailedRaceReport = 32825;
inline constexpr int OnlineLaptimeVerifier = 32826;

// Report commands (the report kind each one shows is in CRpyGraphApp; the
// three reports no menu carries are among the tools above).
inline constexpr int ReportQualify = 32772;
inline constexpr int ReportRace = 32773;
inline constexpr int ReportLapByLap = 32774;
inline constexpr int ReportComplete = 32775;
inline constexpr int ReportLapChart = 32777;
inline constexpr int ReportMechanical = 32809;
inline constexpr int ReportSectorTimes = 32827;
inline constexpr int ReportPractice = 32828;
inline constexpr int ReportHappyHour = 32829;
inline constexpr int ReportRaceSettings = 32830;
inline constexpr int ReportFlags = 32833;
inline constexpr int ReportSpeed = 32836;
inline constexpr int ReportCarFile = 32845;
inline constexpr int ReportRatings = 32846;
inline constexpr int ReportThrottleBrake = 32848;

}  // namespace vra::cmd
