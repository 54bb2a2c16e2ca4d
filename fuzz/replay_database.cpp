// Feeds arbitrary bytes to the CD-database loader as one or two database
// files in one folder: the first two bytes give the length of the first
// image, the rest is the second. Every record read is walked as the lap
// finder walks it.
#include "core/laps/ReplayDatabaseLoader.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

void Put(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
}

// The folder the two files are written to, removed when the run ends: under
// /dev/shm it would hold memory until the next boot.
struct Folder {
    std::filesystem::path path;
    Folder() {
        std::error_code ec;
        const auto base = std::filesystem::exists("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                                  : std::filesystem::temp_directory_path();
        path = base / ("vra-fuzz-rdb-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path, ec);
    }
    ~Folder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Folder scratch;
    const std::filesystem::path& folder = scratch.path;
    std::size_t first = size;
    if (size >= 2) {
        first = std::min<std::size_t>(static_cast<std::size_t>(data[0] | (data[1] << 8)), size - 2);
        data += 2;
        size -= 2;
    }
    Put(folder / "a.rdb", data, first);
    Put(folder / "b.rdb", data + first, size - first);

    vra::ReplayDatabaseLoader loader;
    if (!loader.FindDatabases(folder)) return 0;
    std::size_t rows = 0;
    while (loader.Next()) {
        const vra::Drivers& d = *loader.GetDrivers();
        for (std::size_t i = 0; i < d.drivers.size(); ++i)
            for (int kind = 0; kind < 4; ++kind)
                for (int lap = 0; lap <= d.LapCount(kind, static_cast<int>(i)); ++lap)
                    rows += d.IsLapValid(kind, static_cast<int>(i), lap)
                                ? (d.LapWordAt(kind, static_cast<int>(i), lap) & 1)
                                : 0;
        rows += loader.GetHeader()->trackName.size() + loader.RecordPath().size() + loader.Label().size();
    }
    return rows == 0xFFFFFFFF ? 1 : 0;
}
