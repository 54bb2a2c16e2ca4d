// Our BMP files must load in other programs; Qt's reader stands in for them.
#include "core/document/DocumentColours.h"
#include "core/export/DibSection.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace vra;

namespace {

QImage Load(const DibSection& dib) {
    MemorySink sink;
    EXPECT_TRUE(dib.Write(sink));
    const auto& b = sink.bytes();
    return QImage::fromData(reinterpret_cast<const uchar*>(b.data()), static_cast<int>(b.size()), "BMP");
}

// 7 x 5 pixels of the map colours, so that rows, nibbles and padding all show.
std::vector<std::uint32_t> MapPixels(int w, int h) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = TrackMapBitmapTable(kMapPalette)[static_cast<std::size_t>(x * 3 + y * 5) % 16];
            pixels.push_back((std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue);
        }
    return pixels;
}

}  // namespace

TEST(BmpReadBack, IndexedFilesLoadWithTheSamePixels) {
    const int w = 7, h = 5;
    const auto pixels = MapPixels(w, h);
    const auto table = TrackMapBitmapTable(kMapPalette);
    for (std::uint16_t bits : {std::uint16_t{4}, std::uint16_t{8}}) {
        DibSection dib;
        ASSERT_TRUE(MakeIndexedBitmap(dib, w, h, bits, table, pixels));
        const QImage image = Load(dib);
        ASSERT_FALSE(image.isNull()) << bits;
        ASSERT_EQ(image.size(), QSize(w, h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                EXPECT_EQ(image.pixel(x, y) & 0xFFFFFFu, pixels[static_cast<std::size_t>(y * w + x)])
                    << bits << " bits at " << x << "," << y;
    }
    // One bit: white and black only.
    std::vector<std::uint32_t> mono = {0xFFFFFF, 0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000};
    DibSection dib;
    ASSERT_TRUE(MakeIndexedBitmap(dib, 3, 2, 1, std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}}, mono));
    const QImage image = Load(dib);
    ASSERT_EQ(image.size(), QSize(3, 2));
    for (int i = 0; i < 6; ++i) EXPECT_EQ(image.pixel(i % 3, i / 3) & 0xFFFFFFu, mono[static_cast<std::size_t>(i)]);
}

TEST(BmpReadBack, DirectColourFilesLoadWithTheSamePixels) {
    // 3 x 2, bottom-up: the file's first line is the picture's bottom row.
    BitmapInfoHeader header;
    header.biWidth = 3;
    header.biHeight = 2;
    header.biBitCount = 24;
    const std::vector<std::uint8_t> bits24 = {
        0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0, 0, 0,  // bottom: red, green, blue
        0x10, 0x20, 0x30, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0, 0, 0,  // top
    };
    DibSection dib24;
    ASSERT_TRUE(dib24.SetBitmap(header, {}, bits24));
    QImage image = Load(dib24);
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.pixel(0, 1) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(image.pixel(2, 1) & 0xFFFFFFu, 0x0000FFu);
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFFu, 0x302010u);

    // 16 bits, 5-6-5 bit fields: only the bits a channel keeps can come back.
    auto Top565 = [](QRgb p) { return p & 0xF8FCF8u; };
    header.biBitCount = 16;
    header.biCompression = BI_BITFIELDS;
    const std::vector<std::uint32_t> masks = {0xF800, 0x07E0, 0x001F};
    const std::vector<std::uint8_t> bits16 = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0,
                                              0xFF, 0xFF, 0x00, 0x00, 0x00, 0xF8, 0, 0};
    DibSection dib16;
    ASSERT_TRUE(dib16.SetBitmap(header, masks, bits16));
    image = Load(dib16);
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(Top565(image.pixel(0, 1)), Top565(0xFF0000u));
    EXPECT_EQ(Top565(image.pixel(1, 1)), Top565(0x00FF00u));
    EXPECT_EQ(Top565(image.pixel(2, 1)), Top565(0x0000FFu));
    EXPECT_EQ(Top565(image.pixel(0, 0)), Top565(0xFFFFFFu));
    EXPECT_EQ(Top565(image.pixel(1, 0)), Top565(0x000000u));

    // 32 bits with masks.
    header.biBitCount = 32;
    const std::vector<std::uint32_t> masks32 = {0x00FF0000, 0x0000FF00, 0x000000FF};
    std::vector<std::uint8_t> bits32 = {0x00, 0x00, 0xFF, 0, 0x00, 0xFF, 0x00, 0, 0xFF, 0x00, 0x00, 0,
                                        0x10, 0x20, 0x30, 0, 0xFF, 0xFF, 0xFF, 0, 0x00, 0x00, 0x00, 0};
    DibSection dib32;
    ASSERT_TRUE(dib32.SetBitmap(header, masks32, bits32));
    image = Load(dib32);
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.pixel(0, 1) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(image.pixel(2, 1) & 0xFFFFFFu, 0x0000FFu);
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFFu, 0x302010u);
}
