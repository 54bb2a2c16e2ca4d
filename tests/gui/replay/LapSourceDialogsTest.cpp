#include "core/document/CRpyGraphDoc.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/settings/AppSettings.h"
#include "gui/dialogs/CFolderDialog.h"
#include "gui/platform/QtVolumes.h"
#include "gui/replay/LapFinderDialog.h"
#include "gui/replay/LoadedLapsArrangerDialog.h"
#include "gui/replay/ReplayCDDatabaseCreatorDialog.h"
#include "gui/replay/RpyDBFilename.h"

#include "simkit/replay/DatabaseWriter.h"
#include "simkit/replay/ReplayBuilder.h"
#include "support/ScratchDir.h"
#include "support/platform/FakeDesktop.h"
#include "support/platform/FakeVolumes.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace vra {
namespace {

using ::testing::ElementsAre;

class LapSourceDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(sim / "replay");
        std::filesystem::create_directories(sim / "tracks" / "oval");
        std::filesystem::create_directories(sim / "tracks" / "ring");
        std::ofstream(sim / "VELMAR.exe") << "exe";
        settings = std::make_unique<AppSettings>(store);
        settings->SetSimFolder(sim.string());
    }
    static void Replay(const std::filesystem::path& p, const std::string& track, std::uint32_t ms, int cars = 2) {
        simkit::ReplayBuilder b;
        b.drivers(cars).session(3, 2, ms).trackLength(2000);
        b.desc.settings.trackName = track;
        std::filesystem::create_directories(p.parent_path());
        ASSERT_TRUE(b.writeFile(p));
    }
    CRpyGraphDoc& document() {
        if (!doc) doc = std::make_unique<CRpyGraphDoc>(*settings, prompts, waitBox);
        return *doc;
    }
    static QStringList Column(QTreeWidget* list, int c) {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(c);
        return out;
    }
    // A click on a heading as the header view reports it.
    static void ClickHeading(QTreeWidget* list, int column) { emit list->header()->sectionClicked(column); }

    const test::ScratchDir scratch{"lapdialogs"};
    const std::filesystem::path sim = scratch.path() / "sim";
    const std::filesystem::path disc = scratch.path() / "disc";
    test::MemorySettingsStore store;
    std::unique_ptr<AppSettings> settings;
    test::ScriptedPrompts prompts;
    test::RecordingWaitBox waitBox;
    test::FakeVolumes volumes;
    test::FakeClipboard clipboard;
    std::unique_ptr<CRpyGraphDoc> doc;
};

TEST_F(LapSourceDialogs, CreatorListsVolumesAndMakesADatabase) {
    volumes.volumes = {test::FakeVolumes::EmptyDrive("/dev/sr1")};
    ReplayCDDatabaseCreatorDialog dlg(sim.string(), volumes, prompts);
    EXPECT_TRUE(dlg.Information()->toPlainText().startsWith("This feature lets you burn your VELMR replay files"));
    EXPECT_TRUE(dlg.Information()->isReadOnly());
    EXPECT_EQ(dlg.Drives()->count(), 1);
    EXPECT_EQ(dlg.Drives()->itemText(0), "/dev/sr1 [No Disk in Drive]");
    EXPECT_FALSE(dlg.CreateButton()->isEnabled());

    for (int i = 0; i < 3; ++i) Replay(disc / ("r" + std::to_string(i) + ".rpy"), "OVAL", 40000);
    volumes.volumes.push_back(test::FakeVolumes::Disc(disc, "RACES"));
    QTest::mouseClick(dlg.RescanButton(), Qt::LeftButton);
    ASSERT_EQ(dlg.Drives()->count(), 2);
    EXPECT_EQ(dlg.Drives()->itemText(1), QString::fromStdString(disc.string() + " RACES [iso9660]"));
    EXPECT_TRUE(dlg.CreateButton()->isEnabled());

    std::string proposed;
    dlg.SetNameAsker([&](const std::string& p) -> std::optional<std::string> {
        proposed = p;
        return std::string("mine");
    });
    dlg.Drives()->setCurrentIndex(1);
    QTest::mouseClick(dlg.CreateButton(), Qt::LeftButton);
    EXPECT_EQ(proposed, "RACES [iso9660]");
    EXPECT_EQ(dlg.LastRange(), std::make_pair(0, 3));
    EXPECT_EQ(dlg.Progress()->value(), 0);
    EXPECT_TRUE(std::filesystem::exists(sim / "replay" / "VELMRRA_CDDB" / "mine.rdb"));
    EXPECT_EQ(prompts.messages().back(), "The replay CD contained 3 replays,\r\nall were added to the database.");

    volumes.volumes.clear();
    dlg.OnRescanDrives();
    EXPECT_EQ(dlg.Drives()->itemText(0), "No CD-roms found");
    EXPECT_FALSE(dlg.CreateButton()->isEnabled());

    RpyDBFilename name("RACES [iso9660]");
    EXPECT_EQ(name.Edit()->text(), "RACES [iso9660]");
    name.Edit()->setText(QString::fromUtf8("Saison \xC3\xA9t\xC3\xA9"));
    name.accept();
    EXPECT_EQ(name.Name(), "Saison \xC3\xA9t\xC3\xA9");  // a file name, as the system spells it
}

