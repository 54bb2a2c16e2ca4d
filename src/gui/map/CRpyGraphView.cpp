#include "gui/map/CRpyGraphView.h"

#include "core/commands/CommandIds.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/document/LapLinePlotter.h"
#include "core/document/LoadedLapChoice.h"
#include "core/document/TrackmapExport.h"
#include "core/ptf/LpLine.h"
#include "core/replay/GetRpyInfo.h"
#include "core/track/TrackPath.h"
#include "gui/map/MapPlayback.h"
#include "gui/map/TrackmapBitmap.h"
#include "gui/map/ViewDialog.h"
#include "gui/platform/Cp1252.h"
#include "gui/widgets/Artwork.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegion>

#include <cmath>
#include <cstring>

namespace vra {

namespace {

// Heading and lap labels of a printed page, in canvas units above the map.
constexpr int kHeadingY = -2000;
constexpr int kFirstLabelY = -1500;
constexpr int kLabelStep = 250;
constexpr int kPrintFontUnits = 180;

}  // namespace

CRpyGraphView::CRpyGraphView(QWidget* parent) : CZoomView(parent) {
    setObjectName(QStringLiteral("MapView"));
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    playback_ = new MapPlayback(*this);
}

CRpyGraphView::~CRpyGraphView() = default;

void CRpyGraphView::SetDocument(vra::CRpyGraphDoc* document) {
    doc_ = document;
    trackLayerKey_ = lastBuildKey_ = {};  // drawn from the last document's track
    RequestFullRedraw();
}

void CRpyGraphView::SetViewBar(ViewDialog* viewBar) {
    viewBar_ = viewBar;
    if (viewBar_) connect(viewBar_, &ViewDialog::linesChanged, this, &CRpyGraphView::RequestFullRedraw);
}

bool CRpyGraphView::HasTrackMap() const {
    return doc_ && doc_->TrackLoaded() && doc_->GetTrackPath();
}

bool CRpyGraphView::LapsLoaded() const {
    return doc_ && doc_->LapCount() > 0;
}

void CRpyGraphView::RequestFullRedraw() {
    if (doc_) doc_->SetFullRedraw(true);
    fullRedraw_ = true;
    cacheValid_ = false;
    viewport()->update();
}

void CRpyGraphView::TakeFullRedraw() {
    if (!fullRedraw_ && !(doc_ && doc_->NeedsFullRedraw())) return;
    fullRedraw_ = false;
    if (doc_) doc_->SetFullRedraw(false);
    cacheValid_ = false;
    frameValid_ = false;
    live_.Clear();
    const PlaybackController& c = playback_->Controller();
    carsShown_ = c.Playing() || c.Paused();
}

void CRpyGraphView::PlaybackDrew() {
    if (playback_->Controller().RaceMode()) {
        carsShown_ = true;
        frameValid_ = false;
    }
    viewport()->update();
}

PlaybackLayer& CRpyGraphView::LiveDisplay() {
    // Fitted as the screen's display is, so that the playback's points are
    // those of the static picture, even before its first paint.
    if (HasTrackMap())
        live_.FitToTrackEdges(doc_->GetTrackPath()->EdgeBounds(), kScreenMargin, kScreenMargin, kCanvas, kCanvas);
    live_.SetPalette(vra::CRpyGraphDoc::Palette());
    return live_;
}

int CRpyGraphView::ChooseLoadedLap() {
    return doc_ ? vra::ChooseLoadedLap(*doc_, doc_->GetPrompts()) : -1;
}

void CRpyGraphView::OnInitialUpdate() {
    if (viewBar_) viewBar_->UntickAll();
    SetZoomSizes({kCanvas, kCanvas});
    ZoomFull();
    if (doc_) doc_->SetMapFitted(false);
    RequestFullRedraw();
}

CRpyGraphView::CacheKey CRpyGraphView::CurrentKey() const {
    return {viewport()->size(), DeviceSize(), QPoint(Model().Origin().x, Model().Origin().y)};
}

void CRpyGraphView::paintEvent(QPaintEvent* event) {
    if (firstPaint_) {
        // The view knows its window size only now: fit the canvas to it.
        firstPaint_ = false;
        SetZoomSizes({kCanvas, kCanvas});
        ZoomFull();
    }
    if (!HasTrackMap()) {
        QPainter painter(viewport());
        DrawNoMapPicture(painter);
        return;
    }
    CZoomView::paintEvent(event);
}

void CRpyGraphView::OnDraw(QPainter& painter) {
    TakeFullRedraw();
    if (!cacheValid_ || !(cacheKey_ == CurrentKey())) {
        RebuildCache();
        frameValid_ = false;
    }
    const bool cars = carsShown_ && playback_->Controller().RaceMode();
    const QImage* shown = &cache_;
    if (cars || !live_.Segments().empty()) {
        // The playback draws over a copy of the static picture: new segments
        // are added to it, moved cars start again from the static picture.
        if (!frameValid_) {
            frame_ = cache_.copy();
            drawnSegments_ = 0;
        }
        QPainter over(&frame_);
        over.setClipRect(QRect(QPoint(Model().Origin().x, Model().Origin().y), DeviceSize()));
        PrepareScreenPainter(over);
        live_.PaintSegments(over, drawnSegments_);
        drawnSegments_ = live_.Segments().size();
        if (cars) {
            live_.SetDC(&over);
            playback_->Race().PaintCars(live_);
            live_.SetDC(nullptr);
        }
        frameValid_ = true;
        shown = &frame_;
    } else {
        frameValid_ = false;
    }
    painter.save();
    painter.setViewTransformEnabled(false);
    painter.setWorldMatrixEnabled(false);
    painter.drawImage(QPoint(0, 0), *shown);
    painter.restore();
}

void CRpyGraphView::RebuildCache() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QSize size = viewport()->size().expandedTo(QSize(1, 1));
    if (cache_.size() != size) cache_ = QImage(size, QImage::Format_RGB32);
    // Each rebuild fits the screen's own display afresh, so a fit made for
    // printing or export elsewhere can never shift the map on screen.
    if (doc_->GetTrackPath())
        screen_.FitToTrackEdges(doc_->GetTrackPath()->EdgeBounds(), kScreenMargin, kScreenMargin, kCanvas, kCanvas);
    screen_.SetPalette(vra::CRpyGraphDoc::Palette());
    doc_->SetMapFitted(true);
    // Clipped in window pixels to where the canvas lies in the window: a clip
    // in whole canvas units would cut off up to a unit's worth of pixels at
    // each edge, which zoomed in is a wide white strip.
    const QRect canvasPixels(QPoint(Model().Origin().x, Model().Origin().y), DeviceSize());
    const QRect drawn = canvasPixels.intersected(cache_.rect());
    const QRect visible = VisibleLogicalRect().adjusted(-1, -1, 1, 1).intersected(QRect(0, 0, kCanvas, kCanvas));
    const auto prepare = [&](QPainter& painter) {
        painter.setClipRect(drawn);
        PrepareScreenPainter(painter);
    };
    // The track's surfaces are most of the picture's cost and change only
    // with the track, the window or the zoom. A picture drawn again where
    // the last one was (a lap ticked, a lap added) keeps them apart for the
    // redraws that follow, which start from a copy; a zoom or a scroll draws
    // them straight into the picture and spares itself the copy.
    const CacheKey key = CurrentKey();
    const std::uint64_t serial = doc_->TrackSerial();
    const bool kept = trackLayerKey_ == key && trackLayerSerial_ == serial && trackLayer_.size() == size;
    const bool keep = kept || (lastBuildKey_ == key && lastBuildSerial_ == serial);
    QImage& surfaces = keep ? trackLayer_ : cache_;
    if (!kept) {
        if (surfaces.size() != size) surfaces = QImage(size, QImage::Format_RGB32);
        QPainter painter(&surfaces);
        // The map fills its own part white; a pass over the whole picture
        // first would write every pixel twice.
        for (const QRect& strip : QRegion(surfaces.rect()).subtracted(drawn)) painter.fillRect(strip, Qt::white);
        prepare(painter);
        screen_.SetCullRect(drawn, painter.combinedTransform());
        screen_.KeepTrackShapes(true, serial);
        DrawTrack(painter, visible, screen_);
        screen_.KeepTrackShapes(false);
        screen_.SetCullRect({}, {});
        screen_.SetDC(nullptr);
        if (keep) {
            trackLayerKey_ = key;
            trackLayerSerial_ = serial;
        }
    }
    if (keep) std::memcpy(cache_.bits(), trackLayer_.constBits(), std::size_t(cache_.sizeInBytes()));
    lastBuildKey_ = key;
    lastBuildSerial_ = serial;
    {
        QPainter painter(&cache_);
        prepare(painter);
        DrawLines(painter, screen_);
        screen_.SetDC(nullptr);
    }
    doc_->SetFullRedraw(false);
    cacheKey_ = key;
    cacheValid_ = true;
    ++cacheBuilds_;
    // A zoom click held the playback for this rebuild.
    playback_->Controller().Resume();
    QApplication::restoreOverrideCursor();
}

