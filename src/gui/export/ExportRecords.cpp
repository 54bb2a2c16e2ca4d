#include "gui/export/ExportRecords.h"

#include "core/export/RecordsPage.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace vra {

ExportRecords::ExportRecords(CRpyGraphDoc& doc, Volumes& volumes, WaitBox& waitBox, Prompts& prompts, Shell& shell,
                             QWidget* parent)
    : PBViewer(doc, volumes, waitBox, parent) {
    setWindowTitle(tr("Export Records"));
    auto* buttons = new QDialogButtonBox(this);
    export_ = buttons->addButton(tr("Export"), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);
    connect(export_, &QPushButton::clicked, this,
            [this, &prompts, &shell] { ExportRecordsPage(doc_, bests_, prompts, shell); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout_->addWidget(buttons);
}

}  // namespace vra
