#include "gui/chart/CAxisDlg.h"
#include "gui/chart/CChartDlg.h"
#include "gui/chart/CChartPage.h"
#include "gui/chart/CColorButton.h"
#include "gui/chart/CCurveDlg.h"
#include "gui/chart/CDCEx.h"
#include "gui/chart/CLabelDlg.h"
#include "gui/chart/CMovingAvgDlg.h"
#include "gui/chart/CTrendDlg.h"
#include "gui/chart/CXGraph.h"
#include "gui/chart/ChartDialogKit.h"

#include <QApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace vra {
namespace {

// Dialogs answer from a script instead of a user; messages are recorded.
struct ScriptedDialogs {
    std::vector<QString> messages;
    std::function<void(QDialog&)> fill;
    ChartDialogHooks saved = ChartDialogs();
    ScriptedDialogs() {
        ChartDialogs().message = [this](QWidget*, const QString& text) { messages.push_back(text); };
        ChartDialogs().run = [this](QDialog& d) {
            if (fill) fill(d);
            d.accept();
            return d.result() == QDialog::Accepted;
        };
    }
    ~ScriptedDialogs() { ChartDialogs() = saved; }
};

struct Chart {
    CXGraph graph;
    Chart() {
        graph.resize(400, 300);
        const Point2D pts[] = {{0, 1}, {1, 3}, {3, 4}};
        graph.SetData(pts, 3, 0, 0, 0)->SetLabel("Laptime");
        graph.GetXAxis(0).label = "Min";
        (void)graph.grab();
    }
};

TEST(ChartDialogs, SheetOpensOnThePageOfWhatWasHit) {
    Chart c;
    CChartPage onCurve(c.graph, ChartEvent::Target::Curve, 0);
    EXPECT_EQ(onCurve.tabs->tabText(onCurve.tabs->currentIndex()), "Curve");
    CChartPage onAxis(c.graph, ChartEvent::Target::XAxis, 0);
    EXPECT_EQ(onAxis.tabs->tabText(onAxis.tabs->currentIndex()), "Axis");
    EXPECT_EQ(onAxis.axisPage->label->text(), "Min");
    CChartPage onChart(c.graph, ChartEvent::Target::Chart, -1);
    EXPECT_EQ(onChart.tabs->tabText(onChart.tabs->currentIndex()), "Chart");
    EXPECT_EQ(onChart.curvePage->label->text(), "Laptime");
    EXPECT_EQ(onChart.chartPage->curves->item(0)->text(), "1 Laptime");
}

TEST(ChartDialogs, ApplyWritesOrRefusesWithTheRange) {
    ScriptedDialogs dialogs;
    Chart c;
    CChartPage sheet(c.graph, ChartEvent::Target::Chart, -1);
    sheet.chartPage->tolerance->setText("101");
    EXPECT_FALSE(sheet.chartPage->Apply());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "Please enter an integer between 0 and 100.");
    EXPECT_EQ(c.graph.model().snapTolerance, 10);
    sheet.chartPage->tolerance->setText("20");
    sheet.chartPage->showLegend->setChecked(false);
    EXPECT_TRUE(sheet.chartPage->Apply());
    EXPECT_EQ(c.graph.model().snapTolerance, 20);
    EXPECT_FALSE(c.graph.model().legend);
    EXPECT_FALSE(sheet.chartPage->apply->isEnabled());

    // The axis page refuses what the axis would refuse, and picks formats.
    CAxisDlg& axis = *sheet.axisPage;
    sheet.ShowYAxis(0);
    axis.autoscale->setChecked(false);
    axis.minimum->setText("10");
    axis.maximum->setText("0");
    EXPECT_FALSE(axis.Apply());
    EXPECT_EQ(dialogs.messages.size(), 2u);
    axis.minimum->setText("0");
    axis.maximum->setText("2000000");
    axis.step->setText("-1");
    EXPECT_FALSE(axis.Apply());
    axis.step->setText("0");
    axis.decimals->setText("2");
    EXPECT_TRUE(axis.Apply());
    EXPECT_EQ(c.graph.GetYAxis(0).labelFormat, "%5.2e");
    EXPECT_EQ(c.graph.GetYAxis(0).curMax, 2000000.0);
    axis.maximum->setText("100");
    EXPECT_TRUE(axis.Apply());
    EXPECT_EQ(c.graph.GetYAxis(0).labelFormat, "%5.2f");