// Names of files, folders and discs show as the system spells them, the
// drivers' names as the replays hold them (Windows-1252), side by side.
TEST_F(LapSourceDialogs, FileNamesAndReplayTextsShowEachInItsOwnEncoding) {
    const std::string file =
        "\xC3\x9C"
        "bung Z\xC3\xBC"
        "rich.rpy";  // UTF-8
    simkit::ReplayBuilder b;
    b.drivers(2).session(3, 2, 40000).trackLength(2000);
    b.desc.settings.trackName = "OVAL";
    b.desc.drivers[0].firstName = "J\xF6rg";  // Windows-1252
    ASSERT_TRUE(b.writeFile(sim / "replay" / file));
    const QString shownFile = QString::fromUtf8("\u00DCbung Z\u00FCrich.rpy");
    const QString driver = QString::fromUtf8("J\u00F6rg ");

    LapFinderDialog finder(document(), volumes, waitBox, clipboard);
    finder.Tracks()->setCurrentIndex(0);
    finder.OnTrackChosen();
    ASSERT_EQ(finder.List()->topLevelItemCount(), 2);
    EXPECT_EQ(finder.List()->topLevelItem(0)->text(5), shownFile);
    EXPECT_TRUE(finder.List()->topLevelItem(0)->text(0).startsWith(driver));
    finder.List()->topLevelItem(0)->setSelected(true);
    finder.accept();
    ASSERT_EQ(document().LapCount(), 1);

    LoadedLapsArrangerDialog arranger(document());
    EXPECT_EQ(arranger.List()->topLevelItem(0)->text(4),
              QString::fromStdString(sim.string()) + QStringLiteral("/replay/") + shownFile);
    EXPECT_TRUE(arranger.List()->topLevelItem(0)->text(0).startsWith(driver));

    const std::filesystem::path summer = scratch.path() / "Saison \xC3\xA9t\xC3\xA9";
    std::filesystem::create_directories(summer);
    volumes.volumes = {test::FakeVolumes::Disc(summer, "\xC3\x89T\xC3\x89")};
    ReplayCDDatabaseCreatorDialog creator(sim.string(), volumes, prompts);
    EXPECT_EQ(creator.Drives()->itemText(0), QString::fromStdString(scratch.path().string()) +
                                                 QString::fromUtf8("/Saison \u00E9t\u00E9 \u00C9T\u00C9 [iso9660]"));
}

