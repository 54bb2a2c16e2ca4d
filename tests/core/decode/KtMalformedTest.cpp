// Broken streams: every one ends in a KtException or a decoded track,
// within bounded time and memory, never in a crash.
#include "DecodeTestUtil.h"

#include "decode/KtTexture.h"
#include "decode/KtTextureCoords.h"
#include "decode/KtTrack.h"
#include "decode/KtXSection.h"

#include <gtest/gtest.h>

namespace {

// Decodes and reports whether it ended in a KtException. Any other
// exception fails the test through gtest.
bool Refused(const Image& image) {
    try {
        KtObjectFactory::ReadTrackImage(image);
        return false;
    } catch (const KtException&) {
        return true;
    }
}

Image Sample(const ClassVersions& v) { return PtfBuilder::Build(Ref<TrackDesc>(EveryClassTrack(v))); }

}  // namespace

TEST(KtMalformed, TruncationsAreRefusedAndMutationsEndInAnErrorOrATrack) {
    for (const ClassVersions& v : {ClassVersions{}, ClassVersions{8, 2, 3, 5, 7, 1, 1, 3, 6}}) {
        const Image full = Sample(v);
        for (std::size_t n = 0; n < full.size(); ++n)
            EXPECT_TRUE(Refused(Image(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n)))) << "cut at " << n;
        for (std::size_t i = 0; i < full.size(); ++i)
            for (std::uint8_t value : {0x00, 0x01, 0x02, 0x7F, 0x80, 0xFF}) {
                Image m = full;
                if (m[i] == value) continue;
                m[i] = value;
                Refused(m);  // either outcome is fine; a crash or hang is not
            }
    }
}

TEST(KtMalformed, HugeAndNegativeLengthsFailAtTheEndOfTheImage) {
    // A texture name length of -4 must not move the position backwards.
    auto t = New<TextureDesc>();
    t->nameLength = 0xFFFFFFFC;
    EXPECT_NE(ErrorOf([&] { ReadRoot(PtfBuilder::Build(Ref<TextureDesc>(t)), &KtObjectFactory::ReadTexture); }), "");

    // Texture coordinates announcing 2 GB lists are refused, not allocated.
    for (std::uint32_t count : {0x7FFFFFF8u, 0xFFFFFFF8u}) {
        auto c = New<TextureCoordsDesc>();
        c->firstByteCount = count;
        EXPECT_NE(ErrorOf([&] { ReadRoot(PtfBuilder::Build(Ref<TextureCoordsDesc>(c)), &KtObjectFactory::ReadTextureCoords); }),
                  "");
    }

    // Counts whose record sizes overflow 32 bits: 12 * n and 16 * m would
    // wrap to a small skip.
    auto s = New<SegmentDesc>();
    s->version = 2;
    Image image = PtfBuilder::Build(Ref<SegmentDesc>(s));
    // The last 8 bytes are n and m, both 0: make n = 0x40000000 (12n wraps to 0 in 32 bits).
    image[image.size() - 8 + 3] = 0x40;
    image.insert(image.end(), 64, 0);
    EXPECT_NE(ErrorOf([&] { ReadRoot(image, &KtObjectFactory::ReadSegment); }), "");

    // A huge segment count walks to the end of the image and stops there.
    auto track = New<TrackDesc>();
    track->segmentCount = 0xFFFFFFFF;
    track->segments = {New(StraightSegment(0, 0, 0, 1))};
    EXPECT_TRUE(Refused(PtfBuilder::Build(Ref<TrackDesc>(track))));

    // A huge W-section item count likewise.
    auto w = New<WSectionDesc>();
    w->itemCount = 0xFFFFFFFF;
    w->items.resize(2);
    EXPECT_NE(ErrorOf([&] { ReadRoot(PtfBuilder::Build(Ref<WSectionDesc>(w)), &KtObjectFactory::ReadWSection); }), "");

    // A class name length past the end.
    auto named = New<TextureDesc>();
    Image withName = PtfBuilder::Build(Ref<TextureDesc>(named));
    withName[8] = 0xF0;  // the name length's low byte
    withName[11] = 0x7F;
    EXPECT_NE(ErrorOf([&] { ReadRoot(withName, &KtObjectFactory::ReadTexture); }), "");
}

TEST(KtMalformed, XSectionLooksAheadOnlyWithinTheImage) {
    // Type 2 looks at byte 9 of its trailing record, which is missing here.
    auto x = New<XSectionDesc>();
    x->version = 3;
    x->firstType = 2;
    x->trailing = {0, 0, 0, 0};
    const std::string error =
        ErrorOf([&] { ReadRoot(PtfBuilder::Build(Ref<XSectionDesc>(x)), &KtObjectFactory::ReadXSection); });
    EXPECT_NE(error.find("ends too early"), std::string::npos) << error;
}
