#pragma once
// How a report command finds the replay it reports on: a loaded lap, or a
// replay file read for this report alone, or only the loaded laps. Every
// refusal is one message, after which nothing has changed; a replay read for
// one report is freed on every path.

#include <functional>
#include <memory>

namespace vra {

class CRpyGraphDoc;
class Drivers;
class Header;
class Prompts;
class Report;

class ReportFlows {
public:
    // Which loaded lap a command works on: the slot, or a negative value
    // when there is none (already told) or the user cancelled.
    using ChooseSlot = std::function<int()>;
    // Shows a built report modally.
    using ShowReport = std::function<void(Report&)>;
    // Runs a tool on one replay's header and driver table.
    using RunTool = std::function<void(const Header&, const Drivers&)>;

    ReportFlows(CRpyGraphDoc& doc, Prompts& prompts, ChooseSlot chooseSlot, ShowReport show);

    // The report command of a kind (1 to 18), by its variant.
    void Run(int kind);

    // A loaded lap, or a replay file for this run only. With raceInfo, a
    // replay without race information is refused.
    void LapOrFile(const RunTool& tool, bool raceInfo = false);
    // The same, after refusing when no lap is loaded at all.
    void LoadedLapThenLapOrFile(const RunTool& tool);
    // A loaded lap only.
    void LapOnly(const RunTool& tool);
    // The loaded laps, without a replay of their own.
    void DocumentOnly(int kind);

    // The report of kind over a replay, with the document's settings.
    void ShowFor(int kind, const Header& header, const Drivers& drivers);

private:
    CRpyGraphDoc& doc_;
    Prompts& prompts_;
    ChooseSlot chooseSlot_;
    ShowReport show_;
};

}  // namespace vra
