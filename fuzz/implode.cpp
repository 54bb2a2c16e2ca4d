// The implode decoder alone, on any bytes, with an output limit as large as
// a container could declare for a stream of this size (capped, so that each
// run stays fast).
#include "core/decode/DclBitReader.h"
#include "core/decode/DclExplode.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t limit = std::min<std::size_t>(189 * size + 1024, std::size_t{1} << 20);
    std::vector<std::uint8_t> out(limit);
    vra::DclBitReader reader({data, size});
    vra::DclExplode explode(reader);
    std::size_t produced = 0;
    const auto result = explode.Explode(out, produced);
    if (produced > limit) std::abort();
    if (result == vra::DclExplode::Result::EndMarker) {
        // Decoding is deterministic and stops exactly at a smaller limit.
        std::vector<std::uint8_t> again(produced / 2);
        vra::DclBitReader reader2({data, size});
        vra::DclExplode explode2(reader2);
        std::size_t produced2 = 0;
        const auto result2 = explode2.Explode(again, produced2);
        if (produced2 != again.size() || !std::equal(again.begin(), again.end(), out.begin())) std::abort();
        if (!again.empty() && result2 != vra::DclExplode::Result::LimitReached) std::abort();
    }
    return 0;
}