TEST_F(LapSourceDialogs, LapFinderListsSortsCopiesAndLoads) {
    Replay(sim / "replay" / "a.rpy", "OVAL", 61000, 3);
    Replay(sim / "replay" / "b.rpy", "OVAL", 59000, 2);
    Replay(sim / "replay" / "c.rpy", "RING", 50000, 2);
    LapFinderDialog dlg(document(), volumes, waitBox, clipboard);
    ASSERT_EQ(dlg.Tracks()->count(), 2);
    EXPECT_EQ(dlg.Tracks()->itemText(0), "oval");
    EXPECT_EQ(dlg.List()->topLevelItemCount(), 0);  // nothing loaded: no track chosen yet
    EXPECT_TRUE(dlg.FilterButton(LapFinder::Filter::OnlyLocal)->isChecked());
    EXPECT_TRUE(dlg.SortButton(1)->isChecked());
    // The sort buttons stand four to a column; each keeps its own mode.
    const auto* sorts = qobject_cast<QGridLayout*>(dlg.SortButton(1)->parentWidget()->layout());
    ASSERT_NE(sorts, nullptr);
    QStringList order;
    for (int col = 0; col < 2; ++col)
        for (int row = 0; row < 4; ++row)
            order << qobject_cast<QRadioButton*>(sorts->itemAtPosition(row, col)->widget())->text();
    EXPECT_EQ(order, QStringList({"Unsorted (fastest)", "By Driver", "By Laptime", "By Game mode", "By Session",
                                  "By Filedate", "By Replay File", "By Physics"}));
    EXPECT_EQ(dlg.SortButton(7)->text(), "By Filedate");

    // Columns: seven shown, the key and label hidden; widths from the headings.
    EXPECT_EQ(dlg.List()->columnCount(), 9);
    EXPECT_TRUE(dlg.List()->isColumnHidden(7));
    EXPECT_TRUE(dlg.List()->isColumnHidden(8));
    const QFontMetrics fm(dlg.List()->header()->font());
    EXPECT_EQ(dlg.List()->columnWidth(0), fm.horizontalAdvance(dlg.List()->headerItem()->text(0)) + 15);
    EXPECT_EQ(dlg.List()->columnWidth(5), (fm.horizontalAdvance(dlg.List()->headerItem()->text(5)) - 10) * 3);

    dlg.Tracks()->setCurrentIndex(0);
    dlg.OnTrackChosen();
    EXPECT_EQ(dlg.List()->topLevelItemCount(), 4);  // the saving player's two laps of each oval replay
    EXPECT_EQ(dlg.Count()->text(), "4");
    EXPECT_EQ(dlg.Status()->text(),
              "Total number of replay files scanned was 3, out of which 0 were taken from Replay CD databases.");
    EXPECT_EQ(Column(dlg.List(), 1), QStringList({"1m 01.000s", "1m 01.000s", "0m 59.000s", "0m 59.000s"}));

    QTest::mouseClick(dlg.FilterButton(LapFinder::Filter::ShowAll), Qt::LeftButton);
    EXPECT_EQ(dlg.List()->topLevelItemCount(), 10);
    QTest::mouseClick(dlg.FilterButton(LapFinder::Filter::NoAi), Qt::LeftButton);
    EXPECT_EQ(dlg.List()->topLevelItemCount(), 4);
    EXPECT_FALSE(dlg.FilterButton(LapFinder::Filter::ShowAll)->isChecked());

    QTest::mouseClick(dlg.SortButton(3), Qt::LeftButton);  // by lap time
    EXPECT_EQ(Column(dlg.List(), 1), QStringList({"0m 59.000s", "0m 59.000s", "1m 01.000s", "1m 01.000s"}));
    EXPECT_TRUE(dlg.SortButton(3)->isChecked());
    EXPECT_FALSE(dlg.SortButton(1)->isChecked());
    ClickHeading(dlg.List(), 5);  // by replay file
    EXPECT_TRUE(dlg.SortButton(6)->isChecked());
    EXPECT_EQ(Column(dlg.List(), 5), QStringList({"a.rpy", "a.rpy", "b.rpy", "b.rpy"}));
    ClickHeading(dlg.List(), 6);
    EXPECT_TRUE(dlg.SortButton(8)->isChecked());

    QMenu* menu = dlg.PopupMenu();
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), "Copy table to clipboard ");
    EXPECT_FALSE(menu->actions()[1]->isEnabled());
    menu->actions()[0]->trigger();
    EXPECT_TRUE(clipboard.text().starts_with("Driver Name\tLap time\tGame mode\tSession\tFiledate\tReplay file\n"));

    // OK without a selection stays; with one the lap is loaded.
    dlg.accept();
    EXPECT_EQ(prompts.messages().back(), "Choose a lap to view!");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    dlg.List()->topLevelItem(2)->setSelected(true);
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    ASSERT_EQ(document().LapCount(), 1);
    EXPECT_EQ(document().Slot(0).header->path, sim / "replay" / "b.rpy");

    // Opened again with a lap loaded: its track is chosen and scanned.
    LapFinderDialog again(document(), volumes, waitBox, clipboard);
    EXPECT_EQ(again.Tracks()->currentText(), "oval");
    EXPECT_EQ(again.List()->topLevelItemCount(), 4);
}

