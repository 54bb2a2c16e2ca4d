#include "core/chart/ChartModel.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace vra {

namespace {

// Widens the four values to the point's finite coordinates.
inline void Widen(const Point2D& p, double& xMin, double& xMax, double& yMin, double& yMax) {
    if (std::isfinite(p.x)) {
        if (p.x > xMax) xMax = p.x;
        if (p.x < xMin) xMin = p.x;
    }
    if (std::isfinite(p.y)) {
        if (p.y > yMax) yMax = p.y;
        if (p.y < yMin) yMin = p.y;
    }
}

}  // namespace

ChartModel::ChartModel() {
    auto readOut = std::make_unique<CXGraphLabel>();
    readOut->rect = {100, 100, 200, 175};
    readOut->visible = false;
    readOut->editable = false;
    readOut->border = true;
    readOut->owner = this;
    objects.push_back(std::move(readOut));
}

void ChartModel::AdoptAxis(CXGraphAxis& axis, int kind) {
    axis.kind = kind;
    axis.owner = this;
}

CXGraphDataSerie* ChartModel::SetData(const Point2D* pts, int count, int c, int ax, int ay, bool copy) {
    if (count < 0 || (count > 0 && !pts)) return nullptr;
    if (c < 0 || ax < 0 || ay < 0 || c > CurveCount() || ax > static_cast<int>(xAxes.size()) ||
        ay > static_cast<int>(yAxes.size()))
        return nullptr;
    if (c == CurveCount()) {
        CXGraphDataSerie curve;
        curve.colour = kCurveColours[curves.size() % 12];
        curve.curveIndex = c;
        curves.push_back(std::move(curve));
    }
    auto& curve = curves[static_cast<std::size_t>(c)];
    curve.xAxis = ax;
    curve.yAxis = ay;
    curve.ownsPoints = copy;
    curve.owner = this;
    if (ax == static_cast<int>(xAxes.size())) {
        xAxes.emplace_back();
        AdoptAxis(xAxes.back(), CXGraphAxis::X);
    }
    if (ay == static_cast<int>(yAxes.size())) {
        yAxes.emplace_back();
        AdoptAxis(yAxes.back(), CXGraphAxis::Y);
    }
    auto& xa = xAxes[static_cast<std::size_t>(ax)];
    auto& ya = yAxes[static_cast<std::size_t>(ay)];
    double xMin = xa.autoMin, xMax = xa.autoMax, yMin = ya.autoMin, yMax = ya.autoMax;
    // A curve given new points of the same length keeps its memory (a
    // million fresh points would otherwise cost a fresh allocation that the
    // system clears page by page), and the ranges are found while copying.
    // Points taken from the curve itself are copied out first.
    const std::less<const Point2D*> before;
    const Point2D* own = curve.points.data();
    const auto n = static_cast<std::size_t>(count);
    if (count > 0 && !before(pts, own) && before(pts, own + curve.points.size())) {
        curve.points = std::vector<Point2D>(pts, pts + count);
        GetMinMax(curve, xMin, xMax, yMin, yMax);
    } else if (n > curve.points.size()) {
        curve.points.assign(pts, pts + count);
        GetMinMax(curve, xMin, xMax, yMin, yMax);
    } else {
        curve.points.resize(n);
        Point2D* to = curve.points.data();
        for (int i = 0; i < count; ++i) {
            const Point2D p = pts[i];
            to[i] = p;
            Widen(p, xMin, xMax, yMin, yMax);
        }
    }
    curve.PointsChanged();
    // A curve without a finite point leaves its axes as they were.
    if (xMin <= xMax && yMin <= yMax) {
        xa.SetDataRange(xMin, xMax);
        ya.SetDataRange(yMin, yMax);
    }
    return &curve;
}

bool ChartModel::DeleteCurve(int index) {
    if (index < 0 || index >= CurveCount()) return false;
    curves.erase(curves.begin() + index);
    for (std::size_t i = 0; i < curves.size(); ++i) curves[i].curveIndex = static_cast<int>(i);
    // Everything that names a curve by number follows the renumbering; the
    // notes on the deleted curve go with it.
    auto renumber = [index](int& c) {
        if (c == index)
            c = -1;
        else if (c > index)
            --c;
    };
    renumber(selectedCurve);
    renumber(snappedCurve);
    for (std::size_t i = 1; i < objects.size();) {
        if (auto* note = dynamic_cast<CXGraphDataNotation*>(objects[i].get())) {
            if (note->curve == index) {
                RemoveObject(note);
                continue;
            }
            if (note->curve > index) --note->curve;
        } else if (auto* label = dynamic_cast<CXGraphLabel*>(objects[i].get())) {
            renumber(label->curve);
        }
        ++i;
    }
    legendEntries.clear();
    return true;
}