    // A time axis shows its step in the largest unit that divides it.
    c.graph.GetYAxis(0).timeAxis = true;
    c.graph.GetYAxis(0).SetRange(45000, 45001, 5400.0 / 86400);
    sheet.ShowYAxis(0);
    EXPECT_EQ(axis.timeUnit->currentText(), "Minutes");
    EXPECT_EQ(axis.timeStepCount->text(), "90");
}

TEST(ChartDialogs, NumberAxisPickersShowTheLocalDateAndTime) {
    // Wall-clock fields to the second, as plain (zone-free) values.
    auto wallClock = [] {
        const QDateTime now = QDateTime::currentDateTime();
        const QTime t = now.time();
        return QDateTime(now.date(), QTime(t.hour(), t.minute(), t.second()), Qt::UTC);
    };
    // Fourteen hours ahead of UTC, so that the local clock and UTC differ.
    const QByteArray savedTz = qgetenv("TZ");
    qputenv("TZ", "XYZ-14");
    tzset();
    Chart c;
    const int offset = QDateTime::currentDateTime().offsetFromUtc();
    const QDateTime before = wallClock();
    CChartPage sheet(c.graph, ChartEvent::Target::YAxis, 0);
    const QDateTime after = wallClock();
    if (savedTz.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", savedTz);
    tzset();
    ASSERT_EQ(offset, 14 * 3600);
    const CAxisDlg& axis = *sheet.axisPage;
    for (const auto& [date, time] : {std::pair{axis.minDate, axis.minTime}, std::pair{axis.maxDate, axis.maxTime}}) {
        const QTime t = time->time();
        const QDateTime shown(date->date(), QTime(t.hour(), t.minute(), t.second()), Qt::UTC);
        EXPECT_GE(shown, before);
        EXPECT_LE(shown, after);
    }
}

TEST(ChartDialogs, DerivedCurvesAppendAndThePageKeepsItsCurve) {
    ScriptedDialogs dialogs;
    Chart c;
    CChartPage sheet(c.graph, ChartEvent::Target::Curve, 0);
    CCurveDlg& page = *sheet.curvePage;
    dialogs.fill = [](QDialog& d) {
        if (auto* t = dynamic_cast<CTrendDlg*>(&d)) {
            t->extension->setText("2");
            t->degree->setText("2");
        }
    };
    page.OnLinearTrend();
    ASSERT_EQ(c.graph.model().CurveCount(), 2);
    EXPECT_EQ(c.graph.GetCurve(1).name, "Laptime Trend (lin.)");
    EXPECT_EQ(c.graph.GetCurve(1).Count(), 5);
    EXPECT_EQ(page.curveIndex(), 0);
    EXPECT_EQ(page.curve(), &c.graph.GetCurve(0));

    page.OnPolynomialTrend();
    ASSERT_EQ(c.graph.model().CurveCount(), 3);
    EXPECT_EQ(c.graph.GetCurve(2).name, "Laptime Trend (poly.) ");
    EXPECT_NEAR(c.graph.GetCurve(2).points[3].y, 85.0 / 14, 1e-9);
    EXPECT_EQ(c.graph.model().objects.size(), 2u);

    // A fit that cannot be made says so and adds nothing.
    const Point2D same[] = {{0.1, 1}, {0.1, 2}, {0.1, 3}};
    c.graph.SetData(same, 3, 0, 0, 0);
    page.OnPolynomialTrend();
    EXPECT_EQ(c.graph.model().CurveCount(), 3);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "Could not create polynomial trend for the selected curve.");

    // Windows beyond half the points are refused.
    dialogs.fill = [](QDialog& d) {
        if (auto* m = dynamic_cast<CMovingAvgDlg*>(&d)) m->window->setText("2");
    };
    page.OnMovingAverage();
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1], "Please enter an integer between 1 and 1.");
    CTrendDlg trend;
    trend.extension->setText("1000001");
    trend.accept();
    EXPECT_NE(trend.result(), QDialog::Accepted);
}

