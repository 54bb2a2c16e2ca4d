#include "core/chart/CXGraphDataSerie.h"

#include "core/chart/ChartModel.h"
#include "core/chart/Vec2.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vra {

namespace {

// Longer extensions than this would only allocate gigabytes of points
// nobody can see.
constexpr int kMaxExtension = 1000000;

bool CanTrend(std::size_t n, int extension) {
    return n >= 2 && extension >= 0 && extension <= kMaxExtension;
}

// Moving average with weights w(m, k) for m = 1 .. k, m = k the newest.
template <typename Weight>
std::vector<Point2D> WeightedAverage(const std::vector<Point2D>& p, int window, Weight weight) {
    if (p.empty() || window < 1) return {};
    std::vector<Point2D> out(p.size());
    out[0] = p[0];
    for (std::size_t i = 1; i < p.size(); ++i) {
        const std::size_t k = std::min<std::size_t>(i, static_cast<std::size_t>(window));
        double sum = 0.0, weights = 0.0;
        for (std::size_t m = 1; m <= k; ++m) {
            const double w = weight(static_cast<double>(m), static_cast<double>(k));
            sum += w * p[i - k + m].y;
            weights += w;
        }
        out[i] = {p[i].x, sum / weights};
    }
    return out;
}

}  // namespace

std::vector<Point2D> CXGraphDataSerie::LinearTrend(int extension) const {
    const std::size_t n = points.size();
    if (!CanTrend(n, extension)) return {};
    double si = 0, sii = 0, sy = 0, siy = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const double i = static_cast<double>(k + 1);
        si += i;
        sii += i * i;
        sy += points[k].y;
        siy += i * points[k].y;
    }
    const double dn = static_cast<double>(n);
    const double b = (dn * siy - si * sy) / (dn * sii - si * si);
    const double a = (sy - b * si) / dn;
    const std::size_t total = n + static_cast<std::size_t>(extension);
    std::vector<Point2D> out(total);
    const double dx = points[1].x - points[0].x;
    for (std::size_t j = 0; j < total; ++j) {
        out[j].x = j < n ? points[j].x : out[j - 1].x + dx;
        out[j].y = a + b * static_cast<double>(j + 1);
    }
    return out;
}

std::vector<Point2D> CXGraphDataSerie::CubicTrend(int extension) const {
    const std::size_t n = points.size();
    if (!CanTrend(n, extension)) return {};
    double num = 0, den = 0;
    for (std::size_t k = 0; k < n; ++k) {
        // i^3 is exact, so i^6 = i^3 x i^3 is rounded once, as the power itself.
        const double i = static_cast<double>(k + 1);
        const double cube = i * i * i;
        num += cube * points[k].y;
        den += cube * cube;
    }
    const double c = num / den;
    const std::size_t total = n + static_cast<std::size_t>(extension);
    std::vector<Point2D> out(total);
    const double dx = points[1].x - points[0].x;
    for (std::size_t j = 0; j < total; ++j) {
        const double i = static_cast<double>(j + 1);
        out[j].x = j < n ? points[j].x : out[j - 1].x + dx;
        out[j].y = c * (i * i * i);
    }
    return out;
}

std::vector<Point2D> CXGraphDataSerie::PolynomialTrend(int coefficients, int extension) {
    const std::size_t n = points.size();
    if (!CanTrend(n, extension) || coefficients < 1 || coefficients > CPolynomialSolver::kMaxCoefficients) return {};
    if (!solver.Fit(points, coefficients)) return {};
    const std::size_t total = n + static_cast<std::size_t>(extension);
    std::vector<Point2D> out(total);
    for (std::size_t j = 0; j < total; ++j) {
        out[j].x = j < n ? points[j].x : out[j - 1].x + (out[j - 1].x - out[j - 2].x);
        out[j].y = solver.Evaluate(out[j].x);
    }
    return out;
}

std::vector<Point2D> CXGraphDataSerie::SimpleMovingAverage(int window) const {
    return WeightedAverage(points, window, [](double, double) { return 1.0; });
}

std::vector<Point2D> CXGraphDataSerie::LinearMovingAverage(int window) const {
    return WeightedAverage(points, window, [](double m, double) { return m; });
}

std::vector<Point2D> CXGraphDataSerie::TriangularMovingAverage(int window) const {
    return WeightedAverage(points, window, [](double m, double k) {
        const double h = (k + 1) / 2;
        return 1 - std::fabs(m - h) / h;
    });
}

std::vector<Point2D> CXGraphDataSerie::SineWeightedMovingAverage(int window) const {
    const double w = window;
    return WeightedAverage(points, window, [w](double m, double) { return std::sin(m * 3.14159265358979 / (w + 1)); });
}

std::vector<Point2D> CXGraphDataSerie::ExponentialMovingAverage(int window) const {
    if (points.empty() || window < 1) return {};
    const double alpha = 2.0 / (window + 1.0);
    std::vector<Point2D> out(points.size());
    out[0] = points[0];
    for (std::size_t i = 1; i < points.size(); ++i)
        out[i] = {points[i].x, alpha * points[i].y + (1 - alpha) * out[i - 1].y};
    return out;
}

bool CXGraphDataSerie::HitTest(int x1, int y1, int x2, int y2, int px, int py, int width) {
    const int t = std::max(1, width / 2);
    double d;
    if (x1 == x2 && y1 == y2)
        d = std::hypot(static_cast<double>(px - x1), static_cast<double>(py - y1));
    else
        d = PointLineDistance(x1, y1, x2, y2, px, py);
    return -t <= d && d <= t;
}

void CXGraphDataSerie::ClearLayout() {
    runs.clear();
    hitSegments.clear();
    markerCorners.clear();
    laidOut_.reset();
}

