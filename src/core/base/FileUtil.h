#pragma once
// File helpers shared by the readers and writers: bounded reads, atomic
// replacement, and case-insensitive lookup of the simulation's files.

#include "core/base/AtomicFile.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vra {

// A binary file opened for reading, closed by the destructor. Reads are
// positioned and exact: a short read is a failure, never partial data.
class BinaryFile {
public:
    BinaryFile() = default;
    explicit BinaryFile(const std::filesystem::path& path);
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;
    BinaryFile(BinaryFile&& other) noexcept;
    BinaryFile& operator=(BinaryFile&& other) noexcept;

    bool isOpen() const { return file_ != nullptr; }
    // Size in bytes, taken when the file was opened; 0 when not open.
    std::uint64_t size() const { return size_; }
    // Reads exactly out.size() bytes at offset; false on any shortfall.
    bool readAt(std::uint64_t offset, std::span<std::uint8_t> out);
    // Reads exactly out.size() bytes at the current position.
    bool read(std::span<std::uint8_t> out);
    bool seek(std::uint64_t offset);
    std::uint64_t tell() const;

private:
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
};

// Reads a whole regular file; nullopt when it cannot be read or is larger
// than maxBytes (the caller's bound on what it is willing to hold).
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path, std::uint64_t maxBytes);

// The entry of dir whose name equals name ignoring ASCII case; an exact match
// wins over a case-insensitive one. nullopt when there is none.
std::optional<std::filesystem::path> FindCaseInsensitive(const std::filesystem::path& dir, std::string_view name);

// Follows the components of relative ("tracks/OVAL/oval.dat") from base one by
// one, each found case-insensitively.
std::optional<std::filesystem::path> ResolveCaseInsensitive(const std::filesystem::path& base,
                                                            std::string_view relative);

// True for a name that stands for one entry inside a folder and nothing
// else: not empty, not "." or "..", no separator and no NUL. Names taken from
// a replay file are checked with it before they become part of a path.
bool IsPlainName(std::string_view name);

bool EqualsIgnoreCase(std::string_view a, std::string_view b);
std::string ToUpperAscii(std::string_view s);

}  // namespace vra
