#include "core/text/LapTime.h"

#include <gtest/gtest.h>

using vra::FormatLapTime;

TEST(FormatLapTime, MinutesPaddedSecondsAndMillisecondsWithoutTheFlagBits) {
    EXPECT_EQ(FormatLapTime(0), "0m 00.000s");
    EXPECT_EQ(FormatLapTime(5), "0m 00.005s");
    EXPECT_EQ(FormatLapTime(0x20000000u | 303123u), "5m 03.123s");
    EXPECT_EQ(FormatLapTime(59999), "0m 59.999s");
    EXPECT_EQ(FormatLapTime(60000), "1m 00.000s");
    EXPECT_EQ(FormatLapTime(61 * 60000 + 1000 + 10), "61m 01.010s");
    EXPECT_EQ(FormatLapTime(0x0FFFFFFFu), "4473m 55.455s");
    EXPECT_EQ(FormatLapTime(0xF0000000u | 83456u), "1m 23.456s");
    // Two times in one message stay distinct.
    EXPECT_EQ(FormatLapTime(83456) + " / " + FormatLapTime(90001), "1m 23.456s / 1m 30.001s");
}
