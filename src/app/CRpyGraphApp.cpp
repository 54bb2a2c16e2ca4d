#include "app/CRpyGraphApp.h"

#include "core/commands/CommandIds.h"
#include "core/commands/CommandState.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/export/ExportFlows.h"
#include "core/export/GrooveExport.h"
#include "core/platform/Prompts.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/reports/Report.h"
#include "core/reports/ReportFlows.h"
#include "core/settings/AppSettings.h"
#include "core/text/LapTime.h"
#include "gui/dialogs/PleaseWaitBox.h"
#include "gui/export/ExportRecords.h"
#include "gui/export/OrlRank.h"
#include "gui/export/PBViewer.h"
#include "gui/export/RaceGraphDialog.h"
#include "gui/export/ReportSiteListener.h"
#include "gui/export/SitePicture.h"
#include "gui/frame/CMainFrame.h"
#include "gui/graphs/GearChangeAnalyse.h"
#include "gui/graphs/NewGraph.h"
#include "gui/graphs/StintAnalyzer.h"
#include "gui/graphs/TractionCircle.h"
#include "gui/map/CRpyGraphView.h"
#include "gui/map/MapPlayback.h"
#include "gui/map/MeterBar.h"
#include "gui/map/RaceReplay.h"
#include "gui/map/ViewDialog.h"
#include "gui/platform/Cp1252.h"
#include "gui/platform/QtDesktop.h"
#include "gui/platform/QtVolumes.h"
#include "gui/replay/LapFinderDialog.h"
#include "gui/replay/LoadedLapsArrangerDialog.h"
#include "gui/replay/ReplayCDDatabaseCreatorDialog.h"
#include "gui/reports/ReportDlg.h"
#include "gui/tools/RpyConfig.h"
#include "gui/tools/SpeedTrack.h"
#include "gui/tools/groove.h"

#include <QAction>
#include <QDockWidget>
#include <QFile>
#include <QMenu>

