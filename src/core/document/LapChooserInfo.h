#pragma once
// The replay information the lap chooser shows beside the driver list.

#include "core/platform/Prompts.h"

#include <vector>

namespace vra {

class Drivers;
class Header;

// The replay's settings in the chooser's groups: "Replay information",
// "Weather", "Weekend info", "AI settings" and "Misc information".
std::vector<LapChoiceRequest::InfoGroup> LapChooserInfo(const Header& header, const Drivers& drivers);

}  // namespace vra
