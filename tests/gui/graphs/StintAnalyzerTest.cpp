#include "gui/graphs/StintAnalyzer.h"

#include "core/replay/ReplayFormat.h"

#include "support/document/LapDocument.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

namespace vra::test {
namespace {

// The player's ten race laps, the sixth pitted: two stints.
class StintDialog : public ::testing::Test {
protected:
    void SetUp() override {
        lapDoc_.builder = simkit::ReplayBuilder();
        lapDoc_.builder.drivers(3).session(3, 10, 8000).trackLength(simkit::kDemoTrackLength);
        lapDoc_.builder.desc.settings.trackName = std::string(simkit::kDemoTrackName);
        lapDoc_.builder.desc.sessions[0].cars[0].laps[5] |= LapWord::Pitted;
        lapDoc_.Open();
        lapDoc_.AddLap(0, 2);
        ASSERT_EQ(lapDoc_.doc->LapCount(), 1);
        dialog_ = std::make_unique<StintAnalyzer>(*lapDoc_.doc, lapDoc_.prompts, lapDoc_.waitBox);
    }
    std::vector<std::string> Curves() const {
        std::vector<std::string> labels;
        ChartModel& m = dialog_->Chart()->model();
        for (int c = 0; c < m.CurveCount(); ++c) labels.push_back(m.GetCurve(c).GetLabel());
        return labels;
    }
    void Tick(int row, bool on) {
        dialog_->StintList()->topLevelItem(row)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    }

    LapDocument lapDoc_{"stintdialog"};
    std::unique_ptr<StintAnalyzer> dialog_;
};

TEST_F(StintDialog, ReadsThenPlotsTheTickedStints) {
    EXPECT_EQ(dialog_->ReplayBox(0)->text(), "1 Analyses");
    EXPECT_TRUE(dialog_->ReplayBox(1)->isHidden());
    EXPECT_TRUE(dialog_->SessionBox(3)->isChecked());
    EXPECT_EQ(dialog_->MinLaps()->value(), 3);
    EXPECT_TRUE(dialog_->OptionBox(0)->isHidden());

    dialog_->ReplayBox(0)->setChecked(true);
    dialog_->ReadButton()->click();
    ASSERT_EQ(dialog_->StintList()->topLevelItemCount(), 2);
    EXPECT_EQ(dialog_->StintList()->topLevelItem(1)->text(0), "1:2");
    EXPECT_EQ(dialog_->StintList()->topLevelItem(1)->text(2), "7-10");
    EXPECT_FALSE(dialog_->ReadButton()->isEnabled());
    EXPECT_FALSE(dialog_->OptionBox(0)->isHidden());
    for (int o = 0; o < 13; ++o) {
        EXPECT_EQ(dialog_->OptionBox(o)->isChecked(), o < 4) << o;
        EXPECT_EQ(dialog_->OptionBox(o)->isEnabled(), o < 5) << o;  // no tyre records
    }

    Tick(0, true);
    EXPECT_EQ(Curves(), (std::vector<std::string>{"Laptime[1:1]", "Watertemp[1:1]", "Oiltemp[1:1]", "Oilpres[1:1]"}));
    EXPECT_EQ(dialog_->Chart()->GetYAxis(1).GetLabel(),
              "\xC2\xB0"
              "F");
    Tick(1, true);
    EXPECT_EQ(Curves().size(), 8u);
    // An option unticked goes from every ticked stint.
    dialog_->OptionBox(1)->click();
    EXPECT_EQ(Curves(), (std::vector<std::string>{"Laptime[1:1]", "Oiltemp[1:1]", "Oilpres[1:1]", "Laptime[1:2]",
                                                  "Oiltemp[1:2]", "Oilpres[1:2]"}));
    Tick(0, false);
    EXPECT_EQ(Curves(), (std::vector<std::string>{"Laptime[1:2]", "Oiltemp[1:2]", "Oilpres[1:2]"}));
    Tick(0, true);
    EXPECT_EQ(Curves().size(), 6u);
    EXPECT_EQ(Curves().back(), "Oilpres[1:1]");
}

TEST_F(StintDialog, NothingChosenLeavesItInReadModeAndThePopupHoldsTheChartCommands) {
    dialog_->ReadButton()->click();
    EXPECT_EQ(lapDoc_.prompts.messages().back(), "Please choose the replay file(s) to read");
    EXPECT_TRUE(dialog_->ReadButton()->isEnabled());
    EXPECT_TRUE(dialog_->OptionBox(0)->isHidden());

    QStringList items;
    for (QAction* a : dialog_->ChartMenu()->actions()) items << a->text() + " " + a->data().toString();
    EXPECT_EQ(items,
              (QStringList{"Normal 40000", "Zoom 40002", "Reset 40003", "Pan 40004", "Cursor 40011", "Print 40007"}));
}

}  // namespace
}  // namespace vra::test

namespace vra::test {
namespace {

TEST_F(StintDialog, TheChartStartsAtATenthPastThePlotOptionsAndKeepsItsMargins) {
    QGroupBox* group = nullptr;
    for (QGroupBox* g : dialog_->findChildren<QGroupBox*>())
        if (g->title() == QStringLiteral("Plot Options")) group = g;
    ASSERT_NE(group, nullptr);
    dialog_->show();
    for (QSize size : {QSize(900, 600), QSize(1031, 457)}) {
        dialog_->resize(size);
        const int right = group->x() + group->width();
        const int x = int(right * 1.1);
        EXPECT_EQ(dialog_->Chart()->geometry(), QRect(x, 10, size.width() - (x + 10), size.height() - 20));
    }
}

}  // namespace
}  // namespace vra::test
