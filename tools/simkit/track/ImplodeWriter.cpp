#include "simkit/track/ImplodeWriter.h"

#include "simkit/track/DclBitWriter.h"

#include <algorithm>

namespace vra::simkit {

std::vector<std::uint8_t> ImplodeWriter::Literals(std::span<const std::uint8_t> data, std::uint8_t dictionaryCode) {
    DclBitWriter writer(0, dictionaryCode);
    for (std::uint8_t b : data) writer.literal(b);
    return writer.end().bytes();
}

std::vector<std::uint8_t> ImplodeWriter::WithCopies(std::span<const std::uint8_t> data, std::uint8_t dictionaryCode) {
    constexpr std::size_t kMinMatch = 3;
    constexpr std::size_t kMaxMatch = 518;
    constexpr std::size_t kHashSize = 1 << 14;
    constexpr std::size_t kWays = 4;  // candidates remembered per hash
    const std::size_t window = std::size_t{64} << dictionaryCode;

    DclBitWriter writer(0, dictionaryCode);
    std::vector<std::size_t> heads(kHashSize * kWays, SIZE_MAX);
    auto hash = [&](std::size_t i) {
        const std::uint32_t v = data[i] | (data[i + 1] << 8) | (data[i + 2] << 16);
        return ((v * 2654435761u) >> 18) & (kHashSize - 1);
    };
    auto remember = [&](std::size_t i) {
        if (i + kMinMatch > data.size()) return;
        std::size_t* slot = &heads[hash(i) * kWays];
        std::move_backward(slot, slot + kWays - 1, slot + kWays);
        slot[0] = i;
    };

    std::size_t i = 0;
    while (i < data.size()) {
        std::size_t bestLength = 0, bestDistance = 0;
        if (i + kMinMatch <= data.size()) {
            const std::size_t* slot = &heads[hash(i) * kWays];
            const std::size_t maxLength = std::min(kMaxMatch, data.size() - i);
            for (std::size_t w = 0; w < kWays; ++w) {
                const std::size_t candidate = slot[w];
                if (candidate == SIZE_MAX || i - candidate > window) continue;
                std::size_t n = 0;
                while (n < maxLength && data[candidate + n] == data[i + n]) ++n;
                if (n > bestLength) {
                    bestLength = n;
                    bestDistance = i - candidate;
                }
            }
        }
        if (bestLength >= kMinMatch) {
            writer.copy(static_cast<unsigned>(bestLength), static_cast<unsigned>(bestDistance));
            for (std::size_t k = 0; k < bestLength; ++k) remember(i + k);
            i += bestLength;
        } else {
            writer.literal(data[i]);
            remember(i);
            ++i;
        }
    }
    return writer.end().bytes();
}

}  // namespace vra::simkit
