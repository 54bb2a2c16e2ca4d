#pragma once
// The map view's playback on the desktop: the 55 ms timer, the view bar's
// read-outs, the meters bar and the race bar stand behind the playback
// controller's ports. The view draws what the playback drew: the lap
// segments of this run and the cars of the last race frame, over its static
// picture.

#include "core/playback/PlaybackController.h"
#include "core/playback/RaceModel.h"

#include <QObject>
#include <QTimer>

namespace vra {

class CRpyGraphView;
class MeterBar;
class RaceReplay;
class WaitBox;

class MapPlayback : public QObject, public PlaybackPorts {
    Q_OBJECT
public:
    explicit MapPlayback(CRpyGraphView& view);
    ~MapPlayback() override;

    PlaybackController& Controller() { return controller_; }
    const PlaybackController& Controller() const { return controller_; }
    RaceModel& Race() { return race_; }
    QTimer& Timer() { return timer_; }

    // Not owned; either may be null.
    void SetMeterBar(MeterBar* meters) { meters_ = meters; }
    void SetRaceBar(RaceReplay* bar) { raceBar_ = bar; }
    // Shows the race's loading progress; may be null.
    void SetWaitBox(WaitBox* wait) { wait_ = wait; }

    // One step of the playback, as the timer runs it.
    void OnTimer();

    // PlaybackPorts
    void StartTimer() override;
    void StopTimer() override;
    void RequestFullRedraw() override;
    void Invalidate() override;
    void ZoomToolOff() override;
    void PanOff() override;
    void ZoomFull() override;
    void ZoomIn(const ZoomRect& rect) override;
    void CenterOn(DevicePoint p) override;
    ZoomSize Canvas() override;
    CoreDisplay& Display() override;
    void Message(std::string_view text, bool information) override;
    const GetRpyInfo* Lap(int slot) override;
    LapLinePlotter* Plotter(int slot) override;
    bool HasTrack() override;
    bool SpeedInMiles() override;
    bool LapTicked(int slot) override;
    LinesFollow Follow() override;
    int FollowedLap() override;
    void SetLapControlsEnabled(bool on) override;
    void SetPlayingIndicator(bool on) override;
    void SetElapsed(std::string_view text) override;
    void SetReadouts(int slot, std::string_view speed, std::string_view revs, std::string_view gear) override;
    void SetSplitShown(int slot, int split, bool shown) override;
    void SetSector(int slot, int sector) override;
    bool MetersSwitch() override;
    void SetupMeters() override;
    void ShowMeters(bool shown) override;
    void UpdateMeters(std::uint32_t position) override;
    int ChooseRaceLap() override;
    void ShowRaceBar(bool shown) override;
    bool LoadRace(int slot) override;
    void RaceChanged() override;
    void StateChanged() override;

signals:
    // The playback's flags changed: the commands' states follow.
    void stateChanged();
    void metersShown(bool shown);
    void raceBarShown(bool shown);
    // A text for the status bar.
    void messageText(const QString& text);

private:
    // The view-bar box (1..5) that shows slot, or 0.
    int BoxOfSlot(int slot) const;

    CRpyGraphView& view_;
    RaceModel race_;
    PlaybackController controller_{*this, race_};
    QTimer timer_;
    MeterBar* meters_ = nullptr;
    RaceReplay* raceBar_ = nullptr;
    WaitBox* wait_ = nullptr;
};

}  // namespace vra
