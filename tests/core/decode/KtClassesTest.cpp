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

#include <fmt/format.h>

using namespace vra;
using namespace vra::simkit;
using vra::test::ErrorOf;
using vra::test::Image;
using vra::test::ReadRoot;
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


TEST(KtTexture, KeepsEveryNameByteAtBothVersions) {
    for (int version : {1, 2}) {
        auto d = New<TextureDesc>();
        d->version = version;
        d->name = std::string("wall\0x.bmp", 10);
        auto t = ReadWhole(d, &KtObjectFactory::ReadTexture).object;
        EXPECT_EQ(t->GetVersion(), version);
        EXPECT_EQ(t->GetName(), d->name);
    }
    auto empty = New<TextureDesc>();
    empty->name.clear();
    EXPECT_EQ(ReadWhole(empty, &KtObjectFactory::ReadTexture).object->GetName(), "");
}

TEST(KtTextureCoords, StepsOverWholeDoublesOfBothListsAndTheBlocks) {
    for (int version : {1, 5}) {
        auto d = New<TextureCoordsDesc>();
        d->version = version;
        d->value = -3;
        d->firstList = {1.0, 2.0};
        d->blocks[0] = std::vector<std::uint8_t>(24, 1);
        d->blocks[21] = std::vector<std::uint8_t>(8, 2);
        auto c = ReadWhole(d, &KtObjectFactory::ReadTextureCoords).object;
        EXPECT_EQ(c->GetValue(), -3);
        EXPECT_EQ(c->GetFirstByteCount(), 16u);
        EXPECT_EQ(c->GetSecondByteCount(), 0u);
    }
    // A byte count that is not a multiple of 8 leaves its remainder unread:
    // the next count follows the last whole double.
    auto odd = New<TextureCoordsDesc>();
    odd->firstList = {1.0};
    odd->firstByteCount = 13;
    EXPECT_EQ(ReadWhole(odd, &KtObjectFactory::ReadTextureCoords).object->GetFirstByteCount(), 13u);
}

TEST(KtAppearance, SlotsArePresentWhereATextureIsNamed) {
    auto d = AppearanceWithSlots({1, 4, 6});
    d->values = {1.5, 2.5, 3.5};
    auto a = ReadWhole(d, &KtObjectFactory::ReadAppearance).object;
    for (int s = 0; s < KtAppearance::kSlots; ++s) EXPECT_EQ(a->IsSlotPresent(s), s == 1 || s == 4 || s == 6) << s;
    EXPECT_EQ(a->GetPresentSlotCount(), 3);
    EXPECT_EQ(a->GetValues()[2], 3.5);
    EXPECT_EQ(ReadWhole(New<AppearanceDesc>(), &KtObjectFactory::ReadAppearance).object->GetPresentSlotCount(), 0);
}

TEST(KtXSection, ReadsBothVersionsAndSizesTheTrailingRecordFromItsTypes) {
    auto v2 = New<XSectionDesc>();
    v2->values = {1, 2, 3, 4, 5, 6};
    auto x = ReadWhole(v2, &KtObjectFactory::ReadXSection).object;
    EXPECT_EQ(x->GetValues()[5], 6);

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
        EXPECT_EQ(got->GetValues()[0], 0.5);
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

TEST(KtFSection, ReadsOffsetsAndTexturesAtBothVersions) {
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
        EXPECT_TRUE(f->GetAppearance());
        EXPECT_TRUE(f->GetTextureCoords());
    }
}

TEST(KtFSection, ReadsNoTextureCoordinatesWithoutAPresentSlot) {
    auto plain = New<FSectionDesc>();
    auto f = ReadWhole(plain, &KtObjectFactory::ReadFSection).object;
    EXPECT_FALSE(f->GetAppearance());
    EXPECT_FALSE(f->GetTextureCoords());

    auto bare = New<FSectionDesc>();
    bare->appearance = New<AppearanceDesc>();
    f = ReadWhole(bare, &KtObjectFactory::ReadFSection).object;
    EXPECT_TRUE(f->GetAppearance());
    EXPECT_FALSE(f->GetTextureCoords());
}

