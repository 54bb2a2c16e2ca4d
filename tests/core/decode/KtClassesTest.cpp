// Every track object class decoded from built streams at each version it
// accepts, and the header checks with their messages.
#include "DecodeTestUtil.h"

#include "decode/KtAppearance.h"
#include "decode/KtFSection.h"
#include "decode/KtSegment.h"
#include "decode/KtTSO.h"
#include "decode/KtTSOReference.h"
#include "decode/KtTexture.h"
#include "decode/KtTextureCoords.h"
#include "decode/KtTrack.h"
#include "decode/KtTrackDetail.h"
#include "decode/KtWSection.h"
#include "decode/KtXSection.h"

#include <gtest/gtest.h>

using vra::test::RootHeaderOffset;
using vra::test::Root;

namespace {

template <typename D, typename T>
Root<T> ReadWhole(const std::shared_ptr<D>& d, bool (KtObjectFactory::*read)(PtfCursor&, CountedPtr<T>&)) {
    const Image image = PtfBuilder::Build(Ref<D>(d));
    auto root = ReadRoot(image, read);
    EXPECT_TRUE(root.found);
    EXPECT_EQ(root.consumed, image.size()) << "the body is read exactly";
    return root;
}

std::shared_ptr<AppearanceDesc> AppearanceWithSlots(std::initializer_list<int> slots) {
    auto a = New<AppearanceDesc>();
    for (int s : slots) a->textures[s] = New<TextureDesc>();
    return a;
}

}  // namespace

// Every version of every class is read whole by
// KtTrack.EveryClassAtEveryVersionDecodesWithSharing; these are the readings
// that differ by value or by width.
TEST(KtClasses, NamesKeepEveryByteAndOddByteCountsLeaveTheirRemainder) {
    auto tex = New<TextureDesc>();
    tex->version = 1;
    tex->name = std::string("wall\0x.bmp", 10);
    EXPECT_EQ(ReadWhole(tex, &KtObjectFactory::ReadTexture).object->GetName(), tex->name);
    tex->name.clear();
    EXPECT_EQ(ReadWhole(tex, &KtObjectFactory::ReadTexture).object->GetName(), "");

    // The next count follows the last whole double.
    auto odd = New<TextureCoordsDesc>();
    odd->firstList = {1.0};
    odd->firstByteCount = 13;
    odd->blocks[21] = std::vector<std::uint8_t>(8, 2);
    EXPECT_EQ(ReadWhole(odd, &KtObjectFactory::ReadTextureCoords).object->GetFirstByteCount(), 13u);

    auto tso = New<TSODesc>();
    tso->firstString.clear();
    tso->secondString = std::string("a\0b", 3);
    ReadWhole(tso, &KtObjectFactory::ReadTSO);
    for (std::uint8_t flag : {0, 1, 2}) {  // the 44-byte block only when the flag is not 1
        auto v6 = New<TSOReferenceDesc>();
        v6->version = 6;
        v6->flag = flag;
        v6->records40 = 2;
        v6->tailBytes = 3;
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
        auto d = New<XSectionDesc>();
        d->version = 3;
        d->values = {0.5, 2, 1.25, -4, 5, 8};
        d->firstType = c.first;
        d->secondType = c.second;
        d->trailing = c.trailing;
        auto got = ReadWhole(d, &KtObjectFactory::ReadXSection).object;
        EXPECT_EQ(got->GetFirstType(), c.first);
        EXPECT_EQ(got->GetSecondType(), c.second);
        EXPECT_EQ(got->GetValues()[3], -4);
    }
    // A chain byte outside 0..2 ends the record before its first sub-record:
    // nothing is skipped, so the 8 bytes are left over.
    auto bad = New<XSectionDesc>();
    bad->version = 3;
    bad->firstType = 1;
    bad->trailing = XSectionDesc::Chain({1});
    bad->trailing.back() = 5;
    const Image image = PtfBuilder::Build(Ref<XSectionDesc>(bad));
    EXPECT_EQ(ReadRoot(image, &KtObjectFactory::ReadXSection).consumed, image.size() - 8);
}

