#include "settings/AppSettings.h"

#include "platform/MemorySettingsStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace vra;
using vra::test::MemorySettingsStore;

namespace {

std::string Text(const MemorySettingsStore& store, SettingsKey key, SettingsScope scope,
                 std::string_view name)
{
    auto v = store.stored(key, scope, name);
    return v && std::holds_alternative<std::string>(*v) ? std::get<std::string>(*v) : "<none>";
}

}  // namespace

TEST(AppSettings, AnEmptyStoreGivesTheDefaults)
{
    MemorySettingsStore store;
    AppSettings s(store);
    EXPECT_EQ(s.Mph(), 1);
    EXPECT_EQ(s.DontShowQualReport(), 1);
    EXPECT_EQ(s.RetireInRaceReport(), 0);
    EXPECT_EQ(s.OffTheTrackInRaceReport(), 1);
    EXPECT_EQ(s.BMPSizeInPixel(), 768);
    EXPECT_EQ(s.DefaultPlayerIndex(), -1);
    EXPECT_EQ(s.DefaultPhysics(), 0);
    EXPECT_EQ(s.SpyGirlMsg(), 0);
    EXPECT_EQ(s.UseNickNameInReports(), 0);
    EXPECT_EQ(s.ShowMetersBar(), 1);
    EXPECT_EQ(s.SimFolder(), "");
    EXPECT_EQ(s.AltReplayPath(), "");
    EXPECT_EQ(s.RecordsPath(), "");
    EXPECT_FALSE(s.HasDamageCost());
    EXPECT_TRUE(store.writes().empty()) << "reading writes nothing";
}

TEST(AppSettings, EveryValueSurvivesASaveAndARead)
{
    MemorySettingsStore store;
    {
        AppSettings s(store);
        s.SetMph(0);
        s.SetDontShowQualReport(0);
        s.SetRetireInRaceReport(1);
        s.SetOffTheTrackInRaceReport(0);
        s.SetBMPSizeInPixel(2048);
        s.SetDefaultPlayerIndex(7);
        s.SetDefaultPhysics(3);
        s.SetSpyGirlMsg(1);
        s.SetUseNickNameInReports(1);
        s.SetShowMetersBar(0);
        s.SetSimFolder("/games/velmar");
        s.SetAltReplayPath("/mnt/cd/replays");
        s.SetRecordsPath("/home/me/records");
        EXPECT_TRUE(s.Save());
    }
    AppSettings s(store);
    EXPECT_EQ(s.Mph(), 0);
    EXPECT_EQ(s.DontShowQualReport(), 0);
    EXPECT_EQ(s.RetireInRaceReport(), 1);
    EXPECT_EQ(s.OffTheTrackInRaceReport(), 0);
    EXPECT_EQ(s.BMPSizeInPixel(), 2048);
    EXPECT_EQ(s.DefaultPlayerIndex(), 7);
    EXPECT_EQ(s.DefaultPhysics(), 3);
    EXPECT_EQ(s.SpyGirlMsg(), 1);
    EXPECT_EQ(s.UseNickNameInReports(), 1);
    EXPECT_EQ(s.ShowMetersBar(), 0);
    EXPECT_EQ(s.SimFolder(), "/games/velmar");
    EXPECT_EQ(s.AltReplayPath(), "/mnt/cd/replays");
    EXPECT_EQ(s.RecordsPath(), "/home/me/records");
}

TEST(AppSettings, LongPathsAreKeptWhole)
{
    const std::string longPath = "/data/" + std::string(250, 'r') + "/replays";
    const std::string longer = "/records/" + std::string(1000, 'q');
    MemorySettingsStore store;
    store.preset(SettingsKey::Program, SettingsScope::User, "AltRpyPath", longPath);
    store.preset(SettingsKey::Program, SettingsScope::User, "RecordsPath", longer);
    store.preset(SettingsKey::Simulation, SettingsScope::System, "Directory", longPath + "/sim");

    AppSettings s(store);
    EXPECT_EQ(s.AltReplayPath(), longPath);
    EXPECT_EQ(s.RecordsPath(), longer);
    EXPECT_EQ(s.SimFolder(), longPath + "/sim");

    ASSERT_TRUE(s.Save());
    EXPECT_EQ(Text(store, SettingsKey::Program, SettingsScope::User, "AltRpyPath"), longPath);
    EXPECT_EQ(Text(store, SettingsKey::Program, SettingsScope::User, "RecordsPath"), longer);
}

