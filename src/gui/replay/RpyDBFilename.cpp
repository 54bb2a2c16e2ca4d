#include "gui/replay/RpyDBFilename.h"

#include "gui/platform/Cp1252.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vra {

RpyDBFilename::RpyDBFilename(const std::string& proposal, QWidget* parent) : QDialog(parent), name_(proposal) {
    setWindowTitle(tr("Enter database filename"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Enter database filename"), this));
    // The name proposed is a disc label and the one typed names a file.
    edit_ = new QLineEdit(FileNameToQString(name_), this);
    layout->addWidget(edit_);
    layout->addWidget(new QLabel(tr("(the name will also be your reference to which CD replays are stored on)"), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &RpyDBFilename::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &RpyDBFilename::reject);
}

void RpyDBFilename::accept() {
    name_ = QStringToFileName(edit_->text());
    QDialog::accept();
}

}  // namespace vra