TEST(KtWSection, ReadsEachVersionWithItsItems) {
    for (int version : {5, 6, 7}) {
        auto d = New<WSectionDesc>();
        d->version = version;
        d->startOffset = 7.5;
        d->endOffset = 8.25;
        d->straight = true;
        d->further = {1, 2, 3, 4};
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
        EXPECT_EQ(w->GetVersion(), version);
        EXPECT_TRUE(w->IsStraight());
        EXPECT_EQ(w->GetStartOffset(), 7.5);
        EXPECT_EQ(w->GetEndOffset(), 8.25);
        EXPECT_EQ(w->GetFurtherValues()[3], 4);
        EXPECT_EQ(w->GetValue(), 12);
        EXPECT_EQ(w->GetItemCount(), 3u);
    }
}

TEST(KtSegment, ReadsListsPoseAndTheVersionTwoTail) {
    for (int version : {1, 2}) {
        auto d = New(CornerSegment(10, 20, 0.5, 40, -1.0));
        d->version = version;
        d->records12 = version == 2 ? 3 : 0;
        d->records16 = 0;
        d->xSections.refs = {New<XSectionDesc>()};
        auto shared = New<FSectionDesc>();
        d->fSections.refs = {shared, Ref<FSectionDesc>(), shared};  // count 3, one null
        d->fSections.listWord = 77;
        d->wSections.refs = {New<WSectionDesc>(), New<WSectionDesc>()};
        auto s = ReadWhole(d, &KtObjectFactory::ReadSegment).object;
        EXPECT_EQ(s->GetType(), 1);
        EXPECT_EQ(s->GetStartX(), d->startX);
        EXPECT_EQ(s->GetStartY(), d->startY);
        EXPECT_EQ(s->GetStartHeading(), d->startHeading);
        EXPECT_EQ(s->GetEndX(), d->endX);
        EXPECT_EQ(s->GetEndY(), d->endY);
        EXPECT_EQ(s->GetEndHeading(), d->endHeading);
        EXPECT_EQ(s->GetXSectionCount(), 1u);
        EXPECT_EQ(s->GetXSections().size(), 1u);
        EXPECT_EQ(s->GetFSectionCount(), 3u);
        ASSERT_EQ(s->GetFSections().size(), 2u) << "the null reference is not added";
        EXPECT_EQ(s->GetFSections()[0].get(), s->GetFSections()[1].get());
        EXPECT_EQ(s->GetWSectionCount(), 2u);
        EXPECT_EQ(s->GetWSections().size(), 2u);
    }
}

TEST(KtTSO, ReadsBothVersions) {
    for (int version : {2, 3}) {
        auto d = New<TSODesc>();
        d->version = version;
        d->secondString = std::string("a\0b", 3);
        EXPECT_EQ(ReadWhole(d, &KtObjectFactory::ReadTSO).object->GetVersion(), version);
    }
    auto empty = New<TSODesc>();
    empty->firstString.clear();
    empty->secondString.clear();
    ReadWhole(empty, &KtObjectFactory::ReadTSO);
}

TEST(KtTSOReference, StoresValuesInFileOrderAndReadsTheVersionSixTail) {
    auto d = New<TSOReferenceDesc>();
    d->p = {1, 2, 3, 4, 5, 6};
    d->tso = New<TSODesc>();
    auto r = ReadWhole(d, &KtObjectFactory::ReadTSOReference).object;
    EXPECT_EQ(r->GetValues(), d->p);
    EXPECT_TRUE(r->GetTSO());
    EXPECT_EQ(r->GetFlag(), 0) << "version 1 has no flag";

    for (std::uint8_t flag : {0, 1, 2}) {
        auto v6 = New<TSOReferenceDesc>();
        v6->version = 6;
        v6->flag = flag;
        v6->records40 = 2;
        v6->tailBytes = 3;
        auto got = ReadWhole(v6, &KtObjectFactory::ReadTSOReference).object;
        EXPECT_EQ(got->GetFlag(), flag);
        EXPECT_FALSE(got->GetTSO());
    }
}

