#pragma once
// The race bar, in the view bar's place while a race plays on the map: the
// race's status, lap and leader, the focus settings with the driver and lap
// steppers and the jump to the closest fight, the focused driver's
// read-outs, how cars are drawn, and a slider over the whole race.

#include "gui/widgets/CMyBtn.h"

#include <QWidget>

#include <array>

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace vra {

class PlaybackController;
class RaceModel;

class RaceReplay : public QWidget {
    Q_OBJECT
public:
    RaceReplay(RaceModel& race, PlaybackController& playback, QWidget* parent = nullptr);

    // A race was loaded (or failed to): the controls start afresh.
    void InitControls();
    // Shows the model's texts and its current frame on the slider.
    void ShowTexts();

    enum Text {
        Status,
        Elapsed,
        CurrentLap,
        ScheduledLaps,
        Leader,
        Name,
        Position,
        DriverLap,
        GapAhead,
        GapBehind,
        LastLap,
        kTexts
    };
    QLabel* TextLabel(Text t) const { return texts_[std::size_t(t)]; }
    QSlider* Slider() const { return slider_; }
    QComboBox* Drivers() const { return combo_; }
    QRadioButton* ManualRadio() const { return manual_; }
    QRadioButton* LeaderRadio() const { return leader_; }
    QRadioButton* DriverRadio() const { return driver_; }
    QRadioButton* DrawRadio(int mode) const { return draw_[std::size_t(mode - 1)]; }
    QPushButton* DriverPlus() const { return driverPlus_; }
    QPushButton* DriverMinus() const { return driverMinus_; }
    QPushButton* LapPlus() const { return lapPlus_; }
    QPushButton* LapMinus() const { return lapMinus_; }
    QPushButton* ClosestFight() const { return fight_; }

private:
    void Redraw();
    void FocusDriver(int driver);
    void StepToLap(bool next);

    RaceModel& race_;
    PlaybackController& playback_;
    std::array<QLabel*, kTexts> texts_{};
    QRadioButton* manual_ = nullptr;
    QRadioButton* leader_ = nullptr;
    QRadioButton* driver_ = nullptr;
    QComboBox* combo_ = nullptr;
    std::array<QRadioButton*, 3> draw_{};
    CMyBtn* driverPlus_ = nullptr;
    CMyBtn* driverMinus_ = nullptr;
    CMyBtn* lapPlus_ = nullptr;
    CMyBtn* lapMinus_ = nullptr;
    QPushButton* fight_ = nullptr;
    QSlider* slider_ = nullptr;
    bool pausedBySlider_ = false;
};

}  // namespace vra
