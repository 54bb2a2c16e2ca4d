#include "core/export/ExportFlows.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/platform/Prompts.h"
#include "core/platform/Shell.h"
#include "core/platform/WaitBox.h"
#include "core/replay/Drivers.h"
#include "core/reports/Report.h"
#include "core/settings/AppSettings.h"

namespace vra {

ExportFlows::ExportFlows(CRpyGraphDoc& doc, Prompts& prompts, Shell& shell, WaitBox& wait, ChooseSlot chooseSlot,
                         PrepareReport prepare)
    : doc_(doc),
      prompts_(prompts),
      shell_(shell),
      wait_(wait),
      chooseSlot_(std::move(chooseSlot)),
      prepareReport_(std::move(prepare)) {}

bool ExportFlows::prepare(std::string_view noLapText, bool raceInfo, int& slot) {
    if (doc_.Settings().RecordsPath().empty()) {
        prompts_.alert(kNoExportPathText);
        return false;
    }
    slot = chooseSlot_ ? chooseSlot_() : -1;
    if (slot < 0 || !doc_.IsSlotUsed(slot) || !doc_.Slot(slot).drivers || !doc_.Slot(slot).header) {
        prompts_.alert(noLapText);
        return false;
    }
    if (raceInfo && !doc_.Slot(slot).drivers->raceStartSeen) {
        prompts_.alert(kSiteNoRaceInfoText);
        return false;
    }
    return true;
}

void ExportFlows::build(Report& report, int slot) {
    report.header = doc_.Slot(slot).header.get();
    report.drivers = doc_.Slot(slot).drivers.get();
    report.document = &doc_;
    report.settings = ReportSettings::FromDocument(doc_);
    if (prepareReport_) prepareReport_(report);
}

void ExportFlows::GenerateReportSite() {
    int slot = -1;
    if (!prepare(kSiteNoLapText, true, slot)) return;
    Report report;
    build(report, slot);
    std::string folder;
    {
        WaitBoxScope wait(wait_, kSiteWaitText);
        folder = report.GenerateReportSite(doc_.Settings().RecordsPath());
    }
    if (folder.empty()) {
        prompts_.alert(kSiteFailedText);
        return;
    }
    if (prompts_.messageText(ShownText("Report site created in:\r\n")
                                 .FileName(folder)
                                 .Text("\r\n\r\nDo you wish to launch the site in your browser?"),
                             {}, Icon::Question, Buttons::YesNo) == Button::Yes)
        shell_.open(folder + "index.html");
}

void ExportFlows::ExportReportsToXml() {
    int slot = -1;
    if (!prepare(kXmlNoLapText, false, slot)) return;
    Report report;
    build(report, slot);
    std::string path;
    {
        WaitBoxScope wait(wait_, kXmlWaitText);
        path = report.ExportReportsToXml(doc_.Settings().RecordsPath());
    }
    if (path.empty()) {
        prompts_.alert(kXmlFailedText);
        return;
    }
    if (prompts_.messageText(ShownText("XML-file created:\r\n")
                                 .FileName(path)
                                 .Text("\r\n\r\nDo you wish to launch the file in your XML-viewer?"),
                             {}, Icon::Question, Buttons::YesNo) == Button::Yes)
        shell_.open(path);
}

}  // namespace vra
