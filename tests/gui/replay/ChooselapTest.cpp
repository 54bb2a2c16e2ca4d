#include "gui/replay/Chooselap.h"

#include "core/replay/Drivers.h"
#include "core/replay/Header.h"

#include "simkit/replay/ReplayBuilder.h"
#include "support/platform/FakeDesktop.h"
#include "support/platform/ScriptedPrompts.h"

#include "ShownText.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTreeWidget>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace vra {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

constexpr std::uint32_t kIncomplete = 0x10000000;
constexpr std::uint32_t kPitted = 0x20000000;
constexpr int kRace = 3;

// Two drivers, three race laps each: 80.000 s for the human, 80.250 s for
// the AI car; the human's second lap is incomplete, the AI car's third pitted.
class ChooserFixture : public ::testing::Test {
protected:
    void SetUp() override {
        vra::simkit::ReplayBuilder b;
        b.drivers(2).trackLength(2500.0).session(kRace, 3, 80000);
        b.desc.sessions[0].cars[0].laps[1] |= kIncomplete;
        b.desc.sessions[0].cars[1].laps[2] |= kPitted;
        dir_ = std::filesystem::temp_directory_path() / ("vra-chooser-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        path_ = dir_ / "race.rpy";
        ASSERT_TRUE(b.writeFile(path_));
        ASSERT_EQ(header_.Read(path_), 0);
        ASSERT_EQ(drivers_.Load(path_), Drivers::LoadResult::Ok);
        request_.replayPath = path_;
        request_.header = &header_;
        request_.drivers = &drivers_;
        request_.info = {{"Replay information", {{"Track:", "DEMO"}, {"Cars:", "2"}}},
                         {"Weather", {{"Temp:", "21"}}},
                         {"Weekend info", {{"Race (laps):", "3"}}},
                         {"AI settings", {{"Cars:", "1"}}},
                         {"Misc information", {{"Damage:", "None"}}}};
        request_.trackLengthMetres = 2500.0;
        request_.speedUnit = 0;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    QTreeWidgetItem* Lap(Chooselap& dialog, int driver, int lap) {
        return dialog.Tree()->topLevelItem(driver)->child(0)->child(lap);
    }
    QPushButton* Button(Chooselap& dialog, QDialogButtonBox::StandardButton which) {
        return dialog.findChild<QDialogButtonBox*>()->button(which);
    }

    std::filesystem::path dir_, path_;
    vra::Header header_;
    vra::Drivers drivers_;
    vra::LapChoiceRequest request_;
    vra::test::ScriptedPrompts prompts_;
};

QStringList Children(QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i) texts << item->child(i)->text(0);
    return texts;
}

}  // namespace

TEST_F(ChooserFixture, TreeListsDriversSessionsAndLapsWithTimesAndSpeeds) {
    Chooselap dialog(request_, prompts_);
    EXPECT_EQ(dialog.windowTitle(),
              QStringLiteral("Choose Lap To Load from ") + QString::fromStdString(path_.string()));
    QTreeWidget* tree = dialog.Tree();
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("Alex Morgan #1"));
    EXPECT_EQ(tree->topLevelItem(1)->text(0), QStringLiteral("Driver1 Racer1 #2"));
    EXPECT_EQ(Children(tree->topLevelItem(0)), QStringList{"Race Laps"});
    const QStringList human = Children(tree->topLevelItem(0)->child(0));
    ASSERT_EQ(human.size(), 4);
    EXPECT_THAT(human[0].toStdString(), StartsWith("Time before start/finish: "));
    EXPECT_EQ(human[1], QStringLiteral("Lap 1: 1m20.000s (112.500kph)"));
    EXPECT_EQ(human[2], QStringLiteral("Lap 2: 1m20.000s (112.500kph) [16]"));
    const QStringList ai = Children(tree->topLevelItem(1)->child(0));
    EXPECT_EQ(ai[1], QStringLiteral("Lap 1: 1m20.250s (112.150kph)"));
    EXPECT_EQ(ai[3], QStringLiteral("Lap 3: 1m20.250s (112.150kph) [32]"));

    // Bold exactly where the lap can be chosen: complete laps, not the run-up.
    EXPECT_FALSE(Lap(dialog, 0, 0)->font(0).bold());
    EXPECT_TRUE(Lap(dialog, 0, 1)->font(0).bold());
    EXPECT_FALSE(Lap(dialog, 0, 2)->font(0).bold());
    EXPECT_TRUE(Lap(dialog, 1, 3)->font(0).bold());
}

