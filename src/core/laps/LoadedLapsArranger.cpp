#include "core/laps/LoadedLapsArranger.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/platform/Prompts.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/text/LapTime.h"

namespace vra {

namespace {

constexpr std::string_view kNoLapCaption = "No lap choosen!";
constexpr std::array<std::string_view, 4> kSessionTexts = {"Practice", "Qualifying", "Happy Hour", "Race"};

}  // namespace

const std::array<std::string_view, 6>& LoadedLapsArranger::Headings() {
    static const std::array<std::string_view, 6> kHeadings = {
        "Driver Name                     ", "Lap time    ", "Game mode", "Session  ", "Replay file    ", ""};
    return kHeadings;
}

LoadedLapsArranger::LoadedLapsArranger(CRpyGraphDoc& doc) : doc_(doc), prompts_(doc.GetPrompts()) {
    for (int k = 0; k < CRpyGraphDoc::kSlotMaximum; ++k) {
        if (!doc.IsSlotUsed(k)) continue;
        const LapSlot& s = doc.Slot(k);
        Row row;
        if (s.drivers && s.driver >= 0 && static_cast<std::size_t>(s.driver) < s.drivers->drivers.size()) {
            const Drivers::Driver& d = s.drivers->drivers[static_cast<std::size_t>(s.driver)];
            row[0] = d.firstName + " " + d.lastName;
            row[1] = FormatLapTime(s.drivers->LapWordAt(s.session, s.driver, s.lap));
        }
        row[2] = s.header && s.header->gameMode == 1 ? "Arcade" : "Simulation";
        row[3] = s.session >= 0 && s.session < 4 ? std::string(kSessionTexts[static_cast<std::size_t>(s.session)])
                                                 : std::string();
        row[4] = s.header ? s.header->path.string() : std::string();
        row[5] = std::to_string(k);
        rows_.push_back(std::move(row));
    }
}

void LoadedLapsArranger::MoveRow(int source, int target) {
    const int n = static_cast<int>(rows_.size());
    if (source == target || source < 0 || target < 0 || source >= n || target > n) return;
    const Row copy = rows_[static_cast<std::size_t>(source)];
    rows_.insert(rows_.begin() + target, copy);
    if (target <= source) ++source;  // the insertion moved it down
    rows_.erase(rows_.begin() + source);
}

std::optional<int> LoadedLapsArranger::OnMoveUp(std::optional<int> selected) {
    if (!selected) {
        prompts_.message("Choose a lap to move!", kNoLapCaption, Icon::Error, Buttons::Ok);
        return selected;
    }
    if (*selected <= 0) return selected;
    MoveRow(*selected, *selected - 1);
    return *selected - 1;
}

std::optional<int> LoadedLapsArranger::OnMoveDown(std::optional<int> selected) {
    if (!selected) {
        prompts_.message("Choose a lap to move!", kNoLapCaption, Icon::Error, Buttons::Ok);
        return selected;
    }
    if (*selected >= static_cast<int>(rows_.size()) - 1) return selected;
    MoveRow(*selected, *selected + 2);
    return *selected + 1;
}

std::optional<int> LoadedLapsArranger::OnRemove(std::optional<int> selected) {
    if (!selected || *selected < 0 || *selected >= static_cast<int>(rows_.size())) {
        prompts_.message("Choose a lap to remove!", kNoLapCaption, Icon::Error, Buttons::Ok);
        return std::nullopt;
    }
    rows_.erase(rows_.begin() + *selected);
    return std::nullopt;
}

void LoadedLapsArranger::OnOK() {
    std::vector<int> order;
    for (const Row& r : rows_) order.push_back(std::stoi(r[5]));
    doc_.ArrangeLaps(order);
}

}  // namespace vra
