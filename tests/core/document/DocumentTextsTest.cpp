#include "core/document/CarNumberText.h"
#include "core/document/SeriesName.h"
#include "core/document/TrackDistanceUnit.h"
#include "core/document/TrackIni.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vra {
namespace {

TEST(CarNumberText, KeepsTheDigitsTheSimulationPaints) {
    const std::pair<int, const char*> cases[] = {{43, "43"},     {0, "0"},     {1999, "1999"},
                                                 {2005, "05"},   {2999, "99"}, {3007, "007"},
                                                 {32767, "767"}, {-5, "-5"},   {-12, "12"}};
    for (const auto& [number, text] : cases) EXPECT_EQ(CarNumberText(number), text) << number;
}

TEST(SeriesName, NameAbbreviationAndBoth) {
    EXPECT_EQ(SeriesName(0, 0), "Pace Car");
    EXPECT_EQ(SeriesName(1, 1), "CUP - Velmar Cup");
    EXPECT_EQ(SeriesName(3, 2), "CTS");
    EXPECT_EQ(SeriesName(4, 5), "PTA");
    for (int series : {7, -1}) EXPECT_EQ(SeriesName(series, 0), "Unknown!");
}

TEST(TrackDistanceUnit, CapsAtOneOver1024AndCoversLongTracks) {
    EXPECT_DOUBLE_EQ(TrackDistanceUnitFor(5000.0), 1.0 / 1024.0);
    EXPECT_DOUBLE_EQ(TrackDistanceUnitFor(20000.0), 20010.0 / 16777215.0);
    // No track: callers use the finest step rather than dividing by zero.
    EXPECT_DOUBLE_EQ(TrackDistanceUnitFor(0.0), kDefaultTrackDistanceUnit);
    EXPECT_DOUBLE_EQ(TrackDistanceUnitFor(-3.0), kDefaultTrackDistanceUnit);
}

TEST(TrackIni, KilometresAndMilesAndNothingWithoutALength) {
    const std::pair<const char*, double> cases[] = {{"[track]\ntrack_length = 2.5 km\n", 2500.0},
                                                    {"track_length=4.02km", 4020.0},
                                                    {"track_length = 0.526 mi\r\n", 0.526 * 1609.344},
                                                    {"track_length =   1.5 mi", 2414.016},
                                                    {"", 0.0},
                                                    {"track_name = Oval km", 0.0},
                                                    {"track_length 2.5 km", 0.0},
                                                    {"track_length = 2.5 k", 0.0},
                                                    {"track_length = long km", 0.0},
                                                    // Not lengths: nothing.
                                                    {"track_length = -5 km", 0.0},
                                                    {"track_length = nan km", 0.0},
                                                    {"track_length = inf km", 0.0},
                                                    {"track_length = 1e308 mi", 0.0},
                                                    {"track_length = 0 km", 0.0},
                                                    {"track_length = 5000 km", 0.0},
                                                    {"track_length = 25.4 km", 25400.0},
                                                    // A plus sign and a line break before the number.
                                                    {"track_length = +5 mi", 5 * 1609.344},
                                                    {"track_length =\n 2 km", 2000.0},
                                                    {"track_length = +-5 mi", 0.0}};
    for (const auto& [text, metres] : cases) EXPECT_DOUBLE_EQ(ParseTrackIniLength(text), metres) << text;
}

TEST(TrackIniFile, FoundIgnoringCaseAndReadInTheCLocale) {
    const test::ScratchDir root("trackini");
    std::filesystem::create_directories(root / "Tracks/Oval");
    EXPECT_FALSE(ReadTrackIniLength(root.path().string(), "OVAL").has_value());
    std::ofstream(root / "Tracks/Oval/Track.INI", std::ios::binary) << "track_name = Oval\r\ntrack_length = 1.2 km\r\n";
    EXPECT_DOUBLE_EQ(ReadTrackIniLength(root.path().string(), "OVAL").value_or(0.0), 1200.0);
    // Missing folder, a path for a name, no simulation folder.
    for (const char* name : {"ROAD", "../Tracks/OVAL", ".."})
        EXPECT_FALSE(ReadTrackIniLength(root.path().string(), name).has_value()) << name;
    EXPECT_FALSE(ReadTrackIniLength("", "OVAL").has_value());
}

}  // namespace
}  // namespace vra
