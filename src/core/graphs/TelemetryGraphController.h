#pragma once
// The logic of the telemetry graph dialog: which series of which lap, wheel
// and channel stand in the graph, what the lap, wheel and time-difference
// boxes allow, the time difference between two laps and the cursor's
// read-out. The dialog shows; this decides.

#include "core/base/Rgb.h"
#include "core/document/DocumentColours.h"
#include "core/document/LapChannels.h"
#include "core/graphs/ChannelBuilders.h"
#include "core/graphs/TimeDifference.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vra {

class CRpyGraphDoc;
class GetRpyInfo;
class GraphModel;

struct GraphLapData {
    const GetRpyInfo* info = nullptr;
    const LockedWheels* locked = nullptr;
    std::string firstName, lastName;  // Windows-1252 bytes
    std::uint32_t lapWord = 0;
};

struct TelemetryGraphInput {
    std::array<std::optional<GraphLapData>, 5> laps;  // by slot
    int speedUnit = 0;
    std::array<Rgb, kGraphColourCount> colours = kGraphColours;
};

TelemetryGraphInput GraphInputFromDocument(const CRpyGraphDoc& doc);

// What the dialog shows, as the logic reads and changes it.
class TelemetryGraphView {
public:
    virtual ~TelemetryGraphView() = default;
    virtual bool LapBoxTicked(int box) const = 0;  // box 0-4
    virtual bool WheelBoxTicked(int wheel) const = 0;
    virtual bool TimeDiffTicked() const = 0;
    virtual void EnableWheelBoxes(bool enable) = 0;
    virtual void EnableTimeDiffBox(bool enable) = 0;
    // Creates the time-difference window when it has none, shows it with
    // its group text and gives the dialog the focus back.
    virtual void ShowTimeDiffWindow(const std::string& groupText) = 0;
    virtual void HideTimeDiffWindow() = 0;
    virtual bool TimeDiffWindowExists() const = 0;
    virtual void SetTimeDiffTexts(const std::string& finish, const std::string& ahead, const std::string& behind,
                                  const std::string& spread) = 0;
    virtual void SetPositionText(const std::string& text) = 0;
    virtual bool TrackMapExists() const = 0;
    virtual void SetMapCursor(double distance, unsigned percent) = 0;
    virtual void WaitCursor(bool /*on*/) {}
};

class TelemetryGraphController {
public:
    TelemetryGraphController(TelemetryGraphInput input, GraphModel& graph, TelemetryGraphView& view);

    // The text of each lap box, and the slot it stands for (-1: the box is
    // hidden and disabled).
    std::string LapBoxText(int box) const { return boxText_[static_cast<std::size_t>(box)]; }
    int BoxSlot(int box) const { return boxSlot_[static_cast<std::size_t>(box)]; }

    // The graph as the dialog opens it: points bar hidden, only the
    // read-out on, distance in metres along x, Speed chosen.
    void InitialState();

    // A channel chosen by its code (31-33 the tyre temperatures).
    void OnChannel(int code);
    void OnWheelBox(int wheel);
    void OnLapBox(int box);
    void OnTimeDifference();
    void UpdateControls();
    void ClearGraph();
    // Switches the graph to the channel of a print index, as its radio
    // button would.
    void SelectChannelForPrint(int printIndex);

    // The panel's extra read-out; moves the map's mark too.
    std::string TimeDiffText(double x, double y);

    int ChannelCode() const { return code_; }
    int ActivePage() const { return activePage_; }
    void SetActivePage(int page) { activePage_ = page; }
    int GroupCount() const { return groups_; }
    int WheelGroup(int wheel) const { return wheelGroup_[static_cast<std::size_t>(wheel)]; }
    int SeriesSlot(int box, int group) const {
        return table_[static_cast<std::size_t>(box)][static_cast<std::size_t>(group)];
    }
    bool CurvePresent() const { return curvePresent_; }
    int CurveSlot() const { return curveSlot_; }
    int ZeroLineSlot() const { return zeroSlot_; }
    const BuilderRanges& Ranges() const { return ranges_; }
    const TimeDifference& TimeDiff() const { return timeDiff_; }
    const TelemetryGraphInput& Input() const { return input_; }

private:
    int Build(int box, int wheel);
    void AddLapSeries(int box);
    void RemoveLapSeries(int box);
    void RemoveSeriesGroup(int group);
    void CloseWheelGroupGap(int group);
    void RemoveCurve();
    void AddTimeDiffSeries(int boxA, int boxB);
    bool Ticked(int box) const { return boxSlot_[static_cast<std::size_t>(box)] >= 0 && view_.LapBoxTicked(box); }

    TelemetryGraphInput input_;
    GraphModel& graph_;
    TelemetryGraphView& view_;
    std::array<std::string, 5> boxText_;
    std::array<int, 5> boxSlot_{-1, -1, -1, -1, -1};
    std::array<std::array<int, 4>, 5> table_{};
    int groups_ = 0;
    std::array<int, 4> wheelGroup_{-1, -1, -1, -1};
    int code_ = 0;
    int activePage_ = 0;
    int curveSlot_ = -1, zeroSlot_ = -1;
    bool curvePresent_ = false;
    BuilderRanges ranges_;
    TimeDifference timeDiff_;
};

}  // namespace vra
