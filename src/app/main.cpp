// The analyser's entry: a batch export without any window, or the Qt
// application, the platform services and an ordinary start from the command
// line.
//
// "--demo-snapshot=<png>" runs unattended instead: the replay argument is
// added twice through the ordinary add-lap run (its fastest and second
// fastest race laps), both lines are shown and a picture of the main window
// is written to the file.

#include "app/BatchMode.h"
#include "app/CRpyGraphApp.h"
#include "app/DemoPrompts.h"
#include "core/base/StopCleanup.h"
#include "gui/dialogs/PleaseWaitBox.h"
#include "gui/frame/CMainFrame.h"
#include "gui/map/CRpyGraphView.h"
#include "gui/map/ViewDialog.h"
#include "gui/platform/ImageFile.h"
#include "gui/platform/QtDesktop.h"
#include "gui/platform/QtSettingsStore.h"
#include "gui/replay/ChooselapPrompts.h"
#include "gui/tools/Options.h"
#include "gui/widgets/Artwork.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <memory>

namespace {

using namespace vra;

constexpr std::string_view kSnapshotFlag = "--demo-snapshot=";

// Lets the window lay itself out and paint before it is photographed.
void SettleFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

int RunSnapshot(CRpyGraphApp& analyser, const QString& png) {
    if (!analyser.Arguments().fileToOpen) {
        std::fprintf(stderr, "velmar-replay-analyzer: a replay is needed for the snapshot\n");
        return 2;
    }
    analyser.OpenLap(QFile::decodeName(QByteArray::fromStdString(*analyser.Arguments().fileToOpen)));
    ViewDialog* bar = analyser.ViewBar();
    for (int box = 1; box <= ViewDialog::kLapBoxes; ++box)
        if (bar->IsLapShown(box) && !bar->IsLapTicked(box)) bar->ToggleLap(box);
    CMainFrame* frame = analyser.Frame();
    frame->resize(1280, 800);
    SettleFor(100);
    analyser.View()->OnShowWholeTrack();
    SettleFor(100);
    const QImage picture = frame->grab().toImage();
    std::string why;
    if (!SaveImageFile(picture, png, "PNG", &why)) {
        std::fprintf(stderr, "velmar-replay-analyzer: cannot write %s: %s\n", QFile::encodeName(png).constData(),
                     why.c_str());
        return 1;
    }
    std::printf("%s\n", QFile::encodeName(QFileInfo(png).absoluteFilePath()).constData());
    return 0;
}

}  // namespace

using namespace vra;

// The settings of this run: the user's, or those of the folder a
// demonstration or a test run names.
static std::unique_ptr<vra::QtSettingsStore> OpenSettings() {
    const QByteArray settingsDir = qgetenv("VRA_SETTINGS_DIR");
    return settingsDir.isEmpty() ? std::make_unique<vra::QtSettingsStore>()
                                 : std::make_unique<vra::QtSettingsStore>(QString::fromLocal8Bit(settingsDir));
}

int main(int argc, char* argv[]) {
    // A run stopped while it writes (a server's time limit, Ctrl+C, any
    // signal that ends it) leaves no temporary files or new folders behind.
    InstallStopCleanup();
    // A file-size limit (a job limit on a shared server) fails the write
    // that reaches it, which is told and cleaned up as a full disk is,
    // instead of ending the process without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    // A reader gone from a pipe written to (a closed stderr, race data
    // piped into a program that quits) fails that write instead: the run
    // goes on to its own end and status.
    std::signal(SIGPIPE, SIG_IGN);

    // A batch export is decided before any window system is touched: it runs
    // on a server without a display, and none of its arguments reaches the
    // window's command line (where a value could be opened as a lap).
    {
        const std::vector<std::string> all(argv + std::min(argc, 1), argv + argc);
        if (BatchMode::Handles(all)) {
            int coreArgc = 1;
            // The report site draws its track map: a picture needs the
            // graphical application, which a server runs without a display.
            std::unique_ptr<QCoreApplication> core;
            if (all[0] == "-reportsite") {
                if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
                // stderr carries the run's own messages, which a server reads:
                // the platform's notes about its environment stay out of it.
                qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
                    if (type == QtCriticalMsg || type == QtFatalMsg)
                        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
                });
                core = std::make_unique<QGuiApplication>(coreArgc, argv);
            } else {
                core = std::make_unique<QCoreApplication>(coreArgc, argv);
            }
            QCoreApplication::setOrganizationName(QStringLiteral("Velmar Replay Analyzer"));
            QCoreApplication::setApplicationName(QStringLiteral("Velmar Replay Analyzer"));
            BatchPrompts prompts;
            return BatchMode::Run(all, *OpenSettings(), prompts);
        }
    }

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velmar Replay Analyzer"));
    QApplication::setApplicationName(QStringLiteral("Velmar Replay Analyzer"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmar Replay Analyzer"));
    QApplication::setDesktopFileName(QStringLiteral("velmar-replay-analyzer"));
    // The icon installed with the desktop entry where the desktop provides
    // it, else the program's own.
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("velmar-replay-analyzer"), Artwork::ProgramIcon()));

    // A demonstration or a test run keeps its settings apart from the user's.
    auto settings = OpenSettings();
    vra::QtShell shell;

    std::vector<std::string> args;
    QString snapshot;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.starts_with(kSnapshotFlag))
            snapshot = QFile::decodeName(arg.substr(kSnapshotFlag.size()).c_str());
        else
            args.push_back(arg);
    }

    if (!snapshot.isEmpty()) {
        DemoPrompts prompts;
        CRpyGraphApp analyser({*settings, prompts, shell, nullptr, {}});
        if (!analyser.InitInstance(args, argv[0])) return 1;
        return RunSnapshot(analyser, snapshot);
    }

    PleaseWaitBox waitBox;
    ChooselapPrompts prompts(&waitBox);
    prompts.setSettingsDialog([&prompts](const SettingsDialogRequest& request) {
        return Options::Run(request, prompts, prompts.parentWidget());
    });
    CRpyGraphApp analyser(
        {*settings, prompts, shell, &waitBox, [&](QWidget* frame) { prompts.setParentWidget(frame); }});
    if (!analyser.InitInstance(args, argv[0])) return 1;
    return app.exec();
}
