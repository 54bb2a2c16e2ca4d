#include "core/document/OptionsModel.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/platform/Prompts.h"
#include "core/settings/SimFolderCheck.h"

#include <limits>

namespace vra {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

OptionsValues LoadOptions(AppSettings& settings) {
    OptionsValues v;
    v.speedUnit = settings.Mph();
    v.dontShowQualReport = settings.DontShowQualReport();
    v.retireInRaceReport = settings.RetireInRaceReport();
    v.offTheTrackInRaceReport = settings.OffTheTrackInRaceReport();
    v.useNickNameInReports = settings.UseNickNameInReports();
    v.bmpSizeInPixel = settings.BMPSizeInPixel();
    v.simFolder = settings.SimFolder();
    v.altReplayPath = settings.AltReplayPath();
    v.recordsPath = settings.RecordsPath();
    const DamageCostTable table = settings.LoadDamageCosts();
    for (std::size_t i = 0; i < kEditedDamageCosts; ++i) v.damageCosts[i] = table[i];
    return v;
}

std::string FirstLine(std::string_view text) {
    return std::string(text.substr(0, text.find_first_of("\r\n")));
}

std::int32_t ParseBitmapSize(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    bool digits = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        digits = true;
        value = value * 10 + (text[i] - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) return kDefaultBitmapSize;
    }
    if (!digits || negative || value == 0) return kDefaultBitmapSize;
    return static_cast<std::int32_t>(value);
}

std::int32_t BitmapSizeFromSetting(std::int32_t stored) {
    return ParseBitmapSize(std::to_string(stored));
}

std::optional<std::uint32_t> ParseDamageCost(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + std::uint64_t(c - '0');
        if (value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<std::string> LocateSimExecutable(Prompts& prompts, std::string_view startFolder) {
    OpenFileRequest request;
    request.title = std::string(kLocateSimTitle);
    request.initialFolder = std::filesystem::path(std::string(startFolder));
    request.filters = {{"Velmar exe File (VELMAR.exe)", std::string(kSimExecutableName)}, {"All Files(*.*)", "*.*"}};
    const auto chosen = prompts.openFile(request);
    if (!chosen) return std::nullopt;
    return chosen->parent_path().string();
}

OptionsDecision DecideOptions(const OptionsInput& input, Prompts& prompts, const SimExecutableCheck& exists) {
    OptionsDecision d;
    d.simFolder = FirstLine(input.simFolderText);
    // Costs first: they are checked without asking anything, and nothing is
    // stored until every value is sound.
    for (std::size_t i = 0; i < kEditedDamageCosts; ++i) {
        const auto cost = ParseDamageCost(input.costTexts[i]);
        if (!cost) {
            prompts.alert(kCostNotIntegerText);
            d.refusedCost = static_cast<int>(i);
            return d;
        }
        d.values.damageCosts[i] = *cost;
    }
    if (d.simFolder.empty()) {
        auto located = LocateSimExecutable(prompts, {});
        if (!located) return d;
        d.simFolder = *located;
    }
    while (!exists(d.simFolder)) {
        prompts.alert(kOptionsExecutableMissingText);
        auto located = LocateSimExecutable(prompts, d.simFolder);
        if (!located) return d;
        d.simFolder = *located;
    }
    const OptionsValues& s = input.switches;
    d.values.speedUnit = s.speedUnit;
    d.values.dontShowQualReport = s.dontShowQualReport;
    d.values.retireInRaceReport = s.retireInRaceReport;
    d.values.offTheTrackInRaceReport = s.offTheTrackInRaceReport;
    d.values.useNickNameInReports = s.useNickNameInReports;
    d.values.bmpSizeInPixel = ParseBitmapSize(input.bitmapSizeText);
    d.values.simFolder = d.simFolder;
    d.values.altReplayPath = FirstLine(input.altReplayPathText);
    d.values.recordsPath = FirstLine(input.recordsPathText);
    d.accepted = true;
    return d;
}

bool StoreOptions(const OptionsValues& v, AppSettings& settings, CRpyGraphDoc* document, Prompts& prompts) {
    settings.SetSimFolder(v.simFolder);
    settings.SetAltReplayPath(v.altReplayPath);
    settings.SetRecordsPath(v.recordsPath);
    settings.SetMph(v.speedUnit);
    settings.SetDontShowQualReport(v.dontShowQualReport);
    settings.SetRetireInRaceReport(v.retireInRaceReport);
    settings.SetOffTheTrackInRaceReport(v.offTheTrackInRaceReport);
    settings.SetBMPSizeInPixel(v.bmpSizeInPixel);
    settings.SetUseNickNameInReports(v.useNickNameInReports);
    if (document) {
        document->SetSpeedUnit(v.speedUnit);
        document->SetDontShowQualReport(v.dontShowQualReport);
        document->SetRetireInRaceReport(v.retireInRaceReport);
        document->SetSimFolder(v.simFolder);
        // The lap dialogs read the alternative folder from the document: a
        // new one takes effect now, not at the next start.
        document->SetAltReplayPath(v.altReplayPath);
        document->SetBMPSizeInPixel(v.bmpSizeInPixel);
        document->SetUseNickNameInReports(v.useNickNameInReports);
        document->SetOffTheTrackInRaceReport(v.offTheTrackInRaceReport);
    }
    // Entries the dialog does not edit keep what the store holds.
    DamageCostTable table = settings.LoadDamageCosts();
    for (std::size_t i = 0; i < kEditedDamageCosts; ++i) table[i] = v.damageCosts[i];
    const bool costsSaved = settings.SaveDamageCosts(table);
    const bool saved = settings.Save();
    if (costsSaved && saved) return true;
    prompts.alert(SettingsNotSavedText(settings.LastSaveError()));
    return false;
}

}  // namespace vra
