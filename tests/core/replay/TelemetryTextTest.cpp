#include "core/replay/TelemetryText.h"

#include "core/replay/GetRpyInfo.h"
#include "core/replay/UnitConversions.h"

#include "ReplayFiles.h"
#include "WriterTestUtil.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>

namespace vra {
namespace {

using ::testing::ElementsAre;

constexpr const char* kBase = "Longitude, Latitude, Gear, Rpm, Yaw, Roll, Pitch, Speed, Long Acc, Lat Acc";

void PutFloat(std::vector<std::uint8_t>& block, std::size_t at, float v) {
    std::memcpy(&block[at], &v, sizeof v);
}

// A lap of three samples with the given engine blocks; every block value
// of sample i is what the test puts there.
GetRpyInfo HandMadeLap(std::uint32_t blockTypes) {
    GetRpyInfo lap;
    lap.sampleCount = 3;
    lap.fullData = blockTypes != 0;
    lap.blockTypes = blockTypes;
    lap.distanceM = {0, 12.5, 13.25, 14.0};
    lap.lateralM = {0, -1.5, 0.125, 2};
    lap.gear = {0, 3, 4, -1};
    lap.revolutions = {0, 7000.5, 7100, 7200};
    lap.heading = {0, -2048, 5, 2047};
    lap.roll = {0, -3, 0, 511};
    lap.pitch = {0, 7, -512, 1};
    lap.speed = {0, 181.25, 182, 183};
    lap.accelCarLong = {0, 0.5, -1.25, 0};
    lap.accelCarLat = {0, 2, 0.001, -0.0000004};
    for (int b = 0; b < kEngineBlockCount; ++b)
        if (blockTypes & (1u << b)) lap.blocks[b].assign(4 * kEngineBlockSize[b], 0);
    return lap;
}

std::string Text(const GetRpyInfo& lap, std::uint32_t lapWord = 0x20000000 | 83456) {
    MemorySink out;
    EXPECT_TRUE(WriteTelemetryText(lap, lapWord, out));
    return std::string(out.bytes().begin(), out.bytes().end());
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t p = 0;
    while (p < text.size()) {
        const std::size_t e = text.find("\r\n", p);
        if (e == std::string::npos) {
            lines.push_back(text.substr(p) + "<no line end>");
            break;
        }
        lines.push_back(text.substr(p, e - p));
        p = e + 2;
    }
    return lines;
}

TEST(TelemetryText, CountLineHeadingAndBaseColumnsWithCrLf) {
    const std::string text = Text(HandMadeLap(0));
    // No bare line feed anywhere.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            EXPECT_EQ(text.at(i - 1), '\r') << i;
        }
    }
    EXPECT_THAT(Lines(text),
                ElementsAre("2, 83456", kBase,
                            "12.500000, -1.500000, 3, 7000.500000, -2048, -3, 7, 181.250000, 0.500000, 2.000000",
                            "13.250000, 0.125000, 4, 7100.000000, 5, 0, -512, 182.000000, -1.250000, 0.001000"));
}

TEST(TelemetryText, BlockColumnsFollowTheBlocksTheLapHolds) {
    const std::string b101 = ", SteeringShaftTorque";
    const std::string b102 = ", ShockLF, ShockRF, ShockLR, ShockRR, CamberLF, CamberRF, CamberLR, CamberRR";
    const std::string b103 = ", tempLF, tempRF, tempLR, tempRR, pressureLF, pressureRF, pressureLR, pressureRR";
    const std::string b104 = ", EnginePower, EngineTorque";
    const std::string b105 = ", Throttle, Brake, Clutch";
    EXPECT_EQ(Lines(Text(HandMadeLap((1 << 2) | (1 << 5))))[1], kBase + b102 + b105);
    EXPECT_EQ(Lines(Text(HandMadeLap(0x3F)))[1], kBase + b101 + b102 + b103 + b104 + b105);
    // A block type met but without its array (another car's lap) gives no
    // columns.
    GetRpyInfo other = HandMadeLap(0);
    other.blockTypes = 0x3F;
    EXPECT_EQ(Lines(Text(other))[1], kBase);
}

