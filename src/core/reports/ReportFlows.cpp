#include "core/reports/ReportFlows.h"

#include "core/base/FileUtil.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/document/LoadedLapChoice.h"
#include "core/platform/Prompts.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/replay/ReadErrorTexts.h"
#include "core/reports/Report.h"

#include <string_view>

namespace vra {

namespace {

constexpr std::string_view kReportOnlyQuestion = "Do you wish to choose a replay file to be used in the report only?";
constexpr std::string_view kSelectReplayTitle = "Select Replay File";
constexpr std::string_view kNoRaceInfoText = "This replay file does not contain race info!";
constexpr std::string_view kLapOnlyText = "This report cannot be run unless you have loaded a lap.";

}  // namespace

ReportFlows::ReportFlows(CRpyGraphDoc& doc, Prompts& prompts, ChooseSlot chooseSlot, ShowReport show)
    : doc_(doc), prompts_(prompts), chooseSlot_(std::move(chooseSlot)), show_(std::move(show)) {}

void ReportFlows::Run(int kind) {
    const auto report = [this, kind](const Header& h, const Drivers& d) { ShowFor(kind, h, d); };
    switch (kind) {
        case ReportKind::DetailedRace:
            LapOnly(report);
            break;
        case ReportKind::LaptimeVerifier:
        case ReportKind::SectorTimes:
        case ReportKind::Speed:
        case ReportKind::ThrottleBrake:
            DocumentOnly(kind);
            break;
        case ReportKind::CarFile:
        case ReportKind::Ratings:
            LoadedLapThenLapOrFile(report);
            break;
        default:
            if (kind >= 1 && kind <= 18) LapOrFile(report);
            break;
    }
}

void ReportFlows::ShowFor(int kind, const Header& header, const Drivers& drivers) {
    Report report;
    report.header = &header;
    report.drivers = &drivers;
    report.document = &doc_;
    report.kind = kind;
    report.settings = ReportSettings::FromDocument(doc_);
    report.prompts = &prompts_;
    show_(report);
}

void ReportFlows::LapOrFile(const RunTool& tool, bool raceInfo) {
    const int slot = chooseSlot_();
    if (slot >= 0) {
        if (!doc_.IsSlotUsed(slot)) return;
        const LapSlot& lap = doc_.Slot(slot);
        if (raceInfo && !lap.drivers->raceStartSeen) {
            prompts_.alert(kNoRaceInfoText);
            return;
        }
        tool(*lap.header, *lap.drivers);
        return;
    }
    if (prompts_.message(kReportOnlyQuestion, {}, Icon::Question, Buttons::YesNo) != Button::Yes) return;

    // The replay folder is looked up on its own: the document's folder is
    // never touched, whatever the dialog does.
    OpenFileRequest request;
    request.title = kSelectReplayTitle;
    const std::filesystem::path sim(doc_.SimFolder());
    request.initialFolder = ResolveCaseInsensitive(sim, "replay").value_or(sim / "replay");
    request.filters = {{"Replay files (*.rpy)", "*.rpy"}};
    const auto path = prompts_.openFile(request);
    if (!path) return;

    const auto header = std::make_unique<Header>();
    if (header->Read(*path) != Header::Ok) {
        prompts_.alert(kHeaderReadErrorText);
        prompts_.messageText(ShownText().FileName(*path), {}, Icon::Warning, Buttons::Ok);
        return;
    }
    const auto drivers = std::make_unique<Drivers>();
    if (!CRpyGraphDoc::LoadDrivers(*drivers, *path, prompts_)) return;
    if (raceInfo && !drivers->raceStartSeen) {
        prompts_.alert(kNoRaceInfoText);
        return;
    }
    tool(*header, *drivers);
}

void ReportFlows::LoadedLapThenLapOrFile(const RunTool& tool) {
    if (doc_.LapCount() == 0) {
        prompts_.alert(kNoLapLoadedText);
        return;
    }
    LapOrFile(tool);
}

void ReportFlows::LapOnly(const RunTool& tool) {
    const int slot = chooseSlot_();
    if (slot >= 0 && doc_.IsSlotUsed(slot)) {
        const LapSlot& lap = doc_.Slot(slot);
        tool(*lap.header, *lap.drivers);
        return;
    }
    prompts_.alert(kLapOnlyText);
}

void ReportFlows::DocumentOnly(int kind) {
    if (doc_.LapCount() == 0) {
        prompts_.alert(kNoLapLoadedText);
        return;
    }
    Report report;
    report.document = &doc_;
    report.kind = kind;
    report.settings = ReportSettings::FromDocument(doc_);
    report.prompts = &prompts_;
    show_(report);
}

}  // namespace vra
