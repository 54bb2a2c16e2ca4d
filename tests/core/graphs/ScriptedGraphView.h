#pragma once
// The telemetry graph dialog's boxes and small windows as plain state.

#include "core/graphs/TelemetryGraphController.h"

#include <array>
#include <string>
#include <vector>

namespace vra {

class ScriptedGraphView : public TelemetryGraphView {
public:
    bool LapBoxTicked(int box) const override { return laps[std::size_t(box)]; }
    bool WheelBoxTicked(int wheel) const override { return wheels[std::size_t(wheel)]; }
    bool TimeDiffTicked() const override { return timeDiff; }
    void EnableWheelBoxes(bool e) override { wheelsEnabled = e; }
    void EnableTimeDiffBox(bool e) override { timeDiffEnabled = e; }
    void ShowTimeDiffWindow(const std::string& text) override {
        windowExists = windowShown = true;
        groupText = text;
    }
    void HideTimeDiffWindow() override { windowShown = false; }
    bool TimeDiffWindowExists() const override { return windowExists; }
    void SetTimeDiffTexts(const std::string& f, const std::string& a, const std::string& b,
                          const std::string& s) override {
        texts = {f, a, b, s};
    }
    void SetPositionText(const std::string& t) override { position = t; }
    bool TrackMapExists() const override { return mapExists; }
    void SetMapCursor(double d, unsigned) override { mapCursor.push_back(d); }

    std::array<bool, 5> laps{};
    std::array<bool, 4> wheels{true, true, true, true};
    bool timeDiff = false, wheelsEnabled = false, timeDiffEnabled = false;
    bool windowExists = false, windowShown = false, mapExists = false;
    std::string groupText, position;
    std::array<std::string, 4> texts;
    std::vector<double> mapCursor;
};

}  // namespace vra