TEST(KtSections, OffsetsInEitherWidthAndTexturesOnlyForPresentSlots) {
    for (int version : {4, 5}) {
        auto d = New<FSectionDesc>();
        d->version = version;
        d->startOffset = 1.5;
        d->endOffset = -3.25;
        d->straight = true;
        d->code = 17;
        d->appearance = AppearanceWithSlots({0, 3, 5});
        d->textureCoords = New<TextureCoordsDesc>();
        d->slots.flags = {1, 0, 0};
        auto f = ReadWhole(d, &KtObjectFactory::ReadFSection).object;
        EXPECT_TRUE(f->IsStraight());
        EXPECT_EQ(f->GetStartOffset(), 1.5);
        EXPECT_EQ(f->GetEndOffset(), -3.25);
        EXPECT_EQ(f->GetCode(), 17);
        EXPECT_TRUE(f->GetTextureCoords());
    }
    auto bare = New<FSectionDesc>();
    bare->appearance = New<AppearanceDesc>();
    auto f = ReadWhole(bare, &KtObjectFactory::ReadFSection).object;
    EXPECT_TRUE(f->GetAppearance());
    EXPECT_FALSE(f->GetTextureCoords()) << "no present slot, no coordinates";

    for (int version : {5, 6, 7}) {
        auto d = New<WSectionDesc>();
        d->version = version;
        d->startOffset = 7.5;
        d->endOffset = 8.25;
        d->records40 = 3;
        d->kind = 12;
        WItemDesc textured;
        textured.groups[1].appearance = AppearanceWithSlots({2, 6});
        textured.groups[1].slots.flags = {0, 0};
        textured.groups[4].appearance = textured.groups[1].appearance;  // back-reference
        textured.groups[4].textureCoords = New<TextureCoordsDesc>();
        WItemDesc plain;
        plain.lead = 3.0;
        d->items = {textured, plain, plain};
        auto w = ReadWhole(d, &KtObjectFactory::ReadWSection).object;
        EXPECT_EQ(w->GetStartOffset(), 7.5);
        EXPECT_EQ(w->GetEndOffset(), 8.25);
        EXPECT_EQ(w->GetValue(), 12);
        EXPECT_EQ(w->GetItemCount(), 3u);
    }
}

TEST(KtSegment, ReadsListsPoseAndTheVersionTwoTail) {
    for (int version : {1, 2}) {
        auto d = New(CornerSegment(10, 20, 0.5, 40, -1.0));
        d->version = version;
        d->records12 = version == 2 ? 3 : 0;
        d->xSections.refs = {New<XSectionDesc>()};
        auto shared = New<FSectionDesc>();
        d->fSections.refs = {shared, Ref<FSectionDesc>(), shared};  // count 3, one null
        d->wSections.refs = {New<WSectionDesc>(), New<WSectionDesc>()};
        auto s = ReadWhole(d, &KtObjectFactory::ReadSegment).object;
        EXPECT_EQ(s->GetType(), 1);
        EXPECT_EQ(std::vector<double>({s->GetStartX(), s->GetStartY(), s->GetStartHeading(), s->GetEndX(),
                                       s->GetEndY(), s->GetEndHeading()}),
                  std::vector<double>({d->startX, d->startY, d->startHeading, d->endX, d->endY, d->endHeading}));
        EXPECT_EQ(s->GetXSections().size(), 1u);
        EXPECT_EQ(s->GetFSectionCount(), 3u);
        ASSERT_EQ(s->GetFSections().size(), 2u) << "the null reference is not added";
        EXPECT_EQ(s->GetFSections()[0].get(), s->GetFSections()[1].get());
        EXPECT_EQ(s->GetWSections().size(), 2u);
    }
}

TEST(KtTrack, EveryClassAtEveryVersionDecodesWithSharing) {
    for (int track : {6, 8})
        for (int segment : {1, 2})
            for (int x : {2, 3})
                for (int f : {4, 5})
                    for (int w : {5, 6, 7})
                        for (int tex : {1, 2})
                            for (int coords : {1, 5})
                                for (int tso : {2, 3})
                                    for (int tsoRef : {1, 6}) {
                                        ClassVersions v{track, segment, x, f, w, tex, coords, tso, tsoRef};
                                        auto desc = EveryClassTrack(v);
                                        auto t = KtObjectFactory::ReadTrackImage(PtfBuilder::Build(Ref<TrackDesc>(desc)));
                                        ASSERT_TRUE(t);
                                        ASSERT_EQ(t->GetSegments().size(), 2u);
                                        EXPECT_EQ(t->GetVersion(), track);
                                        EXPECT_EQ(t->GetSegments()[1]->GetFSections()[1].get(),
                                                  t->GetSegments()[0]->GetFSections()[1].get());
                                        EXPECT_EQ(t->GetTSOReferences()[0]->GetTSO().get(),
                                                  t->GetTSOReferences()[1]->GetTSO().get());
                                        EXPECT_EQ(t->GetDetails()[0]->GetAppearance().get(),
                                                  t->GetSegments()[0]->GetFSections()[0]->GetAppearance().get());
                                    }
}

TEST(KtTrack, EmptySegmentListStillHasItsListWord) {
    auto empty = New<TrackDesc>();
    empty->segmentListWord = 5;
    auto t = ReadWhole(empty, &KtObjectFactory::ReadTrack).object;
    EXPECT_EQ(t->GetSegmentCount(), 0u);
    EXPECT_TRUE(t->GetSegments().empty());
}

// Header checks: every class's texts, lines and the offset of the value.
namespace {

// The error of reading a default object of D whose header value `which`
// (0 first, 1 second, 2 version) is replaced by value.
using HeaderError = std::function<std::string(int which, std::int32_t value)>;

template <typename D, typename T>
HeaderError HeaderOf(bool (KtObjectFactory::*read)(PtfCursor&, CountedPtr<T>&)) {
    return [read](int which, std::int32_t value) {
        auto d = New<D>();
        (which == 0 ? d->first : which == 1 ? d->second : d->version) = value;
        return ErrorOf([&] { ReadRoot(PtfBuilder::Build(Ref<D>(d)), read); });
    };
}

}  // namespace

