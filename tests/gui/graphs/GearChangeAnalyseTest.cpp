#include "gui/graphs/GearChangeAnalyse.h"

#include "core/replay/ReplayFormat.h"

#include "support/document/LapDocument.h"

#include <QComboBox>
#include <QLabel>
#include <QTableWidget>
#include <QTest>

namespace vra::test {
namespace {

// The player shifts 3 -> 0 -> 4 ten seconds into every lap and 4 -> 0 -> 3
// twenty seconds in; lap 3 adds a 3 -> 0 -> 5 at thirty seconds.
class GearChangeDialog : public ::testing::Test {
protected:
    void SetUp() override {
        const auto car = lapDoc_.builder.desc.sessions[0].cars[0];
        lapDoc_.builder.desc.fullHook = [car](const simkit::FrameContext& ctx, simkit::FullRecordFields& f) {
            int lap = 1;
            while (lap < 4 && ctx.sessionMs >= double(simkit::ReplayBuilder::LapEndMs(car, lap))) ++lap;
            const double t = ctx.sessionMs - double(simkit::ReplayBuilder::LapStartMs(car, lap));
            const double frame = 1000.0 / kFramesPerSecond;
            f.gear = 3;
            if (t >= 10000 && t < 10000 + 3 * frame) f.gear = 0;
            if (t >= 10000 + 3 * frame && t < 20000) f.gear = 4;
            if (t >= 20000 && t < 20000 + 2 * frame) f.gear = 0;
            if (lap == 3 && t >= 30000 && t < 30000 + 2 * frame) f.gear = 0;
            if (lap == 3 && t >= 30000 + 2 * frame) f.gear = 5;
        };
        lapDoc_.Open();
        lapDoc_.AddLap(0, 2);
        lapDoc_.AddLap(0, 3);
        ASSERT_EQ(lapDoc_.doc->LapCount(), 2);
    }

    QString Cell(int row, int column) const { return dialog_->ChangeList()->item(row, column)->text(); }
    void Choose(int entry) {
        dialog_->LapList()->setCurrentIndex(entry);
        emit dialog_->LapList()->activated(entry);
    }

    LapDocument lapDoc_{"gearchange"};
    std::unique_ptr<GearChangeAnalyse> dialog_;
};

TEST_F(GearChangeDialog, ListsTheLapsAndTheChangesOfTheChosenOne) {
    dialog_ = std::make_unique<GearChangeAnalyse>(*lapDoc_.doc);
    const auto& car = lapDoc_.builder.desc.sessions[0].cars[0];
    ASSERT_EQ(dialog_->LapList()->count(), 2);
    EXPECT_EQ(dialog_->LapList()->itemText(0), "A Morgan 0m 46.000s");
    EXPECT_EQ(dialog_->ChangeList()->rowCount(), 0);

    Choose(1);  // lap 3
    ASSERT_EQ(dialog_->ChangeList()->rowCount(), 3);
    EXPECT_EQ(Cell(0, 0), "1: 3->4");
    EXPECT_EQ(Cell(1, 0), "2: 4->3");
    EXPECT_EQ(Cell(2, 0), "3: 3->5");
    // The last sample in third gear lies just before ten seconds into the lap.
    const double at = simkit::ReplayBuilder::DistanceAt(car, double(simkit::ReplayBuilder::LapStartMs(car, 3)) + 9980,
                                                        simkit::kDemoTrackLength);
    EXPECT_NEAR(Cell(0, 1).toDouble(), at, 2.0);
    EXPECT_EQ(dialog_->Static(GearChangeAnalyse::kChangeCount)->text(), "3");
    EXPECT_EQ(dialog_->Static(GearChangeAnalyse::kSpeedShifts)->text().left(19), "Out of 2 upshifts, ");
    EXPECT_FALSE(dialog_->Static(GearChangeAnalyse::kAvgRevsFirst + 2)->text().isEmpty());  // 3->4
    EXPECT_FALSE(dialog_->Static(GearChangeAnalyse::kAvgRevsFirst + 3)->text().isEmpty());  // 4->5

    // Another lap: rows from 1 again, and no average of a gear it never
    // shifted up into.
    Choose(0);
    ASSERT_EQ(dialog_->ChangeList()->rowCount(), 2);
    EXPECT_EQ(Cell(0, 0), "1: 3->4");
    EXPECT_EQ(dialog_->Static(GearChangeAnalyse::kChangeCount)->text(), "2");
    EXPECT_FALSE(dialog_->Static(GearChangeAnalyse::kAvgRevsFirst + 2)->text().isEmpty());
    EXPECT_TRUE(dialog_->Static(GearChangeAnalyse::kAvgRevsFirst + 3)->text().isEmpty());
}

}  // namespace
}  // namespace vra::test
