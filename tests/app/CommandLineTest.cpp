#include "app/CommandLine.h"

#include "app/BatchMode.h"

#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vra {

using ::testing::ElementsAre;

TEST(CommandLine, OpensTheFirstArgumentThatIsNoFlagAndKnowsTheBatchModesByName) {
    auto line = CommandLine::Parse({"-loadrpy", "/home/me/replays/race.rpy", "other.rpy"});
    EXPECT_EQ(line.fileToOpen, "/home/me/replays/race.rpy");
    EXPECT_EQ(line.mode, "-loadrpy");
    EXPECT_FALSE(line.IsBatchMode());
    EXPECT_FALSE(CommandLine::Parse({"-loadrpy"}).fileToOpen || CommandLine::Parse({"-loadrpy"}).IsBatchMode());
    // A batch flag alone is a batch run still, never a start of the window.
    EXPECT_TRUE(CommandLine::Parse({"-xml"}).IsBatchMode());
    EXPECT_FALSE(CommandLine::Parse({"-xml"}).fileToOpen);
    EXPECT_FALSE(CommandLine::Parse({}).fileToOpen);
    // Batch modes are named exactly.
    for (const char* mode : {"-expreports", "-racedata", "-reportsite", "-xml"})
        EXPECT_TRUE(CommandLine::Parse({mode, "r:a", "o:b"}).IsBatchMode()) << mode;
    EXPECT_FALSE(CommandLine::Parse({"-XML", "r:a"}).IsBatchMode());
    // A batch value that is not a flag is also opened as a lap, as before.
    EXPECT_EQ(CommandLine::Parse({"-xml", "r:a"}).fileToOpen, "r:a");
}

TEST(BatchMode, TakesOnlyTheReportExportWithItsValueAndCutsTwoCharacters) {
    EXPECT_TRUE(BatchMode::Handles({"-expreports", "-r/x.rpy"}));
    EXPECT_TRUE(BatchMode::Handles({"-expreports"}));
    EXPECT_FALSE(BatchMode::Handles({"-loadrpy", "x.rpy"}));
    EXPECT_FALSE(BatchMode::Handles({"-EXPREPORTS", "-rx"}));
    EXPECT_EQ(BatchMode::Value("-r/a b.rpy"), "/a b.rpy");
    EXPECT_EQ(BatchMode::Value("-r"), "");
    EXPECT_EQ(BatchMode::Value(""), "");
}

TEST(BatchMode, MissingArgumentsGiveTheModesUsageBeforeAnythingIsRead) {
    test::MemorySettingsStore store;
    test::ScriptedPrompts prompts;
    EXPECT_EQ(BatchMode::Run({"-racedata", "-r/nowhere.rpy"}, store, prompts), 1);
    EXPECT_THAT(prompts.messages(), ElementsAre("usage: velmar-replay-analyzer -racedata -r<replay> -o<output file>"));
    EXPECT_EQ(BatchMode::Usage({"-racedata", "-r/nowhere.rpy", "-o/out.txt"}), "");
    EXPECT_EQ(BatchMode::Usage({"-expreports", "-r/nowhere.rpy"}), "");
    EXPECT_EQ(BatchMode::Usage({"-loadrpy"}), "");
}

}  // namespace vra
