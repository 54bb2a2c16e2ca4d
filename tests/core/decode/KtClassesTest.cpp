// Every track object class decoded from built streams at each version it
// accepts, and the header checks with their messages.
#include "core/decode/KtAppearance.h"
#include "core/decode/KtFSection.h"
#include "core/decode/KtTSO.h"
#include "core/decode/KtTSOReference.h"
#include "core/decode/KtTexture.h"
#include "core/decode/KtTextureCoords.h"
#include "core/decode/KtTrack.h"
#include "core/decode/KtTrackDetail.h"
#include "core/decode/KtWSection.h"
#include "core/decode/KtXSection.h"

#include "DecodeTestUtil.h"

#include <gtest/gtest.h>

namespace {

template <typename D, typename T>
Root<T> ReadWhole(const std::shared_ptr<D>& d, bool (KtObjectFactory::*read)(PtfCursor&, CountedPtr<T>&)) {
    const Image image = PtfBuilder::Build(Ref<D>(d));
    auto root = ReadRoot(image, read);
    EXPECT_TRUE(root.found);
    EXPECT_EQ(root.consumed, image.size()) << "the body is read exactly";
    return root;
}

}  // namespace

// Every version of every class is read whole by
// KtTrack.EveryClassAtEveryVersionDecodesWithSharing; these are the readings
// that differ by value or by width.
TEST(KtClasses, NamesKeepEveryByteAndOddByteCountsLeaveTheirRemainder) {
    auto tex = Made<TextureDesc>([](auto& t) { t.version = 1, t.name = std::string("wall\0x.bmp", 10); });
    EXPECT_EQ(ReadWhole(tex, &KtObjectFactory::ReadTexture).object->GetName(), tex->name);
    tex->name.clear();
    EXPECT_EQ(ReadWhole(tex, &KtObjectFactory::ReadTexture).object->GetName(), "");

    // The next count follows the last whole double.
    auto odd = Made<TextureCoordsDesc>(
        [](auto& c) { c.firstList = {1.0}, c.firstByteCount = 13, c.blocks[21] = std::vector<std::uint8_t>(8, 2); });
    EXPECT_EQ(ReadWhole(odd, &KtObjectFactory::ReadTextureCoords).object->GetFirstByteCount(), 13u);

    ReadWhole(Made<TSODesc>([](auto& t) { t.firstString.clear(), t.secondString = std::string("a\0b", 3); }),
              &KtObjectFactory::ReadTSO);
    for (std::uint8_t flag : {0, 1, 2}) {  // the 44-byte block only when the flag is not 1
        auto v6 =
            Made<TSOReferenceDesc>([&](auto& d) { d.version = 6, d.flag = flag, d.records40 = 2, d.tailBytes = 3; });
        EXPECT_EQ(ReadWhole(v6, &KtObjectFactory::ReadTSOReference).object->GetFlag(), flag);
    }
}

TEST(KtXSection, SizesTheTrailingRecordFromItsTypes) {
    struct Case {
        std::uint8_t first, second;
        std::vector<std::uint8_t> trailing;  // exactly the bytes the decoder must skip
    };
    const std::vector<Case> cases = {
        {0, 0, {}},
        {0, 1, XSectionDesc::Chain({1})},
        {0, 2, XSectionDesc::Chain({2})},
        {0, 3, {}},
        {1, 9, XSectionDesc::Chain({1})},
        {1, 0, XSectionDesc::Chain({1, 1})},
        {1, 0, XSectionDesc::Chain({1, 2})},
        {2, 0, XSectionDesc::Chain({2})},
        {2, 7, XSectionDesc::Chain({2, 1})},
        {2, 0, XSectionDesc::Chain({2, 2})},
        {3, 1, {}},
    };
    for (const auto& c : cases) {
        auto d = Made<XSectionDesc>([&](auto& x) {
            x.version = 3, x.values = {0.5, 2, 1.25, -4, 5, 8};
            x.firstType = c.first, x.secondType = c.second, x.trailing = c.trailing;
        });
        auto got = ReadWhole(d, &KtObjectFactory::ReadXSection).object;
        EXPECT_EQ(got->GetFirstType(), c.first);
        EXPECT_EQ(got->GetSecondType(), c.second);
        EXPECT_EQ(got->GetValues()[3], -4);
    }
    // A chain byte outside 0..2 ends the record before its first sub-record:
    // nothing is skipped, so the 8 bytes are left over.
    auto bad =
        Made<XSectionDesc>([](auto& x) { x.version = 3, x.firstType = 1, x.trailing = XSectionDesc::Chain({1}); });
    bad->trailing.back() = 5;
    const Image image = PtfBuilder::Build(Ref<XSectionDesc>(bad));
    EXPECT_EQ(ReadRoot(image, &KtObjectFactory::ReadXSection).consumed, image.size() - 8);
}

