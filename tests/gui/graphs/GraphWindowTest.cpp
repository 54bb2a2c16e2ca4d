#include "core/graphs/GraphModel.h"
#include "gui/graphs/CGraphPanel.h"
#include "gui/graphs/CGraphWnd.h"
#include "gui/graphs/CPointViewBar.h"
#include "gui/graphs/FRuler.h"
#include "gui/graphs/GraphPropertyPages.h"

#include "PictureProbe.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace vra;
using vra::test::ColourExtent;
using vra::test::CountColour;

namespace {

struct Window {
    CGraphWnd graph{32, nullptr};
    Window() {
        graph.resize(600, 400);
        graph.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&graph));
    }
    CGraphPanel& Panel() { return *graph.Panel(); }
    GraphModel& Model() { return graph.Model(); }
};

// Answers the next modal dialog or message box by pressing a button of it.
void AnswerNextModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        if (QWidget* w = QApplication::activeModalWidget()) act(w);
    });
}

}  // namespace

TEST(GraphPanel, DrawsSeriesMarksAndADottedGridOnWhite) {
    Window w;
    const int s = w.Model().AddGraph(Rgb{255, 0, 0}, "a", 1, true, false);
    for (int x = 0; x <= 10; ++x) w.Model().AddPoint(s, x, x, 0, -1);
    w.Model().SetFlags(kPointMarks, 0);
    w.Model().SetRange(0, 10, 0, 10, 1);
    w.Model().Redraw(1);
    const QImage marked = w.Panel().Surface();
    w.Model().SetFlags(kGrid | kPointMarks, 1);
    const QImage surface = w.Panel().Surface();
    EXPECT_EQ(surface.pixelColor(surface.width() / 3, 2), QColor(Qt::white));
    EXPECT_GT(CountColour(surface, Qt::red), 0);
    // A 5 x 5 mark at the middle point.
    const QPoint mid(w.Panel().Range().XScale().ToPixel(5), w.Panel().Range().YScale().ToPixel(5));
    EXPECT_EQ(CountColour(marked.copy(QRect(mid - QPoint(2, 2), QSize(5, 5))), Qt::red), 25);
    EXPECT_LT(CountColour(marked.copy(QRect(mid - QPoint(3, 3), QSize(7, 7))), Qt::red), 49);
    // Dotted grid lines: black pixels along a tick's column, not all of them.
    const AxisTicks ticks = w.Panel().Range().XScale().ComputeTicks(5);
    ASSERT_GT(ticks.Count(), 1);
    const int x = ClampPixel(ticks.positions[1]);
    int black = 0;
    for (int y = 0; y < surface.height(); ++y) black += surface.pixelColor(x, y) == QColor(Qt::black);
    EXPECT_GT(black, surface.height() / 4);
    EXPECT_LT(black, surface.height());
}

TEST(GraphPanel, EndPointsDrawWithoutAFullRender) {
    Window w;
    w.Model().SetFlags(0, 1);
    w.Model().SetRange(0, 100, 0, 100, 1);
    const int s = w.Model().AddGraph(Rgb{0, 0, 255}, "a", 1, true, false);
    w.Model().AddPoint(s, 10, 10, 1, -1);
    w.Model().AddPoint(s, 50, 50, 1, -1);
    const int renders = w.Panel().FullRenders();
    w.Model().AddPoint(s, 90, 20, 1, -1);
    EXPECT_EQ(w.Panel().FullRenders(), renders);
    EXPECT_GT(CountColour(w.Panel().Surface(), Qt::blue), 0);
    w.Model().AddPoint(s, 30, 20, 1, -1);  // lands between
    EXPECT_EQ(w.Panel().FullRenders(), renders + 1);
}