void CRpyGraphView::DrawTrackAndLines(QPainter& painter, const QRect& rect, MFCDisplay& display) const {
    DrawTrack(painter, rect, display);
    DrawLines(painter, display);
}

void CRpyGraphView::DrawTrack(QPainter& painter, const QRect& rect, MFCDisplay& display) const {
    painter.fillRect(rect, Qt::white);
    if (!HasTrackMap()) return;
    display.SetDC(&painter);
    doc_->GetTrackPath()->DrawSurfaces(display);
}

void CRpyGraphView::DrawLines(QPainter& painter, MFCDisplay& display) const {
    if (!HasTrackMap()) return;
    const vra::TrackPath& path = *doc_->GetTrackPath();
    display.SetDC(&painter);
    const PlaybackController& playback = playback_->Controller();
    // A race shows its cars on the bare track; a playing or paused lap draws
    // its line itself as it goes.
    if (!playback.RaceMode()) path.DrawQuarterMarks(display);
    if (playback.Suspended()) return;
    if (viewBar_ && viewBar_->RaceLineOn() && doc_->RaceLine() && !playback.RaceMode()) doc_->RaceLine()->Draw(display);
    if (!LinesIdle()) return;
    for (int box = 1; box <= ViewDialog::kLapBoxes; ++box) {
        if (!viewBar_ || !viewBar_->IsLapTicked(box)) continue;
        const int slot = viewBar_->SlotOfBox(box);
        if (!doc_->IsSlotUsed(slot)) continue;
        const vra::LapSlot& lap = doc_->Slot(slot);
        if (!lap.info) continue;
        // Samples 2 to the last but one, each with its own lap's count.
        const std::size_t end = std::size_t(std::max(lap.info->sampleCount, 0));
        display.DrawLapLine(lap.points, 2, end, lap.plotter ? lap.plotter->ColourIndex() : slot);
    }
}

