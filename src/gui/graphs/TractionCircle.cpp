#include "gui/graphs/TractionCircle.h"

#include "core/decode/KtException.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/graphs/LapLabel.h"
#include "core/graphs/TractionCircleData.h"
#include "core/replay/GetRpyInfo.h"
#include "core/track/TrackPath.h"
#include "gui/graphs/CSelectionSliderCtrl.h"
#include "gui/graphs/TransparentBlit.h"
#include "gui/platform/Cp1252.h"
#include "gui/reports/CAutoRichEditCtrl.h"
#include "gui/widgets/LiteralText.h"

#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>

#include <functional>

namespace vra {

namespace {

const QColor kTrackKey(0, 0, 255);
const QColor kCrossColour(66, 0, 0);

QColor LapColour(int slot) {
    const Rgb c = CRpyGraphDoc::GraphColours()[std::size_t(slot)];
    return QColor(c.red, c.green, c.blue);
}

// A frame that shows a picture the dialog keeps.
class PictureFrame : public QWidget {
public:
    PictureFrame(QWidget* parent, std::function<void(QPainter&)> paint) : QWidget(parent), paint_(std::move(paint)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        paint_(painter);
    }

private:
    std::function<void(QPainter&)> paint_;
};

QLabel* Label(QWidget* parent, const QString& text, QRect rect) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(rect);
    return label;
}

}  // namespace

TractionCircle::TractionCircle(CRpyGraphDoc& doc, QWidget* parent) : CResizingDialog(parent), doc_(doc) {
    setWindowTitle(QStringLiteral("Traction Circle"));
    resize(820, 620);

    auto* plotGroup = new QGroupBox(QStringLiteral("Traction Circle"), this);
    plotGroup->setGeometry(8, 8, 504, 572);
    plotFrame_ = new PictureFrame(this, [this](QPainter& p) {
        if (!plotPicture_.isNull()) p.drawImage(QPoint(0, 0), plotPicture_);
    });
    plotFrame_->setGeometry(16, 28, 488, 544);

    auto* trackGroup = new QGroupBox(QStringLiteral("Part of track to analyze"), this);
    trackGroup->setGeometry(520, 8, 292, 360);
    auto* prompt = Label(this, QStringLiteral("Select range of track to analyze\n(press shift while moving marker):"),
                         QRect(528, 26, 276, 32));
    slider_ = new CSelectionSliderCtrl(this);
    slider_->setGeometry(528, 60, 276, 24);
    slider_->SetEnableSelRange(true);
    auto* startText = Label(this, QStringLiteral("Start (meters):"), QRect(528, 90, 100, 18));
    auto* endText = Label(this, QStringLiteral("End (meters):"), QRect(528, 110, 100, 18));
    auto* lengthText = Label(this, QStringLiteral("Length:"), QRect(528, 130, 100, 18));
    start_ = Label(this, {}, QRect(640, 90, 80, 18));
    end_ = Label(this, {}, QRect(640, 110, 80, 18));
    length_ = Label(this, {}, QRect(640, 130, 80, 18));
    trackFrame_ = new PictureFrame(this, [this](QPainter& p) {
        if (!trackPicture_.isNull())
            TransparentBlit(p, trackPicture_.rect(), trackPicture_, trackPicture_.rect(), kTrackKey);
    });
    trackFrame_->setGeometry(528, 156, 276, 204);

    auto* options = new QGroupBox(QStringLiteral("Plot Options"), this);
    options->setGeometry(520, 372, 292, 208);
    auto* timeText = Label(this, QStringLiteral("Time:"), QRect(720, 390, 80, 18));
    for (int k = 0; k < kLaps; ++k) {
        lapBoxes_[std::size_t(k)] = new QCheckBox(this);
        lapBoxes_[std::size_t(k)]->setGeometry(528, 408 + 20 * k, 188, 18);
        times_[std::size_t(k)] = Label(this, {}, QRect(720, 408 + 20 * k, 80, 18));
        // Each lap's texts in the colour its trace draws in.
        for (QWidget* w :
             {static_cast<QWidget*>(lapBoxes_[std::size_t(k)]), static_cast<QWidget*>(times_[std::size_t(k)])}) {
            QPalette pal = w->palette();
            pal.setColor(QPalette::WindowText, LapColour(k));
            pal.setColor(QPalette::ButtonText, LapColour(k));
            w->setPalette(pal);
        }
    }
    circles_ = new QCheckBox(QStringLiteral("Plot circles for 1.0, 2.0 and 3.0 G"), this);
    circles_->setGeometry(528, 512, 276, 18);
    carFrame_ = new QRadioButton(QStringLiteral("Oriented to car"), this);
    carFrame_->setGeometry(528, 534, 136, 18);
    travelFrame_ = new QRadioButton(QStringLiteral("Oriented to travel"), this);
    travelFrame_->setGeometry(664, 534, 140, 18);

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setGeometry(8, 588, 80, 24);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    help_ = new QPushButton(QStringLiteral("Help"), this);
    help_->setGeometry(96, 588, 80, 24);
    connect(help_, &QPushButton::clicked, this, &TractionCircle::OnHelp);
    auto* credits = Label(this, QStringLiteral("Traction circle plotted from the replay's accelerations"),
                          QRect(190, 592, 320, 18));

    OnInitDialog();
    using M = Mode;
    for (QWidget* w : {static_cast<QWidget*>(plotGroup), plotFrame_}) SetControlInfo(w, M::Stretch, M::Stretch);
    for (QWidget* w : {static_cast<QWidget*>(trackGroup), static_cast<QWidget*>(options), trackFrame_})
        SetControlInfo(w, M::Move, M::Fixed);
    for (QWidget* w : {static_cast<QWidget*>(prompt), static_cast<QWidget*>(slider_), static_cast<QWidget*>(startText),
                       static_cast<QWidget*>(endText), static_cast<QWidget*>(lengthText), static_cast<QWidget*>(start_),
                       static_cast<QWidget*>(end_), static_cast<QWidget*>(length_)})
        SetControlInfo(w, M::Move, M::Fixed, true);
    for (int k = 0; k < kLaps; ++k) {
        SetControlInfo(lapBoxes_[std::size_t(k)], M::Move, M::Fixed);
        SetControlInfo(times_[std::size_t(k)], M::Move, M::Fixed);
    }
    for (QWidget* w : {static_cast<QWidget*>(circles_), static_cast<QWidget*>(carFrame_),
                       static_cast<QWidget*>(travelFrame_), static_cast<QWidget*>(timeText)})
        SetControlInfo(w, M::Move, M::Fixed);
    for (QWidget* w : {static_cast<QWidget*>(close), static_cast<QWidget*>(help_), static_cast<QWidget*>(credits)})
        SetControlInfo(w, M::Fixed, M::Move, true);

    const int length = SliderLength(doc_);
    slider_->setRange(0, length);
    slider_->SetSelection(0, length);
    slider_->setPageStep(std::max(length / 50, 1));
    start_->setText(QStringLiteral("0"));
    end_->setText(QString::number(length));
    length_->setText(QString::number(length));
    carFrame_->setChecked(true);
    FillLapBoxes();

    connect(slider_, &CSelectionSliderCtrl::scrolled, this, &TractionCircle::OnHScroll);
    for (QCheckBox* box : lapBoxes_) connect(box, &QCheckBox::toggled, this, &TractionCircle::Redraw);
    connect(circles_, &QCheckBox::toggled, this, &TractionCircle::Redraw);
    connect(carFrame_, &QRadioButton::toggled, this, &TractionCircle::Redraw);
    picturesBuilt_ = true;
    Redraw();
}

