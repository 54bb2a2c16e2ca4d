// The report site in the running analyser: the command's map shows the
// ticked laps; the listener keeps the idle commands off while open, a second
// one replaces the first, and its polls list what it did.
#include "gui/export/ReportSiteListener.h"

#include "core/commands/CommandIds.h"
#include "core/settings/AppSettings.h"

#include "AnalyserFixture.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QWindow>

namespace vra::test {
namespace {

std::vector<ReportSiteListener*> Listeners() {
    std::vector<ReportSiteListener*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* l = qobject_cast<ReportSiteListener*>(w)) found.push_back(l);
    return found;
}

class Listener : public AnalyserStart {};

TEST_F(Listener, OpenKeepsTheIdleCommandsOffUntilClosed) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    const auto enabled = [&](int id) { return app.Frame()->Action(id)->isEnabled(); };
    ASSERT_TRUE(enabled(cmd::Play));
    ASSERT_TRUE(enabled(cmd::ReportRace));

    app.Frame()->Action(cmd::ReportSiteListener)->trigger();
    ASSERT_EQ(Listeners().size(), 1u);
    ReportSiteListener* first = Listeners()[0];
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->parent(), nullptr);
    EXPECT_EQ(first->Timer().interval(), 2000);
    for (int id : {cmd::Play, cmd::ReportRace, cmd::FilePrint, cmd::GenerateReportSite, cmd::ReportSiteListener})
        EXPECT_FALSE(enabled(id)) << id;

    // Opened again from elsewhere: one listener, a new one.
    app.Frame()->Action(cmd::ReportSiteListener)->setEnabled(true);
    app.Frame()->Action(cmd::ReportSiteListener)->trigger();
    ASSERT_EQ(Listeners().size(), 1u);
    ReportSiteListener* second = Listeners()[0];
    EXPECT_TRUE(second->isVisible());

    second->CloseButton()->click();
    for (int id : {cmd::Play, cmd::ReportRace, cmd::FilePrint, cmd::ReportSiteListener}) EXPECT_TRUE(enabled(id)) << id;
    EXPECT_FALSE(second->Timer().isActive());
}

// Escape (reject()) hides the window without a close event; the window
// frame's close goes through one. Either way the polls stop and the idle
// commands come back.
TEST_F(Listener, EscapeAndTheWindowFrameCloseItAsItsButtonDoes) {
    CRpyGraphApp& app = Start();
    AddRaceLap(0, 2);
    const auto enabled = [&](int id) { return app.Frame()->Action(id)->isEnabled(); };
    const auto open = [&] {
        app.Frame()->Action(cmd::ReportSiteListener)->trigger();
        EXPECT_EQ(Listeners().size(), 1u);
        EXPECT_FALSE(enabled(cmd::Play));
        return Listeners().at(0);
    };
    const auto expectClosed = [&](ReportSiteListener* listener) {
        EXPECT_FALSE(listener->isVisible());
        EXPECT_FALSE(listener->Timer().isActive());
        for (int id : {cmd::Play, cmd::ReportRace, cmd::FilePrint, cmd::GenerateReportSite, cmd::ReportSiteListener})
            EXPECT_TRUE(enabled(id)) << id;
    };

    ReportSiteListener* escaped = open();
    QTest::keyClick(escaped, Qt::Key_Escape);
    expectClosed(escaped);

    ReportSiteListener* rejected = open();
    rejected->reject();
    expectClosed(rejected);

    ReportSiteListener* framed = open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(framed));
    framed->windowHandle()->close();
    expectClosed(framed);
}

TEST_F(Listener, PollsListTheReplaysHandled) {
    CRpyGraphApp& app = Start();
    CRpyGraphDoc& doc = *app.Document();
    std::vector<ReplayWatch::Entry> entries;
    ReportSiteListener listener(
        doc, [&] { return entries; }, 100);
    listener.Poll();
    EXPECT_EQ(listener.Status()->text(),
              QStringLiteral("No export path set. Please set this\r\npath in File->Settings dialog."));

    const std::filesystem::path exportDir = root_ / "export";
    std::filesystem::create_directories(exportDir);
    doc.Settings().SetRecordsPath(exportDir.string());
    entries.push_back({race_, 10, 200});
    listener.Poll();
    listener.Poll();
    ASSERT_EQ(listener.Handled()->count(), 1);
    EXPECT_TRUE(listener.Handled()->item(0)->text().startsWith(
        QString::fromStdString(race_.filename().string() + ": Report site created in ")));
    const std::filesystem::path site = exportDir / race_.stem();
    EXPECT_TRUE(std::filesystem::exists(site / "track.png"));
    // The document's track is not the listener's.
    EXPECT_FALSE(doc.TrackLoaded());
}

TEST_F(Listener, SiteCommandDrawsTheTickedLapOnItsMap) {
    CRpyGraphApp& app = Start();
    const std::filesystem::path exportDir = root_ / "export";
    std::filesystem::create_directories(exportDir);
    app.Document()->Settings().SetRecordsPath(exportDir.string());
    AddRaceLap(0, 2);
    ViewDialog* bar = app.ViewBar();
    if (!bar->IsLapTicked(1)) bar->ToggleLap(1);
    prompts_.answer(Button::No);
    app.Frame()->Action(cmd::GenerateReportSite)->trigger();
    const QImage map(QString::fromStdString((exportDir / race_.stem() / "track.png").string()));
    ASSERT_EQ(map.size(), QSize(768, 768)) << prompts_.messages().back();
    EXPECT_EQ(map.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(map.pixelColor(767, 767), QColor(Qt::white));
    int lapPixels = 0;
    for (int y = 0; y < map.height(); ++y)
        for (int x = 0; x < map.width(); ++x) lapPixels += map.pixelColor(x, y) == LapColour(0);
    EXPECT_GT(lapPixels, 100);
    EXPECT_TRUE(shell_.opened().empty());
}

}  // namespace
}  // namespace vra::test
