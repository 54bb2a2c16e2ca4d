#include "core/document/SeriesName.h"

#include <array>
#include <string_view>

namespace vra {

std::string SeriesName(int code, int style) {
    struct Series {
        std::string_view abbreviation;
        std::string_view name;
    };
    static constexpr std::array<Series, 5> kSeries = {{
        {"PAC", "Pace Car"},
        {"CUP", "Velmar Cup"},
        {"GNS", "Grand National"},
        {"CTS", "Truck Series"},
        {"PTA", "Trans Am"},
    }};
    if (code < 0 || code >= static_cast<int>(kSeries.size())) return "Unknown!";
    const Series& s = kSeries[static_cast<std::size_t>(code)];
    if (style <= 0) return std::string(s.name);
    if (style == 1) return std::string(s.abbreviation) + " - " + std::string(s.name);
    return std::string(s.abbreviation);
}

}  // namespace vra
