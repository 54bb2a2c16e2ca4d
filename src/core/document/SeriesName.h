#pragma once

#include <string>

namespace vra {

// The name of a series (physics) code: style 0 the name ("Velmar Cup"),
// style 1 abbreviation and name ("CUP - Velmar Cup"), style 2 or more the
// abbreviation alone. Codes outside 0-4 are "Unknown!" in every style.
std::string SeriesName(int code, int style);

}  // namespace vra
