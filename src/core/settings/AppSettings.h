#pragma once
// What the user sets once and finds again at the next start: folders, units,
// report switches, the exported map size, default player and physics, the
// meters bar and the damage-cost table.

#include "core/platform/SettingsStore.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vra {

inline constexpr std::size_t kDamageCostCount = 21;
using DamageCostTable = std::array<std::uint32_t, kDamageCostCount>;

// Costs of a fully damaged part when no table has been stored; the last entry
// has no default of its own.
inline constexpr DamageCostTable kDefaultDamageCosts = {250, 1000, 500, 250,  250, 5000, 500,  250, 250, 1000, 250,
                                                        250, 1000, 500, 1000, 500, 500,  2000, 500, 100, 0};

class AppSettings {
public:
    // Reads every value from the store; a value that is missing or of the
    // wrong kind gives its default.
    explicit AppSettings(SettingsStore& store);

    // The process-wide object, installed by the application at start-up.
    // Instance() throws std::logic_error when none is installed.
    static AppSettings& Instance();
    static void SetInstance(AppSettings* settings);

    // The simulation's installation folder (empty when unknown).
    const std::string& SimFolder() const { return simFolder_; }
    void SetSimFolder(std::string_view folder) { simFolder_ = folder; }
    const std::string& AltReplayPath() const { return altRpyPath_; }
    void SetAltReplayPath(std::string_view path) { altRpyPath_ = path; }
    const std::string& RecordsPath() const { return recordsPath_; }
    void SetRecordsPath(std::string_view path) { recordsPath_ = path; }
    const std::string& ProgramFolder() const { return programFolder_; }

    // 1: speeds in miles per hour, otherwise kilometres per hour.
    std::int32_t Mph() const { return mph_; }
    void SetMph(std::int32_t value) { mph_ = value; }
    // 1: no data quality message after a lap is added.
    std::int32_t DontShowQualReport() const { return dontShowQualReport_; }
    void SetDontShowQualReport(std::int32_t value) { dontShowQualReport_ = value; }
    std::int32_t RetireInRaceReport() const { return retireInRaceReport_; }
    void SetRetireInRaceReport(std::int32_t value) { retireInRaceReport_ = value; }
    std::int32_t OffTheTrackInRaceReport() const { return offTheTrackInRaceReport_; }
    void SetOffTheTrackInRaceReport(std::int32_t value) { offTheTrackInRaceReport_ = value; }
    std::int32_t BMPSizeInPixel() const { return bmpSizeInPixel_; }
    void SetBMPSizeInPixel(std::int32_t value) { bmpSizeInPixel_ = value; }
    // -1: no default player.
    std::int32_t DefaultPlayerIndex() const { return defaultPlayerIndex_; }
    void SetDefaultPlayerIndex(std::int32_t value) { defaultPlayerIndex_ = value; }
    std::int32_t DefaultPhysics() const { return defaultPhysics_; }
    void SetDefaultPhysics(std::int32_t value) { defaultPhysics_ = value; }
    std::int32_t SpyGirlMsg() const { return spyGirlMsg_; }
    void SetSpyGirlMsg(std::int32_t value) { spyGirlMsg_ = value; }
    std::int32_t UseNickNameInReports() const { return useNickNameInReports_; }
    void SetUseNickNameInReports(std::int32_t value) { useNickNameInReports_ = value; }
    std::int32_t ShowMetersBar() const { return showMetersBar_; }
    void SetShowMetersBar(std::int32_t value) { showMetersBar_ = value; }

    // The program's folder: executablePath up to its last path separator.
    // Left unchanged when the path has no separator.
    void InitProgramFolder(std::string_view executablePath);

    // Writes every value but the damage costs. The simulation folder is
    // written to the user's own scope, and only when it is not empty and
    // differs from what was found, so the simulation's value is never
    // overwritten. The program's values are written as one batch. The two
    // are separate files: returns false when either write failed, and each
    // file then holds either all of its new values or what it held before,
    // so a folder written before the program's values failed stays written.
    bool Save();
    // Why the last save failed, in the store's words; empty when unknown.
    std::string LastSaveError() const { return store_.lastWriteError(); }

    bool HasDamageCost() const;
    // Fills the table from the store: the defaults when no table is stored or
    // the stored one cannot be read (over 4096 bytes) or decoded; a shorter
    // table is filled with zeros, a longer one is cut.
    DamageCostTable LoadDamageCosts();
    bool SaveDamageCosts(const DamageCostTable& costs);
    const DamageCostTable& DamageCosts() const { return damageCosts_; }

private:
    template <class T>
    struct Field {
        std::string_view name;
        T AppSettings::*member;
    };
    static const Field<std::int32_t> kWords[];
    static const Field<std::string> kTexts[];

    SettingsStore& store_;
    std::int32_t mph_ = 1;
    std::int32_t dontShowQualReport_ = 1;
    std::int32_t retireInRaceReport_ = 0;
    std::int32_t offTheTrackInRaceReport_ = 1;
    std::int32_t bmpSizeInPixel_ = 768;
    std::int32_t defaultPlayerIndex_ = -1;
    std::int32_t defaultPhysics_ = 0;
    std::int32_t spyGirlMsg_ = 0;
    std::int32_t useNickNameInReports_ = 0;
    std::int32_t showMetersBar_ = 1;
    std::string simFolder_;
    std::string simFolderFound_;  // as read from the simulation's key
    std::string altRpyPath_;
    std::string recordsPath_;
    std::string programFolder_;
    DamageCostTable damageCosts_{};
};

// What the user is told when the settings could not be saved; reason is the
// store's explanation (may be empty).
std::string SettingsNotSavedText(const std::string& reason);

}  // namespace vra
