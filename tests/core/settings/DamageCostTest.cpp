#include "core/settings/AppSettings.h"
#include "core/settings/CRegistry.h"

#include "support/platform/MemorySettingsStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>

using namespace vra;
using testing::ElementsAre;
using testing::ElementsAreArray;
using vra::test::MemorySettingsStore;

namespace {
// The stored form written by hand: 16-bit count, then 32-bit words.
std::vector<std::uint8_t> Archive(std::uint16_t count, const std::vector<std::uint32_t>& words) {
    std::vector<std::uint8_t> b = {static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(count >> 8)};
    for (std::uint32_t w : words)
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(w >> (8 * i)));
    return b;
}

const std::vector<std::uint32_t> kDefaults = {250, 1000, 500, 250,  250, 5000, 500,  250, 250, 1000, 250,
                                              250, 1000, 500, 1000, 500, 500,  2000, 500, 100, 0};
}  // namespace

TEST(DamageCost, StoredFormIsCountThenWords) {
    MemorySettingsStore store;
    AppSettings s(store);
    EXPECT_THAT(s.LoadDamageCosts(), ElementsAreArray(kDefaults)) << "nothing stored yet";
    DamageCostTable costs{};
    std::iota(costs.begin(), costs.end(), 100u);
    ASSERT_TRUE(s.SaveDamageCosts(costs));
    std::vector<std::uint32_t> words(costs.begin(), costs.end());
    EXPECT_EQ(store.readBinary(SettingsKey::Program, "DamageCost"), Archive(21, words));
    AppSettings again(store);
    EXPECT_TRUE(again.HasDamageCost());
    EXPECT_THAT(again.LoadDamageCosts(), ElementsAreArray(words));
}

TEST(DamageCost, AShortTableIsFilledWithZerosALongOneIsCut) {
    MemorySettingsStore store;
    store.preset(SettingsKey::Program, SettingsScope::User, "DamageCost", Archive(3, {7, 8, 9}));
    AppSettings s(store);
    std::vector<std::uint32_t> expected(21, 0);
    std::iota(expected.begin(), expected.begin() + 3, 7u);
    EXPECT_THAT(s.LoadDamageCosts(), ElementsAreArray(expected));
    std::vector<std::uint32_t> many(30);
    std::iota(many.begin(), many.end(), 1u);
    store.preset(SettingsKey::Program, SettingsScope::User, "DamageCost", Archive(30, many));
    EXPECT_THAT(s.LoadDamageCosts(), ElementsAreArray(many.begin(), many.begin() + 21));
}

TEST(DamageCost, UndecodableValuesGiveTheDefaults) {
    // Not binary; empty, its count cut, a count beyond the data, a huge count.
    using Bytes = std::vector<std::uint8_t>;
    for (const SettingsValue& value :
         {SettingsValue{std::int32_t{5}}, SettingsValue{std::string("250,1000")}, SettingsValue{Bytes{}},
          SettingsValue{Bytes{21}}, SettingsValue{Archive(21, {1, 2, 3})}, SettingsValue{Bytes(6, 0xFF)}}) {
        MemorySettingsStore store;
        store.preset(SettingsKey::Program, SettingsScope::User, "DamageCost", value);
        AppSettings s(store);
        EXPECT_TRUE(s.HasDamageCost());
        EXPECT_THAT(s.LoadDamageCosts(), ElementsAreArray(kDefaults)) << "case " << value.index();
    }
}

TEST(DamageCost, AStoredValueOver4096BytesIsNotRead) {
    // 1023 words fill 2 + 4092 = 4094 bytes and still read; 1024 words need
    // 4098 bytes, more than a read takes, so the table falls back.
    std::vector<std::uint32_t> fits(1023);
    std::iota(fits.begin(), fits.end(), 1u);
    MemorySettingsStore store;
    store.preset(SettingsKey::Program, SettingsScope::User, "DamageCost", Archive(1023, fits));
    AppSettings s(store);
    EXPECT_THAT(s.LoadDamageCosts(), ElementsAreArray(fits.begin(), fits.begin() + 21));
    std::vector<std::uint32_t> over(1024);
    std::iota(over.begin(), over.end(), 1u);
    store.preset(SettingsKey::Program, SettingsScope::User, "DamageCost", Archive(1024, over));
    EXPECT_THAT(s.LoadDamageCosts(), ElementsAreArray(kDefaults));
}

TEST(DamageCost, LargeArraysUseTheWideCount) {
    const std::vector<std::uint32_t> words(0x10000, 3);
    const auto bytes = EncodeWordArray(words);
    ASSERT_EQ(bytes.size(), 2u + 4u + 4u * words.size());
    EXPECT_EQ(bytes[0] & bytes[1], 0xFF);
    EXPECT_EQ(DecodeWordArray(bytes), words);
}