TEST(KtObjectHeader, WrongValuesAreReportedWithTextLineAndOffset) {
    struct Case {
        std::string name;      // without the prefix
        int lines[3];
        std::string versions;  // the accepted list as the message writes it
        std::int32_t badVersion;
        HeaderError error;
    };
    const std::vector<Case> cases = {
        {"Track", {23, 33, 45}, "6 or 8", 7, HeaderOf<TrackDesc>(&KtObjectFactory::ReadTrack)},
        {"Segment", {29, 39, 49}, "1 or 2", 3, HeaderOf<SegmentDesc>(&KtObjectFactory::ReadSegment)},
        {"WSection", {29, 39, 53}, "5, 6 or 7", 4, HeaderOf<WSectionDesc>(&KtObjectFactory::ReadWSection)},
        {"XSection", {24, 34, 47}, "2 or 3", 1, HeaderOf<XSectionDesc>(&KtObjectFactory::ReadXSection)},
        {"FSection", {38, 48, 60}, "4 or 5", 6, HeaderOf<FSectionDesc>(&KtObjectFactory::ReadFSection)},
        {"Texture", {21, 31, 43}, "1 or 2", 0x7fffffff, HeaderOf<TextureDesc>(&KtObjectFactory::ReadTexture)},
        {"TextureCoords", {22, 32, 44}, "1 or 5", 2, HeaderOf<TextureCoordsDesc>(&KtObjectFactory::ReadTextureCoords)},
        {"TSO", {18, 28, 39}, "2 or 3", -2, HeaderOf<TSODesc>(&KtObjectFactory::ReadTSO)},
        {"TSOReference", {25, 35, 47}, "1 or 6", 5, HeaderOf<TSOReferenceDesc>(&KtObjectFactory::ReadTSOReference)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t at = RootHeaderOffset(2 + c.name.size());
        auto expected = [&](int which, const std::string& text, const char* lead) {
            return Frame(("decode\\Kt" + c.name).c_str(), c.lines[which],
                         fmt::format("{}\n{}{:x}\n", text, lead, at + 4 * static_cast<std::size_t>(which)));
        };
        const char* lead = "Detected in ptf file @ 0x";
        EXPECT_EQ(c.error(0, 0), expected(0, fmt::format("First value of {} is 0, it should be 1", c.name), lead));
        // This class's second-value message has always begun with a stray "n".
        const std::string n = c.name == "FSection" ? "n" : "";
        EXPECT_EQ(c.error(1, -1), expected(1, n + fmt::format("Second value of {} is -1, it should be 0", c.name), lead));
        EXPECT_EQ(c.error(2, c.badVersion),
                  expected(2, fmt::format("Version of {} is {}, it should be {}", c.name, c.badVersion, c.versions),
                           c.name == "Track" ? "Detected in ptf file @ 0x = " : lead));
    }
}

TEST(KtObjectHeader, TrackDetailAndAppearanceCheckAThirdValue) {
    const std::size_t at = RootHeaderOffset(std::string("KtTrackDetail").size());
    auto detail = [](std::int32_t first, std::int32_t third) {
        auto d = New<TrackDetailDesc>();
        d->first = first;
        d->third = third;
        return ErrorOf([&] { ReadRoot(PtfBuilder::Build(Ref<TrackDetailDesc>(d)), &KtObjectFactory::ReadTrackDetail); });
    };
    EXPECT_EQ(detail(1, 1), Frame("decode\\KtTrackDetail", 48,
                                  fmt::format("Third value of TrackDetail is 1, it should be 0\nDetected in ptf file @ 0x{:x}\n", at + 8)));
    EXPECT_EQ(detail(2, 0), Frame("decode\\KtTrackDetail", 28,
                                  fmt::format("First value of TrackDetail is 2, it should be 1\nDetected in ptf file @ 0x{:x}\n", at)));

    auto read = [](std::int32_t first, std::int32_t second, std::int32_t third) {
        auto d = New<AppearanceDesc>();
        d->first = first;
        d->second = second;
        d->third = third;
        return ErrorOf([&] { ReadRoot(PtfBuilder::Build(Ref<AppearanceDesc>(d)), &KtObjectFactory::ReadAppearance); });
    };
    EXPECT_EQ(read(0, 0, 2),
              "Error in file decode\\KtAppearance @ line 21\nFirst value of Appearance is not a 1 which it should be.");
    EXPECT_EQ(read(1, 1, 2),
              "Error in file decode\\KtAppearance @ line 33\nSecond value of Appearance is not a 0 which it should be.");
    EXPECT_EQ(read(1, 0, 3),
              "Error in file decode\\KtAppearance @ line 45\nThird value of Appearance is not a 2 which it should be.");
}
