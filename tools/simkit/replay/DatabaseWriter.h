#pragma once
// Writes CD databases of replays (*.rdb) from a description, in either record
// version, for tests, fuzz seeds and benchmarks. It knows the layout on its
// own: version 1 records lack the header's driving-aids value and each
// driver's physics byte.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vra::simkit {

struct DbLap {
    std::uint32_t word = 0;  // lap-time word: flags | ms
    std::uint8_t valid = 1;
};

struct DbDriver {
    std::string firstName = "Alex", lastName = "Morgan", nickname, fourthText;
    std::uint8_t type = 0;  // 0 human, 1 AI, 2 non-competing
    std::uint32_t carNumber = 1, carId = 10;
    std::uint8_t physics = 1;  // written only in version 2
    // Lap tables by session kind (0 practice .. 3 race): entry 0 is the first
    // stamp, so a table of n laps has n + 1 entries; the count written is
    // size - 1 (0 for an empty table).
    std::array<std::vector<DbLap>, 4> laps;
};

struct DbRecord {
    std::string path = "replays\\race.rpy";  // relative, "\" separators
    // Header record
    std::uint32_t version = 5, fileSize = 100000, frameCount = 1000;
    std::int32_t gameMode = 0;
    std::int32_t drivingAids = 0;  // written only in version 2
    std::string windDirection = "NE";
    std::string firstName = "Alex", lastName = "Morgan", trackName = "OVAL", secondText;
    // Drivers record
    std::string fileDate = "2026 Feb 03";
    std::optional<std::uint16_t> loadedCount;  // default: the number of drivers
    std::optional<std::uint16_t> driverCount;  // default: the number of drivers
    std::uint32_t savingPlayer = 0;
    std::array<std::uint32_t, 4> sessionPresent{0, 0, 0, 1};  // by kind
    std::vector<DbDriver> drivers{DbDriver{}};
};

struct DbDesc {
    std::string magic = "VELMRRACDDB";
    std::uint8_t version = 2;
    std::string label = "RACES [iso9660]";
    std::uint32_t count = 0xFFFFFFFF;  // 0xFFFFFFFF: the number of records
    std::vector<DbRecord> records;
};

// A record of a replay on track with drivers drivers, each with laps valid
// race laps of lapMs + 250 ms times its index.
DbRecord SimpleDbRecord(const std::string& path, const std::string& track, int drivers, int laps, std::uint32_t lapMs);

std::vector<std::uint8_t> BuildDatabase(const DbDesc& desc);
// Byte offsets of every record in what BuildDatabase writes, and its end.
std::vector<std::size_t> DatabaseRecordOffsets(const DbDesc& desc);
bool WriteDatabase(const std::filesystem::path& path, const DbDesc& desc);

}  // namespace vra::simkit
