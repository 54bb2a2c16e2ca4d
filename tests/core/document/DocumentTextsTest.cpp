#include "document/CarNumberText.h"
#include "document/DocumentColours.h"
#include "document/SeriesName.h"
#include "document/TrackDistanceUnit.h"
#include "document/TrackIni.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vra {
namespace {

TEST(CarNumberText, KeepsTheDigitsTheSimulationPaints)
{
    EXPECT_EQ(CarNumberText(43), "43");
    EXPECT_EQ(CarNumberText(0), "0");
    EXPECT_EQ(CarNumberText(1999), "1999");
    EXPECT_EQ(CarNumberText(2005), "05");
    EXPECT_EQ(CarNumberText(2999), "99");
    EXPECT_EQ(CarNumberText(3007), "007");
    EXPECT_EQ(CarNumberText(32767), "767");
    EXPECT_EQ(CarNumberText(-5), "-5");
    EXPECT_EQ(CarNumberText(-12), "12");
}

TEST(SeriesName, NameAbbreviationAndBoth)
{
    EXPECT_EQ(SeriesName(0, 0), "Pace Car");
    EXPECT_EQ(SeriesName(1, 1), "CUP - Velmar Cup");
    EXPECT_EQ(SeriesName(2, 0), "Grand National");
    EXPECT_EQ(SeriesName(3, 2), "CTS");
    EXPECT_EQ(SeriesName(4, 5), "PTA");
    EXPECT_EQ(SeriesName(4, 1), "PTA - Trans Am");
    for (int style = 0; style < 3; ++style) {
        EXPECT_EQ(SeriesName(7, style), "Unknown!");
        EXPECT_EQ(SeriesName(-1, style), "Unknown!");
    }
}

TEST(TrackDistanceUnit, CapsAtOneOver1024AndCoversLongTracks)
{
    EXPECT_DOUBLE_EQ(TrackDistanceUnitFor(5000.0), 1.0 / 1024.0);
    EXPECT_DOUBLE_EQ(TrackDistanceUnitFor(20000.0), 20010.0 / 16777215.0);
    // No track: callers use the finest step rather than dividing by zero.
    EXPECT_DOUBLE_EQ(TrackDistanceUnitFor(0.0), kDefaultTrackDistanceUnit);
    EXPECT_DOUBLE_EQ(TrackDistanceUnitFor(-3.0), kDefaultTrackDistanceUnit);
}

TEST(DocumentColours, PaletteAndGraphColoursInRgb)
{
    // Lap 1 red, lap 2 blue, lap 3 green, lap 4 yellow, lap 5 turquoise.
    EXPECT_EQ(kMapPalette[0], (Rgb{255, 0, 0}));
    EXPECT_EQ(kMapPalette[1], (Rgb{0, 0, 255}));
    EXPECT_EQ(kMapPalette[2], (Rgb{0, 0xFB, 0x38}));
    EXPECT_EQ(kMapPalette[3], (Rgb{0xF0, 0xF0, 0}));
    EXPECT_EQ(kMapPalette[4], (Rgb{0x26, 0xE8, 0xE2}));
    EXPECT_EQ(kMapPalette[10], (Rgb{0xA0, 0x50, 0}));
    EXPECT_EQ(kMapPalette[11], (Rgb{0xD3, 0xAE, 0x19}));
    EXPECT_EQ(kMapPalette[14], (Rgb{255, 255, 255}));
    EXPECT_EQ(kMapPalette[15], (Rgb{0, 255, 0}));
    EXPECT_EQ(kGraphColours[7], (Rgb{0xFF, 0x00, 0x66}));
    EXPECT_EQ(kGraphColours[12], (Rgb{0x33, 0xCC, 0xFF}));
    EXPECT_EQ(kGraphColours[25], (Rgb{0x99, 0x99, 0x66}));
}

TEST(TrackIni, KilometresAndMiles)
{
    EXPECT_DOUBLE_EQ(ParseTrackIniLength("[track]\ntrack_length = 2.5 km\n"), 2500.0);
    EXPECT_DOUBLE_EQ(ParseTrackIniLength("track_length=4.02km"), 4020.0);
    EXPECT_DOUBLE_EQ(ParseTrackIniLength("track_length = 0.526 mi\r\n"), 0.526 * 1609.344);
    EXPECT_DOUBLE_EQ(ParseTrackIniLength("track_length =   1.5 mi"), 2414.016);
}

TEST(TrackIni, TextWithoutAValueGivesNoLength)
{
    EXPECT_EQ(ParseTrackIniLength(""), 0.0);
    EXPECT_EQ(ParseTrackIniLength("track_name = Oval km"), 0.0);
    EXPECT_EQ(ParseTrackIniLength("track_length 2.5 km"), 0.0);
    EXPECT_EQ(ParseTrackIniLength("track_length = 2.5 k"), 0.0);
    EXPECT_EQ(ParseTrackIniLength("track_length = long km"), 0.0);
}

class TrackIniFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = std::filesystem::path(::testing::TempDir()) /
                ("trackini_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "Tracks" / "Oval");
    }
    void TearDown() override { std::filesystem::remove_all(root_); }
    void write(const std::string& text)
    {
        std::ofstream(root_ / "Tracks" / "Oval" / "Track.INI", std::ios::binary) << text;
    }
    std::filesystem::path root_;
};

TEST_F(TrackIniFile, FoundIgnoringCaseAndReadInTheCLocale)
{
    write("track_name = Oval\r\ntrack_length = 1.2 km\r\n");
    const auto length = ReadTrackIniLength(root_.string(), "OVAL");
    ASSERT_TRUE(length.has_value());
    EXPECT_DOUBLE_EQ(*length, 1200.0);
}

TEST_F(TrackIniFile, MissingFileOrFolderOrAPathForAName)
{
    EXPECT_FALSE(ReadTrackIniLength(root_.string(), "OVAL").has_value());
    write("track_length = 1.2 km");
    EXPECT_FALSE(ReadTrackIniLength(root_.string(), "ROAD").has_value());
    EXPECT_FALSE(ReadTrackIniLength(root_.string(), "../Tracks/OVAL").has_value());
    EXPECT_FALSE(ReadTrackIniLength(root_.string(), "..").has_value());
    EXPECT_FALSE(ReadTrackIniLength("", "OVAL").has_value());
}

}  // namespace
}  // namespace vra
