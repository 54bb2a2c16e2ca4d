#pragma once
// Paints a laid-out chart through CDCEx: background, legend, axes, curves,
// markers, the zoom band and cursor cross, labels and notes.

#include "core/chart/ChartController.h"
#include "core/chart/ChartLayout.h"
#include "core/chart/ChartModel.h"
#include "gui/chart/CDCEx.h"

namespace vra {

class ChartRenderer {
public:
    static void Render(const ChartModel& model, const ChartController* controller, CDCEx& dc);
    static void DrawMarker(CDCEx& dc, int kind, int x, int y, int size, Rgb colour);
    static void DrawAxisMarker(CDCEx& dc, const AxisMarker& m);

private:
    static void Legend(const ChartModel& model, CDCEx& dc);
    static void Axis(const ChartModel& model, const CXGraphAxis& a, CDCEx& dc);
    static void Curve(const ChartModel& model, const CXGraphDataSerie& c, CDCEx& dc);
    static void Markers(const CXGraphDataSerie& c, CDCEx& dc);
    static void Label(const ChartModel& model, const CXGraphLabel& l, CDCEx& dc);
    static void Notation(const CXGraphDataNotation& n, CDCEx& dc);
    static void Tracker(const Rect& r, CDCEx& dc);
};

}  // namespace vra
