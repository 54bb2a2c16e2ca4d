#include "gui/replay/MergeParameters.h"

#include "gui/platform/Cp1252.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vra {

MergeParameters::MergeParameters(const MergeParametersRequest& request, Prompts& prompts, QWidget* parent)
    : QDialog(parent), model_(request), prompts_(prompts) {
    setWindowTitle(tr("Merge Parameters"));
    auto* layout = new QVBoxLayout(this);

    auto* options = new QGroupBox(tr("Syncronisation options"), this);
    auto* optionsLayout = new QVBoxLayout(options);
    const std::array<QString, 4> captions = {
        tr("All cars syncronized at start of lap"), tr("All cars syncronized at end of lap"),
        tr("Same difference at start and end"), tr("Manual syncronisation settings")};
    for (std::size_t i = 0; i < sync_.size(); ++i) {
        sync_[i] = new QRadioButton(captions[i], options);
        optionsLayout->addWidget(sync_[i]);
        const auto sync = static_cast<MergeSync>(i);
        connect(sync_[i], &QRadioButton::clicked, this, [this, sync] { ApplySync(sync); });
    }
    layout->addWidget(options);

    auto* laps = new QGroupBox(tr("Laps to merge"), this);
    auto* grid = new QGridLayout(laps);
    grid->addWidget(new QLabel(tr("Name - Laptime"), laps), 0, 0);
    grid->addWidget(new QLabel(tr("Startadvantage"), laps), 0, 1);
    grid->addWidget(new QLabel(tr("Max Advantage"), laps), 0, 2);
    for (int row = 0; row < MergeParametersModel::kRows; ++row) {
        const auto r = static_cast<std::size_t>(row);
        names_[r] = new QLabel(Cp1252ToQString(model_.NameText(row)), laps);
        names_[r]->setTextFormat(Qt::PlainText);
        edits_[r] = new QLineEdit(laps);
        maxima_[r] = new QLabel(Cp1252ToQString(model_.MaxText(row)), laps);
        edits_[r]->installEventFilter(this);
        grid->addWidget(names_[r], row + 1, 0);
        grid->addWidget(edits_[r], row + 1, 1);
        grid->addWidget(maxima_[r], row + 1, 2);
        if (!model_.Used(row)) {
            names_[r]->hide();
            edits_[r]->hide();
            maxima_[r]->hide();
        }
    }
    layout->addWidget(laps);

    auto* okCancel = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(okCancel);
    // A click on OK leaves the focus where it is: OK itself takes it and so
    // checks the edit being left, once per press (see accept()).
    ok_ = okCancel->button(QDialogButtonBox::Ok);
    ok_->setFocusPolicy(Qt::TabFocus);
    connect(okCancel, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(okCancel, &QDialogButtonBox::rejected, this, &QDialog::reject);

    sync_[0]->setChecked(true);
    ApplySync(MergeSync::Start);
}

void MergeParameters::ApplySync(MergeSync sync) {
    model_.SetSync(sync);
    for (int row = 0; row < MergeParametersModel::kRows; ++row) {
        QLineEdit* edit = edits_[static_cast<std::size_t>(row)];
        edit->setText(QString::fromStdString(model_.EditText(row)));
        edit->setEnabled(model_.EditsEnabled());
    }
}

bool MergeParameters::CheckRow(int row) {
    QLineEdit* edit = edits_[static_cast<std::size_t>(row)];
    const bool fits = model_.CheckEdit(row, edit->text().toStdString());
    edit->setText(QString::fromStdString(model_.EditText(row)));
    if (fits) return true;
    telling_ = true;
    prompts_.alert(MergeParametersModel::kTooLargeText);
    edit->setFocus();
    telling_ = false;
    return false;
}

bool MergeParameters::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && !telling_) {
        for (int row = 0; row < MergeParametersModel::kRows; ++row)
            if (watched == edits_[static_cast<std::size_t>(row)] && model_.EditsEnabled() && model_.Used(row)) {
                CheckRow(row);
                break;
            }
    }
    return QDialog::eventFilter(watched, event);
}

void MergeParameters::accept() {
    // OK takes the focus, so that the edit being typed in is checked as it
    // loses it; a refusal gives the focus back to the edit and keeps the
    // dialog open. Every edit is then checked once more, in case the window
    // was not active and no focus change was delivered.
    ok_->setFocus();
    if (focusWidget() != ok_) return;
    if (model_.EditsEnabled())
        for (int row = 0; row < MergeParametersModel::kRows; ++row)
            if (model_.Used(row) && !CheckRow(row)) return;
    QDialog::accept();
}

}  // namespace vra
