#include "app/BatchMode.h"

#include "app/CommandLine.h"
#include "core/base/KeptFile.h"
#include "core/base/MadeFolders.h"
#include "core/decode/KtTrackFile.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/document/NoTrackText.h"
#include "core/document/OptionsModel.h"
#include "core/export/ExportFlows.h"
#include "core/export/RaceData.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/replay/ReadErrorTexts.h"
#include "core/reports/Report.h"
#include "core/settings/AppSettings.h"
#include "gui/export/SitePicture.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace vra {

namespace {

constexpr std::string_view kExpReports = "-expreports";
constexpr std::string_view kMech = "-mech";
constexpr std::string_view kRaceDataMode = "-racedata";
constexpr std::string_view kXmlMode = "-xml";
constexpr std::string_view kReportSiteMode = "-reportsite";
constexpr std::string_view kRaceDataFailedText = "Race data could not be written.";

// How each mode is called, how many arguments it cannot do without, and
// what the values it reads (arguments 2 and 3) stand for.
struct ModeUse {
    std::string_view mode;
    std::size_t needed;
    std::string_view usage;
    std::string_view values[2];
};
constexpr ModeUse kModeUses[] = {
    {kExpReports, 2, "-expreports -r<replay> [-o<output prefix> [-mech]]", {"replay", "output prefix"}},
    {kRaceDataMode, 3, "-racedata -r<replay> -o<output file>", {"replay", "output file"}},
    {kReportSiteMode, 2, "-reportsite -r<replay> [-o<output folder>]", {"replay", "output folder"}},
    {kXmlMode, 2, "-xml -r<replay>", {"replay", {}}},
};

const ModeUse* UseOf(const std::vector<std::string>& args) {
    for (const ModeUse& use : kModeUses)
        if (!args.empty() && args[0] == use.mode) return &use;
    return nullptr;
}

std::string UsageLine(const ModeUse& use) {
    return "usage: velmar-replay-analyzer " + std::string(use.usage);
}

void Tell(Prompts& prompts, const ShownText& text) {
    prompts.messageText(text, {}, Icon::Warning, Buttons::Ok);
}

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
    return CommandLine::Parse(args).IsBatchMode();
}

std::string BatchMode::Usage(const std::vector<std::string>& args) {
    const ModeUse* use = UseOf(args);
    if (!use) return {};
    if (args.size() < use->needed) return UsageLine(*use);
    // The values are taken by their places, so a pair given the other way
    // round would read the output and write over the replay. A space typed
    // between a flag and its value leaves the flag without one.
    // The flag of the other value, which stands here when the pair is swapped.
    constexpr std::string_view kSwappedFlag[2] = {"-o", "-r"};
    const std::string output(use->values[1]);
    for (std::size_t i = 1; i <= 2 && i < args.size(); ++i) {
        const std::string what(use->values[i - 1]);
        if (what.empty()) continue;
        std::string problem;
        if (args[i].empty()) {
            problem = "An empty argument stands where the " + what + " goes.";
        } else if (args[i].starts_with(kSwappedFlag[i - 1])) {
            problem = "\"" + args[i] + "\" is not the " + what + ": the replay comes first, as -r<replay>";
            if (!output.empty()) problem += ", then the " + output + ", as -o<" + output + ">";
            problem += ".";
        } else if (Value(args[i]).empty()) {
            problem =
                "Nothing follows \"" + args[i] + "\": the " + what + " goes right after it, with no space between.";
        }
        if (!problem.empty()) return problem + "\r\n" + UsageLine(*use);
    }
    return {};
}

std::string BatchMode::Value(const std::string& arg) {
    return arg.size() > 2 ? arg.substr(2) : std::string();
}

int BatchMode::RunRaceData(const std::vector<std::string>& args, SettingsStore& store, Prompts& prompts) {
    const AppSettings settings(store);
    const std::string replay = Value(args[1]);
    const std::string output = Value(args[2]);
    // A server must learn that nothing was written, and why. A missing
    // output folder is made, so that a run on a fresh machine needs none made
    // by hand; a run that fails takes away the folders it made.
    std::error_code error;
    const std::string folder = std::filesystem::path(output).parent_path().string();
    MadeFolders made;
    if (!made.makeAll(folder, error)) {
        Tell(prompts, WhereAndWhy(kRaceDataFailedText, folder, error));
        return 1;
    }
    RaceData data;
    data.SetOutputFile(output);
    data.SetReplayFile(replay);
    data.SetSimulationFolder(settings.SimFolder());
    if (data.Run() == 1) {
        made.keep();
        return 0;
    }
    if (data.ReplayProblem().empty()) {
        Tell(prompts, WhereAndWhy(kRaceDataFailedText, output, data.OutputError()));
        return 1;
    }
    Tell(prompts, ShownText(kRaceDataFailedText).Text("\r\n" + data.ReplayProblem() + "\r\n").FileName(replay));
    return 1;
}

