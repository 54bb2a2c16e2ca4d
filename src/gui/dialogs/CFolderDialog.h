#pragma once
// Picking a folder with the system's file dialog: folders only, the title
// "Choose folder" and the accept button "Select". The result has no
// trailing separator (the root stays "/").

#include <QFileDialog>

#include <string>

namespace vra {

class CFolderDialog : public QFileDialog {
    Q_OBJECT
public:
    // result receives the chosen folder on OK; it must outlive the dialog.
    explicit CFolderDialog(std::string* result, QWidget* parent = nullptr, const QString& startFolder = {});

    void accept() override;

    // A folder path without its trailing separators, "/" kept.
    static std::string WithoutTrailingSeparator(std::string path);

private:
    std::string* result_;
};

}  // namespace vra