namespace vra {

namespace {

// The report each report command shows.
constexpr std::pair<int, int> kReportCommands[] = {
    {cmd::ReportQualify, ReportKind::Qualifying},
    {cmd::ReportRace, ReportKind::Race},
    {cmd::ReportLapChart, ReportKind::LapChart},
    {cmd::ReportLapByLap, ReportKind::LapByLap},
    {cmd::ReportComplete, ReportKind::Complete},
    {cmd::ReportMechanical, ReportKind::Mechanical},
    {cmd::EngineDetection, ReportKind::EngineDetection},
    {cmd::DetailedRaceReport, ReportKind::DetailedRace},
    {cmd::OnlineLaptimeVerifier, ReportKind::LaptimeVerifier},
    {cmd::ReportSectorTimes, ReportKind::SectorTimes},
    {cmd::ReportPractice, ReportKind::Practice},
    {cmd::ReportHappyHour, ReportKind::HappyHour},
    {cmd::ReportRaceSettings, ReportKind::RaceSettings},
    {cmd::ReportFlags, ReportKind::Flags},
    {cmd::ReportSpeed, ReportKind::Speed},
    {cmd::ReportCarFile, ReportKind::CarFile},
    {cmd::ReportRatings, ReportKind::Ratings},
    {cmd::ReportThrottleBrake, ReportKind::ThrottleBrake},
};

}  // namespace

CRpyGraphApp::CRpyGraphApp(Services services) : services_(services) {}

CRpyGraphApp::~CRpyGraphApp() {
    // The listener reads the document: it goes first.
    listener_.reset();
    // The document saves the settings when it goes; the windows go after it.
    doc_.reset();
    if (settings_) vra::AppSettings::SetInstance(nullptr);
}

bool CRpyGraphApp::InitInstance(const std::vector<std::string>& args, const std::string& executablePath) {
    settings_ = std::make_unique<vra::AppSettings>(services_.settings);
    vra::AppSettings::SetInstance(settings_.get());
    if (!executablePath.empty()) settings_->InitProgramFolder(executablePath);

    frame_ = std::make_unique<CMainFrame>(services_.settings, services_.shell, services_.prompts);
    view_ = new CRpyGraphView(frame_.get());
    view_->SetPrompts(&services_.prompts);
    frame_->setCentralWidget(view_);
    viewBar_ = new ViewDialog;
    viewBar_->SetShell(&services_.shell);
    viewBar_->SetLinkTarget(CMainFrame::ReadmePath());
    frame_->SetViewBarWidget(viewBar_);
    view_->SetViewBar(viewBar_);
    if (!services_.waitBox) {
        ownWaitBox_ = std::make_unique<PleaseWaitBox>(frame_.get());
        services_.waitBox = ownWaitBox_.get();
    }

    if (services_.frameReady) services_.frameReady(frame_.get());
    frame_->show();
    doc_ = std::make_unique<vra::CRpyGraphDoc>(*settings_, services_.prompts, *services_.waitBox, this);
    view_->SetDocument(doc_.get());
    view_->OnInitialUpdate();
    ConnectCommands();
    UpdateCommandStates();

    // The batch exports run from main before any window exists; the window's
    // command line names at most a replay to add as a lap.
    commandLine_ = CommandLine::Parse(args);
    if (commandLine_.fileToOpen) OpenLap(QFile::decodeName(QByteArray::fromStdString(*commandLine_.fileToOpen)));
    return true;
}

void CRpyGraphApp::OpenLap(const QString& path) {
    if (!doc_) return;
    AddLap([&] { doc_->OnOpenDocument(std::filesystem::path(QFile::encodeName(path).toStdString())); });
}

void CRpyGraphApp::AddLap(const std::function<void()>& add) {
    // The first lap of an empty document brings its track: whatever the
    // window did meanwhile, the whole track is shown, as after a clear.
    const bool wasEmpty = doc_->LapCount() == 0;
    add();
    if (wasEmpty && doc_->LapCount() > 0) view_->OnInitialUpdate();
    UpdateCommandStates();
}

void CRpyGraphApp::ConnectCommands() {
    using namespace vra::cmd;
    auto on = [this](int id, auto handler) { connect(frame_->Action(id), &QAction::triggered, this, handler); };
    connect(frame_.get(), &CMainFrame::openLapRequested, this, &CRpyGraphApp::OpenLap);
    on(FileOpen, [this] { AddLap([this] { doc_->OnAddReplayLap(); }); });
    on(AddReplayLap, [this] { AddLap([this] { doc_->OnAddReplayLap(); }); });
    on(FileNew, [this] {
        doc_->OnNewDocument();
        view_->OnInitialUpdate();
    });
    on(AddLapWithLapFinder, [this] {
        AddLap([this] {
            QtVolumes volumes;
            QtClipboard clipboard;
            LapFinderDialog finder(*doc_, volumes, *services_.waitBox, clipboard, frame_.get());
            finder.exec();
        });
    });
    on(OpenMostRecentReplay, [this] { AddLap([this] { doc_->OnOpenMostRecentReplay(); }); });
    on(MoveRemoveLaps, [this] {
        const int before = doc_->LapCount();
        LoadedLapsArrangerDialog arranger(*doc_, frame_.get());
        arranger.exec();
        // Every lap removed: the view starts afresh, as after a clear.
        if (before > 0 && doc_->LapCount() == 0) view_->OnInitialUpdate();
    });
    on(CdDatabaseCreator, [this] {
        QtVolumes volumes;
        ReplayCDDatabaseCreatorDialog creator(doc_->SimFolder(), volumes, services_.prompts, frame_.get());
        creator.exec();
    });
    on(GearChangeAnalyzer, [this] {
        GearChangeAnalyse analyse(*doc_);
        analyse.exec();
    });
    on(GraphWindow, [this] {
        if (doc_->LapCount() == 0) {
            services_.prompts.alert("No replay lap loaded!");
            return;
        }
        NewGraph graph(doc_.get());
        graph.exec();
    });
    on(vra::cmd::TractionCircle, [this] {
        if (doc_->LapCount() == 0) {
            services_.prompts.alert("No replay lap loaded!");
            return;
        }
        vra::TractionCircle circle(*doc_);
        circle.exec();
    });
    on(EditSettings, [this] { services_.prompts.editSettings({settings_.get(), doc_.get()}); });
    on(TelemetrySettings, [this] {
        RpyConfig config(*doc_, services_.prompts, frame_.get());
        config.exec();
    });
    on(ShowSpeedTrack, [this] {
        if (doc_->LapCount() < 2) {
            services_.prompts.alert(kTwoLapsNeededText);
            return;
        }
        vra::SpeedTrack overlay(*doc_, frame_.get());
        overlay.exec();
    });
    on(vra::cmd::StintAnalyzer, [this] {
        vra::StintAnalyzer analyzer(*doc_, services_.prompts, *services_.waitBox);
        analyzer.exec();
    });
    on(SaveReplayLap, [this] { doc_->OnSaveReplayLap(); });
    on(SaveTelemetryText, [this] { doc_->OnSaveTelemetryText(); });
    on(MergeLaps, [this] { doc_->OnMergeLaps(); });
    on(CompressReplay, [this] { doc_->OnCompressReplay(); });
    on(FixTransAmRideHeight, [this] { doc_->OnFixTransAmRideHeight(); });
    for (const auto& [id, kind] : kReportCommands) on(id, [this, kind = kind] { RunReport(kind); });
    on(SaveTrackmapBmp, [this] { view_->OnSaveTrackmapAsBmp(); });
    on(cmd::GenerateReportSite, [this] {
        // The site's map is what "Save Trackmap" would draw now.
        ViewTrackPicture picture(*doc_, view_->ExportedLineSlots());
        ExportFlows(
            *doc_, services_.prompts, services_.shell, *services_.waitBox, [this] { return view_->ChooseLoadedLap(); },
            [&picture](Report& report) { report.mapView = &picture; })
            .GenerateReportSite();
    });
    on(cmd::ReportSiteListener, [this] {
        // A second listener replaces the first.
        if (listener_) listener_->hide();
        listener_.reset();
        listener_ = std::make_unique<vra::ReportSiteListener>(*doc_);
        connect(listener_.get(), &vra::ReportSiteListener::closed, this, [this] {
            listenerOpen_ = false;
            UpdateCommandStates();
        });
        listener_->show();
        listener_->repaint();
        listenerOpen_ = true;
        UpdateCommandStates();
    });
    on(cmd::ExportReportsToXml, [this] {
        ExportFlows(*doc_, services_.prompts, services_.shell, *services_.waitBox, [this] {
            return view_->ChooseLoadedLap();
        }).ExportReportsToXml();
    });
    on(cmd::PbViewer, [this] {
        QtVolumes volumes;
        PBViewer viewer(*doc_, volumes, *services_.waitBox);
        viewer.exec();
    });
    on(cmd::ExportRecords, [this] {
        QtVolumes volumes;
        vra::ExportRecords records(*doc_, volumes, *services_.waitBox, services_.prompts, services_.shell);
        records.exec();
    });
    on(cmd::GraphicalRaceReport, [this] { RunRaceGraph<vra::GraphicalRaceReport>(); });
    on(RaceHistoryGraph, [this] { RunRaceGraph<RelativeRaceGraph>(); });
    on(cmd::OrlRankHandicap, [] {
        OrlRank rank;
        rank.exec();
    });
    view_->addAction(frame_->Action(ExportLapToGroove));
    on(ExportLapToGroove, [this] {
        const int slot = view_->ChooseLoadedLap();
        if (slot < 0 || !GrooveTrackLoaded(*doc_, services_.prompts)) return;
        groove parameters(services_.prompts, frame_.get());
        if (parameters.exec() != QDialog::Accepted) return;
        ExportGroove(*doc_, slot, parameters.Settings(), services_.prompts);
    });
    on(FilePrint, [this] { view_->OnFilePrint(); });
    on(FilePrintPreview, [this] { view_->OnFilePrintPreview(); });
    on(FilePrintSetup, [this] { view_->OnFilePrintSetup(); });
    on(ZoomIn, [this] { view_->OnZoomIn(); });
    on(ZoomOut, [this] { view_->OnZoomOut(); });
    on(ShowWholeTrack, [this] { view_->OnShowWholeTrack(); });
    on(PanningTool, [this] { view_->OnPanningTool(); });
    on(ToggleRaceLine, [this] { view_->OnToggleRaceLine(); });
    for (int n = 1; n <= 5; ++n) on(ToggleLap1 + n - 1, [this, n] { view_->OnToggleDrivingLine(n); });
    MapPlayback& playback = view_->Playback();
    PlaybackController& player = playback.Controller();
    on(Play, [&player] { player.Play(); });
    on(Pause, [&player] { player.Pause(); });
    on(FastForward, [&player] { player.FastForward(); });
    on(FastReverse, [&player] { player.FastReverse(); });
    on(Stop, [&player] { player.Stop(); });
    on(MoveToBeginningOfLap, [&player] { player.MoveToBeginningOfLap(); });
    on(ToggleRaceReplay, [&player] { player.ToggleRaceReplay(); });
    on(ViewMetersBar, [this, &player] {
        vra::AppSettings& settings = doc_->Settings();
        settings.SetShowMetersBar(settings.ShowMetersBar() ? 0 : 1);
        frame_->MetersBar()->setVisible(settings.ShowMetersBar() && player.Playing() && !player.RaceMode());
    });
    on(CloseMetersBar, [this] {
        doc_->Settings().SetShowMetersBar(0);
        frame_->MetersBar()->hide();
        services_.prompts.message(
            "If you ever want to view this window in the\r\nfuture, enable it under View->Meters Bar", {},
            vra::Icon::Information, vra::Buttons::Ok);
    });
    connect(frame_->ViewMenu(), &QMenu::aboutToShow, this,
            [this] { frame_->Action(ViewMetersBar)->setChecked(doc_->Settings().ShowMetersBar() != 0); });
    // Every change of the playback's flags, whoever made it (a command, the
    // race bar, a zoom click, the end of the laps or of the race).
    connect(&playback, &MapPlayback::stateChanged, this, &CRpyGraphApp::UpdateCommandStates);
    connect(&playback, &MapPlayback::metersShown, frame_->MetersBar(), &QWidget::setVisible);
    connect(&playback, &MapPlayback::raceBarShown, frame_.get(), &CMainFrame::ShowRaceBar);
    playback.SetWaitBox(services_.waitBox);
    auto* meters = new MeterBar;
    frame_->SetMetersBarWidget(meters);
    playback.SetMeterBar(meters);
    auto* race = new RaceReplay(playback.Race(), player);
    frame_->SetRaceBarWidget(race);
    playback.SetRaceBar(race);
    connect(view_, &CRpyGraphView::messageText, frame_.get(), &CMainFrame::SetMessageText);
    connect(view_, &CZoomView::zoomChanged, this, &CRpyGraphApp::UpdateCommandStates);
    connect(view_, &CZoomView::toolChanged, this, &CRpyGraphApp::UpdateCommandStates);
    connect(view_, &CRpyGraphView::commandStatesNeeded, this, &CRpyGraphApp::UpdateCommandStates);
    connect(frame_.get(), &CMainFrame::commandStatesNeeded, this, &CRpyGraphApp::UpdateCommandStates);
    view_->SetCommandSource([this](int id) { return frame_->Action(id); });
    // A checkable action flips its own mark when triggered; whatever its
    // handler did, the rule has the last word. Connected after the handlers.
    for (QAction* action : frame_->findChildren<QAction*>())
        connect(action, &QAction::triggered, this, &CRpyGraphApp::UpdateCommandStates);
    connect(viewBar_, &ViewDialog::linesChanged, this, &CRpyGraphApp::UpdateCommandStates);
}

template <typename Graph>
void CRpyGraphApp::RunRaceGraph() {
    ReportFlows flows(*doc_, services_.prompts, [this] { return view_->ChooseLoadedLap(); }, {});
    flows.LapOrFile(
        [this](const Header& header, const Drivers& drivers) {
            Graph graph(*doc_, header, drivers, services_.prompts);
            graph.exec();
        },
        /*raceInfo=*/true);
}

void CRpyGraphApp::RunReport(int kind) {
    ReportFlows flows(
        *doc_, services_.prompts, [this] { return view_->ChooseLoadedLap(); },
        [this](Report& report) {
            ReportDlg window(report, services_.prompts, frame_.get());
            window.exec();
        });
    flows.Run(kind);
}

vra::CommandSnapshot CRpyGraphApp::CommandStates() const {
    vra::CommandSnapshot s;
    if (doc_) {
        s.lapCount = doc_->LapCount();
        for (int slot = 0; slot < vra::CommandSnapshot::kLaps; ++slot)
            s.slotUsed[std::size_t(slot)] = doc_->IsSlotUsed(slot);
    }
    for (int n = 1; n <= vra::CommandSnapshot::kLaps; ++n) {
        s.lapBoxShown[std::size_t(n - 1)] = viewBar_->IsLapShown(n);
        s.lapBoxTicked[std::size_t(n - 1)] = viewBar_->IsLapTicked(n);
    }
    s.raceLineOn = viewBar_->RaceLineOn();
    s.zoomMode = view_->GetZoomMode();
    s.panMode = view_->GetSecondaryMode();
    const PlaybackController& playback = view_->Playback().Controller();
    // A zoom click holds the playback only while the picture is rebuilt.
    s.playing = playback.Playing() || playback.Suspended();
    s.paused = playback.Paused();
    s.fastForward = playback.FastForwarding();
    s.fastReverse = playback.FastReversing();
    s.raceMode = playback.RaceMode();
    s.listenerOpen = listenerOpen_;
    return s;
}

void CRpyGraphApp::UpdateCommandStates() {
    if (frame_ && view_ && viewBar_) frame_->ApplyCommandStates(CommandStates());
}

void CRpyGraphApp::TitleChanged(std::string_view title) {
    frame_->SetDocumentTitle(vra::Cp1252ToQString(title));
}

void CRpyGraphApp::PathNameChanged(const std::filesystem::path& path, bool addToRecent) {
    if (addToRecent) frame_->AddToRecentFileList(QFile::decodeName(QByteArray::fromStdString(path.string())));
}

void CRpyGraphApp::ViewsChanged() {
    view_->RequestFullRedraw();
    UpdateCommandStates();
}

void CRpyGraphApp::LapControlsChanged() {
    std::vector<ViewDialog::LapEntry> laps;
    for (int slot = 0; slot < vra::CRpyGraphDoc::kSlotMaximum; ++slot) {
        if (!doc_->IsSlotUsed(slot)) continue;
        const vra::LapSlot& lap = doc_->Slot(slot);
        ViewDialog::LapEntry entry;
        entry.slot = slot;
        if (lap.drivers && lap.driver >= 0 && std::size_t(lap.driver) < lap.drivers->drivers.size()) {
            const auto& d = lap.drivers->drivers[std::size_t(lap.driver)];
            entry.caption = d.firstName.substr(0, 1) + " " + d.lastName + " " +
                            vra::FormatLapTime(lap.drivers->LapWordAt(lap.session, lap.driver, lap.lap));
        }
        if (lap.info) entry.splitMs = lap.info->splitMs;
        laps.push_back(entry);
    }
    viewBar_->UpdateLapControls(laps);
    UpdateCommandStates();
}

void CRpyGraphApp::LapsClearing() {
    // A race read from a lap of the document goes with its laps.
    view_->Playback().Controller().LeaveRaceReplay();
    // An emptied document starts without lines: no lap and no race line.
    viewBar_->UntickAll();
    viewBar_->SetRaceLine(false);
}

}  // namespace vra
