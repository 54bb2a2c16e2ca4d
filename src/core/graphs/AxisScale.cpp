#include "core/graphs/AxisScale.h"

#include <algorithm>
#include <cmath>

namespace vra {

namespace {
constexpr double kLimit = 1073741824.0;  // 2^30
constexpr double kTenthF = static_cast<double>(0.1f);
constexpr double kFifthF = static_cast<double>(0.2f);
constexpr int kMaxNarrowings = 30;
}  // namespace

int ClampPixel(double p) {
    if (std::isnan(p)) return 0;
    return static_cast<int>(std::clamp(std::trunc(p), -kLimit, kLimit));
}

AxisScale::AxisScale(double p1, double p2, double u1, double u2) : p1_(p1), p2_(p2), u1_(u1), u2_(u2) {
    k_ = p1 == p2 ? 0.0 : (u2 - u1) / (p2 - p1);
}

double AxisScale::ToPixelF(double v) const {
    if (p1_ == p2_ || k_ == 0.0 || !std::isfinite(k_)) return p1_;
    return p1_ + (v - u1_) / k_;
}

int AxisScale::ToPixel(double v) const {
    return ClampPixel(ToPixelF(v));
}

double AxisScale::ToValue(double p) const {
    if (u1_ == u2_) return u1_;
    return u1_ + (p - p1_) * k_;
}

int AxisScale::Magnitude(double v) {
    if (v == 0.0 || !std::isfinite(v)) return 0;
    const double l = std::log10(std::fabs(v));
    if (std::fabs(v) >= 1.0) return static_cast<int>(std::trunc(l));
    return -static_cast<int>(std::trunc(1.0 - l));
}

double AxisScale::ChooseStep(int n, double a, double b) {
    if (n == 0) return kTenthF;
    const double per = std::fabs(a - b) / n;
    if (!(per > kTenthF)) return kTenthF;
    if (per <= kFifthF) return kFifthF;
    if (per <= 0.5) return 0.5;
    for (double p = 1.0; std::isfinite(p); p *= 10.0)
        for (double f : {1.0, 2.0, 5.0})
            if (f * p >= per) return f * p;
    return per;
}

AxisTicks AxisScale::ComputeTicks(int n) const {
    AxisTicks t;
    if (!std::isfinite(u1_) || !std::isfinite(u2_)) return t;
    int e = Magnitude(std::fabs(u1_) >= std::fabs(u2_) ? u1_ : u2_);
    if (u1_ == u2_) {
        t.exponent = e;
        for (int i = 0; i < std::max(n, 0); ++i) {
            t.values.push_back(u1_);
            t.positions.push_back(p1_);
        }
        return t;
    }
    double a = u1_ * std::pow(10.0, -e), b = u2_ * std::pow(10.0, -e);
    // Narrow ranges are scaled up until they span a fifth; values that never
    // get there (negative or next to each other) give up rather than loop.
    int narrowings = 0;
    while (std::fabs(a - b) < kFifthF && a < 100 && b < 100) {
        if (++narrowings > kMaxNarrowings) {
            t.exponent = e;
            return t;
        }
        --e;
        a = u1_ * std::pow(10.0, -e);
        b = u2_ * std::pow(10.0, -e);
    }
    const double step = ChooseStep(n, a, b);
    t.exponent = e;
    t.step = step;
    if (std::fabs(a - b) < step || !std::isfinite(a) || !std::isfinite(b)) return t;
    const double lo = std::min(a, b), hi = std::max(a, b);
    const double k0 = std::trunc(a / step);
    bool found = false;
    double first = 0;
    for (int j = -2; j <= 2; ++j) {
        const double c = (k0 + j) * step;
        if (c < lo || c > hi) continue;
        if (!found || std::fabs(c - a) < std::fabs(first - a)) first = c;
        found = true;
    }
    if (!found) return t;
    const double scale = std::pow(10.0, e);
    for (double v = first; v >= lo && v <= hi;) {
        t.values.push_back(v * scale);
        t.positions.push_back(ToPixelF(v * scale));
        const double next = u1_ < u2_ ? v + step : v - step;
        if (next == v) break;  // far from zero a step can be too small to move v
        v = next;
    }
    return t;
}

}  // namespace vra
