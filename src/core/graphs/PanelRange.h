#pragma once
// The plot panel's visible range and flags, and the arithmetic of its
// interaction: scales for its size, panning, fitting to the data, taking in
// new points and zooming to a rectangle.

#include "core/graphs/AxisScale.h"

#include <optional>

namespace vra {

struct GraphRange {
    double x1 = 0, x2 = 10, y1 = 0, y2 = 10;
    friend bool operator==(const GraphRange&, const GraphRange&) = default;
};

enum PanelFlag {
    kExtendRange = 1,
    kPointMarks = 2,
    kCoordinates = 4,
    kGrid = 8,
    kNoLines = 16,
};

class PanelRange {
public:
    static constexpr int kInitialFlags = 11;

    // The scales exist from the first size on.
    void Resize(int width, int height);
    bool HasScales() const { return hasScales_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    GraphRange Range() const { return range_; }
    // False when the range is the one already shown.
    bool SetRange(const GraphRange& r);
    int Flags() const { return flags_; }
    // The old flags.
    int SetFlags(int flags) {
        const int old = flags_;
        flags_ = flags;
        return old;
    }
    // Sets the bits when not all of them are set, else clears them.
    int Toggled(int bits) const { return (flags_ & bits) == bits ? flags_ & ~bits : flags_ | bits; }

    // x over pixels 0..width, y over height..0.
    const AxisScale& XScale() const { return x_; }
    const AxisScale& YScale() const { return y_; }
    // The same range over another rectangle (printing).
    AxisScale XScaleFor(int left, int right) const { return AxisScale(left, right, range_.x1, range_.x2); }
    AxisScale YScaleFor(int top, int bottom) const { return AxisScale(bottom, top, range_.y1, range_.y2); }

    // The range after the mouse moved from one pixel to another while panning.
    GraphRange Panned(int fromX, int fromY, int toX, int toY) const;
    // The range after a fit of width (4103), height (4104) or both (4105) to
    // the data bounds; ends that meet are widened by one on either side.
    GraphRange Fitted(int id, double xMin, double xMax, double yMin, double yMax) const;
    // The range that takes in (x, y) by moving ends outward; nothing when the
    // point lies inside.
    std::optional<GraphRange> Extended(double x, double y) const;
    // The range of a pixel rectangle; nothing for one without width or
    // height, which would give a range with equal ends.
    std::optional<GraphRange> Zoomed(int left, int top, int right, int bottom) const;

private:
    void Rebuild();

    GraphRange range_;
    int flags_ = kInitialFlags;
    int width_ = 0, height_ = 0;
    bool hasScales_ = false;
    AxisScale x_, y_;
};

}  // namespace vra
