#include "core/base/ByteCursor.h"

#include <gtest/gtest.h>

#include <vector>

using vra::ByteCursor;

TEST(ByteCursor, ReadsLittleEndianAndStopsAtTheEnd) {
    const std::vector<std::uint8_t> bytes{0x01, 0x02, 0x03, 0x04, 0xAA, 0xBB};
    ByteCursor cur(bytes);
    std::uint32_t v = 0;
    ASSERT_TRUE(cur.u32(v));
    EXPECT_EQ(v, 0x04030201u);
    EXPECT_FALSE(cur.u32(v)) << "only two bytes remain";
    EXPECT_EQ(cur.pos(), 4u) << "a failed read does not move";
    std::uint16_t w = 0;
    ASSERT_TRUE(cur.u16(w));
    EXPECT_EQ(w, 0xBBAA);
    EXPECT_TRUE(cur.atEnd());
}

TEST(ByteCursor, HugeSkipsAndSeeksFailWithoutWrapping) {
    const std::vector<std::uint8_t> bytes(16, 0);
    ByteCursor cur(bytes);
    ASSERT_TRUE(cur.skip(8));
    EXPECT_FALSE(cur.skip(0xFFFFFFFFFFFFFFF8ull));
    EXPECT_FALSE(cur.skip(9));
    EXPECT_TRUE(cur.skip(8));
    EXPECT_FALSE(cur.seek(17));
    EXPECT_TRUE(cur.seek(16));
    std::uint8_t b;
    EXPECT_FALSE(cur.peek(0, b));
}

TEST(FixedText, StopsAtNulOrWidth) {
    const std::uint8_t unterminated[4] = {'A', 'B', 'C', 'D'};
    EXPECT_EQ(vra::FixedText(unterminated, 4), "ABCD");
    const std::uint8_t early[4] = {'A', 0, 'C', 'D'};
    EXPECT_EQ(vra::FixedText(early, 4), "A");
}
