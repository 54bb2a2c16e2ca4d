#include "gui/tools/SpeedTrack.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/settings/CoreIniEditor.h"
#include "gui/map/MFCDisplay.h"
#include "gui/platform/Cp1252.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSizeGrip>
#include <QVBoxLayout>

namespace vra {

namespace {

// Columns of lines, one pixel each: the colour ramp of a lap beside its list,
// and the legend from red through black to green.
class ColumnStrip : public QWidget {
public:
    using Colour = QColor (*)(int column);
    ColumnStrip(int columns, int height, Colour colour, const QString& name, QWidget* parent)
        : QWidget(parent), columns_(columns), colour_(colour) {
        setObjectName(name);
        setFixedSize(columns, height);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        for (int i = 0; i < columns_; ++i) {
            painter.setPen(colour_(i));
            painter.drawLine(i, 0, i, height() - 1);
        }
    }

private:
    int columns_;
    Colour colour_;
};

QColor FirstRamp(int i) {
    return QColor(0, 4 * i, 0);
}
QColor SecondRamp(int i) {
    return QColor(4 * i, 0, 0);
}
QColor LegendRamp(int i) {
    return i < 256 ? QColor(255 - i, 0, 0) : QColor(0, i - 256, 0);
}

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

SpeedTrackPicture::SpeedTrackPicture(QWidget* parent) : QWidget(parent) {
    setMinimumSize(200, 150);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void SpeedTrackPicture::SetVisitor(const SpdTrkVisitor* visitor) {
    visitor_ = visitor;
    update();
}

void SpeedTrackPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (!visitor_ || !visitor_->Bounds().IsValid()) return;
    MFCDisplay display;
    if (!display.FitToTrackBounds(visitor_->Bounds(), 0, 0, std::uint32_t(width()), std::uint32_t(height()))) return;
    display.SetDC(&painter);
    display.FillPolygonList(*visitor_);
    display.SetDC(nullptr);
}

SpeedTrack::SpeedTrack(const CRpyGraphDoc& document, QWidget* parent) : QDialog(parent), model_(document) {
    setWindowTitle(tr("SpeedTrack"));
    setSizeGripEnabled(false);
    auto* layout = new QHBoxLayout(this);

    auto* side = new QVBoxLayout;
    layout->addLayout(side);
    auto* laps = new QGroupBox(tr("Laps to compare"), this);
    auto* lapGrid = new QGridLayout(laps);
    first_ = new QComboBox(laps);
    first_->setObjectName(QStringLiteral("firstLap"));
    second_ = new QComboBox(laps);
    second_->setObjectName(QStringLiteral("secondLap"));
    lapGrid->addWidget(first_, 0, 0);
    lapGrid->addWidget(new ColumnStrip(64, 15, FirstRamp, QStringLiteral("firstSwatch"), laps), 0, 1);
    lapGrid->addWidget(second_, 1, 0);
    lapGrid->addWidget(new ColumnStrip(64, 15, SecondRamp, QStringLiteral("secondSwatch"), laps), 1, 1);
    side->addWidget(laps);

    auto* scale = new QGroupBox(tr("Speed Scale"), this);
    auto* scaleGrid = new QGridLayout(scale);
    automatic_ = new QRadioButton(tr("Automatic"), scale);
    automatic_->setObjectName(QStringLiteral("automatic"));
    manualButton_ = new QRadioButton(tr("Manual, enter range:"), scale);
    manualButton_->setObjectName(QStringLiteral("manual"));
    unit_ = new QLabel(scale);
    unit_->setObjectName(QStringLiteral("unit"));
    rangeEdit_ = new QLineEdit(scale);
    rangeEdit_->setObjectName(QStringLiteral("range"));
    scaleGrid->addWidget(automatic_, 0, 0, 1, 3);
    scaleGrid->addWidget(manualButton_, 1, 0);
    scaleGrid->addWidget(unit_, 1, 1);
    scaleGrid->addWidget(rangeEdit_, 1, 2);
    side->addWidget(scale);

    auto* legend = new QGroupBox(tr("Legend"), this);
    auto* legendBox = new QVBoxLayout(legend);
    legendBox->addWidget(new ColumnStrip(512, 15, LegendRamp, QStringLiteral("legendBar"), legend));
    auto* legendTexts = new QHBoxLayout;
    minimum_ = new QLabel(QStringLiteral("0"), legend);
    minimum_->setObjectName(QStringLiteral("minimum"));
    halfMinimum_ = new QLabel(legend);
    halfMinimum_->setObjectName(QStringLiteral("halfMinimum"));
    halfMaximum_ = new QLabel(legend);
    halfMaximum_->setObjectName(QStringLiteral("halfMaximum"));
    maximum_ = new QLabel(QStringLiteral("0"), legend);
    maximum_->setObjectName(QStringLiteral("maximum"));
    legendTexts->addWidget(minimum_);
    legendTexts->addStretch();
    legendTexts->addWidget(halfMinimum_);
    legendTexts->addStretch();
    legendTexts->addWidget(new QLabel(QStringLiteral("0"), legend));
    legendTexts->addStretch();
    legendTexts->addWidget(halfMaximum_);
    legendTexts->addStretch();
    legendTexts->addWidget(maximum_);
    legendBox->addLayout(legendTexts);
    side->addWidget(legend);
    side->addStretch();
    auto* close = new QPushButton(tr("Close"), this);
    side->addWidget(close, 0, Qt::AlignRight);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* right = new QVBoxLayout;
    layout->addLayout(right, 1);
    picture_ = new SpeedTrackPicture(this);
    picture_->setObjectName(QStringLiteral("picture"));
    right->addWidget(picture_, 1);
    right->addWidget(new QSizeGrip(this), 0, Qt::AlignBottom | Qt::AlignRight);

    automatic_->setChecked(true);
    rangeEdit_->setEnabled(false);
    unit_->setText(model_.Mph() ? QStringLiteral("Mph:") : QStringLiteral("Kph:"));
    FillLists();

    connect(first_, &QComboBox::activated, this, [this] { Choose(SpeedTrackModel::First, first_); });
    connect(second_, &QComboBox::activated, this, [this] { Choose(SpeedTrackModel::Second, second_); });
    connect(automatic_, &QRadioButton::clicked, this, [this] { SetManual(false); });
    connect(manualButton_, &QRadioButton::clicked, this, [this] { SetManual(true); });
    connect(rangeEdit_, &QLineEdit::editingFinished, this, [this] {
        range_ = ParseIniInt(rangeEdit_->text().toStdString());
        Recompute();
    });
}

SpeedTrack::~SpeedTrack() = default;

void SpeedTrack::FillLists() {
    const QSignalBlocker blockFirst(first_);
    const QSignalBlocker blockSecond(second_);
    for (auto [list, role] : {std::pair{first_, SpeedTrackModel::First}, {second_, SpeedTrackModel::Second}}) {
        list->clear();
        const SpeedTrackModel::List items = model_.Items(role);
        for (const auto& item : items.items) list->addItem(Cp1252ToQString(item.text), item.slot);
        list->setCurrentIndex(items.selected);
    }
}

void SpeedTrack::Choose(SpeedTrackModel::Role role, QComboBox* list) {
    const QVariant slot = list->currentData();
    if (!slot.isValid()) return;
    model_.Choose(role, slot.toInt());
    FillLists();
    Recompute();
}

void SpeedTrack::SetManual(bool manual) {
    rangeEdit_->setEnabled(manual);
    if (manual) {
        if (rangeEdit_->text().isEmpty()) rangeEdit_->setText(maximum_->text().section(QLatin1Char('.'), 0, 0));
        range_ = ParseIniInt(rangeEdit_->text().toStdString());
    }
    manual_ = manual;
    Recompute();
}

void SpeedTrack::Recompute() {
    if (first_->currentIndex() < 0 || second_->currentIndex() < 0) return;
    picture_->SetVisitor(nullptr);
    visitor_ = model_.Recompute(manual_, range_);
    if (visitor_) {
        const SpeedLegend l = LegendTexts(visitor_->ScaleMinimum(), visitor_->ScaleMaximum(), manual_);
        minimum_->setText(Text(l.minimum));
        halfMinimum_->setText(Text(l.halfMinimum));
        halfMaximum_->setText(Text(l.halfMaximum));
        maximum_->setText(Text(l.maximum));
    }
    unit_->setText(model_.Mph() ? QStringLiteral("Mph:") : QStringLiteral("Kph:"));
    picture_->SetVisitor(visitor_.get());
    update();
}

}  // namespace vra
