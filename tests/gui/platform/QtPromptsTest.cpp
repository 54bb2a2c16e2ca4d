#include "gui/platform/QtPrompts.h"

#include "core/playback/RaceModel.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/replay/ReplaySource.h"

#include "simkit/replay/ReplayBuilder.h"
#include "support/ScratchDir.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <type_traits>

using namespace vra;

namespace {

// Runs act on the modal dialog of type Box once it is shown (it runs its own loop).
template <class Box = QMessageBox>
void WhenBoxShows(std::function<void(std::type_identity_t<Box>*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* box = qobject_cast<Box*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(box);
        }
    });
    timer->start();
}

}  // namespace

TEST(QtPrompts, MessageBoxShowsTheTextAndReportsTheButton) {
    QtPrompts prompts;
    QString seenText, seenTitle;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    WhenBoxShows([&](QMessageBox* box) {
        seenText = box->text();
        seenTitle = box->windowTitle();
        seenIcon = box->icon();
        box->button(QMessageBox::No)->click();
    });
    const Button b =
        prompts.message("Different physics!\r\nLoad it anyway? \x80", "Warning", Icon::Question, Buttons::YesNo);
    EXPECT_EQ(b, Button::No);
    EXPECT_EQ(seenText, QString::fromUtf8("Different physics!\nLoad it anyway? \u20AC"));
    EXPECT_EQ(seenTitle, "Warning");
    EXPECT_EQ(seenIcon, QMessageBox::Question);
}

// The program's own texts are Windows-1252 like the replays' strings: a race
// without its start value says so in the box as written.
TEST(QtPrompts, TheProgramsOwnTextsReadAsWritten) {
    simkit::ReplayBuilder b;
    b.drivers(2).session(3, 1, 30000);
    b.desc.sessions.back().raceStartMs = std::nullopt;
    const std::vector<std::uint8_t> bytes = b.build();
    Header header;
    header.ReadBytes(bytes);
    Drivers drivers;
    ASSERT_EQ(drivers.LoadBytes(bytes), Drivers::LoadResult::Ok);
    ReplaySource source(bytes);
    QtPrompts prompts;
    QString seenText;
    WhenBoxShows([&](QMessageBox* box) {
        seenText = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    RaceModel race;
    EXPECT_TRUE(race.Load(source, drivers, header, nullptr, 1.0, prompts, nullptr));
    EXPECT_EQ(seenText, QString::fromUtf8("0x0d utan 0x0e. Ngt \u00E4r knas!"));
}

TEST(QtPrompts, AnEmptyCaptionIsTheProgramsNameAndClosingTheBoxIsItsWayOut) {
    QtPrompts prompts;
    QString seenTitle;
    WhenBoxShows([&](QMessageBox* box) {
        seenTitle = box->windowTitle();
        box->reject();
    });
    EXPECT_EQ(prompts.message("Retry?", "", Icon::Error, Buttons::RetryCancel), Button::Cancel);
    EXPECT_EQ(seenTitle, QApplication::applicationDisplayName());
}

// A file name shows as the system spells it (UTF-8 here), the text around it
// as Windows-1252; a default name made from a file name is offered and
// written under that name.
TEST(QtPrompts, FileNamesKeepTheSystemsSpelling) {
    QtPrompts prompts;
    QString seenText;
    WhenBoxShows<QMessageBox>([&](QMessageBox* box) {
        seenText = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    prompts.messageText(ShownText()
                            .FileName("/r/\xC3\x9C"
                                      "bung Z\xC3\xBC"
                                      "rich.rpy")
                            .Text("\r\nNot included \x80"),
                        "", Icon::Error, Buttons::Ok);
    EXPECT_EQ(seenText, QString::fromUtf8("/r/\u00DCbung Z\u00FCrich.rpy\nNot included \u20AC"));

    const test::ScratchDir dir("prompts");
    SaveFileRequest request;
    request.initialFolder = dir.path();
    request.defaultName = ShownText("RHfix_").FileName("TA R\xC3\xA4nnen.rpy");
    QString offered;
    WhenBoxShows<QFileDialog>([&](QFileDialog* dialog) {
        if (auto* edit = dialog->findChild<QLineEdit*>()) offered = edit->text();
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const auto chosen = prompts.saveFile(request);
    EXPECT_EQ(offered, QString::fromUtf8("RHfix_TA R\u00E4nnen.rpy"));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, dir.path() / "RHfix_TA R\xC3\xA4nnen.rpy");

    // The dialog keeps its history in the test run's own folder, not in the
    // user's home.
    const QString history = QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName();
    EXPECT_TRUE(history.startsWith(QDir::tempPath() + QLatin1Char('/'))) << history.toStdString();
    EXPECT_TRUE(QFileInfo::exists(history));
}

TEST(QtPrompts, FileFiltersMatchAnyCase) {
    const QString filters = QtPrompts::nameFilters({{"Replay files (*.rpy)", "*.rpy"}, {"All Files(*.*)", "*.*"}});
    EXPECT_EQ(filters, "Replay files (*.rpy) (*.[rR][pP][yY]);;All Files(*.*) (*)");
    EXPECT_EQ(QtPrompts::nameFilters({{"Velmar exe File (VELMAR.exe)", "VELMAR.exe"}}),
              "Velmar exe File (VELMAR.exe) ([vV][eE][lL][mM][aA][rR].[eE][xX][eE])");
}
