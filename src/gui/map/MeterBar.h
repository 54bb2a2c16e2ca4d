#pragma once
// The meters bar at the foot of the window while laps play: six needle
// meters (speed, revs, longitudinal and lateral G, throttle, brake) showing
// one sample of the lap chosen by the row of lap radios.

#include <QWidget>

#include <array>
#include <cstdint>

class QRadioButton;

namespace vra {

class C3DMeterCtrl;
class CRpyGraphDoc;
class ViewDialog;

class MeterBar : public QWidget {
    Q_OBJECT
public:
    enum Meter { Speed, Revs, LongG, LatG, Throttle, Brake, kMeters };

    explicit MeterBar(QWidget* parent = nullptr);

    // Not owned; either may be null.
    void SetDocument(const CRpyGraphDoc* doc) { doc_ = doc; }
    void SetViewBar(const ViewDialog* viewBar) { viewBar_ = viewBar; }

    // Playback starts: the radios of the ticked laps are offered, the first
    // of them chosen; the meters get their ranges and units.
    void SetupMeters();
    // Shows sample i of the chosen lap; a lap that has ended shows its last
    // sample.
    void UpdateMeters(std::uint32_t i);

    // The chosen lap box, 1..5; 0 before the set-up found one.
    int ChosenLap() const { return chosen_; }
    QRadioButton* LapRadio(int n) const { return radios_[std::size_t(n - 1)]; }
    C3DMeterCtrl* MeterAt(Meter m) const { return meters_[std::size_t(m)]; }

private:
    const CRpyGraphDoc* doc_ = nullptr;
    const ViewDialog* viewBar_ = nullptr;
    std::array<QRadioButton*, 5> radios_{};
    std::array<C3DMeterCtrl*, kMeters> meters_{};
    int chosen_ = 0;
};

}  // namespace vra
