#pragma once
// One x or y axis of a chart: its range and tick step, the mapping between
// values and pixels, nice steps and aligned ranges for autoscaling (numbers
// in 1, 2, 5 times a power of ten; date-times from a table of spans), tick
// labels, and the geometry its last layout left behind (reserves, length,
// ticks, marker block, hit band).

#include "core/base/Point2D.h"
#include "core/chart/CXGraphObject.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace vra {

// A coloured band behind the plot, from and to in axis units; style 0-5 a
// hatch, 6 solid.
struct ColourRange {
    double from = 0.0;
    double to = 0.0;
    Rgb colour{};
    std::int32_t style = 6;
};

// A step of 1, 2, 5 or 10 times ten to the exponent, kept apart so that
// multiples of it are exact where the decimal value is (3 x 0.1 is 0.3).
struct NiceStepValue {
    double step = 0.0;
    int mantissa = 0;
    int exponent = 0;
    // k steps: (k x mantissa) x 10^exponent, divided for negative exponents.
    double Multiple(double k) const;
};

// The value-to-pixel mapping of an axis at its last layout, for mapping
// many values at once.
struct AxisMapping {
    double perUnit = 1.0;
    double minimum = 0.0;
    double base = 0.0;  // plot left (x) or plot bottom (y)
    double sign = 1.0;  // +1 rightwards, -1 upwards
    double low = 0.0;   // clamp: the plot rectangle +- 32768
    double high = 0.0;
    int Pixel(double v) const {
        double p = base + sign * (perUnit * (v - minimum));
        if (!(p == p)) p = base;
        p = p < low ? low : p > high ? high : p;
        return static_cast<int>(p);  // truncates toward zero
    }
    friend bool operator==(const AxisMapping&, const AxisMapping&) = default;
};

// What the layout computed for one tick.
struct AxisTick {
    double value = 0.0;
    int pos = 0;  // device y on a y axis, x on an x axis
    std::string text;
    Rect textRect;
    IPoint lineFrom;
    IPoint lineTo;
};

// One square of the marker block that names the curves of an axis.
struct AxisMarker {
    int x = 0;
    int y = 0;
    int number = 0;  // curve index or marker symbol
    int size = 10;
    Rgb colour{};
    bool symbol = false;
};

class CXGraphAxis : public CXGraphObject {
public:
    enum Kind { X = 0, Y = 1 };
    static constexpr double kHuge = std::numeric_limits<double>::max();

    CXGraphAxis();

    // Both set the current range and compute the step; SetDataRange also
    // sets the range that Reset restores. False, and nothing changes, for a
    // minimum above the maximum, a bound that is not finite, or (SetRange) a
    // step that is negative or not finite; a step of 0 is computed.
    bool SetDataRange(double minimum, double maximum);
    bool SetRange(double minimum, double maximum, double step);
    // Back to the data range; nothing until a data range was set.
    void Reset();
    void GetRanges(double& minimum, double& maximum, double& step) const;

    // Nice step and aligned range for the room the layout gives, repeated
    // until the range no longer grows (at most 8 rounds).
    void AutoScale();
    // The step that makes one label extent one step long.
    double AutoStep() const;

    double GetValueForPos(int pos) const;
    // Only this axis's own coordinate is produced; clamped to the plot
    // rectangle +-32768 so that deep zooms cannot overflow.
    IPoint GetPointForValue(Point2D pt) const;
    AxisMapping Mapping() const;
    // The point of curve c nearest to x (ties to the lower index); -1 for a
    // curve that is missing or empty.
    int GetNearestPointIndex(double x, int curve) const;

    int GetMaxLabelWidth() const;
    int GetLabelHeight() const;
    ISize GetTitleSize() const;

    std::string TickLabel(double v) const;
    void SetLabel(const std::string& s) { label = s; }
    std::string GetLabel() const { return label; }
    void SetDisplayFmt(const std::string& s) { labelFormat = s; }
    std::string GetDisplayFmt() const { return labelFormat; }
    void SetFont(const std::string& face, int height, int weight) { tickFont = FontSpec{face, height, weight}; }
    void SetTitleFont(const std::string& face, int height, int weight) { titleFont = FontSpec{face, height, weight}; }

    static std::optional<NiceStepValue> NiceStep(int n, double minimum, double maximum);
    static void AlignRange(double& minimum, double& maximum, const NiceStepValue& s);
    static double TimeStep(int n, double minimum, double maximum);
    static void AlignTimeRange(double& minimum, double& maximum, double step);

    void Store(ArchiveWriter& ar) const override;
    bool Load(ArchiveReader& ar) override;

    // Layout: fills every geometry field below (the chart's plot rectangle,
    // placement and origin must be set).
    void Layout();
    // The extent of the marker block, with the markers placed when asked.
    int CurveMarkers(bool place);
    int Index() const;

    std::vector<ColourRange> colourRanges;
    std::vector<Point2D> zoomHistory;
    double autoMin = kHuge;
    double autoMax = -kHuge;
    double curMin = kHuge;
    double curMax = -kHuge;
    double step = 0.1;
    double endReserve = 0.0;
    double markerExtent = 0.0;
    // The width of the range as the last drawing or mapping saw it; the
    // chart's key steps are a tenth of it.
    mutable double rangeWidth = 1.0;
    int originY = 0;
    int originX = 0;
    int length = 1;
    Rect inner;
    FontSpec tickFont{"Arial", 13, 400};
    FontSpec titleFont{"Arial", 14, 700};
    int kind = X;
    int placement = 2;
    bool showMarkers = true;
    bool timeAxis = false;
    bool showGrid = true;
    bool autoscale = true;
    std::string label = " ";
    std::string labelFormat = "%5.1f";
    int arrowSize = 5;
    int markerSize = 10;
    int tickSize = 5;
    Rgb gridColour{150, 150, 150};
    int gridStyle = 2;

    // Left by the last layout.
    int top = 0;     // y axis: top end of the line
    int farEnd = 0;  // x axis: right end of the line
    std::vector<AxisTick> ticks;
    std::vector<AxisMarker> markers;
    Rect titleRect;
    double drawStep = 0.1;

private:
    std::optional<NiceStepValue> stepParts_;
    bool Accept(double& minimum, double& maximum);
    void DefaultStep();
    int Length() const;
    int MeasuredExtent() const;
};

}  // namespace vra
