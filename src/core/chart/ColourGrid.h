#pragma once
// The colour picker's grid: 40 named colours in rows of 8, an optional
// "Automatic" box above and "More Colors..." box below, where each lies,
// which cell a point or a key reaches, and where the popup opens.

#include "core/chart/ChartTypes.h"

#include <optional>
#include <string_view>

namespace vra {

struct NamedColour {
    Rgb rgb;
    std::string_view name;
};

class ColourGrid {
public:
    static constexpr int kColours = 40;
    static constexpr int kColumns = 8;
    static constexpr int kRows = 5;
    static constexpr int kNone = -1;
    static constexpr int kCustom = -2;
    static constexpr int kAutomatic = -3;
    static const NamedColour kTable[kColours];

    enum class Key { Up, Down, Left, Right };

    // margin: the system's edge width; textExtent: the larger extent of the
    // two box texts (zero when neither exists).
    ColourGrid(int margin, bool hasAutomatic, bool hasCustom, ISize textExtent);

    Rect CellRect(int cell) const;
    int CellIndex(int row, int column) const;
    // Exactly the inverse of CellRect and the two boxes; kNone elsewhere.
    int CellAt(IPoint p) const;
    int Move(int current, Key key) const;
    int CellFromColour(std::optional<Rgb> colour) const;  // nothing: the automatic colour

    // Where the popup opens for a button whose bottom-left corner is at
    // origin, so that it stays on the screen; above the button when there
    // is no room below.
    Rect Place(IPoint origin, int buttonHeight, Rect screen) const;

    int box() const { return box_; }
    int margin() const { return margin_; }
    ISize windowSize() const { return size_; }
    Rect automaticBox() const { return auto_; }
    Rect customBox() const { return custom_; }
    bool hasAutomatic() const { return hasAuto_; }
    bool hasCustom() const { return hasCustom_; }

private:
    int margin_;
    int box_;
    bool hasAuto_;
    bool hasCustom_;
    Rect auto_;
    Rect custom_;
    ISize size_;
};

}  // namespace vra
