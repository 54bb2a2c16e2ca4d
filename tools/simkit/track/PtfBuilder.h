#pragma once
// Writes a track object stream (.ptf image) from a description.
//
// Every object of the stream has a description struct below; a reference
// to an object is a Ref, which holds the description (written inline the
// first time the builder meets it, and as a back-reference to its id every
// later time), a raw id (written as is, for broken streams) or nothing (a
// null reference). Ids are handed out in write order, and a class name is
// written on the first sight of its class, as the format numbers them.
// Every value the format stores is a field here, so tests can write wrong
// headers, versions, counts and references on purpose.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vra::simkit {

template <typename D>
struct Ref {
    std::shared_ptr<D> object;
    std::optional<std::int32_t> rawId;

    Ref() = default;
    Ref(std::shared_ptr<D> o) : object(std::move(o)) {}
    static Ref Raw(std::int32_t id) {
        Ref r;
        r.rawId = id;
        return r;
    }
    bool IsNull() const { return !object && (!rawId || *rawId == 0); }
};

template <typename D>
std::shared_ptr<D> New(D d = D{}) {
    return std::make_shared<D>(std::move(d));
}

// A counted list: count (defaults to refs.size()), then, when the count is
// not 0, the list word and the references.
template <typename D>
struct RefList {
    std::vector<Ref<D>> refs;
    std::optional<std::uint32_t> count;
    std::int32_t listWord = 0;
};

// What every object description carries: the header values and overrides
// for the numbering.
struct ObjectDesc {
    std::int32_t first = 1;
    std::int32_t second = 0;
    std::optional<std::int32_t> id;        // default: the next id
    std::optional<std::int32_t> classId;   // default: the class's id, or the next id on first sight
    std::optional<std::string> className;  // default: "Kt<Class>"; may hold NULs
    bool forceClassName = false;           // write length and name even when the class was seen
};

struct TextureDesc : ObjectDesc {
    std::int32_t version = 2;  // 1 or 2
    std::string name = "asphalt.bmp";
    std::optional<std::uint32_t> nameLength;  // default: name.size()
};

struct TextureCoordsDesc : ObjectDesc {
    std::int32_t version = 5;  // 1 or 5
    std::int32_t value = 0;
    std::int32_t reserved = 0;
    std::vector<double> firstList;
    std::vector<double> secondList;
    std::optional<std::uint32_t> firstByteCount;  // default: 8 * firstList.size()
    std::optional<std::uint32_t> secondByteCount;
    std::uint32_t firstExtraBytes = 0;  // bytes written after the list (count remainder)
    std::uint32_t secondExtraBytes = 0;
    // The 22 trailing blocks: each written as its byte count and bytes.
    std::vector<std::vector<std::uint8_t>> blocks = std::vector<std::vector<std::uint8_t>>(22);
};

struct AppearanceDesc : ObjectDesc {
    std::int32_t third = 2;
    std::array<Ref<TextureDesc>, 7> textures;
    std::array<double, 3> values{};
};

struct XSectionDesc : ObjectDesc {
    std::int32_t version = 2;        // 2 or 3
    std::array<double, 6> values{};  // a..f
    std::uint8_t firstType = 0;      // version 3
    std::uint8_t secondType = 0;
    std::vector<std::uint8_t> trailing;  // version 3: the trailing record, written as is
    // A trailing record of sub-records of the given kinds (1: 8 bytes,
    // 2: 10 bytes), each ending in the kind of the next (0 for none).
    static std::vector<std::uint8_t> Chain(std::vector<int> kinds);
};

// An optional slot record: the flag, and when it is 0 the zero-filled rest.
struct SlotRecords {
    std::vector<std::uint8_t> flags;  // one per present slot; missing ones default to 1
};

struct FSectionDesc : ObjectDesc {
    std::int32_t version = 4;  // 4: offsets as doubles, 5: as floats
    double startOffset = 0;
    double endOffset = 0;
    bool straight = false;
    std::int32_t code = 0;
    Ref<AppearanceDesc> appearance;
    Ref<TextureCoordsDesc> textureCoords;
    // Default: written when the appearance is present with at least one
    // texture slot present (as the format has it).
    std::optional<bool> writeTextureCoords;
    SlotRecords slots;  // 42 bytes after a 0 flag
};

struct TextureGroupDesc {
    Ref<AppearanceDesc> appearance;
    Ref<TextureCoordsDesc> textureCoords;  // written when the appearance is not null
    SlotRecords slots;                     // 34 bytes after a 0 flag
};

struct WItemDesc {
    double lead = 0;  // written for every item but the first
    std::array<TextureGroupDesc, 5> groups;
};

struct WSectionDesc : ObjectDesc {
    std::int32_t version = 5;  // 5: offsets as doubles, 6 and 7: as floats
    double startOffset = 0;
    double endOffset = 0;
    bool straight = false;
    std::array<double, 4> further{};
    std::uint32_t records40 = 0;  // version 7: number of 40-byte records
    std::int32_t kind = 0;
    std::vector<WItemDesc> items;
    std::optional<std::uint32_t> itemCount;  // default: items.size()
};

