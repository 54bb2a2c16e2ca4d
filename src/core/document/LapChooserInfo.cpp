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

std::vector<std::pair<std::string, std::string>> LapChooserInfo(const Header& h, const Drivers& d) {
    std::vector<std::pair<std::string, std::string>> info;
    auto add = [&](std::string label, std::string text) { info.emplace_back(std::move(label), std::move(text)); };

    const long long f = h.frameCount;
    add("Saved by:", h.firstName + " " + h.lastName);
    add("Track:", h.trackName);
    add("Series:", h.secondText);
    add("Physics:", SeriesName(d.physics, 2));
    add("Length:", fmt::format("{}m {}s", f / 2160, f / 36 - 60 * (f / 2160)));
    add("Cars:", Number(d.driverCount));
    add("Practice:", YesNo(d.sessionPresent[0]));
    add("Qual:", YesNo(d.sessionPresent[1]));
    add("HappyH:", YesNo(d.sessionPresent[2]));
    add("Race:", YesNo(d.sessionPresent[3]));
    if (h.weatherFlag == 1) {
        add("Realistic:", "No");
        add("Conditions:", h.conditions == 1 ? "Cloudy" : "Clear");
        add("Windspeed:", Number(h.windSpeed));
        add("Wind dir:", h.windDirection);
        add("Temp:", Number(h.temperature));
    } else {
        add("Realistic:", "Yes");
        add("Conditions:", "");
        add("Windspeed:", "");
        add("Wind dir:", "");
        add("Temp:", "");
    }
    add("Practice (min):", h.practiceMinutes == -1 ? std::string("No limit") : Number(h.practiceMinutes));
    add("Qual (laps):", Number(h.qualifyingLaps));
    add("Happy Hour (min):", Number(h.happyHourMinutes));
    add("Race (laps):", Number(h.raceLaps));
    add("Race (%):", Number(h.raceDistance));
    add("Game mode:", h.gameMode == 1 ? "Arcade" : "Simulation");
    static constexpr const char* kDamage[] = {"None", "??????", "Moderate", "Realistic"};
    add("Damage:", h.damage >= 0 && h.damage < 4 ? kDamage[h.damage] : "");
    add("Full pace:", YesNo(h.fullPaceLap));
    add("Yellow flags:", YesNo(h.yellowFlags));
    add("Double file:", YesNo(h.doubleFileRestarts));
    add("MechFailure:", YesNo(h.mechanicalFailures));
    add("Quick race:", YesNo(h.quickRace));
    add("Fixed setup:", YesNo(h.fixedSetup));
    add("HC - Visual:", YesNo(h.hardcoreVisual));
    add("HC - Aids:", YesNo(h.hardcoreDrivingAids));
    add("Sorvanet:", YesNo(d.onlineRace));
    static constexpr const char* kWear[] = {"1x", "2x", "3x", "4x"};
    add("Wear rate:", h.wearRate >= 0 && h.wearRate < 4 ? kWear[h.wearRate] : "");
    if (h.aiStrengthType == 1) {
        add("Strength type:", "Auto");
        add("Strength %:", "");
    } else {
        add("Strength type:", "Manu");
        add("Strength %:", Number(h.aiStrength));
    }
    add("AdSpeedCtrl:", YesNo(h.adaptiveSpeedControl));
    add("Cars:", Number(h.aiCars));
    return info;
}

}  // namespace vra
