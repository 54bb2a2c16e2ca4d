#include "core/chart/ValueFormat.h"

#include <fmt/printf.h>

#include <algorithm>
#include <cmath>

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

// fmt's printf keeps one digit after the point in the alternate general
// form where C prints the bare point: "%#.3g" of 500 is "500.", not
// "500.0". Fixed notation is done without the width, the surplus digit
// dropped, then padded as printf pads.
std::string AlternateGeneral(std::string_view f, std::size_t start, std::size_t end, double value) {
    std::size_t i = start + 1;
    std::string flags;
    bool left = false, zero = false;
    for (; f[i] == '-' || f[i] == '+' || f[i] == ' ' || f[i] == '#' || f[i] == '0'; ++i) {
        if (f[i] == '-')
            left = true;
        else if (f[i] == '0')
            zero = true;
        else
            flags += f[i];
    }
    std::size_t width = 0;
    for (; f[i] >= '0' && f[i] <= '9'; ++i) width = width * 10 + static_cast<std::size_t>(f[i] - '0');
    int precision = 6;
    std::string_view precisionText;
    if (f[i] == '.') {
        const std::size_t p0 = ++i;
        precision = 0;
        for (; f[i] >= '0' && f[i] <= '9'; ++i) precision = precision * 10 + (f[i] - '0');
        precisionText = f.substr(p0 - 1, i - p0 + 1);
    }
    std::string body = fmt::sprintf("%" + flags + std::string(precisionText) + f[end], value);
    if (body.find_first_of("eE") == std::string::npos && body.find('.') != std::string::npos) {
        const int wanted = std::max(precision, 1);
        int digits = 0;
        bool counting = value == 0;
        for (char c : body) {
            if (c >= '1' && c <= '9') counting = true;
            if (counting && c >= '0' && c <= '9') ++digits;
        }
        while (digits > wanted && body.back() == '0') {
            body.pop_back();
            --digits;
        }
    }
    if (body.size() < width) {
        const std::size_t pad = width - body.size();
        if (left) {
            body.append(pad, ' ');
        } else if (zero && std::isfinite(value)) {
            const std::size_t at = !body.empty() && (body[0] == '-' || body[0] == '+' || body[0] == ' ') ? 1 : 0;
            body.insert(at, pad, '0');
        } else {
            body.insert(0, pad, ' ');
        }
    }
    return fmt::sprintf(std::string(f.substr(0, start))) + body + fmt::sprintf(std::string(f.substr(end + 1)));
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
    // The one conversion: where it starts and its letter.
    for (std::size_t i = 0; i < use.size(); ++i) {
        if (use[i] != '%') continue;
        if (i + 1 < use.size() && use[i + 1] == '%') {
            ++i;
            continue;
        }
        const std::size_t end = use.find_first_of("eEfFgG", i);
        if ((use[end] == 'g' || use[end] == 'G') && use.substr(i, end - i).find('#') != std::string_view::npos)
            return AlternateGeneral(use, i, end, value);
        break;
    }
    try {
        return fmt::sprintf(std::string(use), value);
    } catch (const fmt::format_error&) {
        return fmt::sprintf(std::string(kDefaultValueFormat), value);
    }
}

}  // namespace vra
