#include "gui/tools/groove.h"

#include "support/platform/ScriptedPrompts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vra {
namespace {

using ::testing::ElementsAre;

void PressOk(groove& dialog) {
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

TEST(GrooveDialog, OkAtOnceGivesTheDefaults) {
    test::ScriptedPrompts prompts;
    groove dialog(prompts);
    ASSERT_EQ(dialog.Resolution()->count(), 20);
    EXPECT_EQ(dialog.Resolution()->itemText(0), QStringLiteral("0.1"));
    EXPECT_EQ(dialog.Resolution()->itemText(19), QStringLiteral("2.0"));
    PressOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const GrooveSettings& s = dialog.Settings();
    EXPECT_EQ(s.resolutionIndex, 4);
    EXPECT_EQ(s.accelerationPercent, 100);
    EXPECT_EQ(s.rollPercent, 100);
    EXPECT_EQ(s.widthText, "3.0");
    EXPECT_TRUE(prompts.log().empty());
}

TEST(GrooveDialog, ValuesTheFileCannotCarryKeepTheDialogOpen) {
    test::ScriptedPrompts prompts;
    groove dialog(prompts);
    dialog.show();
    dialog.AccelerationFactor()->setText(QStringLiteral("1000"));
    PressOk(dialog);
    dialog.AccelerationFactor()->setText(QStringLiteral("0"));
    dialog.RollFactor()->setText(QStringLiteral("abc"));
    PressOk(dialog);
    dialog.RollFactor()->setText(QStringLiteral("999"));
    for (const char* width : {"3,0", " 3", ""}) {
        dialog.Width()->setText(QString::fromLatin1(width));
        PressOk(dialog);
    }
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_THAT(prompts.messages(),
                ElementsAre("Please enter an integer between 0 and 999.", "Please enter an integer.",
                            "Please enter a number.", "Please enter a number.", "Please enter a number."));
    dialog.Width()->setText(QStringLiteral("2.75"));
    dialog.Resolution()->setCurrentIndex(9);
    PressOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Settings().accelerationPercent, 0);
    EXPECT_EQ(dialog.Settings().rollPercent, 999);
    EXPECT_EQ(dialog.Settings().resolutionIndex, 9);
    EXPECT_EQ(dialog.Settings().widthText, "2.75");
}

}  // namespace
}  // namespace vra
