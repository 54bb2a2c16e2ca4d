#include "gui/map/RaceReplay.h"

#include "core/playback/PlaybackController.h"
#include "core/playback/RaceModel.h"
#include "gui/map/FocusChoice.h"
#include "gui/platform/Cp1252.h"
#include "gui/widgets/CMyBtn.h"
#include "gui/widgets/OneWayScroll.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace vra {

namespace {

// A long value wraps rather than widen the bar past its slider; a name
// shows as it is spelt, tags included.
QLabel* AddRow(QFormLayout* form, const char* caption) {
    auto* value = new QLabel;
    value->setWordWrap(true);
    value->setTextFormat(Qt::PlainText);
    form->addRow(QString::fromLatin1(caption), value);
    return value;
}

}  // namespace

RaceReplay::RaceReplay(RaceModel& race, PlaybackController& playback, QWidget* parent)
    : QWidget(parent), race_(race), playback_(playback) {
    setObjectName(QStringLiteral("RaceReplay"));
    // The settings scroll rather than stretch a small window; the slider
    // stays beside them, always in view.
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new OneWayScroll(Qt::Vertical);
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    scroll->setWidget(page);
    outer->addWidget(scroll, 1);

    auto* info = new QGroupBox(tr("Race Information"));
    auto* infoForm = new QFormLayout(info);
    infoForm->setRowWrapPolicy(QFormLayout::WrapLongRows);
    texts_[Status] = AddRow(infoForm, "Status:");
    texts_[Elapsed] = AddRow(infoForm, "Time elapsed:");
    texts_[CurrentLap] = AddRow(infoForm, "Current lap:");
    texts_[ScheduledLaps] = AddRow(infoForm, "Scheduled laps:");
    texts_[Leader] = AddRow(infoForm, "Current leader:");
    column->addWidget(info);

    auto* focus = new QGroupBox(tr("Focus Settings"));
    auto* focusBox = new QVBoxLayout(focus);
    std::tie(manual_, leader_, driver_, combo_) = AddFocusChoice(*focusBox);
    auto stepper = [focusBox](const QString& caption, CMyBtn*& minus, CMyBtn*& plus) {
        auto* row = new QHBoxLayout;
        minus = new CMyBtn(QStringLiteral("-"));
        plus = new CMyBtn(QStringLiteral("+"));
        for (CMyBtn* b : {minus, plus}) {
            b->setFixedSize(28, 22);
            b->SetRound(false);  // round only once a race is loaded
        }
        row->addWidget(minus);
        row->addWidget(new QLabel(caption), 1, Qt::AlignCenter);
        row->addWidget(plus);
        focusBox->addLayout(row);
    };
    stepper(tr("Driver"), driverMinus_, driverPlus_);
    stepper(tr("Lap"), lapMinus_, lapPlus_);
    fight_ = new QPushButton(tr("Go to closest fight on track"));
    focusBox->addWidget(fight_);
    column->addWidget(focus);

    auto* focused = new QGroupBox(tr("Focused Driver"));
    auto* focusedForm = new QFormLayout(focused);
    focusedForm->setRowWrapPolicy(QFormLayout::WrapLongRows);
    texts_[Name] = AddRow(focusedForm, "Name:");
    texts_[Position] = AddRow(focusedForm, "Position:");
    texts_[DriverLap] = AddRow(focusedForm, "Current lap:");
    texts_[GapAhead] = AddRow(focusedForm, "Gap ahead:");
    texts_[GapBehind] = AddRow(focusedForm, "Gap behind:");
    texts_[LastLap] = AddRow(focusedForm, "Last laptime:");
    column->addWidget(focused);

    auto* draw = new QGroupBox(tr("Car Draw Options"));
    auto* drawBox = new QVBoxLayout(draw);
    const char* captions[3] = {"According to scale", "Oversized (200%)", "As circles (fixed size)"};
    for (int m = 0; m < 3; ++m) {
        draw_[std::size_t(m)] = new QRadioButton(tr(captions[m]));
        drawBox->addWidget(draw_[std::size_t(m)]);
        connect(draw_[std::size_t(m)], &QRadioButton::clicked, this, [this, m] {
            race_.SetCarDraw(static_cast<RaceModel::CarDraw>(m + 1));
            Redraw();
        });
    }
    draw_[0]->setChecked(true);
    column->addWidget(draw);
    column->addStretch(1);

    // The first frame at the top, as the race reads downwards.
    slider_ = new QSlider(Qt::Vertical);
    slider_->setInvertedAppearance(true);
    slider_->setInvertedControls(true);
    slider_->setRange(0, 0);
    outer->addWidget(slider_);

    connect(manual_, &QRadioButton::clicked, this, [this] {
        if (!race_.Loaded()) return;
        combo_->setEnabled(false);
        race_.SetFocus(RaceModel::Focus::Manual);
    });
    connect(leader_, &QRadioButton::clicked, this, [this] {
        if (!race_.Loaded()) return;
        combo_->setEnabled(false);
        race_.SetFocus(RaceModel::Focus::Leader);
        Redraw();
    });
    connect(driver_, &QRadioButton::clicked, this, [this] {
        if (!race_.Loaded()) return;
        combo_->setEnabled(true);
        race_.SelectDriver(std::max(combo_->currentIndex(), 0));
        race_.SetFocus(RaceModel::Focus::Driver);
        Redraw();
    });
    connect(combo_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!race_.Loaded() || index < 0) return;
        race_.SelectDriver(index);
        Redraw();
    });
    connect(driverPlus_, &QPushButton::clicked, this, [this] {
        if (const auto d = race_.DriverAhead()) FocusDriver(*d);
    });
    connect(driverMinus_, &QPushButton::clicked, this, [this] {
        if (const auto d = race_.DriverBehind()) FocusDriver(*d);
    });
    connect(fight_, &QPushButton::clicked, this, [this] {
        if (const auto d = race_.ClosestFight()) FocusDriver(*d);
    });
    connect(lapPlus_, &QPushButton::clicked, this, [this] { StepToLap(true); });
    connect(lapMinus_, &QPushButton::clicked, this, [this] { StepToLap(false); });
    // Dragging the thumb holds the playback; letting go resumes it.
    connect(slider_, &QSlider::sliderPressed, this, [this] {
        if (!race_.Loaded() || !playback_.Playing()) return;
        playback_.Pause();
        pausedBySlider_ = true;
    });
    connect(slider_, &QSlider::sliderReleased, this, [this] {
        if (!pausedBySlider_) return;
        pausedBySlider_ = false;
        playback_.Play();
    });
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        if (value >= 0 && race_.SliderMoved(std::uint32_t(value))) playback_.StepTo(std::uint32_t(value));
    });
}