TEST(AppSettings, AValueOfTheWrongKindGivesItsDefault)
{
    MemorySettingsStore store;
    store.preset(SettingsKey::Program, SettingsScope::User, "BMPSizeInPixel", std::string("1024"));
    store.preset(SettingsKey::Program, SettingsScope::User, "AltRpyPath", std::int32_t{5});
    store.preset(SettingsKey::Simulation, SettingsScope::User, "Directory", std::int32_t{1});
    AppSettings s(store);
    EXPECT_EQ(s.BMPSizeInPixel(), 768);
    EXPECT_EQ(s.AltReplayPath(), "");
    EXPECT_EQ(s.SimFolder(), "");
}

TEST(AppSettings, ProgramFolderIsTheExecutablesFolderWithoutSeparator)
{
    MemorySettingsStore store;
    AppSettings s(store);
    s.InitProgramFolder("/opt/vra/bin/replay-analyzer");
    EXPECT_EQ(s.ProgramFolder(), "/opt/vra/bin");
    s.InitProgramFolder("C:\\Programs\\VRA\\vra.exe");
    EXPECT_EQ(s.ProgramFolder(), "C:\\Programs\\VRA");
    s.InitProgramFolder("noseparator");
    EXPECT_EQ(s.ProgramFolder(), "C:\\Programs\\VRA");
}

// The simulation's folder: found in the user's scope or, failing that, where
// the simulation's installer put it for the whole machine; the user's choice
// goes only to the user's own scope.
TEST(AppSettingsSimFolder, UserScopeWinsOverSystemScope)
{
    MemorySettingsStore store;
    store.preset(SettingsKey::Simulation, SettingsScope::System, "Directory", std::string("/sys/velmar"));
    EXPECT_EQ(AppSettings(store).SimFolder(), "/sys/velmar");
    store.preset(SettingsKey::Simulation, SettingsScope::User, "Directory", std::string("/home/me/velmar"));
    EXPECT_EQ(AppSettings(store).SimFolder(), "/home/me/velmar");
}

TEST(AppSettingsSimFolder, AnUnchangedFolderIsNotWritten)
{
    MemorySettingsStore store;
    store.preset(SettingsKey::Simulation, SettingsScope::System, "Directory", std::string("/sys/velmar"));
    AppSettings s(store);
    s.Save();
    for (const auto& w : store.writes())
        EXPECT_NE(w.key, SettingsKey::Simulation) << w.name;
    EXPECT_EQ(Text(store, SettingsKey::Simulation, SettingsScope::User, "Directory"), "<none>");
}

TEST(AppSettingsSimFolder, AnEmptyFolderNeverOverwritesTheSimulations)
{
    MemorySettingsStore store;
    store.preset(SettingsKey::Simulation, SettingsScope::User, "Directory", std::string("/home/me/velmar"));
    AppSettings s(store);
    s.SetSimFolder("");
    s.Save();
    EXPECT_EQ(Text(store, SettingsKey::Simulation, SettingsScope::User, "Directory"), "/home/me/velmar");
}

TEST(AppSettingsSimFolder, AChangedFolderGoesToTheUserScopeOnce)
{
    MemorySettingsStore store;
    store.preset(SettingsKey::Simulation, SettingsScope::System, "Directory", std::string("/sys/velmar"));
    AppSettings s(store);
    s.SetSimFolder("/home/me/velmar");
    s.Save();
    s.Save();
    int simWrites = 0;
    for (const auto& w : store.writes())
        simWrites += w.key == SettingsKey::Simulation;
    EXPECT_EQ(simWrites, 1);
    EXPECT_EQ(Text(store, SettingsKey::Simulation, SettingsScope::User, "Directory"), "/home/me/velmar");
    EXPECT_EQ(Text(store, SettingsKey::Simulation, SettingsScope::System, "Directory"), "/sys/velmar");
    EXPECT_EQ(AppSettings(store).SimFolder(), "/home/me/velmar");
}

TEST(AppSettingsSimFolder, AnUnusableUserValueFallsBackToTheSystemScope)
{
    MemorySettingsStore store;
    store.preset(SettingsKey::Simulation, SettingsScope::User, "Directory", std::int32_t{0});
    store.preset(SettingsKey::Simulation, SettingsScope::System, "Directory", std::string("/sys/velmar"));
    EXPECT_EQ(AppSettings(store).SimFolder(), "/sys/velmar");
}
