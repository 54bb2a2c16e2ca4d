// The demo folder is only useful when the readers take it.
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
        SCOPED_TRACE(entry.path());
        ++replays;
        Header h;
        ASSERT_EQ(h.Read(entry.path()), Header::Ok);
        EXPECT_EQ(h.trackName, simkit::kDemoTrackName);
        Drivers d;
        ASSERT_EQ(d.Load(entry.path()), Drivers::Ok);
        EXPECT_EQ(d.drivers[static_cast<std::size_t>(d.savingPlayer)].firstName, "Alex");
        const int kind = d.lastSessionKind;
        EXPECT_EQ(d.IsLapValid(kind, 3, 2), kind != Qualifying);  // only the player's qualifying laps count
        for (int driver : {d.savingPlayer, 3}) {
            if (kind == Qualifying && driver != d.savingPlayer) continue;
            GetRpyInfo lap;
            ASSERT_EQ(lap.ExtractLap(d, driver, 2, kind, static_cast<float>(simkit::kDemoTrackLength)), 0) << driver;
            ASSERT_EQ(lap.AllocateChannels(1), 0);
            EXPECT_NEAR(lap.lapTimeMs, 47500, 2500 + 30);
        }
    }
    EXPECT_EQ(replays, 3);
}

}  // namespace
}  // namespace vra