TractionCircle::~TractionCircle() {
    if (TrackPath* path = doc_.GetTrackPath()) path->ClearHighlight();
}

void TractionCircle::FillLapBoxes() {
    // Box k stands for slot k - 1, for the label as for the drawing.
    for (int k = 0; k < kLaps; ++k) {
        QCheckBox* box = lapBoxes_[std::size_t(k)];
        box->setChecked(false);
        times_[std::size_t(k)]->hide();
        if (doc_.IsSlotUsed(k)) {
            box->setText(LiteralCaption(Cp1252ToQString(LapLabel(doc_.Slot(k)))));
        } else {
            box->hide();
            box->setEnabled(false);
        }
    }
}

void TractionCircle::OnHScroll() {
    const TrackRange range =
        RangeFromSlider(slider_->SelectionStart(), slider_->SelectionEnd(), slider_->sliderPosition());
    start_->setText(QString::number(range.start));
    end_->setText(QString::number(range.end));
    length_->setText(QString::number(range.end - range.start));
    Redraw();
}

void TractionCircle::resizeEvent(QResizeEvent* event) {
    CResizingDialog::resizeEvent(event);
    if (picturesBuilt_) Redraw();
}

void TractionCircle::Redraw() {
    BuildPlotPicture();
    BuildTrackPicture();
    plotFrame_->update();
    trackFrame_->update();
}

