#include "core/playback/PlaybackController.h"

#include "core/document/LapLinePlotter.h"
#include "core/playback/RaceModel.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"

#include <fmt/format.h>

#include <cmath>
#include <cstdlib>

namespace vra {

namespace {

constexpr int kSamplesPerSecond = 36;
constexpr std::uint32_t kLinesStep = 2, kLinesFastStep = 4;
constexpr std::int64_t kRaceStep = 2, kRaceFastStep = 4;

template <typename T>
bool Has(const std::vector<T>& v, std::uint32_t i) {
    return i < v.size();
}

}  // namespace

int HeadingToSector(std::int16_t heading) {
    struct Centre {
        int sector;
        int centre;
    };
    // Sectors 0..12 clockwise from 1024, then the half turn again (sector 12
    // also holds +2048) and the last three sectors.
    static constexpr Centre kCentres[] = {{0, 1024},   {1, 768},   {2, 512},   {3, 256},   {4, 0},      {5, -256},
                                          {6, -512},   {7, -768},  {8, -1024}, {9, -1280}, {10, -1536}, {11, -1792},
                                          {12, -2048}, {12, 2048}, {13, 1792}, {14, 1536}, {15, 1280}};
    for (const Centre& c : kCentres)
        if (std::abs(heading - c.centre) <= 128) return c.sector;
    return -1;
}

std::string LinesClockText(std::uint32_t position) {
    const std::uint32_t s = position / kSamplesPerSecond;
    return fmt::format("{}:{:02}", s / 60, s % 60);
}

std::string SpeedText(double kmh, bool miles) {
    double v = std::trunc(kmh);
    if (miles) v = std::trunc(v * 0.621);
    return fmt::format("{}", static_cast<long long>(v));
}

std::string GearText(int gear) {
    if (gear == -1) return "R";
    if (gear == 0) return "N";
    if (gear >= 1 && gear <= 6) return fmt::format("{}", gear);
    return {};
}

std::string RevsText(double revolutions) {
    return fmt::format("{}", static_cast<long long>(std::trunc(std::trunc(revolutions) * 0.01 + 0.5)));
}

class PlaybackController::StateWatch {
public:
    explicit StateWatch(PlaybackController& c) : c_(c), before_(Flags(c)) { ++c_.watching_; }
    ~StateWatch() {
        if (--c_.watching_ == 0 && Flags(c_) != before_) c_.ports_.StateChanged();
    }
    StateWatch(const StateWatch&) = delete;
    StateWatch& operator=(const StateWatch&) = delete;

private:
    static std::array<bool, 6> Flags(const PlaybackController& c) {
        return {c.playing_, c.paused_, c.fastForward_, c.fastReverse_, c.raceMode_, c.resume_};
    }
    PlaybackController& c_;
    const std::array<bool, 6> before_;
};

bool PlaybackController::raceUsable() const {
    return race_.Loaded();
}

void PlaybackController::newLines() {
    restartLines_ = true;
    for (LapPoint& p : points_) p.valid = false;
}

void PlaybackController::Play() {
    const StateWatch watch(*this);
    Resume();  // a command finds the playback as the zoom click left it
    if (!raceMode_) {
        if (!ports_.HasTrack()) {
            ports_.Message(kNoTrackForLinesText, true);
            return;
        }
        if (playing_) {
            fastForward_ = false;
            paused_ = false;
            return;
        }
        bool any = false;
        for (int n = 0; n < kPlaybackLaps; ++n) any = any || (ports_.Lap(n) && ports_.LapTicked(n));
        if (!any) {
            ports_.Message(kChooseLapsText, false);
            return;
        }
        ports_.SetupMeters();
        if (ports_.MetersSwitch()) ports_.ShowMeters(true);
        ports_.ZoomToolOff();
        ports_.StartTimer();
        ports_.SetLapControlsEnabled(false);
        if (!paused_ && !fastForward_) {
            ScrollToCurrentPosition();
            ports_.RequestFullRedraw();
        }
        playing_ = true;
        fastForward_ = false;
        paused_ = false;
        ports_.SetPlayingIndicator(true);
        return;
    }
    if (!raceUsable()) return;
    if (!playing_) {
        ports_.ZoomToolOff();
        ports_.StartTimer();
        if (!paused_ && !fastForward_ && !fastReverse_) {
            ScrollToCurrentPosition();
            ports_.RequestFullRedraw();
        }
        playing_ = true;
    }
    fastForward_ = fastReverse_ = paused_ = false;
}

void PlaybackController::Pause() {
    const StateWatch watch(*this);
    Resume();  // a command finds the playback as the zoom click left it
    if (!playing_) return;
    ports_.StopTimer();
    playing_ = false;
    fastForward_ = false;
    if (raceMode_) fastReverse_ = false;
    paused_ = true;
}

void PlaybackController::FastForward() {
    const StateWatch watch(*this);
    Resume();  // a command finds the playback as the zoom click left it
    if (raceMode_ && !raceUsable()) return;
    if (!playing_) ports_.StartTimer();
    if (raceMode_) fastReverse_ = false;
    paused_ = false;
    fastForward_ = true;
    playing_ = true;
}

void PlaybackController::FastReverse() {
    const StateWatch watch(*this);
    Resume();  // a command finds the playback as the zoom click left it
    if (!raceMode_ || !raceUsable()) return;
    if (!playing_) ports_.StartTimer();
    fastForward_ = false;
    paused_ = false;
    fastReverse_ = true;
    playing_ = true;
}

void PlaybackController::stopLines() {
    // Paused playback has disabled the lap boxes as well: both end the same.
    if (playing_ || paused_) {
        ports_.StopTimer();
        ports_.SetLapControlsEnabled(true);
        position_ = 0;
        newLines();
        playing_ = false;
        ports_.RequestFullRedraw();
        ports_.Invalidate();
        ports_.SetPlayingIndicator(false);
    }
    playing_ = fastForward_ = paused_ = false;
}

void PlaybackController::Stop() {
    const StateWatch watch(*this);
    Resume();  // a command finds the playback as the zoom click left it
    if (!raceMode_) {
        stopLines();
        if (ports_.MetersSwitch()) ports_.ShowMeters(false);
        return;
    }
    if (playing_) {
        ports_.StopTimer();
        playing_ = false;
        ports_.RequestFullRedraw();
        ports_.Invalidate();
    }
    playing_ = fastForward_ = fastReverse_ = paused_ = false;
}

void PlaybackController::MoveToBeginningOfLap() {
    const StateWatch watch(*this);
    Resume();  // a command finds the playback as the zoom click left it
    if (!playing_) return;
    position_ = 0;
    newLines();
    if (raceMode_) fastForward_ = paused_ = fastReverse_ = false;
    ports_.RequestFullRedraw();
    ports_.Invalidate();
}

void PlaybackController::MoveToEndOfLap() {
    const StateWatch watch(*this);
    Resume();  // a command finds the playback as the zoom click left it
    if (raceMode_ || !playing_) return;
    ports_.StopTimer();
    playing_ = false;
    race_.ClearStatus();
    ports_.RaceChanged();
}

void PlaybackController::ToggleRaceReplay() {
    const StateWatch watch(*this);
    Resume();  // a command finds the playback as the zoom click left it
    if (raceMode_) {
        LeaveRaceReplay();
        return;
    }
    // The lap is picked first, then its race information and the track are
    // checked; the refusals come before anything changes, so that they leave
    // the playback as it was.
    const int slot = ports_.ChooseRaceLap();
    const GetRpyInfo* lap = slot >= 0 && slot < kPlaybackLaps ? ports_.Lap(slot) : nullptr;
    if (lap == nullptr) return;
    if (lap->drivers == nullptr || !lap->drivers->raceStartSeen) {
        ports_.Message(kNoRaceInfoText, false);
        return;
    }
    if (!ports_.HasTrack()) {
        ports_.Message(kNoTrackForRaceText, true);
        return;
    }
    stopLines();
    ports_.ShowRaceBar(true);
    raceMode_ = true;
    position_ = 0;
    ports_.LoadRace(slot);
    ports_.RaceChanged();
    ports_.RequestFullRedraw();
    ports_.Invalidate();
    ports_.PanOff();
    ports_.ZoomFull();
}

void PlaybackController::LeaveRaceReplay() {
    const StateWatch watch(*this);
    Resume();  // a command finds the playback as the zoom click left it
    if (!raceMode_) return;
    if (playing_) ports_.StopTimer();
    playing_ = fastForward_ = fastReverse_ = paused_ = false;
    race_.Unload();
    ports_.RaceChanged();
    ports_.ShowRaceBar(false);
    raceMode_ = false;
    position_ = 0;
    newLines();
    ports_.RequestFullRedraw();
    ports_.Invalidate();
    ports_.PanOff();
    ports_.ZoomFull();
}

void PlaybackController::Suspend() {
    const StateWatch watch(*this);
    if (!playing_) return;
    resume_ = true;
    ports_.StopTimer();
    playing_ = false;
    ports_.RequestFullRedraw();
}

void PlaybackController::Resume() {
    const StateWatch watch(*this);
    if (!resume_) return;
    resume_ = false;
    playing_ = true;
    ports_.StartTimer();
}

void PlaybackController::Tick() {
    const StateWatch watch(*this);
    if (raceMode_)
        raceTick();
    else
        linesTick();
}

void PlaybackController::StepTo(std::uint32_t frame) {
    const StateWatch watch(*this);
    if (!raceMode_ || !raceUsable()) return;
    position_ = frame;
    raceTick();
}

void PlaybackController::raceTick() {
    if (!raceUsable()) return;
    std::int64_t pos = position_;
    if (fastForward_)
        pos += kRaceFastStep;
    else if (fastReverse_)
        pos -= kRaceFastStep;
    else if (playing_)
        pos += kRaceStep;
    // Reverse stops at the race's first frame after drawing it.
    const bool atStart = fastReverse_ && pos <= 0;
    if (pos < 0) pos = 0;
    const std::int64_t count = race_.FrameCount();
    if (pos > count) pos = count;
    position_ = static_cast<std::uint32_t>(pos);
    const RaceModel::DrawResult r = race_.DrawFrame(position_, ports_.Display());
    if (r == RaceModel::DrawResult::PastEnd) {
        Stop();
    } else if (r == RaceModel::DrawResult::Drawn) {
        followRace();
        ports_.Invalidate();
    }
    ports_.RaceChanged();
    if (atStart) Stop();
}

void PlaybackController::followRace() {
    if (race_.GetFocus() == RaceModel::Focus::Manual) return;
    const DevicePoint p = race_.FollowedPoint();
    if (p != DevicePoint{}) ports_.CenterOn(p);
}

void PlaybackController::linesTick() {
    position_ += fastForward_ ? kLinesFastStep : kLinesStep;
    ports_.SetElapsed(LinesClockText(position_));
    const std::int64_t t = (static_cast<std::int64_t>(position_) * 1000 - 1000) / kSamplesPerSecond;
    if (ports_.MetersSwitch()) ports_.UpdateMeters(position_);
    const bool restart = restartLines_;
    restartLines_ = false;
    const bool miles = ports_.SpeedInMiles();
    CoreDisplay& display = ports_.Display();
    bool any = false;
    for (int n = 0; n < kPlaybackLaps; ++n) {
        LapPoint& point = points_[static_cast<std::size_t>(n)];
        const GetRpyInfo* lap = ports_.Lap(n);
        LapLinePlotter* plotter = ports_.Plotter(n);
        const std::uint32_t p = position_;
        const bool active = lap && plotter && ports_.LapTicked(n) && lap->sampleCount > 1 &&
                            static_cast<std::int64_t>(p) < lap->sampleCount - 1;
        if (!active) {
            // A lap that has ended keeps its read-outs but leads no more.
            point.valid = false;
            continue;
        }
        any = true;
        ports_.SetReadouts(n, Has(lap->speed, p) ? SpeedText(lap->speed[p], miles) : std::string(),
                           Has(lap->revolutions, p) ? RevsText(lap->revolutions[p]) : std::string(),
                           Has(lap->gear, p) ? GearText(lap->gear[p]) : std::string());
        for (int k = 0; k < 3; ++k) ports_.SetSplitShown(n, k, lap->splitMs[static_cast<std::size_t>(k)] < t);
        if (restart) plotter->Restart();
        if (Has(lap->heading, p)) ports_.SetSector(n, HeadingToSector(lap->heading[p]));
        if (Has(lap->distanceM, p) && Has(lap->lateralM, p) && (lap->distanceM[p] != 0.0 || lap->lateralM[p] != 0.0)) {
            // The first point after a restart only starts the line.
            const bool started = plotter->HasPoint();
            const DevicePoint d = plotter->PlotPoint(display, lap->distanceM[p], lap->lateralM[p]);
            if (started) point = {d, true};
        }
    }
    if (!any) {
        ports_.StopTimer();
        ports_.SetLapControlsEnabled(true);
        position_ = 0;
        newLines();
        playing_ = fastForward_ = paused_ = false;
        ports_.SetPlayingIndicator(false);
        if (ports_.MetersSwitch()) ports_.ShowMeters(false);
        return;
    }
    followLines();
    ports_.Invalidate();
}

void PlaybackController::followLines() {
    switch (ports_.Follow()) {
        case LinesFollow::Manual:
            return;
        case LinesFollow::Leader: {
            int best = -1;
            double bestDistance = 0.0;
            for (int n = 0; n < kPlaybackLaps; ++n) {
                if (!points_[static_cast<std::size_t>(n)].valid) continue;
                const GetRpyInfo* lap = ports_.Lap(n);
                const double d = Has(lap->distanceM, position_) ? lap->distanceM[position_] : 0.0;
                if (best < 0 || d > bestDistance) {
                    best = n;
                    bestDistance = d;
                }
            }
            if (best >= 0) ports_.CenterOn(points_[static_cast<std::size_t>(best)].point);
            return;
        }
        case LinesFollow::Driver: {
            const int n = ports_.FollowedLap();
            if (n >= 0 && n < kPlaybackLaps && points_[static_cast<std::size_t>(n)].valid)
                ports_.CenterOn(points_[static_cast<std::size_t>(n)].point);
            return;
        }
    }
}

void PlaybackController::ViewResized() {
    // Playing, the next step follows within a tick; paused, nothing would
    // until Play.
    if (!paused_) return;
    if (raceMode_)
        followRace();
    else
        followLines();
}

void PlaybackController::ScrollToCurrentPosition() {
    LapLinePlotter* plotter = nullptr;
    for (int n = 0; n < kPlaybackLaps && plotter == nullptr; ++n)
        if (ports_.Lap(n)) plotter = ports_.Plotter(n);
    if (plotter == nullptr) return;
    CoreDisplay& display = ports_.Display();
    plotter->Restart();
    plotter->PlotPoint(display, 0.0, 0.0, true);
    const DevicePoint start = plotter->PlotPoint(display, 0.0, 0.0, true);
    plotter->Restart();
    restartLines_ = true;
    const ZoomSize canvas = ports_.Canvas();
    const int half = raceMode_ ? 30 : 20;
    const int whole = raceMode_ ? 15 : 10;
    ZoomRect r{start.x - canvas.cx / half, start.y - canvas.cy / half, start.x + canvas.cx / half,
               start.y + canvas.cy / half};
    if (r.left < 0) {
        r.left = 0;
        r.right = canvas.cx / whole;
    }
    if (r.right > canvas.cx) {
        r.left = canvas.cx - canvas.cx / whole;
        r.right = canvas.cx;
    }
    if (r.top < 0) {
        r.top = 0;
        r.bottom = canvas.cy / whole;
    }
    if (r.bottom > canvas.cy) {
        r.top = canvas.cy - canvas.cy / whole;
        r.bottom = canvas.cy;
    }
    ports_.ZoomIn(r);
}

}  // namespace vra