TEST(KtTrackDetail, ReadsAppearanceIntegersAndGroups) {
    auto d = New<TrackDetailDesc>();
    d->appearance = AppearanceWithSlots({0});
    d->firstInteger = -5;
    d->secondInteger = 9;
    d->firstGroup = {1, 2, 3, 4};
    d->secondGroup = {5, 6, 7, 8};
    auto t = ReadWhole(d, &KtObjectFactory::ReadTrackDetail).object;
    EXPECT_TRUE(t->GetAppearance());
    EXPECT_EQ(t->GetFirstInteger(), -5);
    EXPECT_EQ(t->GetSecondInteger(), 9);
    EXPECT_EQ(t->GetFirstGroup(), d->firstGroup);
    EXPECT_EQ(t->GetSecondGroup(), d->secondGroup);
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
                                        const Image image = PtfBuilder::Build(Ref<TrackDesc>(desc));
                                        auto t = KtObjectFactory::ReadTrackImage(image);
                                        ASSERT_TRUE(t);
                                        ASSERT_EQ(t->GetSegments().size(), 2u);
                                        EXPECT_EQ(t->GetVersion(), track);
                                        EXPECT_EQ(t->GetSegments()[1]->GetFSections()[1].get(),
                                                  t->GetSegments()[0]->GetFSections()[1].get());
                                        EXPECT_EQ(t->GetTSOReferences()[0]->GetTSO().get(),
                                                  t->GetTSOReferences()[1]->GetTSO().get());
                                    }
}

TEST(KtTrack, HoldsSegmentsInOrderWithTheirGeometry) {
    auto desc = EveryClassTrack();
    auto t = KtObjectFactory::ReadTrackImage(PtfBuilder::Build(Ref<TrackDesc>(desc)));
    ASSERT_TRUE(t);
    EXPECT_TRUE(t->GetFlag());
    EXPECT_EQ(t->GetSegmentCount(), 2u);
    EXPECT_EQ(t->GetDetailCount(), 1u);
    EXPECT_EQ(t->GetTSOReferenceCount(), 2u);
    EXPECT_EQ(t->GetTSOReferences()[1]->GetValues()[0], desc->tsoReferences.refs[1].object->p[0]);
    for (std::size_t i = 0; i < 2; ++i) {
        const SegmentDesc& want = *desc->segments[i].object;
        const KtSegment& got = *t->GetSegments()[i];
        EXPECT_EQ(got.GetType(), want.type);
        EXPECT_EQ(got.GetEndX(), want.endX);
        EXPECT_EQ(got.GetEndHeading(), want.endHeading);
        ASSERT_EQ(got.GetFSections().size(), want.fSections.refs.size());
        for (std::size_t k = 0; k < got.GetFSections().size(); ++k) {
            EXPECT_EQ(got.GetFSections()[k]->GetStartOffset(), want.fSections.refs[k].object->startOffset);
            EXPECT_EQ(got.GetFSections()[k]->GetCode(), want.fSections.refs[k].object->code);
        }
        EXPECT_EQ(got.GetWSections()[0]->GetValue(), want.wSections.refs[0].object->kind);
    }
    // The detail's appearance is the one the first F section uses.
    EXPECT_EQ(t->GetDetails()[0]->GetAppearance().get(), t->GetSegments()[0]->GetFSections()[0]->GetAppearance().get());
}

TEST(KtTrack, EmptyAndNullSegmentLists) {
    auto empty = New<TrackDesc>();
    empty->segmentListWord = 5;  // present even with no segments
    auto t = ReadWhole(empty, &KtObjectFactory::ReadTrack).object;
    EXPECT_EQ(t->GetSegmentCount(), 0u);
    EXPECT_TRUE(t->GetSegments().empty());

    auto holes = New<TrackDesc>();
    holes->version = 8;
    holes->segments = {Ref<SegmentDesc>(), New(StraightSegment(0, 0, 0, 10)), Ref<SegmentDesc>()};
    t = ReadWhole(holes, &KtObjectFactory::ReadTrack).object;
    EXPECT_EQ(t->GetSegmentCount(), 3u);
    EXPECT_EQ(t->GetSegments().size(), 1u);
}

