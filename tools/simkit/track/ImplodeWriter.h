#pragma once
// Whole imploded streams (binary literal mode) for the container writer,
// the fuzz seeds and the benchmark.

#include <cstdint>
#include <span>
#include <vector>

namespace vra::simkit {

class ImplodeWriter {
public:
    // Every byte as a literal token (9 bits), then the end marker.
    static std::vector<std::uint8_t> Literals(std::span<const std::uint8_t> data, std::uint8_t dictionaryCode = 6);

    // A greedy matcher: at each position the longest match (3 bytes or more)
    // found through a small hash of the last positions, else a literal. Good
    // enough to give a realistic mix of tokens, not a good compressor.
    static std::vector<std::uint8_t> WithCopies(std::span<const std::uint8_t> data, std::uint8_t dictionaryCode = 6);
};

}  // namespace vra::simkit
