#include "gui/map/MeterBar.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/replay/GetRpyInfo.h"
#include "gui/map/C3DMeterCtrl.h"
#include "gui/map/ViewDialog.h"
#include "gui/widgets/DialogUnits.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vra {

namespace {

constexpr double kMilesPerKm = 0.621;

// Sample i of a channel, held at its last sample.
template <typename T>
double At(const std::vector<T>& channel, std::size_t i) {
    if (channel.empty()) return 0.0;
    return double(channel[std::min(i, channel.size() - 1)]);
}

}  // namespace

MeterBar::MeterBar(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 2, 2, 2);
    auto* lap = new QLabel(QStringLiteral("L\na\np"));
    row->addWidget(lap);
    auto* radios = new QVBoxLayout;
    radios->setSpacing(0);
    auto* group = new QButtonGroup(this);
    for (int n = 1; n <= 5; ++n) {
        auto* radio = new QRadioButton(QString::number(n));
        radios_[std::size_t(n - 1)] = radio;
        group->addButton(radio, n);
        radios->addWidget(radio);
    }
    connect(group, &QButtonGroup::idClicked, this, [this](int n) { chosen_ = n; });
    row->addLayout(radios);
    // Each meter keeps the size of its frame in the bar's dialog layout,
    // 56 x 49 dialog units: its face is drawn for that shape, taller meters
    // would put the range labels past their edges. The bar is as high as
    // they are (or as the radios need); spare width stays at the right.
    const DialogUnits units(*this);
    for (auto& meter : meters_) {
        meter = new C3DMeterCtrl;
        meter->setFixedSize(units.X(56), units.Y(49));
        row->addWidget(meter);
    }
    row->addStretch(1);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void MeterBar::SetupMeters() {
    const int laps = doc_ ? doc_->LapCount() : 0;
    chosen_ = 0;
    for (int n = 1; n <= 5; ++n) {
        QRadioButton* radio = radios_[std::size_t(n - 1)];
        radio->setEnabled(viewBar_ && viewBar_->IsLapTicked(n));
        radio->setVisible(n <= laps);
        // Unchecked, exclusive group or not.
        radio->setAutoExclusive(false);
        radio->setChecked(false);
        radio->setAutoExclusive(true);
        if (chosen_ == 0 && radio->isEnabled()) chosen_ = n;
    }
    if (chosen_ > 0) radios_[std::size_t(chosen_ - 1)]->setChecked(true);
    const bool miles = doc_ && doc_->SpeedUnit() != 0;
    struct Scale {
        double minimum, maximum;
        const char* units;
    };
    const Scale scales[kMeters] = {{0, miles ? 250.0 : 400.0, miles ? "mph" : "kph"},
                                   {0, 10, "rpm"},
                                   {-2, 2, "long G"},
                                   {-3, 3, "lat G"},
                                   {0, 100, "throttle"},
                                   {0, 100, "brake"}};
    for (int m = 0; m < kMeters; ++m) {
        meters_[std::size_t(m)]->SetRange(scales[m].minimum, scales[m].maximum);
        meters_[std::size_t(m)]->SetUnits(QString::fromLatin1(scales[m].units));
    }
}

void MeterBar::UpdateMeters(std::uint32_t i) {
    if (!doc_ || !viewBar_ || chosen_ == 0) return;
    const int slot = viewBar_->SlotOfBox(chosen_);
    if (!doc_->IsSlotUsed(slot) || !doc_->Slot(slot).info) return;
    const GetRpyInfo& lap = *doc_->Slot(slot).info;
    // A lap drives while i < its sample count - 1: once it has ended the
    // meters keep its last driven sample.
    std::size_t s = i;
    if (lap.sampleCount >= 2) s = std::min<std::size_t>(s, std::size_t(lap.sampleCount - 2));
    const double speed = At(lap.speed, s);
    meters_[Speed]->SetValue(doc_->SpeedUnit() != 0 ? speed * kMilesPerKm : speed);
    meters_[Revs]->SetValue(At(lap.revolutions, s) * 0.001);
    // Pedals are raw bytes, 255 fully pressed.
    meters_[Throttle]->SetValue(At(lap.throttle, s) * 100.0 / 255.0);
    meters_[Brake]->SetValue(At(lap.brake, s) * 100.0 / 255.0);
    meters_[LongG]->SetValue(At(lap.accelCarLong, s));
    meters_[LatG]->SetValue(At(lap.accelCarLat, s));
}

}  // namespace vra
