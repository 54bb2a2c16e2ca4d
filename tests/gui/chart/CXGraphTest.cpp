#include "gui/chart/CXGraph.h"

#include "core/chart/ChartLayout.h"
#include "gui/chart/ChartRenderer.h"

#include "PictureProbe.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace vra {
namespace {

// The chart of the worked example on screen: 400 x 300, one curve from
// (0, 0) to (100, 100), no legend.
struct ShownChart {
    CXGraph graph;
    ShownChart() {
        graph.resize(400, 300);
        graph.model().legend = false;
        const Point2D pts[] = {{0, 0}, {100, 100}};
        graph.SetData(pts, 2, 0, 0, 0);
        graph.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&graph));
        Paint();
    }
    // Lays the chart out as the screen shows it.
    void Paint() { (void)graph.grab(); }
    void Send(QEvent::Type type, IPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(p.x, p.y), graph.mapToGlobal(QPointF(p.x, p.y)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&graph, &e);
    }
    void Drag(IPoint from, IPoint to) {
        Send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        Send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    void Click(IPoint p) {
        Send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    }
    std::vector<int> Messages(QSignalSpy& spy) {
        QCoreApplication::processEvents();
        std::vector<int> out;
        for (const auto& args : spy) out.push_back(args.at(0).toInt());
        return out;
    }
};

TEST(CXGraph, PaintsBackgroundFrameAndPlot) {
    ShownChart c;
    c.graph.model().frameColour = FromColorRef(0x0000FF);
    c.graph.GetXAxis(0).showMarkers = false;
    c.graph.GetYAxis(0).showMarkers = false;
    c.graph.GetXAxis(0).showGrid = false;
    c.graph.GetYAxis(0).showGrid = false;
    const QImage image = test::Snapshot(c.graph);
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(6, 6), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(80, 100), QColor(240, 240, 240));
    // The curve in its table colour across the plot.
    const Rect plot = c.graph.model().plotRect;
    const QImage inside = image.copy(plot.left, plot.top, plot.width(), plot.height());
    EXPECT_GT(test::CountColour(inside, ToQColor(ChartModel::kCurveColours[0])), plot.height() / 2);
}

// A curve of 20,000 points across 400 x 300 pixels: about fifty a column.
struct DenseChart {
    ChartModel model;
    QtTextMeasurer measurer;
    DenseChart() {
        model.legend = false;
        std::vector<Point2D> pts;
        for (int i = 0; i < 20000; ++i) pts.push_back({i / 20000.0, std::sin(i * 0.0137) + 0.3 * std::sin(i * 0.9)});
        model.SetData(pts.data(), int(pts.size()), 0, 0, 0);
    }
    QImage Picture(bool reduce, bool mono, int w = 400, int h = 300) {
        QImage image(w, h, QImage::Format_RGB32);
        QPainter painter(&image);
        CDCEx dc(painter);
        dc.monochrome = mono;
        ChartLayout::Run(model, measurer, {0, 0, w, h}, reduce);
        ChartRenderer::Render(model, nullptr, dc);
        return image;
    }
};

// Lines paint their start and stop one pixel short of their end in every
// direction: a y axis runs from its origin up to just below its top, where
// the arrow's first line has no length and paints nothing.
TEST(CXGraph, LinesPaintTheirStartAndNotTheirEnd) {
    auto painted = [](IPoint a, IPoint b) {
        QImage image(12, 12, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            CDCEx dc(painter);
            dc.SetPen(0, 1, Qt::red);
            dc.Line(a, b);
        }
        std::vector<IPoint> out;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                if (image.pixel(x, y) == qRgb(255, 0, 0)) out.push_back({x, y});
        return out;
    };
    EXPECT_EQ(painted({5, 9}, {5, 6}), (std::vector<IPoint>{{5, 7}, {5, 8}, {5, 9}}));
    EXPECT_EQ(painted({5, 6}, {5, 9}), (std::vector<IPoint>{{5, 6}, {5, 7}, {5, 8}}));
    EXPECT_EQ(painted({9, 5}, {6, 5}), (std::vector<IPoint>{{7, 5}, {8, 5}, {9, 5}}));
    EXPECT_TRUE(painted({4, 4}, {4, 4}).empty());

    ChartModel model;
    QtTextMeasurer measurer;
    model.legend = false;
    const Point2D pts[] = {{0, 0}, {100, 100}};
    model.SetData(pts, 2, 0, 0, 0);
    auto& y = model.GetYAxis(0);
    y.placement = 1;
    y.colour = Rgb{255, 0, 0};
    QImage image(400, 300, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        CDCEx dc(painter);
        ChartLayout::Run(model, measurer, {0, 0, 400, 300});
        ChartRenderer::Render(model, nullptr, dc);
    }
    EXPECT_EQ(image.pixel(y.originX, y.originY), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(y.originX, y.top + 1), qRgb(255, 0, 0));
    EXPECT_NE(image.pixel(y.originX, y.top), qRgb(255, 0, 0));
}

