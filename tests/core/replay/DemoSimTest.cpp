// The demo folder and the fuzz seeds are only useful when the readers take them.
#include "replay/DemoSim.h"

#include <gtest/gtest.h>

#include "ReplayFiles.h"
#include "replay/Drivers.h"
#include "replay/GetRpyInfo.h"
#include "replay/Header.h"

namespace vra {
namespace {

TEST(DemoSim, WritesAFolderWhoseReplaysLoadAndWhoseLapsExtract) {
    testing::TempDir dir;
    ASSERT_TRUE(simkit::WriteDemoSim(dir.path()));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "VELMAR.exe"));
    int replays = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "replay")) {
        ++replays;
        Header h;
        ASSERT_EQ(h.Read(entry.path()), Header::Ok) << entry.path();
        EXPECT_EQ(h.trackName, simkit::kDemoTrackName);
        Drivers d;
        ASSERT_EQ(d.Load(entry.path()), Drivers::Ok) << entry.path();
        EXPECT_EQ(d.drivers[static_cast<std::size_t>(d.savingPlayer)].firstName, "Alex");
        const int kind = d.lastSessionKind;
        // Only the player's qualifying laps count.
        EXPECT_EQ(d.IsLapValid(kind, 3, 2), kind != Qualifying);
        for (int driver : {d.savingPlayer, 3}) {
            if (kind == Qualifying && driver != d.savingPlayer) continue;
            GetRpyInfo lap;
            ASSERT_EQ(lap.ExtractLap(d, driver, 2, kind, static_cast<float>(simkit::kDemoTrackLength)), 0)
                << entry.path() << " driver " << driver;
            ASSERT_EQ(lap.AllocateChannels(1), 0);
            EXPECT_GT(lap.lapTimeMs, 45000 - 30);
            EXPECT_LT(lap.lapTimeMs, 50000 + 30);
        }
    }
    EXPECT_EQ(replays, 3);
}

}  // namespace
}  // namespace vra
