#include "gui/map/ViewDialog.h"

#include "gui/map/FocusChoice.h"
#include "gui/platform/Cp1252.h"
#include "gui/widgets/Artwork.h"
#include "gui/widgets/CHyperLink.h"
#include "gui/widgets/LiteralText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>
#include <fmt/format.h>

#include <algorithm>

namespace vra {

namespace {

QColor ToQt(const vra::Rgb& c) {
    return QColor(c.red, c.green, c.blue);
}

void SetTextColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    p.setColor(QPalette::ButtonText, colour);
    w->setPalette(p);
}

constexpr int kPictureSize = 24;
constexpr int kPictureStep = 23;

// The car pictures with their white made transparent, built once.
const QImage& CarPictures() {
    static const QImage pictures = [] {
        QImage strip = Artwork::CarPictures().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < strip.height(); ++y)
            for (int x = 0; x < strip.width(); ++x)
                if (strip.pixel(x, y) == qRgb(255, 255, 255)) strip.setPixel(x, y, qRgba(0, 0, 0, 0));
        return strip;
    }();
    return pictures;
}

}  // namespace

// The row where the heading of each playing lap is pictured.
class OrientationStrip : public QWidget {
public:
    explicit OrientationStrip(ViewDialog& bar) : bar_(bar) {
        setFixedSize(kPictureStep * (ViewDialog::kLapBoxes - 1) + kPictureSize, kPictureSize);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        bar_.PaintOrientations(painter);
    }

private:
    ViewDialog& bar_;
};

ViewDialog::ViewDialog(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ViewDialog"));
    auto* main = new QVBoxLayout(this);

    auto* lapsGroup = new QGroupBox(tr("Select lap(s) to plot"));
    auto* lapsGrid = new QGridLayout(lapsGroup);
    for (int n = 1; n <= kLapBoxes; ++n) {
        auto* number = new QLabel(QString::number(n));
        auto* box = new QCheckBox;
        box->setObjectName(QStringLiteral("LapBox%1").arg(n));
        lapsGrid->addWidget(number, n - 1, 0);
        lapsGrid->addWidget(box, n - 1, 1);
        number->hide();
        box->hide();
        numbers_[std::size_t(n - 1)] = number;
        boxes_[std::size_t(n - 1)] = box;
        connect(box, &QCheckBox::clicked, this, &ViewDialog::linesChanged);
    }
    lapsGrid->setColumnStretch(1, 1);
    main->addWidget(lapsGroup);

    auto* focusGroup = new QGroupBox(tr("Focus settings"));
    auto* focus = new QVBoxLayout(focusGroup);
    std::tie(manual_, leader_, driver_, combo_) = AddFocusChoice(*focus);
    connect(driver_, &QRadioButton::clicked, combo_, [this] { combo_->setEnabled(true); });
    connect(leader_, &QRadioButton::clicked, combo_, [this] { combo_->setEnabled(false); });
    connect(manual_, &QRadioButton::clicked, combo_, [this] { combo_->setEnabled(false); });
    main->addWidget(focusGroup);

    auto* splitGroup = new QGroupBox(tr("Splittimes"));
    auto* splitGrid = new QGridLayout(splitGroup);
    const char* heads[3] = {"25%", "50%", "75%"};
    for (int c = 0; c < 3; ++c) splitGrid->addWidget(new QLabel(QString::fromLatin1(heads[c])), 0, c + 1);
    for (int n = 1; n <= kLapBoxes; ++n) {
        auto* row = new QLabel(QString::number(n));
        row->hide();
        rowLabels_[std::size_t(n - 1)] = row;
        splitGrid->addWidget(row, n, 0);
        for (int c = 0; c < 3; ++c) {
            auto* value = new QLabel;
            value->hide();
            splits_[std::size_t(n - 1)][std::size_t(c)] = value;
            splitGrid->addWidget(value, n, c + 1);
        }
    }
    main->addWidget(splitGroup);

    realtime_ = new QGroupBox(tr("Realtime Information"));
    auto* live = new QGridLayout(realtime_);
    live->addWidget(new QLabel(tr("Elapsed time:")), 0, 0);
    elapsed_ = new QLabel;
    live->addWidget(elapsed_, 0, 1, 1, kLapBoxes);
    const char* rows[3] = {"Speed:", "Revs:", "Gear:"};
    for (int r = 0; r < 3; ++r) live->addWidget(new QLabel(QString::fromLatin1(rows[r])), r + 2, 0);
    for (int n = 1; n <= kLapBoxes; ++n) {
        const std::size_t i = std::size_t(n - 1);
        heads_[i] = new QLabel(QString::number(n));
        speed_[i] = new QLabel;
        revs_[i] = new QLabel;
        gear_[i] = new QLabel;
        live->addWidget(heads_[i], 1, n);
        live->addWidget(speed_[i], 2, n);
        live->addWidget(revs_[i], 3, n);
        live->addWidget(gear_[i], 4, n);
    }
    orientLabel_ = new QLabel(tr("Orient:"));
    live->addWidget(orientLabel_, 5, 0);
    orientStrip_ = new OrientationStrip(*this);
    live->addWidget(orientStrip_, 5, 1, 1, kLapBoxes);
    realtime_->hide();
    main->addWidget(realtime_);

    link_ = new CHyperLink(tr("Visit VELMRRA homepage!"));
    main->addWidget(link_);
    main->addStretch(1);
    ColourLabels();
}

void ViewDialog::SetShell(vra::Shell* shell) {
    link_->SetShell(shell);
}

