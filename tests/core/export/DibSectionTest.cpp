#include "core/export/DibSection.h"

#include "core/base/FileUtil.h"
#include "core/document/DocumentColours.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;
using namespace vra;
using vra::test::ScratchDir;

namespace {

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}
std::uint16_t Le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

BitmapInfoHeader Header(std::int32_t w, std::int32_t h, std::uint16_t bits, std::uint32_t compression = BI_RGB,
                        std::uint32_t clrUsed = 0) {
    BitmapInfoHeader hd;
    hd.biWidth = w;
    hd.biHeight = h;
    hd.biBitCount = bits;
    hd.biCompression = compression;
    hd.biClrUsed = clrUsed;
    return hd;
}

std::vector<std::uint8_t> Encode(const DibSection& dib) {
    MemorySink sink;
    EXPECT_TRUE(dib.Write(sink));
    return sink.take();
}

}  // namespace

TEST(DibSection, LineSizesAndTableSizesFollowTheHeader) {
    EXPECT_EQ(BytesPerLine(768, 4), 384u);
    EXPECT_EQ(BytesPerLine(300, 4), 152u);  // 150 bytes of pixels, padded to 32 bits
    EXPECT_EQ(BytesPerLine(1, 1), 4u);
    EXPECT_EQ(BytesPerLine(33, 1), 8u);
    EXPECT_EQ(BytesPerLine(3, 24), 12u);  // 9 bytes, padded
    EXPECT_EQ(BytesPerLine(5, 8), 8u);
    EXPECT_EQ(BytesPerLine(3, 16), 8u);
    EXPECT_EQ(BytesPerLine(3, 32), 12u);

    EXPECT_EQ(ColorTableEntries(Header(1, 1, 1)), 2u);
    EXPECT_EQ(ColorTableEntries(Header(1, 1, 4)), 16u);
    EXPECT_EQ(ColorTableEntries(Header(1, 1, 8)), 256u);
    EXPECT_EQ(ColorTableEntries(Header(1, 1, 8, BI_RGB, 10)), 10u);
    EXPECT_EQ(ColorTableEntries(Header(1, 1, 4, BI_RGB, 300)), 16u);
    EXPECT_EQ(ColorTableEntries(Header(1, 1, 16)), 0u);
    EXPECT_EQ(ColorTableEntries(Header(1, 1, 16, BI_BITFIELDS)), 3u);
    EXPECT_EQ(ColorTableEntries(Header(1, 1, 32)), 0u);
    EXPECT_EQ(ColorTableEntries(Header(1, 1, 32, BI_BITFIELDS)), 3u);
    EXPECT_EQ(ColorTableEntries(Header(1, 1, 24)), 0u);
}

TEST(DibSection, FileLayoutOfEachHeaderKind) {
    struct Case {
        BitmapInfoHeader header;
        std::uint32_t entries;
        std::uint32_t imageSize;
    };
    const Case cases[] = {
        {Header(768, 768, 4), 16, 294912},
        {Header(300, 300, 4), 16, 45600},
        {Header(10, 3, 1), 2, 12},
        {Header(5, 2, 8, BI_RGB, 10), 10, 16},
        {Header(3, 2, 16, BI_BITFIELDS), 3, 16},
        {Header(3, 2, 32, BI_BITFIELDS), 3, 24},
        {Header(3, 2, 32), 0, 24},
        {Header(3, 2, 24), 0, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.header.biWidth << "x" << c.header.biHeight << " " << c.header.biBitCount);
        std::vector<std::uint32_t> table(c.entries);
        for (std::uint32_t i = 0; i < c.entries; ++i) table[i] = 0x00102030u + i;
        DibSection dib;
        ASSERT_TRUE(dib.SetBitmap(c.header, table));
        EXPECT_EQ(dib.Header().biSizeImage, c.imageSize);  // 0 filled in
        const auto file = Encode(dib);
        const std::uint32_t offBits = 54 + 4 * c.entries;
        ASSERT_EQ(file.size(), offBits + c.imageSize);
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(Le32(file, 2), file.size());
        EXPECT_EQ(Le32(file, 6), 0u);
        EXPECT_EQ(Le32(file, 10), offBits);
        EXPECT_EQ(Le32(file, 14), 40u);
        EXPECT_EQ(static_cast<std::int32_t>(Le32(file, 18)), c.header.biWidth);
        EXPECT_EQ(static_cast<std::int32_t>(Le32(file, 22)), c.header.biHeight);
        EXPECT_EQ(Le16(file, 26), 1u);
        EXPECT_EQ(Le16(file, 28), c.header.biBitCount);
        EXPECT_EQ(Le32(file, 30), c.header.biCompression);
        EXPECT_EQ(Le32(file, 34), c.imageSize);
        EXPECT_EQ(Le32(file, 38), 0u);
        EXPECT_EQ(Le32(file, 42), 0u);
        EXPECT_EQ(Le32(file, 46), c.header.biClrUsed);
        EXPECT_EQ(Le32(file, 50), 0u);
        for (std::uint32_t i = 0; i < c.entries; ++i) EXPECT_EQ(Le32(file, 54 + 4 * i), 0x00102030u + i);
    }
}