TEST_F(LapSourceDialogs, ArrangerMovesAndRemoves) {
    for (int i = 0; i < 3; ++i) {
        const auto p = sim / "replay" / ("l" + std::to_string(i) + ".rpy");
        Replay(p, "OVAL", 41000 + 1000 * i);
        document().AddLapFromLapFinder(p, 0, 3, 1);
    }
    ASSERT_EQ(document().LapCount(), 3);
    LoadedLapsArrangerDialog dlg(document());
    EXPECT_EQ(dlg.List()->topLevelItemCount(), 3);
    EXPECT_TRUE(dlg.List()->isColumnHidden(5));
    EXPECT_EQ(Column(dlg.List(), 1), QStringList({"0m 41.000s", "0m 42.000s", "0m 43.000s"}));
    QTest::mouseClick(dlg.UpButton(), Qt::LeftButton);
    EXPECT_EQ(prompts.messages().back(), "Choose a lap to move!");
    dlg.List()->topLevelItem(0)->setSelected(true);
    QTest::mouseClick(dlg.DownButton(), Qt::LeftButton);
    EXPECT_EQ(Column(dlg.List(), 5), QStringList({"1", "0", "2"}));
    EXPECT_TRUE(dlg.List()->topLevelItem(1)->isSelected());
    dlg.List()->topLevelItem(1)->setSelected(false);
    dlg.List()->topLevelItem(2)->setSelected(true);
    QTest::mouseClick(dlg.RemoveButton(), Qt::LeftButton);
    EXPECT_EQ(Column(dlg.List(), 5), QStringList({"1", "0"}));
    dlg.accept();
    ASSERT_EQ(document().LapCount(), 2);
    EXPECT_EQ(document().Slot(0).drivers->LapWordAt(3, 0, 1) & 0x0FFFFFFF, 42000u);
    EXPECT_EQ(document().Slot(1).drivers->LapWordAt(3, 0, 1) & 0x0FFFFFFF, 41000u);
}

TEST_F(LapSourceDialogs, FolderPickerReturnsTheShownFolder) {
    std::filesystem::create_directories(scratch.path() / "pick" / "inner");
    std::string result;
    CFolderDialog dlg(&result, nullptr, QString::fromStdString((scratch.path() / "pick").string()));
    EXPECT_EQ(dlg.windowTitle(), "Choose folder");
    EXPECT_EQ(dlg.labelText(QFileDialog::Accept), "Select");
    EXPECT_EQ(dlg.fileMode(), QFileDialog::Directory);
    dlg.selectFile(QString::fromStdString((scratch.path() / "pick" / "inner").string()));
    dlg.accept();
    EXPECT_EQ(result, (scratch.path() / "pick").string());
    EXPECT_EQ(CFolderDialog::WithoutTrailingSeparator("/media/disc//"), "/media/disc");
    EXPECT_EQ(CFolderDialog::WithoutTrailingSeparator("/"), "/");

    EXPECT_TRUE(QtVolumes::IsRemovable("/dev/sr0", "/media/user/RACES"));
    EXPECT_TRUE(QtVolumes::IsRemovable("/dev/loop3", "/media/user/image"));
    EXPECT_FALSE(QtVolumes::IsRemovable("/dev/loop3", "/"));
    EXPECT_FALSE(QtVolumes::IsRemovable("tmpfs", "/tmp"));
    QtVolumes live;
    for (const Volume& v : live.List()) EXPECT_FALSE(v.ready && v.root.empty());
}

}  // namespace
}  // namespace vra