void CXGraphDataSerie::Layout(bool reduceColumns) {
    if (!owner || points.empty() || xAxis < 0 || xAxis >= static_cast<int>(owner->xAxes.size()) || yAxis < 0 ||
        yAxis >= static_cast<int>(owner->yAxes.size())) {
        ClearLayout();
        return;
    }
    markerNumber = markerType == 0 ? owner->GetCurveIndex(this) : markerSymbol;
    const CXGraphAxis& xa = owner->xAxes[static_cast<std::size_t>(xAxis)];
    const CXGraphAxis& ya = owner->yAxes[static_cast<std::size_t>(yAxis)];
    const Rect plot = owner->plotRect;
    const AxisMapping mx = xa.Mapping(), my = ya.Mapping();
    // Within one pixel column only the first, lowest, highest and last
    // points can show, as long as the line is one solid pixel wide: then the
    // rest are dropped before anything is drawn. A pattern runs along the
    // whole path and a wide pen's joins depend on every point, so those
    // curves are drawn whole.
    const bool solidPen = penStyle <= 0 || penStyle >= 5;  // the pen styles beyond the list draw solid
    const bool reduce = reduceColumns && lineType == 0 && solidPen && lineWidth <= 1;
    // Mapping every point again is most of a repaint of a dense chart; a
    // repaint that changes none of this draws the same pixels.
    const LayoutKey key{points.data(), points.size(), pointsRevision_, mx, my, plot, reduce, showMarkers, markerSize};
    if (laidOut_ && *laidOut_ == key) return;
    ClearLayout();
    auto pixel = [&](const Point2D& p) { return IPoint{mx.Pixel(p.x), my.Pixel(p.y)}; };
    struct Column {
        IPoint first, low, high, last;
        std::size_t lowAt = 0, highAt = 0;
        int count = 0;
    } col;
    std::vector<IPoint>* run = nullptr;
    auto flush = [&]() {
        if (!run || col.count == 0) return;
        auto put = [&](IPoint q) {
            if (run->empty() || !(run->back() == q)) run->push_back(q);
        };
        // The extremes in the order the curve reached them, so that the path
        // within the column runs the way the full one does.
        put(col.first);
        put(col.lowAt <= col.highAt ? col.low : col.high);
        put(col.lowAt <= col.highAt ? col.high : col.low);
        put(col.last);
        col.count = 0;
    };
    std::size_t at = 0;
    for (const auto& p : points) {
        ++at;
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
            flush();
            run = nullptr;
            continue;
        }
        if (!run) {
            runs.emplace_back();
            run = &runs.back();
        }
        const IPoint q = pixel(p);
        if (!reduce) {
            run->push_back(q);
            continue;
        }
        if (col.count > 0 && col.first.x != q.x) flush();
        if (col.count == 0) {
            col.first = col.low = col.high = col.last = q;
            col.lowAt = col.highAt = at;
        } else {
            if (q.y < col.low.y) col.low = q, col.lowAt = at;
            if (q.y > col.high.y) col.high = q, col.highAt = at;
            col.last = q;
        }
        ++col.count;
    }
    flush();

    for (const auto& r : runs)
        for (std::size_t i = 1; i < r.size(); ++i)
            if (plot.contains(r[i]) || plot.contains(r[i - 1]))
                hitSegments.push_back({r[i - 1].x, r[i - 1].y, r[i].x, r[i].y});

    if (showMarkers && markerSize >= 1) {
        // At most one marker per four marker widths of plot.
        const int q = std::max(1, plot.width() / markerSize / 4);
        int stride = Count() / q;
        if (stride < 1) stride = 2;
        for (std::size_t i = 0; i < points.size(); i += static_cast<std::size_t>(stride)) {
            if (!std::isfinite(points[i].x) || !std::isfinite(points[i].y)) continue;
            const IPoint c = pixel(points[i]);
            markerCorners.push_back({c.x - markerSize / 2, c.y - markerSize / 2});
        }
    }
    laidOut_ = key;
}

void CXGraphDataSerie::Store(ArchiveWriter& ar) const {
    CXGraphObject::Store(ar);
    ar.i32(Count());
    if (!points.empty())
        ar.bytes(std::span(reinterpret_cast<const std::uint8_t*>(points.data()), points.size() * sizeof(Point2D)));
    for (int v : {reservedA, reservedB, xAxis, yAxis, curveIndex, lineWidth, fillStyle, markerType, markerSymbol,
                  markerSize, penStyle})
        ar.i32(v);
    ar.boolean(showMarkers);
    ar.boolean(fill);
    ar.boolean(transparent);
    ar.string(name);
    ar.i32(lineType);
}

bool CXGraphDataSerie::Load(ArchiveReader& ar) {
    std::int32_t count;
    if (!CXGraphObject::Load(ar) || !ar.i32(count)) return false;
    if (count < 0 || static_cast<std::size_t>(count) > ar.remaining() / sizeof(Point2D)) return false;
    std::vector<Point2D> loaded(static_cast<std::size_t>(count));
    if (!ar.bytes(loaded.data(), loaded.size() * sizeof(Point2D))) return false;
    for (int* v : {&reservedA, &reservedB, &xAxis, &yAxis, &curveIndex, &lineWidth, &fillStyle, &markerType,
                   &markerSymbol, &markerSize, &penStyle})
        if (!ar.i32(*v)) return false;
    if (!ar.boolean(showMarkers) || !ar.boolean(fill) || !ar.boolean(transparent) || !ar.string(name) ||
        !ar.i32(lineType))
        return false;
    points = std::move(loaded);
    PointsChanged();
    ownsPoints = true;
    return true;
}

}  // namespace vra
