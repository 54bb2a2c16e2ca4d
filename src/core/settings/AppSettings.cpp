#include "core/settings/AppSettings.h"

#include "core/settings/CRegistry.h"

#include <stdexcept>
#include <vector>

namespace vra {

namespace {

AppSettings* g_instance = nullptr;

constexpr std::string_view kDirectory = "Directory";
constexpr std::string_view kDamageCost = "DamageCost";

}  // namespace

// The values of the program's key, read at start and written by Save(); the
// damage costs and the simulation folder have their own rules.
const AppSettings::Field<std::int32_t> AppSettings::kWords[] = {
    {"MPH", &AppSettings::mph_},
    {"DontShowQualReport", &AppSettings::dontShowQualReport_},
    {"RetireInRaceReport", &AppSettings::retireInRaceReport_},
    {"OffTheTrackInRaceReport", &AppSettings::offTheTrackInRaceReport_},
    {"UseNickNameInReports", &AppSettings::useNickNameInReports_},
    {"ShowMetersBar", &AppSettings::showMetersBar_},
    {"BMPSizeInPixel", &AppSettings::bmpSizeInPixel_},
    {"DefaultPlayerIndex", &AppSettings::defaultPlayerIndex_},
    {"DefaultPhysics", &AppSettings::defaultPhysics_},
    {"SpyGirlMsg", &AppSettings::spyGirlMsg_},
};
const AppSettings::Field<std::string> AppSettings::kTexts[] = {
    {"AltRpyPath", &AppSettings::altRpyPath_},
    {"RecordsPath", &AppSettings::recordsPath_},
};

AppSettings::AppSettings(SettingsStore& store) : store_(store) {
    CRegistry user(store_, SettingsKey::Program);
    for (const auto& [name, field] : kWords) user.ReadDword(name, this->*field);
    for (const auto& [name, field] : kTexts) user.ReadString(name, this->*field);

    // The user's own choice first, then what the simulation's installer left
    // for the whole machine.
    CRegistry sim(store_, SettingsKey::Simulation, /*systemFallback=*/true);
    sim.ReadString(kDirectory, simFolder_);
    simFolderFound_ = simFolder_;
}

AppSettings& AppSettings::Instance() {
    if (!g_instance) throw std::logic_error("AppSettings::Instance: no settings installed");
    return *g_instance;
}

void AppSettings::SetInstance(AppSettings* settings) {
    g_instance = settings;
}

void AppSettings::InitProgramFolder(std::string_view executablePath) {
    const auto cut = executablePath.find_last_of("\\/");
    if (cut == std::string_view::npos) return;
    programFolder_ = executablePath.substr(0, cut);
}

bool AppSettings::Save() {
    // Both keys in one save: the store writes each key's file whole and
    // replaces the old files only when every new one is complete, so a
    // failure leaves both keys as they were saved before, never one new and
    // the other old.
    std::vector<SettingsKeyChanges> keys;
    const bool simChanged = !simFolder_.empty() && simFolder_ != simFolderFound_;
    const SettingsChange sim{std::string(kDirectory), SettingsValue{simFolder_}};
    if (simChanged) keys.push_back({SettingsKey::Simulation, std::span(&sim, 1)});
    std::vector<SettingsChange> changes;
    for (const auto& [name, field] : kWords) changes.push_back({std::string(name), SettingsValue{this->*field}});
    for (const auto& [name, field] : kTexts) changes.push_back({std::string(name), SettingsValue{this->*field}});
    keys.push_back({SettingsKey::Program, changes});
    if (!store_.applyAll(keys)) return false;
    if (simChanged) simFolderFound_ = simFolder_;
    return true;
}

bool AppSettings::HasDamageCost() const {
    return CRegistry(store_, SettingsKey::Program).VerifyValue(kDamageCost);
}

DamageCostTable AppSettings::LoadDamageCosts() {
    CRegistry user(store_, SettingsKey::Program);
    std::vector<std::uint32_t> words;
    if (user.ReadObject(kDamageCost, words)) {
        damageCosts_.fill(0);
        for (std::size_t i = 0; i < words.size() && i < damageCosts_.size(); ++i) damageCosts_[i] = words[i];
    } else {
        // Missing, of another kind or undecodable: a table of zeros would make
        // every failure free, so fall back to the defaults.
        damageCosts_ = kDefaultDamageCosts;
    }
    return damageCosts_;
}

bool AppSettings::SaveDamageCosts(const DamageCostTable& costs) {
    damageCosts_ = costs;
    return CRegistry(store_, SettingsKey::Program).WriteObject(kDamageCost, costs);
}

std::string SettingsNotSavedText(const std::string& reason) {
    std::string text = "The settings could not be saved";
    if (!reason.empty()) text += " (" + reason + ")";
    return text + ".\nThe settings saved before are kept.";
}

}  // namespace vra