void CRpyGraphView::RenderPage(QPainter& painter, QSize page) const {
    PrepareForPrinting(painter, page);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kPrintFontUnits);
    painter.setFont(font);
    const QFontMetrics fm(font);
    const QString title = doc_ ? vra::Cp1252ToQString(doc_->Title()) : QString();
    painter.setPen(Qt::black);
    painter.drawText(QPoint(0, kHeadingY + fm.ascent()), QStringLiteral("   Velmar Replay Analyzer - ") + title);
    int y = kFirstLabelY;
    for (int box = 1; viewBar_ && box <= ViewDialog::kLapBoxes; ++box) {
        if (!viewBar_->IsLapTicked(box)) continue;
        const int slot = std::max(viewBar_->SlotOfBox(box), 0);
        const vra::Rgb c = vra::CRpyGraphDoc::Palette()[std::size_t(slot)];
        painter.setPen(QColor(c.red, c.green, c.blue));
        painter.drawText(QPoint(0, y + fm.ascent()), viewBar_->LapBox(box)->text());
        y += kLabelStep;
    }
    if (!HasTrackMap()) return;
    MFCDisplay print;
    print.SetPalette(vra::CRpyGraphDoc::Palette());
    print.FitToTrackEdges(doc_->GetTrackPath()->EdgeBounds(), kPrintMargin, kPrintMargin, kCanvas, kCanvas);
    DrawTrackAndLines(painter, QRect(0, 0, kCanvas, kCanvas), print);
}

void CRpyGraphView::PrintTo(QPrinter& printer) const {
    QPainter painter(&printer);
    if (!painter.isActive()) return;
    RenderPage(painter, printer.pageLayout().paintRectPixels(printer.resolution()).size());
}

