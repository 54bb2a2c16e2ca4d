#include "platform/MemorySettingsStore.h"

#include <gtest/gtest.h>

using namespace vra;
using vra::test::MemorySettingsStore;

TEST(SettingsStore, TypedReadsRefuseAValueOfAnotherKind)
{
    MemorySettingsStore store;
    store.writeInt(SettingsKey::Program, "MPH", 0);
    store.writeString(SettingsKey::Program, "AltRpyPath", "C:\\replays");
    const std::uint8_t blob[] = {1, 2, 3};
    store.writeBinary(SettingsKey::Program, "DamageCost", blob);

    EXPECT_EQ(store.readInt(SettingsKey::Program, "MPH"), 0);
    EXPECT_EQ(store.readString(SettingsKey::Program, "AltRpyPath"), "C:\\replays");
    EXPECT_EQ(store.readBinary(SettingsKey::Program, "DamageCost"), (std::vector<std::uint8_t>{1, 2, 3}));

    EXPECT_FALSE(store.readString(SettingsKey::Program, "MPH"));
    EXPECT_FALSE(store.readInt(SettingsKey::Program, "AltRpyPath"));
    EXPECT_FALSE(store.readBinary(SettingsKey::Program, "MPH"));
    EXPECT_TRUE(store.contains(SettingsKey::Program, "MPH"));
}

TEST(SettingsStore, KeysAreSeparateAndWritesGoToTheUserScope)
{
    MemorySettingsStore store;
    store.writeString(SettingsKey::Simulation, "Directory", "D:\\Velmar");
    EXPECT_FALSE(store.contains(SettingsKey::Program, "Directory"));
    EXPECT_EQ(store.stored(SettingsKey::Simulation, SettingsScope::User, "Directory"),
              SettingsValue{std::string("D:\\Velmar")});
    EXPECT_FALSE(store.stored(SettingsKey::Simulation, SettingsScope::System, "Directory"));

    EXPECT_TRUE(store.remove(SettingsKey::Simulation, "Directory"));
    EXPECT_FALSE(store.contains(SettingsKey::Simulation, "Directory"));
}
