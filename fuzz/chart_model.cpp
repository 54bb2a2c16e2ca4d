// Drives a chart from bytes: data with odd values, layouts down to a pixel,
// ranges, steps, formats, clicks, keys, zooms, pans, deletions, derived
// curves and archives. Whatever comes, the chart must stay bounded and sound.
#include "core/chart/ChartController.h"
#include "core/chart/ChartLayout.h"

#include "ChartScript.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using namespace vra;
using namespace vra::fuzz;

class Reader {
public:
    Reader(const std::uint8_t* d, std::size_t n) : d_(d), n_(n) {}
    bool done() const { return i_ >= n_; }
    std::uint8_t u8() { return i_ < n_ ? d_[i_++] : 0; }
    std::uint16_t u16() { return static_cast<std::uint16_t>(u8() | (u8() << 8)); }
    double value() {
        const std::uint8_t b = u8();
        if (b == 255) {
            std::uint64_t bits = 0;
            for (int k = 0; k < 8; ++k) bits |= static_cast<std::uint64_t>(u8()) << (8 * k);
            double v;
            std::memcpy(&v, &bits, 8);
            return v;
        }
        if (b == 254) return std::numeric_limits<double>::quiet_NaN();
        if (b == 253) return std::numeric_limits<double>::infinity();
        if (b == 252) return -std::numeric_limits<double>::infinity();
        constexpr std::size_t n = std::size(kValueTable);
        return kValueTable[b % n] * (b >= n ? 1.0 + (b / n) : 1.0);
    }
    std::vector<std::uint8_t> bytes(std::size_t n) {
        std::vector<std::uint8_t> out;
        while (n-- && !done()) out.push_back(u8());
        return out;
    }

private:
    const std::uint8_t* d_;
    std::size_t n_;
    std::size_t i_ = 0;
};

class Measurer : public TextMeasurer {
public:
    ISize extent(const FontSpec& f, std::string_view text) const override {
        int lines = 1, widest = 0, cur = 0;
        for (char c : text) {
            if (c == '\n') {
                ++lines;
                cur = 0;
            } else {
                widest = std::max(widest, ++cur * (f.height / 2 + 1));
            }
        }
        return {widest, lines * f.height};
    }
};

