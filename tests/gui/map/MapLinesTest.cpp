// The driving lines and the race line of the map, drawn from what the
// document holds: the lap points worked out when a lap is added and the race
// line read with the track.

#include "core/document/CRpyGraphDoc.h"
#include "core/document/LapLinePlotter.h"
#include "core/replay/GetRpyInfo.h"
#include "core/settings/AppSettings.h"
#include "core/track/TrackPath.h"
#include "gui/map/CRpyGraphView.h"
#include "gui/map/MFCDisplay.h"
#include "gui/map/ViewDialog.h"

#include "simkit/replay/DemoSim.h"
#include "simkit/replay/ReplayBuilder.h"
#include "simkit/track/DemoTrack.h"
#include "support/ScratchDir.h"
#include "support/platform/FakeDesktop.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include "PictureProbe.h"

#include <QApplication>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

namespace vra::test {
namespace {

QColor LapColour(int slot) {
    const Rgb c = kMapPalette[std::size_t(slot)];
    return QColor(c.red, c.green, c.blue);
}

// Pixels that differ between two pictures of the same size, and how many of
// them are white in the first.
struct Difference {
    int changed = 0;
    int whiteInFirst = 0;
};
Difference Compare(const QImage& a, const QImage& b) {
    Difference d;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                ++d.changed;
                d.whiteInFirst += QColor(a.pixel(x, y)) == QColor(Qt::white);
            }
    return d;
}

class MapLines : public ::testing::Test {
protected:
    static constexpr int kHoleDriver = 1;
    static constexpr int kShortHoleDriver = 2;
    static constexpr QSize kPicture{900, 700};

    void SetUp() override {
        std::ofstream(root_ / "VELMAR.exe") << "exe";
        ASSERT_TRUE(simkit::WriteDemoTrack(root_));
        // Three cars weaving across the road; two of them lose their records
        // for a while in lap 2: two seconds and a single frame.
        simkit::ReplayBuilder b;
        b.drivers(3).session(3, 3, 46000).trackLength(simkit::kDemoTrackLength);
        b.desc.settings.trackName = std::string(simkit::kDemoTrackName);
        b.desc.lateral = [](int driver, double ms) { return 4.0 * std::sin(ms / 2500.0 + driver) - 1.0; };
        const auto& cars = b.desc.sessions[0].cars;
        const double longHole = double(simkit::ReplayBuilder::LapStartMs(cars[kHoleDriver], 2)) + 9000.0;
        const double shortHole = double(simkit::ReplayBuilder::LapStartMs(cars[kShortHoleDriver], 2)) + 21000.0;
        b.desc.compactHook = [=](const simkit::FrameContext& ctx, int driver, simkit::CompactRecordFields& f) {
            const bool lost =
                (driver == kHoleDriver && ctx.sessionMs >= longHole && ctx.sessionMs < longHole + 2000) ||
                (driver == kShortHoleDriver && ctx.sessionMs >= shortHole && ctx.sessionMs < shortHole + 1000.0 / 36.0);
            if (lost) f.carIdByte = 0xEE;  // no car of this replay
        };
        std::filesystem::create_directories(root_ / "replay");
        ASSERT_TRUE(b.writeFile(replay_));

        store_.preset(SettingsKey::Simulation, SettingsScope::System, "Directory", root_.string());
        settings_ = std::make_unique<AppSettings>(store_);
        doc_ = std::make_unique<CRpyGraphDoc>(*settings_, prompts_, waitBox_);
        for (int driver = 0; driver < 3; ++driver) {
            prompts_.lapAnswer(LapChoice{driver, 3, 2});
            doc_->OnOpenDocument(replay_);
        }
        ASSERT_EQ(doc_->LapCount(), 3);
        ASSERT_GT(doc_->Slot(kHoleDriver).info->missingCount, 60);
        ASSERT_GT(doc_->Slot(kShortHoleDriver).info->missingCount, 0);

        std::vector<ViewDialog::LapEntry> laps;
        for (int slot = 0; slot < doc_->LapCount(); ++slot) laps.push_back({slot, "lap", {}});
        bar_.UpdateLapControls(laps);
        view_.SetDocument(doc_.get());
        view_.SetViewBar(&bar_);
        view_.SetPrompts(&prompts_);
    }