void ChartModel::GetMinMax(const CXGraphDataSerie& curve, double& xMin, double& xMax, double& yMin, double& yMax) {
    for (const auto& p : curve.points) Widen(p, xMin, xMax, yMin, yMax);
}

int ChartModel::GetAxisIndex(const CXGraphAxis* axis) const {
    for (std::size_t i = 0; i < xAxes.size(); ++i)
        if (&xAxes[i] == axis) return static_cast<int>(i);
    for (std::size_t i = 0; i < yAxes.size(); ++i)
        if (&yAxes[i] == axis) return static_cast<int>(i);
    return -1;
}

int ChartModel::GetCurveIndex(const CXGraphDataSerie* curve) const {
    for (std::size_t i = 0; i < curves.size(); ++i)
        if (&curves[i] == curve) return static_cast<int>(i);
    return -1;
}

CXGraphLabel* ChartModel::InsertLabel(Rect r, const std::string& text) {
    auto label = std::make_unique<CXGraphLabel>();
    label->rect = r;
    label->text = text;
    label->owner = this;
    auto* raw = label.get();
    objects.push_back(std::move(label));
    return raw;
}

CXGraphLabel* ChartModel::InsertEmptyLabel(const std::string& text) {
    const IPoint c = plotRect.centre();
    return InsertLabel({c.x - 50, c.y - 50, c.x + 50, c.y + 50}, text);
}

CXGraphDataNotation* ChartModel::AddNotation(int curve, int point, const std::string& text) {
    if (curve < 0 || curve >= CurveCount()) return nullptr;
    const auto& pts = curves[static_cast<std::size_t>(curve)].points;
    if (point < 0 || point >= static_cast<int>(pts.size())) return nullptr;
    auto note = std::make_unique<CXGraphDataNotation>();
    note->x = pts[static_cast<std::size_t>(point)].x;
    note->y = pts[static_cast<std::size_t>(point)].y;
    note->curve = curve;
    note->point = point;
    note->text = text;
    note->owner = this;
    auto* raw = note.get();
    objects.push_back(std::move(note));
    return raw;
}

namespace {
template <typename T>
bool SelectOne(std::vector<T>& items, int i) {
    if (i < 0 || items.empty() || i >= static_cast<int>(items.size())) return false;
    for (std::size_t k = 0; k < items.size(); ++k) items[k].hit = static_cast<int>(k) == i;
    return true;
}
}  // namespace

bool ChartModel::SelectCurve(int i) {
    return SelectOne(curves, i);
}
bool ChartModel::SelectXAxis(int i) {
    return SelectOne(xAxes, i);
}
bool ChartModel::SelectYAxis(int i) {
    return SelectOne(yAxes, i);
}

void ChartModel::ResetAll() {
    xAxes.clear();
    yAxes.clear();
    curves.clear();
    objects.erase(objects.begin() + 1, objects.end());
    legendEntries.clear();
    selectedCurve = snappedCurve = -1;
    currentObject = activeTracker = nullptr;
}

int ChartModel::ObjectIndex(const CXGraphObject* object) const {
    for (std::size_t i = 0; i < objects.size(); ++i)
        if (objects[i].get() == object) return static_cast<int>(i);
    return -1;
}

bool ChartModel::RemoveObject(const CXGraphObject* object) {
    const int i = ObjectIndex(object);
    if (i <= 0) return false;  // the read-out stays
    if (currentObject == object) currentObject = nullptr;
    if (activeTracker == object) activeTracker = nullptr;
    objects.erase(objects.begin() + i);
    return true;
}

CXGraphDataSerie* ChartModel::AddLinearTrend(int curve) {
    if (curve < 0 || curve >= CurveCount()) return nullptr;
    const auto& src = curves[static_cast<std::size_t>(curve)];
    const auto pts = src.LinearTrend(0);
    if (pts.empty()) return nullptr;
    const std::string name = src.name + " linear trend";
    auto* added = SetData(pts.data(), static_cast<int>(pts.size()), CurveCount(), src.xAxis, src.yAxis, true);
    if (added) added->name = name;
    return added;
}

CXGraphDataSerie* ChartModel::AddCubicTrend(int curve) {
    if (curve < 0 || curve >= CurveCount()) return nullptr;
    const auto& src = curves[static_cast<std::size_t>(curve)];
    const auto pts = src.CubicTrend(0);
    if (pts.empty()) return nullptr;
    const std::string name = src.name + " cubic trend";
    auto* added = SetData(pts.data(), static_cast<int>(pts.size()), CurveCount(), src.xAxis, src.yAxis, true);
    if (added) added->name = name;
    return added;
}

}  // namespace vra
