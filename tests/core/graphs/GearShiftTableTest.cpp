#include "core/graphs/GearShiftTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace vra {
namespace {

using ::testing::ElementsAre;

// A lap of n samples: d = 10 i m, revs 5000 + 100 i, speed 50 + 2 i, all in
// gear 3 unless set.
struct Lap {
    explicit Lap(int n) : gear(std::size_t(n), 3), revs(std::size_t(n)), speed(std::size_t(n)), dist(std::size_t(n)) {
        for (int i = 0; i < n; ++i) {
            revs[std::size_t(i)] = 5000 + 100 * i;
            speed[std::size_t(i)] = 50 + 2 * i;
            dist[std::size_t(i)] = 10 * i;
        }
    }
    Lap& gears(int from, int to, std::int16_t g) {
        for (int i = from; i <= to; ++i) gear[std::size_t(i)] = g;
        return *this;
    }
    GearShiftTable Analyse() const { return AnalyseGearChanges({int(gear.size()), gear, revs, speed, dist}); }
    std::vector<std::int16_t> gear;
    std::vector<double> revs, speed, dist;
};

std::vector<std::string> Row(const GearShiftTable& t, std::size_t k) {
    return {t.rows.at(k).begin(), t.rows.at(k).end()};
}

TEST(GearShiftTable, ListsEveryChangeWithItsSumsAndAverages) {
    Lap lap(40);
    lap.gears(0, 5, 1).gears(6, 8, 0).gears(9, 15, 2).gears(16, 16, 0).gears(17, 25, 3).gears(26, 27, 0);
    lap.gears(28, 36, 2).gears(37, 39, 0);
    for (auto [i, r] : {std::pair{5, 7800},
                        {6, 7000},
                        {7, 6500},
                        {8, 6200},
                        {9, 6000},
                        {15, 7000},
                        {16, 7300},
                        {17, 7400},
                        {25, 6000},
                        {28, 7500}})
        lap.revs[std::size_t(i)] = r;
    for (auto [i, v] : {std::pair{5, 60.0}, {9, 59.2}, {15, 80.0}, {17, 80.9}, {25, 120.0}, {28, 110.0}})
        lap.speed[std::size_t(i)] = v;

    const GearShiftTable t = lap.Analyse();
    ASSERT_EQ(t.rows.size(), 3u);  // the trailing neutral run is not a change
    EXPECT_THAT(Row(t, 0), ElementsAre("1: 1->2", "50", "7800", "-1800", "0", ".111"));
    EXPECT_THAT(Row(t, 1), ElementsAre("2: 2->3", "150", "7000", "400", "1", ".055"));
    EXPECT_THAT(Row(t, 2), ElementsAre("3: 3->2", "250", "6000", "1500", "-9", ".083"));
    EXPECT_EQ(t.changeCount, "3");
    EXPECT_EQ(t.neutralUp, "0m 00.166s");
    EXPECT_EQ(t.neutralDown, "0m 00.083s");
    EXPECT_EQ(t.speedShifts, "Out of 2 upshifts, 1 was a speedshift.");
    ASSERT_TRUE(t.averages[0] && t.averages[1]);
    EXPECT_THAT(*t.averages[0], ElementsAre("7800", "1800", "1"));
    // Revs rose across the shift: a negative drop, divided as a signed value.
    EXPECT_THAT(*t.averages[1], ElementsAre("7000", "-400", "0"));
    for (std::size_t k = 2; k < 5; ++k) EXPECT_FALSE(t.averages[k]);
}

TEST(GearShiftTable, NegativeDropsAverageAsSignedValues) {
    Lap lap(30);
    lap.gears(0, 9, 2).gears(10, 10, 0).gears(11, 19, 3).gears(20, 20, 0).gears(21, 29, 3);
    lap.revs[9] = 7000, lap.revs[11] = 7400;
    lap.revs[19] = 7000, lap.revs[21] = 7200;
    const GearShiftTable t = lap.Analyse();
    ASSERT_TRUE(t.averages[1]);
    EXPECT_EQ((*t.averages[1])[1], "-300");
}

TEST(GearShiftTable, KindsOfChange) {
    // 2, 0, 0, 0, 3 at 10-14: one upshift to 3 over four samples.
    Lap up(30);
    up.gears(0, 10, 2).gears(11, 13, 0);
    GearShiftTable t = up.Analyse();
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.rows[0][0], "1: 2->3");
    EXPECT_EQ(t.rows[0][5], ".111");
    EXPECT_EQ(t.neutralUp, "0m 00.111s");

    // 3-0-3 is an upshift to gear 3; 4-0-3 a downshift without averages.
    Lap same(20), down(20);
    same.gears(5, 5, 0);
    down.gears(0, 4, 4).gears(5, 5, 0);
    EXPECT_EQ(same.Analyse().speedShifts, "Out of 1 upshifts, 1 was a speedshift.");
    EXPECT_TRUE(same.Analyse().averages[1]);
    t = down.Analyse();
    EXPECT_EQ(t.rows.at(0)[0], "1: 4->3");
    EXPECT_EQ(t.neutralDown, "0m 00.055s");
    EXPECT_EQ(t.speedShifts, "Out of 0 upshifts, 0 was a speedshift.");
    for (const auto& a : t.averages) EXPECT_FALSE(a);

    // Gear 7 counts among the upshifts and speed shifts but in no average.
    Lap seventh(20);
    seventh.gears(0, 5, 6).gears(6, 6, 0).gears(7, 19, 7);
    t = seventh.Analyse();
    EXPECT_EQ(t.speedShifts, "Out of 1 upshifts, 1 was a speedshift.");
    for (const auto& a : t.averages) EXPECT_FALSE(a);

    // Two speed shifts read in the plural.
    Lap two(30);
    two.gears(0, 5, 2).gears(6, 6, 0).gears(7, 15, 3).gears(16, 16, 0).gears(17, 29, 4);
    EXPECT_EQ(two.Analyse().speedShifts, "Out of 2 upshifts, 2 were speedshifts.");
}

TEST(GearShiftTable, NeutralRunTimes) {
    EXPECT_EQ(NeutralTimeText(361), ".361");
    EXPECT_EQ(NeutralTimeText(1111), "1.111");
    Lap lap13(40), lap40(60);
    // A run of 13 (40) samples from the last in gear to the first in gear again.
    lap13.gears(6, 17, 0);
    lap40.gears(6, 44, 0);
    EXPECT_EQ(lap13.Analyse().rows.at(0)[5], ".361");
    EXPECT_EQ(lap40.Analyse().rows.at(0)[5], "1.111");
}

TEST(GearShiftTable, LapsWithoutChanges) {
    // Too short to look at sample 1, neutral from sample 1 to the end, or
    // never in neutral: nothing counted.
    for (Lap lap : {Lap(0), Lap(1), Lap(10).gears(1, 9, 0), Lap(10)}) {
        const GearShiftTable t = lap.Analyse();
        EXPECT_TRUE(t.rows.empty());
        EXPECT_EQ(t.changeCount, "0");
        EXPECT_EQ(t.neutralUp, "0m 00.000s");
        EXPECT_EQ(t.neutralDown, "0m 00.000s");
        EXPECT_EQ(t.speedShifts, "Out of 0 upshifts, 0 was a speedshift.");
    }
    // Neutral at sample 1 is the start, not a change.
    Lap start(20);
    start.gears(1, 3, 0);
    EXPECT_TRUE(start.Analyse().rows.empty());
}

}  // namespace
}  // namespace vra
