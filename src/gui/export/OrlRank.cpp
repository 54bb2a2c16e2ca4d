#include "gui/export/OrlRank.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vra {

OrlRank::OrlRank(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("OrlRank Handicap"));
    auto* layout = new QVBoxLayout(this);
    text_ = new QLabel(QString::fromUtf8(kText), this);
    text_->setWordWrap(true);
    layout->addWidget(text_);
    auto* close = new QPushButton(tr("Close"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignHCenter);
}

}  // namespace vra