// Curves on the screen, like single lines, paint their first point and stop
// one pixel short of their last, whichever way their end lines run.
TEST(CXGraph, CurvesPaintTheirFirstPointAndNotTheirLast) {
    auto draw = [](std::vector<Point2D> pts, std::vector<IPoint>& run) {
        ChartModel model;
        QtTextMeasurer measurer;
        model.legend = false;
        model.SetData(pts.data(), int(pts.size()), 0, 0, 0);
        model.GetCurve(0).colour = Rgb{255, 0, 0};
        // Clear of the axes, which are drawn over the curves.
        model.GetXAxis(0).autoscale = false;
        model.GetYAxis(0).autoscale = false;
        model.GetXAxis(0).SetRange(-50, 150, 50);
        model.GetYAxis(0).SetRange(-50, 150, 50);
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            CDCEx dc(painter);
            ChartLayout::Run(model, measurer, {0, 0, 400, 300});
            ChartRenderer::Render(model, nullptr, dc);
        }
        run = model.GetCurve(0).runs.at(0);
        return image;
    };
    const QRgb red = qRgb(255, 0, 0);
    auto at = [](const QImage& image, IPoint p, int dx, int dy) { return image.pixel(p.x + dx, p.y + dy); };
    std::vector<IPoint> run;
    // Out to the right, then back to the left: the last point is left out,
    // the pixel before it painted.
    QImage image = draw({{0, 0}, {100, 50}, {50, 50}}, run);
    ASSERT_EQ(run.size(), 3u);
    ASSERT_EQ(run[1].y, run[2].y);
    EXPECT_EQ(at(image, run[0], 0, 0), red);
    EXPECT_NE(at(image, run[2], 0, 0), red);
    EXPECT_EQ(at(image, run[2], 1, 0), red);
    // Up first, then to the right: the first point is painted.
    image = draw({{0, 0}, {0, 100}, {100, 100}}, run);
    ASSERT_EQ(run.size(), 3u);
    ASSERT_EQ(run[0].x, run[1].x);
    EXPECT_EQ(at(image, run[0], 0, 0), red);
    EXPECT_EQ(at(image, run[0], 0, -1), red);
    EXPECT_NE(at(image, run[2], 0, 0), red);
    EXPECT_EQ(at(image, run[2], -1, 0), red);
    // One line running up: its start painted, its end not.
    image = draw({{50, 0}, {50, 100}}, run);
    ASSERT_EQ(run.size(), 2u);
    EXPECT_EQ(at(image, run[0], 0, 0), red);
    EXPECT_NE(at(image, run[1], 0, 0), red);
    EXPECT_EQ(at(image, run[1], 0, 1), red);
}

TEST(CXGraph, MonochromeDrawsCurvesBlackAndDenseColumnsLookTheSame) {
    DenseChart c;
    const QImage full = c.Picture(false, false);
    EXPECT_EQ(full, c.Picture(true, false));
    const QImage mono = c.Picture(true, true);
    EXPECT_EQ(test::CountColour(mono, ToQColor(ChartModel::kCurveColours[0])), 0);
    EXPECT_LT(test::CountColour(mono, QColor(240, 240, 240)), 100);
    EXPECT_GT(test::CountColour(mono, Qt::black), test::CountColour(full, Qt::black));
}

TEST(CXGraph, DenseColumnsOfPatternedWideOrFilledCurvesLookTheSame) {
    struct Pen {
        int style, width;
        bool fill;
    };
    for (const Pen pen : {Pen{1, 1, false}, Pen{2, 1, false}, Pen{4, 1, false}, Pen{0, 3, false}, Pen{0, 1, true}}) {
        DenseChart c;
        CXGraphDataSerie& curve = c.model.curves[0];
        curve.penStyle = pen.style;
        curve.lineWidth = pen.width;
        curve.fill = pen.fill;
        EXPECT_EQ(c.Picture(false, false), c.Picture(true, false)) << pen.style << " " << pen.width << " " << pen.fill;
    }
}

