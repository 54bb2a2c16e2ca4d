#pragma once
// The map view's export commands: the report site and the XML file of a
// loaded lap's replay, written into the export path of the settings. Every
// refusal is one message after which nothing has changed; on success the
// user may open what was written.

#include <functional>
#include <string>
#include <string_view>

namespace vra {

class CRpyGraphDoc;
class Prompts;
class Report;
class Shell;
class WaitBox;

inline constexpr std::string_view kNoExportPathText =
    "No export path set. Please set this\r\npath in File->Settings dialog.";
inline constexpr std::string_view kSiteNoLapText =
    "You need to load a lap from the replay\r\nyou want the Report Site for.";
inline constexpr std::string_view kSiteNoRaceInfoText =
    "This replay file does not contain race info!\r\nHTML Site export is only made for replays containing race info.";
inline constexpr std::string_view kSiteWaitText = "Please wait while generating report site...";
inline constexpr std::string_view kSiteFailedText =
    "Could not create site!\r\nPlease verify export path in File->Settings";
inline constexpr std::string_view kXmlNoLapText =
    "You need to load a lap from the replay\r\nyou want the XML-file for.";
inline constexpr std::string_view kXmlWaitText = "Please wait while generating XML file...";
inline constexpr std::string_view kXmlFailedText =
    "Could not create file!\r\nPlease verify export path in File->Settings";

class ExportFlows {
public:
    // Which loaded lap a command works on; negative when none.
    using ChooseSlot = std::function<int()>;
    // Gives a report built for a lap's replay what it needs to draw the
    // track (the view); may be empty.
    using PrepareReport = std::function<void(Report&)>;

    ExportFlows(CRpyGraphDoc& doc, Prompts& prompts, Shell& shell, WaitBox& wait, ChooseSlot chooseSlot,
                PrepareReport prepare = {});

    // The report site; Yes opens its index.html.
    void GenerateReportSite();
    // The XML file; Yes opens it.
    void ExportReportsToXml();

private:
    // The export path is set and a lap chosen (with race information when
    // asked); false after telling why not.
    bool prepare(std::string_view noLapText, bool raceInfo, int& slot);
    // A report of the slot's replay, for an export.
    void build(Report& report, int slot);

    CRpyGraphDoc& doc_;
    Prompts& prompts_;
    Shell& shell_;
    WaitBox& wait_;
    ChooseSlot chooseSlot_;
    PrepareReport prepareReport_;
};

}  // namespace vra