TEST(KtFSection, OffsetsInEitherWidthAndCoordinatesOnlyWithAPresentSlot) {
    for (int version : {4, 5})
        for (bool present : {false, true}) {
            auto d = Made<FSectionDesc>([&](auto& f) {
                f.version = version, f.startOffset = 1.5, f.endOffset = -3.25, f.straight = true, f.code = 17;
                f.appearance = New<AppearanceDesc>();
                if (!present) return;
                f.appearance.object->textures[3] = f.appearance.object->textures[5] = New<TextureDesc>();
                f.textureCoords = New<TextureCoordsDesc>();
                f.slots.flags = {1, 0};  // the second slot's record follows its 0 flag
            });
            auto f = ReadWhole(d, &KtObjectFactory::ReadFSection).object;
            EXPECT_TRUE(f->IsStraight());
            EXPECT_EQ(std::vector<double>({f->GetStartOffset(), f->GetEndOffset()}), std::vector<double>({1.5, -3.25}));
            EXPECT_EQ(f->GetCode(), 17);
            EXPECT_TRUE(f->GetAppearance());
            EXPECT_EQ(bool(f->GetTextureCoords()), present);
        }
}

TEST(KtTrack, EveryClassAtEveryVersionDecodesWithSharing) {
    // Every combination of the accepted versions: bit k of i picks the
    // second version of class k; W sections take all three.
    for (int i = 0; i < 3 * 256; ++i) {
        auto pick = [&](int k, int a, int b) { return (i >> k) & 1 ? b : a; };
        ClassVersions v{pick(0, 6, 8), pick(1, 1, 2), pick(2, 2, 3), pick(3, 4, 5), 5 + i / 256,
                        pick(4, 1, 2), pick(5, 1, 5), pick(6, 2, 3), pick(7, 1, 6)};
        auto t = KtObjectFactory::ReadTrackImage(PtfBuilder::Build(Ref<TrackDesc>(EveryClassTrack(v))));
        ASSERT_TRUE(t) << i;
        ASSERT_EQ(t->GetSegments().size(), 2u);
        EXPECT_EQ(t->GetVersion(), v.track);
        EXPECT_EQ(t->GetSegments()[1]->GetFSections()[1].get(), t->GetSegments()[0]->GetFSections()[1].get());
        EXPECT_EQ(t->GetTSOReferences()[0]->GetTSO().get(), t->GetTSOReferences()[1]->GetTSO().get());
        EXPECT_EQ(t->GetDetails()[0]->GetAppearance().get(),
                  t->GetSegments()[0]->GetFSections()[0]->GetAppearance().get());
    }
    auto empty = Made<TrackDesc>([](auto& t) { t.segmentListWord = 5; });
    auto t = ReadWhole(empty, &KtObjectFactory::ReadTrack).object;  // the list word is still read
    EXPECT_EQ(t->GetSegmentCount(), 0u);
    EXPECT_TRUE(t->GetSegments().empty());
}

