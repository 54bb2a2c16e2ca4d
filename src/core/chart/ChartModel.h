#pragma once
// The chart's data and the owner's operations on it: curves on stacked x
// and y axes, free labels and notes, colours and flags. The layout writes
// its results back here, as painting always did, and the interaction reads
// them until the next layout.

#include "core/chart/CXGraphAxis.h"
#include "core/chart/CXGraphDataSerie.h"
#include "core/chart/CXGraphObject.h"

#include <memory>
#include <string>
#include <vector>

namespace vra {

struct LegendEntry {
    Rect rect;
    int curve = -1;
};

class ChartModel {
public:
    static constexpr Rgb kCurveColours[12] = {FromColorRef(0x000080), FromColorRef(0x0000FF), FromColorRef(0x008080),
                                              FromColorRef(0x00FFFF), FromColorRef(0x008000), FromColorRef(0x00FF00),
                                              FromColorRef(0x808000), FromColorRef(0xFFFF00), FromColorRef(0x800000),
                                              FromColorRef(0xFF0000), FromColorRef(0x800080), FromColorRef(0xFF00FF)};

    ChartModel();
    ChartModel(const ChartModel&) = delete;
    ChartModel& operator=(const ChartModel&) = delete;

    // Adds (c equal to the curve count) or replaces curve c; an axis index
    // equal to its count adds an axis. Null, and nothing changes, for a
    // negative count or an index above its count. Curves always keep a copy
    // of the points; the copy flag is only recorded.
    CXGraphDataSerie* SetData(const Point2D* points, int count, int c, int ax, int ay, bool copy = true);
    bool DeleteCurve(int index);
    CXGraphDataSerie& GetCurve(int i) { return curves[static_cast<std::size_t>(i)]; }
    CXGraphAxis& GetXAxis(int i) { return xAxes[static_cast<std::size_t>(i)]; }
    CXGraphAxis& GetYAxis(int i) { return yAxes[static_cast<std::size_t>(i)]; }
    int CurveCount() const { return static_cast<int>(curves.size()); }
    // Widens the four values to the curve's finite coordinates.
    static void GetMinMax(const CXGraphDataSerie& curve, double& xMin, double& xMax, double& yMin, double& yMax);
    int GetAxisIndex(const CXGraphAxis* axis) const;
    int GetCurveIndex(const CXGraphDataSerie* curve) const;
    CXGraphLabel* InsertLabel(Rect r, const std::string& text);
    CXGraphLabel* InsertEmptyLabel(const std::string& text);
    CXGraphDataNotation* AddNotation(int curve, int point, const std::string& text);
    bool SelectCurve(int i);
    bool SelectXAxis(int i);
    bool SelectYAxis(int i);
    void ResetAll();
    bool RemoveObject(const CXGraphObject* object);
    int ObjectIndex(const CXGraphObject* object) const;
    CXGraphDataSerie* AddLinearTrend(int curve);
    CXGraphDataSerie* AddCubicTrend(int curve);

    CXGraphLabel& ReadOut() { return *static_cast<CXGraphLabel*>(objects.front().get()); }
    const CXGraphLabel& ReadOut() const { return *static_cast<const CXGraphLabel*>(objects.front().get()); }

    // Look and behaviour.
    Rgb backColour = kWhite;
    Rgb frameColour = kWhite;
    Rgb plotColour{240, 240, 240};
    bool doubleBuffer = true;
    bool legend = true;
    bool interactive = true;
    int legendPlacement = 1;  // 0 left of the plot, 1 right
    bool snap = true;
    int snapTolerance = 10;
    int marginLeft = 5, marginTop = 5, marginRight = 5, marginBottom = 5;
    int axisGap = 5;

    std::vector<CXGraphDataSerie> curves;
    std::vector<CXGraphAxis> xAxes;
    std::vector<CXGraphAxis> yAxes;
    // The read-out label first, then labels and notes in insertion order.
    std::vector<std::unique_ptr<CXGraphObject>> objects;

    // Left by the last layout.
    Rect drawRect;
    Rect innerRect;
    Rect plotRect;
    Rect legendBox;
    int legendRowHeight = 0;
    std::vector<LegendEntry> legendEntries;

    // Measures text for the layout and for steps; a chart whose window is
    // not shown computes steps as a tenth of the range.
    const TextMeasurer* measurer = nullptr;
    bool windowVisible = false;

    // Interaction state that the data operations keep consistent: the curve
    // the trend commands work on, the curve the cursor snapped to, the
    // object under the last click and the object whose tracker is shown.
    int selectedCurve = -1;
    int snappedCurve = -1;
    CXGraphObject* currentObject = nullptr;
    CXGraphObject* activeTracker = nullptr;

private:
    void AdoptAxis(CXGraphAxis& axis, int kind);
};

}  // namespace vra
