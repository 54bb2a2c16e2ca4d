#include "core/text/LapTime.h"

#include <fmt/format.h>

namespace vra {

std::string FormatLapTime(std::uint32_t lapWord) {
    const std::uint32_t t = lapWord & 0x0FFFFFFFu;
    const std::uint32_t minutes = t / 60000;
    const std::uint32_t seconds = t / 1000 - 60 * minutes;
    const std::uint32_t millis = t - 1000 * (60 * minutes + seconds);
    return fmt::format("{}m {:02}.{:03}s", minutes, seconds, millis);
}

}  // namespace vra
