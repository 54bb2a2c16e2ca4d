#pragma once
// The reference the file-reading benchmarks set the project against: a raw
// read of the same bytes, pread()s of 1 MB into one page-aligned buffer,
// starting at the page that holds the first byte, with nothing done to them.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace vra::bench {

inline constexpr std::size_t kRawBlock = 1 << 20;

inline std::uint8_t* RawBuffer() {
    alignas(4096) static std::uint8_t buffer[kRawBlock];
    return buffer;
}

// Reads bytes from..to of the file (to the end when `to` lies beyond it);
// returns how many bytes were read, counted from the page start.
inline std::uint64_t RawRead(const std::filesystem::path& path, std::uint64_t from = 0, std::uint64_t to = UINT64_MAX) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return 0;
    std::uint64_t total = 0;
    for (std::uint64_t at = from & ~std::uint64_t{4095}; at < to;) {
        const ssize_t got =
            ::pread(fd, RawBuffer(), static_cast<std::size_t>(std::min<std::uint64_t>(kRawBlock, to - at)),
                    static_cast<off_t>(at));
        if (got <= 0) break;
        at += static_cast<std::uint64_t>(got);
        total += static_cast<std::uint64_t>(got);
        benchmark::DoNotOptimize(RawBuffer());
    }
    ::close(fd);
    return total;
}

}  // namespace vra::bench
