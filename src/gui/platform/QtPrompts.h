#pragma once
// Prompts shown with Qt dialogs. The lap chooser, the settings dialog, the
// loaded-lap choice and the merge parameters are widgets of their own: until
// a subclass supplies them, they answer as if cancelled.

#include "core/platform/Prompts.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

namespace vra {

class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}

    // The window the dialogs belong to (normally the main window).
    void setParentWidget(QWidget* parent) { parent_ = parent; }
    QWidget* parentWidget() const { return parent_; }

    Button message(std::string_view text, std::string_view caption, Icon icon, Buttons buttons) override;
    Button messageText(const ShownText& text, std::string_view caption, Icon icon, Buttons buttons) override;
    std::optional<std::filesystem::path> openFile(const OpenFileRequest& request) override;
    std::optional<LapChoice> chooseLap(const LapChoiceRequest& request) override;
    SettingsDialogResult editSettings(const SettingsDialogRequest& request) override;
    std::optional<std::filesystem::path> saveFile(const SaveFileRequest& request) override;
    int chooseLoadedLap(const LoadedLapChoiceRequest& request) override;
    std::optional<MergeAdvantages> mergeParameters(const MergeParametersRequest& request) override;

    // The settings dialog lives above this layer: the application hands it
    // in. Without one, editSettings answers as if cancelled.
    using SettingsDialog = std::function<SettingsDialogResult(const SettingsDialogRequest&)>;
    void setSettingsDialog(SettingsDialog dialog) { settingsDialog_ = std::move(dialog); }

    // The Qt name filter of a request's filters ("label (pattern)" joined by
    // ";;"); patterns match regardless of case, as on the simulation's home
    // file system, and "*.*" matches every file.
    static QString nameFilters(const std::vector<FileFilter>& filters);
    // Message text for Qt: Windows-1252 decoded, "\r\n" as one line break.
    static QString displayText(std::string_view text);
    // The same for a text that names files: each name as the system spells it.
    static QString displayText(const ShownText& text);

private:
    Button messageBox(const QString& text, std::string_view caption, Icon icon, Buttons buttons);

    QPointer<QWidget> parent_;
    SettingsDialog settingsDialog_;
};

}  // namespace vra