// Header checks: every class's texts, lines and the offset of the value.
TEST(KtObjectHeader, WrongValuesAreReportedWithTextLineAndOffset) {
    // The error of reading a default object whose header value `which`
    // (0 first, 1 second, 2 version) is replaced by value.
    using HeaderError = std::function<std::string(int which, std::int32_t value)>;
    auto of = []<typename D, typename T>(D*, bool (KtObjectFactory::*read)(PtfCursor&, CountedPtr<T>&)) -> HeaderError {
        return [read](int which, std::int32_t value) {
            return ReadError(Made<D>([&](D& d) {
                                 (which == 0 ? d.first : which == 1 ? d.second : d.version) = value;
                             }),
                             read);
        };
    };
    struct Case {
        std::string name;  // without the prefix
        int lines[3];
        std::string versions;  // the accepted list as the message writes it
        std::int32_t badVersion;
        HeaderError error;
    };
    using F = KtObjectFactory;
    const std::vector<Case> cases = {
        {"Track", {23, 33, 45}, "6 or 8", 7, of((TrackDesc*)nullptr, &F::ReadTrack)},
        {"Segment", {29, 39, 49}, "1 or 2", 3, of((SegmentDesc*)nullptr, &F::ReadSegment)},
        {"WSection", {29, 39, 53}, "5, 6 or 7", 4, of((WSectionDesc*)nullptr, &F::ReadWSection)},
        {"XSection", {24, 34, 47}, "2 or 3", 1, of((XSectionDesc*)nullptr, &F::ReadXSection)},
        {"FSection", {38, 48, 60}, "4 or 5", 6, of((FSectionDesc*)nullptr, &F::ReadFSection)},
        {"Texture", {21, 31, 43}, "1 or 2", 0x7fffffff, of((TextureDesc*)nullptr, &F::ReadTexture)},
        {"TextureCoords", {22, 32, 44}, "1 or 5", 2, of((TextureCoordsDesc*)nullptr, &F::ReadTextureCoords)},
        {"TSO", {18, 28, 39}, "2 or 3", -2, of((TSODesc*)nullptr, &F::ReadTSO)},
        {"TSOReference", {25, 35, 47}, "1 or 6", 5, of((TSOReferenceDesc*)nullptr, &F::ReadTSOReference)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t at = 12 + 2 + c.name.size();  // after id, class id, name length and "Kt" name
        auto expected = [&](int which, const std::string& text, const char* lead) {
            return Frame(("decode\\Kt" + c.name).c_str(), c.lines[which],
                         fmt::format("{}\n{}{:x}\n", text, lead, at + 4 * static_cast<std::size_t>(which)));
        };
        const char* lead = "Detected in ptf file @ 0x";
        EXPECT_EQ(c.error(0, 0), expected(0, fmt::format("First value of {} is 0, it should be 1", c.name), lead));
        // This class's second-value message has always begun with a stray "n".
        const std::string n = c.name == "FSection" ? "n" : "";
        EXPECT_EQ(c.error(1, -1),
                  expected(1, n + fmt::format("Second value of {} is -1, it should be 0", c.name), lead));
        EXPECT_EQ(c.error(2, c.badVersion),
                  expected(2, fmt::format("Version of {} is {}, it should be {}", c.name, c.badVersion, c.versions),
                           c.name == "Track" ? "Detected in ptf file @ 0x = " : lead));
    }
}

TEST(KtObjectHeader, TrackDetailAndAppearanceCheckAThirdValue) {
    const std::size_t at = 12 + std::string("KtTrackDetail").size();
    auto detail = [](std::int32_t first, std::int32_t third) {
        return ReadError(Made<TrackDetailDesc>([&](auto& d) { d.first = first, d.third = third; }),
                         &KtObjectFactory::ReadTrackDetail);
    };
    EXPECT_EQ(
        detail(1, 1),
        Frame("decode\\KtTrackDetail", 48,
              fmt::format("Third value of TrackDetail is 1, it should be 0\nDetected in ptf file @ 0x{:x}\n", at + 8)));
    EXPECT_EQ(
        detail(2, 0),
        Frame("decode\\KtTrackDetail", 28,
              fmt::format("First value of TrackDetail is 2, it should be 1\nDetected in ptf file @ 0x{:x}\n", at)));
    auto read = [](std::int32_t first, std::int32_t second, std::int32_t third) {
        return ReadError(Made<AppearanceDesc>([&](auto& d) { d.first = first, d.second = second, d.third = third; }),
                         &KtObjectFactory::ReadAppearance);
    };
    const std::string in = "Error in file decode\\KtAppearance @ line ";
    EXPECT_EQ(read(0, 0, 2), in + "21\nFirst value of Appearance is not a 1 which it should be.");
    EXPECT_EQ(read(1, 1, 2), in + "33\nSecond value of Appearance is not a 0 which it should be.");
    EXPECT_EQ(read(1, 0, 3), in + "45\nThird value of Appearance is not a 2 which it should be.");
}
