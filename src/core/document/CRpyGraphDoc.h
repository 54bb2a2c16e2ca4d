#pragma once
// The application's one document: up to five loaded laps in parallel slots,
// the decoded track they share, copies of the user's settings, and the run
// that adds a lap. It shows nothing itself: messages and choices go through
// the platform's prompts, and the windows learn of changes through a
// DocumentObserver.

#include "core/document/DocumentColours.h"
#include "core/document/LapChannels.h"
#include "core/document/LapPoints.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vra {

class AppSettings;
class DocumentObserver;
class Drivers;
class GetRpyInfo;
class Header;
class KtTrackFile;
class LapLinePlotter;
class LpLine;
class Prompts;
class ReplaySource;
class TrackPath;
class WaitBox;

// One loaded lap. A used slot holds all four objects; a free slot's contents
// mean nothing.
struct LapSlot {
    LapSlot();
    ~LapSlot();
    LapSlot(LapSlot&&) noexcept;
    LapSlot& operator=(LapSlot&&) noexcept;

    bool used = false;
    std::unique_ptr<Header> header;
    std::unique_ptr<Drivers> drivers;
    std::unique_ptr<GetRpyInfo> info;
    std::unique_ptr<LapLinePlotter> plotter;
    // Each sample's map point on the document's track; empty without one.
    LapPoints points;
    LockedWheels lockedWheels;
    int driver = 0;   // index in the driver table
    int session = 0;  // 0 practice, 1 qualifying, 2 happy hour, 3 race
    int lap = 0;      // index in that session's lap table
};

class CRpyGraphDoc {
public:
    static constexpr int kSlotMaximum = 5;
    static constexpr std::string_view kNoLapTitle = "No lap selected";

    // Takes the settings copies and checks the simulation folder (asking for
    // one through the settings dialog when it holds no simulation).
    CRpyGraphDoc(AppSettings& settings, Prompts& prompts, WaitBox& waitBox, DocumentObserver* observer = nullptr);
    // Writes the default player and physics back and saves the settings.
    ~CRpyGraphDoc();
    CRpyGraphDoc(const CRpyGraphDoc&) = delete;
    CRpyGraphDoc& operator=(const CRpyGraphDoc&) = delete;

    void SetObserver(DocumentObserver* observer) { observer_ = observer; }

