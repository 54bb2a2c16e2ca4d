#include "core/chart/ValueFormat.h"

#include <fmt/printf.h>

#include <algorithm>
#include <cmath>
#include <optional>

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

// The one conversion of a value format: where it starts (its '%') and its
// letter, and its flags, width and precision (with its '.') as typed.
struct Conversion {
    std::size_t start = 0, end = 0;
    std::string_view flags, width, precision;
};

// The format's one conversion; none for a format that is not a value format
// (a conversion other than e, f or g, a width or precision of more than three
// digits, a NUL, or not exactly one conversion).
std::optional<Conversion> ParseValueFormat(std::string_view f) {
    std::optional<Conversion> found;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (f[i] == '\0') return std::nullopt;
        if (f[i] != '%') continue;
        const std::size_t start = i++;
        if (i < f.size() && f[i] == '%') continue;
        const std::size_t flags = i;
        while (i < f.size() && (f[i] == '-' || f[i] == '+' || f[i] == ' ' || f[i] == '#' || f[i] == '0')) ++i;
        const std::size_t width = i;
        if (!Digits(f, i)) return std::nullopt;
        const std::size_t precision = i;
        if (i < f.size() && f[i] == '.') {
            ++i;
            if (!Digits(f, i)) return std::nullopt;
        }
        if (i >= f.size() || std::string_view("eEfFgG").find(f[i]) == std::string_view::npos || found)
            return std::nullopt;
        found = Conversion{start, i, f.substr(flags, width - flags), f.substr(width, precision - width),
                           f.substr(precision, i - precision)};
    }
    return found;
}

// fmt's printf keeps one digit after the point in the alternate general
// form where C prints the bare point: "%#.3g" of 500 is "500.", not
// "500.0". Fixed notation is done without the width, the surplus digit
// dropped, then padded as printf pads.
std::string AlternateGeneral(std::string_view f, const Conversion& c, double value) {
    std::string flags;
    bool left = false, zero = false;
    for (char flag : c.flags) {
        if (flag == '-')
            left = true;
        else if (flag == '0')
            zero = true;
        else
            flags += flag;
    }
    std::size_t width = 0;
    for (char digit : c.width) width = width * 10 + static_cast<std::size_t>(digit - '0');
    int precision = 6;
    if (!c.precision.empty()) {
        precision = 0;
        for (char digit : c.precision.substr(1)) precision = precision * 10 + (digit - '0');
    }
    std::string body = fmt::sprintf("%" + flags + std::string(c.precision) + f[c.end], value);
    if (body.find_first_of("eE") == std::string::npos && body.find('.') != std::string::npos) {
        const int wanted = std::max(precision, 1);
        int digits = 0;
        bool counting = value == 0;
        for (char ch : body) {
            if (ch >= '1' && ch <= '9') counting = true;
            if (counting && ch >= '0' && ch <= '9') ++digits;
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
    return fmt::sprintf(std::string(f.substr(0, c.start))) + body + fmt::sprintf(std::string(f.substr(c.end + 1)));
}

}  // namespace

bool IsValueFormat(std::string_view f) {
    return ParseValueFormat(f).has_value();
}

std::string FormatValue(std::string_view format, double value) {
    std::string_view use = format;
    std::optional<Conversion> c = ParseValueFormat(use);
    if (!c) {
        use = kDefaultValueFormat;
        c = ParseValueFormat(use);
    }
    if (c && (use[c->end] == 'g' || use[c->end] == 'G') && c->flags.find('#') != std::string_view::npos)
        return AlternateGeneral(use, *c, value);
    try {
        return fmt::sprintf(std::string(use), value);
    } catch (const fmt::format_error&) {
        return fmt::sprintf(std::string(kDefaultValueFormat), value);
    }
}

}  // namespace vra
