#include "core/chart/ChartModel.h"

#include <gtest/gtest.h>

namespace vra {
namespace {

template <typename T>
std::vector<std::uint8_t> Stored(const T& object) {
    ArchiveWriter w;
    object.Store(w);
    return w.data();
}

TEST(Archive, ObjectsComeBackAsStored) {
    CXGraphLabel label;
    label.rect = {1, 2, 3, 4};
    label.text = std::string(300, 'x');
    label.font = FontSpec{"Liberation Sans", 17, 700, true};
    label.background = {1, 2, 3};
    label.format = 2;
    label.curve = 5;
    CXGraphLabel back;
    const auto labelBytes = Stored(label);
    ArchiveReader r(labelBytes);
    ASSERT_TRUE(back.Load(r));
    EXPECT_EQ(back.rect, label.rect);
    EXPECT_EQ(back.text, label.text);
    EXPECT_EQ(back.font, label.font);
    EXPECT_EQ(back.background, label.background);
    EXPECT_EQ(back.curve, 5);
    EXPECT_EQ(r.remaining(), 0u);

    CXGraphAxis axis;
    axis.SetDataRange(-3, 7);
    axis.label = "Sec";
    axis.colourRanges.push_back({1, 2, {9, 8, 7}, 3});
    CXGraphAxis axisBack;
    const auto axisStored = Stored(axis);
    ArchiveReader ra(axisStored);
    ASSERT_TRUE(axisBack.Load(ra));
    EXPECT_EQ(axisBack.curMin, -3.0);
    EXPECT_EQ(axisBack.label, "Sec");
    ASSERT_EQ(axisBack.colourRanges.size(), 1u);
    EXPECT_EQ(axisBack.colourRanges[0].colour, (Rgb{9, 8, 7}));
    EXPECT_EQ(ra.remaining(), 0u);

    CXGraphDataSerie curve;
    curve.points = {{1, 2}, {3, 4}};
    curve.name = "Laptime";
    CXGraphDataSerie curveBack;
    const auto curveStored = Stored(curve);
    ArchiveReader rc(curveStored);
    ASSERT_TRUE(curveBack.Load(rc));
    EXPECT_EQ(curveBack.points, curve.points);
    EXPECT_EQ(curveBack.name, "Laptime");

    CXGraphDataNotation note;
    note.x = 1.5;
    note.text = "[1] : a";
    CXGraphDataNotation noteBack;
    const auto noteStored = Stored(note);
    ArchiveReader rn(noteStored);
    ASSERT_TRUE(noteBack.Load(rn));
    EXPECT_EQ(noteBack.x, 1.5);
    EXPECT_EQ(noteBack.text, "[1] : a");
}

TEST(Archive, LayoutIsPinned) {
    CXGraphDataNotation note;
    note.rect = {1, -1, 2, 3};
    note.colour = {0x11, 0x22, 0x33};
    note.x = 1.0;
    note.y = -2.0;
    note.curve = 1;
    note.point = 7;
    note.text = "ab";
    const std::vector<std::uint8_t> expected = {
        0,    0,    0,    0, 0,    0,    0,    0,    0, 0,   0,  0, 0, 0, 0, 0,
        0,    0,    0,    0, 1,    0,    0,    0,    0, 0,   0,  0,                 // flags
        1,    0,    0,    0, 0xFF, 0xFF, 0xFF, 0xFF, 2, 0,   0,  0, 3, 0, 0, 0,     // rect
        0x11, 0x22, 0x33, 0,                                                        // colour
        0,    0,    0,    0, 0,    0,    0xF0, 0x3F, 0, 0,   0,  0, 0, 0, 0, 0xC0,  // x, y
        1,    0,    0,    0, 7,    0,    0,    0,    2, 'a', 'b'};
    EXPECT_EQ(Stored(note), expected);

    CXGraphLabel label;
    const auto bytes = Stored(label);
    // base 48, text 2, LOGFONT 60, five DWORDs and the curve
    ASSERT_EQ(bytes.size(), 48u + 2 + 60 + 24);
    EXPECT_EQ(bytes[48], 1);
    EXPECT_EQ(bytes[49], ' ');
    EXPECT_EQ(bytes[50], 14);  // cell height
    EXPECT_EQ(std::string(bytes.begin() + 50 + 28, bytes.begin() + 50 + 33), "Arial");

    CXGraphAxis axis;
    const auto axisBytes = Stored(axis);
    EXPECT_EQ(axisBytes.size(), 260u);
    CXGraphDataSerie curve;
    EXPECT_EQ(Stored(curve).size(), 48u + 4 + 11 * 4 + 12 + 2 + 4);
}

TEST(Archive, TruncatedOrOversizedArchivesAreRefused) {
    CXGraphDataSerie curve;
    curve.points = {{1, 2}, {3, 4}, {5, 6}};
    const auto bytes = Stored(curve);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        CXGraphDataSerie back;
        ArchiveReader r(std::span(bytes.data(), cut));
        EXPECT_FALSE(back.Load(r)) << cut;
    }
    auto huge = bytes;
    huge[48] = 0xFF;
    huge[49] = 0xFF;
    huge[50] = 0xFF;
    huge[51] = 0x7F;
    CXGraphDataSerie back;
    ArchiveReader r(huge);
    EXPECT_FALSE(back.Load(r));

    CXGraphAxis axis;
    auto axisBytes = Stored(axis);
    // the colour-range count sits before the two LOGFONTs
    const std::size_t countAt = axisBytes.size() - 120 - 4;
    axisBytes[countAt + 3] = 0x7F;
    CXGraphAxis axisBack;
    ArchiveReader ra(axisBytes);
    EXPECT_FALSE(axisBack.Load(ra));

    ArchiveWriter w;
    w.string(std::string(70000, 'a'));
    auto s = w.data();
    s.resize(100);
    std::string out;
    ArchiveReader rs(s);
    EXPECT_FALSE(rs.string(out));
}

}  // namespace
}  // namespace vra
