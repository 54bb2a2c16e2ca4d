#include "gui/dialogs/CFolderDialog.h"

namespace vra {

CFolderDialog::CFolderDialog(std::string* result, QWidget* parent, const QString& startFolder)
    : QFileDialog(parent, tr("Choose folder"), startFolder), result_(result) {
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly, true);
    setLabelText(QFileDialog::Accept, tr("Select"));
    setAcceptMode(QFileDialog::AcceptOpen);
    // Qt's own dialog, so that "Select" always comes through accept().
    setOption(QFileDialog::DontUseNativeDialog, true);
}

std::string CFolderDialog::WithoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

void CFolderDialog::accept() {
    // The folder shown when "Select" is pressed, whatever is selected in it.
    const QString chosen = directory().absolutePath();
    if (result_) *result_ = WithoutTrailingSeparator(chosen.toStdString());
    QDialog::accept();
}

}  // namespace vra