// The label's properties are stored only by Apply or OK; a label connected
// to no curve keeps -1.
TEST(ChartDialogs, LabelPropertiesOkStoresWhatTheDialogShows) {
    ScriptedDialogs dialogs;
    Chart c;
    const Point2D pts[] = {{0, 2}, {2, 1}};
    c.graph.SetData(pts, 2, 1, 0, 0)->SetLabel("Speed");
    CXGraphLabel& label = *c.graph.InsertLabel({10, 10, 80, 40}, "Note");
    label.border = true;
    label.background = Rgb{1, 2, 3};
    label.format = 1;

    CLabelDlg unchanged(label, c.graph);
    EXPECT_EQ(unchanged.curve->count(), 2);
    EXPECT_EQ(unchanged.curve->itemText(0), "01 Laptime");
    EXPECT_EQ(unchanged.curve->itemText(1), "02 Speed");
    EXPECT_EQ(unchanged.curve->currentIndex(), -1);
    EXPECT_EQ(unchanged.alignment->currentText(), "Centered");
    EXPECT_FALSE(unchanged.apply->isEnabled());
    unchanged.ok->click();
    EXPECT_EQ(unchanged.result(), QDialog::Accepted);
    EXPECT_EQ(label.curve, -1);
    EXPECT_TRUE(label.border);
    EXPECT_EQ(label.format, 1);
    EXPECT_EQ(label.background, (Rgb{1, 2, 3}));

    CLabelDlg dialog(label, c.graph);
    dialog.border->setChecked(false);
    EXPECT_TRUE(dialog.apply->isEnabled());
    dialog.transparent->setChecked(true);
    dialog.alignment->setCurrentIndex(2);
    dialog.curve->setCurrentIndex(1);
    dialog.background->SetColour(QColor(10, 20, 30));
    dialog.textColour->SetColour(QColor(40, 50, 60));
    EXPECT_TRUE(label.border);  // nothing stored before OK
    dialog.ok->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(label.border);
    EXPECT_TRUE(label.transparent);
    EXPECT_EQ(label.format, 2);
    EXPECT_EQ(label.curve, 1);
    EXPECT_EQ(label.background, (Rgb{10, 20, 30}));
    EXPECT_EQ(label.textColour, (Rgb{40, 50, 60}));
    EXPECT_FALSE(dialog.apply->isEnabled());

    // Cancel stores nothing.
    CLabelDlg cancelled(label, c.graph);
    cancelled.transparent->setChecked(false);
    cancelled.alignment->setCurrentIndex(0);
    cancelled.cancel->click();
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_TRUE(label.transparent);
    EXPECT_EQ(label.format, 2);
}

TEST(ColourPicker, EscapeRestoresTheInitialColour) {
    QWidget parent;
    parent.resize(200, 100);
    auto* button = new CColorButton(&parent);
    button->setObjectName("207");
    button->setGeometry(10, 10, 60, 24);
    button->SetColour(Qt::red);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    QSignalSpy changed(button, &CColorButton::colourChanged);
    QSignalSpy closeUp(button, &CColorButton::closeUp);
    QSignalSpy cancelled(button, &CColorButton::selectionCancelled);
    QTest::mouseClick(button, Qt::LeftButton);
    CColourPopup* popup = button->popup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->chosen(), 16);
    const Rect cell = popup->grid().CellRect(5);
    QTest::mouseMove(popup, QPoint(cell.left + 3, cell.top + 3));
    const Rect other = popup->grid().CellRect(20);
    QTest::mouseMove(popup, QPoint(other.left + 3, other.top + 3));
    const int hovered = changed.count();
    EXPECT_GE(hovered, 1);
    QTest::keyClick(popup, Qt::Key_Escape);
    EXPECT_EQ(changed.count(), hovered);
    ASSERT_EQ(closeUp.count(), 1);
    EXPECT_EQ(closeUp[0][0].value<QColor>(), QColor(Qt::red));
    EXPECT_EQ(closeUp[0][1].toInt(), 207);
    ASSERT_EQ(cancelled.count(), 1);
    EXPECT_EQ(cancelled[0][0].value<QColor>(), QColor(Qt::red));
    EXPECT_EQ(button->GetColour(), QColor(Qt::red));
}

