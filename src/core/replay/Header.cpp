#include "core/replay/Header.h"

#include "core/base/FileUtil.h"
#include "core/replay/ReplayFormat.h"
#include "core/replay/ReplaySource.h"

#include <cstring>
#include <span>

namespace vra {

namespace {

// Byte of the settings chunk at the file offset it has in the current layout.
std::uint8_t SettingsByte(const std::array<std::uint8_t, 188>& s, std::uint32_t fileOffset) {
    return s[fileOffset - kSettingsChunkOffset];
}
std::uint32_t SettingsWord(const std::array<std::uint8_t, 188>& s, std::uint32_t fileOffset) {
    return LoadU32(s.data() + (fileOffset - kSettingsChunkOffset));
}

const char* const kWindDirections[8] = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};

}  // namespace

int Header::SessionMinutes(std::uint32_t word) {
    struct Entry {
        std::uint32_t code;
        int minutes;
    };
    static constexpr Entry kTable[] = {
        {0, 0},         {0x439600, 5},  {0x441600, 10}, {0x446100, 15}, {0x449600, 20}, {0x44BB80, 25}, {0x44E100, 30},
        {0x450340, 35}, {0x451600, 40}, {0x4528C0, 45}, {0x453B80, 50}, {0x454E40, 55}, {0x456100, 60}, {0x4573C0, 65},
        {0x458340, 70}, {0x458CA0, 75}, {0x459600, 80}, {0x459F60, 85}, {0x45A8C0, 90}, {0x4913A8, -1},
    };
    const std::uint32_t code = word & 0xFFFFFF;
    for (const Entry& e : kTable)
        if (e.code == code) return e.minutes;
    return 66;
}

int Header::ReadFile(const std::filesystem::path& p) {
    ReplaySource src(p);
    if (!src.isOpen()) return lastResult = NotOpenedOrWrongVersion;
    return lastResult = readChunks(src);
}

int Header::readChunks(ReplaySource& src) {
    if (src.size() == 0) return EmptyOrShort;
    // With the usual header body the three chunks lie one after the other at
    // the start of the file: one read takes them all (a lap finder reads
    // the header of every replay in a folder).
    std::array<std::uint8_t, kSettingsChunkOffset + kSettingsChunkSize> start;
    const bool haveStart = src.readAt(0, start);
    auto readChunk = [&](std::uint64_t offset, std::span<std::uint8_t> out) {
        if (haveStart && offset + out.size() <= start.size()) {
            std::memcpy(out.data(), start.data() + offset, out.size());
            return true;
        }
        return src.readAt(offset, out);
    };
    if (!readChunk(0, fileChunk)) return EmptyOrShort;
    // Known as soon as the file chunk is in, so that a caller can tell the
    // replays of older simulations apart whatever else fails.
    version = fileChunk[4];
    if (LoadU32(fileChunk.data()) != ChunkTag::File) return NotAReplay;
    if (!readChunk(kHeaderChunkOffset, headerChunk)) return EmptyOrShort;
    const std::uint32_t bodySize = LoadU32(headerChunk.data() + 8);
    if (bodySize < kHeaderBodySize) return EmptyOrShort;
    const std::uint64_t settingsPos = kSettingsChunkOffset + PaddedSize(std::uint64_t{bodySize} - kHeaderBodySize);
    if (!readChunk(settingsPos, settingsChunk)) return EmptyOrShort;
    nextChunkPos = static_cast<std::uint32_t>(settingsPos + kSettingsChunkSize);
    return Ok;
}

int Header::Read(const std::filesystem::path& p) {
    ReplaySource src(p);
    return Read(p, src);
}

int Header::Read(const std::filesystem::path& p, ReplaySource& src) {
    path = p;
    if (!src.isOpen()) return lastResult = NotOpenedOrWrongVersion;
    lastResult = readChunks(src);
    if (lastResult != Ok) return lastResult;
    return lastResult = decode();
}

int Header::ReadBytes(std::span<const std::uint8_t> bytes) {
    path.clear();
    ReplaySource src(bytes);
    lastResult = readChunks(src);
    if (lastResult != Ok) return lastResult;
    return lastResult = decode();
}

