// The personal-best and handicap tools reached from the main window.

#include "core/commands/CommandIds.h"
#include "gui/export/ExportRecords.h"
#include "gui/export/OrlRank.h"
#include "gui/export/PBViewer.h"
#include "gui/export/RaceGraphDialog.h"

#include "simkit/replay/ReplayBuilder.h"

#include "AnalyserFixture.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <gmock/gmock.h>

namespace vra::test {
namespace {

using ::testing::ElementsAre;

class ExportTools : public AnalyserStart {
protected:
    // Runs command id; the modal window it opens is handed to inspect and closed.
    template <typename Dialog>
    bool RunModal(int id, const std::function<void(Dialog&)>& inspect) {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                opened = true;
                inspect(*dialog);
                dialog->reject();
            }
        });
        app_->Frame()->Action(id)->trigger();
        return opened;
    }
};

TEST_F(ExportTools, PbViewerListsTheDemoPlayersBestLapAndExportWritesThePage) {
    store_.preset(SettingsKey::Program, SettingsScope::User, "RecordsPath", root_.string());
    Start();
    int rows = 0;
    QString driver, track;
    ASSERT_TRUE(RunModal<PBViewer>(cmd::PbViewer, [&](PBViewer& viewer) {
        rows = viewer.List()->topLevelItemCount();
        driver = viewer.List()->topLevelItem(0)->text(0);
        track = viewer.List()->topLevelItem(0)->text(1);
        EXPECT_EQ(viewer.List()->headerItem()->text(6), QStringLiteral("Replay file"));
    }));
    EXPECT_GE(rows, 1);
    EXPECT_FALSE(driver.isEmpty());
    EXPECT_FALSE(track.isEmpty());

    prompts_.answer(Button::No);
    ASSERT_TRUE(
        RunModal<ExportRecords>(cmd::ExportRecords, [](ExportRecords& records) { records.ExportButton()->click(); }));
    const std::string page = (root_ / "records.html").string();
    EXPECT_THAT(prompts_.messages(), ElementsAre("Records page created:\r\n" + page +
                                                 "\r\n\r\nDo you wish to launch the page in your browser?"));
    EXPECT_TRUE(std::filesystem::exists(root_ / "style.css"));
}

TEST_F(ExportTools, TheHandicapCommandStaysOffAndInNoMenuButItsHandlerOpensTheNotice) {
    Start();
    QAction* action = app_->Frame()->Action(cmd::OrlRankHandicap);
    ASSERT_NE(action, nullptr);
    EXPECT_FALSE(action->isEnabled());
    for (QAction* menu : app_->Frame()->menuBar()->actions())
        EXPECT_FALSE(menu->menu()->actions().contains(action)) << menu->text().toStdString();
    action->setEnabled(true);
    QString text;
    ASSERT_TRUE(RunModal<OrlRank>(cmd::OrlRankHandicap, [&](OrlRank& rank) {
        text = rank.Text()->text();
        EXPECT_NE(rank.findChild<QPushButton*>(), nullptr);
        EXPECT_EQ(rank.findChild<QPushButton*>()->text(), QStringLiteral("Close"));
    }));
    EXPECT_EQ(text, QStringLiteral("Handicaps cannot be calculated: the simulation's player records they need are not "
                                   "read by this program."));
}

TEST_F(ExportTools, RaceGraphicsNeedRaceInformationFromALapOrAFile) {
    Start();
    simkit::ReplayBuilder b;
    b.drivers(3).session(0, 2, 40000);
    const std::filesystem::path noRace = root_ / "replay" / "practice.rpy";
    ASSERT_TRUE(b.writeFile(noRace));
    for (int id : {cmd::GraphicalRaceReport, cmd::RaceHistoryGraph}) {
        prompts_.answer(Button::Yes).openFileAnswer(noRace);
        app_->Frame()->Action(id)->trigger();  // refused before any window opens
        EXPECT_EQ(prompts_.messages().back(), "This replay file does not contain race info!");
        prompts_.answer(Button::Yes).openFileAnswer(race_);
        int lines = 0;
        EXPECT_TRUE(RunModal<RaceGraphDialog>(id, [&](RaceGraphDialog& g) {
            lines = int(g.Graph().series.size());
            EXPECT_EQ(g.Graph().kind, id == cmd::RaceHistoryGraph ? RaceGraph::Kind::Gaps : RaceGraph::Kind::Positions);
        }));
        EXPECT_GT(lines, 1);
        EXPECT_EQ(prompts_.messages().back(), "Do you wish to choose a replay file to be used in the report only?");
    }
    // A loaded lap of a race needs no question.
    AddRaceLap(0, 2);
    const std::size_t before = prompts_.messages().size();
    EXPECT_TRUE(RunModal<RaceGraphDialog>(cmd::RaceHistoryGraph, [](RaceGraphDialog&) {}));
    EXPECT_EQ(prompts_.messages().size(), before);
}

}  // namespace
}  // namespace vra::test
