#pragma once
// Everything a chart draws and lets the user pick: the common part (place,
// flags, colour, owner), the free text label and the note on a curve point.

#include "core/chart/ChartArchive.h"
#include "core/chart/ChartTypes.h"

#include <string>

namespace vra {

class ChartModel;

class CXGraphObject {
public:
    virtual ~CXGraphObject() = default;

    void Select() { selected = true; }
    void Deselect() { selected = false; }
    // Only when both tracking flags are set may the tracker move or size it.
    bool Trackable() const { return trackingA && trackingB; }

    virtual void Store(ArchiveWriter& ar) const;
    virtual bool Load(ArchiveReader& ar);

    Rect rect;
    bool hit = false;
    bool editing = false;
    bool trackingA = false;
    bool trackingB = false;
    bool selected = false;
    bool visible = true;
    bool editable = true;
    Rgb colour{};
    ChartModel* owner = nullptr;
};

class CXGraphLabel : public CXGraphObject {
public:
    CXGraphLabel() {
        trackingA = trackingB = true;
        font = FontSpec{"Arial", 14, 400};
    }

    // Opens in-place editing; false (nothing changes) for a label that is
    // not editable.
    bool BeginEdit();
    // Takes the edited text back; nothing for a label that is not editable.
    void EndEdit(const std::string& editedText);

    void Store(ArchiveWriter& ar) const override;
    bool Load(ArchiveReader& ar) override;

    std::string text = " ";
    FontSpec font;
    Rgb background = kWhite;
    Rgb textColour = kBlack;
    bool border = true;
    bool transparent = false;
    int format = 0;  // 0 left, 1 centred, 2 right
    int curve = -1;

    // Left by the last layout: where the line to the connected curve starts.
    bool hasLine = false;
    IPoint lineFrom;
};

class CXGraphDataNotation : public CXGraphObject {
public:
    CXGraphDataNotation() {
        editable = false;
        font = FontSpec{"Arial", 12, 400};
    }

    void Store(ArchiveWriter& ar) const override;
    bool Load(ArchiveReader& ar) override;

    FontSpec font;
    bool laidOut = false;
    double x = 0.0;
    double y = 0.0;
    int curve = 0;
    int point = 0;
    std::string text;

    // Left by the last layout: the point in device units; not placed when
    // its curve is gone or the point is not finite.
    bool placed = false;
    IPoint anchor;
};

}  // namespace vra