// A repaint reuses the curves' last layout; every change that moves a pixel
// must show as it would on a chart laid out from nothing.
TEST(CXGraph, RepaintsShowEveryChangeAsAFreshLayoutWould) {
    DenseChart c;
    auto fresh = [&](int w, int h) {
        for (auto& curve : c.model.curves) curve.ClearLayout();
        return c.Picture(true, false, w, h);
    };
    const QImage before = c.Picture(true, false);
    std::vector<Point2D> pts(c.model.curves[0].points);
    for (auto& p : pts) p.y = -p.y;
    std::vector<std::function<void()>> changes = {
        [&] { c.model.SetData(pts.data(), int(pts.size()), 0, 0, 0); },
        [&] { c.model.xAxes[0].autoscale = false, c.model.xAxes[0].SetRange(0.25, 0.75, 0.05); },
        [&] { c.model.curves[0].lineWidth = 3; },
        [&] { c.model.curves[0].lineWidth = 1, c.model.curves[0].showMarkers = true; },
        [&] { c.model.curves[0].markerSize = 4; },
        [&] { c.model.legend = true; },
    };
    QImage last = before;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        changes[i]();
        const QImage now = c.Picture(true, false);
        EXPECT_NE(now, last) << "change " << i;
        EXPECT_EQ(now, fresh(400, 300)) << "change " << i;
        last = now;
    }
    EXPECT_EQ(c.Picture(true, false, 300, 200), fresh(300, 200));
    c.model.curves[0].visible = false;
    (void)c.Picture(true, false);
    c.model.curves[0].visible = true;
    EXPECT_EQ(c.Picture(true, false), fresh(400, 300));
}

TEST(CXGraph, PrintsOnePageNamedGraph) {
    ShownChart c;
    const Rect screenPlot = c.graph.model().plotRect;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chart.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    c.graph.PrintTo(printer);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray pdf = f.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    const char title[] = {'\xfe', '\xff', 0, 'G', 0, 'r', 0, 'a', 0, 'p', 0, 'h'};
    const QByteArray utf16(title, sizeof title);
    EXPECT_TRUE(pdf.contains("Title (Graph)") || pdf.contains(utf16) || pdf.contains("<dc:title>"));
    // The screen picture comes back after printing.
    c.Paint();
    EXPECT_EQ(c.graph.model().plotRect, screenPlot);
    EXPECT_EQ(CDCEx::ComputeFactor(96, 600), 6.25);
    EXPECT_EQ(CDCEx::ComputeFactor(96, 0), 1.0);
    EXPECT_NEAR(CDCEx::ComputeFactor(96, 72), 96.0 / 72, 1e-12);
}

TEST(CXGraph, PrintDialogOffersPrintingToAPdfFile) {
    QPrinter printer;
    QPrintDialog print(&printer);
    CXGraph::SetUpPrintDialog(print);
    EXPECT_TRUE(print.testOption(QAbstractPrintDialog::PrintToFile));
    print.show();
    auto* printers = print.findChild<QComboBox*>(QStringLiteral("printers"));
    ASSERT_NE(printers, nullptr);
    EXPECT_GE(printers->findText(QStringLiteral("PDF"), Qt::MatchContains), 0);
    print.reject();
}

TEST(CXGraph, DragPansAndBandZooms) {
    ShownChart c;
    c.graph.Command(chartcmd::kPan);
    const double perPixel = 100.0 / c.graph.GetXAxis(0).length;
    c.Drag({100, 100}, {160, 100});
    EXPECT_NEAR(c.graph.GetXAxis(0).curMin, -60 * perPixel, 1e-9);

    ShownChart z;
    QSignalSpy spy(&z.graph, &CXGraph::chartMessage);
    z.graph.Command(chartcmd::kZoom);
    z.graph.GetXAxis(0).autoscale = false;
    z.graph.GetYAxis(0).autoscale = false;
    const double expectedMax = z.graph.GetXAxis(0).GetValueForPos(200);
    z.Drag({100, 50}, {114, 150});
    EXPECT_TRUE(z.Messages(spy).empty());
    z.Drag({100, 50}, {200, 150});
    EXPECT_EQ(z.Messages(spy), std::vector<int>{chartmsg::kZoomed});
    EXPECT_NEAR(z.graph.GetXAxis(0).curMax, expectedMax, 1e-9);
}

