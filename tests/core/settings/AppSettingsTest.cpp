#include "core/settings/AppSettings.h"

#include "support/platform/MemorySettingsStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

using namespace vra;
using testing::ElementsAre;
using vra::test::MemorySettingsStore;

namespace {
// Every number the settings hold, in the order of their setters below.
std::vector<std::int32_t> Words(const AppSettings& s) {
    return {s.Mph(),
            s.DontShowQualReport(),
            s.RetireInRaceReport(),
            s.OffTheTrackInRaceReport(),
            s.BMPSizeInPixel(),
            s.DefaultPlayerIndex(),
            s.DefaultPhysics(),
            s.SpyGirlMsg(),
            s.UseNickNameInReports(),
            s.ShowMetersBar()};
}

SettingsValue Dir(const char* path) {
    return std::string(path);
}

void PresetDirectory(MemorySettingsStore& store, SettingsScope scope, SettingsValue value) {
    store.preset(SettingsKey::Simulation, scope, "Directory", std::move(value));
}
}  // namespace

TEST(AppSettings, AnEmptyStoreOrValuesOfTheWrongKindGiveTheDefaultsAndReadingWritesNothing) {
    MemorySettingsStore store;
    EXPECT_THAT(Words(AppSettings(store)), ElementsAre(1, 1, 0, 1, 768, -1, 0, 0, 0, 1));
    store.preset(SettingsKey::Program, SettingsScope::User, "BMPSizeInPixel", std::string("1024"));
    store.preset(SettingsKey::Program, SettingsScope::User, "AltRpyPath", std::int32_t{5});
    PresetDirectory(store, SettingsScope::User, std::int32_t{1});
    AppSettings s(store);
    EXPECT_EQ(s.BMPSizeInPixel(), 768);
    EXPECT_EQ(s.SimFolder() + s.AltReplayPath() + s.RecordsPath(), "");
    EXPECT_FALSE(s.HasDamageCost());
    EXPECT_TRUE(store.writes().empty());
}

TEST(AppSettings, EveryValueSurvivesASaveAndARead) {
    // Long paths are kept whole (a fixed buffer once emptied them).
    const std::string longPath = "/data/" + std::string(250, 'r') + "/replays";
    const std::string longer = "/records/" + std::string(1000, 'q');
    MemorySettingsStore store;
    {
        AppSettings s(store);
        s.SetMph(0), s.SetDontShowQualReport(0), s.SetRetireInRaceReport(1), s.SetOffTheTrackInRaceReport(0);
        s.SetBMPSizeInPixel(2048), s.SetDefaultPlayerIndex(7), s.SetDefaultPhysics(3), s.SetSpyGirlMsg(1);
        s.SetUseNickNameInReports(1), s.SetShowMetersBar(0);
        s.SetSimFolder(longPath + "/sim"), s.SetAltReplayPath(longPath), s.SetRecordsPath(longer);
        EXPECT_TRUE(s.Save());
    }
    AppSettings s(store);
    EXPECT_THAT(Words(s), ElementsAre(0, 0, 1, 0, 2048, 7, 3, 1, 1, 0));
    EXPECT_THAT((std::vector<std::string>{s.SimFolder(), s.AltReplayPath(), s.RecordsPath()}),
                ElementsAre(longPath + "/sim", longPath, longer));
    store.setReadOnly(true);
    EXPECT_FALSE(s.Save());
}

TEST(AppSettings, ProgramFolderIsTheExecutablesFolderWithoutSeparator) {
    MemorySettingsStore store;
    AppSettings s(store);  // a name without any separator leaves the folder as it was
    for (auto [exe, folder] : {std::pair{"/opt/vra/bin/replay-analyzer", "/opt/vra/bin"},
                               {"C:\\Programs\\VRA\\vra.exe", "C:\\Programs\\VRA"},
                               {"noseparator", "C:\\Programs\\VRA"}}) {
        s.InitProgramFolder(exe);
        EXPECT_EQ(s.ProgramFolder(), folder) << exe;
    }
}

// The simulation's folder: found in the user's scope or, failing that, where
// the simulation's installer put it for the whole machine; the user's choice
// goes only to the user's own scope, only when it changed and never empty.
TEST(AppSettingsSimFolder, ReadFromTheUserScopeFirstWrittenThereOnlyWhenChangedAndNotEmpty) {
    MemorySettingsStore store;
    PresetDirectory(store, SettingsScope::System, Dir("/sys/velmar"));
    EXPECT_EQ(AppSettings(store).SimFolder(), "/sys/velmar");
    PresetDirectory(store, SettingsScope::User, std::int32_t{0});
    AppSettings s(store);
    EXPECT_EQ(s.SimFolder(), "/sys/velmar") << "an unusable user value";
    auto simWrites = [&store] {
        return std::ranges::count(store.writes(), SettingsKey::Simulation, [](const auto& w) { return w.key; });
    };
    s.Save();
    s.SetSimFolder("");
    s.Save();
    EXPECT_EQ(simWrites(), 0);
    s.SetSimFolder("/home/me/velmar");
    s.Save();
    s.Save();
    EXPECT_EQ(simWrites(), 1);
    EXPECT_EQ(store.stored(SettingsKey::Simulation, SettingsScope::User, "Directory"), Dir("/home/me/velmar"));
    EXPECT_EQ(store.stored(SettingsKey::Simulation, SettingsScope::System, "Directory"), Dir("/sys/velmar"));
    EXPECT_EQ(AppSettings(store).SimFolder(), "/home/me/velmar");
}
