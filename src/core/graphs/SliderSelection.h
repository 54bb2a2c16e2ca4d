#pragma once
// The selection of a range slider made by moving the thumb with Shift held:
// the selection runs from where the thumb stood when the Shift move began
// (the anchor) to where it stands now. A move without Shift forgets the
// anchor and clears the selection.

#include <optional>
#include <utility>

namespace vra {

class SliderSelection {
public:
    // How the thumb moved; the slider has moved already when it reports.
    enum class Move {
        LineUp,    // towards the minimum by one line
        LineDown,  // towards the maximum by one line
        PageUp,
        PageDown,
        Position,  // set by a drag, a click or Home/End
        EndTracking,
    };

    // What the slider must do with its selection.
    struct Change {
        bool clear = false;
        std::optional<std::pair<int, int>> select;  // [start, end] after any clear
    };

    // position is the thumb's position after the move; hasSelection whether
    // the slider shows a selection now.
    Change OnMove(Move move, int position, int lineStep, int pageStep, bool shift, bool hasSelection);

    bool Selecting() const { return selecting_; }
    int Anchor() const { return anchorSet_ ? anchor_ : -1; }

private:
    bool selecting_ = false;
    bool anchorSet_ = false;
    int anchor_ = -1;
};

}  // namespace vra
