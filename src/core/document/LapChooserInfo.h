#pragma once
// The replay information the lap chooser shows beside the driver list.

#include <string>
#include <utility>
#include <vector>

namespace vra {

class Drivers;
class Header;

// (label, text) pairs in the order the chooser shows them.
std::vector<std::pair<std::string, std::string>> LapChooserInfo(const Header& header, const Drivers& drivers);

}  // namespace vra