bool BatchMode::ReadReplay(const std::string& replay, Header& header, Drivers& drivers, Prompts& prompts) {
    const bool headerRead = header.Read(replay) == Header::Ok;
    if (!headerRead) prompts.alert(kHeaderReadErrorText);
    if (headerRead && CRpyGraphDoc::LoadDrivers(drivers, replay, prompts)) return true;
    // The reader's message, then the replay it could not read.
    prompts.message(replay, {}, Icon::None, Buttons::Ok);
    return false;
}

int BatchMode::RunXml(const std::vector<std::string>& args, SettingsStore& store, Prompts& prompts) {
    const AppSettings settings(store);
    // A server must learn that nothing was written, whatever the reason.
    const std::string folder = settings.RecordsPath();
    if (folder.empty()) {
        prompts.alert(kNoExportPathText);
        return 1;
    }
    const std::string replay = Value(args[1]);
    Header header;
    Drivers drivers;
    if (!ReadReplay(replay, header, drivers, prompts)) return 1;
    Report report;
    SetUpReport(report, 1, header, drivers, settings, prompts);
    const std::string file = report.XmlFile(folder);
    std::error_code error;
    MadeFolders made;
    if (!made.makeAll(folder, error)) {
        Tell(prompts, WhereAndWhy(kXmlFailedText, folder, error));
        return 1;
    }
    if (report.ExportReportsToXml(folder, &error).empty()) {
        Tell(prompts, WhereAndWhy(kXmlFailedText, file, error));
        return 1;
    }
    made.keep();
    return 0;
}

int BatchMode::RunReportSite(const std::vector<std::string>& args, SettingsStore& store, Prompts& prompts) {
    const AppSettings settings(store);
    std::string folder = args.size() >= 3 ? Value(args[2]) : std::string();
    // A folder given on the command line is named on failure; only the
    // records folder of the settings is the user's to verify there.
    const std::string failedText = folder.empty() ? std::string(kSiteFailedText) : FirstLine(kSiteFailedText);
    if (folder.empty()) folder = settings.RecordsPath();
    if (folder.empty()) {
        prompts.alert(kNoExportPathText);
        return 1;
    }
    const std::string replay = Value(args[1]);
    Header header;
    Drivers drivers;
    if (!ReadReplay(replay, header, drivers, prompts)) return 1;
    // The track is decoded for this run alone: nothing of it outlives a failure.
    std::string why;
    const int size = BitmapSizeFromSetting(settings.BMPSizeInPixel());
    const auto picture = DecodedTrackPicture::Decode(settings.SimFolder(), header.trackName, size, why);
    if (!picture) {
        Tell(prompts, NoTrackText(why, header.trackName, KtTrackFile::TracksFolder(settings.SimFolder()), header.path));
        return 1;
    }
    // A site whose map is missing is no site: the picture is made first.
    if (!picture->Make()) {
        const std::string n = std::to_string(size);
        prompts.alert(FirstLine(kSiteFailedText) + "\r\nNot enough memory for a track map of " + n + " x " + n +
                      " pixels.\r\nPlease choose a smaller \"Size of exported BMP file\" in File->Settings.");
        return 1;
    }
    Report report;
    SetUpReport(report, 1, header, drivers, settings, prompts);
    report.mapView = picture.get();
    const std::string site = report.SiteFolder(folder);
    if (site.empty()) {
        Tell(prompts, ShownText(failedText)
                          .Text("\r\nNo folder for the site can be named after the replay:\r\n")
                          .FileName(replay));
        return 1;
    }
    std::error_code error;
    std::string failed;
    MadeFolders made;
    if (made.makeAll(folder, error)) {
        if (!report.GenerateReportSite(folder, &error, &failed).empty()) {
            made.keep();
            return 0;
        }
    }
    // The site's own folder or file that failed, else the folder given.
    Tell(prompts, WhereAndWhy(failedText, failed.empty() ? folder : failed, error));
    return 1;
}

int BatchMode::Run(const std::vector<std::string>& args, SettingsStore& store, Prompts& prompts) {
    if (!Handles(args)) return 1;
    if (const std::string usage = Usage(args); !usage.empty()) {
        prompts.alert(usage);
        return 1;
    }
    // No output replaces the replay, by whatever name it is reached: each
    // writer refuses it once the folders on the way stand and the links are
    // followed, and the run fails as on any other refusal.
    const KeptFile kept(Value(args[1]));
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
    // The prefix names a folder up to its last "/"; a missing one is made,
    // or refused once rather than for each report.
    std::error_code error;
    const std::string folder = prefix.substr(0, prefix.find_last_of('/') + 1);
    MadeFolders made;
    if (!made.makeAll(folder, error)) {
        Tell(prompts, WhereAndWhy(kReportFileErrorText, folder, error));
        return 1;
    }
    if (!report.WriteAllTextReports(prefix, mechanical)) return 1;
    made.keep();
    return 0;
}

}  // namespace vra
