#pragma once

#include "core/platform/WaitBox.h"

#include <memory>

class QWidget;

namespace vra {
class PleaseWait;

// The wait box of the core's long operations, shown as a PleaseWait window
// over the given parent. Each Show() builds a fresh window.
class PleaseWaitBox : public vra::WaitBox {
public:
    explicit PleaseWaitBox(QWidget* parent = nullptr);
    ~PleaseWaitBox() override;

    void Show(std::string_view text) override;
    void SetText(std::string_view text) override;
    void SetRange(std::int32_t lower, std::int32_t upper) override;
    void SetPos(std::int32_t position) override;
    void ShowProgress() override;
    void Hide() override;

    // The window while it is shown, else null.
    PleaseWait* Window() const { return window_.get(); }

private:
    QWidget* parent_;
    std::unique_ptr<PleaseWait> window_;
};

}  // namespace vra
