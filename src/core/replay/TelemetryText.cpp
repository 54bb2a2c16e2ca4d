#include "core/replay/TelemetryText.h"

#include "core/replay/GetRpyInfo.h"
#include "core/replay/UnitConversions.h"

#include <fmt/format.h>

#include <cstring>
#include <iterator>
#include <string>

namespace vra {

namespace {

float BlockFloat(const std::uint8_t* block, std::size_t offset) {
    float v;
    std::memcpy(&v, block + offset, sizeof v);
    return v;
}

template <class T>
T At(const std::vector<T>& v, int i) {
    return static_cast<std::size_t>(i) < v.size() ? v[static_cast<std::size_t>(i)] : T{};
}

void Real(std::string& line, double v) {
    fmt::format_to(std::back_inserter(line), ", {:.6f}", v);
}

}  // namespace

bool WriteTelemetryText(const GetRpyInfo& info, std::uint32_t lapWord, OutputSink& out) {
    const int n = info.sampleCount;
    std::string text = fmt::format("{}, {}\r\n", n - 1, lapWord & 0x0FFFFFFFu);

    // Only the saving player's lap holds blocks, and only of the types met;
    // another car's lap has none, whatever its frames held for the player.
    auto has = [&](int type) {
        const int bit = type - 100;
        return info.fullData && (info.blockTypes & (1u << bit)) != 0 &&
               info.blocks[static_cast<std::size_t>(bit)].size() >=
                   (static_cast<std::size_t>(n) + 1) * kEngineBlockSize[bit];
    };
    text += "Longitude, Latitude, Gear, Rpm, Yaw, Roll, Pitch, Speed, Long Acc, Lat Acc";
    if (has(101)) text += ", SteeringShaftTorque";
    if (has(102)) text += ", ShockLF, ShockRF, ShockLR, ShockRR, CamberLF, CamberRF, CamberLR, CamberRR";
    if (has(103)) text += ", tempLF, tempRF, tempLR, tempRR, pressureLF, pressureRF, pressureLR, pressureRR";
    if (has(104)) text += ", EnginePower, EngineTorque";
    if (has(105)) text += ", Throttle, Brake, Clutch";
    text += "\r\n";

    for (int i = 1; i <= n - 1; ++i) {
        text += fmt::format("{:.6f}, {:.6f}, {}, {:.6f}, {}, {}, {}, {:.6f}", At(info.distanceM, i),
                            At(info.lateralM, i), At(info.gear, i), At(info.revolutions, i), At(info.heading, i),
                            At(info.roll, i), At(info.pitch, i), At(info.speed, i));
        Real(text, At(info.accelCarLong, i));
        Real(text, At(info.accelCarLat, i));
        if (has(101)) Real(text, BlockFloat(info.Block(1, i), 72));
        if (has(102)) {
            const std::uint8_t* b = info.Block(2, i);
            for (int w = 0; w < 4; ++w) Real(text, BlockFloat(b, 16 * w + 4) * 39.372);
            for (int w = 0; w < 4; ++w) Real(text, RadiansToDegrees(BlockFloat(b, 16 * w + 8)));
        }
        if (has(103)) {
            const std::uint8_t* b = info.Block(3, i);
            for (int w = 0; w < 4; ++w) Real(text, CelsiusToFahrenheit(BlockFloat(b, 16 * w + 4)));
            for (int w = 0; w < 4; ++w) Real(text, BlockFloat(b, 16 * w + 12) * 0.1450377);
        }
        if (has(104)) {
            const std::uint8_t* b = info.Block(4, i);
            Real(text, WattsToHorsepower(BlockFloat(b, 4)));
            Real(text, BlockFloat(b, 8));
        }
        if (has(105)) {
            const std::uint8_t* b = info.Block(5, i);
            for (int k = 0; k < 3; ++k) Real(text, BlockFloat(b, 4 * k));
        }
        text += "\r\n";
        // A long lap goes out in pieces rather than as one large string.
        if (text.size() > (1u << 16)) {
            if (!out.write(text)) return false;
            text.clear();
        }
    }
    return out.write(text);
}

}  // namespace vra