QPrinter& CRpyGraphView::Printer() {
    // One printer for the whole session: what Print Setup chooses is what
    // Print and Print Preview use, and the print dialog's choices stay for
    // the next print.
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void CRpyGraphView::OnFilePrint() {
    QPrintDialog dialog(&Printer(), this);
    if (dialog.exec() == QDialog::Accepted) PrintTo(Printer());
}

void CRpyGraphView::OnFilePrintPreview() {
    QPrintPreviewDialog preview(&Printer(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { PrintTo(*p); });
    preview.exec();
}

void CRpyGraphView::OnFilePrintSetup() {
    QPageSetupDialog dialog(&Printer(), this);
    dialog.exec();
}

bool CRpyGraphView::LinesIdle() const {
    const PlaybackController& playback = playback_->Controller();
    return !playback.Suspended() && !playback.Playing() && !playback.Paused() && !playback.RaceMode();
}

std::vector<int> CRpyGraphView::ExportedLineSlots() const {
    std::vector<int> laps;
    // The picture shows the lines the map shows: none while the playback
    // owns them.
    if (!viewBar_ || !LinesIdle()) return laps;
    for (int box = 1; box <= ViewDialog::kLapBoxes; ++box)
        if (viewBar_->IsLapTicked(box)) laps.push_back(viewBar_->SlotOfBox(box));
    return laps;
}

bool CRpyGraphView::RenderTrackmapToBmp(const std::filesystem::path& path) {
    if (!doc_) return false;
    const bool written = vra::RenderTrackmapToBmp(*doc_, ExportedLineSlots(), path, doc_->GetPrompts());
    // The screen fits and draws its map afresh, as after any export.
    doc_->SetMapFitted(false);
    RequestFullRedraw();
    return written;
}

void CRpyGraphView::OnSaveTrackmapAsBmp() {
    if (!doc_) return;
    if (auto path = vra::AskTrackmapBmpPath(*doc_, doc_->GetPrompts())) RenderTrackmapToBmp(*path);
}

void CRpyGraphView::ToggleZoomTool(vra::ZoomMode mode, const QString& hint) {
    // Choosing the tool that is on turns it off; either way the hand goes.
    SetSecondaryMode(false);
    const bool on = GetZoomMode() != mode;
    SetZoomMode(on ? mode : vra::ZoomMode::Off);
    emit messageText(on ? hint : QString());
}

void CRpyGraphView::OnZoomIn() {
    ToggleZoomTool(vra::ZoomMode::In, QStringLiteral("Click to zoom in on point or drag a zoom box."));
}

void CRpyGraphView::OnZoomOut() {
    ToggleZoomTool(vra::ZoomMode::Out, QStringLiteral("Click to zoom out on point."));
}

void CRpyGraphView::OnPanningTool() {
    SetZoomMode(vra::ZoomMode::Off);
    const bool on = !GetSecondaryMode();
    SetSecondaryMode(on);
    emit messageText(on ? QStringLiteral("Use the panning tool to move the trackmap around.") : QString());
}

void CRpyGraphView::OnShowWholeTrack() {
    SetSecondaryMode(false);
    ZoomFull();
    RequestFullRedraw();
}

void CRpyGraphView::OnToggleRaceLine() {
    if (viewBar_) viewBar_->ToggleLap(0);
    RequestFullRedraw();
}

void CRpyGraphView::OnToggleDrivingLine(int lap) {
    if (viewBar_) viewBar_->ToggleLap(lap);
    RequestFullRedraw();
}

void CRpyGraphView::contextMenuEvent(QContextMenuEvent* event) {
    // The pop-up offers the main window's own commands under shorter names,
    // so it shows the same states and runs the same handlers.
    emit commandStatesNeeded();
    QMenu menu(this);
    const auto item = [&](int id, const QString& text) {
        QAction* command = commandAction_ ? commandAction_(id) : nullptr;
        QAction* entry = menu.addAction(text);
        entry->setEnabled(command && command->isEnabled());
        if (command && command->isCheckable()) {
            entry->setCheckable(true);
            entry->setChecked(command->isChecked());
        }
        if (command) connect(entry, &QAction::triggered, command, [command] { command->trigger(); });
    };
    item(vra::cmd::ZoomIn, QStringLiteral("Zoom in"));
    item(vra::cmd::ZoomOut, QStringLiteral("Zoom out"));
    item(vra::cmd::ShowWholeTrack, QStringLiteral("Show whole track"));
    item(vra::cmd::PanningTool, QStringLiteral("Panning tool"));
    menu.addSeparator();
    item(vra::cmd::ToggleRaceLine, QStringLiteral("Toggle RaceLine"));
    for (int n = 1; n <= ViewDialog::kLapBoxes; ++n)
        item(vra::cmd::ToggleLap1 + n - 1, QStringLiteral("Toggle lap %1").arg(n));
    contextMenu_ = &menu;
    menu.exec(event->globalPos());
    contextMenu_ = nullptr;
}

void CRpyGraphView::mousePressEvent(QMouseEvent* event) {
    // A zoom click rebuilds the picture: the playback waits for it.
    const vra::ZoomMode mode = GetZoomMode();
    if (event->button() == Qt::LeftButton && (mode == vra::ZoomMode::In || mode == vra::ZoomMode::Out))
        playback_->Controller().Suspend();
    CZoomView::mousePressEvent(event);
}

void CRpyGraphView::resizeEvent(QResizeEvent* event) {
    CZoomView::resizeEvent(event);
    // A paused playback brings what it follows back into the window, or a
    // smaller window could stay on bare canvas until Play.
    playback_->Controller().ViewResized();
}

void CRpyGraphView::DrawNoMapPicture(QPainter& painter) {
    // Drawn in window pixels: the picture follows the window, not the zoom.
    const QRect client = viewport()->rect();
    painter.fillRect(client, Qt::white);
    const int w = client.width();
    const int h = int(std::lround(w * 5.0 / 7.0));
    if (w > 0 && h > 0) {
        const QRect target(client.left(), client.top() + (client.height() - h) / 2, w, h);
        painter.drawImage(target, Artwork::StartPicture(QSize(w, h)));
    }
    painter.setPen(Qt::black);
    const QFontMetrics fm(painter.font());
    painter.drawText(QPoint(client.left(), client.top() + fm.ascent()), QString::fromLatin1(kStartCaption));
}

}  // namespace vra
