// Rich text on any bytes: the runs never hold more than the text bound, no
// run is empty and neighbouring runs differ in style.
#include "core/reports/RtfRuns.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto runs = vra::RtfRuns(std::string_view(reinterpret_cast<const char*>(data), size));
    std::size_t total = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (runs[i].text.empty()) std::abort();
        total += runs[i].text.size();
        if (i > 0 && runs[i].bold == runs[i - 1].bold && runs[i].italic == runs[i - 1].italic &&
            runs[i].underline == runs[i - 1].underline)
            std::abort();
    }
    if (total > vra::kRtfMaxText || total > size) std::abort();
    return 0;
}
