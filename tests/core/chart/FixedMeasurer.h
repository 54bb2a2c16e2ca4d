#pragma once
// Text measured without a screen: 7 pixels a character, 13 a line.

#include "core/chart/ChartLayout.h"

#include <algorithm>
#include <string_view>

namespace vra::test {

class FixedMeasurer : public TextMeasurer {
public:
    ISize extent(const FontSpec&, std::string_view text) const override {
        int lines = 1, widest = 0, current = 0;
        for (char c : text) {
            if (c == '\n') {
                ++lines;
                current = 0;
            } else if (c != '\r') {
                widest = std::max(widest, ++current * 7);
            }
        }
        return {widest, lines * 13};
    }
};

// The chart of the worked example: 400 x 300, no legend, one curve from
// (0, 0) to (100, 100), laid out once.
struct ExampleChart {
    ChartModel model;
    FixedMeasurer measurer;
    explicit ExampleChart(bool layout = true) {
        model.legend = false;
        const Point2D pts[] = {{0, 0}, {100, 100}};
        model.SetData(pts, 2, 0, 0, 0);
        if (layout) Layout();
    }
    void Layout() { ChartLayout::Run(model, measurer, Rect{0, 0, 400, 300}); }
    CXGraphAxis& x() { return model.GetXAxis(0); }
    CXGraphAxis& y() { return model.GetYAxis(0); }
};

}  // namespace vra::test
