// The map tools reached from the main window: the speed overlay on laps of
// the demo race, and the commands' places and states.

#include "core/commands/CommandIds.h"
#include "core/commands/CommandState.h"
#include "gui/tools/SpeedTrack.h"
#include "gui/tools/groove.h"

#include "AnalyserFixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QTimer>
#include <QToolBar>
#include <gmock/gmock.h>

#include <fstream>

namespace vra::test {
namespace {

using ::testing::ElementsAre;

struct Colours {
    int green = 0, red = 0, black = 0;
};
Colours Count(const QImage& image) {
    Colours c;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (p == QColor(Qt::black)) ++c.black;
            if (p.green() > 60 && p.red() < 20) ++c.green;
            if (p.red() > 60 && p.green() < 20) ++c.red;
        }
    return c;
}

void Choose(QComboBox* list, int slot) {
    const int index = list->findData(slot);
    ASSERT_GE(index, 0) << slot;
    list->setCurrentIndex(index);
    emit list->activated(index);
}

class MapTools : public AnalyserStart {};

TEST_F(MapTools, TheSpeedOverlayNeedsTwoLapsAndColoursTheFasterOneGreen) {
    Start();
    AddRaceLap(0, 2);
    QAction* speed = app_->Frame()->Action(cmd::ShowSpeedTrack);
    ASSERT_NE(speed, nullptr);
    speed->trigger();
    EXPECT_THAT(prompts_.messages(), ElementsAre("At least two laps must be loaded to use this feature."));
    AddRaceLap(1, 2);  // the second car, 1 s slower
    AddRaceLap(0, 2);  // the first lap again

    SpeedTrack dialog(*app_->Document());
    dialog.resize(900, 500);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.FirstList()->count(), 3);
    EXPECT_EQ(dialog.FirstList()->currentIndex(), -1);
    EXPECT_EQ(dialog.Visitor(), nullptr);
    Choose(dialog.FirstList(), 0);
    EXPECT_EQ(dialog.SecondList()->count(), 2);  // lap 1 is taken by the first list
    Choose(dialog.SecondList(), 1);
    ASSERT_NE(dialog.Visitor(), nullptr);
    Colours c = Count(dialog.Picture()->grab().toImage());
    EXPECT_GT(c.green, 1000);
    EXPECT_LT(c.red, c.green / 20);

    // Manual: an empty range takes the whole part of the largest difference.
    auto* maximum = dialog.findChild<QLabel*>(QStringLiteral("maximum"));
    const QString automaticMaximum = maximum->text();
    dialog.findChild<QRadioButton*>(QStringLiteral("manual"))->click();
    auto* range = dialog.findChild<QLineEdit*>(QStringLiteral("range"));
    EXPECT_TRUE(range->isEnabled());
    EXPECT_EQ(range->text(), automaticMaximum.section(QLatin1Char('.'), 0, 0));
    range->setText(QStringLiteral("20"));
    emit range->editingFinished();
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("minimum"))->text(), QStringLiteral("<-20.0"));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("halfMinimum"))->text(), QStringLiteral("-10.0"));
    EXPECT_EQ(maximum->text(), QStringLiteral(">20.0"));
    dialog.findChild<QRadioButton*>(QStringLiteral("automatic"))->click();
    EXPECT_FALSE(range->isEnabled());
    EXPECT_EQ(maximum->text(), automaticMaximum);

    Choose(dialog.SecondList(), 2);  // the first lap against itself: black
    c = Count(dialog.Picture()->grab().toImage());
    EXPECT_GT(c.black, 1000);
    EXPECT_EQ(c.green + c.red, 0);
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("maximum"))->text(), QStringLiteral("0.0"));

    Choose(dialog.FirstList(), 1);  // the slower lap first: red
    c = Count(dialog.Picture()->grab().toImage());
    EXPECT_GT(c.red, 1000);
    EXPECT_LT(c.green, c.red / 20);

    // The ramps beside the lists and the legend, column by column.
    const QImage legend = dialog.findChild<QWidget*>(QStringLiteral("legendBar"))->grab().toImage();
    ASSERT_EQ(legend.width(), 512);
    EXPECT_EQ(legend.pixelColor(0, 5), QColor(255, 0, 0));
    EXPECT_EQ(legend.pixelColor(255, 5), QColor(0, 0, 0));
    EXPECT_EQ(legend.pixelColor(511, 5), QColor(0, 255, 0));
    const QImage swatch = dialog.findChild<QWidget*>(QStringLiteral("secondSwatch"))->grab().toImage();
    EXPECT_EQ(swatch.pixelColor(63, 5), QColor(252, 0, 0));

    // The picture takes what the dialog grows by.
    const QSize before = dialog.Picture()->size();
    dialog.resize(dialog.width() + 200, dialog.height() + 100);
    QApplication::processEvents();
    EXPECT_EQ(dialog.Picture()->size(), before + QSize(200, 100));
}

TEST_F(MapTools, CommandsStandInTheirMenusAndWaitWhileTheViewIsBusy) {
    Start();
    auto* frame = app_->Frame();
    for (int id : {cmd::EditSettings, cmd::TelemetrySettings, cmd::ShowSpeedTrack, cmd::SaveTrackmapBmp})
        ASSERT_NE(frame->Action(id), nullptr) << id;
    EXPECT_TRUE(frame->findChild<QToolBar*>(QStringLiteral("MainBar"))
                    ->actions()
                    .contains(frame->Action(cmd::TelemetrySettings)));
    CommandSnapshot busy;
    busy.lapCount = 2;
    busy.playing = true;
    EXPECT_FALSE(CommandStateFor(cmd::TelemetrySettings, busy).enabled);
    EXPECT_FALSE(CommandStateFor(cmd::ShowSpeedTrack, busy).enabled);
    EXPECT_TRUE(CommandStateFor(cmd::EditSettings, busy).enabled);
    EXPECT_TRUE(CommandStateFor(cmd::SaveTrackmapBmp, busy).enabled);
}

TEST_F(MapTools, TheGrooveExportTakesALapItsParametersAndAFile) {
    Start();
    QAction* action = app_->Frame()->Action(cmd::ExportLapToGroove);
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(app_->View()->actions().contains(action));
    for (QAction* menu : app_->Frame()->menuBar()->actions())
        EXPECT_FALSE(menu->menu()->actions().contains(action)) << menu->text().toStdString();
    action->trigger();
    EXPECT_THAT(prompts_.messages(), ElementsAre("No replay lap loaded!"));

    AddRaceLap(0, 2);
    prompts_.saveFileAnswer(root_ / "line");
    bool asked = false;
    QTimer::singleShot(0, [&] {
        if (auto* parameters = qobject_cast<groove*>(QApplication::activeModalWidget())) {
            asked = true;
            parameters->Width()->setText(QStringLiteral("2.5"));
            parameters->accept();
        }
    });
    action->trigger();
    EXPECT_TRUE(asked);
    ASSERT_EQ(prompts_.saveFileRequests().size(), 1u);
    EXPECT_EQ(prompts_.saveFileRequests()[0].defaultName, "DEMO.grv");
    std::ifstream in(root_ / "line.grv", std::ios::binary);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "60sections,5000entries\r");
    std::string entry;
    std::getline(in, entry);
    EXPECT_TRUE(entry.starts_with("0 ")) << entry;
    EXPECT_TRUE(entry.ends_with(" 0.0 2.5\r")) << entry;
    EXPECT_THAT(prompts_.messages(), ElementsAre("No replay lap loaded!"));
}

}  // namespace
}  // namespace vra::test
