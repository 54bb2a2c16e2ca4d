#include "core/graphs/TelemetryGraphController.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/graphs/ChannelTable.h"
#include "core/graphs/GraphModel.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"

#include <fmt/format.h>

namespace vra {

TelemetryGraphInput GraphInputFromDocument(const CRpyGraphDoc& doc) {
    TelemetryGraphInput in;
    in.speedUnit = doc.SpeedUnit();
    in.colours = CRpyGraphDoc::GraphColours();
    for (int s = 0; s < CRpyGraphDoc::kSlotMaximum; ++s) {
        if (!doc.IsSlotUsed(s)) continue;
        const LapSlot& slot = doc.Slot(s);
        GraphLapData lap;
        lap.info = slot.info.get();
        lap.locked = &slot.lockedWheels;
        if (slot.drivers && slot.driver >= 0 && static_cast<std::size_t>(slot.driver) < slot.drivers->drivers.size()) {
            const Drivers::Driver& d = slot.drivers->drivers[static_cast<std::size_t>(slot.driver)];
            lap.firstName = d.firstName;
            lap.lastName = d.lastName;
            if (slot.session >= 0 && slot.session < 4) {
                const auto& times = d.sessions[static_cast<std::size_t>(slot.session)].times;
                if (slot.lap >= 0 && static_cast<std::size_t>(slot.lap) < times.size())
                    lap.lapWord = times[static_cast<std::size_t>(slot.lap)];
            }
        }
        in.laps[static_cast<std::size_t>(s)] = std::move(lap);
    }
    return in;
}

TelemetryGraphController::TelemetryGraphController(TelemetryGraphInput input, GraphModel& graph,
                                                   TelemetryGraphView& view)
    : input_(std::move(input)), graph_(graph), view_(view) {
    for (auto& row : table_) row.fill(-1);
    int used = 0;
    for (int s = 0; s < 5; ++s) {
        const auto& lap = input_.laps[static_cast<std::size_t>(s)];
        if (!lap) continue;
        // Each box carries the slot it shows, so a box never reads another lap.
        const std::size_t box = static_cast<std::size_t>(used++);
        boxSlot_[box] = s;
        std::string text;
        if (!lap->firstName.empty()) text = lap->firstName.substr(0, 1) + " ";
        text += lap->lastName + " " + FormatGraphLapTime(lap->lapWord);
        if (lap->info && lap->info->fullData) text += "(Adv)";
        boxText_[box] = std::move(text);
    }
}

void TelemetryGraphController::InitialState() {
    ranges_.xExtent = 1.0;
    ranges_.yHigh = 1.0;
    graph_.ShowPointsBar(6);
    graph_.SetFlags(graph_.GetFlags() - 7, 1);
    graph_.SetAxis("Meter", "Meter", 0, 1, 1);
    activePage_ = 1;
    OnChannel(1);
}

int TelemetryGraphController::Build(int box, int wheel) {
    const int slot = boxSlot_[static_cast<std::size_t>(box)];
    const auto& lap = input_.laps[static_cast<std::size_t>(slot)];
    BuilderLap b;
    b.info = lap->info;
    b.locked = lap->locked;
    b.lapColour = input_.colours[static_cast<std::size_t>(slot)];
    for (int w = 0; w < 4; ++w) b.wheelColours[w] = input_.colours[static_cast<std::size_t>(6 + 4 * slot + w)];
    view_.WaitCursor(true);
    const int result = AddChannelSeries(graph_, code_, slot, wheel, b, input_.speedUnit, ranges_);
    view_.WaitCursor(false);
    return result;
}

void TelemetryGraphController::OnChannel(int code) {
    const ChannelInfo* c = ChannelByCode(code);
    if (!c || code == code_) return;
    ClearGraph();
    code_ = code;
    graph_.SetAxis(std::string(c->yName), std::string(ChannelUnit(*c, input_.speedUnit)), 0, 0, 1);
    if (!c->perWheel) {
        for (int box = 0; box < 5; ++box)
            if (Ticked(box)) table_[static_cast<std::size_t>(box)][static_cast<std::size_t>(groups_)] = Build(box, 0);
        ++groups_;
    } else {
        graph_.Redraw(1);
        for (int w = 0; w < 4; ++w) {
            if (!view_.WheelBoxTicked(w)) continue;
            for (int box = 0; box < 5; ++box)
                if (Ticked(box))
                    table_[static_cast<std::size_t>(box)][static_cast<std::size_t>(groups_)] = Build(box, w);
            wheelGroup_[static_cast<std::size_t>(w)] = groups_++;
        }
    }
    UpdateControls();
}

void TelemetryGraphController::OnWheelBox(int wheel) {
    if (!IsPerWheel(code_) || wheel < 0 || wheel > 3) return;
    const std::size_t w = static_cast<std::size_t>(wheel);
    if (view_.WheelBoxTicked(wheel)) {
        // A box ticked while its group stands (the dialog never does this)
        // would leave a group no untick could reach.
        if (wheelGroup_[w] >= 0 || groups_ >= 4) return;
        for (int box = 0; box < 5; ++box)
            if (Ticked(box))
                table_[static_cast<std::size_t>(box)][static_cast<std::size_t>(groups_)] = Build(box, wheel);
        wheelGroup_[w] = groups_++;
    } else {
        const int g = wheelGroup_[w];
        if (g < 0) return;
        RemoveSeriesGroup(g);
        CloseWheelGroupGap(g);
        wheelGroup_[w] = -1;
    }
}

void TelemetryGraphController::RemoveSeriesGroup(int g) {
    view_.WaitCursor(true);
    for (int box = 0; box < 5; ++box)
        if (Ticked(box)) graph_.RemoveGraph(table_[static_cast<std::size_t>(box)][static_cast<std::size_t>(g)], 1);
    for (int j = g; j < groups_ - 1; ++j)
        for (auto& row : table_) row[static_cast<std::size_t>(j)] = row[static_cast<std::size_t>(j + 1)];
    --groups_;
    view_.WaitCursor(false);
}

void TelemetryGraphController::CloseWheelGroupGap(int g) {
    for (int& w : wheelGroup_)
        if (w > g) --w;
}

void TelemetryGraphController::ClearGraph() {
    view_.WaitCursor(true);
    while (groups_ > 0) {
        for (int box = 0; box < 5; ++box)
            if (Ticked(box))
                graph_.RemoveGraph(table_[static_cast<std::size_t>(box)][static_cast<std::size_t>(groups_ - 1)], 0);
        --groups_;
    }
    if (view_.TimeDiffTicked() && curvePresent_) {
        graph_.RemoveGraph(curveSlot_, 0);
        graph_.RemoveGraph(zeroSlot_, 0);
        curvePresent_ = false;
    }
    // Without groups no wheel has one; a stale index would make a later
    // tick look like a group that already stands.
    wheelGroup_.fill(-1);
    ranges_.xExtent = 1.0;
    ranges_.yLow = 0.0;
    ranges_.yHigh = 1.0;
    view_.WaitCursor(false);
}

void TelemetryGraphController::AddLapSeries(int box) {
    if (!IsPerWheel(code_)) {
        if (groups_ > 0) table_[static_cast<std::size_t>(box)][static_cast<std::size_t>(groups_ - 1)] = Build(box, 0);
        return;
    }
    for (int w = 0; w < 4; ++w) {
        const int g = wheelGroup_[static_cast<std::size_t>(w)];
        if (view_.WheelBoxTicked(w) && g >= 0)
            table_[static_cast<std::size_t>(box)][static_cast<std::size_t>(g)] = Build(box, w);
    }
}

void TelemetryGraphController::RemoveLapSeries(int box) {
    view_.WaitCursor(true);
    for (int g = groups_ - 1; g >= 0; --g) {
        const int slot = table_[static_cast<std::size_t>(box)][static_cast<std::size_t>(g)];
        graph_.ClearPoints(slot, 1);
        graph_.RemoveGraph(slot, 1);
    }
    view_.WaitCursor(false);
}

void TelemetryGraphController::OnLapBox(int box) {
    if (box < 0 || box > 4 || boxSlot_[static_cast<std::size_t>(box)] < 0) return;
    UpdateControls();
    if (view_.LapBoxTicked(box))
        AddLapSeries(box);
    else
        RemoveLapSeries(box);
}

void TelemetryGraphController::RemoveCurve() {
    if (!curvePresent_) return;
    curvePresent_ = false;
    graph_.ClearPoints(curveSlot_, 1);
    graph_.RemoveGraph(curveSlot_, 0);
    graph_.ClearPoints(zeroSlot_, 1);
    graph_.RemoveGraph(zeroSlot_, 0);
}

void TelemetryGraphController::UpdateControls() {
    view_.EnableWheelBoxes(IsPerWheel(code_));
    int ticked[5], n = 0;
    for (int box = 0; box < 5; ++box)
        if (Ticked(box)) ticked[n++] = box;
    if (n == 2) {
        view_.EnableTimeDiffBox(true);
        if (!view_.TimeDiffTicked()) return;
        // Only one pair at a time stands in the graph.
        RemoveCurve();
        view_.ShowTimeDiffWindow(boxText_[static_cast<std::size_t>(ticked[0])] + " is:");
        AddTimeDiffSeries(ticked[0], ticked[1]);
        return;
    }
    view_.EnableTimeDiffBox(false);
    RemoveCurve();
    if (view_.TimeDiffWindowExists()) view_.HideTimeDiffWindow();
}

void TelemetryGraphController::OnTimeDifference() {
    if (view_.TimeDiffTicked()) {
        UpdateControls();
        return;
    }
    RemoveCurve();
    if (view_.TimeDiffWindowExists()) view_.HideTimeDiffWindow();
}

void TelemetryGraphController::AddTimeDiffSeries(int boxA, int boxB) {
    view_.WaitCursor(true);
    const int slotA = boxSlot_[static_cast<std::size_t>(boxA)], slotB = boxSlot_[static_cast<std::size_t>(boxB)];
    const auto& a = *input_.laps[static_cast<std::size_t>(slotA)];
    const auto& b = *input_.laps[static_cast<std::size_t>(slotB)];
    timeDiff_.Compute({a.info, a.lapWord}, {b.info, b.lapWord}, ranges_.yLow, ranges_.yHigh);
    const Rgb colour = input_.colours[5];
    const std::string name = fmt::format("New graph - {}", slotA);
    curveSlot_ = graph_.AddGraph(colour, name, 1, true, false);
    for (const Point2D& p : timeDiff_.Curve()) graph_.AddPoint(curveSlot_, p.x, p.y, 0, 0);
    graph_.Redraw(1);
    zeroSlot_ = graph_.AddGraph(colour, name, 1, true, false);
    for (const Point2D& p : timeDiff_.ZeroLine()) graph_.AddPoint(zeroSlot_, p.x, p.y, 0, 0);
    graph_.Redraw(1);
    curvePresent_ = true;
    view_.SetTimeDiffTexts(timeDiff_.FinishText(), timeDiff_.AheadText(), timeDiff_.BehindText(),
                           timeDiff_.SpreadText());
    view_.WaitCursor(false);
}

std::string TelemetryGraphController::TimeDiffText(double x, double y) {
    if (view_.TrackMapExists()) view_.SetMapCursor(x, 1);
    if (!view_.TimeDiffWindowExists()) return {};
    view_.SetPositionText(timeDiff_.PositionText(x));
    return timeDiff_.CursorText(y);
}

void TelemetryGraphController::SelectChannelForPrint(int printIndex) {
    const PrintChannel* p = PrintByIndex(printIndex);
    if (p && p->code != 0) OnChannel(p->code);
}

}  // namespace vra