TEST_F(ChooserFixture, SelectingALapFillsTheLapAndDriverFields) {
    Chooselap dialog(request_, prompts_);
    EXPECT_EQ(dialog.Field("Laptime:"), QStringLiteral("None selected"));
    // The replay's settings stand in their own groups, all in view; each
    // group's "Cars:" shows its own count.
    QStringList groups;
    for (const QGroupBox* box : dialog.findChildren<QGroupBox*>()) groups << box->title();
    EXPECT_EQ(groups, (QStringList{"Replay information", "Weather", "Weekend info", "AI settings", "Misc information",
                                   "Selected driver information", "Selected lap information"}));
    EXPECT_EQ(dialog.findChildren<QScrollArea*>().size(), 0);
    EXPECT_EQ(dialog.InfoField("Replay information", "Cars:"), QStringLiteral("2"));
    EXPECT_EQ(dialog.InfoField("AI settings", "Cars:"), QStringLiteral("1"));
    EXPECT_EQ(dialog.InfoField("Replay information", "Track:"), QStringLiteral("DEMO"));

    // The run-up before the first crossing is listed but is no lap.
    dialog.Tree()->setCurrentItem(Lap(dialog, 1, 3));
    dialog.Tree()->setCurrentItem(Lap(dialog, 0, 0));
    EXPECT_EQ(dialog.Field("Laptime:"), QStringLiteral("None selected"));
    EXPECT_EQ(dialog.Field("Selectable lap:"), QStringLiteral("No"));
    EXPECT_EQ(dialog.Field("Session:"), QString());
    EXPECT_FALSE(dialog.QualityButton()->isEnabled());

    dialog.Tree()->setCurrentItem(Lap(dialog, 0, 2));
    EXPECT_EQ(dialog.Field("Laptime:"), QStringLiteral("1m20.000s (112.500kph) [16]"));
    EXPECT_EQ(dialog.Field("Incident(s):"), QStringLiteral("Incomplete"));
    EXPECT_EQ(dialog.Field("Session:"), QStringLiteral("Race"));
    EXPECT_EQ(dialog.Field("Selectable lap:"), QStringLiteral("No"));
    EXPECT_FALSE(dialog.QualityButton()->isEnabled());
    EXPECT_EQ(dialog.Field("Driver name:"), QStringLiteral("Alex Morgan"));
    EXPECT_EQ(dialog.Field("Type:"), QStringLiteral("Human"));
    EXPECT_EQ(dialog.Field("Car-number:"), QStringLiteral("   1"));

    dialog.Tree()->setCurrentItem(Lap(dialog, 1, 3));
    EXPECT_EQ(dialog.Field("Incident(s):"), QStringLiteral("Pitted"));
    EXPECT_EQ(dialog.Field("Selectable lap:"), QStringLiteral("Yes"));
    EXPECT_TRUE(dialog.QualityButton()->isEnabled());
    EXPECT_EQ(dialog.Field("Type:"), QStringLiteral("AI-car"));

    dialog.Tree()->setCurrentItem(Lap(dialog, 1, 1));
    EXPECT_EQ(dialog.Field("Incident(s):"), QStringLiteral("None reported"));

    dialog.Tree()->setCurrentItem(dialog.Tree()->topLevelItem(0));
    EXPECT_EQ(dialog.Field("Laptime:"), QStringLiteral("None selected"));
    EXPECT_EQ(dialog.Field("Session:"), QString());
    EXPECT_EQ(dialog.Field("Driver name:"), QStringLiteral("Alex Morgan"));
    EXPECT_FALSE(dialog.QualityButton()->isEnabled());
}

TEST_F(ChooserFixture, NamesShowAsTheyAreSpelt) {
    vra::Drivers::Driver& driver = drivers_.drivers[0];
    driver.firstName = "<b>Al</b>";
    driver.lastName = "M&M";
    request_.info[0].fields[0].second = "<i>R&D</i> ring";
    Chooselap dialog(request_, prompts_);
    dialog.Tree()->setCurrentItem(Lap(dialog, 0, 2));
    QStringList shown;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) shown << vra::test::ShownText(*label);
    EXPECT_TRUE(shown.contains(QStringLiteral("<b>Al</b> M&M"))) << shown.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("<i>R&D</i> ring")));
}

TEST_F(ChooserFixture, OkRefusesNodesAndLapsWithoutDataAndTakesABoldLap) {
    Chooselap dialog(request_, prompts_);
    dialog.show();
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    dialog.Tree()->setCurrentItem(dialog.Tree()->topLevelItem(1)->child(0));
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    dialog.Tree()->setCurrentItem(Lap(dialog, 0, 2));
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    // The time before start/finish is a lap item that is never bold.
    dialog.Tree()->setCurrentItem(Lap(dialog, 0, 0));
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    const std::string notStored = "Data for this lap is not stored in the replay file\nor lap isn't complete.";
    EXPECT_THAT(prompts_.messages(),
                ElementsAre("Choose a lap to view!", "Choose a lap to view!", notStored, notStored));
    EXPECT_EQ(prompts_.shown()[0].caption, "No lap choosen!");
    EXPECT_EQ(prompts_.shown()[0].icon, vra::Icon::Error);
    EXPECT_EQ(prompts_.shown()[2].caption, "Not a valid lap!");
    EXPECT_EQ(prompts_.shown()[3].caption, "Not a valid lap!");
    EXPECT_EQ(prompts_.shown()[3].icon, vra::Icon::Error);

    dialog.Tree()->setCurrentItem(Lap(dialog, 1, 3));
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Result().driver, 1);
    EXPECT_EQ(dialog.Result().session, kRace);
    EXPECT_EQ(dialog.Result().lap, 3);
}

