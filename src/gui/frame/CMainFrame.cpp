#include "gui/frame/CMainFrame.h"

#include "core/commands/CommandIds.h"
#include "core/commands/CommandState.h"
#include "core/document/DocumentColours.h"
#include "core/platform/Prompts.h"
#include "core/platform/SettingsStore.h"
#include "core/platform/Shell.h"
#include "core/settings/AppSettings.h"
#include "gui/dialogs/CAboutDlg.h"
#include "gui/platform/Cp1252.h"
#include "gui/widgets/Artwork.h"
#include "gui/widgets/DialogUnits.h"
#include "gui/widgets/LiteralText.h"
#include "gui/widgets/OneWayScroll.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

namespace vra {

namespace {

// The lap toggles show the colour their lap draws in on the map.
QColor LapColour(int lap) {
    const vra::Rgb c = vra::kMapPalette[std::size_t(lap - 1)];
    return QColor(c.red, c.green, c.blue);
}

// A button shows the program's own picture of its command (Artwork's table)
// and the command's text, without its mnemonic, dots and key, as tool tip;
// the status bar shows the command's prompt, or that text when it has none.
void DressForToolBar(int id, QAction& action) {
    if (action.icon().isNull()) action.setIcon(Artwork::CommandIcon(id));
    QString text = action.text().section(QLatin1Char('\t'), 0, 0);
    text.remove(QStringLiteral("...")).remove(QLatin1Char('&'));
    action.setToolTip(text);
    if (action.statusTip().isEmpty()) action.setStatusTip(text);
}

QString ProgramName() {
    return QStringLiteral("Velmar Replay Analyzer");
}

}  // namespace

CMainFrame::CMainFrame(vra::SettingsStore& settings, vra::Shell& shell, vra::Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), settings_(settings), shell_(shell), prompts_(prompts) {
    setObjectName(QStringLiteral("MainFrame"));
    setAcceptDrops(true);
    // The program's own icon, whatever icon theme the desktop has.
    setWindowIcon(Artwork::ProgramIcon());
    // Dock bars stay on their sides; the top row belongs to the toolbars.
    // A bar at the bottom spans the window's whole width, under the left
    // bars: the meters need it.
    setCorner(Qt::TopLeftCorner, Qt::LeftDockWidgetArea);
    setCorner(Qt::BottomLeftCorner, Qt::BottomDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::BottomDockWidgetArea);
    ownText_ = QStringLiteral("Ready");
    CreateActions();
    CreateMenus();
    CreateToolBars();
    // The status bar keeps its message pane only: the keyboard's lock
    // indicators have no portable source on this desktop.
    ShowPaneText(ownText_);
    // A menu's prompts and a button's hint show over the program's own text
    // and give it back when they end: a menu that closes or a button the
    // mouse leaves clears the pane, whether before or after its command wrote
    // the program's text. Only the program's own texts may leave it empty.
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& text) {
        if (showingOwnText_) return;
        hintShown_ = !text.isEmpty();
        if (text.isEmpty()) ShowPaneText(ownText_);
    });
    CreateViewBar();
    CreatePlaybackBars();
    SetDocumentTitle({});
    SizeFromDialogUnits();
    BreakToolBarRows();
    recent_.ReadList(settings_);
    RebuildRecentMenu();
    LoadBarState();
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::MakeAction(int id, const QString& text, const QString& statusTip) {
    auto* action = new QAction(text, this);
    action->setData(id);
    if (!statusTip.isEmpty()) action->setStatusTip(statusTip);
    actions_[id] = action;
    return action;
}

