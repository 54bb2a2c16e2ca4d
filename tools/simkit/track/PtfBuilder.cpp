#include "simkit/track/PtfBuilder.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace vra::simkit {

void PtfBuilder::I32(std::int32_t v) {
    U32(static_cast<std::uint32_t>(v));
}
void PtfBuilder::U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void PtfBuilder::U8(std::uint8_t v) {
    out_.push_back(v);
}
void PtfBuilder::F32(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    U32(bits);
}
void PtfBuilder::F64(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    U32(static_cast<std::uint32_t>(bits));
    U32(static_cast<std::uint32_t>(bits >> 32));
}
void PtfBuilder::Zeros(std::uint64_t n) {
    out_.insert(out_.end(), n, 0);
}
void PtfBuilder::Raw(const std::string& bytes) {
    out_.insert(out_.end(), bytes.begin(), bytes.end());
}

void PtfBuilder::Header(const ObjectDesc& d, std::int32_t third) {
    I32(d.first);
    I32(d.second);
    I32(third);
}

// One reference: null, a raw id, a back-reference to an object written
// before, or the object inline under the next id with its class.
template <typename D, typename Body>
void PtfBuilder::WriteRef(const Ref<D>& r, const char* className, Body body) {
    if (r.rawId) {
        I32(*r.rawId);
        return;
    }
    if (!r.object) {
        I32(0);
        return;
    }
    for (const auto& [desc, id] : ids_)
        if (desc == r.object.get()) {
            I32(id);
            return;
        }
    const D& d = *r.object;
    const std::int32_t id = d.id.value_or(last_ + 1);
    I32(id);
    last_ = id;
    ids_.emplace_back(r.object.get(), id);

    const std::string name = d.className.value_or(className);
    std::optional<std::int32_t> known;
    for (const auto& [n, cid] : classIds_)
        if (n == name) known = cid;
    if (known && !d.forceClassName && !d.classId) {
        I32(*known);
    } else {
        const std::int32_t cid = d.classId.value_or(known.value_or(last_ + 1));
        I32(cid);
        if (!known || d.forceClassName) {
            U32(static_cast<std::uint32_t>(name.size()));
            Raw(name);
            last_ = cid;
            if (!known) classIds_.emplace_back(name, cid);
        }
    }
    body(d);
}

template <typename D>
void PtfBuilder::WriteList(const RefList<D>& list) {
    const std::uint32_t count = list.count.value_or(static_cast<std::uint32_t>(list.refs.size()));
    U32(count);
    if (count == 0) return;
    I32(list.listWord);
    for (const auto& r : list.refs) Write(r);
}

int PtfBuilder::PresentSlots(const Ref<AppearanceDesc>& a) {
    if (!a.object) return 0;
    int n = 0;
    for (const auto& t : a.object->textures) n += t.IsNull() ? 0 : 1;
    return n;
}

void PtfBuilder::WriteSlots(const SlotRecords& slots, int present, int recordSize) {
    for (int i = 0; i < present; ++i) {
        const std::uint8_t flag = i < static_cast<int>(slots.flags.size()) ? slots.flags[i] : 1;
        U8(flag);
        if (flag == 0) Zeros(recordSize);
    }
}

void PtfBuilder::Write(const Ref<TextureDesc>& r) {
    WriteRef(r, "KtTexture", [this](const TextureDesc& d) {
        Header(d, d.version);
        U32(d.nameLength.value_or(static_cast<std::uint32_t>(d.name.size())));
        Raw(d.name);
        if (d.version == 2) U8(0);
    });
}

