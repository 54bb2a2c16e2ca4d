#pragma once
// The main window: menu, the toolbars in one row at the top, the status bar
// and the view bar docked on the left. The map view sits in the middle. The
// frame keeps the bars' places and sizes and the recent-file list in the
// settings store between runs.

#include "core/settings/RecentFileList.h"

#include <QMainWindow>

#include <map>
#include <utility>
#include <vector>

class QDockWidget;
class QMimeData;
class QMenu;
class QToolBar;

namespace vra {
struct CommandSnapshot;
class Prompts;
class SettingsStore;
class Shell;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kMinBarWidth = 33;
    static constexpr int kMinBarHeight = 32;
    // Where the bars' layout is kept in the program's settings.
    static constexpr const char* kBarStateName = "BarState";
    static constexpr const char* kReadmeName = "Velmar Replay Analyzer.txt";

    CMainFrame(vra::SettingsStore& settings, vra::Shell& shell, vra::Prompts& prompts, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The command's action (see core/commands/CommandIds.h); null for a
    // command the program does not offer.
    QAction* Action(int id) const;
    // Enables and checks every command by the command-state rule.
    void ApplyCommandStates(const vra::CommandSnapshot& snapshot);
    QToolBar* MainToolBar() const { return mainBar_; }
    QToolBar* ZoomToolBar() const { return zoomBar_; }
    QToolBar* LapToolBar() const { return lapBar_; }
    QToolBar* PlaybackToolBar() const { return playbackBar_; }
    QDockWidget* ViewBar() const { return viewBar_; }
    // The race playback bar (in the view bar's place while a race plays)
    // and the meters bar (at the bottom while laps play); hidden at start.
    QDockWidget* RaceBar() const { return raceBar_; }
    QDockWidget* MetersBar() const { return metersBar_; }
    void SetRaceBarWidget(QWidget* widget);
    void SetMetersBarWidget(QWidget* widget);
    // Race mode swaps the view bar for the race bar and back.
    void ShowRaceBar(bool shown);
    QMenu* FileMenu() const { return fileMenu_; }
    QMenu* ViewMenu() const { return viewMenu_; }

    // Puts the bar's contents (the lap boxes) into the docked view bar,
    // where they scroll up and down; the meters scroll sideways in theirs.
    void SetViewBarWidget(QWidget* widget);
    // The window caption shows the document's title before the program's name.
    void SetDocumentTitle(const QString& title);
    // A text of the program's own in the status bar's message pane (a tool's
    // hint); empty leaves the pane empty. Menu prompts and button hints show
    // over it and give it back when they end.
    void SetMessageText(const QString& text);
    QString MessageText() const;

    // The recent-file list (seven entries), newest first.
    void AddToRecentFileList(const QString& path);
    const vra::RecentFileList& RecentFiles() const { return recent_; }

    // Writes the bars' layout and the recent files to the settings store;
    // done on close as well. False when the store refused; on close the
    // document's save right after reports a failing disk to the user.
    bool SaveBarState();
    // Brings back the layout of the last run; false when there was none.
    bool LoadBarState();

    // Opens every local file of a drop as a lap; false when there was none.
    bool OpenDroppedFiles(const QMimeData& data);

    // The readme beside the program, whatever the current folder is.
    static QString ReadmePath();

signals:
    // A replay to add as a lap: a recent-file entry or a dropped file.
    void openLapRequested(const QString& path);
    // A menu is about to show: its entries want their states by the rule.
    void commandStatesNeeded();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* MakeAction(int id, const QString& text, const QString& statusTip = {});
    // The Reports menu: command and text, in the menu's order.
    static std::vector<std::pair<int, QString>> ReportMenuEntries();
    void CreateActions();
    void CreateMenus();
    // A menu of the menu bar that asks for the command states before it shows.
    QMenu* AddMenu(const QString& title);
    void CreateToolBars();
    void BreakToolBarRows();
    void CreateViewBar();
    void CreatePlaybackBars();
    void RebuildRecentMenu();
    // A write of the window's own settings failed: told once per run, since
    // every later failure loses the same changes again.
    void TellSettingsNotSaved();
    void ToggleBar(QWidget* bar);
    void SizeFromDialogUnits();
    void ShowPaneText(const QString& text);

    vra::SettingsStore& settings_;
    vra::Shell& shell_;
    vra::Prompts& prompts_;
    vra::RecentFileList recent_;
    bool settingsFailureTold_ = false;
    std::map<int, QAction*> actions_;
    QMenu* fileMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QToolBar* mainBar_ = nullptr;
    QToolBar* zoomBar_ = nullptr;
    QToolBar* lapBar_ = nullptr;
    QToolBar* playbackBar_ = nullptr;
    QDockWidget* viewBar_ = nullptr;
    QDockWidget* raceBar_ = nullptr;
    QDockWidget* metersBar_ = nullptr;
    // What the pane shows when no hint is up: the idle text until the
    // program writes its own (a tool's hint, or nothing).
    QString ownText_;
    // Set while the frame itself writes the pane.
    bool showingOwnText_ = false;
    // The pane shows a menu prompt or a button's hint.
    bool hintShown_ = false;
};

}  // namespace vra
