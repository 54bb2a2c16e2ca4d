#pragma once
// Prompts for an unattended demonstration run without a display: the lap
// chooser takes the fastest race lap not taken yet, messages go to the error
// stream, and the file, settings, loaded-lap and merge dialogs are cancelled.

#include "core/platform/Prompts.h"

#include <set>
#include <tuple>

namespace vra {

class DemoPrompts : public vra::Prompts {
public:
    vra::Button message(std::string_view text, std::string_view caption, vra::Icon icon, vra::Buttons buttons) override;
    std::optional<std::filesystem::path> openFile(const vra::OpenFileRequest& request) override;
    std::optional<vra::LapChoice> chooseLap(const vra::LapChoiceRequest& request) override;
    vra::SettingsDialogResult editSettings(const vra::SettingsDialogRequest& request) override;
    std::optional<std::filesystem::path> saveFile(const vra::SaveFileRequest& request) override;
    int chooseLoadedLap(const vra::LoadedLapChoiceRequest& request) override;
    std::optional<vra::MergeAdvantages> mergeParameters(const vra::MergeParametersRequest& request) override;

    // The fastest complete lap of the race (of any session when the replay
    // holds no race) that is not among taken; nullopt when there is none.
    static std::optional<vra::LapChoice> FastestLap(const vra::Drivers& drivers,
                                                    const std::set<std::tuple<int, int, int>>& taken);

private:
    std::set<std::tuple<int, int, int>> taken_;
};

}  // namespace vra
