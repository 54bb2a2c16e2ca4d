#include "gui/dialogs/PleaseWaitBox.h"

#include "gui/dialogs/PleaseWait.h"

namespace vra {

namespace {

// The program's texts are single-byte; the wait texts are plain ASCII.
QString ToQt(std::string_view text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

}  // namespace

PleaseWaitBox::PleaseWaitBox(QWidget* parent) : parent_(parent) {}

PleaseWaitBox::~PleaseWaitBox() = default;

void PleaseWaitBox::Show(std::string_view text) {
    window_ = std::make_unique<PleaseWait>(parent_);
    window_->SetText(ToQt(text));
    window_->show();
    window_->PaintNow();
}

void PleaseWaitBox::SetText(std::string_view text) {
    if (!window_) return;
    window_->SetText(ToQt(text));
    window_->PaintNow();
}

void PleaseWaitBox::SetRange(std::int32_t lower, std::int32_t upper) {
    if (window_) window_->SetRange(lower, upper);
}

void PleaseWaitBox::SetPos(std::int32_t position) {
    if (!window_) return;
    window_->SetPos(position);
    window_->PaintNow();
}

void PleaseWaitBox::ShowProgress() {
    if (window_) window_->ShowProgress();
}

void PleaseWaitBox::Hide() {
    if (!window_) return;
    window_->hide();
    window_.reset();
}

}  // namespace vra
