#pragma once
// The dialog that makes the CD database of a replay disc: an information
// text, the list of removable and optical volumes, "Create Database!" (only
// with a readable disc), "Rescan Drives", a progress bar and "Close".

#include "core/laps/ReplayCDDatabaseCreator.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace vra {

class Prompts;
class Volumes;

class ReplayCDDatabaseCreatorDialog : public QDialog {
    Q_OBJECT
public:
    ReplayCDDatabaseCreatorDialog(const std::string& simFolder, Volumes& volumes, Prompts& prompts,
                                  QWidget* parent = nullptr);

    // How the database name is asked; by default the name dialog runs.
    using NameAsker = std::function<std::optional<std::string>(const std::string& proposal)>;
    void SetNameAsker(NameAsker asker) { askName_ = std::move(asker); }

    QPlainTextEdit* Information() const { return info_; }
    QComboBox* Drives() const { return drives_; }
    QPushButton* CreateButton() const { return create_; }
    QPushButton* RescanButton() const { return rescan_; }
    QProgressBar* Progress() const { return progress_; }
    // The progress range the last creation set (the bar is reset afterwards).
    std::pair<int, int> LastRange() const { return lastRange_; }

    void OnRescanDrives();
    void OnCreateDatabase();

private:
    ReplayCDDatabaseCreator creator_;
    NameAsker askName_;
    QPlainTextEdit* info_;
    QComboBox* drives_;
    QPushButton* create_;
    QPushButton* rescan_;
    QProgressBar* progress_;
    std::pair<int, int> lastRange_{0, 0};
};

}  // namespace vra
