#pragma once
// The map view's playback: the ticked laps drawn sample by sample so that
// they race each other (lines mode), or a whole race played frame by frame
// (race mode). One 55 ms timer drives both. The controller owns the flags and
// the position; everything it shows goes through PlaybackPorts, so it runs
// the same against the window and against a test's recording fake.

#include "core/mapping/MapTransform.h"
#include "core/view/ZoomGeometry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vra {

class CoreDisplay;
class Drivers;
class GetRpyInfo;
class Header;
class LapLinePlotter;
class RaceModel;
class TrackPath;

inline constexpr int kPlaybackLaps = 5;
inline constexpr int kPlaybackTickMs = 55;
inline constexpr std::string_view kNoTrackForLinesText =
    "Realtime plotting of driving lines not available without trackmap!";
inline constexpr std::string_view kChooseLapsText = "Choose lap(s) to play!";
inline constexpr std::string_view kNoRaceInfoText = "This replay file does not contain race info!";
inline constexpr std::string_view kNoTrackForRaceText = "Realtime race replay not available without trackmap!";

// How the lines mode keeps a lap in sight (the view bar's follow radios).
enum class LinesFollow { Leader, Manual, Driver };

class PlaybackPorts {
public:
    virtual ~PlaybackPorts() = default;

    // The playback timer.
    virtual void StartTimer() = 0;
    virtual void StopTimer() = 0;

    // The view.
    virtual void RequestFullRedraw() = 0;
    virtual void Invalidate() = 0;
    virtual void ZoomToolOff() = 0;
    virtual void PanOff() = 0;
    virtual void ZoomFull() = 0;
    virtual void ZoomIn(const ZoomRect& rect) = 0;
    virtual void CenterOn(DevicePoint p) = 0;
    virtual ZoomSize Canvas() = 0;
    // Where lines and cars are drawn.
    virtual CoreDisplay& Display() = 0;
    virtual void Message(std::string_view text, bool information) = 0;

    // The loaded laps (slot 0..4): null when the slot is free.
    virtual const GetRpyInfo* Lap(int slot) = 0;
    virtual LapLinePlotter* Plotter(int slot) = 0;
    virtual bool HasTrack() = 0;
    virtual bool SpeedInMiles() = 0;

    // The view bar (lines mode).
    virtual bool LapTicked(int slot) = 0;
    virtual LinesFollow Follow() = 0;
    virtual int FollowedLap() = 0;  // the lap combo's selection, -1 none
    virtual void SetLapControlsEnabled(bool on) = 0;
    virtual void SetPlayingIndicator(bool on) = 0;
    virtual void SetElapsed(std::string_view text) = 0;
    virtual void SetReadouts(int slot, std::string_view speed, std::string_view revs, std::string_view gear) = 0;
    virtual void SetSplitShown(int slot, int split, bool shown) = 0;
    virtual void SetSector(int slot, int sector) = 0;

    // The meters bar and its switch in the settings.
    virtual bool MetersSwitch() = 0;
    virtual void SetupMeters() = 0;
    virtual void ShowMeters(bool shown) = 0;
    virtual void UpdateMeters(std::uint32_t position) = 0;

    // Race mode: the lap whose replay holds the race (-1 none), swapping
    // the view bar for the race bar, loading and drawing the race.
    virtual int ChooseRaceLap() = 0;
    virtual void ShowRaceBar(bool shown) = 0;
    virtual bool LoadRace(int slot) = 0;
    virtual void RaceChanged() = 0;  // the race bar shows the model's texts again

    // The playback's flags changed, whatever changed them (a command, a
    // step, the race's end, a zoom click): the commands' states follow.
    virtual void StateChanged() = 0;
};

class PlaybackController {
public:
    PlaybackController(PlaybackPorts& ports, RaceModel& race) : ports_(ports), race_(race) {}

    // Commands.
    void Play();
    void Pause();
    void FastForward();
    void FastReverse();
    void Stop();
    void MoveToBeginningOfLap();
    void MoveToEndOfLap();
    void ToggleRaceReplay();
    void LeaveRaceReplay();
    // The timer fired.
    void Tick();
    // The race bar asks for a frame: set it and run one step.
    void StepTo(std::uint32_t frame);

    // A zoom click holds playback while the picture is rebuilt: the timer
    // stops and the playing flag drops until Resume starts it again.
    void Suspend();
    void Resume();
    bool Suspended() const { return resume_; }

    // Zooms to the start of the first loaded lap.
    void ScrollToCurrentPosition();
    // The view changed its size and kept its scroll position, which may now
    // show a bare part of the canvas: a paused playback centres what it
    // follows again, as its next step would.
    void ViewResized();

    bool Playing() const { return playing_; }
    bool Paused() const { return paused_; }
    bool FastForwarding() const { return fastForward_; }
    bool FastReversing() const { return fastReverse_; }
    bool RaceMode() const { return raceMode_; }
    std::uint32_t Position() const { return position_; }

    // The last point each lap drew, while it is still driving.
    struct LapPoint {
        DevicePoint point;
        bool valid = false;
    };
    const std::array<LapPoint, kPlaybackLaps>& LapPoints() const { return points_; }

private:
    // Tells the ports once when the outermost call that changed the flags
    // returns.
    class StateWatch;

    void linesTick();
    void raceTick();
    void stopLines();
    void followLines();
    void followRace();
    bool raceUsable() const;
    void newLines();

    PlaybackPorts& ports_;
    RaceModel& race_;
    std::uint32_t position_ = 0;
    bool playing_ = false, paused_ = false, fastForward_ = false, fastReverse_ = false, raceMode_ = false;
    bool restartLines_ = true;
    bool resume_ = false;
    int watching_ = 0;
    std::array<LapPoint, kPlaybackLaps> points_{};
};

// The orientation icon (0..15) of a heading of 4096 units a turn; -1 when
// it falls in no sector.
int HeadingToSector(std::int16_t heading);
// "m:ss" of a lines position (36 samples a second).
std::string LinesClockText(std::uint32_t position);
// The read-outs of one sample.
std::string SpeedText(double kmh, bool miles);
std::string GearText(int gear);
std::string RevsText(double revolutions);

}  // namespace vra
