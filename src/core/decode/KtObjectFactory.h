#pragma once
// Resolves the object references of a track's object stream. A reference
// is an int32 id: 0 for none, the next id for a new object that follows
// inline, or an earlier id for an object already read, which is then shared.
// Objects and class names share one numbering.
//
// A factory holds one reference to every object it has read until Clear.
// ReadTrackImage decodes a whole image with a factory of its own, so loads
// are independent of each other; the process-wide Instance remains for
// callers that still empty it before a load.

#include "core/decode/CountedPtr.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>

namespace vra {

class PtfCursor;
class KtTrack;
class KtTexture;
class KtTextureCoords;
class KtAppearance;
class KtXSection;
class KtFSection;
class KtWSection;
class KtSegment;
class KtTSOReference;
class KtTSO;
class KtTrackDetail;

class KtObjectFactory {
public:
    KtObjectFactory();
    ~KtObjectFactory();
    KtObjectFactory(const KtObjectFactory&) = delete;
    KtObjectFactory& operator=(const KtObjectFactory&) = delete;

    static KtObjectFactory& Instance();

    // Decodes a whole object-stream image whose root is a KtTrack, with a
    // factory of its own. Returns an empty pointer when the root reference
    // is null. Every failure, including running out of memory, comes out
    // as KtException. At most 3 pad bytes may follow the root object.
    static CountedPtr<KtTrack> ReadTrackImage(std::span<const std::uint8_t> image);

    // Releases every reference the factory holds and restarts the numbering.
    void Clear();

    // Each reads one reference at pos. True when target now holds an object;
    // false for a null reference, which leaves target unchanged.
    bool ReadTrack(PtfCursor& pos, CountedPtr<KtTrack>& target);
    bool ReadTexture(PtfCursor& pos, CountedPtr<KtTexture>& target);
    bool ReadTextureCoords(PtfCursor& pos, CountedPtr<KtTextureCoords>& target);
    bool ReadAppearance(PtfCursor& pos, CountedPtr<KtAppearance>& target);
    bool ReadXSection(PtfCursor& pos, CountedPtr<KtXSection>& target);
    bool ReadFSection(PtfCursor& pos, CountedPtr<KtFSection>& target);
    bool ReadWSection(PtfCursor& pos, CountedPtr<KtWSection>& target);
    bool ReadSegment(PtfCursor& pos, CountedPtr<KtSegment>& target);
    bool ReadTSOReference(PtfCursor& pos, CountedPtr<KtTSOReference>& target);
    bool ReadTSO(PtfCursor& pos, CountedPtr<KtTSO>& target);
    bool ReadTrackDetail(PtfCursor& pos, CountedPtr<KtTrackDetail>& target);

    // Reads a class id and, on its first sight, the class name.
    void ReadClassName(PtfCursor& pos);

    // The recorded name of a class id ("" when unknown).
    std::string GetClassName(std::uint32_t classId) const;
    std::uint32_t GetLastId() const { return last_; }

private:
    template <typename T>
    bool ReadReference(PtfCursor& pos, CountedPtr<T>& target, std::map<std::uint32_t, CountedPtr<T>>& map, int line,
                       bool withOffset);

    std::map<std::uint32_t, CountedPtr<KtTrack>> tracks_;
    std::map<std::uint32_t, CountedPtr<KtTexture>> textures_;
    std::map<std::uint32_t, CountedPtr<KtTextureCoords>> textureCoords_;
    std::map<std::uint32_t, CountedPtr<KtAppearance>> appearances_;
    std::map<std::uint32_t, CountedPtr<KtXSection>> xSections_;
    std::map<std::uint32_t, CountedPtr<KtFSection>> fSections_;
    std::map<std::uint32_t, CountedPtr<KtWSection>> wSections_;
    std::map<std::uint32_t, CountedPtr<KtSegment>> segments_;
    std::map<std::uint32_t, CountedPtr<KtTSOReference>> tsoReferences_;
    std::map<std::uint32_t, CountedPtr<KtTSO>> tsos_;
    std::map<std::uint32_t, CountedPtr<KtTrackDetail>> trackDetails_;
    std::map<std::uint32_t, std::string> classNames_;
    std::uint32_t last_ = 0;
};

}  // namespace vra