TEST(GraphPanel, RubberBandZoomsAndAClickLeavesTheToolOff) {
    Window w;
    w.Model().SetRange(0, 100, 0, 100, 1);
    QWidget* panel = &w.Panel();
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_FALSE(w.Panel().ZoomToolActive());
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(panel, QPoint(60, 40));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(110, 80));
    EXPECT_TRUE(w.Panel().ZoomToolActive());
    w.Panel().OnGraphCommand(4102);
    EXPECT_FALSE(w.Panel().ZoomToolActive());
    // The band runs from (10, 10) to (110, 80): x from pixel 10 to pixel 110,
    // y from the value at pixel 80 (bottom) up to the value at pixel 10.
    const GraphRange r = w.Panel().GetRange();
    const double width = w.Panel().width(), height = w.Panel().height();
    EXPECT_NEAR(r.x1, 10.0 * 100 / width, 1e-9);
    EXPECT_NEAR(r.x2, 110.0 * 100 / width, 1e-9);
    EXPECT_NEAR(r.y1, (height - 80) * 100 / height, 1e-9);
    EXPECT_NEAR(r.y2, (height - 10) * 100 / height, 1e-9);

    // A flat band arms the tool, but applying it leaves the range alone.
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(20, 30));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(70, 30));
    EXPECT_TRUE(w.Panel().ZoomToolActive());
    w.Panel().OnGraphCommand(4102);
    EXPECT_FALSE(w.Panel().ZoomToolActive());
    EXPECT_EQ(w.Panel().GetRange(), r);
}

TEST(GraphPanel, ReadOutAsksTheHostOnlyWhileShownAndShiftPans) {
    Window w;
    w.Model().SetAxis("Distance", "Meter", 0, 1, 0);
    w.Model().SetRange(0, 100, 0, 10, 1);
    int asked = 0;
    w.Panel().SetHost([&](double, double) {
        ++asked;
        return std::string(", timediff=+00.100s");
    });
    w.Model().SetFlags(0, 0);
    QTest::mouseMove(&w.Panel(), QPoint(30, 30));
    EXPECT_EQ(asked, 0);
    w.Model().SetFlags(kCoordinates, 0);
    QTest::mouseMove(&w.Panel(), QPoint(40, 30));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(w.Panel().CoordinatesText(0, 0).startsWith(QStringLiteral("x=0 Meter, y=10.000 ")));
    EXPECT_TRUE(w.Panel().CoordinatesText(0, 0).endsWith(QStringLiteral(", timediff=+00.100s")));

    const double perPixel = 100.0 / w.Panel().width();
    QTest::mousePress(&w.Panel(), Qt::LeftButton, Qt::ShiftModifier, QPoint(50, 50));
    QTest::mouseRelease(&w.Panel(), Qt::LeftButton, Qt::ShiftModifier, QPoint(60, 50));
    EXPECT_NEAR(w.Panel().GetRange().x1, -10 * perPixel, 1e-9);
    EXPECT_FALSE(w.Panel().ZoomToolActive());
}

TEST(GraphRulers, SizesAtScreenResolutionAndTheirFrame) {
    EXPECT_EQ(FRuler::InchesToPixels(96, FRuler::kThickness), 16);
    EXPECT_EQ(FRuler::InchesToPixels(96, FRuler::kFontHeight), 14);
    EXPECT_EQ(FRuler::InchesToPixels(96, FRuler::kTickLength), 4);
    EXPECT_EQ(FRuler::InchesToPixels(96, FRuler::kCaptionGap), 1);
    EXPECT_EQ(FRuler::InchesToPixels(1, 0.1), 1);

    FHRuler ruler;
    ruler.SetRange(0, 5000, false);
    ruler.SetTexts(QStringLiteral("Meter"), QStringLiteral("Meter, Meter"));
    ruler.resize(400, 16);
    const QImage img = vra::test::Snapshot(ruler);
    EXPECT_EQ(img.pixelColor(18, 5), QColor(192, 192, 192));
    EXPECT_EQ(img.pixelColor(200, 15), QColor(Qt::black));            // bottom edge
    EXPECT_EQ(img.pixelColor(18, 0), QColor(Qt::white));              // top edge
    EXPECT_GT(CountColour(img.copy(17, 1, 382, 13), Qt::black), 20);  // ticks and labels

    FHRuler tiny;
    tiny.SetRange(0, 5000, false);
    tiny.resize(22, 16);  // at most T + 6 long: fill and frame only
    const QImage t = vra::test::Snapshot(tiny);
    EXPECT_EQ(CountColour(t.copy(17, 1, 3, 13), Qt::black), 0);
}

