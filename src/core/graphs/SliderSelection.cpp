#include "core/graphs/SliderSelection.h"

#include <algorithm>

namespace vra {

SliderSelection::Change SliderSelection::OnMove(Move move, int position, int lineStep, int pageStep, bool shift,
                                                bool hasSelection) {
    Change change;
    if (move == Move::EndTracking) {
        // A drag that ends with Shift still down may be continued from the
        // same anchor.
        if (selecting_ && shift) {
            selecting_ = false;
        } else {
            selecting_ = false;
            anchorSet_ = false;
            anchor_ = -1;
        }
        return change;
    }
    // Where the thumb stood before this move.
    int before = position;
    switch (move) {
        case Move::LineUp:
            before = position + lineStep;
            break;
        case Move::LineDown:
            before = position - lineStep;
            break;
        case Move::PageUp:
            before = position + pageStep;
            break;
        case Move::PageDown:
            before = position - pageStep;
            break;
        default:
            break;
    }
    if (!selecting_ && !shift) {
        anchor_ = -1;
        anchorSet_ = false;
    }
    if (!anchorSet_ && hasSelection) change.clear = true;
    if (!selecting_ && shift) {
        selecting_ = true;
        if (!anchorSet_) {
            anchor_ = before;
            anchorSet_ = true;
        }
    }
    if (selecting_) change.select = std::pair{std::min(anchor_, position), std::max(anchor_, position)};
    return change;
}

}  // namespace vra
