#include "gui/replay/ChooseLapForReport.h"
#include "gui/replay/MergeParameters.h"

#include "support/platform/ScriptedPrompts.h"

#include "ShownText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vra {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

QPushButton* OkButton(QDialog& dialog) {
    return dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}

// A radio button takes clicks on its indicator and text only.
void Press(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

void ShowActive(QDialog& dialog) {
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

int VisibleButtons(const ChooseLapForReport& dialog) {
    int n = 0;
    for (int i = 0; i < 5; ++i) n += dialog.Button(i)->isVisibleTo(const_cast<ChooseLapForReport*>(&dialog));
    return n;
}

TEST(ChooseLapForReport, ShowsAButtonPerLapAndTheFirstTwoAlways) {
    test::ScriptedPrompts prompts;
    for (auto [texts, visible] : {std::pair{std::array<std::string, 5>{"a", "b", "", "", ""}, 2},
                                  {std::array<std::string, 5>{"a", "", "", "", ""}, 2},
                                  {std::array<std::string, 5>{"a", "b", "c", "", ""}, 3},
                                  {std::array<std::string, 5>{"a", "b", "c", "d", ""}, 4},
                                  {std::array<std::string, 5>{"a", "b", "c", "d", "e"}, 5}}) {
        ChooseLapForReport dialog(ChooseLapForReport::kSaveTitle, texts, prompts);
        EXPECT_EQ(VisibleButtons(dialog), visible);
        EXPECT_EQ(dialog.Button(0)->text(), QStringLiteral("a"));
        EXPECT_EQ(dialog.Choice(), -1);
    }
    ChooseLapForReport report(ChooseLapForReport::kReportTitle, {"x", "y"}, prompts);
    EXPECT_EQ(report.windowTitle(), QStringLiteral("Reports only based on one file - choose which to use"));
    ChooseLapForReport save(ChooseLapForReport::kSaveTitle, {"x", "y"}, prompts);
    EXPECT_EQ(save.windowTitle(), QStringLiteral("Choose lap to extract and save in new replay file"));
}

TEST(ChooseLapForReport, OkNeedsAChoiceAndGivesThePressedSlot) {
    test::ScriptedPrompts prompts;
    ChooseLapForReport dialog(ChooseLapForReport::kSaveTitle, {"a", "b", "c", "d", "\xe9t\xe9"}, prompts);
    ShowActive(dialog);
    EXPECT_EQ(dialog.Button(4)->text(), QString::fromUtf8("\xc3\xa9t\xc3\xa9"));
    QTest::mouseClick(OkButton(dialog), Qt::LeftButton);
    EXPECT_THAT(prompts.messages(), ElementsAre("Choose file to base the report on!"));
    EXPECT_TRUE(dialog.isVisible());
    for (int slot : {3, 1}) Press(dialog.Button(slot));
    QTest::mouseClick(OkButton(dialog), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Choice(), 1);
    EXPECT_EQ(prompts.messages().size(), 1u);
}

TEST(ChooseLapForReport, FileNamesShowAsTheyAreSpelt) {
    test::ScriptedPrompts prompts;
    const QString file = QString::fromUtf8("Weird r\xc3\xa9 <x>&.rpy");
    const std::array<QString, 5> texts{file, QStringLiteral("R&D.rpy")};
    ChooseLapForReport dialog(ChooseLapForReport::kSaveTitle, std::span<const QString, 5>(texts), prompts);
    EXPECT_EQ(test::ShownText(*dialog.Button(0)), file);
    EXPECT_EQ(test::ShownText(*dialog.Button(1)), QStringLiteral("R&D.rpy"));
    EXPECT_TRUE(dialog.Button(1)->shortcut().isEmpty()) << "no letter became a shortcut";
}

MergeParametersRequest ThreeOfFive() {
    MergeParametersRequest r;
    r.rows[0] = {true, "Alex", "Morgan", 61050};
    r.rows[1] = {true, "Bo", "Lind", 60000};
    r.rows[3] = {true, "Cy", "Noor", 62000};
    return r;
}

TEST(MergeParametersDialog, RowsAndOptions) {
    test::ScriptedPrompts prompts;
    MergeParameters dialog(ThreeOfFive(), prompts);
    ShowActive(dialog);
    for (int row = 0; row < 5; ++row) {
        const bool used = row != 2 && row != 4;
        EXPECT_EQ(dialog.NameLabel(row)->isVisible(), used) << row;
        EXPECT_EQ(dialog.Edit(row)->isVisible(), used) << row;
        EXPECT_EQ(dialog.MaxLabel(row)->isVisible(), used) << row;
    }
    EXPECT_EQ(dialog.NameLabel(0)->text(), QStringLiteral("Alex Morgan - 1m 01.050s"));
    EXPECT_EQ(dialog.MaxLabel(0)->text(), QStringLiteral("0m 01.050s"));
    EXPECT_EQ(dialog.MaxLabel(1)->text(), QStringLiteral("0m 00.000s"));
    EXPECT_TRUE(dialog.SyncButton(MergeSync::Start)->isChecked());
    EXPECT_EQ(dialog.Edit(3)->text(), QStringLiteral("0"));
    EXPECT_FALSE(dialog.Edit(0)->isEnabled());

    Press(dialog.SyncButton(MergeSync::End));
    EXPECT_EQ(dialog.Edit(0)->text(), QStringLiteral("1.050"));
    EXPECT_EQ(dialog.Edit(3)->text(), QStringLiteral("2.000"));
    EXPECT_FALSE(dialog.Edit(0)->isEnabled());
    Press(dialog.SyncButton(MergeSync::SameDifference));
    EXPECT_EQ(dialog.Edit(0)->text(), QStringLiteral("0.525"));
    EXPECT_EQ(dialog.Advantages(), (MergeAdvantages{525, 0, 0, 1000, 0}));
    Press(dialog.SyncButton(MergeSync::Manual));
    EXPECT_TRUE(dialog.Edit(0)->isEnabled());
    EXPECT_TRUE(dialog.Edit(3)->isEnabled());
    EXPECT_THAT(prompts.messages(), IsEmpty());
}

void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

TEST(MergeParametersDialog, NamesShowAsTheyAreSpelt) {
    test::ScriptedPrompts prompts;
    MergeParametersRequest request = ThreeOfFive();
    request.rows[0].firstName = "<b>Al</b>";
    request.rows[0].lastName = "M&M";
    MergeParameters dialog(request, prompts);
    EXPECT_EQ(test::ShownText(*dialog.NameLabel(0)), QStringLiteral("<b>Al</b> M&M - 1m 01.050s"));
}

TEST(MergeParametersDialog, TypedAdvantagesAreCheckedWhenTheEditIsLeft) {
    test::ScriptedPrompts prompts;
    MergeParameters dialog(ThreeOfFive(), prompts);
    ShowActive(dialog);
    Press(dialog.SyncButton(MergeSync::Manual));
    Type(dialog.Edit(3), QStringLiteral("1,5"));
    Type(dialog.Edit(0), QStringLiteral("0.05 s"));
    EXPECT_EQ(dialog.Advantages()[3], 1500u);
    Type(dialog.Edit(3), QStringLiteral("2"));
    EXPECT_EQ(dialog.Edit(0)->text(), QStringLiteral("0.05"));
    EXPECT_EQ(dialog.Advantages()[0], 50u);

    // One millisecond too many: told once, the edit keeps the focus and OK
    // does not close.
    Type(dialog.Edit(3), QStringLiteral("2.001"));
    QTest::mouseClick(OkButton(dialog), Qt::LeftButton);
    EXPECT_THAT(prompts.messages(), ElementsAre("To large number!"));
    EXPECT_EQ(QApplication::focusWidget(), dialog.Edit(3));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    // Every refusal is told, the same text refused again too.
    QTest::mouseClick(OkButton(dialog), Qt::LeftButton);
    QTest::keyClick(dialog.Edit(3), Qt::Key_Return);
    EXPECT_EQ(prompts.messages().size(), 3u);
    EXPECT_EQ(QApplication::focusWidget(), dialog.Edit(3));
    EXPECT_TRUE(dialog.isVisible());

    // Straight from typing to OK: the edit is checked on the way out.
    Type(dialog.Edit(3), QStringLiteral("1.5"));
    QTest::keyClick(dialog.Edit(3), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Advantages(), (MergeAdvantages{50, 0, 0, 1500, 0}));
    EXPECT_EQ(prompts.messages().size(), 3u);
}

TEST(MergeParametersDialog, OkRefusesAValueThatNeverLeftItsEdit) {
    test::ScriptedPrompts prompts;
    MergeParameters dialog(ThreeOfFive(), prompts);
    ShowActive(dialog);
    Press(dialog.SyncButton(MergeSync::Manual));
    Type(dialog.Edit(3), QStringLiteral("4294968"));
    QTest::keyClick(dialog.Edit(3), Qt::Key_Return);
    EXPECT_THAT(prompts.messages(), ElementsAre("To large number!"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace vra
