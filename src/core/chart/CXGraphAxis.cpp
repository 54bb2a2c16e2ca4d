#include "core/chart/CXGraphAxis.h"

#include "core/chart/ChartModel.h"
#include "core/chart/OleDate.h"
#include "core/chart/ValueFormat.h"

#include <algorithm>
#include <cmath>

namespace vra {

namespace {

constexpr double kEndTolerance = 1e-9;  // in steps
constexpr double kPixelSlack = 32768.0;

double Pow10(int e) {
    return std::pow(10.0, static_cast<double>(e));
}

// The step as an integer mantissa and a power of ten, when it is one (steps
// a user typed may not be); mantissa 0 when not.
NiceStepValue Decompose(double step) {
    NiceStepValue v;
    v.step = step;
    if (!(step > 0) || !std::isfinite(step)) return v;
    const int e0 = static_cast<int>(std::floor(std::log10(step)));
    for (int e = e0; e >= e0 - 3; --e) {
        const double m = e >= 0 ? step / Pow10(e) : step * Pow10(-e);
        const double r = std::nearbyint(m);
        if (r >= 1 && r <= 100000 && std::fabs(m - r) <= 1e-9 * r) {
            v.mantissa = static_cast<int>(r);
            v.exponent = e;
            return v;
        }
    }
    return v;
}

int TruncToInt(double v) {
    if (!(v == v)) return 0;
    v = std::clamp(v, -2.0e9, 2.0e9);
    return static_cast<int>(std::trunc(v));
}

}  // namespace

double NiceStepValue::Multiple(double k) const {
    if (mantissa == 0) return k * step;
    const double km = k * mantissa;
    return exponent >= 0 ? km * Pow10(exponent) : km / Pow10(-exponent);
}

CXGraphAxis::CXGraphAxis() {
    colour = kBlack;
}

bool CXGraphAxis::Accept(double& minimum, double& maximum) {
    if (!std::isfinite(minimum) || !std::isfinite(maximum) || minimum > maximum) return false;
    if (minimum == maximum) {
        minimum -= 1;
        maximum += 1;
        if (minimum == maximum) {  // too large for a unit to count
            const double d = std::fabs(minimum) * 1e-6;
            minimum -= d;
            maximum += d;
        }
        if (!std::isfinite(minimum) || !std::isfinite(maximum)) return false;
    }
    if ((std::fabs(minimum) > 1000000 || std::fabs(maximum) > 1000000) && !timeAxis) labelFormat = "%5.2e";
    return true;
}

void CXGraphAxis::DefaultStep() {
    if (owner && owner->windowVisible && owner->measurer)
        step = AutoStep();
    else
        step = 0.1 * (curMax - curMin);
}

bool CXGraphAxis::SetDataRange(double minimum, double maximum) {
    if (!Accept(minimum, maximum)) return false;
    autoMin = curMin = minimum;
    autoMax = curMax = maximum;
    DefaultStep();
    return true;
}

bool CXGraphAxis::SetRange(double minimum, double maximum, double newStep) {
    if (!std::isfinite(newStep) || newStep < 0) return false;
    if (!Accept(minimum, maximum)) return false;
    curMin = minimum;
    curMax = maximum;
    if (newStep != 0)
        step = newStep;
    else
        DefaultStep();
    return true;
}

void CXGraphAxis::Reset() {
    if (autoMin > autoMax) return;  // no data yet
    curMin = autoMin;
    curMax = autoMax;
    step = 0.1 * (autoMax - autoMin);
}

void CXGraphAxis::GetRanges(double& minimum, double& maximum, double& s) const {
    minimum = curMin;
    maximum = curMax;
    s = step;
}

int CXGraphAxis::Index() const {
    return owner ? owner->GetAxisIndex(this) : -1;
}

int CXGraphAxis::Length() const {
    const Rect plot = owner ? owner->plotRect : Rect{};
    int len;
    if (kind == X)
        len = TruncToInt(plot.right - endReserve - markerExtent) - plot.left;
    else
        len = plot.bottom - TruncToInt(plot.top + markerExtent + endReserve);
    return std::max(len, 1);
}

int CXGraphAxis::MeasuredExtent() const {
    return std::max(kind == X ? GetMaxLabelWidth() : GetLabelHeight(), 1);
}

double CXGraphAxis::AutoStep() const {
    return (curMax - curMin) / Length() * MeasuredExtent();
}

std::string CXGraphAxis::TickLabel(double v) const {
    if (timeAxis) return OleDate::Format(v, labelFormat);
    return FormatValue(labelFormat, v);
}

int CXGraphAxis::GetMaxLabelWidth() const {
    if (!owner || !owner->measurer) return tickSize;
    const auto a = owner->measurer->extent(tickFont, TickLabel(curMin));
    const auto b = owner->measurer->extent(tickFont, TickLabel(curMax));
    return std::max(a.cx, b.cx) + tickSize;
}

int CXGraphAxis::GetLabelHeight() const {
    if (!owner || !owner->measurer) return tickSize;
    return owner->measurer->extent(tickFont, TickLabel(autoMin)).cy + tickSize;
}

ISize CXGraphAxis::GetTitleSize() const {
    if (!owner || !owner->measurer) return {};
    return owner->measurer->extent(titleFont, label);
}

std::optional<NiceStepValue> CXGraphAxis::NiceStep(int n, double minimum, double maximum) {
    if (n <= 0) return std::nullopt;
    double raw = (maximum - minimum) / n;
    if (!(raw > 0) || !std::isfinite(raw)) return std::nullopt;
    double m;
    int e;
    if (raw >= 1) {
        int c = 0;
        while (raw >= 1) {
            raw *= 0.1;
            ++c;
        }
        m = raw * 10;
        e = c - 1;
    } else {
        int c = 0;
        while (raw < 1) {
            raw *= 10;
            ++c;
        }
        m = raw;
        e = -c;
    }
    NiceStepValue v;
    v.mantissa = m <= 1 ? 1 : m <= 2 ? 2 : m <= 5 ? 5 : 10;
    v.exponent = e;
    v.step = v.Multiple(1);
    if (v.step == 0) v = Decompose(0.1);
    if (!std::isfinite(v.step)) return std::nullopt;
    return v;
}

void CXGraphAxis::AlignRange(double& minimum, double& maximum, const NiceStepValue& s) {
    if (!(s.step > 0)) return;
    // Far from zero the quotient carries more rounding than the tolerance,
    // so an end is also on a multiple when it equals that multiple as the
    // ticks compute it; else an aligned end would move again on every paint.
    auto onMultiple = [&](double v, double q) {
        const double k = std::nearbyint(q);
        return std::fabs(q - k) <= kEndTolerance || std::fabs(v - s.Multiple(k)) <= kEndTolerance * s.step;
    };
    const double qMin = minimum / s.step;
    if (std::isfinite(qMin) && !onMultiple(minimum, qMin)) minimum = s.Multiple(std::trunc(qMin - 1));
    const double qMax = maximum / s.step;
    if (std::isfinite(qMax) && !onMultiple(maximum, qMax)) maximum = s.Multiple(std::trunc(qMax + 1));
}

double CXGraphAxis::TimeStep(int n, double minimum, double maximum) {
    static constexpr double kTable[] = {0,        1,        2,        5,         10,        15,        20,
                                        30,       60,       120,      300,       600,       900,       1800,
                                        3600,     7200,     14400,    28800,     36000,     43200,     86400,
                                        172800,   345600,   604800,   1209600,   2419200,   4838400,   7257600,
                                        15724800, 31449600, 62899200, 157248000, 314496000, 628992000, 1572480000};
    // Whole seconds of the span: a part second does not count (30.6 s is 30 s).
    const double seconds = std::trunc((maximum - minimum) * 86400.0 + 1.0 / 172800);
    const double raw = n > 0 ? seconds / n : 0.0;
    if (!(raw > 0) || !std::isfinite(raw)) return 0.0;
    double s = raw;
    for (std::size_t i = 1; i < std::size(kTable); ++i) {
        if (kTable[i - 1] < raw && raw <= kTable[i]) {
            s = kTable[i];
            break;
        }
    }
    return s / 86400.0;
}

void CXGraphAxis::AlignTimeRange(double& minimum, double& maximum, double s) {
    const double sSeconds = std::nearbyint(s * 86400.0);
    if (!(sSeconds > 0) || sSeconds > 1e15) return;
    const auto S = static_cast<std::int64_t>(sSeconds);
    auto floorDiv = [](std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); };
    constexpr std::int64_t kLimit = 1000000000000000LL;  // far beyond any valid date
    const std::int64_t m = OleDate::ToUnixSeconds(minimum);
    if (m > -kLimit && m < kLimit && m % S != 0) minimum = OleDate::FromUnixSeconds(floorDiv(m, S) * S);
    const std::int64_t M = OleDate::ToUnixSeconds(maximum);
    if (M > -kLimit && M < kLimit && M % S != 0) maximum = OleDate::FromUnixSeconds((floorDiv(M, S) + 1) * S);
}

