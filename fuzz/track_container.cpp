// A track container (.dat) through the whole load: lookup of the stream
// entry, expansion and decoding of the object stream. The input is written
// as the container of a track folder of this process's own.
#include "core/decode/KtException.h"
#include "core/decode/KtTrackFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

const std::filesystem::path& TracksFolder() {
    static const std::filesystem::path tracks = [] {
        // A file is written for every input: memory-backed storage keeps that cheap.
        std::error_code ec;
        const std::filesystem::path base = !std::getenv("TMPDIR") && std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        const auto dir = base / ("vra-fuzz-track-" + std::to_string(::getpid())) / "tracks";
        std::filesystem::create_directories(dir / "fuzz");
        return dir;
    }();
    // Registered once the path exists, so it runs before the path is destroyed.
    static const bool cleanup = std::atexit([] {
                                    std::error_code ec;
                                    std::filesystem::remove_all(TracksFolder().parent_path(), ec);
                                }) == 0;
    (void)cleanup;
    return tracks;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path file = TracksFolder() / "fuzz" / "fuzz.dat";
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return 0;
    const bool written = size == 0 || std::fwrite(data, 1, size, out) == size;
    std::fclose(out);
    if (!written) return 0;
    try {
        vra::KtTrackFile track(TracksFolder(), "FUZZ");
        track.Parse();
    } catch (const vra::KtException&) {}
    return 0;
}