void PtfBuilder::Write(const Ref<TextureCoordsDesc>& r) {
    WriteRef(r, "KtTextureCoords", [this](const TextureCoordsDesc& d) {
        Header(d, d.version);
        I32(d.value);
        I32(d.reserved);
        U32(d.firstByteCount.value_or(static_cast<std::uint32_t>(8 * d.firstList.size())));
        for (double v : d.firstList) F64(v);
        Zeros(d.firstExtraBytes);
        U32(d.secondByteCount.value_or(static_cast<std::uint32_t>(8 * d.secondList.size())));
        for (double v : d.secondList) F64(v);
        Zeros(d.secondExtraBytes);
        for (const auto& block : d.blocks) {
            U32(static_cast<std::uint32_t>(block.size()));
            out_.insert(out_.end(), block.begin(), block.end());
        }
    });
}

void PtfBuilder::Write(const Ref<AppearanceDesc>& r) {
    WriteRef(r, "KtAppearance", [this](const AppearanceDesc& d) {
        Header(d, d.third);
        for (const auto& t : d.textures) Write(t);
        for (double v : d.values) F64(v);
        Zeros(76);
    });
}

std::vector<std::uint8_t> XSectionDesc::Chain(std::vector<int> kinds) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const std::size_t length = kinds[i] == 1 ? 8 : 10;
        std::vector<std::uint8_t> sub(length, 0);
        sub.back() = i + 1 < kinds.size() ? static_cast<std::uint8_t>(kinds[i + 1]) : 0;
        out.insert(out.end(), sub.begin(), sub.end());
    }
    return out;
}

void PtfBuilder::Write(const Ref<XSectionDesc>& r) {
    WriteRef(r, "KtXSection", [this](const XSectionDesc& d) {
        Header(d, d.version);
        if (d.version == 3) {
            F32(static_cast<float>(d.values[0]));
            F64(d.values[1]);
            F32(static_cast<float>(d.values[2]));
            F32(static_cast<float>(d.values[3]));
            F64(d.values[4]);
            F32(static_cast<float>(d.values[5]));
            U8(0);
            U8(d.firstType);
            U8(d.secondType);
            out_.insert(out_.end(), d.trailing.begin(), d.trailing.end());
        } else {
            for (double v : d.values) F64(v);
            U8(0);
        }
    });
}

void PtfBuilder::Write(const Ref<FSectionDesc>& r) {
    WriteRef(r, "KtFSection", [this](const FSectionDesc& d) {
        Header(d, d.version);
        if (d.version == 5) {
            F32(static_cast<float>(d.startOffset));
            F32(static_cast<float>(d.endOffset));
        } else {
            F64(d.startOffset);
            F64(d.endOffset);
        }
        U8(d.straight ? 1 : 0);
        I32(0);
        I32(d.code);
        Write(d.appearance);
        const int present = PresentSlots(d.appearance);
        if (d.writeTextureCoords.value_or(present > 0)) {
            Write(d.textureCoords);
            WriteSlots(d.slots, present, 42);
        }
    });
}

void PtfBuilder::Write(const Ref<WSectionDesc>& r) {
    WriteRef(r, "KtWSection", [this](const WSectionDesc& d) {
        Header(d, d.version);
        if (d.version == 5) {
            F64(d.startOffset);
            F64(d.endOffset);
        } else {
            F32(static_cast<float>(d.startOffset));
            F32(static_cast<float>(d.endOffset));
        }
        U8(d.straight ? 1 : 0);
        I32(0);
        for (double v : d.further) F64(v);
        Zeros(20);
        if (d.version == 7) {
            U32(d.records40);
            Zeros(40ull * d.records40);
        }
        I32(d.kind);
        U32(d.itemCount.value_or(static_cast<std::uint32_t>(d.items.size())));
        Zeros(8);
        for (std::size_t i = 0; i < d.items.size(); ++i) {
            if (i > 0) F64(d.items[i].lead);
            for (const auto& g : d.items[i].groups) {
                Write(g.appearance);
                if (g.appearance.IsNull()) continue;
                Write(g.textureCoords);
                WriteSlots(g.slots, PresentSlots(g.appearance), 34);
            }
        }
    });
}