// Header checks: every class's texts, lines and the offset of the value.
namespace {

struct HeaderCase {
    const char* name;        // without the prefix
    int lines[3];
    std::string versions;    // the accepted list as the message writes it
    std::int32_t badVersion;
    std::function<Image(std::int32_t first, std::int32_t second, std::int32_t version)> build;
    std::function<void(const Image&)> read;
};

template <typename D, typename T>
HeaderCase Case(const char* name, int l1, int l2, int l3, std::string versions, std::int32_t bad,
                bool (KtObjectFactory::*read)(PtfCursor&, CountedPtr<T>&)) {
    HeaderCase c{name, {l1, l2, l3}, std::move(versions), bad, nullptr, nullptr};
    c.build = [](std::int32_t first, std::int32_t second, std::int32_t version) {
        auto d = New<D>();
        d->first = first;
        d->second = second;
        if (version) {
            if constexpr (requires { d->version; }) d->version = version;
            else d->third = version;
        }
        return PtfBuilder::Build(Ref<D>(d));
    };
    c.read = [read](const Image& image) { ReadRoot(image, read); };
    return c;
}

std::string Expected(const HeaderCase& c, int which, std::int32_t value, std::size_t offset, const char* lead) {
    static const char* kinds[] = {"First value", "Second value", "Version"};
    static const char* should[] = {"1", "0", ""};
    const std::string tail = which == 2 ? c.versions : should[which];
    const char* prefix = (which == 1 && std::string(c.name) == "FSection") ? "n" : "";
    return fmt::format("Error reported in decode\\Kt{} near line {}\nError message:\n{}{} of {} is {}, it should "
                       "be {}\n{}{:x}\n",
                       c.name, c.lines[which], prefix, kinds[which], c.name, value, tail, lead, offset);
}

}  // namespace

TEST(KtObjectHeader, WrongValuesAreReportedWithTextLineAndOffset) {
    const std::vector<HeaderCase> cases = {
        Case<TrackDesc>("Track", 23, 33, 45, "6 or 8", 7, &KtObjectFactory::ReadTrack),
        Case<SegmentDesc>("Segment", 29, 39, 49, "1 or 2", 3, &KtObjectFactory::ReadSegment),
        Case<WSectionDesc>("WSection", 29, 39, 53, "5, 6 or 7", 4, &KtObjectFactory::ReadWSection),
        Case<XSectionDesc>("XSection", 24, 34, 47, "2 or 3", 1, &KtObjectFactory::ReadXSection),
        Case<FSectionDesc>("FSection", 38, 48, 60, "4 or 5", 6, &KtObjectFactory::ReadFSection),
        Case<TextureDesc>("Texture", 21, 31, 43, "1 or 2", 0x7fffffff, &KtObjectFactory::ReadTexture),
        Case<TextureCoordsDesc>("TextureCoords", 22, 32, 44, "1 or 5", 2, &KtObjectFactory::ReadTextureCoords),
        Case<TSODesc>("TSO", 18, 28, 39, "2 or 3", -2, &KtObjectFactory::ReadTSO),
        Case<TSOReferenceDesc>("TSOReference", 25, 35, 47, "1 or 6", 5, &KtObjectFactory::ReadTSOReference),
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t at = RootHeaderOffset(std::string("Kt").size() + std::string(c.name).size());
        EXPECT_EQ(ErrorOf([&] { c.read(c.build(0, 0, 0)); }), Expected(c, 0, 0, at, "Detected in ptf file @ 0x"));
        EXPECT_EQ(ErrorOf([&] { c.read(c.build(1, -1, 0)); }), Expected(c, 1, -1, at + 4, "Detected in ptf file @ 0x"));
        const char* lead = std::string(c.name) == "Track" ? "Detected in ptf file @ 0x = " : "Detected in ptf file @ 0x";
        EXPECT_EQ(ErrorOf([&] { c.read(c.build(1, 0, c.badVersion)); }), Expected(c, 2, c.badVersion, at + 8, lead));
    }
}

TEST(KtObjectHeader, TrackDetailChecksItsThirdValue) {
    auto d = New<TrackDetailDesc>();
    d->third = 1;
    const std::size_t at = RootHeaderOffset(std::string("KtTrackDetail").size());
    EXPECT_EQ(ErrorOf([&] { ReadRoot(PtfBuilder::Build(Ref<TrackDetailDesc>(d)), &KtObjectFactory::ReadTrackDetail); }),
              fmt::format("Error reported in decode\\KtTrackDetail near line 48\nError message:\nThird value of "
                          "TrackDetail is 1, it should be 0\nDetected in ptf file @ 0x{:x}\n",
                          at + 8));
    d->third = 0;
    d->first = 2;
    EXPECT_EQ(ErrorOf([&] { ReadRoot(PtfBuilder::Build(Ref<TrackDetailDesc>(d)), &KtObjectFactory::ReadTrackDetail); }),
              fmt::format("Error reported in decode\\KtTrackDetail near line 28\nError message:\nFirst value of "
                          "TrackDetail is 2, it should be 1\nDetected in ptf file @ 0x{:x}\n",
                          at));
}

TEST(KtObjectHeader, AppearanceBuildsItsOwnMessages) {
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
