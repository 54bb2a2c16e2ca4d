#include "core/chart/ValueFormat.h"

#include <fmt/printf.h>

namespace vra {

namespace {

// Digits of a width or precision; more than three are refused so that a
// typed format cannot ask for a gigabyte of padding.
bool Digits(std::string_view f, std::size_t& i) {
    std::size_t n = 0;
    while (i < f.size() && f[i] >= '0' && f[i] <= '9') {
        ++i;
        if (++n > 3) return false;
    }
    return true;
}

}  // namespace

bool IsValueFormat(std::string_view f) {
    int conversions = 0;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (f[i] == '\0') return false;
        if (f[i] != '%') continue;
        ++i;
        if (i < f.size() && f[i] == '%') continue;
        while (i < f.size() && (f[i] == '-' || f[i] == '+' || f[i] == ' ' || f[i] == '#' || f[i] == '0')) ++i;
        if (!Digits(f, i)) return false;
        if (i < f.size() && f[i] == '.') {
            ++i;
            if (!Digits(f, i)) return false;
        }
        if (i >= f.size()) return false;
        switch (f[i]) {
            case 'e':
            case 'E':
            case 'f':
            case 'F':
            case 'g':
            case 'G':
                ++conversions;
                break;
            default:
                return false;
        }
    }
    return conversions == 1;
}

std::string FormatValue(std::string_view format, double value) {
    const std::string_view use = IsValueFormat(format) ? format : kDefaultValueFormat;
    try {
        return fmt::sprintf(std::string(use), value);
    } catch (const fmt::format_error&) {
        return fmt::sprintf(std::string(kDefaultValueFormat), value);
    }
}

}  // namespace vra
