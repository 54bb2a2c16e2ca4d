#include "gui/graphs/TrackMapDialog.h"

#include "core/decode/KtException.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/track/TrackPath.h"
#include "gui/platform/Cp1252.h"

#include <QPainter>
#include <QResizeEvent>

namespace vra {

namespace {

// Paints the rendered map; the dialog keeps the picture.
class MapPicture : public QWidget {
public:
    MapPicture(const QImage& map, QWidget* parent) : QWidget(parent), map_(map) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(204, 204, 204));
        if (!map_.isNull()) p.drawImage(0, 0, map_);
    }

private:
    const QImage& map_;
};

constexpr int kMargin = 5;

}  // namespace

TrackMapDialog::TrackMapDialog(CRpyGraphDoc* doc, QWidget* parent) : CResizingDialog(parent), doc_(doc) {
    setWindowFlag(Qt::Tool);
    // 123 x 108 dialog units.
    resize(185, 176);
    control_ = new MapPicture(map_, this);
    control_->setGeometry(0, 0, width(), height());
    QString caption = Cp1252ToQString(doc_->Title());
    if (doc_->TrackLoaded() && doc_->GetTrackPath())
        caption += QStringLiteral(" (%1 meters)").arg(static_cast<long long>(doc_->GetTrackPath()->Length()));
    setWindowTitle(caption);
    OnInitDialog();
    setMinimumSize(0, 0);
    SetControlInfo(control_, Mode::Stretch, Mode::Stretch, true);
    std::array<Rgb, kMapPaletteSize> palette;
    palette.fill(Rgb{255, 255, 255});
    for (std::size_t i = 0; i < 6; ++i) palette[i + 1] = CRpyGraphDoc::GraphColours()[i];
    palette[8] = Rgb{204, 204, 204};
    display_.SetPalette(palette);
    RenderTrack();
}

TrackMapDialog::~TrackMapDialog() {
    // No other view should keep showing the stretch this window marked.
    if (doc_->TrackLoaded())
        if (TrackPath* path = doc_->GetTrackPath()) path->ClearHighlight();
}

void TrackMapDialog::showEvent(QShowEvent* event) {
    CResizingDialog::showEvent(event);
    if (placed_ || !parentWidget()) return;
    placed_ = true;
    const QRect owner = parentWidget()->frameGeometry();
    move(owner.right() - frameGeometry().width() + 1, owner.top());
}

void TrackMapDialog::RenderTrack() {
    const int w = control_->width(), h = control_->height();
    // A map smaller than its margins has nowhere to go.
    if (w <= 2 * kMargin || h <= 2 * kMargin) {
        map_ = QImage();
        control_->update();
        return;
    }
    map_ = QImage(w, h, QImage::Format_RGB32);
    map_.fill(QColor(204, 204, 204));
    const TrackPath* path = doc_->GetTrackPath();
    if (doc_->TrackLoaded() && path) {
        QPainter p(&map_);
        display_.SetDC(&p);
        if (display_.FitToTrackBounds(path->Bounds(), kMargin, kMargin, static_cast<std::uint32_t>(w),
                                      static_cast<std::uint32_t>(h)))
            path->Draw(display_);
        display_.SetDC(nullptr);
    }
    control_->update();
}

void TrackMapDialog::SetCursorDistance(double distance, unsigned width) {
    TrackPath* path = doc_->GetTrackPath();
    if (!doc_->TrackLoaded() || !path) return;
    try {
        path->HighlightAround(distance, width);
    } catch (const KtException&) {
        // A stretch the path cannot mark is simply not marked.
        path->ClearHighlight();
    }
    if (!map_.isNull() || isVisible()) RenderTrack();
}

void TrackMapDialog::resizeEvent(QResizeEvent* event) {
    CResizingDialog::resizeEvent(event);
    if (control_) RenderTrack();
}

}  // namespace vra