TEST(DibSection, TrackMapBitmapHasTheExpectedHeaderAndTable) {
    const auto table = TrackMapBitmapTable(kMapPalette);
    for (std::int32_t n : {300, 768}) {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(n) * n, 0xFFFFFF);
        DibSection dib;
        ASSERT_TRUE(MakeIndexedBitmap(dib, n, n, 4, table, pixels));
        const auto file = Encode(dib);
        EXPECT_EQ(file.size(), n == 300 ? 45718u : 295030u);
        EXPECT_EQ(Le32(file, 2), file.size());
        EXPECT_EQ(Le32(file, 10), 118u);
        EXPECT_EQ(Le16(file, 28), 4u);
        EXPECT_EQ(Le32(file, 34), file.size() - 118);
        // White background, blue as lap 2, red (the first lap) in entry 14.
        const std::vector<std::uint8_t> expectTable = {
            0xFF, 0xFF, 0xFF, 0, 0xFF, 0x00, 0x00, 0, 0x38, 0xFB, 0x00, 0, 0x00, 0xF0, 0xF0, 0,
            0xE2, 0xE8, 0x26, 0, 0x00, 0x00, 0x00, 0, 0x80, 0x80, 0x80, 0, 0xBE, 0xBE, 0xBE, 0,
            0xFF, 0xFF, 0xFF, 0, 0x32, 0x80, 0x32, 0, 0x00, 0x50, 0xA0, 0, 0x19, 0xAE, 0xD3, 0,
            0x00, 0x5C, 0xB9, 0, 0xFF, 0x00, 0x00, 0, 0x00, 0x00, 0xFF, 0, 0x00, 0xFF, 0x00, 0,
        };
        EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 54, file.begin() + 118), expectTable);
        // All white: every pixel index 0, padding 0.
        EXPECT_TRUE(std::all_of(file.begin() + 118, file.end(), [](std::uint8_t b) { return b == 0; }));
    }
}

TEST(DibSection, RowsAreBottomUpWithTheLeftPixelInTheHighBits) {
    const std::vector<Rgb> table = {{255, 255, 255}, {255, 0, 0}, {0, 0, 255}, {0, 255, 0}};
    // 3 x 2, top row red, white, blue; bottom row green, red, white.
    const std::vector<std::uint32_t> pixels = {0xFF0000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF};
    DibSection dib4;
    ASSERT_TRUE(MakeIndexedBitmap(dib4, 3, 2, 4, table, pixels));
    EXPECT_EQ(std::vector<std::uint8_t>(dib4.Bits().begin(), dib4.Bits().end()),
              (std::vector<std::uint8_t>{0x31, 0x00, 0, 0, 0x10, 0x20, 0, 0}));
    DibSection dib8;
    ASSERT_TRUE(MakeIndexedBitmap(dib8, 3, 2, 8, table, pixels));
    EXPECT_EQ(std::vector<std::uint8_t>(dib8.Bits().begin(), dib8.Bits().end()),
              (std::vector<std::uint8_t>{3, 1, 0, 0, 1, 0, 2, 0}));
    DibSection dib1;
    const std::vector<Rgb> mono = {{0, 0, 0}, {255, 255, 255}};
    ASSERT_TRUE(MakeIndexedBitmap(dib1, 3, 2, 1, mono, pixels));
    // Nearest: red, blue, green are nearer black; white is white.
    EXPECT_EQ(std::vector<std::uint8_t>(dib1.Bits().begin(), dib1.Bits().end()),
              (std::vector<std::uint8_t>{0x20, 0, 0, 0, 0x40, 0, 0, 0}));
}