TEST(TelemetryText, BlockValuesInTheUsersUnits) {
    GetRpyInfo lap = HandMadeLap(0x3E);
    auto& b101 = lap.blocks[1];
    auto& b102 = lap.blocks[2];
    auto& b103 = lap.blocks[3];
    auto& b104 = lap.blocks[4];
    auto& b105 = lap.blocks[5];
    const std::size_t s = 1;  // sample 1
    PutFloat(b101, s * 76 + 72, 1.5f);
    for (int w = 0; w < 4; ++w) {
        PutFloat(b102, s * 64 + 16 * w + 4, w == 0 ? 0.05f : 0.0f);
        PutFloat(b102, s * 64 + 16 * w + 8, w == 1 ? -0.05f : 0.0f);
        PutFloat(b103, s * 64 + 16 * w + 4, w == 2 ? 90.0f : 0.0f);
        PutFloat(b103, s * 64 + 16 * w + 12, w == 3 ? 200.0f : 0.0f);
    }
    PutFloat(b104, s * 12 + 4, 300000.0f);
    PutFloat(b104, s * 12 + 8, 410.5f);
    PutFloat(b105, s * 20 + 0, 0.25f);
    PutFloat(b105, s * 20 + 4, 1.0f);
    PutFloat(b105, s * 20 + 8, 0.0f);
    const std::string line = Lines(Text(lap))[2];
    const std::string base = "12.500000, -1.500000, 3, 7000.500000, -2048, -3, 7, 181.250000, 0.500000, 2.000000";
    EXPECT_EQ(line, base + ", 1.500000" +
                        ", 1.968600, 0.000000, 0.000000, 0.000000, 0.000000, -2.864791, 0.000000, 0.000000" +
                        ", 32.000000, 32.000000, 194.000000, 32.000000, 0.000000, 0.000000, 0.000000, 29.007540" +
                        ", 402.306570, 410.500000" + ", 0.250000, 1.000000, 0.000000");
    EXPECT_DOUBLE_EQ(CelsiusToFahrenheit(-40.0f), -40.0);
    EXPECT_NEAR(RadiansToDegrees(3.14159265f), 180.0, 1e-3);
    EXPECT_NEAR(WattsToHorsepower(745.7f), 1.0, 1e-4);
}

// Numbers keep their decimal point whatever the user's locale says.
TEST(TelemetryText, SameBytesUnderADecimalCommaLocale) {
    const std::string before = Text(HandMadeLap(0x3E));
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not generated on this machine";
    const std::string after = Text(HandMadeLap(0x3E));
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(after, before);
}

// Another car's lap from a replay whose frames hold the player's blocks:
// ten columns, one line per sample but the last.
TEST(TelemetryText, AnotherCarsLapHasTheTenBaseColumns) {
    auto b = testing::RaceReplay();
    b.desc.engineBlocks = true;
    const auto bytes = b.build();
    Drivers drivers;
    ASSERT_EQ(drivers.LoadBytes(bytes), Drivers::LoadResult::Ok);
    for (int driver : {1, 0}) {
        GetRpyInfo lap;
        ASSERT_EQ(lap.ExtractLapFromBytes(bytes, drivers, driver, 2, Race, 1000.0f), GetRpyInfo::Result::Ok);
        ASSERT_EQ(lap.AllocateChannels(1), GetRpyInfo::Result::Ok);
        const auto lines = Lines(Text(lap, drivers.LapWordAt(Race, driver, 2)));
        ASSERT_EQ(static_cast<int>(lines.size()), lap.sampleCount + 1);
        EXPECT_EQ(lines[0], std::to_string(lap.sampleCount - 1) + ", " + std::to_string(8000 + 250 * driver));
        EXPECT_EQ(lines[1] == kBase, driver == 1);
        for (std::size_t i = 2; i < lines.size(); ++i)
            EXPECT_EQ(std::count(lines[i].begin(), lines[i].end(), ','), driver == 1 ? 9 : 9 + 1 + 8 + 8 + 2 + 3) << i;
    }
}

TEST(TelemetryText, ARefusingSinkFails) {
    FailingSink out(10);
    EXPECT_FALSE(WriteTelemetryText(HandMadeLap(0), 1000, out));
}

}  // namespace
}  // namespace vra