int Header::decode() {
    const auto& s = settingsChunk;
    frameCount = LoadU32(headerChunk.data() + (HeaderOffset::FrameCount - kHeaderChunkOffset));
    fileSize = LoadU32(fileChunk.data() + 8) + 12;
    aiCars = SettingsByte(s, 198);
    quickRace = SettingsByte(s, 199) == 2 ? 1 : 0;

    const std::uint8_t rules = SettingsByte(s, 174);
    damage = (rules >> 6) & 3;
    yellowFlags = (rules >> 4) & 1;
    doubleFileRestarts = yellowFlags ? (rules >> 1) & 1 : 0;
    hardcoreVisual = (rules >> 3) & 1;

    const std::uint8_t modes = SettingsByte(s, 175);
    windDirection = kWindDirections[(modes >> 2) & 7];
    fullPaceLap = modes & 1;
    gameMode = (modes >> 1) & 1;
    hardcoreDrivingAids = (modes >> 5) & 1;
    adaptiveSpeedControl = (modes >> 6) & 1;

    const std::uint8_t wear = SettingsByte(s, 176);
    wearRate = wear & 3;
    aiStrengthType = (wear >> 2) & 1;

    // The byte as it stands: only 1 means unrealistic weather, and the
    // database record keeps whatever value the replay holds.
    weatherFlag = SettingsByte(s, 180);
    conditions = (SettingsByte(s, 184) >> 1) & 1;
    temperature = SettingsByte(s, 188);
    windSpeed = SettingsByte(s, 189);
    aiStrength = SettingsByte(s, 191);
    raceDistance = SettingsByte(s, 192);
    fixedSetup = SettingsByte(s, 196) & 1;

    if (quickRace) {
        raceLaps = (SettingsWord(s, 212) >> 8) & 0xFFFF;
        qualifyingLaps = SettingsByte(s, 205);
        practiceMinutes = 0;
        happyHourMinutes = 0;
    } else {
        practiceMinutes = SessionMinutes(SettingsWord(s, 208));
        happyHourMinutes = SessionMinutes(SettingsWord(s, 224));
        qualifyingLaps = (SettingsWord(s, 212) >> 8) & 0xFFFF;
        raceLaps = (SettingsWord(s, 228) >> 8) & 0xFFFF;
    }
    if (raceLaps == 0) raceDistance = 0;
    mechanicalFailures = (rules >> 5) & 1;

    if (version != static_cast<int>(kReplayVersion)) return NotOpenedOrWrongVersion;
    if (LoadU32(s.data() + 8) != kSettingsBodySize) return BadSettingsSize;

    firstName = FixedText(headerChunk.data() + (HeaderOffset::FirstName - kHeaderChunkOffset), kNameWidth);
    lastName = FixedText(headerChunk.data() + (HeaderOffset::LastName - kHeaderChunkOffset), kNameWidth);
    trackName = ToUpperAscii(FixedText(s.data() + 12, kTextWidth));
    secondText = FixedText(s.data() + 44, kTextWidth);
    return Ok;
}

void Header::SaveToStream(ByteWriter& out) const {
    out.u32(static_cast<std::uint32_t>(version));
    out.u32(fileSize);
    out.u32(frameCount);
    for (int v : {fixedSetup, hardcoreVisual, hardcoreDrivingAids, quickRace, raceLaps, qualifyingLaps, raceDistance,
                  practiceMinutes, happyHourMinutes, aiStrength, conditions, windSpeed, temperature, weatherFlag,
                  gameMode, fullPaceLap})
        out.u32(static_cast<std::uint32_t>(v));
    // Three bytes: up to two letters and the terminator, padded with zeros.
    for (std::size_t i = 0; i < 3; ++i) out.u8(i < 2 && i < windDirection.size() ? windDirection[i] : 0);
    out.u32(static_cast<std::uint32_t>(doubleFileRestarts));
    out.u32(static_cast<std::uint32_t>(yellowFlags));
    out.u32(static_cast<std::uint32_t>(damage));
    out.u16(aiCars);
    out.u32(static_cast<std::uint32_t>(mechanicalFailures));
    out.u32(static_cast<std::uint32_t>(adaptiveSpeedControl));
    out.u32(static_cast<std::uint32_t>(aiStrengthType));
    out.u32(static_cast<std::uint32_t>(wearRate));
    out.cstring(firstName, kNameWidth);
    out.cstring(lastName, kNameWidth);
    out.cstring(trackName, kTextWidth);
    out.cstring(secondText, kTextWidth);
}

bool Header::LoadFromStream(ByteCursor& in, int recordVersion) {
    std::uint32_t v = 0, size = 0, frames = 0;
    if (!in.u32(v) || !in.u32(size) || !in.u32(frames)) return false;
    int* const fields[] = {&fixedSetup,     &hardcoreVisual, &hardcoreDrivingAids, &quickRace,        &raceLaps,
                           &qualifyingLaps, &raceDistance,   &practiceMinutes,     &happyHourMinutes, &aiStrength,
                           &conditions,     &windSpeed,      &temperature,         &weatherFlag,      &gameMode,
                           &fullPaceLap};
    for (int* f : fields) {
        if (f == &hardcoreDrivingAids && recordVersion < 2) continue;  // not in version-1 records
        std::uint32_t x = 0;
        if (!in.u32(x)) return false;
        *f = static_cast<int>(x);
    }
    std::uint8_t wind[3] = {};
    if (!in.bytes(wind, 3)) return false;
    std::uint32_t dfr = 0, yellow = 0, dmg = 0, mech = 0, asc = 0, aiType = 0, wear = 0;
    std::uint16_t ai = 0;
    if (!in.u32(dfr) || !in.u32(yellow) || !in.u32(dmg) || !in.u16(ai) || !in.u32(mech) || !in.u32(asc) ||
        !in.u32(aiType) || !in.u32(wear))
        return false;
    std::string first, last, track, second;
    if (!ReadCString(in, kNameWidth, first) || !ReadCString(in, kNameWidth, last) ||
        !ReadCString(in, kTextWidth, track) || !ReadCString(in, kTextWidth, second))
        return false;
    version = static_cast<int>(v);
    fileSize = size;
    frameCount = frames;
    windDirection = FixedText(wind, 2);
    doubleFileRestarts = static_cast<int>(dfr);
    yellowFlags = static_cast<int>(yellow);
    damage = static_cast<int>(dmg);
    aiCars = ai;
    mechanicalFailures = static_cast<int>(mech);
    adaptiveSpeedControl = static_cast<int>(asc);
    aiStrengthType = static_cast<int>(aiType);
    wearRate = static_cast<int>(wear);
    firstName = std::move(first);
    lastName = std::move(last);
    trackName = std::move(track);
    secondText = std::move(second);
    loadedFromDatabase = true;
    return true;
}

}  // namespace vra
