#include "core/document/CRpyGraphDoc.h"

#include "core/base/CFileInfoArray.h"
#include "core/base/FileUtil.h"
#include "core/decode/KtObjectFactory.h"
#include "core/decode/KtTrackFile.h"
#include "core/document/DocumentObserver.h"
#include "core/document/LapChooserInfo.h"
#include "core/document/LapLinePlotter.h"
#include "core/document/LapQualityReport.h"
#include "core/document/NoTrackText.h"
#include "core/document/SeriesName.h"
#include "core/document/TrackDistanceUnit.h"
#include "core/document/TrackIni.h"
#include "core/platform/Prompts.h"
#include "core/platform/WaitBox.h"
#include "core/ptf/LpLine.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "core/replay/ReadErrorTexts.h"
#include "core/replay/ReplaySource.h"
#include "core/settings/AppSettings.h"
#include "core/settings/SimFolderCheck.h"
#include "core/track/TrackPath.h"

#include <algorithm>
#include <cctype>
#include <exception>

namespace vra {

namespace {

constexpr std::string_view kMaxLapsText = "Max number of laps already loaded!";
constexpr std::string_view kOtherTrackText = "This file is not from the same track!";
constexpr std::string_view kExtractErrorText = "RpyDataClass: Error reading file!";
constexpr std::string_view kPhysicsText = "Please note that you have now loaded\r\nlaps using different physics.";

std::string_view HeaderErrorText(int version) {
    if (version < 3) return "HeaderClass: Orl replays not supported!";
    if (version == 3) return "HeaderClass: Kt/QUOLN replays not supported!";
    return kHeaderReadErrorText;
}

// A folder of the simulation, found ignoring case; the plain join when there
// is no such folder (the lookup that follows then fails in its own way).
std::filesystem::path SimSubfolder(const std::string& simFolder, std::string_view name) {
    const std::filesystem::path base(simFolder);
    if (auto found = ResolveCaseInsensitive(base, name)) return *found;
    return base / std::string(name);
}

}  // namespace

LapSlot::LapSlot() = default;
LapSlot::~LapSlot() = default;
LapSlot::LapSlot(LapSlot&&) noexcept = default;
LapSlot& LapSlot::operator=(LapSlot&&) noexcept = default;

CRpyGraphDoc::CRpyGraphDoc(AppSettings& settings, Prompts& prompts, WaitBox& waitBox, DocumentObserver* observer)
    : settings_(settings), prompts_(prompts), waitBox_(waitBox), observer_(observer) {
    LoadSettings();
}

CRpyGraphDoc::~CRpyGraphDoc() {
    for (int i = 0; i < kSlotMaximum; ++i) FreeSlot(i);
    ReleaseTrack();
    KtObjectFactory::Instance().Clear();
    settings_.SetDefaultPlayerIndex(defaultPlayer_);
    settings_.SetDefaultPhysics(defaultPhysics_);
    if (!settings_.Save()) {
        // The store kept the settings saved before; the user learns that this
        // session's changes are lost instead of finding out at the next start.
        try {
            prompts_.alert(SettingsNotSavedText(settings_.LastSaveError()));
        } catch (...) {
            // A destructor cannot let anything out.
        }
    }
    trackLoaded_ = false;
}

void CRpyGraphDoc::LoadSettings() {
    altReplayPath_ = settings_.AltReplayPath();
    retireInRaceReport_ = settings_.RetireInRaceReport();
    offTheTrackInRaceReport_ = settings_.OffTheTrackInRaceReport();
    speedUnit_ = settings_.Mph();
    dontShowQualReport_ = settings_.DontShowQualReport();
    simFolder_ = settings_.SimFolder();
    bmpSizeInPixel_ = settings_.BMPSizeInPixel();
    useNickNameInReports_ = settings_.UseNickNameInReports();
    defaultPlayer_ = settings_.DefaultPlayerIndex();
    defaultPhysics_ = settings_.DefaultPhysics();
    // The dialog writes what the user chooses into this document itself.
    CheckSimExecutable(simFolder_, prompts_, SettingsDialogRequest{&settings_, this});
}

bool CRpyGraphDoc::OnNewDocument() {
    SetTitle(kNoLapTitle);
    if (observer_) observer_->LapsClearing();
    for (int i = 0; i < kSlotMaximum; ++i) FreeSlot(i);
    lapCount_ = 0;
    physicsWarningShown_ = false;
    if (observer_) observer_->LapControlsChanged();
    ReleaseTrack();
    KtObjectFactory::Instance().Clear();
    trackLoaded_ = false;
    mapFitted_ = false;
    UpdateAllViews();
    return true;
}

bool CRpyGraphDoc::OnOpenDocument(const std::filesystem::path& path) {
    AddLap(Mode::Path, path);
    return true;
}

void CRpyGraphDoc::OnAddReplayLap() {
    AddLap(Mode::Interactive, {});
}

void CRpyGraphDoc::AddLapFromLapFinder(const std::filesystem::path& path, int driver, int session, int lap) {
    chosenDriver_ = driver;
    chosenSession_ = session;
    chosenLap_ = lap;
    AddLap(Mode::LapFinder, path);
}

void CRpyGraphDoc::OnOpenMostRecentReplay() {
    CFileInfoArray files;
    files.AddDir(SimSubfolder(simFolder_, "replay"), "*.rpy", false, CFileInfoArray::Append, false);
    const CFileInfo* newest = nullptr;
    for (const CFileInfo& f : files.items())
        if (!newest || f.GetLastWriteTime() > newest->GetLastWriteTime()) newest = &f;
    if (newest) OnOpenDocument(newest->GetFilePath());
}

namespace {

// Moves what belongs to the lap itself (its replay, samples and map points);
// the plotter stays with its slot, since it draws in the slot's colour.
void MoveLap(LapSlot& to, LapSlot& from) {
    to.header = std::move(from.header);
    to.drivers = std::move(from.drivers);
    to.info = std::move(from.info);
    to.points = std::move(from.points);
    from.points.Clear();
    to.lockedWheels = std::move(from.lockedWheels);
    to.driver = from.driver;
    to.session = from.session;
    to.lap = from.lap;
}

}  // namespace

void CRpyGraphDoc::ArrangeLaps(const std::vector<int>& order) {
    std::vector<int> keep;
    for (int k : order)
        if (IsSlotUsed(k) && std::find(keep.begin(), keep.end(), k) == keep.end()) keep.push_back(k);
    if (keep.empty()) {
        OnNewDocument();
        return;
    }
    if (observer_ && static_cast<int>(keep.size()) != lapCount_) observer_->LapsClearing();

    // Take the laps out, leaving the plotters where they are.
    std::array<LapSlot, kSlotMaximum> laps;
    for (int k = 0; k < kSlotMaximum; ++k) {
        LapSlot& from = slots_[static_cast<std::size_t>(k)];
        LapSlot& to = laps[static_cast<std::size_t>(k)];
        to.used = from.used;
        MoveLap(to, from);
        from.used = false;
    }
    const int n = static_cast<int>(keep.size());
    for (int r = 0; r < n; ++r) {
        LapSlot& from = laps[static_cast<std::size_t>(keep[static_cast<std::size_t>(r)])];
        LapSlot& to = slots_[static_cast<std::size_t>(r)];
        to.used = true;
        MoveLap(to, from);
        if (!to.plotter) to.plotter = std::make_unique<LapLinePlotter>(trackPath_.get(), r);
    }
    for (int k = n; k < kSlotMaximum; ++k) FreeSlot(k);
    lapCount_ = n;
    if (observer_) observer_->LapControlsChanged();
    // Lines and colours moved: the map is drawn afresh.
    UpdateAllViews();
}

void CRpyGraphDoc::FreeSlot(int slot) {
    LapSlot& s = slots_[static_cast<std::size_t>(slot)];
    s.plotter.reset();
    s.points.Clear();
    s.info.reset();
    s.drivers.reset();
    s.header.reset();
    for (auto& w : s.lockedWheels) w.clear();
    s.used = false;
}

void CRpyGraphDoc::ReleaseTrack() {
    // The path holds a counted copy of the decoded track; both let go here.
    raceLine_.reset();
    trackPath_.reset();
    ++trackSerial_;
    trackFile_.reset();
}

void CRpyGraphDoc::SetTitle(std::string_view title) {
    title_ = title;
    if (observer_) observer_->TitleChanged(title_);
}

void CRpyGraphDoc::UpdateAllViews() {
    fullRedraw_ = true;
    if (observer_) observer_->ViewsChanged();
}

int CRpyGraphDoc::ReadTrackIni(const Header& header) {
    const auto length = ReadTrackIniLength(simFolder_, header.trackName);
    if (!length) {
        prompts_.alert(kTrackIniMissingText);
        trackLength_ = 0.0;
        return 1;
    }
    trackLength_ = *length;
    return 0;
}

bool CRpyGraphDoc::ReadDriverTable(Drivers& drivers, const std::filesystem::path& path, Prompts& prompts) {
    ReplaySource src(path, ReplaySource::Access::Sequential);
    return ReadDriverTable(drivers, path, src, prompts);
}

bool CRpyGraphDoc::ReadDriverTable(Drivers& drivers, const std::filesystem::path& path, ReplaySource& src,
                                   Prompts& prompts) {
    if (drivers.Load(path, src) == Drivers::LoadResult::Ok) return true;
    if (!drivers.Message().empty()) prompts.alert(drivers.Message());
    return false;
}

bool CRpyGraphDoc::LoadDrivers(Drivers& drivers, const std::filesystem::path& path, Prompts& prompts) {
    if (!ReadDriverTable(drivers, path, prompts)) {
        prompts.alert(kDriversReadErrorText);
        return false;
    }
    if (drivers.driverCount != drivers.loadedCount) {
        prompts.alert(kDriverCountsErrorText);
        return false;
    }
    return true;
}

std::string CRpyGraphDoc::GetSeriesName(int code, int style) {
    return SeriesName(code, style);
}

double CRpyGraphDoc::TrackDistanceUnit() const {
    if (!trackPath_) return kDefaultTrackDistanceUnit;
    return TrackDistanceUnitFor(trackPath_->Length());
}

void CRpyGraphDoc::LoadTrack(const Header& header) {
    ReleaseTrack();
    KtObjectFactory::Instance().Clear();
    trackLoaded_ = false;
    const std::filesystem::path tracks = KtTrackFile::TracksFolder(simFolder_);
    try {
        auto file = std::make_unique<KtTrackFile>(tracks, header.trackName);
        file->Parse();
        trackLoaded_ = true;
        auto path = std::make_unique<TrackPath>(file->GetTrack(), file->TrackFolder());
        path->ComputeQuarterMarks();
        trackFile_ = std::move(file);
        trackPath_ = std::move(path);
        LoadRaceLine();
    } catch (const std::exception& e) {
        // Decoder errors and a track that makes no map alike: the lap is
        // still worth its reports.
        ReleaseTrack();
        trackLoaded_ = false;
        prompts_.messageText(NoTrackText(e.what(), header.trackName, tracks, header.path), {}, Icon::Warning,
                             Buttons::Ok);
        KtObjectFactory::Instance().Clear();
    }
    for (LapSlot& slot : slots_) ComputeLapPoints(slot);
    UpdateAllViews();
    ReadTrackIni(header);
}

void CRpyGraphDoc::LoadRaceLine() {
    // Read once with the track, so that drawing never goes to the disk. A
    // race line that cannot be read leaves the map without one and the lap
    // loads as well.
    raceLine_.reset();
    if (!trackPath_) return;
    auto line = std::make_unique<LpLine>(*trackPath_);
    try {
        line->Load();
    } catch (const std::exception&) {
        return;
    }
    raceLine_ = std::move(line);
}

void CRpyGraphDoc::ComputeLapPoints(LapSlot& slot) {
    slot.points.Clear();
    if (slot.used && slot.info && trackPath_) slot.points.Compute(*slot.info, *trackPath_);
}

void CRpyGraphDoc::AddLap(Mode mode, const std::filesystem::path& givenPath) {
    if (lapCount_ >= kSlotMaximum) {
        prompts_.alert(kMaxLapsText);
        return;
    }

    std::optional<std::string> currentTrack;
    for (const LapSlot& s : slots_)
        if (s.used && s.header) {
            currentTrack = s.header->trackName;
            break;
        }

    std::filesystem::path path = givenPath;
    if (mode == Mode::Interactive) {
        OpenFileRequest request;
        request.title = "Select Replay File";
        request.initialFolder = SimSubfolder(simFolder_, "replay");
        request.filters = {{"Replay files (*.rpy)", "*.rpy"}, {"All Files(*.*)", "*.*"}};
        auto chosen = prompts_.openFile(request);
        if (!chosen) return;
        path = *chosen;
    }

    int slotIndex = 0;
    while (slotIndex < kSlotMaximum && slots_[static_cast<std::size_t>(slotIndex)].used) ++slotIndex;
    if (slotIndex == kSlotMaximum) return;  // cannot happen while the count is right
    LapSlot& slot = slots_[static_cast<std::size_t>(slotIndex)];

    auto header = std::make_unique<Header>();
    if (header->Read(path) != 0 || header->version < 3) {
        prompts_.alert(HeaderErrorText(header->version));
        prompts_.messageText(ShownText().FileName(path), {}, Icon::Warning, Buttons::Ok);
        return;
    }
    if (currentTrack && header->trackName != *currentTrack) {
        prompts_.alert(kOtherTrackText);
        return;
    }

    // From here on the slot counts as used; every way out but success gives
    // it back, an exception from a prompt included.
    slot.used = true;
    ++lapCount_;
    struct SlotClaim {
        LapSlot& slot;
        int& count;
        bool held = true;
        void release() {
            if (held) {
                slot.used = false;
                --count;
                held = false;
            }
        }
        ~SlotClaim() { release(); }
    } claim{slot, lapCount_};
    auto giveBack = [&] { claim.release(); };

    auto drivers = std::make_unique<Drivers>();
    if (!LoadDrivers(*drivers, path)) {
        giveBack();
        return;
    }

    if (mode != Mode::LapFinder) {
        LapChoiceRequest request;
        request.replayPath = path;
        request.header = header.get();
        request.drivers = drivers.get();
        request.info = LapChooserInfo(*header, *drivers);
        // The chooser's average speeds need this track's length.
        ReadTrackIni(*header);
        request.trackLengthMetres = trackLength_;
        request.speedUnit = speedUnit_;
        auto choice = prompts_.chooseLap(request);
        if (!choice) {
            giveBack();
            return;
        }
        chosenDriver_ = choice->driver;
        chosenSession_ = choice->session;
        chosenLap_ = choice->lap;
    }

    pathName_ = header->path.empty() ? path : header->path;
    if (observer_) observer_->PathNameChanged(pathName_, true);
    std::string title = header->trackName;
    if (!title.empty()) title[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(title[0])));
    SetTitle(title);

