#pragma once
// Writes race-line files ("raceline.lp"): a 16-byte header with the record
// count at byte 4, then 24-byte records, each a float32 lateral offset and 20
// bytes the reader does not use (filled with non-zero values here).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace vra::simkit {

class TrackLayout;

class RaceLineWriter {
public:
    // One record per offset, record i at 3.0 * i metres along the track.
    RaceLineWriter& offsets(std::vector<float> values);
    // The count written in the header (default: the number of offsets).
    RaceLineWriter& declaredCount(std::uint32_t count);
    // Cuts the written bytes to this length (a file that ends early).
    RaceLineWriter& truncatedTo(std::size_t bytes);

    // The layout's driving line, one record for every 3 m inside the track.
    static RaceLineWriter ForLayout(const TrackLayout& layout);

    std::vector<std::uint8_t> bytes() const;
    bool write(const std::filesystem::path& file) const;

private:
    std::vector<float> offsets_;
    std::optional<std::uint32_t> declared_;
    std::optional<std::size_t> truncated_;
};

}  // namespace vra::simkit
