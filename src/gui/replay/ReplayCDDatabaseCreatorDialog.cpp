#include "gui/replay/ReplayCDDatabaseCreatorDialog.h"

#include "gui/platform/Cp1252.h"
#include "gui/replay/RpyDBFilename.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vra {

ReplayCDDatabaseCreatorDialog::ReplayCDDatabaseCreatorDialog(const std::string& simFolder, Volumes& volumes,
                                                             Prompts& prompts, QWidget* parent)
    : QDialog(parent), creator_(std::filesystem::path(simFolder), volumes, prompts) {
    setWindowTitle(tr("Replay CD Database Creator"));
    auto* layout = new QVBoxLayout(this);
    info_ = new QPlainTextEdit(this);
    info_->setReadOnly(true);
    // The text's lines end in CR LF; the edit shows plain line breaks.
    QString text = Cp1252ToQString(ReplayCDDatabaseCreator::InformationText());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    info_->setPlainText(text);
    layout->addWidget(info_);
    drives_ = new QComboBox(this);
    layout->addWidget(drives_);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    layout->addWidget(progress_);
    auto* row = new QHBoxLayout;
    create_ = new QPushButton(tr("Create Database!"), this);
    create_->setEnabled(false);
    rescan_ = new QPushButton(tr("Rescan Drives"), this);
    auto* close = new QPushButton(tr("Close"), this);
    row->addWidget(create_);
    row->addWidget(rescan_);
    row->addStretch();
    row->addWidget(close);
    layout->addLayout(row);
    connect(create_, &QPushButton::clicked, this, &ReplayCDDatabaseCreatorDialog::OnCreateDatabase);
    connect(rescan_, &QPushButton::clicked, this, &ReplayCDDatabaseCreatorDialog::OnRescanDrives);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    askName_ = [this](const std::string& proposal) -> std::optional<std::string> {
        RpyDBFilename dlg(proposal, this);
        if (dlg.exec() != QDialog::Accepted) return std::nullopt;
        return dlg.Name();
    };
    OnRescanDrives();
}

void ReplayCDDatabaseCreatorDialog::OnRescanDrives() {
    creator_.ScanDrives();
    drives_->clear();
    for (const std::string& t : creator_.EntryTexts()) drives_->addItem(FileNameToQString(t));
    create_->setEnabled(creator_.CreateEnabled());
    drives_->setCurrentIndex(0);
    update();
}

void ReplayCDDatabaseCreatorDialog::OnCreateDatabase() {
    ReplayCDDatabaseCreator::Hooks hooks;
    hooks.askName = askName_;
    hooks.progressRange = [this](int lo, int hi) {
        lastRange_ = {lo, hi};
        progress_->setRange(lo, hi);
    };
    hooks.progressPos = [this](int pos) {
        progress_->setValue(pos);
        progress_->repaint();
    };
    hooks.waitCursor = [](bool on) {
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    creator_.OnCreateDatabase(drives_->currentIndex(), hooks);
}

}  // namespace vra
