#pragma once

#include "core/platform/WaitBox.h"

#include <memory>

class QWidget;

namespace vra {
class PleaseWait;

// The wait box of the core's long operations, shown as a PleaseWait window
// over the given parent. Each show() builds a fresh window.
class PleaseWaitBox : public vra::WaitBox {
public:
    explicit PleaseWaitBox(QWidget* parent = nullptr);
    ~PleaseWaitBox() override;

    void show(std::string_view text) override;
    void setText(std::string_view text) override;
    void setRange(std::int32_t lower, std::int32_t upper) override;
    void setPos(std::int32_t position) override;
    void showProgress() override;
    void hide() override;

    // The window while it is shown, else null.
    PleaseWait* Window() const { return window_.get(); }

private:
    QWidget* parent_;
    std::unique_ptr<PleaseWait> window_;
};

}  // namespace vra