void PtfBuilder::Write(const Ref<SegmentDesc>& r) {
    WriteRef(r, "KtSegment", [this](const SegmentDesc& d) {
        Header(d, d.version);
        WriteList(d.xSections);
        WriteList(d.fSections);
        WriteList(d.wSections);
        I32(d.type);
        for (double v : {d.startX, d.startY, d.startHeading, d.endX, d.endY, d.endHeading}) F64(v);
        Zeros(2);
        if (d.version == 2) {
            U32(d.records12);
            if (d.records12) Zeros(4 + 12ull * d.records12);
            U32(d.records16);
            if (d.records16) Zeros(4 + 16ull * d.records16);
        }
    });
}

void PtfBuilder::Write(const Ref<TSODesc>& r) {
    WriteRef(r, "KtTSO", [this](const TSODesc& d) {
        Header(d, d.version);
        U32(static_cast<std::uint32_t>(d.firstString.size()));
        Raw(d.firstString);
        U32(static_cast<std::uint32_t>(d.secondString.size()));
        Raw(d.secondString);
        if (d.version == 3) U8(0);
    });
}

void PtfBuilder::Write(const Ref<TSOReferenceDesc>& r) {
    WriteRef(r, "KtTSOReference", [this](const TSOReferenceDesc& d) {
        Header(d, d.version);
        for (int index : {0, 1, 2, 5, 4, 3}) F64(d.p[index]);
        Write(d.tso);
        if (d.version == 6) {
            I32(0);
            U8(d.flag);
            if (d.flag != 1) Zeros(44);
            U32(d.records40);
            Zeros(40ull * d.records40);
            U32(d.tailBytes);
            Zeros(d.tailBytes);
        }
    });
}

void PtfBuilder::Write(const Ref<TrackDetailDesc>& r) {
    WriteRef(r, "KtTrackDetail", [this](const TrackDetailDesc& d) {
        Header(d, d.third);
        Write(d.appearance);
        Zeros(40);
        I32(d.firstInteger);
        for (double v : d.firstGroup) F64(v);
        I32(d.secondInteger);
        for (double v : d.secondGroup) F64(v);
    });
}

void PtfBuilder::Write(const Ref<TrackDesc>& r) {
    WriteRef(r, "KtTrack", [this](const TrackDesc& d) {
        Header(d, d.version);
        U32(d.segmentCount.value_or(static_cast<std::uint32_t>(d.segments.size())));
        U8(d.flag ? 1 : 0);
        if (d.version == 8) {
            Zeros(32);
            U32(static_cast<std::uint32_t>(d.version8Block.size()));
            if (!d.version8Block.empty()) {
                I32(0);
                out_.insert(out_.end(), d.version8Block.begin(), d.version8Block.end());
            }
        } else {
            Zeros(172);
        }
        WriteList(d.details);
        WriteList(d.tsoReferences);
        I32(d.segmentListWord);
        for (const auto& s : d.segments) Write(s);
    });
}

