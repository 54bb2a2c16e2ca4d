#pragma once
// What a failed read of a replay is told with, the same wherever one is read.

#include <string_view>

namespace vra {

inline constexpr std::string_view kHeaderReadErrorText = "HeaderClass: Error reading file!";
inline constexpr std::string_view kDriversReadErrorText = "DriversClass: Error reading file!";
// A driver table whose counts are out of bounds.
inline constexpr std::string_view kDriverCountsErrorText =
    "Sorry, but Velmar Replay Analyzer cannot load this file correct.\r\nPlease contact us so that we can analyze why.";

}  // namespace vra
