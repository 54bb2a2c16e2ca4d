#include "core/graphs/TimeDifference.h"

#include "core/replay/GetRpyInfo.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace vra {

std::string FormatGraphLapTime(std::uint32_t word) {
    const std::uint32_t t = word & 0x0FFFFFFFu;
    const std::uint32_t minutes = t / 60000;
    const std::uint32_t seconds = t / 1000 - 60 * minutes;
    const std::uint32_t ms = t - 1000 * (60 * minutes + seconds);
    std::string text = minutes > 0 ? fmt::format("{}m", minutes) : std::string{};
    return text + fmt::format("{:02}.{:03}s", seconds, ms);
}

namespace {

std::uint32_t ToWord(double ms) {
    const double a = std::fabs(ms);
    return a >= 268435455.0 || !std::isfinite(a) ? 0x0FFFFFFFu : static_cast<std::uint32_t>(a);
}

const char* Sign(double v) {
    return v > 0 ? "+" : "-";
}

template <class T>
double At(const std::vector<T>& v, int i) {
    return i >= 0 && static_cast<std::size_t>(i) < v.size() ? static_cast<double>(v[static_cast<std::size_t>(i)]) : 0.0;
}

struct LapView {
    const GetRpyInfo* d;
    int count;
    double Raw(int i) const { return At(d->distance, i); }
    double Dist(int i) const { return At(d->distanceM, i); }
    // The sample at or after distance, moved on at least one sample; the
    // lap's last sample is never reached, its distance has wrapped.
    void Advance(int& j, double distance) const {
        const int last = std::max(count - 2, 1);
        if (j < last) ++j;
        while (j < last && Dist(j) < distance) ++j;
    }
    double Start() const {
        const double step = static_cast<double>(d->distanceStepStart);
        return step == 0.0 ? 0.0 : Raw(2) * (1.0 / 36.0) / step;
    }
};

}  // namespace

std::string SignedLapTime(double ms) {
    return std::string(Sign(ms)) + FormatGraphLapTime(ToWord(ms));
}

void TimeDifference::Compute(const TimeDiffLap& a, const TimeDiffLap& b, double yLow, double yHigh) {
    table_.fill(0.0);
    curve_.clear();
    const LapView la{a.info, a.info ? a.info->sampleCount : 0};
    const LapView lb{b.info, b.info ? b.info->sampleCount : 0};

    const double r = std::max(la.Raw(la.count - 2), lb.Raw(lb.count - 2));
    const int m = std::min(la.count, lb.count);
    n_ = m < 1000 ? m / 2 : 1000;
    // A lap of a sample or two would leave no points to divide the lap into.
    n_ = std::max(n_, 1);
    step_ = r * 0.0005 / n_;
    const double startA = la.Start(), startB = lb.Start();

    double largest = 0.0, smallest = 0.0;
    int ja = 1, jb = 1;
    for (int i = 3; i <= n_ - 1; ++i) {
        const double d = i * step_;
        la.Advance(ja, d);
        lb.Advance(jb, d);
        const double big = lb.Dist(jb);
        const double span = la.Dist(ja) - la.Dist(ja - 1);
        // A lap standing still has no fraction to add.
        const double fa = span == 0.0 ? 0.0 : (big - la.Dist(ja - 1)) / span;
        const double ta = ((ja - 2) / 36.0 + fa / 36.0 + startA) * 1000.0;
        const double tb = ((jb - 1) / 36.0 + startB) * 1000.0;
        // Two times that are the same instant (the same lap loaded twice)
        // can differ by a rounding residue that the scale would blow up to
        // full height; counted apart in frames before they become time they
        // give exactly zero, and then the difference is zero.
        const bool sameInstant = ((ja - 2 + fa) - (jb - 1)) / 36.0 * 1000.0 + (startA - startB) * 1000.0 == 0.0;
        const double diff = sameInstant ? 0.0 : ta - tb;
        table_[static_cast<std::size_t>(i)] = diff;
        largest = std::max(largest, diff);
        smallest = std::min(smallest, diff);
    }

    const double half = (yHigh - yLow) * 0.5;
    centre_ = yLow + half;
    const double most = std::max(largest, std::fabs(smallest));
    // Identical laps: nothing to scale, so the curve lies on the zero line.
    scale_ = most == 0.0 ? 1.0 : half * 0.99 / most;
    curveLength_ = (n_ - 1) * step_;

    for (int i = 3; i <= n_ - 1; ++i)
        curve_.push_back({i * step_, table_[static_cast<std::size_t>(i)] * scale_ + centre_});
    const int k = std::max(n_, 3) + 1;
    const std::int32_t finish =
        static_cast<std::int32_t>(a.lapWord & 0x0FFFFFFFu) - static_cast<std::int32_t>(b.lapWord & 0x0FFFFFFFu);
    table_[static_cast<std::size_t>(k)] = finish;
    finishX_ = k * step_;
    curve_.push_back({finishX_, finish * scale_ + centre_});

    finishText_ = SignedLapTime(finish);
    behindText_ = largest == 0.0 ? "NA" : SignedLapTime(std::trunc(largest));
    aheadText_ = smallest == 0.0 ? "NA" : SignedLapTime(std::trunc(smallest));
    const double spread = largest + std::fabs(smallest);
    spreadText_ = spread == 0.0 ? "NA" : FormatGraphLapTime(ToWord(std::trunc(spread)));
}

std::string TimeDifference::PositionText(double x) const {
    if (!(curveLength_ > 0.0)) return {};
    const double idx = std::trunc(x / (curveLength_ / n_));
    if (!(idx >= 3 && idx < n_)) return {};
    const double d = table_[static_cast<std::size_t>(idx)];
    return std::string(Sign(d)) + FormatGraphLapTime(ToWord(std::trunc(std::fabs(d) + 0.5)));
}

std::string TimeDifference::CursorText(double y) const {
    const double v = (y - centre_) / scale_;
    return ", timediff=" + std::string(Sign(v)) + FormatGraphLapTime(ToWord(std::trunc(std::fabs(v) + 0.5)));
}

}  // namespace vra