void CXGraphAxis::AutoScale() {
    endReserve = kind == X ? 4.0 * arrowSize : 2.0 * arrowSize;
    markerExtent = CurveMarkers(false);
    // The room depends on the labels of the range being aligned, so one
    // alignment can ask for another; stop when nothing moves.
    for (int round = 0; round < 8; ++round) {
        const double oldMin = curMin, oldMax = curMax, oldStep = step;
        const int n = std::max(Length() / MeasuredExtent(), 2);
        if (timeAxis) {
            const double s = TimeStep(n, curMin, curMax);
            if (!(s > 0)) return;
            step = s;
            AlignTimeRange(curMin, curMax, s);
        } else {
            const auto s = NiceStep(n, curMin, curMax);
            if (!s) return;
            step = s->step;
            AlignRange(curMin, curMax, *s);
        }
        if (curMin == oldMin && curMax == oldMax && step == oldStep) return;
    }
}

double CXGraphAxis::GetValueForPos(int pos) const {
    const Rect plot = owner ? owner->plotRect : Rect{};
    const double rw = curMax - curMin;
    rangeWidth = rw;
    const double perUnit = std::max(length, 1) / rw;
    if (kind == X) return (pos - plot.left) / perUnit + curMin;
    return (plot.bottom - pos) / perUnit + curMin;
}

