#include "core/text/LapTime.h"

#include <fmt/format.h>

namespace vra {

std::string FormatLapTime(std::uint32_t lapWord) {
    const std::uint32_t t = lapWord & 0x0FFFFFFFu;
    const std::uint32_t minutes = t / 60000;
    const std::uint32_t seconds = t / 1000 - 60 * minutes;
    const std::uint32_t millis = t - 1000 * (60 * minutes + seconds);
    // Written by hand: the lap finder makes one of these for every lap of a
    // collection, and a format call costs more than the rest of its row.
    char text[16];
    char* end = text + sizeof text;
    char* at = end;
    *--at = 's';
    for (std::uint32_t v = millis, i = 0; i < 3; ++i, v /= 10) *--at = static_cast<char>('0' + v % 10);
    *--at = '.';
    *--at = static_cast<char>('0' + seconds % 10);
    *--at = static_cast<char>('0' + seconds / 10);
    *--at = ' ';
    *--at = 'm';
    std::uint32_t v = minutes;
    do {
        *--at = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    return std::string(at, end);
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
