#pragma once
// The track map: the decoded track of the loaded laps with the driving line
// of every ticked lap, zoomed and panned through the zoom view, printable.
// Without a track it shows the welcome picture.
//
// The static picture (surfaces, marks, race line, driving lines) is drawn for
// the visible part at the current zoom into a cached image in true colour,
// and rebuilt when the document asks for a full redraw, on zoom and on
// scroll; every other paint copies the cache.

#include "gui/map/MFCDisplay.h"
#include "gui/map/PlaybackLayer.h"
#include "gui/view/CZoomView.h"

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QPrinter;

namespace vra {
class MapPlayback;
class ViewDialog;
class CRpyGraphDoc;

class CRpyGraphView : public CZoomView {
    Q_OBJECT
public:
    static constexpr int kCanvas = 10000;
    static constexpr int kScreenMargin = 50;
    static constexpr int kPrintMargin = 100;
    static constexpr const char* kStartCaption = "Velmar Replay Analyzer - version 2.32";

    explicit CRpyGraphView(QWidget* parent = nullptr);
    ~CRpyGraphView() override;

    // Neither is owned; either may be null.
    void SetDocument(vra::CRpyGraphDoc* document);
    void SetViewBar(ViewDialog* viewBar);
    vra::CRpyGraphDoc* Document() const { return doc_; }
    ViewDialog* ViewBar() const { return viewBar_; }

    // The playback of laps and races on the map (owned by the view).
    MapPlayback& Playback() { return *playback_; }
    // The surface the playback draws through: the screen's mapping, its
    // segments kept over the static picture until the next full redraw.
    PlaybackLayer& LiveDisplay();
    // Acts on a full redraw asked for since the last paint or step: the
    // static picture is rebuilt at the next paint and what the playback drew
    // goes (the cars of a race stay only while it plays or is paused).
    void TakeFullRedraw();
    // The playback drew: show it.
    void PlaybackDrew();

    // Whether a decoded track is shown (else the welcome picture).
    bool HasTrackMap() const;
    bool LapsLoaded() const;

    // The whole map over rect (painter units) with the ticked driving lines,
    // drawn through display, which the caller has fitted.
    void DrawTrackAndLines(QPainter& painter, const QRect& rect, MFCDisplay& display) const;
    // A page: heading, the ticked laps' labels in their colours, then the map
    // fitted to the page.
    void RenderPage(QPainter& painter, QSize page) const;
    void PrintTo(QPrinter& printer) const;
    // The printer that Print, Print Preview and Print Setup share.
    QPrinter& Printer();

    // The loaded lap a report or tool that reads one replay works on: slot
    // 0..4, or -1 (the user has been told why, or cancelled).
    int ChooseLoadedLap();

    // Whether the ticked laps' lines are drawn whole: not while laps play,
    // are paused or held by a zoom click (the playback draws them as it
    // goes), nor in race mode (the cars run on the bare track).
    bool LinesIdle() const;
    // The laps whose lines an exported map shows: the ticked ones, when the
    // lines are idle.
    std::vector<int> ExportedLineSlots() const;
    // Writes the map with those lines as a picture file at path; the window's
    // own map is fitted and drawn afresh afterwards.
    bool RenderTrackmapToBmp(const std::filesystem::path& path);

    // A new or emptied document: unticked boxes, whole track, fresh picture.
    void OnInitialUpdate();

    // Where the pop-up menu finds the main window's command of an id (null:
    // the entry shows disabled).
    void SetCommandSource(std::function<QAction*(int)> source) { commandAction_ = std::move(source); }
    // The pop-up menu while it is open (for tests), else null.
    QMenu* ContextMenu() const { return contextMenu_; }

    // How many times the cached picture was rebuilt (for the benchmark and
    // the tests that check that paints reuse it).
    int CacheBuilds() const { return cacheBuilds_; }

public slots:
    void OnZoomIn();
    void OnZoomOut();
    void OnShowWholeTrack();
    void OnPanningTool();
    void OnToggleRaceLine();
    void OnToggleDrivingLine(int lap);
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();
    // "Save Trackmap as BMP-file...": asks for the file and writes the map.
    void OnSaveTrackmapAsBmp();
    // The map changed: rebuild the picture at the next paint.
    void RequestFullRedraw();

signals:
    // A text for the status bar; empty for the idle text.
    void messageText(const QString& text);
    // The pop-up menu is about to copy the commands' states: bring them up
    // to date.
    void commandStatesNeeded();

protected:
    void OnDraw(QPainter& painter) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct CacheKey {
        QSize viewport;
        QSize device;
        QPoint origin;
        friend bool operator==(const CacheKey&, const CacheKey&) = default;
    };
    CacheKey CurrentKey() const;
    void ToggleZoomTool(vra::ZoomMode mode, const QString& hint);
    void RebuildCache();
    void DrawNoMapPicture(QPainter& painter);
    // The two halves of DrawTrackAndLines: the blank canvas with the track's
    // surfaces, then the quarter marks, the race line and the laps over it.
    void DrawTrack(QPainter& painter, const QRect& rect, MFCDisplay& display) const;
    void DrawLines(QPainter& painter, MFCDisplay& display) const;

    vra::CRpyGraphDoc* doc_ = nullptr;
    ViewDialog* viewBar_ = nullptr;
    MFCDisplay screen_;
    PlaybackLayer live_;
    MapPlayback* playback_ = nullptr;
    QImage cache_;
    // The window's picture of the track's surfaces alone, for the track of
    // trackLayerSerial_ at trackLayerKey_.
    QImage trackLayer_;
    CacheKey trackLayerKey_;
    std::uint64_t trackLayerSerial_ = 0;
    // Where the picture was last built, and from which track.
    CacheKey lastBuildKey_;
    std::uint64_t lastBuildSerial_ = 0;
    // The static picture with what the playback drew over it.
    QImage frame_;
    bool frameValid_ = false;
    std::size_t drawnSegments_ = 0;
    bool carsShown_ = false;
    bool fullRedraw_ = true;
    CacheKey cacheKey_;
    bool cacheValid_ = false;
    int cacheBuilds_ = 0;
    bool firstPaint_ = true;
    std::unique_ptr<QPrinter> printer_;
    std::function<QAction*(int)> commandAction_;
    QMenu* contextMenu_ = nullptr;
};

}  // namespace vra