TEST(GraphWindow, ShowsItsPartsInsideItself) {
    Window w;
    EXPECT_FALSE(w.graph.Frame()->isWindow());
    const QImage shown = vra::test::Snapshot(w.graph);
    EXPECT_EQ(shown.pixelColor(5, 300), QColor(192, 192, 192));  // the vertical ruler
    EXPECT_EQ(shown.pixelColor(300, 200), QColor(Qt::white));    // the panel
}

TEST(GraphWindow, PrintsIntoARectangleBesideItsRulers) {
    Window w;
    w.Model().SetRange(0, 10, 0, 10, 1);
    QImage page(1000, 800, QImage::Format_RGB32);
    // 180 x 120 dpi: rulers of 30 and 20 pixels.
    page.setDotsPerMeterX(7087);
    page.setDotsPerMeterY(4724);
    page.fill(Qt::green);
    QPainter p(&page);
    w.graph.DrawToDC(p, QRect(0, 0, 1000, 800));
    p.end();
    EXPECT_EQ(ColourExtent(page, Qt::white, 0).bottomRight(), QPoint(999, 799));
    EXPECT_EQ(page.pixelColor(35, 500), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(29, 500), QColor(Qt::black));  // the vertical ruler's right edge
    EXPECT_EQ(page.pixelColor(500, 25), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(500, 19), QColor(Qt::black));  // the horizontal ruler's bottom edge
    int panelColumn = 0;                                     // the panel's first column: white between the grid's dots
    for (int y = 21; y < 800; ++y) panelColumn += page.pixelColor(30, y) == QColor(Qt::white);
    EXPECT_GT(panelColumn, 300);
    EXPECT_EQ(page.pixelColor(5, 300), QColor(192, 192, 192));
    EXPECT_EQ(CountColour(page, Qt::green), 0);
}