CXGraphAxis* PickAxis(ChartModel& m, Reader& r) {
    const bool y = r.u8() & 1;
    auto& axes = y ? m.yAxes : m.xAxes;
    const std::uint8_t i = r.u8();
    if (axes.empty()) return nullptr;
    return &axes[i % axes.size()];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader r(data, size);
    ChartModel model;
    Measurer measurer;
    ChartController ctl(model);
    model.measurer = &measurer;
    model.windowVisible = true;
    Rect area{0, 0, 400, 300};
    int steps = 0;
    while (!r.done() && ++steps < 2000) {
        switch (r.u8() % kOpCount) {
            case kSetData: {
                const int count = r.u8();
                const int c = r.u8() % (model.CurveCount() + 2);
                const int ax = r.u8() % (static_cast<int>(model.xAxes.size()) + 2);
                const int ay = r.u8() % (static_cast<int>(model.yAxes.size()) + 2);
                std::vector<Point2D> pts(static_cast<std::size_t>(count));
                for (auto& p : pts) p = {r.value(), r.value()};
                model.SetData(pts.data(), count, c, ax, ay);
                break;
            }
            case kLayout:
                area = {0, 0, r.u16() % 2100, r.u16() % 2100};
                ChartLayout::Run(model, measurer, area);
                break;
            case kSetRange:
                if (auto* a = PickAxis(model, r)) a->SetRange(r.value(), r.value(), r.value());
                break;
            case kCommand:
                ctl.Command(40000 + r.u8() % 13);
                break;
            case kMove: {
                const IPoint p{r.u16() % 2200 - 50, r.u16() % 2200 - 50};
                ctl.MouseMove(p, r.u8() & 1);
                break;
            }
            case kButton: {
                const std::uint8_t which = r.u8() % 5;
                const IPoint p{r.u16() % 2200 - 50, r.u16() % 2200 - 50};
                ChartEvents ev;
                if (which == 0) ev = ctl.LeftDown(p);
                if (which == 1) ev = ctl.LeftUp(p);
                if (which == 2) ev = ctl.LeftDoubleClick(p);
                if (which == 3) ev = ctl.RightDown(p);
                if (which == 4) ev = ctl.RightUp(p);
                // What a window would do with the editor and the tracker.
                for (const auto& e : ev) {
                    if (e.kind == ChartEvent::Kind::EndEdit)
                        if (auto* l = dynamic_cast<CXGraphLabel*>(e.object)) l->EndEdit("edited");
                    if (e.kind == ChartEvent::Kind::Track) ctl.TrackFinished(e.object, Rect{1, 2, 30, 40}, true);
                }
                break;
            }
            case kKey:
                ctl.KeyUp(static_cast<ChartKey>(r.u8() % 8));
                break;
            case kDeleteKey:
                ctl.DeleteKey();
                break;
            case kDeleteCurve:
                model.DeleteCurve(r.u8() % (model.CurveCount() + 1));
                break;
            case kFormat: {
                CXGraphAxis* a = PickAxis(model, r);
                const auto text = r.bytes(r.u8() % 24);
                if (a) a->labelFormat.assign(text.begin(), text.end());
                break;
            }
            case kLook: {
                const std::uint8_t which = r.u8() % 10;
                const int v = static_cast<std::int8_t>(r.u8());
                if (which == 0) model.legend = v & 1;
                if (which == 1) model.legendPlacement = v & 1;
                if (which == 2) model.snapTolerance = v;
                if (!model.xAxes.empty() && which == 3) model.xAxes[0].timeAxis = v & 1;
                if (!model.yAxes.empty() && which == 4) model.yAxes[0].autoscale = v & 1;
                if (!model.yAxes.empty() && which == 5) model.yAxes[0].markerSize = v;
                if (model.CurveCount() && which == 6) model.curves[0].showMarkers = v & 1;
                if (model.CurveCount() && which == 7) model.curves[0].markerSize = v;
                if (model.CurveCount() && which == 8) model.curves[0].fill = v & 1;
                if (model.CurveCount() && which == 9) model.curves[0].visible = v & 1;
                break;
            }
            case kDerived: {
                const int c = r.u8();
                const std::uint8_t which = r.u8() % 8;
                const int param = static_cast<std::int16_t>(r.u16());
                if (c >= model.CurveCount()) break;
                auto& curve = model.curves[static_cast<std::size_t>(c)];
                std::vector<Point2D> pts;
                if (which == 0) pts = curve.LinearTrend(param);
                if (which == 1) pts = curve.CubicTrend(param);
                if (which == 2) pts = curve.PolynomialTrend(param % 24, param / 24);
                if (which == 3) pts = curve.SimpleMovingAverage(param);
                if (which == 4) pts = curve.LinearMovingAverage(param);
                if (which == 5) pts = curve.ExponentialMovingAverage(param);
                if (which == 6) pts = curve.TriangularMovingAverage(param);
                if (which == 7) pts = curve.SineWeightedMovingAverage(param);
                (void)PolynomialLabel(curve.solver);
                // Adding a curve may move the curves: nothing of the source is used after it.
                if (!pts.empty() && pts.size() < 100000)
                    model.SetData(pts.data(), static_cast<int>(pts.size()), model.CurveCount(), curve.xAxis,
                                  curve.yAxis);
                break;
            }
            case kResetAll:
                model.ResetAll();
                break;
            case kObjects: {
                const std::uint8_t which = r.u8() % 3;
                const int a = r.u8(), b = r.u8();
                if (which == 0) model.InsertLabel({a, b, a + 50, b + 30}, "label")->curve = a % 4 - 1;
                if (which == 1) model.AddNotation(a % (model.CurveCount() + 1), b, "note");
                if (which == 2) model.InsertEmptyLabel("");
                break;
            }
            case kArchive: {
                const std::uint8_t which = r.u8() % 4;
                const auto bytes = r.bytes(r.u16() % 4096);
                ArchiveReader ar(bytes);
                if (which == 0) CXGraphAxis().Load(ar);
                if (which == 1) CXGraphDataSerie().Load(ar);
                if (which == 2) CXGraphLabel().Load(ar);
                if (which == 3) CXGraphDataNotation().Load(ar);
                break;
            }
            default:
                break;
        }
    }
    ChartLayout::Run(model, measurer, area);
    (void)ctl.CursorTable();
    return 0;
}
