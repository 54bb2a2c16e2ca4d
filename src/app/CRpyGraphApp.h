#pragma once
// The analyser as one object: the platform services, the document, the main
// window with the map view and the view bar, and the ordinary start from a
// command line. It is also the document's observer: it passes the
// document's news on to the windows.

#include "app/CommandLine.h"
#include "core/document/DocumentObserver.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace vra {
class CMainFrame;
class CRpyGraphView;
class ReportSiteListener;
class PleaseWaitBox;
class ViewDialog;
class AppSettings;
class CRpyGraphDoc;
class Prompts;
class SettingsStore;
class Shell;
class WaitBox;
struct CommandSnapshot;

class CRpyGraphApp : public QObject, public vra::DocumentObserver {
    Q_OBJECT
public:
    struct Services {
        vra::SettingsStore& settings;
        vra::Prompts& prompts;
        vra::Shell& shell;
        // Null: a please-wait window over the main window.
        vra::WaitBox* waitBox = nullptr;
        // Told the main window as soon as it exists, before any dialog runs.
        std::function<void(QWidget*)> frameReady;
    };

    explicit CRpyGraphApp(Services services);
    ~CRpyGraphApp() override;

    // Builds and shows the main window and acts on the command line (the
    // arguments after the program's name). False when the start failed.
    bool InitInstance(const std::vector<std::string>& args, const std::string& executablePath = {});

    // Adds the replay at path as a lap, asking for the lap in the chooser.
    void OpenLap(const QString& path);

    CMainFrame* Frame() const { return frame_.get(); }
    CRpyGraphView* View() const { return view_; }
    ViewDialog* ViewBar() const { return viewBar_; }
    vra::CRpyGraphDoc* Document() const { return doc_.get(); }
    const CommandLine& Arguments() const { return commandLine_; }
    // What the command-state rule reads, taken from the document, the view
    // and the view bar.
    vra::CommandSnapshot CommandStates() const;

    // DocumentObserver
    void TitleChanged(std::string_view title) override;
    void PathNameChanged(const std::filesystem::path& path, bool addToRecent) override;
    void ViewsChanged() override;
    void LapControlsChanged() override;
    void LapsClearing() override;

    // Applies the command-state rule to every command of the main window.
    void UpdateCommandStates();
    // The report command of a report kind (1 to 18): its replay, then its window.
    void RunReport(int kind);
    // A race graphic of a loaded lap's or a chosen replay with race information.
    template <typename Graph>
    void RunRaceGraph();

private:
    void ConnectCommands();
    // Runs an add-lap command; a first lap gets the view's initial update.
    void AddLap(const std::function<void()>& add);

    Services services_;
    std::unique_ptr<vra::AppSettings> settings_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<PleaseWaitBox> ownWaitBox_;
    std::unique_ptr<vra::CRpyGraphDoc> doc_;
    CRpyGraphView* view_ = nullptr;
    ViewDialog* viewBar_ = nullptr;
    CommandLine commandLine_;
    // The report-site listener while one exists; it keeps the idle
    // commands off from its opening until it is closed.
    std::unique_ptr<ReportSiteListener> listener_;
    bool listenerOpen_ = false;
};

}  // namespace vra
