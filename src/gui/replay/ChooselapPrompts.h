#pragma once
// The Qt prompts with the lap dialogs: the lap chooser, the loaded-lap choice
// and the merge parameters.

#include "gui/platform/QtPrompts.h"

namespace vra {
class WaitBox;

class ChooselapPrompts : public vra::QtPrompts {
public:
    explicit ChooselapPrompts(vra::WaitBox* waitBox = nullptr, QWidget* parent = nullptr)
        : QtPrompts(parent), waitBox_(waitBox) {}
    void setWaitBox(vra::WaitBox* waitBox) { waitBox_ = waitBox; }
    std::optional<vra::LapChoice> chooseLap(const vra::LapChoiceRequest& request) override;
    int chooseLoadedLap(const vra::LoadedLapChoiceRequest& request) override;
    std::optional<vra::MergeAdvantages> mergeParameters(const vra::MergeParametersRequest& request) override;

private:
    vra::WaitBox* waitBox_;
};

}  // namespace vra