AxisMapping CXGraphAxis::Mapping() const {
    const Rect plot = owner ? owner->plotRect : Rect{};
    AxisMapping m;
    rangeWidth = curMax - curMin;
    m.perUnit = std::max(length, 1) / rangeWidth;
    m.minimum = curMin;
    if (kind == X) {
        m.base = plot.left;
        m.sign = 1.0;
        m.low = plot.left - kPixelSlack;
        m.high = plot.right + kPixelSlack;
    } else {
        m.base = plot.bottom;
        m.sign = -1.0;
        m.low = plot.top - kPixelSlack;
        m.high = plot.bottom + kPixelSlack;
    }
    return m;
}

IPoint CXGraphAxis::GetPointForValue(Point2D pt) const {
    const AxisMapping m = Mapping();
    IPoint out;
    if (kind == X)
        out.x = m.Pixel(pt.x);
    else
        out.y = m.Pixel(pt.y);
    return out;
}

int CXGraphAxis::GetNearestPointIndex(double x, int curve) const {
    if (!owner || curve < 0 || curve >= owner->CurveCount()) return -1;
    const auto& pts = owner->curves[static_cast<std::size_t>(curve)].points;
    const std::size_t n = pts.size();
    if (n == 0) return -1;
    std::size_t lo = 0, hi = n;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (pts[mid].x <= x)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == 0) return 0;
    if (lo == n) return static_cast<int>(n - 1);
    const double below = x - pts[lo - 1].x, above = pts[lo].x - x;
    return static_cast<int>(above < below ? lo : lo - 1);
}