std::shared_ptr<TrackDesc> EveryClassTrack(const ClassVersions& v) {
    auto asphalt = New<TextureDesc>();
    asphalt->version = v.texture;
    asphalt->name = "asphalt.bmp";
    auto grass = New<TextureDesc>();
    grass->version = v.texture;
    grass->name = "grass.bmp";

    auto look = New<AppearanceDesc>();
    look->textures[0] = asphalt;
    look->textures[2] = grass;
    look->textures[5] = asphalt;  // the same texture in a second slot
    look->values = {0.25, 0.5, 0.75};

    auto coords = New<TextureCoordsDesc>();
    coords->version = v.textureCoords;
    coords->value = 7;
    coords->firstList = {0.0, 1.0};
    coords->secondList = {2.0};
    coords->blocks[3] = std::vector<std::uint8_t>(16, 0xAB);

    auto makeF = [&](double offset, std::int32_t code, bool textured) {
        auto f = New<FSectionDesc>();
        f->version = v.fSection;
        f->startOffset = offset;
        f->endOffset = offset;
        f->code = code;
        if (textured) {
            f->appearance = look;
            f->textureCoords = coords;
            f->slots.flags = {0, 1, 0};
        }
        return f;
    };
    auto centre = makeF(0, 2, false);

    auto makeW = [&](double offset, std::int32_t kind) {
        auto w = New<WSectionDesc>();
        w->version = v.wSection;
        w->startOffset = offset;
        w->endOffset = offset;
        w->kind = kind;
        w->further = {1, 2, 3, 4};
        w->records40 = 1;
        WItemDesc first;
        first.groups[0].appearance = look;
        first.groups[0].textureCoords = coords;
        first.groups[0].slots.flags = {1, 0, 1};
        WItemDesc second;
        second.lead = 12.5;
        w->items = {first, second};
        return w;
    };

    auto makeX = [&]() {
        auto x = New<XSectionDesc>();
        x->version = v.xSection;
        x->values = {1, 2, 3, 4, 5, 6};
        if (v.xSection == 3) {
            x->firstType = 1;
            x->trailing = XSectionDesc::Chain({1, 2});
        }
        return x;
    };

    auto straight = New(StraightSegment(0, 0, 0, 100));
    auto corner = New(CornerSegment(100, 0, 0, 50, std::numbers::pi / 2));
    for (auto& seg : {straight, corner}) {
        seg->version = v.segment;
        seg->records12 = 1;
        seg->records16 = 2;
        seg->xSections.refs = {makeX()};
        seg->fSections.refs = {makeF(6, 1, seg == straight), centre, makeF(-6, 3, false)};
        seg->wSections.refs = {makeW(7, 4)};
    }

    auto tso = New<TSODesc>();
    tso->version = v.tso;
    auto makeTsoRef = [&](double p1) {
        auto r = New<TSOReferenceDesc>();
        r->version = v.tsoReference;
        r->p = {p1, 2, 3, 4, 5, 6};
        r->tso = tso;
        r->flag = 0;
        r->records40 = 1;
        r->tailBytes = 3;
        return r;
    };

    auto detail = New<TrackDetailDesc>();
    detail->appearance = look;
    detail->firstInteger = 11;
    detail->secondInteger = 22;
    detail->firstGroup = {1, 2, 3, 4};
    detail->secondGroup = {5, 6, 7, 8};

    auto track = New<TrackDesc>();
    track->version = v.track;
    track->flag = true;
    if (v.track == 8) track->version8Block = {1, 2, 3, 4, 5};
    track->details.refs = {detail};
    track->tsoReferences.refs = {makeTsoRef(1), makeTsoRef(10)};
    track->segments = {straight, corner};
    return track;
}

SegmentDesc StraightSegment(double x, double y, double heading, double length) {
    SegmentDesc s;
    s.type = 0;
    s.startX = x;
    s.startY = y;
    s.startHeading = heading;
    s.endX = x + length * std::cos(heading);
    s.endY = y + length * std::sin(heading);
    s.endHeading = heading;
    return s;
}

SegmentDesc CornerSegment(double x, double y, double heading, double radius, double sweep) {
    // The centre lies to the left of travel for a left turn, to the right otherwise.
    const double side = sweep >= 0 ? 1.0 : -1.0;
    const double cx = x - side * radius * std::sin(heading);
    const double cy = y + side * radius * std::cos(heading);
    const double a0 = std::atan2(y - cy, x - cx);
    SegmentDesc s;
    s.type = 1;
    s.startX = x;
    s.startY = y;
    s.startHeading = heading;
    s.endX = cx + radius * std::cos(a0 + sweep);
    s.endY = cy + radius * std::sin(a0 + sweep);
    double h1 = heading + sweep;
    // Keep the end heading in (-pi, pi].
    while (h1 > std::numbers::pi) h1 -= 2 * std::numbers::pi;
    while (h1 <= -std::numbers::pi) h1 += 2 * std::numbers::pi;
    s.endHeading = h1;
    return s;
}

}  // namespace vra::simkit
