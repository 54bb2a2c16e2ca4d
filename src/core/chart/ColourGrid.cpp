#include "core/chart/ColourGrid.h"

#include <algorithm>

namespace vra {

const NamedColour ColourGrid::kTable[kColours] = {
    {{0, 0, 0}, "Black"},
    {{165, 42, 0}, "Brown"},
    {{0, 64, 64}, "Dark Olive Green"},
    {{0, 85, 0}, "Dark Green"},
    {{0, 0, 94}, "Dark Teal"},
    {{0, 0, 139}, "Dark blue"},
    {{75, 0, 130}, "Indigo"},
    {{40, 40, 40}, "Dark grey"},
    {{139, 0, 0}, "Dark red"},
    {{255, 104, 32}, "Orange"},
    {{139, 139, 0}, "Dark yellow"},
    {{0, 147, 0}, "Green"},
    {{56, 142, 142}, "Teal"},
    {{0, 0, 255}, "Blue"},
    {{123, 123, 192}, "Blue-grey"},
    {{102, 102, 102}, "Grey - 40"},
    {{255, 0, 0}, "Red"},
    {{255, 173, 91}, "Light orange"},
    {{50, 205, 50}, "Lime"},
    {{60, 179, 113}, "Sea green"},
    {{127, 255, 212}, "Aqua"},
    {{125, 158, 192}, "Light blue"},
    {{128, 0, 128}, "Violet"},
    {{127, 127, 127}, "Grey - 50"},
    {{255, 192, 203}, "Pink"},
    {{255, 215, 0}, "Gold"},
    {{255, 255, 0}, "Yellow"},
    {{0, 255, 0}, "Bright green"},
    {{64, 224, 208}, "Turquoise"},
    {{192, 255, 255}, "Skyblue"},
    {{72, 0, 72}, "Plum"},
    {{192, 192, 192}, "Light grey"},
    {{255, 228, 225}, "Rose"},
    {{210, 180, 140}, "Tan"},
    {{255, 255, 224}, "Light yellow"},
    {{152, 251, 152}, "Pale green "},
    {{175, 238, 238}, "Pale turquoise"},
    {{104, 131, 139}, "Pale blue"},
    {{230, 230, 250}, "Lavender"},
    {{255, 255, 255}, "White"},
};

ColourGrid::ColourGrid(int margin, bool hasAutomatic, bool hasCustom, ISize text)
    : margin_(margin), box_(18), hasAuto_(hasAutomatic), hasCustom_(hasCustom) {
    if (18 - 2 * margin_ - 2 < 5) box_ = 2 * margin_ + 7;
    const int wt = text.cx + 2 * margin_;
    const int ht = text.cy + 4 * margin_ + 2;
    int width = kColumns * box_ + 2 * margin_;
    int height = kRows * box_ + 2 * margin_;
    if (hasAuto_) {
        width = std::max(width, wt);
        auto_ = {margin_, margin_, width - margin_, 2 * margin_ + ht};
        height += auto_.height() + 2 * margin_;
    }
    if (hasCustom_) {
        width = std::max(width, wt);
        custom_ = {margin_, height, width - margin_, height + margin_ + ht};
        height += custom_.height() + 2 * margin_;
    }
    size_ = {width, height};
}

Rect ColourGrid::CellRect(int cell) const {
    const int col = cell % kColumns, row = cell / kColumns;
    Rect r{col * box_ + margin_, row * box_ + margin_, col * box_ + margin_ + box_, row * box_ + margin_ + box_};
    if (hasAuto_) {
        r.top += auto_.height() + margin_;
        r.bottom += auto_.height() + margin_;
    }
    return r;
}

int ColourGrid::CellIndex(int row, int column) const {
    if (row >= 0 && row < kRows && column >= 0 && column < kColumns) {
        const int i = row * kColumns + column;
        if (i < kColours) return i;
    }
    return kNone;
}

int ColourGrid::CellAt(IPoint p) const {
    if (hasCustom_ && custom_.contains(p)) return kCustom;
    if (hasAuto_ && auto_.contains(p)) return kAutomatic;
    const int x = p.x - margin_;
    const int y = p.y - margin_ - (hasAuto_ ? auto_.height() + margin_ : 0);
    if (x < 0 || y < 0) return kNone;
    return CellIndex(y / box_, x / box_);
}

int ColourGrid::Move(int current, Key key) const {
    const int last = kColours - 1;
    const int autoOr0 = hasAuto_ ? kAutomatic : 0;
    switch (key) {
        case Key::Down:
            if (current == kAutomatic) return 0;
            if (current == kCustom) return autoOr0;
            if (current >= 0) {
                if (current + kColumns <= last) return current + kColumns;
                return hasCustom_ ? kCustom : autoOr0;
            }
            return 0;
        case Key::Up:
            if (current == kCustom) return last;
            if (current == kAutomatic) return hasCustom_ ? kCustom : last;
            if (current >= kColumns) return current - kColumns;
            return hasAuto_ ? kAutomatic : hasCustom_ ? kCustom : last;
        case Key::Right:
            if (current == kAutomatic) return 0;
            if (current == kCustom) return autoOr0;
            if (current >= 0 && current < last) return current + 1;
            return hasCustom_ ? kCustom : autoOr0;
        case Key::Left:
            if (current == kAutomatic) return hasCustom_ ? kCustom : last;
            if (current == kCustom) return last;
            if (current > 0) return current - 1;
            return hasAuto_ ? kAutomatic : hasCustom_ ? kCustom : last;
    }
    return current;
}

int ColourGrid::CellFromColour(std::optional<Rgb> colour) const {
    if (!colour) return hasAuto_ ? kAutomatic : (hasCustom_ ? kCustom : kNone);
    for (int i = 0; i < kColours; ++i)
        if (kTable[i].rgb == *colour) return i;
    return hasCustom_ ? kCustom : kNone;
}

Rect ColourGrid::Place(IPoint origin, int buttonHeight, Rect screen) const {
    Rect r{origin.x, origin.y, origin.x + size_.cx, origin.y + size_.cy};
    if (r.right > screen.right) {
        const int d = r.right - screen.right;
        r.left -= d;
        r.right -= d;
    }
    if (r.left < screen.left) {
        const int d = screen.left - r.left;
        r.left += d;
        r.right += d;
    }
    if (r.bottom > screen.bottom) {
        const int d = size_.cy + buttonHeight;
        r.top -= d;
        r.bottom -= d;
    }
    return r;
}

}  // namespace vra
