#include "app/BatchMode.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/export/ExportFlows.h"
#include "core/export/RaceData.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/replay/ReadErrorTexts.h"
#include "core/reports/Report.h"
#include "core/settings/AppSettings.h"
#include "gui/export/SitePicture.h"

#include <cstdio>

namespace vra {

namespace {

constexpr std::string_view kExpReports = "-expreports";
constexpr std::string_view kMech = "-mech";
constexpr std::string_view kRaceDataMode = "-racedata";
constexpr std::string_view kXmlMode = "-xml";
constexpr std::string_view kReportSiteMode = "-reportsite";
constexpr std::string_view kRaceDataFailedText = "Race data could not be written.";
constexpr std::string_view kCountsText =
    "Sorry, but VELMR Replay Analyzer cannot load this file correct.\r\nPlease contact us so that we can analyze why.";

// A report of the replay this run read, with the stored settings; batch 1
// where it is built without the main window's views.
void SetUpReport(Report& report, int batch, const Header& header, const Drivers& drivers, const AppSettings& settings,
                 Prompts& prompts) {
    report.batch = batch;
    report.header = &header;
    report.drivers = &drivers;
    report.settings = ReportSettings::FromAppSettings(settings);
    report.prompts = &prompts;
}

}  // namespace

Button BatchPrompts::message(std::string_view text, std::string_view, Icon, Buttons buttons) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        line += text[i];
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return FirstButton(buttons);
}

bool BatchMode::Handles(const std::vector<std::string>& args) {
    return args.size() >= 2 &&
           (args[0] == kExpReports || args[0] == kRaceDataMode || args[0] == kXmlMode || args[0] == kReportSiteMode);
}

std::string BatchMode::Value(const std::string& arg) {
    return arg.size() > 2 ? arg.substr(2) : std::string();
}

int BatchMode::RunRaceData(const std::vector<std::string>& args, SettingsStore& store, Prompts& prompts) {
    const AppSettings settings(store);
    RaceData data;
    data.SetOutputFile(args.size() >= 3 ? Value(args[2]) : std::string());
    data.SetReplayFile(Value(args[1]));
    data.SetSimulationFolder(settings.SimFolder());
    if (data.Run() == 1) return 0;
    // A server must learn that nothing was written.
    prompts.alert(kRaceDataFailedText);
    return 1;
}

bool BatchMode::ReadReplay(const std::string& replay, Header& header, Drivers& drivers, Prompts& prompts) {
    if (header.Read(replay) != Header::Ok) {
        prompts.alert(kHeaderReadErrorText);
        prompts.message(replay, {}, Icon::None, Buttons::Ok);
        return false;
    }
    if (!CRpyGraphDoc::LoadDrivers(drivers, replay, prompts)) return false;
    if (drivers.driverCount != drivers.loadedCount) {
        prompts.alert(kCountsText);
        return false;
    }
    return true;
}

int BatchMode::RunXml(const std::vector<std::string>& args, SettingsStore& store, Prompts& prompts) {
    const AppSettings settings(store);
    // A server must learn that nothing was written, whatever the reason.
    if (settings.RecordsPath().empty()) {
        prompts.alert(kNoExportPathText);
        return 1;
    }
    Header header;
    Drivers drivers;
    if (!ReadReplay(Value(args[1]), header, drivers, prompts)) return 1;
    Report report;
    SetUpReport(report, 1, header, drivers, settings, prompts);
    if (!report.ExportReportsToXml(settings.RecordsPath()).empty()) return 0;
    prompts.alert(kXmlFailedText);
    return 1;
}

int BatchMode::RunReportSite(const std::vector<std::string>& args, SettingsStore& store, Prompts& prompts) {
    const AppSettings settings(store);
    std::string folder = args.size() >= 3 ? Value(args[2]) : std::string();
    if (folder.empty()) folder = settings.RecordsPath();
    if (folder.empty()) {
        prompts.alert(kNoExportPathText);
        return 1;
    }
    Header header;
    Drivers drivers;
    if (!ReadReplay(Value(args[1]), header, drivers, prompts)) return 1;
    // The track is decoded for this run alone: nothing of it outlives a failure.
    std::string error;
    const auto picture =
        DecodedTrackPicture::Decode(settings.SimFolder(), header.trackName, settings.BMPSizeInPixel(), error);
    if (!picture) {
        prompts.alert(std::string(kSiteNoTrackText) + error);
        return 1;
    }
    Report report;
    SetUpReport(report, 1, header, drivers, settings, prompts);
    report.mapView = picture.get();
    if (!report.GenerateReportSite(folder).empty()) return 0;
    prompts.alert(kSiteFailedText);
    return 1;
}

int BatchMode::Run(const std::vector<std::string>& args, SettingsStore& store, Prompts& prompts) {
    if (!Handles(args)) return 1;
    if (args[0] == kRaceDataMode) return RunRaceData(args, store, prompts);
    if (args[0] == kXmlMode) return RunXml(args, store, prompts);
    if (args[0] == kReportSiteMode) return RunReportSite(args, store, prompts);
    const std::string replay = Value(args[1]);
    const std::string prefix = args.size() >= 3 ? Value(args[2]) : std::string();
    const int mechanical = args.size() == 4 && args[3] == kMech ? 1 : 0;

    const AppSettings settings(store);
    Header header;
    Drivers drivers;
    if (!ReadReplay(replay, header, drivers, prompts)) return 1;
    Report report;
    SetUpReport(report, 0, header, drivers, settings, prompts);
    return report.WriteAllTextReports(prefix, mechanical) ? 0 : 1;
}

}  // namespace vra
