#include "gui/dialogs/CAboutDlg.h"

#include "gui/widgets/CHyperLink.h"

#include "support/platform/FakeDesktop.h"

#include "PictureProbe.h"

#include <QLabel>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vra {

using ::testing::ElementsAre;
using vra::test::CountColour;

namespace {

QLabel* Text(const CAboutDlg& box, const char* name) {
    return box.findChild<QLabel*>(QString::fromLatin1(name));
}

// Which picture of each flag shows: -1 when not exactly one.
std::pair<int, int> Visible(const CAboutDlg& box) {
    auto which = [](const std::array<QLabel*, 3>& group) {
        int shown = -1;
        for (int i = 0; i < 3; ++i) {
            if (!group[i]->isVisibleTo(group[i]->parentWidget())) continue;
            if (shown != -1) return -1;
            shown = i;
        }
        return shown;
    };
    return {which(box.LeftFlag()), which(box.RightFlag())};
}

}  // namespace

TEST(CAboutDlg, WhiteTextsOnABlackPanelAndLinksThatOpenThroughTheShell) {
    vra::test::FakeShell shell;
    CAboutDlg box(shell);
    ASSERT_NE(Text(box, "title"), nullptr);
    EXPECT_EQ(Text(box, "title")->text(), QStringLiteral("Velmar Replay Analyzer Version 2.32"));
    EXPECT_EQ(Text(box, "by")->text(), QStringLiteral("by"));
    for (const char* name : {"components", "authors", "thanks"}) EXPECT_FALSE(Text(box, name)->text().isEmpty());
    EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint) << "no caption";

    box.show();
    const QImage picture = vra::test::Snapshot(box);
    EXPECT_GT(CountColour(picture, Qt::black), picture.width() * picture.height() * 3 / 4);
    EXPECT_GT(CountColour(vra::test::Snapshot(*Text(box, "title")), Qt::white, 40), 20);

    EXPECT_TRUE(box.MailLink()->GetURL().startsWith(QStringLiteral("mailto:")));
    EXPECT_TRUE(box.WebLink()->GetURL().startsWith(QStringLiteral("https://")));
    EXPECT_EQ(box.WebLink()->CurrentColour(), QColor(0, 0, 255));
    const QImage mail = vra::test::Snapshot(*box.MailLink());
    EXPECT_GT(CountColour(mail, Qt::white, 40), 20) << "the mail link is white like the panel's texts";
    EXPECT_EQ(CountColour(mail, QColor(0, 0, 255), 40), 0);
    QTest::mouseClick(box.WebLink(), Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseClick(box.MailLink(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_THAT(shell.opened(),
                ElementsAre(box.WebLink()->GetURL().toStdString(), box.MailLink()->GetURL().toStdString()));
    EXPECT_TRUE(box.isVisible()) << "a click on a link does not close the box";
}

TEST(CAboutDlg, TheTimerWavesTheFlagsUntilAClickOnThePanelClosesTheBox) {
    vra::test::FakeShell shell;
    CAboutDlg box(shell);
    EXPECT_EQ(box.AnimationTimer().interval(), 133);
    box.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return box.Counter() >= 2; }, 2000));
    EXPECT_NE(Visible(box).first, -1);
    // On the title text, away from the links.
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
    EXPECT_FALSE(box.AnimationTimer().isActive());
    EXPECT_TRUE(shell.opened().empty());
}

TEST(CAboutDlg, FlagsSwingInOppositeOrderEveryFourStepsAndTheCounterWrapsAfter254) {
    vra::test::FakeShell shell;
    CAboutDlg box(shell);
    const std::pair<int, int> expected[4] = {{0, 2}, {1, 1}, {2, 0}, {1, 1}};
    for (int step = 0; step < 8; ++step) {
        box.OnTimer();
        EXPECT_EQ(Visible(box), expected[step % 4]) << "step " << step;
    }
    EXPECT_EQ(box.Counter(), 8);
    for (int i = 8; i < 255; ++i) box.OnTimer();
    EXPECT_EQ(box.Counter(), 0);
    box.OnTimer();
    EXPECT_EQ(Visible(box), (std::pair<int, int>{0, 2}));
}

}  // namespace vra