TEST(CXGraph, WithoutDoubleBufferingTheBandInvertsEveryOtherFramePixel) {
    ShownChart c;
    c.graph.model().doubleBuffer = false;
    c.graph.Command(chartcmd::kZoom);
    const QImage before = test::Snapshot(c.graph).convertToFormat(QImage::Format_RGB32);
    c.Send(QEvent::MouseButtonPress, {100, 50}, Qt::LeftButton, Qt::LeftButton);
    c.Send(QEvent::MouseMove, {200, 150}, Qt::NoButton, Qt::LeftButton);
    const QImage during = test::Snapshot(c.graph).convertToFormat(QImage::Format_RGB32);
    const Rect band = c.graph.controller().band();
    ASSERT_EQ(band, (Rect{100, 50, 200, 150}));
    int inverted = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x) {
            const bool frame = band.contains(x, y) && !band.inflated(-1, -1).contains(x, y);
            const QRgb was = before.pixel(x, y) & 0xFFFFFF, now = during.pixel(x, y) & 0xFFFFFF;
            if (frame && (x + y) % 2 == 0) {
                EXPECT_EQ(now, was ^ 0xFFFFFF) << x << "," << y;
                ++inverted;
            } else {
                EXPECT_EQ(now, was) << x << "," << y;
            }
        }
    EXPECT_EQ(inverted, 198);  // half of the 396 frame pixels
}

TEST(CXGraph, CursorReadsOutNotesAndDeleteSparesTheReadOut) {
    ShownChart c;
    c.graph.Command(chartcmd::kCursor);
    const IPoint point{c.graph.GetXAxis(0).GetPointForValue({50, 50}).x,
                       c.graph.GetYAxis(0).GetPointForValue({0, 50}).y};
    // Point 1 is (100, 100); the cursor snaps near the middle of nothing, so
    // aim at the last point instead.
    const IPoint last{c.graph.GetXAxis(0).GetPointForValue({100, 0}).x - 1,
                      c.graph.GetYAxis(0).GetPointForValue({0, 100}).y + 3};
    c.Send(QEvent::MouseMove, last, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(c.graph.model().ReadOut().visible);
    EXPECT_NE(c.graph.model().ReadOut().text.find("[01] :"), std::string::npos);
    c.Click(last);
    c.Paint();
    ASSERT_EQ(c.graph.model().objects.size(), 2u);
    const auto& note = *c.graph.model().objects[1];
    const int y100 = c.graph.GetYAxis(0).GetPointForValue({0, 100}).y;
    EXPECT_EQ(note.rect.top, y100 - 20);
    (void)point;

    // Clicking the read-out and pressing Delete leaves it there.
    c.graph.Command(chartcmd::kNormal);
    c.graph.model().ReadOut().visible = true;
    c.Click({150, 150});
    QTest::keyClick(&c.graph, Qt::Key_Delete);
    EXPECT_EQ(&*c.graph.model().objects[0], &c.graph.model().ReadOut());
    EXPECT_EQ(c.graph.model().objects.size(), 2u);
}

TEST(CXGraph, CursorReadOutFollowsAKeyAtTheNextPaint) {
    ShownChart c;
    c.graph.Command(chartcmd::kCursor);
    const Rect plot = c.graph.model().plotRect;
    c.Send(QEvent::MouseMove, {plot.left, plot.bottom}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(c.graph.model().ReadOut().text, " X[01] :   0.0  \r\n Y[01] :   0.0  \r\n  [01] :   0.0,   0.0\r\n");
    QTest::keyClick(&c.graph, Qt::Key_Left);  // x 0 ... 100 becomes 10 ... 110
    c.Paint();
    EXPECT_EQ(c.graph.model().ReadOut().text, " X[01] :  10.0  \r\n Y[01] :   0.0  \r\n  [01] :  10.0,   0.0\r\n");
}

TEST(CXGraph, WithoutInteractivityRightClicksStillReachTheOwner) {
    ShownChart c;
    c.graph.model().interactive = false;
    QSignalSpy spy(&c.graph, &CXGraph::chartMessage);
    int sheets = 0;
    CXGraphObject* menuFor = nullptr;
    c.graph.openSheet = [&](ChartEvent::Target, int) { ++sheets; };
    c.graph.objectMenu = [&](CXGraphObject* o) { menuFor = o; };
    QTest::mouseDClick(&c.graph, Qt::LeftButton, {}, QPoint(300, 30));
    EXPECT_EQ(sheets, 0);
    QTest::mouseClick(&c.graph, Qt::RightButton, {}, QPoint(300, 30));
    EXPECT_EQ(c.Messages(spy), std::vector<int>{chartmsg::kRightButtonUp});
    auto* hint = c.graph.InsertLabel({200, 100, 260, 140}, "hint");
    c.Click({210, 110});
    QTest::mouseClick(&c.graph, Qt::RightButton, {}, QPoint(210, 110));
    EXPECT_EQ(menuFor, hint);
}

}  // namespace
}  // namespace vra