    auto info = std::make_unique<GetRpyInfo>();
    {
        WaitBoxScope wait(waitBox_, kPleaseWaitText);
        if (lapCount_ == 1) LoadTrack(*header);
        const float trackLength = trackPath_ ? static_cast<float>(trackPath_->Length()) : 0.0f;
        const bool known = chosenDriver_ >= 0 && static_cast<std::size_t>(chosenDriver_) < drivers->drivers.size();
        if (!known || info->ExtractLap(*drivers, chosenDriver_, chosenLap_, chosenSession_, trackLength) !=
                          GetRpyInfo::Result::Ok) {
            prompts_.alert(kExtractErrorText);
            giveBack();
            // The track, the title and the recent entry stay; an empty
            // document still says so.
            if (lapCount_ == 0) SetTitle(kNoLapTitle);
            return;
        }
    }

    const std::uint32_t storedMs = drivers->LapWordAt(chosenSession_, chosenDriver_, chosenLap_) & 0x0FFFFFFFu;
    if (dontShowQualReport_ == 0) {
        const LapQuality quality{info->sampleCount, info->missingCount, info->longestGap, info->foundCount, storedMs};
        prompts_.message(LapQualityReportText(quality), {}, Icon::Information, Buttons::Ok);
    }

    // A lap whose start or finish line is not among its samples has no
    // channels: keeping it would leave every view reading empty arrays.
    if (info->AllocateChannels(1) != GetRpyInfo::Result::Ok) {
        prompts_.alert(kExtractErrorText);
        giveBack();
        if (lapCount_ == 0) SetTitle(kNoLapTitle);
        return;
    }

