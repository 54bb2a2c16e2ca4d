// The analyser's entry: the Qt application, the platform services and an
// ordinary start from the command line.

#include "CRpyGraphApp.h"
#include "frame/CMainFrame.h"

#include "platform/QtDesktop.h"
#include "platform/QtPrompts.h"
#include "platform/QtSettingsStore.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velmar Replay Analyzer"));
    QApplication::setApplicationName(QStringLiteral("Velmar Replay Analyzer"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmar Replay Analyzer"));
    QApplication::setDesktopFileName(QStringLiteral("velmar-replay-analyzer"));

    // A demonstration or a test run keeps its settings apart from the user's.
    const QByteArray settingsDir = qgetenv("VRA_SETTINGS_DIR");
    auto settings = settingsDir.isEmpty() ? std::make_unique<vra::QtSettingsStore>()
                                          : std::make_unique<vra::QtSettingsStore>(QString::fromLocal8Bit(settingsDir));
    vra::QtPrompts prompts;
    vra::QtShell shell;

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);

    CRpyGraphApp analyser({*settings, prompts, shell});
    if (!analyser.InitInstance(args)) return 1;
    prompts.setParentWidget(analyser.Frame());
    return app.exec();
}
