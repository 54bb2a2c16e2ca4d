#include "simkit/replay/DatabaseWriter.h"

#include <cstring>
#include <fstream>

namespace vra::simkit {

namespace {

class Out {
public:
    void u8(std::uint32_t v) { b.push_back(static_cast<std::uint8_t>(v)); }
    void u16(std::uint32_t v) {
        u8(v & 0xFF);
        u8((v >> 8) & 0xFF);
    }
    void u32(std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void text(const std::string& s) {
        b.insert(b.end(), s.begin(), s.end());
        b.push_back(0);
    }
    std::vector<std::uint8_t> b;
};

void WriteRecord(Out& o, const DbRecord& r, int version) {
    o.text(r.path);
    o.u32(r.version);
    o.u32(r.fileSize);
    o.u32(r.frameCount);
    // fixed setup, hardcore visual, driving aids (version 2), quick race,
    // race laps, qualifying laps, race distance, practice minutes, happy
    // hour minutes, AI strength, conditions, wind speed, temperature,
    // weather flag, game mode, full pace lap
    const std::uint32_t values[16] = {0,  1, static_cast<std::uint32_t>(r.drivingAids), 0, 10, 2, 100, 30, 30, 95, 0, 5,
                                      22, 0, static_cast<std::uint32_t>(r.gameMode),    1};
    for (int i = 0; i < 16; ++i) {
        if (i == 2 && version < 2) continue;
        o.u32(values[i]);
    }
    for (std::size_t i = 0; i < 3; ++i) o.u8(i < r.windDirection.size() && i < 2 ? r.windDirection[i] : 0);
    o.u32(0);  // double-file restarts
    o.u32(1);  // yellow flags
    o.u32(3);  // damage
    o.u16(0);  // AI cars
    o.u32(1);  // mechanical failures
    o.u32(0);  // adaptive speed control
    o.u32(1);  // AI strength type
    o.u32(2);  // wear rate
    o.text(r.firstName);
    o.text(r.lastName);
    o.text(r.trackName);
    o.text(r.secondText);

    const auto n = static_cast<std::uint32_t>(r.drivers.size());
    o.text(r.fileDate);
    o.u32(0);  // saving-player mismatch
    o.u16(r.loadedCount.value_or(static_cast<std::uint16_t>(n)));
    o.u16(r.driverCount.value_or(static_cast<std::uint16_t>(n)));
    o.u32(r.sessionPresent[1]);
    o.u32(r.sessionPresent[3]);
    o.u32(0);
    o.u32(r.savingPlayer);
    o.u32(r.sessionPresent[0]);
    o.u32(r.sessionPresent[2]);
    o.u32(0);  // first session kind
    o.u32(3);  // last session kind
    o.u32(0);  // online
    o.u32(0);  // quick race
    o.u8(0);   // older layout
    for (const DbDriver& d : r.drivers) {
        o.text(d.firstName);
        o.text(d.lastName);
        o.text(d.nickname);
        o.text(d.fourthText);
        o.u8(d.type);
        o.u32(0);
        o.u32(d.carNumber);
        o.u32(d.carId);
        for (int kind : {1, 3, 0, 2})
            o.u32(d.laps[static_cast<std::size_t>(kind)].empty()
                      ? 0
                      : static_cast<std::uint32_t>(d.laps[static_cast<std::size_t>(kind)].size() - 1));
        for (int i = 0; i < 5; ++i) o.u8(0);
        o.u16(0);
        if (version >= 2) o.u8(d.physics);
        for (int kind : {0, 2, 1, 3}) {
            if (!r.sessionPresent[static_cast<std::size_t>(kind)]) continue;
            const auto& laps = d.laps[static_cast<std::size_t>(kind)];
            // An empty table still holds its first stamp.
            if (laps.empty()) {
                o.u32(0);
                o.u8(0);
            }
            for (const DbLap& l : laps) {
                o.u32(l.word);
                o.u8(l.valid);
            }
        }
    }
}

std::size_t HeaderSize(const DbDesc& desc) {
    return desc.magic.size() + 1 + 1 + desc.label.size() + 1 + 4;
}

}  // namespace

DbRecord SimpleDbRecord(const std::string& path, const std::string& track, int drivers, int laps, std::uint32_t lapMs) {
    DbRecord r;
    r.path = path;
    r.trackName = track;
    r.drivers.clear();
    for (int i = 0; i < drivers; ++i) {
        DbDriver d;
        if (i > 0) {
            d.firstName = "Driver" + std::to_string(i);
            d.lastName = "Racer" + std::to_string(i);
            d.type = 1;
        }
        d.carNumber = static_cast<std::uint32_t>(1 + i);
        d.carId = static_cast<std::uint32_t>(10 + i);
        auto& race = d.laps[3];
        race.push_back({5000, 0});
        for (int l = 0; l < laps; ++l) race.push_back({lapMs + 250u * static_cast<std::uint32_t>(i), 1});
        r.drivers.push_back(std::move(d));
    }
    return r;
}

std::vector<std::uint8_t> BuildDatabase(const DbDesc& desc) {
    Out o;
    o.text(desc.magic);
    o.u8(desc.version);
    o.text(desc.label);
    o.u32(desc.count == 0xFFFFFFFF ? static_cast<std::uint32_t>(desc.records.size()) : desc.count);
    for (const DbRecord& r : desc.records) WriteRecord(o, r, desc.version);
    return o.b;
}

std::vector<std::size_t> DatabaseRecordOffsets(const DbDesc& desc) {
    std::vector<std::size_t> offsets{HeaderSize(desc)};
    for (const DbRecord& r : desc.records) {
        Out o;
        WriteRecord(o, r, desc.version);
        offsets.push_back(offsets.back() + o.b.size());
    }
    return offsets;
}

bool WriteDatabase(const std::filesystem::path& path, const DbDesc& desc) {
    const auto bytes = BuildDatabase(desc);
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

}  // namespace vra::simkit
