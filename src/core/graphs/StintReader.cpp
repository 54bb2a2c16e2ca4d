#include "core/graphs/StintReader.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/graphs/StintLoader.h"
#include "core/platform/Prompts.h"
#include "core/platform/WaitBox.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"

#include <fmt/format.h>

#include <climits>

namespace vra {

const std::array<StintReader::Option, StintReader::kOptions> StintReader::kOptionTable = {{
    {"Laptimes", "Laptime", 0},
    {"Water temp", "Watertemp", 1},
    {"Oil temp", "Oiltemp", 1},
    {"Oil pressure", "Oilpres", 2},
    {"Fuel pressure", "Fuelpre", 2},
    {"Tire temp (LF)*", "Tiretem(LF)", 1},
    {"Tire temp (RF)*", "Tiretem(RF)", 1},
    {"Tire temp (LR)*", "Tiretem(LR)", 1},
    {"Tire temp (RR)*", "Tiretem(RR)", 1},
    {"Tire pressure (LF)*", "Tirepre(LF)", 2},
    {"Tire pressure (RF)*", "Tirepre(RF)", 2},
    {"Tire pressure (LR)*", "Tirepre(LR)", 2},
    {"Tire pressure (RR)*", "Tirepre(RR)", 2},
}};

std::string StintReplayLabel(const std::string& fileName) {
    const auto dot = fileName.rfind('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

std::int32_t ScaledProgress(std::uint64_t value, std::uint64_t maximum) {
    while (maximum > std::uint64_t(INT32_MAX)) {
        maximum >>= 1;
        value >>= 1;
    }
    return std::int32_t(std::min(value, maximum));
}

bool StintReader::HasTyreTelemetry(const CRpyGraphDoc& doc, int slot) {
    return doc.IsSlotUsed(slot) && doc.Slot(slot).info && (doc.Slot(slot).info->blockTypes & (1u << 3)) != 0;
}

StintSeries* StintReader::Series(int stint, int option) {
    if (stint < 0 || stint >= kMaxStints || option < 0 || option >= kOptions) return nullptr;
    return series_[std::size_t(stint * kOptions + option)].get();
}

int StintReader::Read(const CRpyGraphDoc& doc, const Request& request, Prompts& prompts, WaitBox& wait) {
    bool anyReplay = false;
    for (bool r : request.replays) anyReplay = anyReplay || r;
    if (!anyReplay) {
        prompts.alert("Please choose the replay file(s) to read");
        return StintCount();
    }
    int firstKind = -1, lastKind = -1;
    for (int k = 0; k < 4; ++k)
        if (request.kinds[std::size_t(k)]) {
            if (firstKind < 0) firstKind = k;
            lastKind = k;
        }
    if (firstKind < 0) {
        prompts.alert("Please choose at least one type of session to read");
        return StintCount();
    }
    auto ticked = [&](int kind) { return kind >= 0 && kind < 4 && request.kinds[std::size_t(kind)]; };

    WaitBoxScope scope(wait, "Reading stints from replay...");
    for (int slot = 0; slot < 5; ++slot) {
        if (!request.replays[std::size_t(slot)] || !doc.IsSlotUsed(slot) || !doc.Slot(slot).drivers) continue;
        const Drivers& drivers = *doc.Slot(slot).drivers;
        const bool tyres = HasTyreTelemetry(doc, slot);
        wait.SetText("Reading stints from " + drivers.path.filename().string());
        const std::uint64_t last = drivers.lastFrameOffset;
        wait.SetRange(0, ScaledProgress(last, last));
        wait.SetPos(0);
        wait.ShowProgress();
        int number = 1, lap = 0, kind = firstKind;
        std::uint64_t offset = 0;
        for (;;) {
            StintLoader loader(drivers, offset, kind, lap, request.minLaps);
            wait.SetPos(ScaledProgress(loader.EndOffset(), last));
            if (!loader.IsComplete()) {
                if (StintCount() == 0) prompts.alert("No stints found in replay");
                break;
            }
            offset = loader.EndOffset();
            lap = loader.EndLap();
            kind = loader.SessionKind();
            if (kind > lastKind) break;
            if (ticked(kind)) {
                AddStint(slot, number, loader, tyres);
                ++number;
            } else {
                ++kind;
                if (!ticked(kind)) ++kind;
                lap = 0;
            }
            if (StintCount() == kMaxStints) {
                prompts.alert("Maximum number of stints loaded");
                return StintCount();
            }
        }
    }
    return StintCount();
}

void StintReader::AddStint(int slot, int number, StintLoader& loader, bool tyres) {
    const int s = StintCount();
    rows_.push_back({fmt::format("{}:{}", slot + 1, number), loader.SessionName(),
                     fmt::format("{}-{}", loader.FirstLap(), loader.EndLap() - 1)});
    for (int o = 0; o < kOptions; ++o) {
        if (o >= kFirstTyreOption && !tyres) continue;
        auto series = std::make_unique<StintSeries>();
        series->count = o == 0                         ? loader.LapCount()
                        : (o == 1 || o == 2 || o == 4) ? loader.GaugeSampleCount()
                                                       : loader.SampleCount();
        if (series->count >= 1) {
            series->points.reserve(std::size_t(series->count));
            Point2D p;
            auto next = [&]() {
                switch (o) {
                    case 0:
                        return loader.NextLapTime(p);
                    case 1:
                        return loader.NextWaterTemp(p);
                    case 2:
                        return loader.NextOilTemp(p);
                    case 3:
                        return loader.NextOilPressure(p);
                    case 4:
                        return loader.NextFuelPressure(p);
                    default:
                        return o < 9 ? loader.NextTireTemp(o - 5, 1, p) : loader.NextTirePressure(o - 9, p);
                }
            };
            while (int(series->points.size()) < series->count && next()) series->points.push_back(p);
            loader.ResetIterators();
            series->count = int(series->points.size());
        }
        series_[std::size_t(s * kOptions + o)] = std::move(series);
    }
}

void StintReader::Toggle(int stint, int option, StintChart& chart) {
    StintSeries* series = Series(stint, option);
    if (!series) return;
    if (series->plotted) {
        const int removed = series->curveIndex;
        chart.DeleteCurve(removed);
        // The chart renumbers the curves after it; so do the records.
        for (auto& other : series_)
            if (other && other->curveIndex > removed) --other->curveIndex;
        series->curveIndex = -1;
        series->plotted = false;
        return;
    }
    series->curveIndex = chart.CurveCount();
    chart.AddCurve(*series, kOptionTable[std::size_t(option)].yAxis,
                   std::string(kOptionTable[std::size_t(option)].curve) + "[" + RowOf(stint).stint + "]", option == 0);
    series->plotted = true;
}

}  // namespace vra