int CXGraphAxis::CurveMarkers(bool place) {
    if (place) markers.clear();
    if (!showMarkers || !owner) return 0;
    const int s = markerSize;
    const int idx = Index();
    const Rect plot = owner->plotRect;
    int j = 0;
    for (std::size_t ci = 0; ci < owner->curves.size(); ++ci) {
        const auto& c = owner->curves[ci];
        if (!c.visible || (kind == X ? c.xAxis : c.yAxis) != idx) continue;
        if (place) {
            AxisMarker m;
            if (kind == Y) {
                const int r = j / 3, col = j % 3;
                m.x = placement == 1 ? originX - s / 2 + col * s : originX - s / 2 - col * s;
                m.y = inner.top + r * s;
            } else {
                const int q = j / 2, row = j % 2;
                m.x = plot.right - (q + 1) * s;
                m.y = originY - s / 2 + row * s;
            }
            m.size = s;
            m.colour = c.colour;
            m.symbol = c.markerType == 1;
            m.number = c.markerType == 0 ? static_cast<int>(ci) : c.markerSymbol;
            markers.push_back(m);
        }
        ++j;
    }
    if (kind == Y) return s * ((j + 2) / 3);
    return s * (1 + (j + 1) / 2);
}

void CXGraphAxis::Layout() {
    ticks.clear();
    if (autoscale) AutoScale();
    const Rect plot = owner ? owner->plotRect : Rect{};
    rangeWidth = curMax - curMin;
    const bool hasTitle = !label.empty();
    const ISize title = hasTitle ? GetTitleSize() : ISize{};
    int axisPixels;
    if (kind == Y) {
        endReserve = 2.0 * arrowSize;
        markerExtent = CurveMarkers(false);
        if (hasTitle) endReserve += title.cy;
        top = TruncToInt(inner.top + markerExtent);
        length = std::max(plot.bottom - TruncToInt(plot.top + endReserve + markerExtent), 1);
        axisPixels = std::max(TruncToInt(originY - top - endReserve), 1);
        markerExtent = CurveMarkers(true);
        if (placement == 1)
            titleRect = {originX + tickSize, top, originX + tickSize + title.cx, top + title.cy};
        else
            titleRect = {originX - tickSize - title.cx, top, originX - tickSize, top + title.cy};
        rect = {originX - 5, top, originX + 5, originY};
    } else {
        endReserve = 4.0 * arrowSize;
        markerExtent = CurveMarkers(false);
        if (hasTitle) endReserve += title.cx;
        farEnd = TruncToInt(plot.right - markerExtent);
        length = std::max(TruncToInt(farEnd - originX - endReserve), 1);
        axisPixels = length;
        markerExtent = CurveMarkers(true);
        titleRect = {farEnd - title.cx, originY + tickSize, farEnd, originY + tickSize + title.cy};
        rect = {originX, originY - 5, farEnd, originY + 5};
    }

    // Ticks: value i is min + i steps at i pixel steps from the origin, so
    // neither values nor positions drift. A step that would give more ticks
    // than pixels draws with the label-sized step instead.
    if (!(rangeWidth > 0) || !std::isfinite(rangeWidth)) return;
    drawStep = step;
    double k = rangeWidth / drawStep;
    if (!(drawStep > 0) || !std::isfinite(k) || k > axisPixels) {
        drawStep = rangeWidth / axisPixels * MeasuredExtent();
        k = rangeWidth / drawStep;
        if (!std::isfinite(k) || !(k > 0)) return;
    }
    const NiceStepValue parts = Decompose(drawStep);
    const double p = axisPixels / k;
    // An end that is a multiple of the step may sit a few units in the last
    // place off it (dates far from zero with steps of minutes): that still
    // counts as a multiple, so a y axis keeps its top tick and an x axis
    // draws none at its maximum.
    const double ends = std::max(std::fabs(curMin), std::fabs(curMax));
    const double rounding = 4.0 * (std::nextafter(ends, kHuge) - ends) / drawStep;
    const double tolerance = std::clamp(rounding, kEndTolerance, 1e-3);
    const long count =
        kind == Y ? static_cast<long>(std::floor(k + tolerance)) + 1 : static_cast<long>(std::ceil(k - tolerance));
    for (long i = 0; i < count; ++i) {
        AxisTick t;
        t.value = curMin + parts.Multiple(static_cast<double>(i));
        t.text = TickLabel(t.value);
        const ISize sz = owner && owner->measurer ? owner->measurer->extent(tickFont, t.text) : ISize{};
        if (kind == Y) {
            const double y = originY - i * p;
            const int ty = TruncToInt(y);
            const int h = sz.cy / 2;
            t.pos = ty;
            if (placement == 1) {
                t.textRect = {originX + tickSize, TruncToInt(y - h), originX + tickSize + sz.cx, TruncToInt(y + h)};
                t.lineFrom = {originX + tickSize, ty};
                t.lineTo = showGrid && ty != originY ? IPoint{plot.left, ty} : IPoint{originX, ty};
            } else {
                t.textRect = {originX - tickSize - sz.cx, TruncToInt(y - h), originX - tickSize, TruncToInt(y + h)};
                t.lineFrom = {originX - tickSize, ty};
                t.lineTo = showGrid && ty != originY ? IPoint{plot.right, ty} : IPoint{originX, ty};
            }
        } else {
            const double x = originX + i * p;
            const int tx = TruncToInt(x);
            const int h = sz.cx / 2;
            t.pos = tx;
            t.textRect = {TruncToInt(x - h), originY + tickSize, TruncToInt(x + h), originY + tickSize + sz.cy};
            t.lineFrom = {tx, originY + tickSize};
            t.lineTo = showGrid && tx != originX ? IPoint{tx, inner.top} : IPoint{tx, originY};
        }
        ticks.push_back(std::move(t));
    }
}

