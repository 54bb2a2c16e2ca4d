// The graph dialogs place their controls in dialog units; each text must
// fit the control that carries it at the default font, with the room the
// style takes for indicators, frames and margins.

#include "core/graphs/ChannelTable.h"
#include "gui/graphs/GearChangeAnalyse.h"
#include "gui/graphs/Grafpages.h"
#include "gui/graphs/GraphPrint.h"
#include "gui/graphs/NewGraph.h"
#include "gui/graphs/TimeDiffForGraph.h"

#include "support/document/LapDocument.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOption>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <gmock/gmock.h>

namespace vra::test {
namespace {

int TextWidth(const QWidget& w, const QString& text) {
    return w.fontMetrics().horizontalAdvance(QString(text).remove(QLatin1Char('&')));
}

// The room a button's style leaves for its text.
int ButtonRoom(const QAbstractButton& b) {
    if (const auto* check = qobject_cast<const QCheckBox*>(&b)) {
        QStyleOptionButton o;
        o.initFrom(check);
        return check->style()->subElementRect(QStyle::SE_CheckBoxContents, &o, check).width();
    }
    if (const auto* radio = qobject_cast<const QRadioButton*>(&b)) {
        QStyleOptionButton o;
        o.initFrom(radio);
        return radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &o, radio).width();
    }
    QStyleOptionButton o;
    o.initFrom(&b);
    return b.style()->subElementRect(QStyle::SE_PushButtonContents, &o, &b).width();
}

int GroupTitleRoom(const QGroupBox& g) {
    QStyleOptionGroupBox o;
    o.initFrom(&g);
    o.text = g.title();
    o.subControls = QStyle::SC_GroupBoxLabel;
    o.rect = QRect(0, 0, g.width(), g.height());
    const QRect label = g.style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, &g);
    // The label rectangle is as wide as its text; what counts is whether the
    // title ends inside the box's frame.
    return g.width() - label.left() - g.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &g);
}

// Every text below `root` that does not fit its control, as "text: needs/has".
std::vector<std::string> Clipped(const QWidget& root) {
    std::vector<std::string> clipped;
    auto check = [&clipped](const QString& text, int needs, int has) {
        if (!text.isEmpty() && needs > has)
            clipped.push_back(QStringLiteral("%1: %2/%3").arg(text).arg(needs).arg(has).toStdString());
    };
    // No control reaches out of the window that holds it.
    for (const QWidget* w : root.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&root) || w->isWindow()) continue;
        const QRect place(w->mapTo(&root, QPoint(0, 0)), w->size());
        if (!root.rect().contains(place))
            clipped.push_back(w->metaObject()->className() + std::string(" out of the window"));
    }
    for (const QAbstractButton* b : root.findChildren<QAbstractButton*>()) {
        if (b->isHidden() || b->text().isEmpty()) continue;
        check(b->text(), TextWidth(*b, b->text()), ButtonRoom(*b));
        check(b->text(), b->fontMetrics().height(), b->height());
    }
    for (const QLabel* l : root.findChildren<QLabel*>()) {
        if (l->isHidden() || l->text().isEmpty()) continue;
        const QRect room = l->contentsRect();
        if (l->wordWrap())
            check(l->text(), l->heightForWidth(l->width()), l->height());
        else
            for (const QString& line : l->text().split(QLatin1Char('\n')))
                check(line, TextWidth(*l, line), room.width());
        if (!l->wordWrap())
            check(l->text(), l->fontMetrics().height() * int(l->text().count(QLatin1Char('\n')) + 1), room.height());
    }
    for (const QGroupBox* g : root.findChildren<QGroupBox*>())
        if (!g->isHidden()) check(g->title(), TextWidth(*g, g->title()), GroupTitleRoom(*g));
    for (const QHeaderView* h : root.findChildren<QHeaderView*>()) {
        if (h->isHidden() || h->orientation() != Qt::Horizontal) continue;
        const int margin = 2 * h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
        for (int c = 0; c < h->count(); ++c) {
            const QString title = h->model()->headerData(c, Qt::Horizontal).toString();
            check(title, TextWidth(*h, title) + margin, h->sectionSize(c));
        }
    }
    return clipped;
}

class DialogTextFit : public ::testing::Test {
protected:
    void SetUp() override {
        lapDoc_.builder.engineBlocks();
        lapDoc_.Open();
        lapDoc_.AddLap(0, 2);
        lapDoc_.AddLap(2, 3);
        ASSERT_EQ(lapDoc_.doc->LapCount(), 2);
    }
    LapDocument lapDoc_{"dialogtextfit"};
};

TEST_F(DialogTextFit, TelemetryGraphAndItsTimeDifference) {
    NewGraph dialog(lapDoc_.doc.get());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ASSERT_THAT(dialog.LapBox(0)->text().toStdString(), ::testing::EndsWith("(Adv)"));
    EXPECT_THAT(Clipped(dialog), ::testing::IsEmpty());
    dialog.Sheet()->setCurrentIndex(1);
    EXPECT_THAT(Clipped(*dialog.AdvancedPage()), ::testing::IsEmpty());

    dialog.LapBox(0)->click();
    dialog.LapBox(1)->click();
    dialog.TimeDiffBox()->click();
    ASSERT_TRUE(dialog.TimeDiff());
    dialog.TimeDiff()->SetText(1041, QStringLiteral("-00.000s"));
    EXPECT_THAT(Clipped(*dialog.TimeDiff()), ::testing::IsEmpty());
}

TEST_F(DialogTextFit, PrintSelection) {
    const ChannelInfo* primary = ChannelByCode(30);
    ASSERT_TRUE(primary);
    GraphPrint dialog(PrintIndexOfCode(30), QString::fromUtf8(primary->text.data(), qsizetype(primary->text.size())));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_THAT(Clipped(dialog), ::testing::IsEmpty());
}

TEST_F(DialogTextFit, GearChangeListShowsAllItsColumns) {
    GearChangeAnalyse dialog(*lapDoc_.doc);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.LapList()->setCurrentIndex(0);
    emit dialog.LapList()->activated(0);
    EXPECT_THAT(Clipped(dialog), ::testing::IsEmpty());
    QTableWidget& list = *dialog.ChangeList();
    int columns = 0;
    for (int c = 0; c < list.columnCount(); ++c) columns += list.columnWidth(c);
    EXPECT_LE(columns, list.viewport()->width());
    EXPECT_FALSE(list.horizontalScrollBar()->isVisible());
}

}  // namespace
}  // namespace vra::test
