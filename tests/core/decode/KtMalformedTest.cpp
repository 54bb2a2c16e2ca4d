// Broken streams: every one ends in a KtException or a decoded track,
// within bounded time and memory, never in a crash.
#include "core/decode/KtTexture.h"
#include "core/decode/KtTextureCoords.h"
#include "core/decode/KtTrack.h"
#include "core/decode/KtWSection.h"
#include "core/decode/KtXSection.h"

#include "DecodeTestUtil.h"

#include <gtest/gtest.h>

// Whether decoding ended in a KtException; any other exception fails the test through gtest.
static bool Refused(const Image& image) {
    return ErrorOf([&] { KtObjectFactory::ReadTrackImage(image); }) != "";
}

TEST(KtMalformed, TruncationsAreRefusedAndMutationsEndInAnErrorOrATrack) {
    for (const ClassVersions& v : {ClassVersions{}, ClassVersions{8, 2, 3, 5, 7, 1, 1, 3, 6}}) {
        const Image full = PtfBuilder::Build(Ref<TrackDesc>(EveryClassTrack(v)));
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
    EXPECT_NE(ReadError(Made<TextureDesc>([](auto& t) { t.nameLength = 0xFFFFFFFC; }), &KtObjectFactory::ReadTexture),
              "");
    // Texture coordinates announcing 2 GB lists are refused, not allocated.
    for (std::uint32_t count : {0x7FFFFFF8u, 0xFFFFFFF8u})
        EXPECT_NE(ReadError(Made<TextureCoordsDesc>([&](auto& c) { c.firstByteCount = count; }),
                            &KtObjectFactory::ReadTextureCoords),
                  "");

    // 12 * n would wrap to a small skip in 32 bits: the last 8 bytes of a
    // version 2 segment are n and m, both 0; make n = 0x40000000.
    Image image = PtfBuilder::Build(Ref<SegmentDesc>(Made<SegmentDesc>([](auto& s) { s.version = 2; })));
    image[image.size() - 8 + 3] = 0x40;
    image.insert(image.end(), 64, 0);
    EXPECT_NE(ErrorOf([&] { ReadRoot(image, &KtObjectFactory::ReadSegment); }), "");

    // Huge segment and W-section item counts walk to the end of the image and stop there.
    EXPECT_TRUE(Refused(PtfBuilder::Build(Ref<TrackDesc>(Made<TrackDesc>(
        [](auto& t) { t.segmentCount = 0xFFFFFFFF, t.segments = {New(StraightSegment(0, 0, 0, 1))}; })))));
    EXPECT_NE(ReadError(Made<WSectionDesc>([](auto& w) { w.itemCount = 0xFFFFFFFF, w.items.resize(2); }),
                        &KtObjectFactory::ReadWSection),
              "");

    // A class name length past the end.
    Image withName = PtfBuilder::Build(Ref<TextureDesc>(New<TextureDesc>()));
    withName[8] = 0xF0;  // the name length's low byte
    withName[11] = 0x7F;
    EXPECT_NE(ErrorOf([&] { ReadRoot(withName, &KtObjectFactory::ReadTexture); }), "");

    // Type 2 looks at byte 9 of its trailing record, which is missing here.
    const std::string error = ReadError(Made<XSectionDesc>([](auto& x) {
                                            x.version = 3, x.firstType = 2, x.trailing = {0, 0, 0, 0};
                                        }),
                                        &KtObjectFactory::ReadXSection);
    EXPECT_NE(error.find("ends too early"), std::string::npos) << error;
}
