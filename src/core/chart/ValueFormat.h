#pragma once
// Numbers shown on a chart go through a format the user may type. Only a
// format with exactly one conversion of a double, %[flags][width][.prec] and
// one of e E f F g G (plus literal text and %%), is used; anything else falls
// back to the default so that no typed text can read arguments that are not
// there.

#include <string>
#include <string_view>

namespace vra {

inline constexpr std::string_view kDefaultValueFormat = "%5.1f";

bool IsValueFormat(std::string_view format);
std::string FormatValue(std::string_view format, double value);

}  // namespace vra
