#pragma once
// How the analyses name a loaded lap in their lists and boxes.

#include <string>

namespace vra {

struct LapSlot;

// The driver's first initial, his last name and the lap's time
// ("F Lastname 1m 23.456s"), Windows-1252 bytes. A driver without a first
// name has no initial and no blank before the last name; a lap of no known
// session has no time.
std::string LapLabel(const LapSlot& slot);

}  // namespace vra
