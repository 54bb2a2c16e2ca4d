#pragma once
// Track containers (<track>.dat): a 10-byte header, a directory of entries
// (tag 5, a spare byte, uncompressed size, stored size, offset of the stored
// bytes, name length L, L name bytes and a NUL), a closing tag 0, then the
// stored bytes of every entry in order. Integers are little-endian.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace vra::simkit {

class DatContainerWriter {
public:
    // An entry stored as it is (both sizes equal).
    DatContainerWriter& stored(std::string name, std::vector<std::uint8_t> data);
    // An entry imploded with literal tokens only, in binary literal mode.
    DatContainerWriter& imploded(std::string name, std::span<const std::uint8_t> data, std::uint8_t dictionaryCode = 6);
    // An entry with the given stored bytes and declared uncompressed size,
    // for hand-made or broken streams.
    DatContainerWriter& raw(std::string name, std::vector<std::uint8_t> storedBytes, std::uint32_t uncompressedSize);
    // Changes the tag of the entry added last (any value but 5 ends the
    // directory for a reader).
    DatContainerWriter& tag(std::uint8_t value);

    std::vector<std::uint8_t> bytes() const;
    bool write(const std::filesystem::path& file) const;

    // Where entry i's directory record begins, and where its stored bytes do.
    std::size_t recordOffset(std::size_t i) const;
    std::size_t dataOffset(std::size_t i) const;

private:
    struct Entry {
        std::string name;
        std::vector<std::uint8_t> stored;
        std::uint32_t uncompressedSize = 0;
        std::uint8_t tag = 5;
    };
    std::size_t directoryEnd() const;  // offset of the closing tag
    std::vector<Entry> entries_;
};

// A loose <track>.ptf: the stream's bytes as they are.
bool WriteLoosePtf(const std::filesystem::path& file, std::span<const std::uint8_t> stream);

}  // namespace vra::simkit