    slot.header = std::move(header);
    slot.drivers = std::move(drivers);
    slot.info = std::move(info);
    slot.plotter = std::make_unique<LapLinePlotter>(trackPath_.get(), slotIndex);
    slot.driver = chosenDriver_;
    slot.session = chosenSession_;
    slot.lap = chosenLap_;
    claim.held = false;

    if (lapCount_ > 1 && !physicsWarningShown_) {
        // The lap loaded before this one: the nearest used slot below, or
        // above when this lap went into a gap at the front.
        int other = -1;
        for (int i = slotIndex - 1; i >= 0 && other < 0; --i)
            if (slots_[static_cast<std::size_t>(i)].used) other = i;
        for (int i = slotIndex + 1; i < kSlotMaximum && other < 0; ++i)
            if (slots_[static_cast<std::size_t>(i)].used) other = i;
        if (other >= 0) {
            const LapSlot& o = slots_[static_cast<std::size_t>(other)];
            const auto& mine = slot.drivers->drivers[static_cast<std::size_t>(slot.driver)];
            const auto& theirs = o.drivers->drivers.at(static_cast<std::size_t>(o.driver));
            if (mine.physics != theirs.physics) {
                physicsWarningShown_ = true;
                prompts_.alert(kPhysicsText);
            }
        }
    }

