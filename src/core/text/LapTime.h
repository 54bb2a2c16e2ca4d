#pragma once
// The lap-time text shown in lists, messages and default file names.

#include <cstdint>
#include <string>

namespace vra {

// The time of a lap-time word (its low 28 bits, milliseconds) as minutes,
// "m ", two-digit seconds, ".", three-digit milliseconds and "s":
// 83456 gives "1m 23.456s". The flag bits are ignored.
std::string FormatLapTime(std::uint32_t lapWord);

}  // namespace vra
