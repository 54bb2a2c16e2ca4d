#pragma once
// The Qt prompts with the lap chooser dialog as their lap chooser.

#include "gui/platform/QtPrompts.h"

namespace vra {
class WaitBox;

class ChooselapPrompts : public vra::QtPrompts {
public:
    explicit ChooselapPrompts(vra::WaitBox* waitBox = nullptr, QWidget* parent = nullptr)
        : QtPrompts(parent), waitBox_(waitBox) {}
    void setWaitBox(vra::WaitBox* waitBox) { waitBox_ = waitBox; }
    std::optional<vra::LapChoice> chooseLap(const vra::LapChoiceRequest& request) override;

private:
    vra::WaitBox* waitBox_;
};

}  // namespace vra