    // Clears every lap and the track ("new").
    bool OnNewDocument();
    // Adds a lap of the replay at path, the lap chosen by the user; every
    // outcome is told to the user, so this always succeeds.
    bool OnOpenDocument(const std::filesystem::path& path);
    // "Add replay lap": the user picks the replay file and the lap.
    void OnAddReplayLap();
    // Adds the given lap of the replay at path without asking which.
    void AddLapFromLapFinder(const std::filesystem::path& path, int driver, int session, int lap);
    // Opens the newest replay of the simulation's replay folder (by last
    // write, the first by name among equals) as OnOpenDocument does;
    // nothing when the folder holds none.
    void OnOpenMostRecentReplay();
    // The arranger's result: order lists the used slots to keep, in their
    // new order; the laps move to slots 0.. and the rest are freed. Each
    // slot keeps its line plotter, so a moved lap takes its new slot's
    // colour. An empty order empties the document.
    void ArrangeLaps(const std::vector<int>& order);

    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified) { modified_ = modified; }

    // Commands that write a loaded lap or replay into a new file. Each asks
    // for the destination, never writes over its source and leaves an
    // existing destination as it was when anything fails.
    // The slot a per-lap command works on: the only lap without asking, else
    // the user's choice; -1 when there is none or the user cancelled.
    int ChooseLapToSave();
    void OnSaveReplayLap();
    void OnSaveTelemetryText();
    void OnMergeLaps();
    void OnCompressReplay();
    void OnFixTransAmRideHeight();
    // The laps loaded now do not all share one physics.
    bool MixedPhysics() const;

    // Copies the settings into the document and checks the simulation folder.
    void LoadSettings();

    // Reads the driver table of the replay at path into drivers, for every
    // command that needs one. A table that cannot be used is told to the user
    // (the reader's own explanation first, when it has one) and gives false.
    static bool LoadDrivers(Drivers& drivers, const std::filesystem::path& path, Prompts& prompts);
    // Only the reading, for callers with a failure message of their own: a
    // reader's explanation (a table of too many drivers) is still told first.
    static bool ReadDriverTable(Drivers& drivers, const std::filesystem::path& path, Prompts& prompts);
    // The same through a source already opened on path.
    static bool ReadDriverTable(Drivers& drivers, const std::filesystem::path& path, ReplaySource& src,
                                Prompts& prompts);
    bool LoadDrivers(Drivers& drivers, const std::filesystem::path& path) {
        return LoadDrivers(drivers, path, prompts_);
    }

    // The track length of header's track from its track.ini into TrackLength():
    // 0 when read, 1 (after telling the user) when it is missing.
    int ReadTrackIni(const Header& header);
    static std::string GetSeriesName(int code, int style);
    // Metres per step of other cars' packed distances; without a track the
    // finest step, 1/1024 m.
    double TrackDistanceUnit() const;
    // Fills the channels of a used slot's lap that need the track.
    void ComputeLapChannels(int slot);

    // Slots and laps.
    int LapCount() const { return lapCount_; }
    int SlotMaximum() const { return kSlotMaximum; }
    // slot must be 0..4.
    const LapSlot& Slot(int slot) const { return slots_.at(static_cast<std::size_t>(slot)); }
    bool IsSlotUsed(int slot) const { return slot >= 0 && slot < kSlotMaximum && Slot(slot).used; }

    // Title, path and the map.
    const std::string& Title() const { return title_; }
    const std::filesystem::path& PathName() const { return pathName_; }
    const TrackPath* GetTrackPath() const { return trackPath_.get(); }
    // Changes whenever the track is let go or another one loaded, so that a
    // picture drawn from one track is never taken for one of the next.
    std::uint64_t TrackSerial() const { return trackSerial_; }
    // The analyses mark the stretch they look at on the track.
    TrackPath* GetTrackPath() { return trackPath_.get(); }
    const KtTrackFile* GetTrackFile() const { return trackFile_.get(); }
    // The track's race line, read with the track; null when the track has
    // none that could be read.
    const LpLine* RaceLine() const { return raceLine_.get(); }
    bool TrackLoaded() const { return trackLoaded_; }
    bool MapFitted() const { return mapFitted_; }
    void SetMapFitted(bool fitted) { mapFitted_ = fitted; }
    // Set whenever what the map shows changed; the view clears it once it has
    // rebuilt its buffers.
    bool NeedsFullRedraw() const { return fullRedraw_; }
    void SetFullRedraw(bool redraw) { fullRedraw_ = redraw; }
    // Metres, from track.ini; 0 when it could not be read.
    double TrackLength() const { return trackLength_; }
    bool PhysicsWarningShown() const { return physicsWarningShown_; }

    static const std::array<Rgb, kMapPaletteSize>& Palette() { return kMapPalette; }
    static const std::array<Rgb, kGraphColourCount>& GraphColours() { return kGraphColours; }

    // Copies of the settings; the settings dialog writes its values here too.
    int SpeedUnit() const { return speedUnit_; }
    void SetSpeedUnit(int v) { speedUnit_ = v; }
    int DontShowQualReport() const { return dontShowQualReport_; }
    void SetDontShowQualReport(int v) { dontShowQualReport_ = v; }
    const std::string& SimFolder() const { return simFolder_; }
    void SetSimFolder(std::string_view v) { simFolder_ = v; }
    const std::string& AltReplayPath() const { return altReplayPath_; }
    void SetAltReplayPath(std::string_view v) { altReplayPath_ = v; }
    int RetireInRaceReport() const { return retireInRaceReport_; }
    void SetRetireInRaceReport(int v) { retireInRaceReport_ = v; }
    int OffTheTrackInRaceReport() const { return offTheTrackInRaceReport_; }
    void SetOffTheTrackInRaceReport(int v) { offTheTrackInRaceReport_ = v; }
    int UseNickNameInReports() const { return useNickNameInReports_; }
    void SetUseNickNameInReports(int v) { useNickNameInReports_ = v; }
    int BMPSizeInPixel() const { return bmpSizeInPixel_; }
    void SetBMPSizeInPixel(int v) { bmpSizeInPixel_ = v; }
    int DefaultPlayer() const { return defaultPlayer_; }
    void SetDefaultPlayer(int v) { defaultPlayer_ = v; }
    int DefaultPhysics() const { return defaultPhysics_; }
    void SetDefaultPhysics(int v) { defaultPhysics_ = v; }

    AppSettings& Settings() { return settings_; }
    Prompts& GetPrompts() { return prompts_; }

private:
    enum class Mode { Interactive, Path, LapFinder };

    void AddLap(Mode mode, const std::filesystem::path& path);
    void ReleaseTrack();
    void LoadTrack(const Header& header);
    void LoadRaceLine();
    void ComputeLapPoints(LapSlot& slot);
    void SetTitle(std::string_view title);
    void UpdateAllViews();
    void FreeSlot(int slot);

    AppSettings& settings_;
    Prompts& prompts_;
    WaitBox& waitBox_;
    DocumentObserver* observer_ = nullptr;

    std::array<LapSlot, kSlotMaximum> slots_;
    int lapCount_ = 0;
    std::string title_{kNoLapTitle};
    std::filesystem::path pathName_;

    std::unique_ptr<KtTrackFile> trackFile_;
    std::unique_ptr<TrackPath> trackPath_;
    std::uint64_t trackSerial_ = 0;
    std::unique_ptr<LpLine> raceLine_;
    bool trackLoaded_ = false;
    bool mapFitted_ = false;
    bool fullRedraw_ = false;
    bool physicsWarningShown_ = false;
    bool modified_ = false;
    double trackLength_ = 0.0;

    int chosenDriver_ = 0;
    int chosenSession_ = 0;
    int chosenLap_ = 0;

    int speedUnit_ = 1;
    int dontShowQualReport_ = 1;
    std::string simFolder_;
    std::string altReplayPath_;
    int retireInRaceReport_ = 0;
    int offTheTrackInRaceReport_ = 1;
    int useNickNameInReports_ = 0;
    int bmpSizeInPixel_ = 768;
    int defaultPlayer_ = -1;
    int defaultPhysics_ = 0;
};

}  // namespace vra
