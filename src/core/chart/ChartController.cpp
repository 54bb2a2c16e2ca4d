#include "core/chart/ChartController.h"

#include "core/chart/OleDate.h"
#include "core/chart/ValueFormat.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace vra {

namespace {

std::string Flatten(std::string s) {
    std::replace(s.begin(), s.end(), '\r', ' ');
    std::replace(s.begin(), s.end(), '\n', ' ');
    return s;
}

Rect Intersect(Rect a, Rect b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

}  // namespace

void ChartController::Post(ChartEvents& ev, int message, int param) {
    ChartEvent e;
    e.kind = ChartEvent::Kind::Post;
    e.message = message;
    e.param = param;
    ev.push_back(e);
}

static ChartEvent Simple(ChartEvent::Kind kind, CXGraphObject* object = nullptr) {
    ChartEvent e;
    e.kind = kind;
    e.object = object;
    return e;
}

static ChartEvent Sheet(ChartEvent::Target target, int index) {
    ChartEvent e;
    e.kind = ChartEvent::Kind::OpenSheet;
    e.target = target;
    e.index = index;
    return e;
}

bool ChartController::SelectOrEdit(bool edit, bool hoverOnly, ChartEvents& ev) {
    if (!m_.interactive) return false;
    const IPoint p = mouse_;
    bool reported = false;

    for (std::size_t i = 0; i < m_.yAxes.size(); ++i) {
        auto& a = m_.yAxes[i];
        if (hoverOnly) {
            if (a.rect.contains(p)) return true;
            continue;
        }
        a.hit = a.rect.contains(p);
        if (!a.hit) continue;
        Post(ev, edit ? chartmsg::kYAxisEdit : chartmsg::kYAxisClicked, static_cast<int>(i));
        if (edit) ev.push_back(Sheet(ChartEvent::Target::YAxis, static_cast<int>(i)));
        ev.push_back(Simple(ChartEvent::Kind::Repaint));
        reported = true;
    }
    for (std::size_t i = 0; i < m_.xAxes.size(); ++i) {
        auto& a = m_.xAxes[i];
        if (hoverOnly) {
            if (a.rect.contains(p)) return true;
            continue;
        }
        a.hit = a.rect.contains(p);
        if (!a.hit || reported) continue;
        Post(ev, edit ? chartmsg::kXAxisEdit : chartmsg::kXAxisClicked, static_cast<int>(i));
        if (edit) ev.push_back(Sheet(ChartEvent::Target::XAxis, static_cast<int>(i)));
        ev.push_back(Simple(ChartEvent::Kind::Repaint));
        reported = true;
    }

    bool objectTook = false;
    for (auto& owned : m_.objects) {
        CXGraphObject* o = owned.get();
        const bool under = o->visible && o->rect.contains(p);
        if (hoverOnly) {
            if (under) return true;
            continue;
        }
        o->hit = under;
        if (under) {
            auto* label = dynamic_cast<CXGraphLabel*>(o);
            if (edit && label && label->BeginEdit()) {
                ev.push_back(Simple(ChartEvent::Kind::BeginEdit, o));
                objectTook = true;
            } else if (!o->editing) {
                if (!m_.activeTracker) {
                    o->Select();
                    m_.activeTracker = o;
                }
                objectTook = true;
            }
        } else {
            if (o->editing) ev.push_back(Simple(ChartEvent::Kind::EndEdit, o));
            if (o->selected) {
                o->Deselect();
                m_.activeTracker = nullptr;
            }
        }
    }

    if (!hoverOnly) m_.selectedCurve = -1;

    if (!objectTook) {
        for (std::size_t ci = 0; ci < m_.curves.size(); ++ci) {
            auto& c = m_.curves[ci];
            if (!c.visible) continue;
            if (!hoverOnly) c.hit = false;
            for (const auto& s : c.hitSegments) {
                const Rect box = Rect{s.x1, s.y1, s.x2, s.y2}.normalized().inflated(2, 2);
                if (!box.contains(p) || !CXGraphDataSerie::HitTest(s.x1, s.y1, s.x2, s.y2, p.x, p.y, 4)) continue;
                if (hoverOnly) return true;
                if (!reported) {
                    const int idx = static_cast<int>(ci);
                    Post(ev, edit ? chartmsg::kCurveEdit : chartmsg::kCurveClicked, idx);
                    m_.selectedCurve = idx;
                    c.hit = true;
                    if (edit) ev.push_back(Sheet(ChartEvent::Target::Curve, idx));
                    ev.push_back(Simple(ChartEvent::Kind::Repaint));
                    reported = true;
                }
                break;
            }
        }
    }
    if (reported) return false;

    for (const auto& entry : m_.legendEntries) {
        const bool under = entry.rect.contains(p);
        if (hoverOnly) {
            if (under) return true;
            continue;
        }
        if (entry.curve < 0 || entry.curve >= m_.CurveCount()) continue;
        m_.curves[static_cast<std::size_t>(entry.curve)].hit = under;
        if (!under) continue;
        if (!edit) return false;
        m_.selectedCurve = entry.curve;
        ev.push_back(Sheet(ChartEvent::Target::Curve, entry.curve));
        return false;
    }
    if (hoverOnly) return false;

    if (edit && !objectTook) {
        Post(ev, chartmsg::kNothingEdit, 0);
        ev.push_back(Sheet(ChartEvent::Target::Chart, -1));
        ev.push_back(Simple(ChartEvent::Kind::Repaint));
    }
    return false;
}

ChartEvents ChartController::LeftDown(IPoint p) {
    ChartEvents ev;
    cursorFresh_ = false;
    down_ = p;
    mouse_ = p;
    leftDown_ = true;
    // Only what can be seen can be picked: the hidden read-out is not.
    m_.currentObject = nullptr;
    for (auto& o : m_.objects)
        if (o->visible && o->rect.contains(p)) m_.currentObject = o.get();
    for (auto& o : m_.objects) {
        if (!o->selected) continue;
        if (o->rect.inflated(kTrackerHandle, kTrackerHandle).contains(p))
            ev.push_back(Simple(ChartEvent::Kind::Track, o.get()));
    }
    // A drag pans from where it started.
    if (mode_ == Pan && m_.plotRect.contains(p)) anchor_ = p;
    if (mode_ == Zoom) band_ = {};
    return ev;
}

ChartEvents ChartController::TrackFinished(CXGraphObject* object, Rect newRect, bool changed) {
    ChartEvents ev;
    cursorFresh_ = false;
    leftDown_ = false;
    if (m_.ObjectIndex(object) < 0) return ev;
    if (changed && object->Trackable()) {
        object->rect = newRect.normalized();
        ev.push_back(Simple(ChartEvent::Kind::Repaint));
    }
    return ev;
}

ChartEvents ChartController::MouseMove(IPoint p, bool leftButton) {
    ChartEvents ev;
    leftDown_ = leftButton;
    mouse_ = p;
    cursorFresh_ = false;
    if (mode_ == Cursor) {
        UpdateCursor();
        cursorFresh_ = true;
        ev.push_back(Simple(ChartEvent::Kind::Repaint));
        Post(ev, chartmsg::kCursorMoved, 0);
    }
    ChartEvents ignored;
    hover_ = SelectOrEdit(false, true, ignored);
    const bool dragPan = (leftDown_ && mode_ == Pan) || (rightDown_ && mode_ == Cursor);
    if (dragPan && m_.plotRect.contains(p)) {
        if (!anchor_) {
            anchor_ = p;
        } else {
            PanBy(p);
            cursorFresh_ = false;
        }
        ev.push_back(Simple(ChartEvent::Kind::Repaint));
    }
    if (leftDown_ && mode_ == Zoom) {
        band_ = Intersect(Rect{down_.x, down_.y, p.x, p.y}.normalized(), m_.plotRect);
        ev.push_back(Simple(ChartEvent::Kind::Repaint));
    }
    return ev;
}

ChartEvents ChartController::LeftUp(IPoint p) {
    ChartEvents ev;
    cursorFresh_ = false;
    if (!leftDown_) return ev;
    anchor_.reset();
    up_ = p;
    mouse_ = p;
    leftDown_ = false;
    if (mode_ == Cursor) {
        SelectOrEdit(false, false, ev);
        const int c = m_.snappedCurve;
        if (c >= 0 && c < m_.CurveCount()) {
            const auto& curve = m_.curves[static_cast<std::size_t>(c)];
            if (curve.xAxis >= 0 && curve.xAxis < static_cast<int>(m_.xAxes.size())) {
                const int i = m_.xAxes[static_cast<std::size_t>(curve.xAxis)].GetNearestPointIndex(cursorX_, c);
                if (i >= 0) m_.AddNotation(c, i, NotationText(c, i));
            }
        }
    } else if (mode_ == Zoom) {
        band_ = Intersect(Rect{down_.x, down_.y, p.x, p.y}.normalized(), m_.plotRect);
        ZoomToRect(ev);
    } else if (mode_ == Normal) {
        SelectOrEdit(false, false, ev);
    }
    ev.push_back(Simple(ChartEvent::Kind::Repaint));
    return ev;
}

ChartEvents ChartController::LeftDoubleClick(IPoint p) {
    ChartEvents ev;
    cursorFresh_ = false;
    mouse_ = p;
    if (mode_ != Normal) return ev;
    m_.activeTracker = nullptr;
    SelectOrEdit(true, false, ev);
    return ev;
}

ChartEvents ChartController::RightDown(IPoint p) {
    cursorFresh_ = false;
    rightDown_ = true;
    mouse_ = p;
    if (mode_ == Cursor && m_.plotRect.contains(p)) anchor_ = p;
    return {};
}

ChartEvents ChartController::RightUp(IPoint p) {
    ChartEvents ev;
    cursorFresh_ = false;
    rightDown_ = false;
    mouse_ = p;
    // A later right drag starts afresh instead of jumping from the old anchor.
    anchor_.reset();
    if (mode_ == Cursor) {
        cross_.reset();
        ev.push_back(Simple(ChartEvent::Kind::Repaint));
    }
    if (m_.currentObject && m_.currentObject->rect.contains(p))
        ev.push_back(Simple(ChartEvent::Kind::InvokeProperties, m_.currentObject));
    else
        Post(ev, chartmsg::kRightButtonUp, 0);
    return ev;
}

ChartEvents ChartController::KeyUp(ChartKey key) {
    ChartEvents ev;
    cursorFresh_ = false;
    // A tenth of the width each axis was last drawn with: keys pressed
    // before the next repaint step by the same amount.
    auto shift = [](CXGraphAxis& a, double lowSteps, double highSteps) {
        const double s = 0.1 * a.rangeWidth;
        a.SetRange(a.curMin + lowSteps * s, a.curMax + highSteps * s, 0);
    };
    switch (key) {
        case ChartKey::Home:
            for (auto& a : m_.xAxes) a.Reset();
            for (auto& a : m_.yAxes) a.Reset();
            break;
        case ChartKey::Add:
            for (auto& a : m_.xAxes) shift(a, 1, -1);
            for (auto& a : m_.yAxes) shift(a, 1, -1);
            break;
        case ChartKey::Subtract:
            for (auto& a : m_.xAxes) shift(a, -1, 1);
            for (auto& a : m_.yAxes) shift(a, -1, 1);
            break;
        case ChartKey::Left:
            for (auto& a : m_.xAxes) shift(a, 1, 1);
            break;
        case ChartKey::Right:
            for (auto& a : m_.xAxes) shift(a, -1, -1);
            break;
        case ChartKey::Up:
            for (auto& a : m_.yAxes) shift(a, -1, -1);
            break;
        case ChartKey::Down:
            for (auto& a : m_.yAxes) shift(a, 1, 1);
            break;
        case ChartKey::Other:
            return ev;
    }
    ev.push_back(Simple(ChartEvent::Kind::Repaint));
    return ev;
}

ChartEvents ChartController::DeleteKey() {
    ChartEvents ev;
    cursorFresh_ = false;
    CXGraphObject* o = m_.currentObject;
    if (!o || !o->selected || o == m_.objects.front().get()) return ev;
    m_.RemoveObject(o);
    m_.currentObject = nullptr;
    m_.activeTracker = nullptr;
    ev.push_back(Simple(ChartEvent::Kind::Repaint));
    return ev;
}

void ChartController::StopAutoscale() {
    for (auto& a : m_.yAxes) a.autoscale = false;
    for (auto& a : m_.xAxes) a.autoscale = false;
}

ChartEvents ChartController::Command(int id) {
    ChartEvents ev;
    cursorFresh_ = false;
    const auto repaint = Simple(ChartEvent::Kind::Repaint);
    switch (id) {
        case chartcmd::kNormal:
            HideReadOut();
            mode_ = Normal;
            ev.push_back(repaint);
            break;
        case chartcmd::kInsertLabel:
            m_.InsertEmptyLabel("");
            ev.push_back(repaint);
            break;
        case chartcmd::kZoom:
            HideReadOut();
            band_ = {};
            mode_ = Zoom;
            ev.push_back(repaint);
            break;
        case chartcmd::kReset:
            HideReadOut();
            for (auto& a : m_.yAxes) a.Reset();
            for (auto& a : m_.xAxes) a.Reset();
            ev.push_back(repaint);
            break;
        case chartcmd::kPan:
            HideReadOut();
            mode_ = Pan;
            StopAutoscale();
            ev.push_back(repaint);
            break;
        case chartcmd::kProperties:
            SelectOrEdit(true, false, ev);
            break;
        case chartcmd::kPrint:
            ev.push_back(Simple(ChartEvent::Kind::Print));
            break;
        case chartcmd::kLinearTrend:
            if (m_.AddLinearTrend(m_.selectedCurve)) ev.push_back(repaint);
            break;
        case chartcmd::kCubicTrend:
            if (m_.AddCubicTrend(m_.selectedCurve)) ev.push_back(repaint);
            break;
        case chartcmd::kCursor:
            HideReadOut();
            StopAutoscale();
            mode_ = Cursor;
            m_.snappedCurve = -1;
            cross_.reset();
            ev.push_back(repaint);
            break;
        case chartcmd::kNotifyParent:
            Post(ev, chartmsg::kNotifyParent, 0);
            break;
        default:
            break;
    }
    return ev;
}

void ChartController::PanBy(IPoint p) {
    const IPoint a = *anchor_;
    for (auto& axis : m_.yAxes) {
        const double d = axis.GetValueForPos(p.y) - axis.GetValueForPos(a.y);
        axis.SetRange(axis.curMin - d, axis.curMax - d, 0);
    }
    for (auto& axis : m_.xAxes) {
        const double d = axis.GetValueForPos(p.x) - axis.GetValueForPos(a.x);
        axis.SetRange(axis.curMin - d, axis.curMax - d, 0);
    }
    anchor_ = p;
}

void ChartController::ZoomToRect(ChartEvents& ev) {
    const Rect r = band_;
    if (r.right - r.left < kMinZoom || r.bottom - r.top < kMinZoom) return;
    const Rect plot = m_.plotRect;
    auto zoom = [](CXGraphAxis& a, double low, double high) {
        if (!(high - low != 0) || !std::isfinite(low) || !std::isfinite(high)) return;
        if (low > high) std::swap(low, high);
        a.zoomHistory.push_back({a.curMin, a.curMax});
        a.curMin = low;
        a.curMax = high;
        a.step = a.owner && a.owner->windowVisible && a.owner->measurer ? a.AutoStep() : 0.1 * (high - low);
    };
    for (auto& a : m_.yAxes)
        zoom(a, a.GetValueForPos(std::min(r.bottom, plot.bottom)), a.GetValueForPos(std::max(r.top, plot.top)));
    for (auto& a : m_.xAxes)
        zoom(a, a.GetValueForPos(std::max(r.left, plot.left)), a.GetValueForPos(std::min(r.right, plot.right)));
    Post(ev, chartmsg::kZoomed, 0);
    band_ = {};
}

void ChartController::Painting() {
    // A move that only moved the cross has drawn it already: drawing it
    // again from the snapped point could catch another curve.
    if (mode_ == Cursor && !cursorFresh_) UpdateCursor();
    cursorFresh_ = false;
}

void ChartController::UpdateCursor() {
    m_.snappedCurve = -1;
    if (m_.snap) {
        for (std::size_t ci = 0; ci < m_.curves.size(); ++ci) {
            const auto& c = m_.curves[ci];
            // Only what is shown can catch the cursor.
            if (!c.visible || c.points.empty()) continue;
            if (c.xAxis < 0 || c.xAxis >= static_cast<int>(m_.xAxes.size()) || c.yAxis < 0 ||
                c.yAxis >= static_cast<int>(m_.yAxes.size()))
                continue;
            const auto& xa = m_.xAxes[static_cast<std::size_t>(c.xAxis)];
            const auto& ya = m_.yAxes[static_cast<std::size_t>(c.yAxis)];
            const double x = xa.GetValueForPos(mouse_.x);
            cursorX_ = x;
            const int i = xa.GetNearestPointIndex(x, static_cast<int>(ci));
            if (i < 0) continue;
            const double y = c.points[static_cast<std::size_t>(i)].y;
            if (!std::isfinite(y)) continue;
            cursorY_ = y;
            const int py = ya.GetPointForValue({0.0, y}).y;
            if (std::abs(mouse_.y - py) < m_.snapTolerance) {
                mouse_.y = py;
                m_.snappedCurve = static_cast<int>(ci);
                break;
            }
        }
    }
    cross_ = mouse_;
    auto& readOut = m_.ReadOut();
    readOut.text = CursorTable();
    readOut.visible = true;
}

std::string ChartController::AxisValueText(const CXGraphAxis& axis, double v, bool flattenFormat) const {
    const std::string format = flattenFormat ? Flatten(axis.labelFormat) : axis.labelFormat;
    if (axis.timeAxis) return OleDate::Format(v, format);
    return FormatValue(format, v);
}

std::string ChartController::CursorTable() const {
    std::string text;
    for (std::size_t n = 0; n < m_.xAxes.size(); ++n) {
        const auto& a = m_.xAxes[n];
        text += fmt::format(" X[{:02d}] : {} {}\r\n", n + 1, AxisValueText(a, a.GetValueForPos(mouse_.x), a.timeAxis),
                            a.label);
    }
    for (std::size_t n = 0; n < m_.yAxes.size(); ++n) {
        const auto& a = m_.yAxes[n];
        text +=
            fmt::format(" Y[{:02d}] : {} {}\r\n", n + 1, AxisValueText(a, a.GetValueForPos(mouse_.y), false), a.label);
    }
    const int c = m_.snappedCurve;
    if (c >= 0 && c < m_.CurveCount()) {
        const auto& curve = m_.curves[static_cast<std::size_t>(c)];
        if (curve.xAxis >= 0 && curve.xAxis < static_cast<int>(m_.xAxes.size()) && curve.yAxis >= 0 &&
            curve.yAxis < static_cast<int>(m_.yAxes.size())) {
            const auto& xa = m_.xAxes[static_cast<std::size_t>(curve.xAxis)];
            const auto& ya = m_.yAxes[static_cast<std::size_t>(curve.yAxis)];
            text += fmt::format(" {}[{:02d}] : {}, {}\r\n", curve.name, c + 1, AxisValueText(xa, cursorX_, true),
                                AxisValueText(ya, cursorY_, false));
        }
    }
    return text;
}

std::string ChartController::NotationText(int c, int i) const {
    const auto& curve = m_.curves[static_cast<std::size_t>(c)];
    const auto& p = curve.points[static_cast<std::size_t>(i)];
    const auto& xa = m_.xAxes[static_cast<std::size_t>(curve.xAxis)];
    const auto& ya = m_.yAxes[static_cast<std::size_t>(curve.yAxis)];
    return fmt::format("[{}] : {}{},{}{}", i + 1, AxisValueText(xa, p.x, false), xa.label,
                       AxisValueText(ya, p.y, false), ya.label);
}

ChartCursorShape ChartController::CursorShape() const {
    switch (mode_) {
        case Pan:
            return ChartCursorShape::SizeAll;
        case Zoom:
        case Cursor:
            return ChartCursorShape::Cross;
        default:
            return hover_ ? ChartCursorShape::Hand : ChartCursorShape::Arrow;
    }
}

}  // namespace vra