TEST(ColourPicker, CurrentCellStandsOutAndTheChosenOneIsPressedIn) {
    QWidget parent;
    auto* button = new CColorButton(&parent);
    button->setGeometry(10, 10, 60, 24);
    button->SetColour(Qt::red);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    QTest::mouseClick(button, Qt::LeftButton);
    CColourPopup* popup = button->popup();
    ASSERT_NE(popup, nullptr);
    const ColourGrid& g = popup->grid();
    const Rect aqua = g.CellRect(20);
    // The cell's last pixel still belongs to it, the next one to its neighbour.
    QTest::mouseMove(popup, QPoint(aqua.right - 1, aqua.bottom - 1));
    EXPECT_EQ(popup->current(), 20);
    const QImage image = popup->grab().toImage();
    const QPalette pal = popup->palette();
    auto at = [&](int x, int y) { return image.pixel(x, y) & 0xFFFFFFu; };
    const int m = g.margin();
    EXPECT_EQ(at(aqua.left, aqua.top), (pal.light().color().rgb() & 0xFFFFFFu));
    EXPECT_EQ(at(aqua.right - 1, aqua.top), (pal.dark().color().rgb() & 0xFFFFFFu));
    EXPECT_EQ(at(aqua.right - 1, aqua.bottom - 1), (pal.dark().color().rgb() & 0xFFFFFFu));
    EXPECT_EQ(at(aqua.left + 1, aqua.top + 1), (pal.button().color().rgb() & 0xFFFFFFu));
    EXPECT_EQ(at(aqua.left + m + 1, aqua.top + m + 1), (pal.dark().color().rgb() & 0xFFFFFFu));
    EXPECT_EQ(at(aqua.left + m + 2, aqua.top + m + 2), qRgb(127, 255, 212) & 0xFFFFFFu);
    EXPECT_EQ(at(aqua.right - m - 2, aqua.bottom - m - 2), (pal.dark().color().rgb() & 0xFFFFFFu));
    const Rect red = g.CellRect(16);
    EXPECT_EQ(at(red.left, red.top), (pal.dark().color().rgb() & 0xFFFFFFu));
    EXPECT_EQ(at(red.right - 1, red.bottom - 1), (pal.light().color().rgb() & 0xFFFFFFu));
    EXPECT_EQ(at(red.left + 1, red.top + 1), (pal.light().color().rgb() & 0xFFFFFFu));
    const Rect plain = g.CellRect(0);
    EXPECT_EQ(at(plain.left, plain.top), (pal.button().color().rgb() & 0xFFFFFFu));
    EXPECT_EQ(at(0, 0), (pal.midlight().color().rgb() & 0xFFFFFFu));
    EXPECT_EQ(at(image.width() - 1, image.height() - 1), (pal.shadow().color().rgb() & 0xFFFFFFu));
    QTest::mouseMove(popup, QPoint(aqua.right, aqua.bottom - 1));
    EXPECT_EQ(popup->current(), 21);
    QTest::keyClick(popup, Qt::Key_Escape);
}

TEST(ColourPicker, OpensWithOnlyTheChosenCellMarkedAndReturnKeepsTheInitialColour) {
    QWidget parent;
    parent.resize(200, 100);
    auto* button = new CColorButton(&parent);
    button->setGeometry(10, 10, 60, 24);
    const QColor odd(1, 2, 3);  // in no cell of the grid
    button->SetColour(odd);
    int dialogs = 0;
    button->colourDialog = [&dialogs](const QColor&, QWidget*) {
        ++dialogs;
        return QColor(Qt::green);
    };
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    QSignalSpy accepted(button, &CColorButton::selectionAccepted);
    QTest::mouseClick(button, Qt::LeftButton);
    CColourPopup* popup = button->popup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->chosen(), ColourGrid::kCustom);
    EXPECT_EQ(popup->current(), ColourGrid::kNone);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(dialogs, 0);
    ASSERT_EQ(accepted.count(), 1);
    EXPECT_EQ(accepted[0][0].value<QColor>(), odd);
    EXPECT_EQ(button->GetColour(), odd);

    // A colour of the grid: its cell is chosen, still nothing current; the
    // first Down goes to cell 0.
    button->SetColour(Qt::red);
    QTest::mouseClick(button, Qt::LeftButton);
    popup = button->popup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->chosen(), 16);
    EXPECT_EQ(popup->current(), ColourGrid::kNone);
    QTest::keyClick(popup, Qt::Key_Down);
    EXPECT_EQ(popup->current(), 0);
    QTest::keyClick(popup, Qt::Key_Escape);
    EXPECT_EQ(button->GetColour(), QColor(Qt::red));
}

TEST(ColourPicker, OpensAboveAButtonNearTheBottom) {
    CColorButton button;
    const QRect screen = button.screen()->availableGeometry();
    button.setGeometry(screen.left() + 20, screen.bottom() - 30, 60, 24);
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    QTest::mouseClick(&button, Qt::LeftButton);
    ASSERT_NE(button.popup(), nullptr);
    EXPECT_LE(button.popup()->geometry().bottom(), button.mapToGlobal(QPoint(0, 0)).y());
    QTest::keyClick(button.popup(), Qt::Key_Return);
}

}  // namespace
}  // namespace vra