    if (trackPath_ && slot.info->channelsReady) {
        LapTimeCheckInput check;
        const std::size_t n = static_cast<std::size_t>(std::max(slot.info->sampleCount, 0));
        check.rawDistance =
            std::span<const std::uint32_t>(slot.info->distance).first(std::min(slot.info->distance.size(), n + 1));
        check.stepAtStart = slot.info->distanceStepStart;
        check.stepAtEnd = slot.info->distanceStepEnd;
        check.samples = slot.info->sampleCount;
        check.trackLengthMetres = trackPath_->Length();
        check.storedLapMs = storedMs;
        // The saving player's index is compared with the car id, not the
        // driver index: users know which laps get this message.
        check.comparable =
            slot.drivers->drivers[static_cast<std::size_t>(slot.driver)].carId == slot.drivers->savingPlayer;
        if (auto text = LapTimeCheckMessage(check)) prompts_.message(*text, {}, Icon::Information, Buttons::Ok);
    }

    // The points first: the channels follow the line through them.
    ComputeLapPoints(slot);
    if (trackPath_) ComputeLapChannels(slotIndex);
    if (observer_) observer_->LapControlsChanged();
}

void CRpyGraphDoc::ComputeLapChannels(int slotIndex) {
    if (!IsSlotUsed(slotIndex) || !trackPath_) return;
    LapSlot& slot = slots_[static_cast<std::size_t>(slotIndex)];
    if (!slot.info || !slot.plotter || !slot.drivers) return;
    const bool savingPlayersLap = slot.driver == slot.drivers->savingPlayer;
    vra::ComputeLapChannels(*slot.info, *trackPath_, *slot.plotter, savingPlayersLap, slot.lockedWheels, &slot.points);
}

}  // namespace vra
