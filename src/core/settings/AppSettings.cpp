#include "settings/AppSettings.h"

#include "settings/CRegistry.h"

#include <stdexcept>

namespace vra {

namespace {

AppSettings* g_instance = nullptr;

constexpr std::string_view kDirectory = "Directory";
constexpr std::string_view kDamageCost = "DamageCost";

}  // namespace

AppSettings::AppSettings(SettingsStore& store) : store_(store)
{
    CRegistry user(store_, SettingsKey::Program);
    user.ReadDword("MPH", mph_);
    user.ReadDword("DontShowQualReport", dontShowQualReport_);
    user.ReadDword("RetireInRaceReport", retireInRaceReport_);
    user.ReadDword("OffTheTrackInRaceReport", offTheTrackInRaceReport_);
    user.ReadDword("UseNickNameInReports", useNickNameInReports_);
    user.ReadDword("ShowMetersBar", showMetersBar_);
    user.ReadDword("BMPSizeInPixel", bmpSizeInPixel_);
    user.ReadString("AltRpyPath", altRpyPath_);
    user.ReadString("RecordsPath", recordsPath_);
    user.ReadDword("DefaultPlayerIndex", defaultPlayerIndex_);
    user.ReadDword("DefaultPhysics", defaultPhysics_);
    user.ReadDword("SpyGirlMsg", spyGirlMsg_);

    // The user's own choice first, then what the simulation's installer left
    // for the whole machine.
    CRegistry sim(store_, SettingsKey::Simulation, /*systemFallback=*/true);
    sim.ReadString(kDirectory, simFolder_);
    simFolderFound_ = simFolder_;
}

AppSettings& AppSettings::Instance()
{
    if (!g_instance)
        throw std::logic_error("AppSettings::Instance: no settings installed");
    return *g_instance;
}

void AppSettings::SetInstance(AppSettings* settings)
{
    g_instance = settings;
}

void AppSettings::InitProgramFolder(std::string_view executablePath)
{
    const auto cut = executablePath.find_last_of("\\/");
    if (cut == std::string_view::npos)
        return;
    programFolder_ = executablePath.substr(0, cut);
}

bool AppSettings::Save()
{
    bool ok = true;
    if (!simFolder_.empty() && simFolder_ != simFolderFound_) {
        CRegistry sim(store_, SettingsKey::Simulation);
        if (sim.WriteString(kDirectory, simFolder_))
            simFolderFound_ = simFolder_;
        else
            ok = false;
    }
    CRegistry user(store_, SettingsKey::Program);
    ok &= user.WriteDword("DontShowQualReport", dontShowQualReport_);
    ok &= user.WriteDword("RetireInRaceReport", retireInRaceReport_);
    ok &= user.WriteDword("OffTheTrackInRaceReport", offTheTrackInRaceReport_);
    ok &= user.WriteDword("BMPSizeInPixel", bmpSizeInPixel_);
    ok &= user.WriteDword("MPH", mph_);
    ok &= user.WriteString("AltRpyPath", altRpyPath_);
    ok &= user.WriteString("RecordsPath", recordsPath_);
    ok &= user.WriteDword("DefaultPlayerIndex", defaultPlayerIndex_);
    ok &= user.WriteDword("DefaultPhysics", defaultPhysics_);
    ok &= user.WriteDword("SpyGirlMsg", spyGirlMsg_);
    ok &= user.WriteDword("UseNickNameInReports", useNickNameInReports_);
    ok &= user.WriteDword("ShowMetersBar", showMetersBar_);
    return ok;
}

bool AppSettings::HasDamageCost() const
{
    return CRegistry(store_, SettingsKey::Program).VerifyValue(kDamageCost);
}

DamageCostTable AppSettings::LoadDamageCosts()
{
    CRegistry user(store_, SettingsKey::Program);
    std::vector<std::uint32_t> words;
    if (user.ReadObject(kDamageCost, words)) {
        damageCosts_.fill(0);
        for (std::size_t i = 0; i < words.size() && i < damageCosts_.size(); ++i)
            damageCosts_[i] = words[i];
    } else {
        // Missing, of another kind or undecodable: a table of zeros would make
        // every failure free, so fall back to the defaults.
        damageCosts_ = kDefaultDamageCosts;
    }
    return damageCosts_;
}

bool AppSettings::SaveDamageCosts(const DamageCostTable& costs)
{
    damageCosts_ = costs;
    return CRegistry(store_, SettingsKey::Program).WriteObject(kDamageCost, costs);
}

}  // namespace vra