void TractionCircle::BuildPlotPicture() {
    const int w = plotFrame_->width(), h = plotFrame_->height();
    plotPicture_ = QImage();
    if (w <= 0 || h <= 0) return;
    plotPicture_ = QImage(w, h, QImage::Format_RGB32);
    plotPicture_.fill(Qt::white);
    QPainter p(&plotPicture_);
    p.setPen(QPen(kCrossColour, 1));
    p.drawLine(0, h / 2, w, h / 2);
    p.drawLine(w / 2, 0, w / 2, h);
    const PlotGeometry plot = PlotGeometryFor(w, h);
    const int cx = plot.centre.x, cy = plot.centre.y;

    p.setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    p.setPen(QColor(255, 0, 0));
    const QFontMetrics fm(p.font());
    p.drawText(QPoint(cx + 1, fm.ascent()), QStringLiteral(" Braking"));
    p.drawText(QPoint(cx + 1, 2 * cy - fm.descent()), QStringLiteral(" Acceleration"));
    p.drawText(QPoint(0, cy - fm.descent()), QStringLiteral("Right turn"));
    const QString left = QStringLiteral("Left turn");
    p.drawText(QPoint(2 * cx - fm.horizontalAdvance(left), cy - fm.descent()), left);

    if (circles_->isChecked()) {
        p.setPen(QPen(kCrossColour, 1));
        for (int g = 1; g <= 3; ++g) {
            const std::vector<PlotPoint> pts = CirclePoints(plot, g);
            for (std::size_t k = 1; k < pts.size(); ++k) p.drawLine(pts[k - 1].x, pts[k - 1].y, pts[k].x, pts[k].y);
        }
    }

    const int s = start_->text().toInt(), e = end_->text().toInt();
    for (int k = 0; k < kLaps; ++k) {
        QLabel* time = times_[std::size_t(k)];
        if (!lapBoxes_[std::size_t(k)]->isChecked() || !doc_.IsSlotUsed(k) || !doc_.Slot(k).info) {
            time->hide();
            continue;
        }
        const LapTrace trace =
            TraceLap(TractionLapOf(*doc_.Slot(k).info), s, e, slider_->maximum(), carFrame_->isChecked(), plot);
        p.setPen(QPen(LapColour(k), 1));
        if (trace.points.size() == 1) p.drawPoint(trace.points[0].x, trace.points[0].y);
        for (std::size_t i = 1; i < trace.points.size(); ++i)
            p.drawLine(trace.points[i - 1].x, trace.points[i - 1].y, trace.points[i].x, trace.points[i].y);
        if (trace.seconds) {
            time->setText(QString::fromStdString(RangeTimeText(*trace.seconds)));
            time->show();
        } else {
            time->hide();
        }
    }
}

void TractionCircle::BuildTrackPicture() {
    const int w = trackFrame_->width(), h = trackFrame_->height();
    trackPicture_ = QImage();
    if (w <= 0 || h <= 0) return;
    trackPicture_ = QImage(w, h, QImage::Format_RGB32);
    trackPicture_.fill(kTrackKey);
    TrackPath* path = doc_.TrackLoaded() ? doc_.GetTrackPath() : nullptr;
    if (!path) return;
    try {
        path->HighlightRange(start_->text().toDouble(), end_->text().toDouble());
    } catch (const KtException&) {
        // A stretch the track cannot mark is shown unmarked.
        path->ClearHighlight();
    }
    std::array<Rgb, kMapPaletteSize> palette;
    palette.fill(Rgb{255, 255, 255});
    for (std::size_t k = 1; k <= 6; ++k) palette[k] = CRpyGraphDoc::GraphColours()[k - 1];
    display_.SetPalette(palette);
    // A frame too small for the margins has no room for the track.
    if (w <= 10 || h <= 10 || !display_.FitToTrackBounds(path->Bounds(), 5, 5, std::uint32_t(w), std::uint32_t(h)))
        return;
    QPainter p(&trackPicture_);
    display_.SetDC(&p);
    path->Draw(display_);
    display_.SetDC(nullptr);
}

void TractionCircle::OnHelp() {
    if (!helpDialog_) helpDialog_ = new TractionCircleHelp(this);
    helpDialog_->show();
    helpDialog_->raise();
}

TractionCircleHelp::TractionCircleHelp(QWidget* parent) : CResizingDialog(parent) {
    setWindowTitle(QStringLiteral("Traction Circle Explained"));
    resize(480, 420);
    // The help page is rich text kept with the program, shown through the
    // program's own reader of it.
    auto* text = new CAutoRichEditCtrl(this);
    text->setObjectName(QStringLiteral("HelpText"));
    text->setGeometry(8, 8, 464, 368);
    QFile page(QStringLiteral(":/help/TractionCircle.rtf"));
    if (page.open(QIODevice::ReadOnly)) text->SetRTF(page.readAll().toStdString());
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setGeometry(200, 388, 80, 24);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    OnInitDialog();
    SetControlInfo(text, Mode::Stretch, Mode::Stretch, true);
    SetControlInfo(close, Mode::Proportional, Mode::Move, true);
}

}  // namespace vra
