#pragma once
// The Axis page's conversions between what an axis holds and what the page
// shows, and the checks of what the user typed.

#include <optional>
#include <string>
#include <string_view>

namespace vra {

enum class TimeUnit { Seconds = 0, Minutes = 1, Hours = 2, Days = 3 };

struct TimeStepShown {
    TimeUnit unit = TimeUnit::Seconds;
    long long count = 0;
};

// A step in days as the largest unit that divides it and is exceeded by it.
TimeStepShown ShowTimeStep(double stepDays);
double TimeStepDays(long long count, TimeUnit unit);

// The number format for a range: an exponent format for large or tiny
// bounds, else fixed-point, each with the given decimals.
std::string NumberFormatFor(double minimum, double maximum, int decimals);
// The decimals of a format: the integer after its first '.', 0 without one.
int DecimalsOf(std::string_view format);

// A newline in a time format is typed and shown as backslash-n.
std::string EscapeNewlines(std::string_view format);
std::string UnescapeNewlines(std::string_view text);

// Range checks of typed numbers: the message to show, nothing when fine.
std::optional<std::string> CheckInteger(std::string_view text, long long lo, long long hi, long long& value);
std::optional<std::string> CheckNumber(std::string_view text, double& value);
// What the axis would refuse as a range and step, said before it does.
std::optional<std::string> CheckAxisRange(double minimum, double maximum, double step);

}  // namespace vra
