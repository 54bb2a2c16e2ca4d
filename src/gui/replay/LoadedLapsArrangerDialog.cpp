#include "gui/replay/LoadedLapsArrangerDialog.h"

#include "gui/platform/Cp1252.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vra {

LoadedLapsArrangerDialog::LoadedLapsArrangerDialog(CRpyGraphDoc& doc, QWidget* parent)
    : QDialog(parent), arranger_(doc) {
    setWindowTitle(tr("Move/Remove loaded replay laps"));
    auto* layout = new QVBoxLayout(this);
    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    QStringList headings;
    for (std::string_view h : LoadedLapsArranger::Headings())
        headings << QString::fromLatin1(h.data(), qsizetype(h.size()));
    list_->setHeaderLabels(headings);
    const QFontMetrics fm(list_->header()->font());
    for (int c = 0; c < 5; ++c) {
        const int w = fm.horizontalAdvance(headings[c]);
        list_->setColumnWidth(c, c == 4 ? w * 3 - 5 : w + 15);
    }
    list_->setColumnHidden(5, true);
    layout->addWidget(list_, 1);
    auto* row = new QHBoxLayout;
    remove_ = new QPushButton(tr("Remove"), this);
    up_ = new QPushButton(tr("Move up"), this);
    down_ = new QPushButton(tr("Move down"), this);
    row->addWidget(remove_);
    row->addWidget(up_);
    row->addWidget(down_);
    row->addStretch();
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &LoadedLapsArrangerDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LoadedLapsArrangerDialog::reject);
    connect(remove_, &QPushButton::clicked, this, [this] { Fill(arranger_.OnRemove(Selected())); });
    connect(up_, &QPushButton::clicked, this, [this] { Fill(arranger_.OnMoveUp(Selected())); });
    connect(down_, &QPushButton::clicked, this, [this] { Fill(arranger_.OnMoveDown(Selected())); });
    resize(760, 300);
    Fill(std::nullopt);
}

std::optional<int> LoadedLapsArrangerDialog::Selected() const {
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        if (list_->topLevelItem(i)->isSelected()) return i;
    return std::nullopt;
}

void LoadedLapsArrangerDialog::Fill(std::optional<int> select) {
    list_->clear();
    for (const auto& r : arranger_.Rows()) {
        auto* item = new QTreeWidgetItem(list_);
        for (int c = 0; c < 6; ++c) {
            const std::string& cell = r[std::size_t(c)];
            item->setText(c, c == LoadedLapsArranger::kPathColumn ? FileNameToQString(cell) : Cp1252ToQString(cell));
        }
    }
    if (select && *select >= 0 && *select < list_->topLevelItemCount()) {
        QTreeWidgetItem* item = list_->topLevelItem(*select);
        item->setSelected(true);
        list_->setCurrentItem(item);
        list_->setFocus();
    }
}

void LoadedLapsArrangerDialog::accept() {
    arranger_.OnOK();
    QDialog::accept();
}

}  // namespace vra