void CXGraphAxis::Store(ArchiveWriter& ar) const {
    ar.boolean(autoscale);
    ar.boolean(visible);
    ar.boolean(showGrid);
    ar.string(labelFormat);
    ar.string(label);
    ar.f64(autoMax);
    ar.f64(autoMin);
    ar.f64(curMax);
    ar.f64(curMin);
    ar.f64(step);
    ar.i32(originY);
    ar.i32(originX);
    ar.i32(kind);
    ar.i32(arrowSize);
    ar.i32(tickSize);
    ar.colour(colour);
    ar.colour(gridColour);
    ar.i32(gridStyle);
    ar.f64(endReserve);
    ar.boolean(timeAxis);
    ar.f64(markerExtent);
    ar.f64(rangeWidth);
    ar.i32(length);
    ar.i32(markerSize);
    ar.i32(placement);
    ar.boolean(showMarkers);
    ar.i32(static_cast<std::int32_t>(colourRanges.size()));
    for (const auto& r : colourRanges) {
        ar.f64(r.from);
        ar.f64(r.to);
        ar.colour(r.colour);
        ar.i32(r.style);
    }
    ar.font(tickFont);
    ar.font(titleFont);
}

bool CXGraphAxis::Load(ArchiveReader& ar) {
    std::int32_t ranges = 0;
    if (!ar.boolean(autoscale) || !ar.boolean(visible) || !ar.boolean(showGrid) || !ar.string(labelFormat) ||
        !ar.string(label) || !ar.f64(autoMax) || !ar.f64(autoMin) || !ar.f64(curMax) || !ar.f64(curMin) ||
        !ar.f64(step) || !ar.i32(originY) || !ar.i32(originX) || !ar.i32(kind) || !ar.i32(arrowSize) ||
        !ar.i32(tickSize) || !ar.colour(colour) || !ar.colour(gridColour) || !ar.i32(gridStyle) ||
        !ar.f64(endReserve) || !ar.boolean(timeAxis) || !ar.f64(markerExtent) || !ar.f64(rangeWidth) ||
        !ar.i32(length) || !ar.i32(markerSize) || !ar.i32(placement) || !ar.boolean(showMarkers) || !ar.i32(ranges))
        return false;
    if (ranges < 0 || static_cast<std::size_t>(ranges) > ar.remaining() / 24) return false;
    for (std::int32_t i = 0; i < ranges; ++i) {
        ColourRange r;
        if (!ar.f64(r.from) || !ar.f64(r.to) || !ar.colour(r.colour) || !ar.i32(r.style)) return false;
        colourRanges.push_back(r);
    }
    if (!ar.font(tickFont) || !ar.font(titleFont)) return false;
    // A stored axis is still an axis: an unknown kind reads as x, sizes stay sane.
    if (kind != X && kind != Y) kind = X;
    if (placement < 0 || placement > 2) placement = 2;
    return true;
}

}  // namespace vra
