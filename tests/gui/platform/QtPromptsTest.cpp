#include "gui/platform/QtPrompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using namespace vra;

namespace {

// Runs act on the message box once it is shown (it runs its own loop).
void WhenBoxShows(std::function<void(QMessageBox*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
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

TEST(QtPrompts, FileFiltersMatchAnyCase) {
    const QString filters = QtPrompts::nameFilters({{"Replay files (*.rpy)", "*.rpy"}, {"All Files(*.*)", "*.*"}});
    EXPECT_EQ(filters, "Replay files (*.rpy) (*.[rR][pP][yY]);;All Files(*.*) (*)");
    EXPECT_EQ(QtPrompts::nameFilters({{"Velmar exe File (VELMAR.exe)", "VELMAR.exe"}}),
              "Velmar exe File (VELMAR.exe) ([vV][eE][lL][mM][aA][rR].[eE][xX][eE])");
}
