#pragma once
// Places everything a chart shows inside a drawing rectangle: legend,
// stacked axes around the plot, ticks, curve pixels, markers, notes. It
// writes autoscaled ranges and the geometry back into the model, where the
// interaction and the painter read them until the next layout.

#include "core/chart/ChartModel.h"

namespace vra {

class ChartLayout {
public:
    static inline const FontSpec kLegendFont{"Arial", 13, 400};

    // reduceColumns: keep only the first, lowest, highest and last point of
    // each pixel column of a line (what can show of a dense curve).
    static void Run(ChartModel& model, const TextMeasurer& measurer, Rect drawRect, bool reduceColumns = true);

private:
    static void Legend(ChartModel& model, const TextMeasurer& measurer, Rect& inner);
    static void Objects(ChartModel& model, const TextMeasurer& measurer);
};

}  // namespace vra
