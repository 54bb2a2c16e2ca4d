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

std::string LapSpeedText(double speed) {
    std::string text = fmt::format("{:.6g}", speed);
    if (text.find_first_of("eE") == std::string::npos) {
        const auto dot = text.find('.');
        if (dot == std::string::npos)
            text += ".000";
        else
            text = (text + "000").substr(0, dot + 4);
    }
    return fmt::format("{:>7}", text);
}

}  // namespace vra