    // The map over the whole canvas into a picture, the canvas scaled by zoom
    // and shifted by offset (device pixels), as the view maps it.
    template <class Draw>
    QImage Picture(double zoom, QPoint offset, Draw draw) const {
        QImage image(kPicture, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setWindow(0, 0, CRpyGraphView::kCanvas, CRpyGraphView::kCanvas);
        const int side = int(std::lround(image.height() * zoom));
        painter.setViewport(offset.x(), offset.y(), side, side);
        MFCDisplay display;
        display.FitToTrackEdges(doc_->GetTrackPath()->EdgeBounds(), CRpyGraphView::kScreenMargin,
                                CRpyGraphView::kScreenMargin, CRpyGraphView::kCanvas, CRpyGraphView::kCanvas);
        draw(painter, display);
        return image;
    }

    const ScratchDir scratch_{"maplines"};
    const std::filesystem::path root_ = scratch_.path();
    const std::filesystem::path replay_ = root_ / "replay" / "Lines.rpy";
    MemorySettingsStore store_;
    std::unique_ptr<AppSettings> settings_;
    ScriptedPrompts prompts_;
    RecordingWaitBox waitBox_;
    std::unique_ptr<CRpyGraphDoc> doc_;
    ViewDialog bar_;
    CRpyGraphView view_;
};

TEST_F(MapLines, EachLapDrawsTheSamePixelsAsOneLineAsSegmentBySegmentThroughItsPlotter) {
    for (int box = 1; box <= 3; ++box) bar_.SetLapTicked(box, true);
    const QRect canvas(0, 0, CRpyGraphView::kCanvas, CRpyGraphView::kCanvas);
    // The whole track, the stretch where car 2's records are missing close
    // up, and so close that most of each line lies outside the picture.
    const LapPoints& holey = doc_->Slot(kHoleDriver).points;
    std::size_t hole = 3;
    while (hole < holey.Size() && holey.Placed(hole)) ++hole;
    ASSERT_LT(hole, holey.Size());
    auto around = [&](std::size_t sample, double zoom) {
        MFCDisplay display;
        display.FitToTrackEdges(doc_->GetTrackPath()->EdgeBounds(), CRpyGraphView::kScreenMargin,
                                CRpyGraphView::kScreenMargin, CRpyGraphView::kCanvas, CRpyGraphView::kCanvas);
        DevicePoint at;
        display.MapPoint(holey.At(sample), at);
        const double pixels = kPicture.height() * zoom / CRpyGraphView::kCanvas;
        return std::pair{zoom,
                         QPoint(int(kPicture.width() / 2 - at.x * pixels), int(kPicture.height() / 2 - at.y * pixels))};
    };
    const std::pair<double, QPoint> views[] = {{1.0, {0, 0}}, around(hole - 1, 6.0), around(hole / 3, 80.0)};
    for (const auto& [zoom, offset] : views) {
        const QImage lines = Picture(zoom, offset, [&](QPainter& p, MFCDisplay& d) {
            view_.DrawTrackAndLines(p, canvas, d);  // the view's own way
        });
        const QImage segments = Picture(zoom, offset, [&](QPainter& p, MFCDisplay& d) {
            for (int box = 1; box <= 3; ++box) bar_.SetLapTicked(box, false);
            view_.DrawTrackAndLines(p, canvas, d);
            for (int box = 1; box <= 3; ++box) bar_.SetLapTicked(box, true);
            d.SetDC(&p);
            for (int slot = 0; slot < 3; ++slot) {
                const GetRpyInfo& info = *doc_->Slot(slot).info;
                LapLinePlotter plotter(doc_->GetTrackPath(), slot);
                for (int i = 2; i < info.sampleCount; ++i) {
                    const auto u = std::size_t(i);
                    if (info.distanceM[u] == 0.0 && info.lateralM[u] == 0.0) continue;
                    plotter.PlotPoint(d, info.distanceM[u], info.lateralM[u]);
                }
            }
        });
        EXPECT_EQ(Compare(lines, segments).changed, 0) << "zoom " << zoom;
        for (int slot = 0; slot < 3; ++slot)
            EXPECT_GT(CountColour(lines, LapColour(slot)), 300) << "zoom " << zoom << " lap " << slot;
    }
}

TEST_F(MapLines, TheRaceLineIsReadWithTheTrackAndStillDrawnAfterItsFileIsGone) {
    ASSERT_NE(doc_->RaceLine(), nullptr);
    ASSERT_TRUE(std::filesystem::remove(root_ / "tracks" / std::string(simkit::kDemoTrackFolder) / "raceline.lp"));
    view_.resize(800, 600);
    view_.show();
    QApplication::processEvents();
    auto grab = [&](bool raceLine) {
        bar_.SetRaceLine(raceLine);
        view_.RequestFullRedraw();
        view_.viewport()->repaint();
        return Snapshot(*view_.viewport());
    };
    // At the whole track, zoomed in twice, and scrolled: the race line (white
    // on the road) is what the pictures with and without it differ by.
    auto expectRaceLine = [&](const char* where) {
        const QImage with = grab(true);
        const QImage without = grab(false);
        const Difference d = Compare(with, without);
        EXPECT_GT(d.changed, 200) << where;
        EXPECT_EQ(d.whiteInFirst, d.changed) << where;
    };
    expectRaceLine("whole track");
    const QImage whole = grab(false);
    const QPoint centre = view_.GetLogicalCenterPoint();
    ASSERT_TRUE(view_.ZoomByFactor(centre, 1.25f));
    ASSERT_TRUE(view_.ZoomByFactor(centre, 1.25f));
    expectRaceLine("zoomed in");
    ASSERT_TRUE(view_.PanStep(PanDirection::Down, 120));
    ASSERT_TRUE(view_.PanStep(PanDirection::Right, 120));
    expectRaceLine("scrolled");
    // Back at the whole track the picture is as it was: nothing of the
    // close-ups stays behind in the rebuilt picture.
    ASSERT_TRUE(view_.ZoomFull());
    EXPECT_EQ(Compare(grab(false), whole).changed, 0);
}

TEST_F(MapLines, ARedrawForTheLinesAloneShowsWhatAViewDrawingEverythingAfreshShows) {
    // The view keeps the track's surfaces between redraws of its lines; a
    // view made at the end draws all of its picture for the first time.
    auto zoom = [](CRpyGraphView& v) {
        const QPoint centre = v.GetLogicalCenterPoint();
        ASSERT_TRUE(v.ZoomByFactor(centre, 1.25f));
        ASSERT_TRUE(v.ZoomByFactor(centre, 1.25f));
        ASSERT_TRUE(v.PanStep(PanDirection::Right, 120));
    };
    auto show = [&](CRpyGraphView& v) {
        v.SetDocument(doc_.get());
        v.SetViewBar(&bar_);
        v.SetPrompts(&prompts_);
        v.resize(800, 600);
        v.show();
        QApplication::processEvents();
    };
    auto grab = [](CRpyGraphView& v) {
        v.RequestFullRedraw();
        v.viewport()->repaint();
        return Snapshot(*v.viewport());
    };
    show(view_);
    for (const bool zoomed : {false, true}) {
        const char* where = zoomed ? "zoomed in and scrolled" : "whole track";
        if (zoomed) zoom(view_);
        for (int box = 1; box <= 3; ++box) bar_.SetLapTicked(box, true);
        grab(view_);
        bar_.SetLapTicked(2, false);
        const QImage kept = grab(view_);
        CRpyGraphView fresh;
        show(fresh);
        if (zoomed) zoom(fresh);
        EXPECT_EQ(Compare(kept, grab(fresh)).changed, 0) << where;
        EXPECT_GT(CountColour(kept, LapColour(2)), 100) << where;
        EXPECT_EQ(CountColour(kept, LapColour(1)), 0) << where;
    }
}

TEST_F(MapLines, SurfacesLeftOutOfAClippedPictureWouldHaveChangedNoneOfItsPixels) {
    // A clip inside the picture round a point of the road, so that shapes are
    // left out on every side of it and those crossing its edges are drawn; at
    // the whole track, close up, and so close that most of the track lies
    // outside.
    MFCDisplay fit;
    fit.FitToTrackEdges(doc_->GetTrackPath()->EdgeBounds(), CRpyGraphView::kScreenMargin, CRpyGraphView::kScreenMargin,
                        CRpyGraphView::kCanvas, CRpyGraphView::kCanvas);
    DevicePoint on;  // a point on the road: the close-ups centre on it
    fit.MapPoint(doc_->Slot(0).points.At(doc_->Slot(0).points.Size() / 3), on);
    auto around = [&](double zoom) {
        const double pixels = kPicture.height() * zoom / CRpyGraphView::kCanvas;
        return std::pair{zoom,
                         QPoint(int(kPicture.width() / 2 - on.x * pixels), int(kPicture.height() / 2 - on.y * pixels))};
    };
    const std::pair<double, QPoint> views[] = {{1.0, {0, 0}}, around(6.0), around(80.0)};
    for (const auto& [zoom, offset] : views) {
        const double pixels = kPicture.height() * zoom / CRpyGraphView::kCanvas;
        const QPoint road(offset.x() + int(on.x * pixels), offset.y() + int(on.y * pixels));
        // Small clips side by side, so that many shapes end near an edge.
        for (int k = 0; k < 6; ++k) {
            const QRect clip(road + QPoint(-150 + 50 * k, -40 + 7 * k), QSize(47, 60));
            auto surfaces = [&](bool cull) {
                return Picture(zoom, offset, [&](QPainter& p, MFCDisplay& d) {
                    p.setViewTransformEnabled(false);  // the clip in pixels
                    p.setClipRect(clip);
                    p.setViewTransformEnabled(true);
                    d.SetDC(&p);
                    if (cull) d.SetCullRect(clip, p.combinedTransform());
                    doc_->GetTrackPath()->DrawSurfaces(d);
                });
            };
            EXPECT_EQ(Compare(surfaces(false), surfaces(true)).changed, 0) << "zoom " << zoom << " clip " << k;
        }
    }
}

}  // namespace
}  // namespace vra::test
