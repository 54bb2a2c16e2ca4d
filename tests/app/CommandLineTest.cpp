#include "CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLine, TheFirstArgumentThatIsNoFlagIsOpened) {
    auto line = CommandLine::Parse({"-loadrpy", "/home/me/replays/race.rpy", "other.rpy"});
    ASSERT_TRUE(line.fileToOpen);
    EXPECT_EQ(*line.fileToOpen, "/home/me/replays/race.rpy");
    EXPECT_EQ(line.mode, "-loadrpy");
    EXPECT_FALSE(line.IsBatchMode());
}

TEST(CommandLine, ASingleArgumentIsNeverAMode) {
    auto line = CommandLine::Parse({"-xml"});
    EXPECT_FALSE(line.fileToOpen);
    EXPECT_FALSE(line.IsBatchMode());
    EXPECT_FALSE(CommandLine::Parse({}).fileToOpen);
}

TEST(CommandLine, BatchModesAreNamedExactly) {
    EXPECT_TRUE(CommandLine::Parse({"-expreports", "r:race.rpy", "p:out"}).IsBatchMode());
    EXPECT_TRUE(CommandLine::Parse({"-racedata", "r:a", "o:b"}).IsBatchMode());
    EXPECT_TRUE(CommandLine::Parse({"-reportsite", "r:a"}).IsBatchMode());
    EXPECT_TRUE(CommandLine::Parse({"-xml", "r:a"}).IsBatchMode());
    EXPECT_FALSE(CommandLine::Parse({"-XML", "r:a"}).IsBatchMode());
    // A batch value that is not a flag is also opened as a lap, as before.
    EXPECT_EQ(CommandLine::Parse({"-xml", "r:a"}).fileToOpen, "r:a");
}