void RaceReplay::InitControls() {
    const QSignalBlocker blockSlider(slider_);
    const QSignalBlocker blockCombo(combo_);
    const bool loaded = race_.Loaded();
    slider_->setRange(0, loaded ? int(std::min<std::uint32_t>(race_.FrameCount() - 1, INT32_MAX)) : 0);
    slider_->setPageStep(int(RaceModel::kSliderPage));
    slider_->setValue(0);
    draw_[0]->setChecked(true);
    race_.SetCarDraw(RaceModel::CarDraw::Scale);
    leader_->setChecked(true);
    race_.SetFocus(RaceModel::Focus::Leader);
    combo_->clear();
    for (int d = 0; loaded && d < race_.DriverCount(); ++d) combo_->addItem(Cp1252ToQString(race_.DriverName(d)));
    combo_->setCurrentIndex(combo_->count() > 0 ? 0 : -1);
    race_.SelectDriver(0);
    combo_->setEnabled(false);
    pausedBySlider_ = false;
    ShowTexts();
}

void RaceReplay::ShowTexts() {
    const RaceModel::Texts& t = race_.GetTexts();
    const std::string* values[kTexts] = {&t.status,   &t.elapsed,   &t.currentLap, &t.scheduledLaps, &t.leader, &t.name,
                                         &t.position, &t.driverLap, &t.gapAhead,   &t.gapBehind,     &t.lastLap};
    for (int i = 0; i < kTexts; ++i) texts_[std::size_t(i)]->setText(Cp1252ToQString(*values[i]));
    // The steppers are round while a race is loaded, plain buttons without.
    for (CMyBtn* b : {driverPlus_, driverMinus_, lapPlus_, lapMinus_}) b->SetRound(race_.Loaded());
    if (!race_.Loaded()) return;
    // The model moved the frame: the slider follows without asking for it.
    const QSignalBlocker block(slider_);
    slider_->setValue(int(std::min<std::uint32_t>(race_.CurrentFrame(), INT32_MAX)));
}

void RaceReplay::Redraw() {
    // While playing the timer draws anyway; paused, the frame is drawn again.
    if (race_.Loaded() && playback_.Paused()) playback_.StepTo(race_.CurrentFrame());
    ShowTexts();
}

void RaceReplay::FocusDriver(int driver) {
    {
        const QSignalBlocker block(combo_);
        combo_->setCurrentIndex(driver);
    }
    driver_->setChecked(true);
    combo_->setEnabled(true);
    Redraw();
}

void RaceReplay::StepToLap(bool next) {
    const auto frame = next ? race_.NextLap(playback_.FastReversing()) : race_.PreviousLap(playback_.FastReversing());
    if (frame) playback_.StepTo(*frame);
    ShowTexts();
}

}  // namespace vra