void ViewDialog::SetLinkTarget(const QString& target) {
    link_->SetURL(target);
}

void ViewDialog::SetPalette(const std::array<vra::Rgb, vra::kMapPaletteSize>& palette) {
    palette_ = palette;
    ColourLabels();
}

void ViewDialog::ColourLabels() {
    // Box n's texts take the colour of the lap it shows, so the bar reads as
    // the legend of the map.
    for (int n = 1; n <= kLapBoxes; ++n) {
        const int slot = slots_[std::size_t(n - 1)] >= 0 ? slots_[std::size_t(n - 1)] : n - 1;
        const QColor colour = ToQt(palette_[std::size_t(slot)]);
        SetTextColour(numbers_[std::size_t(n - 1)], colour);
        SetTextColour(boxes_[std::size_t(n - 1)], colour);
        SetTextColour(rowLabels_[std::size_t(n - 1)], colour);
        SetTextColour(heads_[std::size_t(n - 1)], colour);
    }
    SetTextColour(orientLabel_, ToQt(palette_[5]));
}

void ViewDialog::DisableLapControls() {
    for (QCheckBox* box : boxes_) box->setEnabled(false);
    realtime_->show();
    for (int n = 1; n <= kLapBoxes; ++n) {
        const std::size_t i = std::size_t(n - 1);
        for (QLabel* value : splits_[i]) value->hide();
        const bool live = IsLapShown(n) && IsLapTicked(n);
        for (QLabel* label : {heads_[i], speed_[i], revs_[i], gear_[i]}) label->setVisible(live);
    }
}

void ViewDialog::EnableLapControls() {
    for (QCheckBox* box : boxes_) box->setEnabled(true);
    realtime_->hide();
    for (int n = 1; n <= kLapBoxes; ++n)
        for (QLabel* value : splits_[std::size_t(n - 1)]) value->setVisible(IsLapShown(n));
}

void ViewDialog::SetPlaying(bool playing) {
    playing_ = playing;
    orientStrip_->update();
}

void ViewDialog::SetOrientation(int box, int index) {
    if (box < 1 || box > kLapBoxes) return;
    // A heading that falls in no sector (-1) shows no picture.
    orientation_[std::size_t(box - 1)] = index >= 0 && index <= 15 ? index : -1;
    orientStrip_->update();
}

int ViewDialog::Orientation(int box) const {
    return box >= 1 && box <= kLapBoxes ? orientation_[std::size_t(box - 1)] : 0;
}

void ViewDialog::PaintOrientations(QPainter& painter) const {
    if (!playing_) return;
    for (int n = 1; n <= kLapBoxes; ++n) {
        if (!IsLapShown(n) || !IsLapTicked(n)) continue;
        const int index = orientation_[std::size_t(n - 1)];
        if (index < 0) continue;
        painter.drawImage(QPoint(kPictureStep * (n - 1), 0), CarPictures(),
                          QRect(index * kPictureSize + 2, 0, kPictureSize - 2, kPictureSize));
    }
}

std::string ViewDialog::FormatSplitTime(std::int64_t ms) {
    if (ms < 0) ms = 0;
    const std::int64_t minutes = ms / 60000;
    return fmt::format("{}:{:02}.{:03}s", minutes, ms / 1000 - 60 * minutes, ms % 1000);
}

void ViewDialog::UpdateLapControls(const std::vector<LapEntry>& laps) {
    combo_->clear();
    orientation_.fill(0);
    for (int n = 1; n <= kLapBoxes; ++n) {
        const std::size_t i = std::size_t(n - 1);
        const bool used = i < laps.size();
        slots_[i] = used ? laps[i].slot : -1;
        boxes_[i]->setVisible(used);
        numbers_[i]->setVisible(used);
        rowLabels_[i]->setVisible(used);
        for (int c = 0; c < 3; ++c) {
            splits_[i][std::size_t(c)]->setVisible(used);
            splits_[i][std::size_t(c)]->setText(
                used ? QString::fromStdString(FormatSplitTime(laps[i].splitMs[std::size_t(c)])) : QString());
        }
        if (used) {
            const QString caption = vra::Cp1252ToQString(laps[i].caption);
            boxes_[i]->setText(LiteralCaption(caption));
            combo_->addItem(caption);
            combo_->setCurrentIndex(0);
        } else {
            boxes_[i]->setText({});
            boxes_[i]->setChecked(false);
        }
    }
    ColourLabels();
}

int ViewDialog::FollowChoice() const {
    if (manual_->isChecked()) return 0;
    return driver_->isChecked() ? 2 : 1;
}

void ViewDialog::UntickAll() {
    for (QCheckBox* box : boxes_) box->setChecked(false);
}

void ViewDialog::ToggleLap(int n) {
    if (n == 0)
        raceLine_ = !raceLine_;
    else if (n >= 1 && n <= kLapBoxes)
        boxes_[std::size_t(n - 1)]->toggle();
    else
        return;
    emit linesChanged();
}

bool ViewDialog::IsLapTicked(int box) const {
    return box >= 1 && box <= kLapBoxes && boxes_[std::size_t(box - 1)]->isChecked();
}

void ViewDialog::SetLapTicked(int box, bool ticked) {
    if (box >= 1 && box <= kLapBoxes) boxes_[std::size_t(box - 1)]->setChecked(ticked);
}

bool ViewDialog::IsLapShown(int box) const {
    return SlotOfBox(box) >= 0;
}

int ViewDialog::SlotOfBox(int box) const {
    return box >= 1 && box <= kLapBoxes ? slots_[std::size_t(box - 1)] : -1;
}

}  // namespace vra
