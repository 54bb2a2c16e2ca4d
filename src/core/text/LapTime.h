#pragma once
// The lap-time text shown in lists, messages and default file names.

#include <cstdint>
#include <string>

namespace vra {

// The time of a lap-time word (its low 28 bits, milliseconds) as minutes,
// "m ", two-digit seconds, ".", three-digit milliseconds and "s":
// 83456 gives "1m 23.456s". The flag bits are ignored.
std::string FormatLapTime(std::uint32_t lapWord);

// A lap's average speed as the lap lists show it: six significant digits,
// then exactly three decimals, right-aligned in seven characters
// (150 gives "150.000", 107.8412 gives "107.841").
std::string LapSpeedText(double speed);

}  // namespace vra