TEST(DibSection, QuantiserPrefersExactThenNearestThenLowestIndex) {
    const auto table = TrackMapBitmapTable(kMapPalette);
    EXPECT_EQ(NearestColourIndex(table, Rgb{255, 255, 255}), 0);  // also entry 8
    EXPECT_EQ(NearestColourIndex(table, Rgb{255, 0, 0}), 14);     // red: only 14
    EXPECT_EQ(NearestColourIndex(table, Rgb{0, 0, 255}), 1);      // blue: 1 and 13
    EXPECT_EQ(NearestColourIndex(table, Rgb{0, 0, 0}), 5);
    EXPECT_EQ(NearestColourIndex(table, Rgb{250, 2, 3}), 14);
    EXPECT_EQ(NearestColourIndex(table, Rgb{130, 128, 126}), 6);
    // Equally far from two entries: the lower one.
    const std::vector<Rgb> two = {{0, 0, 0}, {0, 0, 10}, {0, 0, 20}};
    EXPECT_EQ(NearestColourIndex(two, Rgb{0, 0, 5}), 0);
    EXPECT_EQ(NearestColourIndex(two, Rgb{0, 0, 15}), 1);
    const std::vector<Rgb> dup = {{9, 9, 9}, {1, 1, 1}, {1, 1, 1}};
    EXPECT_EQ(NearestColourIndex(dup, Rgb{1, 1, 1}), 1);
}

TEST(DibSection, RefusesWhatItCannotHoldOrWrite) {
    DibSection dib;
    // Beyond the 32-bit size fields (5e9 bytes of bits): nothing allocated, empty.
    EXPECT_FALSE(dib.SetBitmap(Header(100000, 100000, 4), {}));
    EXPECT_TRUE(dib.IsEmpty());
    EXPECT_FALSE(dib.SetBitmap(Header(0, 5, 4), {}));
    EXPECT_FALSE(dib.SetBitmap(Header(5, 5, 7), {}));
    const std::vector<std::uint8_t> tooFew(3);
    EXPECT_FALSE(dib.SetBitmap(Header(3, 2, 24), {}, tooFew));
    std::vector<std::uint32_t> pixels(4);
    EXPECT_FALSE(MakeIndexedBitmap(dib, 3, 2, 4, kMapPalette, pixels));  // fewer pixels than 3 x 2
    MemorySink sink;
    EXPECT_FALSE(dib.Write(sink));
}

TEST(DibSection, SaveReplacesTheFileOrLeavesTheOldOne) {
    ScratchDir dir("dib");
    const fs::path target = dir / "map.bmp";
    std::ofstream(target, std::ios::binary) << "old";
    DibSection dib;
    const std::vector<std::uint8_t> bits = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    ASSERT_TRUE(dib.SetBitmap(Header(2, 2, 24), {}, bits));
    ASSERT_TRUE(dib.Save(target));
    auto written = ReadWholeFile(target, 1 << 20);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->size(), 54u + 16u);
    EXPECT_EQ(Le32(*written, 10), 54u);  // 24 bits: no table
    EXPECT_EQ(std::vector<std::uint8_t>(written->begin() + 54, written->begin() + 60),
              (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));

    // A folder that does not exist: failure reported, nothing created.
    EXPECT_FALSE(dib.Save(dir / "missing" / "map.bmp"));
    DibSection empty;
    EXPECT_FALSE(empty.Save(target));
    EXPECT_EQ(ReadWholeFile(target, 1 << 20)->size(), 70u);
}
