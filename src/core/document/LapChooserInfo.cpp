#include "core/document/LapChooserInfo.h"

#include "core/document/SeriesName.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"

#include <fmt/format.h>

namespace vra {

namespace {

std::string YesNo(int flag) {
    return flag == 1 ? "Yes" : "No";
}

std::string Number(long long v) {
    return fmt::format("{}", v);
}

}  // namespace

std::vector<LapChoiceRequest::InfoGroup> LapChooserInfo(const Header& h, const Drivers& d) {
    std::vector<LapChoiceRequest::InfoGroup> info;
    auto group = [&](std::string title) { info.push_back({std::move(title), {}}); };
    auto add = [&](std::string label, std::string text) {
        info.back().fields.emplace_back(std::move(label), std::move(text));
    };

    const long long f = h.frameCount;
    group("Replay information");
    add("Saved by:", h.firstName + " " + h.lastName);
    add("Track:", h.trackName);
    add("Physics:", SeriesName(d.physics, 2));
    add("Series:", h.secondText);
    add("Length:", fmt::format("{}m {}s", f / 2160, f / 36 - 60 * (f / 2160)));
    add("Practice:", YesNo(d.sessionPresent[0]));
    add("Qual:", YesNo(d.sessionPresent[1]));
    add("HappyH:", YesNo(d.sessionPresent[2]));
    add("Race:", YesNo(d.sessionPresent[3]));
    add("Cars:", Number(d.driverCount));

    group("Weather");
    const bool fixed = h.weatherFlag == 1;
    add("Realistic:", fixed ? "No" : "Yes");
    add("Conditions:", fixed ? (h.conditions == 1 ? "Cloudy" : "Clear") : "");
    add("Windspeed:", fixed ? Number(h.windSpeed) : "");
    add("Wind dir:", fixed ? h.windDirection : "");
    add("Temp:", fixed ? Number(h.temperature) : "");

    group("Weekend info");
    add("Practice (min):", h.practiceMinutes == -1 ? std::string("No limit") : Number(h.practiceMinutes));
    add("Qual (laps)", Number(h.qualifyingLaps));
    add("Happy Hour (min):", Number(h.happyHourMinutes));
    add("Race (laps):", Number(h.raceLaps));
    add("Race (%):", Number(h.raceDistance));

    group("AI settings");
    add("Cars:", Number(h.aiCars));
    const bool autoStrength = h.aiStrengthType == 1;
    add("Strength type:", autoStrength ? "Auto" : "Manu");
    add("Strength %:", autoStrength ? "" : Number(h.aiStrength));
    add("AdSpeedCtrl:", YesNo(h.adaptiveSpeedControl));

    group("Misc information");
    add("Game mode:", h.gameMode == 1 ? "Arcade" : "Simulation");
    static constexpr const char* kDamage[] = {"None", "??????", "Moderate", "Realistic"};
    add("Damage:", h.damage >= 0 && h.damage < 4 ? kDamage[h.damage] : "");
    add("Full pace:", YesNo(h.fullPaceLap));
    add("Yellow flags:", YesNo(h.yellowFlags));
    add("Double file:", YesNo(h.doubleFileRestarts));
    add("Sorvanet:", YesNo(d.onlineRace));
    add("Quick race:", YesNo(h.quickRace));
    add("Fixed setup:", YesNo(h.fixedSetup));
    add("HC - Visual:", YesNo(h.hardcoreVisual));
    add("HC - Aids:", YesNo(h.hardcoreDrivingAids));
    add("MechFailure", YesNo(h.mechanicalFailures));
    static constexpr const char* kWear[] = {"1x", "2x", "3x", "4x"};
    add("Wear rate:", h.wearRate >= 0 && h.wearRate < 4 ? kWear[h.wearRate] : "");
    return info;
}

}  // namespace vra
