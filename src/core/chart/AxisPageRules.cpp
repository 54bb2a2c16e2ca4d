#include "core/chart/AxisPageRules.h"

#include <fmt/format.h>

#include <charconv>
#include <cmath>

namespace vra {

TimeStepShown ShowTimeStep(double stepDays) {
    const double raw = std::trunc(stepDays * 86400.0 + 1.0 / 172800);
    const long long s = std::isfinite(raw) && raw > 0 && raw < 9e18 ? static_cast<long long>(raw) : 0;
    if (s > 86400 && s % 86400 == 0) return {TimeUnit::Days, s / 86400};
    if (s > 3600 && s % 3600 == 0) return {TimeUnit::Hours, s / 3600};
    if (s > 60 && s % 60 == 0) return {TimeUnit::Minutes, s / 60};
    return {TimeUnit::Seconds, s};
}

double TimeStepDays(long long count, TimeUnit unit) {
    static constexpr double kSeconds[] = {1, 60, 3600, 86400};
    return static_cast<double>(count) * kSeconds[static_cast<int>(unit)] / 86400.0;
}

std::string NumberFormatFor(double minimum, double maximum, int decimals) {
    auto tiny = [](double v) { return v != 0 && std::fabs(v) < 0.000001; };
    const bool exponent =
        std::fabs(minimum) > 1000000 || std::fabs(maximum) > 1000000 || tiny(minimum) || tiny(maximum);
    return fmt::format("%5.{}{}", decimals, exponent ? 'e' : 'f');
}

int DecimalsOf(std::string_view format) {
    const auto dot = format.find('.');
    if (dot == std::string_view::npos) return 0;
    int value = 0;
    const char* first = format.data() + dot + 1;
    std::from_chars(first, format.data() + format.size(), value);
    return value;
}

std::string EscapeNewlines(std::string_view format) {
    std::string out;
    for (char c : format) {
        if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string UnescapeNewlines(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

namespace {
std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A number may be typed with its plus sign, which from_chars does not take.
std::string_view Unsigned(std::string_view s) {
    if (s.size() > 1 && s.front() == '+' && s[1] != '-' && s[1] != '+') s.remove_prefix(1);
    return s;
}
}  // namespace

std::optional<std::string> CheckInteger(std::string_view text, long long lo, long long hi, long long& value) {
    const std::string_view t = Unsigned(Trim(text));
    long long v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size() || v < lo || v > hi)
        return fmt::format("Please enter an integer between {} and {}.", lo, hi);
    value = v;
    return std::nullopt;
}

std::optional<std::string> CheckNumber(std::string_view text, double& value) {
    const std::string_view t = Unsigned(Trim(text));
    double v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v))
        return std::string("Please enter a number.");
    value = v;
    return std::nullopt;
}

std::optional<std::string> CheckAxisRange(double minimum, double maximum, double step) {
    if (!std::isfinite(minimum) || !std::isfinite(maximum) || !std::isfinite(step))
        return std::string("Please enter a number.");
    if (minimum > maximum) return std::string("The minimum must not be greater than the maximum.");
    if (step < 0) return std::string("The step width must not be negative.");
    return std::nullopt;
}

}  // namespace vra
