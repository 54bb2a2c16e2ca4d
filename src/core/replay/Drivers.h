#pragma once
// The driver table of a replay, the lap tables of its sessions, the session
// windows found in the frame stream and where the frame chunk lies. Read
// after the Header of the same replay; also kept in the CD database.

#include "core/base/ByteCursor.h"
#include "core/base/ByteWriter.h"
#include "core/replay/ReplayFormat.h"
#include "core/replay/SessionFrameIndex.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace vra {

class ReplaySource;

class Drivers {
public:
    // Results of Load.
    enum class LoadResult : int { Ok = 0, Unreadable = 3 };
    // Failures of ParseReplay; a success is the driver count (>= 0), so the
    // failures are all negative and can never be taken for a count.
    enum class ParseError : int {
        NotOpened = -1,
        ShortFile = -2,       // seek failure, a read past the end, a chunk past the file end
        TooManyDrivers = -3,  // 50 or more drivers; Message() tells the user what to do
        UnknownRecord = -4,   // a frame record of a type no walker knows
        StreamEnded = -5,     // the frame stream ends inside a walk
        Corrupt = -6,         // inconsistent sizes of lap chunks, frames or records
        NoSavingPlayer = -7,  // the saving player's index and names match no driver
    };

    // The lap table of one driver in one session.
    struct SessionLaps {
        int count = 0;  // number of laps (lap-end stamps), at most 512
        // Entry 0 is the first stamp (absolute start); entry k the lap-time word
        // of lap k (flags | duration in ms). Entries above count hold a fill.
        std::array<std::uint32_t, kLapTableSize> times;
        // 1 when the lap counts (complete and inside the session window).
        std::array<std::uint8_t, kLapTableSize> valid;
        SessionLaps() {
            // Thousands of tables are made in a scan of many replays: the fill
            // repeats one byte, so it is set with the byte fill's wide stores.
            static_assert(kLapTableFill == (kLapTableFill & 0xFFu) * 0x01010101u);
            std::memset(times.data(), static_cast<int>(kLapTableFill & 0xFFu), sizeof(times));
            valid.fill(0);
        }
    };

    struct Driver {
        std::string firstName, lastName;      // at most 16 bytes each
        std::string nickname;                 // online name; "Pace Car" for the pace car
        std::string fourthText;               // kept and stored
        int type = DriverNonCompeting;        // DriverHuman, DriverAi, DriverNonCompeting
        std::uint16_t carNumber = 0;          // 65535 is the pace car
        std::uint16_t carId = 0;              // low 16 bits of the car id
        std::uint32_t fileCarId = 0;          // the car id as the file holds it
        std::uint8_t physics = 0;             // series code
        std::array<std::uint8_t, 5> bytes{};  // driver bytes 1-5, kept and stored
        std::uint16_t word6 = 0;
        std::array<SessionLaps, kSessionKinds> sessions;  // by session kind
    };

    Drivers() = default;

    // Reads the replay at path: Ok on success, Unreadable when it cannot be read.
    LoadResult Load(const std::filesystem::path& path);
    // The same through a source already opened on path; a sequential one
    // reads the file fastest.
    LoadResult Load(const std::filesystem::path& path, ReplaySource& src);
    // The same over a replay image in memory (no file date, empty path).
    LoadResult LoadBytes(std::span<const std::uint8_t> bytes);
    // The driver count on success, a ParseError's (negative) value otherwise.
    int ParseReplay(const std::filesystem::path& path);
    // The race was held to its end and its result is official.
    bool IsRaceOfficial() const;

    // CD-database record; version 1 records lack the physics byte.
    void SaveToStream(ByteWriter& out) const;
    bool LoadFromStream(ByteCursor& in, int version);

    // Text for the user after a TooManyDrivers failure (empty otherwise).
    const std::string& Message() const { return message; }

    // Lap table helpers; false/0 for any index out of range.
    int LapCount(int kind, int driver) const;
    std::uint32_t LapWordAt(int kind, int driver, int lap) const;
    bool IsLapValid(int kind, int driver, int lap) const;
    // Session time (ms) at which lap began and ended: the sums of the lap
    // table's times up to the lap. Only meaningful for 1 <= lap <= LapCount.
    std::uint64_t LapStartMs(int kind, int driver, int lap) const;
    std::uint64_t LapEndMs(int kind, int driver, int lap) const;

    std::vector<Driver> drivers;  // sized by the validated driver count
    std::array<int, kSessionKinds> sessionPresent{};
    std::array<std::uint32_t, kSessionKinds> windowStart{};  // ms
    std::array<std::uint32_t, kSessionKinds> windowEnd{};    // ms; kWindowOpen = open
    int firstSessionKind = 0;
    int lastSessionKind = 0;
    std::uint32_t lastSessionState = 0;

    std::uint16_t driverCount = 0;
    std::uint16_t loadedCount = 65535;  // 65535 after a failed load
    int savingPlayer = 0;               // driver index, corrected by name
    bool savingPlayerMismatch = false;  // the stored index did not match the names
    bool olderLayout = false;           // header body not 60 bytes: no lap counts
    int quickRace = 0;
    int onlineRace = 0;

    std::uint64_t frameChunkOffset = 0;
    std::uint32_t frameBytes = 0;  // size of the frame chunk's body
    std::uint64_t lastFrameOffset = 0;
    std::uint32_t raceStartWord = 0;
    bool raceStartSeen = false;

    std::string fileDate;  // "%Y %b %d" with English month names
    std::filesystem::path path;
    std::string trackName;  // as in the file, at most 32 bytes
    std::uint16_t lastFrameSize = 0;
    int physics = 0;  // driver 0's series: the replay's physics
    bool loadedFromDatabase = false;
    std::uint32_t reservedZero = 0;

    std::string message;

    // Where the session records of the frame stream lie, for the extraction
    // of laps; made by Load, empty after LoadFromStream.
    SessionFrameIndex frameIndex;

    // First name of driver 0 in replays written by this program.
    static constexpr const char* kOwnReplayMark = "VELMRRA";

private:
    int parse(ReplaySource& src);
    int parseLapChunk(ReplaySource& src, std::uint64_t pos, int remaining, std::uint32_t lastKindField);
    int forwardWalk(ReplaySource& src, std::uint64_t frameEnd);
    int backwardWalk(ReplaySource& src, std::uint64_t frameEnd, std::uint32_t headerFrameBytes);
    int sweep(ReplaySource& src, std::uint64_t frameEnd, bool& settled);
    int finishBackwardWalk();
    LoadResult finishLoad(int parsed);
};

// Formats a file time as "%Y %b %d" with English month abbreviations,
// whatever the locale.
std::string FormatFileDate(const std::filesystem::path& path);

}  // namespace vra
