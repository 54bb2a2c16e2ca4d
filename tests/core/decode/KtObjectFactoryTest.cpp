#include "core/decode/KtAppearance.h"
#include "core/decode/KtSegment.h"
#include "core/decode/KtTexture.h"
#include "core/decode/KtTrack.h"

#include "DecodeTestUtil.h"

#include <gtest/gtest.h>

namespace {

// An appearance whose first two slots hold the given textures.
std::shared_ptr<AppearanceDesc> Look(Ref<TextureDesc> first, Ref<TextureDesc> second) {
    return Made<AppearanceDesc>([&](auto& a) { a.textures[0] = first, a.textures[1] = second; });
}

std::string AppearanceError(const std::shared_ptr<AppearanceDesc>& look) {
    return ReadError(look, &KtObjectFactory::ReadAppearance);
}

}  // namespace

TEST(KtObjectFactory, BackReferenceSharesTheObjectAndNullLeavesTheTarget) {
    auto texture = New<TextureDesc>();
    const Image image = PtfBuilder::Build(Ref<AppearanceDesc>(Look(texture, texture)));
    KtObjectFactory factory;
    PtfCursor pos(image, factory);
    CountedPtr<KtAppearance> appearance;
    ASSERT_TRUE(factory.ReadAppearance(pos, appearance));
    const auto& slots = appearance->GetSlots();
    ASSERT_TRUE(slots[0].texture);
    EXPECT_EQ(slots[0].texture.get(), slots[1].texture.get());
    EXPECT_EQ(slots[0].texture->GetName(), texture->name);
    EXPECT_EQ(slots[0].texture.UseCount(), 3);  // two slots and the factory's map
    factory.Clear();
    EXPECT_EQ(slots[0].texture.UseCount(), 2) << "Clear releases the factory's reference only";
    EXPECT_EQ(factory.GetLastId(), 0u);

    EXPECT_FALSE(KtObjectFactory::ReadTrackImage(PtfBuilder::Build(Ref<TrackDesc>()))) << "a null root gives no track";
}

TEST(KtObjectFactory, RefusesIdsOtherThanNextOrAnEarlierObjectOfTheClass) {
    // A new texture announced with the wrong id (next is 1).
    EXPECT_EQ(
        ReadError(Made<TextureDesc>([](auto& t) { t.id = 5; }), &KtObjectFactory::ReadTexture),
        Frame("decode\\KtObjectFactory", 130, " object id = 5 is invalid, expecting object id 1 for next object"));
    // A negative id is a huge unsigned one.
    EXPECT_EQ(ErrorOf([] { ReadRoot(PtfBuilder::Build(Ref<TrackDesc>::Raw(-1)), &KtObjectFactory::ReadTrack); }),
              Frame("decode\\KtObjectFactory", 91,
                    " object id = 4294967295 is invalid, expecting object id 1 for next object"));
    // Slot 2 refers back to the appearance's own class id (2), which names no
    // texture: the appearance is 1, its class 2, the texture 3, its class 4.
    EXPECT_EQ(
        AppearanceError(Look(New<TextureDesc>(), Ref<TextureDesc>::Raw(2))),
        Frame("decode\\KtObjectFactory", 130, " object id = 2 is invalid, expecting object id 5 for next object"));

    auto track = Made<TrackDesc>([](auto& t) { t.segments = {Ref<SegmentDesc>::Raw(9)}; });
    const Image image = PtfBuilder::Build(Ref<TrackDesc>(track));
    // The segment id is the last 4 bytes; the offset is of the byte after it.
    EXPECT_EQ(ErrorOf([&] { KtObjectFactory::ReadTrackImage(image); }),
              Frame("decode\\KtObjectFactory", 357,
                    fmt::format(" object id = 9 is invalid, expecting object id 3 for next object. Detected near "
                                "offset 0x{:x} in the ptf file.",
                                image.size())));
}

TEST(KtObjectFactory, ClassIdsRiseWithGapsAndNamesKeepNuls) {
    auto first = Made<TextureDesc>([](auto& t) { t.className = std::string("Kt\0Tex\0ture", 11); });
    // Same class: id then body, no name.
    auto second = Made<TextureDesc>([&](auto& t) { t.className = first->className; });
    const Image image = PtfBuilder::Build(Ref<AppearanceDesc>(Look(first, second)));
    KtObjectFactory factory;
    PtfCursor pos(image, factory);
    CountedPtr<KtAppearance> appearance;
    ASSERT_TRUE(factory.ReadAppearance(pos, appearance));
    EXPECT_EQ(pos.Remaining(), 0u);
    EXPECT_EQ(factory.GetClassName(2), "KtAppearance");
    EXPECT_EQ(factory.GetClassName(4), "KtTexture");
    // appearance 1, class 2, texture 3, class 4, texture 5
    EXPECT_EQ(appearance->GetSlots()[1].texture->GetId(), 5);
    EXPECT_EQ(factory.GetLastId(), 5u);

    // A gap is accepted, and the next object is 41.
    auto gap = Made<TextureDesc>([](auto& t) { t.classId = 40; });
    auto after = Made<TextureDesc>([](auto& t) { t.className = "KtOther"; });
    auto result = ReadRoot(PtfBuilder::Build(Ref<AppearanceDesc>(Look(gap, after))), &KtObjectFactory::ReadAppearance);
    EXPECT_EQ(result.object->GetSlots()[1].texture->GetId(), 41);
    // A new class under an id already used by an object would move the numbering backwards.
    const std::string error =
        AppearanceError(Look(Made<TextureDesc>([](auto& t) { t.classId = 1, t.className = "KtNew"; }), {}));
    EXPECT_NE(error.find("class id 1"), std::string::npos) << error;
}

TEST(KtObjectFactory, ToleratesUpToThreePadBytesAfterTheTrack) {
    Image image = PtfBuilder::Build(Ref<TrackDesc>(EveryClassTrack()));
    for (int pad = 0; pad <= 3; ++pad, image.push_back(0)) EXPECT_TRUE(KtObjectFactory::ReadTrackImage(image)) << pad;
    EXPECT_NE(ErrorOf([&] { KtObjectFactory::ReadTrackImage(image); }), "");
}

TEST(KtObjectFactory, LoadsAreIndependent) {
    const Image image = PtfBuilder::Build(Ref<TrackDesc>(EveryClassTrack()));
    auto first = KtObjectFactory::ReadTrackImage(image);
    auto second = KtObjectFactory::ReadTrackImage(image);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->GetSegments()[0].get(), second->GetSegments()[0].get());
    // Nothing but the track holds the objects of a finished load.
    EXPECT_EQ(first.UseCount(), 1);
    EXPECT_EQ(first->GetSegments()[0].UseCount(), 1);
    second.Release();
    EXPECT_DOUBLE_EQ(first->GetSegments()[1]->GetEndX(), EveryClassTrack()->segments[1].object->endX);
}
