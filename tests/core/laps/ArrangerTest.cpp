#include "core/document/DocumentObserver.h"
#include "core/document/LapLinePlotter.h"
#include "core/laps/LoadedLapsArranger.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"

#include "LapsFixture.h"

#include <gmock/gmock.h>

#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace vra::testing {
namespace {

using ::testing::ElementsAre;

class Observer : public DocumentObserver {
public:
    void ViewsChanged() override { ++views; }
    void LapControlsChanged() override { ++controls; }
    int views = 0, controls = 0;
};

class Arranger : public LapsFixture {
protected:
    // Loads race lap 1 of driver 0 from replays whose laps last ms[i].
    void load(std::vector<std::uint32_t> ms) {
        int i = 0;
        for (std::uint32_t m : ms) {
            const auto p = sim / "replay" / ("lap" + std::to_string(i++) + ".rpy");
            Write(Replay("OVAL", 2, 1, m), p);
            document().AddLapFromLapFinder(p, 0, 3, 1);
        }
        ASSERT_EQ(document().LapCount(), static_cast<int>(ms.size()));
        document().SetObserver(&observer);
    }
    std::vector<std::uint32_t> slotTimes() {
        std::vector<std::uint32_t> out;
        for (int k = 0; k < document().LapCount(); ++k)
            out.push_back(document().Slot(k).drivers->LapWordAt(3, 0, 1) & 0x0FFFFFFF);
        return out;
    }
    static std::vector<std::string> Slots(const LoadedLapsArranger& a) {
        std::vector<std::string> out;
        for (const auto& r : a.Rows()) out.push_back(r[5]);
        return out;
    }
    Observer observer;
};

TEST_F(Arranger, RowsAndMoves) {
    load({41000, 42000, 43000});
    LoadedLapsArranger a(document());
    ASSERT_EQ(a.Rows().size(), 3u);
    EXPECT_THAT(a.Rows()[1], ElementsAre("Alex Morgan", "0m 42.000s", "Simulation", "Race",
                                         (sim / "replay" / "lap1.rpy").string(), "1"));

    a.MoveRow(0, 0);
    a.MoveRow(-1, 1);
    a.MoveRow(1, -1);
    EXPECT_THAT(Slots(a), ElementsAre("0", "1", "2"));
    a.MoveRow(2, 0);  // inserted above: the source moved down by one
    EXPECT_THAT(Slots(a), ElementsAre("2", "0", "1"));
    a.MoveRow(0, 3);  // to the end
    EXPECT_THAT(Slots(a), ElementsAre("0", "1", "2"));

    EXPECT_EQ(a.OnMoveUp(0), 0);
    EXPECT_EQ(a.OnMoveDown(2), 2);
    EXPECT_THAT(Slots(a), ElementsAre("0", "1", "2"));
    EXPECT_EQ(a.OnMoveDown(0), 1);
    EXPECT_THAT(Slots(a), ElementsAre("1", "0", "2"));
    EXPECT_EQ(a.OnMoveUp(2), 1);
    EXPECT_THAT(Slots(a), ElementsAre("1", "2", "0"));

    prompts = test::ScriptedPrompts();
    a.OnMoveUp(std::nullopt);
    a.OnMoveDown(std::nullopt);
    a.OnRemove(std::nullopt);
    EXPECT_THAT(prompts.messages(),
                ElementsAre("Choose a lap to move!", "Choose a lap to move!", "Choose a lap to remove!"));
    EXPECT_EQ(prompts.shown()[2].caption, "No lap choosen!");
    EXPECT_EQ(prompts.shown()[2].icon, Icon::Error);
    // Nothing reached the document before OK.
    EXPECT_THAT(slotTimes(), ElementsAre(41000, 42000, 43000));
}

TEST_F(Arranger, OkReordersAndRemovesCancelKeeps) {
    load({41000, 42000, 43000});
    const LapLinePlotter* plotter0 = document().Slot(0).plotter.get();
    {
        LoadedLapsArranger cancelled(document());
        cancelled.OnRemove(0);
        cancelled.OnMoveDown(0);
    }  // Cancel: the arranger is dropped unapplied
    EXPECT_THAT(slotTimes(), ElementsAre(41000, 42000, 43000));

    LoadedLapsArranger a(document());
    a.OnMoveDown(0);  // 1, 0, 2
    a.OnOK();
    EXPECT_THAT(slotTimes(), ElementsAre(42000, 41000, 43000));
    EXPECT_EQ(document().LapCount(), 3);
    // Plotters (and so colours) stay with their slots.
    EXPECT_EQ(document().Slot(0).plotter.get(), plotter0);
    EXPECT_EQ(document().Slot(0).plotter->ColourIndex(), 0);
    EXPECT_TRUE(document().NeedsFullRedraw());
    EXPECT_GE(observer.views, 1);
    EXPECT_GE(observer.controls, 1);

    LoadedLapsArranger b(document());
    b.OnRemove(0);  // drops the 42 s lap
    b.OnOK();
    EXPECT_THAT(slotTimes(), ElementsAre(41000, 43000));
    EXPECT_FALSE(document().IsSlotUsed(2));
    EXPECT_FALSE(document().Slot(2).plotter);

    LoadedLapsArranger c(document());
    c.OnRemove(0);
    c.OnRemove(0);
    c.OnOK();
    EXPECT_EQ(document().LapCount(), 0);
    EXPECT_FALSE(document().IsSlotUsed(0));
    EXPECT_EQ(document().Title(), "No lap selected");
}

TEST_F(Arranger, NewestReplayOpensInPathMode) {
    auto& doc = document();
    doc.OnOpenMostRecentReplay();  // empty folder
    std::filesystem::remove_all(sim / "replay");
    doc.OnOpenMostRecentReplay();  // no folder
    EXPECT_TRUE(prompts.log().empty());

    auto stamp = [](const std::filesystem::path& p, std::time_t t) {
        struct timespec times[2] = {{t, 0}, {t, 0}};
        ::utimensat(AT_FDCWD, p.c_str(), times, 0);
    };
    Write(Replay("OVAL"), sim / "Replay" / "b.rpy");
    Write(Replay("OVAL"), sim / "Replay" / "a.rpy");
    Write(Replay("OVAL"), sim / "Replay" / "old.rpy");
    stamp(sim / "Replay" / "b.rpy", 2000000000);
    stamp(sim / "Replay" / "a.rpy", 2000000000);
    stamp(sim / "Replay" / "old.rpy", 1000000000);
    doc.OnOpenMostRecentReplay();
    ASSERT_EQ(prompts.lapRequests().size(), 1u);  // the chooser asks for the lap
    EXPECT_EQ(prompts.lapRequests()[0].replayPath, sim / "Replay" / "a.rpy");

    stamp(sim / "Replay" / "old.rpy", 2100000000);
    doc.OnOpenMostRecentReplay();
    ASSERT_EQ(prompts.lapRequests().size(), 2u);
    EXPECT_EQ(prompts.lapRequests()[1].replayPath, sim / "Replay" / "old.rpy");

    EXPECT_FALSE(doc.IsModified());
    doc.SetModifiedFlag(true);
    EXPECT_TRUE(doc.IsModified());
}

}  // namespace
}  // namespace vra::testing
