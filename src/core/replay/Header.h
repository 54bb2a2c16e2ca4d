#pragma once
// The fixed header of a replay and its decoded race settings. Read first for
// every replay (before the driver table); also kept in the CD database of
// replays as a binary record.

#include "core/base/ByteCursor.h"
#include "core/base/ByteWriter.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace vra {

class ReplaySource;

class Header {
public:
    // Results of Read and ReadFile.
    enum Result : int {
        Ok = 0,
        NotOpenedOrWrongVersion = 1,  // file not opened, or a version other than 5
        EmptyOrShort = 2,             // empty file, or it ends inside the leading chunks
        NotAReplay = 3,               // first tag is not "YLPR"
        BadSettingsSize = 4,          // settings body is not 173 bytes
    };

    Header() = default;

    // Reads and decodes the leading chunks of the replay at path.
    int Read(const std::filesystem::path& path);
    // The same through a source already opened on path (a caller that reads
    // the driver table next opens the file once).
    int Read(const std::filesystem::path& path, ReplaySource& src);
    // The same over a replay image in memory (path stays empty).
    int ReadBytes(std::span<const std::uint8_t> bytes);
    // Only reads the raw bytes of the three leading chunks (no decoding, no
    // version or size test).
    int ReadFile(const std::filesystem::path& path);

    // CD-database record. version 1 records lack the driving-aids value.
    void SaveToStream(ByteWriter& out) const;
    bool LoadFromStream(ByteCursor& in, int version);

    // Decoded settings.
    int adaptiveSpeedControl = 0;    // 0/1
    int wearRate = 0;                // 0-3 (shown as value + 1)
    int aiStrengthType = 0;          // 1 "Auto", 0 "Manual"
    int mechanicalFailures = 0;      // 0/1
    std::uint32_t nextChunkPos = 0;  // file offset of the driver table (272 in the current layout)
    int fixedSetup = 0;
    int hardcoreVisual = 0;
    int hardcoreDrivingAids = 0;
    int quickRace = 0;  // 1 when the race-settings byte 199 is 2
    int raceLaps = 0;
    int qualifyingLaps = 0;
    int raceDistance = 0;     // percent; 0 when raceLaps is 0
    int practiceMinutes = 0;  // -1 "No limit", 66 an unknown code
    int happyHourMinutes = 0;
    int aiStrength = 0;  // percent
    int conditions = 0;  // 1 "Cloudy", 0 "Clear"
    int windSpeed = 0;
    int temperature = 0;
    int weatherFlag = 0;  // the byte; 1: weather not realistic
    int gameMode = 0;     // 1 "Arcade", 0 "Simulation"
    int fullPaceLap = 0;
    std::string windDirection;   // "N", "NE", ... "NW"
    int doubleFileRestarts = 0;  // forced to 0 without yellow flags
    int yellowFlags = 0;
    int damage = 0;  // 0 "None", 2 "Moderate", 3 "Realistic"

    bool loadedFromDatabase = false;
    int version = 255;             // low byte of the file word; 255 until a file was read
    std::uint32_t fileSize = 0;    // file size field + 12
    std::uint32_t frameCount = 0;  // frames in the frame chunk, as the header says
    std::string firstName;         // saving player, at most 16 bytes
    std::string lastName;          // at most 16 bytes
    std::string trackName;         // track folder name, upper-cased, at most 32 bytes
    std::string secondText;        // kept and stored, at most 32 bytes
    std::uint16_t aiCars = 0;

    int lastResult = 255;
    std::filesystem::path path;

    // The raw leading chunks, as read.
    std::array<std::uint8_t, 12> fileChunk{};
    std::array<std::uint8_t, 72> headerChunk{};
    std::array<std::uint8_t, 188> settingsChunk{};

    static constexpr std::size_t kNameWidth = 16;
    static constexpr std::size_t kTextWidth = 32;

    // Minutes for a practice or happy-hour length code (low 24 bits of the word).
    static int SessionMinutes(std::uint32_t word);

private:
    int readChunks(ReplaySource& src);
    int decode();
};

}  // namespace vra
