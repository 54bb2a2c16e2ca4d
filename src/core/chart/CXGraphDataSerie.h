#pragma once
// One curve: its points in axis units, the axes that map them, its look,
// and what the last layout made of it (pixel runs, hit segments, markers).
// Derived curves (trends and moving averages) are computed from it.

#include "core/base/Point2D.h"
#include "core/chart/CPolynomialSolver.h"
#include "core/chart/CXGraphAxis.h"
#include "core/chart/CXGraphObject.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vra {

struct HitSegment {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

class CXGraphDataSerie : public CXGraphObject {
public:
    CXGraphDataSerie() = default;

    std::string GetLabel() const { return name; }
    void SetLabel(const std::string& s) { name = s; }
    int Count() const { return static_cast<int>(points.size()); }

    // Derived points; empty when the curve cannot give them (fewer than two
    // points, a window below 1, a coefficient count outside 1 .. 21, a fit
    // that fails).
    std::vector<Point2D> LinearTrend(int extension) const;
    std::vector<Point2D> CubicTrend(int extension) const;
    std::vector<Point2D> PolynomialTrend(int coefficients, int extension);
    std::vector<Point2D> SimpleMovingAverage(int window) const;
    std::vector<Point2D> LinearMovingAverage(int window) const;
    std::vector<Point2D> ExponentialMovingAverage(int window) const;
    std::vector<Point2D> TriangularMovingAverage(int window) const;
    std::vector<Point2D> SineWeightedMovingAverage(int window) const;

    // Whether (px, py) lies on the segment's line within half the width
    // (at least 1). A zero-length segment is hit within that distance of
    // its point.
    static bool HitTest(int x1, int y1, int x2, int y2, int px, int py, int width);

    void Store(ArchiveWriter& ar) const override;
    bool Load(ArchiveReader& ar) override;

    // Layout: pixel runs (a point that is not finite breaks the line), the
    // hit segments and the marker corners. What the last layout made stays
    // as long as nothing it depends on has changed since.
    void Layout(bool reduceColumns);
    void ClearLayout();
    // Whoever replaces or edits `points` says so, so that the next layout
    // maps them afresh.
    void PointsChanged() { ++pointsRevision_; }

    std::vector<Point2D> points;
    int reservedA = 0;
    int reservedB = 0;
    int xAxis = 0;
    int yAxis = 0;
    int curveIndex = 0;
    int lineWidth = 1;
    int fillStyle = 6;
    int markerType = 0;
    int markerSymbol = 0;
    int markerSize = 10;
    int penStyle = 0;
    bool ownsPoints = true;
    bool showMarkers = false;
    bool fill = false;
    bool transparent = true;
    std::string name = " ";
    int lineType = 0;
    std::vector<HitSegment> hitSegments;
    CPolynomialSolver solver;

    // Left by the last layout.
    std::vector<std::vector<IPoint>> runs;
    std::vector<IPoint> markerCorners;
    int markerNumber = 0;

private:
    // Everything the runs, hit segments and marker corners are made of.
    struct LayoutKey {
        const Point2D* data = nullptr;
        std::size_t count = 0;
        std::uint64_t revision = 0;
        AxisMapping x, y;
        Rect plot;
        bool reduce = false;
        bool markers = false;
        int markerSize = 0;
        friend bool operator==(const LayoutKey&, const LayoutKey&) = default;
    };
    std::uint64_t pointsRevision_ = 0;
    std::optional<LayoutKey> laidOut_;
};

}  // namespace vra