QAction* CMainFrame::Action(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::CreateActions() {
    using namespace vra::cmd;
    MakeAction(FileOpen, tr("&Add replay lap...\tCtrl+O"), QStringLiteral("Add replay lap"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    MakeAction(FileNew, tr("&Clear all replay laps...\tCtrl+N"), QStringLiteral("Clears all loaded replay laps"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    MakeAction(AddReplayLap, tr("&Add replay lap..."), QStringLiteral("Add replay lap"));
    MakeAction(AddLapWithLapFinder, tr("Add replay lap using Lap Finder..."),
               QStringLiteral("Add replay lap using Lap Finder"));
    MakeAction(OpenMostRecentReplay, tr("Open most recently added replay file..."),
               QStringLiteral("Open most recently added replay file"));
    MakeAction(MoveRemoveLaps, tr("Move/Remove loaded replay laps..."),
               QStringLiteral("Move/Remove loaded replay laps"));
    MakeAction(CdDatabaseCreator, tr("Replay CD Database Creator"), QStringLiteral("Replay CD Database Creator"));
    MakeAction(GearChangeAnalyzer, tr("Gearchange Analyzer"), QStringLiteral("Gearchange Analyzer"));
    MakeAction(GraphWindow, tr("&Graph"), QStringLiteral("Telemetry graph"));
    for (const auto& [id, text] : ReportMenuEntries()) MakeAction(id, text);
    MakeAction(GenerateReportSite, tr("Generate Report site (html)"), QStringLiteral("Generate Report site (html)"));
    MakeAction(ExportReportsToXml, tr("Export Reports to XML"), QStringLiteral("Export Reports to XML"));
    MakeAction(vra::cmd::ReportSiteListener, tr("Report Site Listener"), QStringLiteral("Report Site Listener"));
    MakeAction(vra::cmd::ExportRecords, tr("Export Records to html"), QStringLiteral("Export Records to html"));
    MakeAction(PbViewer, tr("PB Viewer"), QStringLiteral("PB Viewer"));
    MakeAction(vra::cmd::GraphicalRaceReport, tr("Graphical Race Report"), QStringLiteral("Graphical Race Report"));
    MakeAction(RaceHistoryGraph, tr("Race History Graph"), QStringLiteral("Race History Graph"));
    // In no menu and kept disabled; its handler still opens the window.
    MakeAction(OrlRankHandicap, tr("OrlRank Handicap"), QStringLiteral("OrlRank Handicap"));
    // Reports that stand in no menu: their commands exist, kept disabled.
    MakeAction(EngineDetection, tr("Engine detection"), QStringLiteral("Engine detection"));
    MakeAction(DetailedRaceReport, tr("Detailed Race Report"), QStringLiteral("Detailed Race Report"));
    MakeAction(OnlineLaptimeVerifier, tr("Online Laptime Verifier"), QStringLiteral("Online Laptime Verifier"));
    MakeAction(TractionCircle, tr("Traction Circle"), QStringLiteral("Traction Circle"));
    MakeAction(StintAnalyzer, tr("Stint Analyzer"), QStringLiteral("Stint Analyzer"));
    MakeAction(SaveReplayLap, tr("Save replay lap..."), QStringLiteral("Save replay lap"));
    MakeAction(SaveTelemetryText, tr("Save telemetry to text file"), QStringLiteral("Save telemetry to text file"));
    MakeAction(MergeLaps, tr("Merge all laps to one replay file..."), QStringLiteral("Merge all laps"));
    MakeAction(CompressReplay, tr("Compress replay file..."), QStringLiteral("Compress replay file"));
    MakeAction(FixTransAmRideHeight, tr("Fix Trans-Am ride height..."), QStringLiteral("Fix Trans-Am ride height"));
    MakeAction(EditSettings, tr("Settings..."));
    MakeAction(TelemetrySettings, tr("VELMR Replay Settings"));
    MakeAction(SaveTrackmapBmp, tr("Save Trackmap as BMP-file..."));
    MakeAction(ShowSpeedTrack, tr("SpeedTrack"));
    // Stands in no menu and on no toolbar: the map view carries it.
    MakeAction(ExportLapToGroove, tr("Export Lap To Groove (GRV) File"));
    MakeAction(FilePrint, tr("&Print...\tCtrl+P"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    MakeAction(FilePrintPreview, tr("Print Pre&view..."));
    MakeAction(FilePrintSetup, tr("P&rint Setup..."));
    connect(MakeAction(AppExit, tr("E&xit")), &QAction::triggered, this, &QWidget::close);

    MakeAction(ZoomIn, tr("Zoom In"));
    MakeAction(ZoomOut, tr("Zoom Out"));
    MakeAction(ShowWholeTrack, tr("Fit To Track"));
    MakeAction(PanningTool, tr("Panning Tool"));
    for (int id : {ZoomIn, ZoomOut, PanningTool}) Action(id)->setCheckable(true);

    QAction* raceLine = MakeAction(ToggleRaceLine, tr("Toggle RaceLine"));
    raceLine->setCheckable(true);
    for (int n = 1; n <= 5; ++n) {
        QAction* lap = MakeAction(ToggleLap1 + n - 1, tr("Toggle lap %1").arg(n));
        lap->setIcon(Artwork::LapIcon(n, LapColour(n)));
        lap->setCheckable(true);
    }

    MakeAction(MoveToBeginningOfLap, tr("Beginning of lap"), QStringLiteral("Beginning of lap"));
    MakeAction(FastReverse, tr("Fast reverse"), QStringLiteral("Fast reverse"));
    MakeAction(Play, tr("Start/Continue"), QStringLiteral("Start/continue drawing driving lines"));
    MakeAction(Pause, tr("Pause"), QStringLiteral("Pause"));
    MakeAction(FastForward, tr("Fast Forward"), QStringLiteral("Fast Forward"));
    MakeAction(Stop, tr("Stop"), QStringLiteral("Stop"));
    MakeAction(ToggleRaceReplay, tr("Toggle replay race/driving lines"),
               QStringLiteral("Toggle replay race/driving lines"));
    for (int id : {FastReverse, Play, Pause, FastForward, ToggleRaceReplay}) Action(id)->setCheckable(true);
    // The meters bar's close button, which has no menu entry of its own.
    MakeAction(CloseMetersBar, {});

    QAction* plot =
        MakeAction(ViewPlotSettings, tr("&Plot Settings"), QStringLiteral("Show or hide the plot settings"));
    QAction* zoomBar = MakeAction(ViewZoomBar, tr("&Zoom Bar"), QStringLiteral("Show or hide the zoom bar"));
    QAction* lapBar = MakeAction(ViewLapBar, tr("&Lap Bar"), QStringLiteral("Show or hide the lap bar"));
    QAction* playbackBar =
        MakeAction(ViewPlaybackBar, tr("Play&back Bar"), QStringLiteral("Show or hide the playback bar"));
    QAction* metersBar = MakeAction(ViewMetersBar, tr("&Meters Bar"), QStringLiteral("Show or hide the meters bar"));
    for (QAction* a : {plot, zoomBar, lapBar, playbackBar, metersBar}) a->setCheckable(true);
    // In race mode the race bar stands in the view bar's place.
    connect(plot, &QAction::triggered, this,
            [this] { ToggleBar(Action(vra::cmd::ToggleRaceReplay)->isChecked() ? raceBar_ : viewBar_); });
    connect(playbackBar, &QAction::triggered, this, [this] { ToggleBar(playbackBar_); });
    connect(zoomBar, &QAction::triggered, this, [this] { ToggleBar(zoomBar_); });
    connect(lapBar, &QAction::triggered, this, [this] { ToggleBar(lapBar_); });

    connect(MakeAction(ViewReadme, tr("View &Readme file"), QStringLiteral("View Readme file")), &QAction::triggered,
            this, [this] {
                // Without a program for text files the desktop would stay
                // silent: the user is told where the readme is.
                const QString path = ReadmePath();
                if (!shell_.open(QFile::encodeName(path).toStdString()))
                    prompts_.alert(QStringToCp1252(QStringLiteral("Can't open the readme file:\n\n") +
                                                   QDir::toNativeSeparators(path)));
            });
    connect(MakeAction(AppAbout, tr("&About Velmar Replay Analyzer...")), &QAction::triggered, this, [this] {
        CAboutDlg about(shell_, &prompts_, this);
        about.exec();
    });

    for (int n = 0; n < int(vra::RecentFileList::kDefaultSize); ++n) {
        QAction* entry = MakeAction(FileMruFirst + n, {});
        entry->setVisible(false);
        connect(entry, &QAction::triggered, this, [this, n] {
            if (std::size_t(n) < recent_.Entries().size())
                emit openLapRequested(QFile::decodeName(QByteArray::fromStdString(recent_.Entries()[std::size_t(n)])));
        });
    }
}

std::vector<std::pair<int, QString>> CMainFrame::ReportMenuEntries() {
    using namespace vra::cmd;
    return {{ReportQualify, tr("Qualify")},
            {ReportRace, tr("Race")},
            {ReportLapChart, tr("Lap Chart")},
            {ReportLapByLap, tr("Lap by lap")},
            {ReportComplete, tr("Complete(all above)")},
            {ReportMechanical, tr("Mechanical")},
            {ReportSectorTimes, tr("Sector Times")},
            {ReportPractice, tr("Practice")},
            {ReportHappyHour, tr("Happy Hour")},
            {ReportRaceSettings, tr("Race Settings")},
            {ReportFlags, tr("Flags (yellows etc)")},
            {ReportSpeed, tr("Speed")},
            {ReportCarFile, tr("Car File Report")},
            {ReportRatings, tr("Ratings Report")},
            {ReportThrottleBrake, tr("Throttle/Brake Use")}};
}

QMenu* CMainFrame::AddMenu(const QString& title) {
    QMenu* menu = menuBar()->addMenu(title);
    // First of the menu's handlers, so that those after it read the states
    // the rule gave.
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::commandStatesNeeded);
    return menu;
}

void CMainFrame::CreateMenus() {
    using namespace vra::cmd;
    fileMenu_ = AddMenu(tr("&File"));
    fileMenu_->addAction(Action(FileOpen));
    fileMenu_->addAction(Action(FileNew));
    for (int id : {AddLapWithLapFinder, OpenMostRecentReplay, MoveRemoveLaps}) fileMenu_->addAction(Action(id));
    fileMenu_->addSeparator();
    for (int id : {SaveReplayLap, SaveTelemetryText, MergeLaps, CompressReplay, FixTransAmRideHeight})
        fileMenu_->addAction(Action(id));
    fileMenu_->addSeparator();
    fileMenu_->addAction(Action(EditSettings));
    fileMenu_->addSeparator();
    fileMenu_->addAction(Action(FilePrint));
    fileMenu_->addAction(Action(FilePrintPreview));
    fileMenu_->addAction(Action(FilePrintSetup));
    fileMenu_->addSeparator();
    for (int n = 0; n < int(vra::RecentFileList::kDefaultSize); ++n) fileMenu_->addAction(Action(FileMruFirst + n));
    recentSeparator_ = fileMenu_->addSeparator();
    fileMenu_->addAction(Action(AppExit));

    QMenu* view = AddMenu(tr("&View"));
    viewMenu_ = view;
    for (int id : {ZoomIn, ZoomOut, ShowWholeTrack, PanningTool}) view->addAction(Action(id));
    view->addSeparator();
    for (int id : {ViewPlotSettings, ViewPlaybackBar, ViewZoomBar, ViewLapBar, ViewMetersBar})
        view->addAction(Action(id));
    connect(view, &QMenu::aboutToShow, this, [this] {
        const bool race = Action(vra::cmd::ToggleRaceReplay)->isChecked();
        Action(vra::cmd::ViewPlotSettings)->setChecked((race ? raceBar_ : viewBar_)->isVisible());
        Action(vra::cmd::ViewPlaybackBar)->setChecked(playbackBar_->isVisible());
        Action(vra::cmd::ViewZoomBar)->setChecked(zoomBar_->isVisible());
        Action(vra::cmd::ViewLapBar)->setChecked(lapBar_->isVisible());
    });

    QMenu* playback = AddMenu(tr("&Playback"));
    for (int id : {Play, Pause, FastForward, FastReverse, Stop, MoveToBeginningOfLap}) playback->addAction(Action(id));
    playback->addSeparator();
    playback->addAction(Action(ToggleRaceReplay));
    // The same command under the name of the mode it turns on.
    QMenu* mode = AddMenu(tr("&Mode"));
    QAction* replayRace = mode->addAction(tr("Replay race"));
    replayRace->setCheckable(true);
    replayRace->setStatusTip(Action(ToggleRaceReplay)->statusTip());
    connect(replayRace, &QAction::triggered, Action(ToggleRaceReplay),
            [this] { Action(vra::cmd::ToggleRaceReplay)->trigger(); });
    connect(mode, &QMenu::aboutToShow, this, [this, replayRace] {
        QAction* command = Action(vra::cmd::ToggleRaceReplay);
        replayRace->setEnabled(command->isEnabled());
        replayRace->setChecked(command->isChecked());
    });
    QMenu* reports = AddMenu(tr("&Reports"));
    for (const auto& entry : ReportMenuEntries()) reports->addAction(Action(entry.first));
    reports->addSeparator();
    reports->addAction(Action(GenerateReportSite));
    reports->addAction(Action(ExportReportsToXml));
    reports->addAction(Action(vra::cmd::ReportSiteListener));
    reports->addAction(Action(vra::cmd::ExportRecords));

    QMenu* tools = AddMenu(tr("&Tools"));
    tools->addAction(Action(GraphWindow));
    tools->addAction(Action(CdDatabaseCreator));
    tools->addAction(Action(GearChangeAnalyzer));
    tools->addAction(Action(TractionCircle));
    tools->addAction(Action(StintAnalyzer));
    tools->addAction(Action(ShowSpeedTrack));
    tools->addAction(Action(TelemetrySettings));
    tools->addAction(Action(SaveTrackmapBmp));
    tools->addAction(Action(PbViewer));
    tools->addAction(Action(vra::cmd::GraphicalRaceReport));
    tools->addAction(Action(RaceHistoryGraph));

    QMenu* help = AddMenu(tr("&Help"));
    help->addAction(Action(ViewReadme));
    help->addAction(Action(AppAbout));
}

void CMainFrame::CreateToolBars() {
    // Each bar takes its buttons in their fixed order; a command the program
    // does not offer yet leaves no gap, and a separator stands only between
    // buttons.
    auto makeBar = [this](const QString& name, const QString& title, std::span<const int> ids) {
        QToolBar* bar = addToolBar(title);
        bar->setObjectName(name);
        bar->setIconSize(QSize(16, 15));
        // Buttons side by side as the framework's bars set them, so that the
        // four bars take as few rows as they can.
        bar->layout()->setSpacing(0);
        bar->layout()->setContentsMargins(0, 0, 0, 0);
        bar->setStyleSheet(QStringLiteral("QToolButton { padding: 0px; margin: 0px; }"));
        bool separatorDue = false;
        for (int id : ids) {
            if (id == vra::kSeparator) {
                separatorDue = !bar->actions().isEmpty();
                continue;
            }
            QAction* action = Action(id);
            if (!action) continue;
            if (separatorDue) bar->addSeparator();
            separatorDue = false;
            DressForToolBar(id, *action);
            bar->addAction(action);
        }
        return bar;
    };
    mainBar_ = makeBar(QStringLiteral("MainBar"), tr("Main"), vra::MainToolBarIds());
    playbackBar_ = makeBar(QStringLiteral("PlaybackBar"), tr("Playback"), vra::PlaybackToolBarIds());
    zoomBar_ = makeBar(QStringLiteral("ZoomBar"), tr("Zoom"), vra::ZoomToolBarIds());
    lapBar_ = makeBar(QStringLiteral("LapBar"), tr("Lap"), vra::LapToolBarIds());
}

void CMainFrame::BreakToolBarRows() {
    // The bars stand side by side as far as the window's first width holds
    // them; a bar that would reach past its edge starts a row below, so that
    // no button falls into a bar's overflow menu.
    int row = 0;
    for (QToolBar* bar : {mainBar_, playbackBar_, zoomBar_, lapBar_}) {
        bar->ensurePolished();
        const int barWidth = bar->sizeHint().width();
        if (row > 0 && row + barWidth > width()) {
            insertToolBarBreak(bar);
            row = 0;
        }
        row += barWidth;
    }
}

void CMainFrame::ApplyCommandStates(const vra::CommandSnapshot& snapshot) {
    for (const auto& [id, action] : actions_) {
        if (!vra::HasCommandRule(id)) continue;
        const vra::CommandState state = vra::CommandStateFor(id, snapshot);
        action->setEnabled(state.enabled);
        if (state.checked && action->isCheckable()) action->setChecked(*state.checked);
    }
}

void CMainFrame::CreateViewBar() {
    viewBar_ = new QDockWidget(tr("Plot settings"), this);
    viewBar_->setObjectName(QStringLiteral("ViewBar"));
    viewBar_->setMinimumSize(kMinBarWidth, kMinBarHeight);
    viewBar_->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                          QDockWidget::DockWidgetFloatable);
    addDockWidget(Qt::LeftDockWidgetArea, viewBar_);
}

void CMainFrame::CreatePlaybackBars() {
    const auto features =
        QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable;
    raceBar_ = new QDockWidget(tr("Race replay"), this);
    raceBar_->setObjectName(QStringLiteral("RaceBar"));
    raceBar_->setFeatures(features);
    addDockWidget(Qt::LeftDockWidgetArea, raceBar_);
    raceBar_->hide();
    metersBar_ = new QDockWidget(tr("Meters"), this);
    metersBar_->setObjectName(QStringLiteral("MetersBar"));
    metersBar_->setFeatures(features);
    addDockWidget(Qt::BottomDockWidgetArea, metersBar_);
    metersBar_->hide();
    // The meters bar's close button turns the bar off for good.
    metersBar_->installEventFilter(this);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == metersBar_ && event->type() == QEvent::Close) {
        Action(vra::cmd::CloseMetersBar)->trigger();
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::SetRaceBarWidget(QWidget* widget) {
    raceBar_->setWidget(widget);
}

void CMainFrame::SetMetersBarWidget(QWidget* widget) {
    // In a narrow window the meters may not all fit: they scroll sideways
    // rather than widen the window.
    auto* scroll = new OneWayScroll(Qt::Horizontal);
    scroll->setWidget(widget);
    metersBar_->setWidget(scroll);
}

void CMainFrame::ShowRaceBar(bool shown) {
    viewBar_->setVisible(!shown);
    raceBar_->setVisible(shown);
}

void CMainFrame::SetViewBarWidget(QWidget* widget) {
    // The lap rows and the read-outs of a playback lengthen the bar: it
    // scrolls rather than heighten the window.
    auto* scroll = new OneWayScroll(Qt::Vertical);
    scroll->setWidget(widget);
    viewBar_->setWidget(scroll);
}

void CMainFrame::SetDocumentTitle(const QString& title) {
    const QString shown = title.isEmpty() ? QStringLiteral("No lap selected") : title;
    setWindowTitle(shown + QStringLiteral(" - ") + ProgramName());
}

void CMainFrame::SetMessageText(const QString& text) {
    ownText_ = text;
    ShowPaneText(text);
}

void CMainFrame::ShowPaneText(const QString& text) {
    showingOwnText_ = true;
    statusBar()->showMessage(text);
    showingOwnText_ = false;
    hintShown_ = false;
}

bool CMainFrame::event(QEvent* event) {
    // A message box or dialog takes the mouse before it leaves the button
    // whose hint the pane shows: the hint would stay when the box closes.
    if (event->type() == QEvent::WindowBlocked && hintShown_) ShowPaneText(ownText_);
    return QMainWindow::event(event);
}

QString CMainFrame::MessageText() const {
    return statusBar()->currentMessage();
}

void CMainFrame::ToggleBar(QWidget* bar) {
    bar->setVisible(!bar->isVisible());
}

void CMainFrame::SizeFromDialogUnits() {
    // The window is as large as the view bar's dialog plus room for the map,
    // measured in the units of the dialog font so that it fits any font size.
    const DialogUnits units(*this);
    resize(units.X(130) + 510, units.Y(282));
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
}

void CMainFrame::AddToRecentFileList(const QString& path) {
    recent_.Add(QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString());
    if (!recent_.WriteList(settings_)) TellSettingsNotSaved();
    RebuildRecentMenu();
}

void CMainFrame::TellSettingsNotSaved() {
    if (settingsFailureTold_) return;
    settingsFailureTold_ = true;
    prompts_.alert(vra::SettingsNotSavedText(settings_.lastWriteError()));
}

void CMainFrame::RebuildRecentMenu() {
    const auto& entries = recent_.Entries();
    for (int n = 0; n < int(vra::RecentFileList::kDefaultSize); ++n) {
        QAction* entry = Action(vra::cmd::FileMruFirst + n);
        if (std::size_t(n) < entries.size()) {
            const QString name = QFile::decodeName(QByteArray::fromStdString(entries[std::size_t(n)]));
            entry->setText(QStringLiteral("&%1 %2").arg(n + 1).arg(LiteralCaption(name)));
            entry->setVisible(true);
        } else {
            entry->setVisible(false);
        }
    }
}

bool CMainFrame::SaveBarState() {
    const QByteArray state = saveState();
    // With the recent files, so that the settings are written once.
    auto changes = recent_.Changes();
    changes.push_back(
        {std::string(kBarStateName), vra::SettingsValue{std::vector<std::uint8_t>(state.begin(), state.end())}});
    const bool saved = settings_.apply(vra::SettingsKey::Program, changes);
    if (!saved) TellSettingsNotSaved();
    return saved;
}

bool CMainFrame::LoadBarState() {
    auto bytes = settings_.readBinary(vra::SettingsKey::Program, kBarStateName);
    if (!bytes || bytes->empty()) return false;
    const bool restored =
        restoreState(QByteArray(reinterpret_cast<const char*>(bytes->data()), qsizetype(bytes->size())));
    // The places come back, not the playback: a program starts with its
    // view bar and without the race and meters bars.
    if (raceBar_->isVisibleTo(this)) viewBar_->show();
    raceBar_->hide();
    metersBar_->hide();
    return restored;
}

QString CMainFrame::ReadmePath() {
    // Beside the program in a build tree, in its documentation folder once
    // installed; the shell reports a readme that is in neither.
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString name = QString::fromLatin1(kReadmeName);
    const QString beside = programDir.filePath(name);
    const QString installed =
        QDir::cleanPath(programDir.filePath(QStringLiteral("../share/doc/velmar-replay-analyzer/") + name));
    return !QFileInfo::exists(beside) && QFileInfo::exists(installed) ? installed : beside;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    SaveBarState();
    QMainWindow::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    if (OpenDroppedFiles(*event->mimeData())) event->acceptProposedAction();
}

bool CMainFrame::OpenDroppedFiles(const QMimeData& data) {
    bool any = false;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) continue;
        any = true;
        emit openLapRequested(url.toLocalFile());
    }
    return any;
}

}  // namespace vra
