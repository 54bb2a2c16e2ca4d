#pragma once
// The four telemetry keys of the simulation's core.ini: reading them and
// writing them back without disturbing a single other byte of the file.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vra {

inline constexpr std::string_view kRecordTelem = "record_telem";
inline constexpr std::string_view kRecordTelemAtPhysicsRate = "record_telem_at_physics_rate";
inline constexpr std::string_view kRecordTelemSample = "record_telem_sample";
inline constexpr std::string_view kRecordTelemStateA = "record_telem_state_a";

struct CoreIniValues {
    std::int32_t record_telem = 0;
    std::int32_t record_telem_at_physics_rate = 0;
    std::int32_t record_telem_sample = 0;   // bits 0-5: the sample blocks
    std::int32_t record_telem_state_a = 0;  // bits 3, 4: setup and pit stop
    friend bool operator==(const CoreIniValues&, const CoreIniValues&) = default;
};

// Bytes per minute that each record_telem_sample bit 0-5 adds at the normal rate.
inline constexpr std::array<std::int64_t, 6> kSampleBytesPerMinute = {51840, 172800, 146880, 146880, 34560, 51840};

// Where a key's value sits: [begin, end) of the file's bytes.
struct IniField {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// The first line that holds key (after optional blanks or tabs), then blanks
// or tabs and "="; the field runs from after "=" over any blanks or tabs to
// the first ";", TAB, CR, LF or the end. Comments and longer keys that merely contain key never match.
std::optional<IniField> FindIniField(std::string_view text, std::string_view key);
// Leading blanks, a sign, digits; saturates at the int32 limits; no number is 0.
std::int32_t ParseIniInt(std::string_view text);
// The key's value; 0 when the key is missing.
std::int32_t ReadIniInt(std::string_view text, std::string_view key);
// Writes value into the key's field: left-aligned and padded with blanks to
// the field's width, so the file keeps its length; a value longer than the
// field replaces it followed by one blank and the line grows. False, text
// unchanged, when the key is missing.
bool ReplaceIniInt(std::string& text, std::string_view key, std::int32_t value);

CoreIniValues ReadCoreIniValues(std::string_view text);

// Bytes a replay grows per minute: the set sample blocks, x 8 at physics rate.
std::int64_t DataRateBytesPerMinute(const CoreIniValues& values);
// "<n> bytes = <n / 1024> kb/minute"
std::string DataRateText(const CoreIniValues& values);
void SetRecommended(CoreIniValues& values);
void TurnOffEverything(CoreIniValues& values);
// The physics-rate box shows checked for any positive stored value and
// writes 1 or 0.
inline bool PhysicsRateChecked(const CoreIniValues& values) {
    return values.record_telem_at_physics_rate > 0;
}
inline void SetPhysicsRate(CoreIniValues& values, bool on) {
    values.record_telem_at_physics_rate = on ? 1 : 0;
}

class CoreIniEditor {
public:
    enum class Status { Ok, ReadFailed, NotWritable };
    struct WriteResult {
        Status status = Status::Ok;
        std::vector<std::string> missingKeys;  // keys the file lacks, left alone
    };

    // core.ini of the simulation folder, found in any letter case; the plain
    // name when there is none.
    static std::filesystem::path Locate(const std::filesystem::path& simFolder);
    // The values, or nothing when the file cannot be read.
    static std::optional<CoreIniValues> Read(const std::filesystem::path& file);
    // The new file text: record_telem is forced to 1 when any block is on.
    static std::string Rewrite(std::string text, CoreIniValues values, std::vector<std::string>* missingKeys = nullptr);
    // Reads, checks that the file may be written, and replaces it atomically
    // (its permissions kept); on any failure the file stays as it was.
    static WriteResult Write(const std::filesystem::path& file, const CoreIniValues& values);
    // The text shown after OK.
    static std::string Message(const WriteResult& result);
};

}  // namespace vra
