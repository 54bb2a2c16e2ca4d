#include "core/decode/KtObjectFactory.h"

#include "core/decode/KtAppearance.h"
#include "core/decode/KtException.h"
#include "core/decode/KtFSection.h"
#include "core/decode/KtSegment.h"
#include "core/decode/KtTSO.h"
#include "core/decode/KtTSOReference.h"
#include "core/decode/KtTexture.h"
#include "core/decode/KtTextureCoords.h"
#include "core/decode/KtTrack.h"
#include "core/decode/KtTrackDetail.h"
#include "core/decode/KtWSection.h"
#include "core/decode/KtXSection.h"
#include "core/decode/PtfCursor.h"
#include "core/decode/PtfReadContext.h"

#include <fmt/format.h>

#include <new>
#include <stdexcept>

namespace vra {

namespace {
constexpr const char* kSource = "decode\\KtObjectFactory";
// A stream may be padded to a multiple of 4 bytes after its root object.
constexpr std::size_t kMaxPadding = 3;
}  // namespace

KtObjectFactory::KtObjectFactory() = default;
KtObjectFactory::~KtObjectFactory() = default;

KtObjectFactory& KtObjectFactory::Instance() {
    static KtObjectFactory factory;
    return factory;
}

CountedPtr<KtTrack> KtObjectFactory::ReadTrackImage(std::span<const std::uint8_t> image) {
    try {
        KtObjectFactory factory;
        PtfCursor pos(image, factory);
        CountedPtr<KtTrack> track;
        if (!factory.ReadTrack(pos, track)) return track;
        if (pos.Remaining() > kMaxPadding)
            throw KtException(
                fmt::format("Error: {} unexpected bytes follow the track at offset 0x{:x} in the ptf file",
                            pos.Remaining(), pos.Offset()));
        return track;
    } catch (const std::bad_alloc&) {
        throw KtException("Error: not enough memory to decode the ptf file");
    } catch (const std::length_error&) {
        throw KtException("Error: not enough memory to decode the ptf file");
    }
}

void KtObjectFactory::Clear() {
    tracks_.clear();
    textures_.clear();
    textureCoords_.clear();
    appearances_.clear();
    xSections_.clear();
    fSections_.clear();
    wSections_.clear();
    segments_.clear();
    tsoReferences_.clear();
    tsos_.clear();
    trackDetails_.clear();
    classNames_.clear();
    last_ = 0;
}

template <typename T>
bool KtObjectFactory::ReadReference(PtfCursor& pos, CountedPtr<T>& target, std::map<std::uint32_t, CountedPtr<T>>& map,
                                    int line, bool withOffset) {
    const std::uint32_t id = pos.U32();
    if (id == 0) return false;
    const std::uint32_t next = last_ + 1;
    if (id < next) {
        auto it = map.find(id);
        if (it != map.end()) {
            target = it->second;
            return true;
        }
    } else if (id == next) {
        last_ = id;
        ReadClassName(pos);
        CountedPtr<T> object(new T(pos, static_cast<std::int32_t>(id)));
        target = object;
        map.emplace(id, object);
        return true;
    }
    std::string detail = fmt::format(" object id = {} is invalid, expecting object id {} for next object", id, next);
    if (withOffset) detail += fmt::format(". Detected near offset 0x{:x} in the ptf file.", pos.Offset());
    PtfReadContext::ThrowKtException(kSource, line, detail);
}

bool KtObjectFactory::ReadTrack(PtfCursor& pos, CountedPtr<KtTrack>& t) {
    return ReadReference(pos, t, tracks_, 91, false);
}
bool KtObjectFactory::ReadTexture(PtfCursor& pos, CountedPtr<KtTexture>& t) {
    return ReadReference(pos, t, textures_, 130, false);
}
bool KtObjectFactory::ReadTextureCoords(PtfCursor& pos, CountedPtr<KtTextureCoords>& t) {
    return ReadReference(pos, t, textureCoords_, 168, false);
}
bool KtObjectFactory::ReadAppearance(PtfCursor& pos, CountedPtr<KtAppearance>& t) {
    return ReadReference(pos, t, appearances_, 206, false);
}
bool KtObjectFactory::ReadXSection(PtfCursor& pos, CountedPtr<KtXSection>& t) {
    return ReadReference(pos, t, xSections_, 244, false);
}
bool KtObjectFactory::ReadFSection(PtfCursor& pos, CountedPtr<KtFSection>& t) {
    return ReadReference(pos, t, fSections_, 281, false);
}
bool KtObjectFactory::ReadWSection(PtfCursor& pos, CountedPtr<KtWSection>& t) {
    return ReadReference(pos, t, wSections_, 319, false);
}
bool KtObjectFactory::ReadSegment(PtfCursor& pos, CountedPtr<KtSegment>& t) {
    return ReadReference(pos, t, segments_, 357, true);
}
bool KtObjectFactory::ReadTSOReference(PtfCursor& pos, CountedPtr<KtTSOReference>& t) {
    return ReadReference(pos, t, tsoReferences_, 395, false);
}
bool KtObjectFactory::ReadTSO(PtfCursor& pos, CountedPtr<KtTSO>& t) {
    return ReadReference(pos, t, tsos_, 433, false);
}
bool KtObjectFactory::ReadTrackDetail(PtfCursor& pos, CountedPtr<KtTrackDetail>& t) {
    return ReadReference(pos, t, trackDetails_, 471, false);
}

void KtObjectFactory::ReadClassName(PtfCursor& pos) {
    const std::size_t at = pos.Offset();
    const std::uint32_t classId = pos.U32();
    if (classNames_.count(classId)) return;
    // A new class takes a fresh number: one at or below the last would let
    // later references resolve to the wrong object.
    if (classId <= last_)
        throw KtException(fmt::format("Error: class id {} at offset 0x{:x} of the ptf file is not above the last id {}",
                                      classId, at, last_));
    const std::uint32_t n = pos.U32();
    std::string raw = pos.Bytes(n);
    std::string name;
    for (char c : raw)
        if (c != '\0') name += c;
    last_ = classId;
    classNames_.emplace(classId, std::move(name));
}

std::string KtObjectFactory::GetClassName(std::uint32_t classId) const {
    auto it = classNames_.find(classId);
    return it == classNames_.end() ? std::string() : it->second;
}

}  // namespace vra