TEST(PointsBar, FollowsTheGraphAndTogglesWithItsCommand) {
    Window w;
    CPointViewBar* bar = w.graph.Frame()->Bar();
    QAbstractItemModelTester tester(bar->Rows(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    const int a = w.Model().AddGraph(Rgb{}, "a", 1, true, false);
    const int b = w.Model().AddGraph(Rgb{}, "b", 1, true, false);
    EXPECT_EQ(bar->CurrentGraph(), a);
    w.Model().AddPoint(a, 1, 2, 1, -1);
    w.Model().AddPoint(a, 0, 3, 1, -1);
    EXPECT_EQ(bar->Rows()->rowCount(), 2);
    EXPECT_EQ(bar->Rows()->data(bar->Rows()->index(0, 1), Qt::DisplayRole).toString(), QStringLiteral("3.000 "));
    EXPECT_EQ(w.Model().RemovePoint(a, 5, 1), -1);
    EXPECT_EQ(bar->Rows()->rowCount(), 2);
    w.Model().ShowPointsBar(4);
    w.Model().AddPoint(a, 5, 5, 0, -1);
    EXPECT_EQ(bar->Rows()->rowCount(), 2);
    w.Model().ShowPointsBar(8);
    EXPECT_EQ(bar->Rows()->rowCount(), 3);
    w.Model().RemovePoint(a, 0, 1);
    EXPECT_EQ(bar->Rows()->rowCount(), 2);
    w.Model().RemoveGraph(a, 1);
    EXPECT_EQ(bar->CurrentGraph(), b);
    EXPECT_EQ(bar->Rows()->rowCount(), 0);

    QDockWidget* dock = w.graph.Frame()->Dock();
    const bool shown = dock->isVisible();
    w.graph.Frame()->BarAction()->trigger();
    EXPECT_NE(dock->isVisible(), shown);
    w.Panel().OnGraphCommand(4106);
    EXPECT_EQ(dock->isVisible(), shown);
}

TEST(GraphProperties, BadDecimalsKeepTheSheetOpenAndOkCopiesBySlot) {
    Window w;
    const int a = w.Model().AddGraph(Rgb{1, 1, 1}, "a", 1, true, false);
    const int b = w.Model().AddGraph(Rgb{2, 2, 2}, "b", 1, true, false);
    w.Model().RemoveGraph(a, 1);
    GraphPropertySheet sheet(nullptr);
    w.graph.AddPropertyPages(sheet);
    auto* axis = qobject_cast<CAxisPropertyPage*>(sheet.Tabs()->widget(0));
    auto* graphs = qobject_cast<CGraphicsPropertyPage*>(sheet.Tabs()->widget(1));
    ASSERT_TRUE(axis && graphs);
    axis->findChildren<QLineEdit*>()[0]->setText(QStringLiteral("11"));
    QString told;
    AnswerNextModal([&](QWidget* m) {
        if (auto* box = qobject_cast<QMessageBox*>(m)) {
            told = box->text();
            box->accept();
        }
    });
    EXPECT_FALSE(axis->Validate());
    EXPECT_EQ(told, QStringLiteral("Please enter an integer between 0 and 10."));
    ASSERT_EQ(graphs->Copies().size(), 1u);
    graphs->ToggleHidden();
    w.graph.OnPropertiesClosed(false);
    EXPECT_TRUE(w.Model().GetGraph(b)->visible);
    GraphPropertySheet again(nullptr);
    w.graph.AddPropertyPages(again);
    qobject_cast<CGraphicsPropertyPage*>(again.Tabs()->widget(1))->ToggleHidden();
    w.graph.OnPropertiesClosed(true);
    EXPECT_FALSE(w.Model().GetGraph(b)->visible);
}

TEST(GraphProperties, SeriesEntryPaintsSwatchRingAndNameInItsStateColours) {
    QComboBox combo;
    combo.addItem(QStringLiteral("MMMM"));
    combo.setItemData(0, QColor(10, 200, 30), Qt::DecorationRole);
    SeriesItemDelegate delegate;
    QStyleOptionViewItem option;
    option.palette = combo.palette();
    option.rect = QRect(0, 0, 120, 20);
    EXPECT_EQ(delegate.sizeHint(option, combo.model()->index(0, 0)), QSize(120, 20));
    const QColor base = option.palette.color(QPalette::Base), highlight = option.palette.color(QPalette::Highlight);
    const QColor highText = option.palette.color(QPalette::HighlightedText);
    auto paint = [&](bool selected) {
        QImage image(120, 20, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        option.state = selected ? QStyle::State_Selected : QStyle::State_None;
        QPainter p(&image);
        delegate.paint(&p, option, combo.model()->index(0, 0));
        return image;
    };
    const QImage on = paint(true);
    EXPECT_EQ(on.pixelColor(0, 0), base);
    EXPECT_EQ(on.pixelColor(119, 19), base);
    EXPECT_EQ(on.pixelColor(1, 1), highlight);
    EXPECT_EQ(on.pixelColor(2, 2), QColor(10, 200, 30));
    EXPECT_EQ(on.pixelColor(21, 17), QColor(10, 200, 30));
    EXPECT_EQ(on.pixelColor(22, 10), highlight);
    // The name of a selected entry is in the highlighted-text colour, never black.
    const QRect name(25, 3, 95, 16);
    EXPECT_GT(CountColour(on.copy(name), highText), 0);
    EXPECT_EQ(CountColour(on.copy(name), Qt::black), 0);
    const QImage off = paint(false);
    EXPECT_EQ(off.pixelColor(1, 1), base);
    EXPECT_GT(CountColour(off.copy(name), option.palette.color(QPalette::Text)), 0);
}
