#include "gui/dialogs/PleaseWait.h"

#include "core/platform/WaitBox.h"
#include "gui/dialogs/CGradientProgressCtrl.h"

#include <QApplication>
#include <QLabel>

namespace vra {

namespace {

constexpr QSize kBox(255, 75);

}  // namespace

PleaseWait::PleaseWait(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(false);
    setFixedSize(kBox);
    text_ = new QLabel(QString::fromLatin1(vra::kPleaseWaitText.data(), qsizetype(vra::kPleaseWaitText.size())), this);
    text_->setAlignment(Qt::AlignCenter);
    // It may name the file being read.
    text_->setTextFormat(Qt::PlainText);
    text_->setGeometry(8, 10, kBox.width() - 16, 20);
    progress_ = new CGradientProgressCtrl(this);
    progress_->setGeometry(12, 40, kBox.width() - 24, 20);
    progress_->Bar() = vra::WaitBoxProgress();
    progress_->hide();
}

void PleaseWait::SetText(const QString& text) {
    text_->setText(text);
}

QString PleaseWait::Text() const {
    return text_->text();
}

void PleaseWait::SetRange(std::int32_t lower, std::int32_t upper) {
    progress_->SetRange32(lower, upper);
}

void PleaseWait::SetPos(std::int32_t position) {
    progress_->SetPos(position);
}

void PleaseWait::ShowProgress() {
    progress_->show();
    PaintNow();
}

void PleaseWait::PaintNow() {
    if (!isVisible()) return;
    repaint();
    // Lets the window system put the new content on screen; input waits.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace vra
