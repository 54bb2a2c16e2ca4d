#pragma once
// The analyser as one object: the platform services, the main window with
// the map view and the view bar, and the ordinary start from a command line.

#include "CommandLine.h"

#include <QObject>
#include <QString>

#include <memory>

class CMainFrame;
class CRpyGraphView;

namespace vra {
class Prompts;
class SettingsStore;
class Shell;
}  // namespace vra

class CRpyGraphApp : public QObject {
    Q_OBJECT
public:
    struct Services {
        vra::SettingsStore& settings;
        vra::Prompts& prompts;
        vra::Shell& shell;
    };

    explicit CRpyGraphApp(Services services);
    ~CRpyGraphApp() override;

    // Builds and shows the main window and acts on the command line (the
    // arguments after the program's name). False when the start failed.
    bool InitInstance(const std::vector<std::string>& args);

    // Adds the replay at path as a lap, asking for the lap in the chooser.
    void OpenLap(const QString& path);

    CMainFrame* Frame() const { return frame_.get(); }
    CRpyGraphView* View() const { return view_; }
    const CommandLine& Arguments() const { return commandLine_; }

private:
    Services services_;
    std::unique_ptr<CMainFrame> frame_;
    CRpyGraphView* view_ = nullptr;
    CommandLine commandLine_;
};
