#pragma once
// What mouse, keys and commands do to a chart: selection and editing,
// rubber-band zoom, panning, key steps, the snapping cursor with its
// read-out and notes. It changes the model and returns what the window has
// to do (post a message to its parent, open a dialog, repaint ...), so the
// whole interaction runs without a screen.

#include "core/chart/ChartModel.h"

#include <optional>
#include <string>
#include <vector>

namespace vra {

namespace chartmsg {
inline constexpr int kYAxisClicked = 1025;
inline constexpr int kXAxisClicked = 1026;
inline constexpr int kCurveClicked = 1027;
inline constexpr int kYAxisEdit = 1028;
inline constexpr int kXAxisEdit = 1029;
inline constexpr int kCurveEdit = 1030;
inline constexpr int kNothingEdit = 1031;
inline constexpr int kRightButtonUp = 1032;
inline constexpr int kCursorMoved = 1033;
inline constexpr int kZoomed = 1034;
inline constexpr int kNotifyParent = 40012;
}  // namespace chartmsg

namespace chartcmd {
inline constexpr int kNormal = 40000;
inline constexpr int kInsertLabel = 40001;
inline constexpr int kZoom = 40002;
inline constexpr int kReset = 40003;
inline constexpr int kPan = 40004;
inline constexpr int kProperties = 40005;
inline constexpr int kLabelProperties = 40006;
inline constexpr int kPrint = 40007;
inline constexpr int kLinearTrend = 40009;
inline constexpr int kCubicTrend = 40010;
inline constexpr int kCursor = 40011;
inline constexpr int kNotifyParent = 40012;
}  // namespace chartcmd

struct ChartEvent {
    enum class Kind {
        Post,              // message to the parent: message, param
        OpenSheet,         // the properties sheet on target and index
        BeginEdit,         // open the in-place editor over object
        EndEdit,           // take the editor's text back into object
        InvokeProperties,  // the object's own properties menu
        Track,             // let the tracker move or size object
        Print,
        Repaint,
    };
    enum class Target { Chart, XAxis, YAxis, Curve };

    Kind kind = Kind::Repaint;
    int message = 0;
    int param = 0;
    Target target = Target::Chart;
    int index = -1;
    CXGraphObject* object = nullptr;

    friend bool operator==(const ChartEvent&, const ChartEvent&) = default;
};

using ChartEvents = std::vector<ChartEvent>;

enum class ChartKey { Home, Add, Subtract, Left, Right, Up, Down, Other };
enum class ChartCursorShape { Arrow, SizeAll, Cross, Hand };

class ChartController {
public:
    enum Mode { Normal = 0, Zoom = 1, Pan = 3, Cursor = 4 };
    // Handles of a selected object's tracker lie outside its rectangle.
    static constexpr int kTrackerHandle = 8;
    static constexpr int kMinZoom = 15;

    explicit ChartController(ChartModel& model) : m_(model) {}

    ChartEvents MouseMove(IPoint p, bool leftButton);
    ChartEvents LeftDown(IPoint p);
    ChartEvents LeftUp(IPoint p);
    ChartEvents LeftDoubleClick(IPoint p);
    ChartEvents RightDown(IPoint p);
    ChartEvents RightUp(IPoint p);
    ChartEvents KeyUp(ChartKey key);
    ChartEvents DeleteKey();
    ChartEvents Command(int id);
    // After the tracker ran: the object takes the new rectangle when it may.
    ChartEvents TrackFinished(CXGraphObject* object, Rect newRect, bool changed);

    // Every paint in cursor mode draws the cross again at the mouse point,
    // so the snap and the read-out follow ranges changed since the last
    // move (keys, zoom, pan). Call after the layout, before drawing.
    void Painting();

    ChartCursorShape CursorShape() const;
    int mode() const { return mode_; }
    bool leftButton() const { return leftDown_; }
    Rect band() const { return band_; }
    std::optional<IPoint> cross() const { return cross_; }
    IPoint mousePoint() const { return mouse_; }
    double cursorX() const { return cursorX_; }
    double cursorY() const { return cursorY_; }

    // The read-out text for the current cursor.
    std::string CursorTable() const;
    std::string NotationText(int curve, int point) const;

private:
    bool SelectOrEdit(bool edit, bool hoverOnly, ChartEvents& ev);
    void UpdateCursor();
    void PanBy(IPoint p);
    void ZoomToRect(ChartEvents& ev);
    void HideReadOut() { m_.ReadOut().visible = false; }
    void StopAutoscale();
    std::string AxisValueText(const CXGraphAxis& axis, double v, bool flattenFormat) const;
    static void Post(ChartEvents& ev, int message, int param);

    ChartModel& m_;
    int mode_ = Normal;
    bool leftDown_ = false;
    bool rightDown_ = false;
    bool hover_ = false;
    IPoint down_;
    IPoint up_;
    IPoint mouse_;
    Rect band_;
    std::optional<IPoint> anchor_;
    std::optional<IPoint> cross_;
    double cursorX_ = 0.0;
    double cursorY_ = 0.0;
    // The last event was a cursor move that changed nothing but the cross.
    bool cursorFresh_ = false;
};

}  // namespace vra
