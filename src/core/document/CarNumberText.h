#pragma once

#include <cstdint>
#include <string>

namespace vra {

// The number painted on a car. The simulation adds 2000 or 3000 to a number
// to mark one- and two-digit numbers with leading zeros, so 2005 is "05" and
// 3007 is "007"; a negative number keeps its last two characters.
std::string CarNumberText(std::int16_t number);

}  // namespace vra