struct SegmentDesc : ObjectDesc {
    std::int32_t version = 1;  // 1 or 2
    RefList<XSectionDesc> xSections;
    RefList<FSectionDesc> fSections;
    RefList<WSectionDesc> wSections;
    std::int32_t type = 0;  // 0 straight, 1 corner
    double startX = 0, startY = 0, startHeading = 0;
    double endX = 0, endY = 0, endHeading = 0;
    std::uint32_t records12 = 0;  // version 2: count of 12-byte records
    std::uint32_t records16 = 0;  // version 2: count of 16-byte records
};

struct TSODesc : ObjectDesc {
    std::int32_t version = 2;  // 2 or 3
    std::string firstString = "tree";
    std::string secondString = "tree.obj";
};

struct TSOReferenceDesc : ObjectDesc {
    std::int32_t version = 1;   // 1 or 6
    std::array<double, 6> p{};  // p1..p6 (written as p1 p2 p3 p6 p5 p4)
    Ref<TSODesc> tso;
    std::uint8_t flag = 1;        // version 6
    std::uint32_t records40 = 0;  // version 6: n
    std::uint32_t tailBytes = 0;  // version 6: m
};

struct TrackDetailDesc : ObjectDesc {
    std::int32_t third = 0;
    Ref<AppearanceDesc> appearance;
    std::int32_t firstInteger = 0;
    std::array<double, 4> firstGroup{};
    std::int32_t secondInteger = 0;
    std::array<double, 4> secondGroup{};
};

struct TrackDesc : ObjectDesc {
    std::int32_t version = 6;                   // 6 or 8
    std::optional<std::uint32_t> segmentCount;  // default: segments.size()
    bool flag = false;
    std::vector<std::uint8_t> version8Block;  // version 8: n = size, then 4 + n bytes when n != 0
    RefList<TrackDetailDesc> details;
    RefList<TSOReferenceDesc> tsoReferences;
    std::int32_t segmentListWord = 0;
    std::vector<Ref<SegmentDesc>> segments;
};

class PtfBuilder {
public:
    // A whole image whose root is the given object (normally a track).
    template <typename D>
    static std::vector<std::uint8_t> Build(const Ref<D>& root) {
        PtfBuilder b;
        b.Write(root);
        return std::move(b.out_);
    }

    std::vector<std::uint8_t>& Bytes() { return out_; }
    std::int32_t NextId() const { return last_ + 1; }

    // Each writes one reference, inline on the first sight of its object.
    void Write(const Ref<TrackDesc>& r);
    void Write(const Ref<TextureDesc>& r);
    void Write(const Ref<TextureCoordsDesc>& r);
    void Write(const Ref<AppearanceDesc>& r);
    void Write(const Ref<XSectionDesc>& r);
    void Write(const Ref<FSectionDesc>& r);
    void Write(const Ref<WSectionDesc>& r);
    void Write(const Ref<SegmentDesc>& r);
    void Write(const Ref<TSOReferenceDesc>& r);
    void Write(const Ref<TSODesc>& r);
    void Write(const Ref<TrackDetailDesc>& r);

    void I32(std::int32_t v);
    void U32(std::uint32_t v);
    void U8(std::uint8_t v);
    void F32(float v);
    void F64(double v);
    void Zeros(std::uint64_t n);
    void Raw(const std::string& bytes);

private:
    template <typename D, typename Body>
    void WriteRef(const Ref<D>& r, const char* className, Body body);
    void Header(const ObjectDesc& d, std::int32_t third);
    template <typename D>
    void WriteList(const RefList<D>& list);
    void WriteSlots(const SlotRecords& slots, int present, int recordSize);
    static int PresentSlots(const Ref<AppearanceDesc>& a);

    std::vector<std::uint8_t> out_;
    std::int32_t last_ = 0;
    std::vector<std::pair<const void*, std::int32_t>> ids_;       // description -> id
    std::vector<std::pair<std::string, std::int32_t>> classIds_;  // class name -> id
};

// The versions EveryClassTrack writes each class in.
struct ClassVersions {
    std::int32_t track = 6;
    std::int32_t segment = 1;
    std::int32_t xSection = 2;
    std::int32_t fSection = 4;
    std::int32_t wSection = 5;
    std::int32_t texture = 2;
    std::int32_t textureCoords = 5;
    std::int32_t tso = 2;
    std::int32_t tsoReference = 1;
};

// A small track in which every class appears, with shared objects: a
// straight of 100 m and a left corner of radius 50 m over pi/2, each with
// an X section, three F sections (surface codes 1, 2, 3 at offsets 6, 0,
// -6; the middle one shared by both segments) and a W section whose items
// use the appearance again; one track detail, two TSO references sharing
// one TSO.
std::shared_ptr<TrackDesc> EveryClassTrack(const ClassVersions& versions = {});

// Descriptions of plain geometry for layouts: a straight of the given
// length and a circular corner of the given radius and signed sweep (left
// positive), starting at a pose. Both carry no sections.
SegmentDesc StraightSegment(double x, double y, double heading, double length);
SegmentDesc CornerSegment(double x, double y, double heading, double radius, double sweep);

}  // namespace vra::simkit
