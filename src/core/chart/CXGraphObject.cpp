#include "core/chart/CXGraphObject.h"

namespace vra {

void CXGraphObject::Store(ArchiveWriter& ar) const {
    for (bool f : {hit, trackingA, trackingB, selected, editing, visible, editable}) ar.boolean(f);
    ar.i32(rect.left);
    ar.i32(rect.top);
    ar.i32(rect.right);
    ar.i32(rect.bottom);
    ar.colour(colour);
}

bool CXGraphObject::Load(ArchiveReader& ar) {
    for (bool* f : {&hit, &trackingA, &trackingB, &selected, &editing, &visible, &editable})
        if (!ar.boolean(*f)) return false;
    return ar.i32(rect.left) && ar.i32(rect.top) && ar.i32(rect.right) && ar.i32(rect.bottom) && ar.colour(colour);
}

bool CXGraphLabel::BeginEdit() {
    if (!editable) return false;
    selected = false;
    editing = true;
    return true;
}

void CXGraphLabel::EndEdit(const std::string& editedText) {
    if (!editable) return;
    text = editedText;
    editing = false;
}

void CXGraphLabel::Store(ArchiveWriter& ar) const {
    CXGraphObject::Store(ar);
    ar.string(text);
    ar.font(font);
    ar.colour(background);
    ar.colour(textColour);
    ar.boolean(border);
    ar.boolean(transparent);
    ar.u32(static_cast<std::uint32_t>(format));
    ar.i32(curve);
}

bool CXGraphLabel::Load(ArchiveReader& ar) {
    std::uint32_t fmtValue;
    if (!CXGraphObject::Load(ar) || !ar.string(text) || !ar.font(font) || !ar.colour(background) ||
        !ar.colour(textColour) || !ar.boolean(border) || !ar.boolean(transparent) || !ar.u32(fmtValue) ||
        !ar.i32(curve))
        return false;
    // Only the three alignments are meaningful; anything else reads as left.
    format = fmtValue <= 2 ? static_cast<int>(fmtValue) : 0;
    return true;
}

void CXGraphDataNotation::Store(ArchiveWriter& ar) const {
    CXGraphObject::Store(ar);
    ar.f64(x);
    ar.f64(y);
    ar.i32(curve);
    ar.i32(point);
    ar.string(text);
}

bool CXGraphDataNotation::Load(ArchiveReader& ar) {
    return CXGraphObject::Load(ar) && ar.f64(x) && ar.f64(y) && ar.i32(curve) && ar.i32(point) && ar.string(text);
}

}  // namespace vra