TEST_F(ChooserFixture, DoubleClickTakesALapAndCancelTakesNothing) {
    {
        Chooselap dialog(request_, prompts_);
        dialog.show();
        dialog.Tree()->expandAll();
        QCoreApplication::processEvents();
        const QRect r = dialog.Tree()->visualItemRect(Lap(dialog, 0, 1));
        QTest::mouseClick(dialog.Tree()->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(dialog.Tree()->viewport(), Qt::LeftButton, {}, r.center());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Result().driver, 0);
        EXPECT_EQ(dialog.Result().lap, 1);
    }
    Chooselap dialog(request_, prompts_);
    dialog.show();
    dialog.Tree()->setCurrentItem(Lap(dialog, 0, 1));
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Cancel), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(prompts_.messages().empty());
}

TEST_F(ChooserFixture, OnlySelectableLapsHidesTheOthersAndBringsThemBack) {
    Chooselap dialog(request_, prompts_);
    const QString title = dialog.windowTitle();
    dialog.Tree()->setCurrentItem(Lap(dialog, 0, 1));
    dialog.OnlySelectable()->setChecked(true);
    EXPECT_EQ(Children(dialog.Tree()->topLevelItem(0)->child(0)),
              (QStringList{"Lap 1: 1m20.000s (112.500kph)", "Lap 3: 1m20.000s (112.500kph)"}));
    EXPECT_EQ(dialog.Tree()->topLevelItem(1)->child(0)->childCount(), 3);
    dialog.OnlySelectable()->setChecked(false);
    EXPECT_EQ(dialog.Tree()->topLevelItem(0)->child(0)->childCount(), 4);
    EXPECT_EQ(dialog.Field("Laptime:"), QStringLiteral("None selected"));
    EXPECT_FALSE(dialog.QualityButton()->isEnabled());
    dialog.OnlySelectable()->setChecked(true);
    dialog.OnlySelectable()->setChecked(false);
    // The path is named once however often the tree is rebuilt.
    EXPECT_EQ(dialog.windowTitle(), title);
}

TEST_F(ChooserFixture, QualityReportOfACompleteLap) {
    Chooselap dialog(request_, prompts_);
    dialog.show();
    dialog.Tree()->setCurrentItem(Lap(dialog, 0, 1));
    QTest::mouseClick(dialog.QualityButton(), Qt::LeftButton);
    ASSERT_EQ(prompts_.shown().size(), 1u);
    EXPECT_EQ(prompts_.shown()[0].caption, "Quality report");
    EXPECT_THAT(prompts_.shown()[0].text, StartsWith("Online quality of lapdata: 100%\nLargest online gap: 0 seconds"));
}

TEST(ChooselapTexts, LapItemsWithoutTimeOrLengthHaveNoSpeed) {
    EXPECT_EQ(Chooselap::FormatLapItem(83456, 3, 2500.0, false), "Lap 3: 1m23.456s (107.841kph)");
    EXPECT_EQ(Chooselap::FormatLapItem(83456, 3, 2500.0, true), "Lap 3: 1m23.456s ( 67.009mph)");
    EXPECT_EQ(Chooselap::FormatLapItem(0, 3, 2500.0, false), "Lap 3: 0m00.000s");
    EXPECT_EQ(Chooselap::FormatLapItem(kPitted, 2, 2500.0, false), "Lap 2: 0m00.000s [32]");
    EXPECT_EQ(Chooselap::FormatLapItem(83456, 3, 0.0, false), "Lap 3: 1m23.456s");
    EXPECT_EQ(Chooselap::FormatLapItem(5000 | 0xC0000000u, 0, 2500.0, false),
              "Time before start/finish: 0m05.000s [192]");
    EXPECT_EQ(Chooselap::FormatLapItem(0xCDCDCDCD, 4, 2500.0, false), "No time");
    EXPECT_EQ(Chooselap::FormatLapItem(1000, 1, 2500.0, false), "Lap 1: 0m01.000s (9000.000kph)");
}

TEST(ChooselapTexts, QualityReportCopesWithNoSamples) {
    EXPECT_EQ(Chooselap::QualityText(0, 0, 0, 0, 0), "Online quality of lapdata: 0%\nLargest online gap: 0 seconds");
    EXPECT_EQ(Chooselap::QualityText(3600, 900, 72, 2700, 100000),
              "Online quality of lapdata: 75%\nLargest online gap: 2 seconds");
    EXPECT_THAT(Chooselap::QualityText(360, 0, 0, 360, 80000),
                HasSubstr("\n\nPossible partly loss of data due to accelerated time\nor other disturbance."));
    EXPECT_EQ(Chooselap::QualityText(360, 0, 0, 0, 10000),
              "This laps seems to be a lap set under\r\naccelerated time and contains no data.");
}

}  // namespace vra
