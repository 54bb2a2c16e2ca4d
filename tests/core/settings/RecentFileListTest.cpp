#include "core/settings/RecentFileList.h"

#include "support/platform/MemorySettingsStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using vra::RecentFileList;
using vra::SettingsKey;
using vra::SettingsScope;

TEST(RecentFileList, SkipsEmptyAndRepeatedSlotsWhenRead) {
    vra::test::MemorySettingsStore store;
    for (auto [slot, value] : {std::pair<const char*, vra::SettingsValue>{"File1", std::string("/a.rpy")},
                               {"File2", std::string("")},
                               {"File3", std::string("/a.rpy")},
                               {"File4", std::int32_t(7)},
                               {"File5", std::string("/b.rpy")},
                               {"File8", std::string("/beyond.rpy")}})
        store.preset(SettingsKey::Program, SettingsScope::User, slot, value);
    RecentFileList list;
    list.ReadList(store);
    EXPECT_THAT(list.Entries(), ElementsAre("/a.rpy", "/b.rpy"));
}

TEST(RecentFileList, WritingRemovesSlotsThatBecameEmpty) {
    vra::test::MemorySettingsStore store;
    RecentFileList list;
    for (const char* p : {"/1", "/2", "/3"}) list.Add(p);
    list.WriteList(store);
    list.Remove(0);
    list.Remove(5);
    list.WriteList(store);
    EXPECT_EQ(store.readString(SettingsKey::Program, "File1"), "/2");
    EXPECT_EQ(store.readString(SettingsKey::Program, "File2"), "/1");
    EXPECT_FALSE(store.contains(SettingsKey::Program, "File3"));
}
