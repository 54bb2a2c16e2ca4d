#include "core/settings/CoreIniEditor.h"

#include "core/base/AtomicFile.h"
#include "core/base/FileUtil.h"

#include <fmt/format.h>

#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace vra {

namespace {

// core.ini is a few kilobytes; anything this large is not one.
constexpr std::uint64_t kMaxCoreIniBytes = 16u << 20;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::optional<IniField> FindIniField(std::string_view text, std::string_view key) {
    std::size_t line = 0;
    while (line < text.size()) {
        std::size_t lineEnd = text.find('\n', line);
        if (lineEnd == std::string_view::npos) lineEnd = text.size();
        std::size_t at = line;
        while (at < lineEnd && IsBlank(text[at])) ++at;
        if (!key.empty() && text.substr(at, key.size()) == key && at + key.size() <= lineEnd) {
            at += key.size();
            while (at < lineEnd && IsBlank(text[at])) ++at;
            if (at < lineEnd && text[at] == '=') {
                const std::size_t begin = at + 1;
                // Blanks or tabs before the value belong to the field; the
                // value ends at the first terminator after them.
                std::size_t valueStart = begin;
                while (valueStart < lineEnd && IsBlank(text[valueStart])) ++valueStart;
                std::size_t end = text.find_first_of(std::string_view(";\t\r\n", 4), valueStart);
                if (end == std::string_view::npos) end = text.size();
                return IniField{begin, end};
            }
        }
        line = lineEnd + 1;
    }
    return std::nullopt;
}

std::int32_t ParseIniInt(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > limit) value = limit;  // saturated: more digits change nothing
    }
    if (negative) return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(std::min<std::int64_t>(value, std::numeric_limits<std::int32_t>::max()));
}

std::int32_t ReadIniInt(std::string_view text, std::string_view key) {
    const auto field = FindIniField(text, key);
    return field ? ParseIniInt(text.substr(field->begin, field->end - field->begin)) : 0;
}

bool ReplaceIniInt(std::string& text, std::string_view key, std::int32_t value) {
    const auto field = FindIniField(text, key);
    if (!field) return false;
    const std::string digits = fmt::format("{}", value);
    const std::size_t width = field->end - field->begin;
    std::string replacement = digits;
    if (digits.size() <= width) {
        replacement.append(width - digits.size(), ' ');
    } else {
        replacement += ' ';
    }
    text.replace(field->begin, width, replacement);
    return true;
}

CoreIniValues ReadCoreIniValues(std::string_view text) {
    CoreIniValues v;
    v.record_telem = ReadIniInt(text, kRecordTelem);
    v.record_telem_at_physics_rate = ReadIniInt(text, kRecordTelemAtPhysicsRate);
    v.record_telem_sample = ReadIniInt(text, kRecordTelemSample);
    v.record_telem_state_a = ReadIniInt(text, kRecordTelemStateA);
    return v;
}

std::int64_t DataRateBytesPerMinute(const CoreIniValues& values) {
    std::int64_t sum = 0;
    for (std::size_t bit = 0; bit < kSampleBytesPerMinute.size(); ++bit)
        if (values.record_telem_sample & (1 << bit)) sum += kSampleBytesPerMinute[bit];
    return (values.record_telem_at_physics_rate > 0 ? 8 : 1) * sum;
}

std::string DataRateText(const CoreIniValues& values) {
    const std::int64_t n = DataRateBytesPerMinute(values);
    return fmt::format("{} bytes = {} kb/minute", n, n >> 10);
}

void SetRecommended(CoreIniValues& values) {
    values.record_telem = 1;
    values.record_telem_at_physics_rate = 0;
    values.record_telem_state_a |= 0x1F;
    values.record_telem_sample = 28;
}

void TurnOffEverything(CoreIniValues& values) {
    values = CoreIniValues{};
}

std::filesystem::path CoreIniEditor::Locate(const std::filesystem::path& simFolder) {
    if (auto found = FindCaseInsensitive(simFolder, "core.ini")) return *found;
    return simFolder / "core.ini";
}

std::optional<CoreIniValues> CoreIniEditor::Read(const std::filesystem::path& file) {
    const auto bytes = ReadWholeFile(file, kMaxCoreIniBytes);
    if (!bytes) return std::nullopt;
    return ReadCoreIniValues(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

std::string CoreIniEditor::Rewrite(std::string text, CoreIniValues values, std::vector<std::string>* missingKeys) {
    if (values.record_telem_sample != 0 || values.record_telem_state_a != 0) values.record_telem = 1;
    const std::pair<std::string_view, std::int32_t> fields[] = {
        {kRecordTelem, values.record_telem},
        {kRecordTelemAtPhysicsRate, values.record_telem_at_physics_rate},
        {kRecordTelemSample, values.record_telem_sample},
        {kRecordTelemStateA, values.record_telem_state_a},
    };
    for (const auto& [key, value] : fields)
        if (!ReplaceIniInt(text, key, value) && missingKeys) missingKeys->emplace_back(key);
    return text;
}

CoreIniEditor::WriteResult CoreIniEditor::Write(const std::filesystem::path& file, const CoreIniValues& values) {
    WriteResult result;
    const auto bytes = ReadWholeFile(file, kMaxCoreIniBytes);
    if (!bytes) {
        result.status = Status::ReadFailed;
        return result;
    }
    // A read-only file is the user's choice: leave it alone and say so,
    // rather than replacing it through its folder. A file nobody may write is
    // read-only for the administrator too, who may write anything.
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 || (st.st_mode & 0222) == 0 || ::access(file.c_str(), W_OK) != 0) {
        result.status = Status::NotWritable;
        return result;
    }
    const std::string text = Rewrite(std::string(bytes->begin(), bytes->end()), values, &result.missingKeys);
    if (!WriteFileAtomic(file, text)) result.status = Status::NotWritable;
    return result;
}

std::string CoreIniEditor::Message(const WriteResult& result) {
    switch (result.status) {
        case Status::ReadFailed:
            return "Error reading from core.ini";
        case Status::NotWritable:
            return "Could not open core.ini for write.\r\nMake sure it isn't set to read-only";
        case Status::Ok:
            break;
    }
    std::string text = "Replay telemetry settings updated successfully.";
    for (const auto& key : result.missingKeys) text += fmt::format("\r\ncore.ini contains no {}; not changed", key);
    return text;
}

}  // namespace vra
