#include "gui/export/PBViewer.h"

#include "gui/platform/Cp1252.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vra {

PBViewer::PBViewer(CRpyGraphDoc& doc, Volumes& volumes, WaitBox& waitBox, QWidget* parent)
    : QDialog(parent), doc_(doc), bests_(doc, volumes, waitBox) {
    setWindowTitle(tr("PB Viewer"));
    bests_.Scan();
    layout_ = new QVBoxLayout(this);
    layout_->addWidget(new QLabel(QString::fromUtf8(PersonalBests::kSourcesLine), this));
    unreadable_ = new QLabel(QString::fromStdString(bests_.UnreadableText()), this);
    unreadable_->setVisible(!bests_.UnreadableText().empty());
    layout_->addWidget(unreadable_);

    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    QStringList headings;
    for (std::string_view h : PersonalBests::kHeadings) headings << QString::fromUtf8(h);
    list_->setHeaderLabels(headings);
    for (const PersonalBest& best : bests_.Rows()) {
        auto* item = new QTreeWidgetItem(list_);
        for (int c = 0; c < PersonalBest::kColumns; ++c) {
            const std::string& text = best.text[std::size_t(c)];
            // The replay column is a file name; the others are replay text.
            item->setText(c, c == PersonalBest::kColumns - 1 ? FileNameToQString(text) : Cp1252ToQString(text));
        }
    }
    for (int c = 0; c < PersonalBest::kColumns; ++c) list_->resizeColumnToContents(c);
    layout_->addWidget(list_, 1);
    resize(720, 400);
}

}  // namespace vra
