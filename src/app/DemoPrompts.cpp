#include "app/DemoPrompts.h"

#include "core/replay/Drivers.h"

#include <cstdio>
#include <string>

namespace vra {

vra::Button DemoPrompts::message(std::string_view text, std::string_view caption, vra::Icon, vra::Buttons buttons) {
    std::fprintf(stderr, "%.*s: %.*s\n", int(caption.size()), caption.data(), int(text.size()), text.data());
    switch (buttons) {
        case vra::Buttons::YesNo:
        case vra::Buttons::YesNoCancel:
            return vra::Button::Yes;
        case vra::Buttons::RetryCancel:
            return vra::Button::Cancel;
        default:
            return vra::Button::Ok;
    }
}

std::optional<std::filesystem::path> DemoPrompts::openFile(const vra::OpenFileRequest&) {
    return std::nullopt;
}

vra::SettingsDialogResult DemoPrompts::editSettings(const vra::SettingsDialogRequest&) {
    return {};
}

std::optional<std::filesystem::path> DemoPrompts::saveFile(const vra::SaveFileRequest&) {
    return std::nullopt;
}

int DemoPrompts::chooseLoadedLap(const vra::LoadedLapChoiceRequest&) {
    return -1;
}

std::optional<vra::MergeAdvantages> DemoPrompts::mergeParameters(const vra::MergeParametersRequest&) {
    return std::nullopt;
}

std::optional<vra::LapChoice> DemoPrompts::chooseLap(const vra::LapChoiceRequest& request) {
    if (!request.drivers) return std::nullopt;
    auto choice = FastestLap(*request.drivers, taken_);
    if (choice) taken_.insert({choice->driver, choice->session, choice->lap});
    return choice;
}

std::optional<vra::LapChoice> DemoPrompts::FastestLap(const vra::Drivers& drivers,
                                                      const std::set<std::tuple<int, int, int>>& taken) {
    constexpr int kRace = 3;
    std::optional<vra::LapChoice> best;
    std::uint32_t bestMs = 0;
    const bool hasRace = drivers.sessionPresent[kRace] != 0;
    for (int kind = 0; kind < vra::kSessionKinds; ++kind) {
        if (!drivers.sessionPresent[std::size_t(kind)] || (hasRace && kind != kRace)) continue;
        for (int driver = 0; driver < int(drivers.drivers.size()); ++driver) {
            const int count = drivers.LapCount(kind, driver);
            for (int lap = 1; lap <= count; ++lap) {
                if (!drivers.IsLapValid(kind, driver, lap) || taken.count({driver, kind, lap})) continue;
                const std::uint32_t ms = drivers.LapWordAt(kind, driver, lap) & 0x0FFFFFFF;
                if (!best || ms < bestMs) {
                    best = vra::LapChoice{driver, kind, lap};
                    bestMs = ms;
                }
            }
        }
    }
    return best;
}

}  // namespace vra
