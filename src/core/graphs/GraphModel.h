#pragma once
// The data side of a graph window: a fixed number of series slots, the
// descriptions of the two axes, and the notifications every change sends to
// the window's parts (the plot panel first, then the points bar).
//
// Axis 1 is x (horizontal), axis 0 is y (vertical), everywhere.

#include "core/base/Rgb.h"
#include "core/graphs/CPointsCollection.h"

#include <memory>
#include <string>
#include <vector>

namespace vra {

// One axis's name, unit and decimals, with the three ways of writing a value.
class GraphAxisInfo {
public:
    GraphAxisInfo() { BuildFormats(); }
    GraphAxisInfo(std::string name, std::string unit, int decimals);

    const std::string& Name() const { return name_; }
    const std::string& Unit() const { return unit_; }
    int Decimals() const { return decimals_; }
    void Set(std::string name, std::string unit, int decimals);
    // name + ", " + unit: the ruler's tool tip.
    std::string Title() const { return name_ + ", " + unit_; }
    // Style 0 the value, 1 value and unit, 2 "name: value unit"; any other
    // style an empty text.
    std::string Format(double value, int style) const;

private:
    void BuildFormats();

    std::string name_;
    std::string unit_;
    int decimals_ = 3;
};

// One series: its points and how it is drawn.
class CGraphProps : public CPointsCollection {
public:
    CGraphProps(Rgb colour, std::string name, bool sorted, bool allowDuplicates)
        : CPointsCollection(sorted, allowDuplicates), colour(colour), name(std::move(name)) {}
    // A working copy without points (sorted, no duplicates) that remembers slot.
    CGraphProps(const CGraphProps& other, int slot);

    // Copies the look, never the points.
    void CopyFrom(const CGraphProps& other);

    Rgb colour;
    std::string name;
    bool visible = true;
    int slot = -1;  // -1 in the window's own series
};

enum GraphNotifyCode {
    kPointAdded = 1,
    kPointRemoved = 2,
    kPointReplaced = 3,
    kGraphAdded = 4,
    kGraphRemoved = 5,
    kPointsCleared = 6,
    kRangeChanged = 8,
    kAxisChanged = 9,
    kRedraw = 10,
    kBarLive = 11,
    kBarHeld = 12,
};

// What a notification carries; which fields mean something depends on the code.
struct GraphNotify {
    int code = 0;
    int slot = -1;
    int index = -1;
    int redraw = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;  // kRangeChanged
    int flags = 0;                          // kRangeChanged
    int axis = 0;                           // kAxisChanged
    int bits = 0;                           // kRedraw
};

// The window's parts as the data side sees them.
class GraphParts {
public:
    virtual ~GraphParts() = default;
    // Delivered to the panel, then to the points bar.
    virtual void Notify(const GraphNotify& n) = 0;
    virtual int PanelFlags() const = 0;
    virtual void PanelRange(double& x1, double& x2, double& y1, double& y2) const = 0;
    virtual void ShowBar(bool show) = 0;
};

class GraphModel {
public:
    explicit GraphModel(int capacity);

    // Set once the window's parts exist; before, changes only touch the data.
    void SetParts(GraphParts* parts) { parts_ = parts; }

    int AddGraph(Rgb colour, const std::string& name, int redraw, bool sorted, bool allowDuplicates);
    int RemoveGraph(int slot, int redraw);
    CGraphProps* GetGraph(int slot);
    const CGraphProps* GetGraph(int slot) const;
    int GetGraphCount() const { return count_; }
    int Capacity() const { return static_cast<int>(slots_.size()); }
    CGraphProps* GetFirstGraph(int& slot);
    CGraphProps* GetNextGraph(int& slot);
    int AddPoint(int slot, double x, double y, int redraw, int position);
    // The same as AddPoint(slot, x, y, redraw, 0) for each point in turn.
    // Without parts to tell, a sorted series takes them in one step.
    void AddPoints(int slot, std::span<const Point2D> points, int redraw);
    // The same again for points a producer vouches for (see Run).
    void AddPoints(int slot, const CPointsCollection::Run& run, int redraw);
    int ReplacePoint(int slot, int index, double x, double y, int redraw);
    int RemovePoint(int slot, int index, int redraw);
    void ClearPoints(int slot, int redraw);
    void SetFlags(int flags, int redraw);
    int GetFlags() const;
    void SetRange(double x1, double x2, double y1, double y2, int redraw);
    void GetRange(double& x1, double& x2, double& y1, double& y2) const;
    // Union of the extents of the visible series that hold points; false
    // (outputs untouched) when there is none.
    bool GetDataBounds(double& xMin, double& xMax, double& yMin, double& yMax) const;
    GraphAxisInfo& GetAxisInfo(int axis) { return axis == 1 ? xAxis_ : yAxis_; }
    const GraphAxisInfo& GetAxisInfo(int axis) const { return axis == 1 ? xAxis_ : yAxis_; }
    void SetAxis(const std::string& name, const std::string& unit, int decimals, int axis, int redraw);
    std::string FormatValue(double value, int axis, int style) const;
    void Redraw(int bits);
    // Bit 1 shows the points bar, 2 hides it, 4 holds it, 8 makes it live.
    void ShowPointsBar(int bits);

private:
    // The series to take points in one step; null when there is none, or
    // when the points had to go one by one and have done so.
    CGraphProps* InOneStep(int slot, std::span<const Point2D> points, int redraw);
    bool Valid(int slot) const { return slot >= 0 && slot < Capacity() && slots_[std::size_t(slot)] != nullptr; }
    void Send(const GraphNotify& n) {
        if (parts_) parts_->Notify(n);
    }

    std::vector<std::unique_ptr<CGraphProps>> slots_;
    int count_ = 0;
    GraphAxisInfo yAxis_;
    GraphAxisInfo xAxis_;
    GraphParts* parts_ = nullptr;
};

}  // namespace vra
