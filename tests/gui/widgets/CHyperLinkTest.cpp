#include "gui/widgets/CHyperLink.h"

#include "support/platform/FakeDesktop.h"
#include "support/platform/ScriptedPrompts.h"

#include "PictureProbe.h"

#include <QApplication>
#include <QEnterEvent>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vra {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using vra::test::ColourExtent;

namespace {

const QColor kLink(0, 0, 255);
const QColor kVisited(128, 0, 128);
const char* const kTarget = "https://example.org/velmar";

// A shown window with one link and a second control to take the focus away.
class Link : public ::testing::Test {
protected:
    void SetUp() override { Make(QStringLiteral("Project page")); }
    void Make(const QString& text) {
        delete link;
        link = new CHyperLink(text, &window);
        link->move(10, 10);
        link->SetShell(&shell);
        link->SetPrompts(&prompts);
        link->SetURL(QString::fromLatin1(kTarget));
        other.setParent(&window);
        other.setFocusPolicy(Qt::StrongFocus);
        other.setGeometry(0, 100, 50, 20);
        window.resize(300, 150);
        window.show();
        QApplication::setActiveWindow(&window);
        (void)QTest::qWaitForWindowActive(&window);
    }
    void Press() { QTest::mousePress(link, Qt::LeftButton, {}, QPoint(3, 3)); }
    void Release(QPoint at = {3, 3}) { QTest::mouseRelease(link, Qt::LeftButton, {}, at); }

    QWidget window;
    QWidget other;
    CHyperLink* link = nullptr;
    vra::test::FakeShell shell;
    vra::test::ScriptedPrompts prompts;
};

}  // namespace

TEST_F(Link, IsDrawnUnderlinedInTheLinkColourWithAHandAndItsTarget) {
    EXPECT_EQ(link->GetLinkStyle(), CHyperLink::Underline | CHyperLink::AutoSize | CHyperLink::GetFocusOnClick);
    EXPECT_TRUE(link->font().underline());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(link->toolTip(), QString::fromLatin1(kTarget));
    const QImage picture = vra::test::Snapshot(*link);
    const QRect blue = ColourExtent(picture, kLink, 60);
    ASSERT_FALSE(blue.isEmpty()) << "the text shows in blue";
    EXPECT_GE(blue.bottom(), picture.height() * 2 / 3) << "the underline reaches the lower part";

    // Hover colours only when asked for.
    QEnterEvent enter(QPointF(2, 2), QPointF(12, 12), QPointF(12, 12));
    QApplication::sendEvent(link, &enter);
    EXPECT_TRUE(link->Over());
    EXPECT_EQ(link->CurrentColour(), kLink);
    link->SetLinkStyle(link->GetLinkStyle() | CHyperLink::UseHover);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(link, &leave);
    EXPECT_EQ(link->CurrentColour(), kLink);
}

TEST_F(Link, FitsItsTextShowingTheTargetWhenItHasNoTextOfItsOwn) {
    Make(QString{});
    EXPECT_EQ(link->text(), QString::fromLatin1(kTarget));
    EXPECT_EQ(link->size(), link->fontMetrics().size(Qt::TextSingleLine, link->text()));
    EXPECT_EQ(link->pos(), QPoint(10, 10));
}

TEST_F(Link, AClickOpensTheTargetOnReleaseEvenBesideTheLinkAndMarksItVisited) {
    Press();
    EXPECT_THAT(shell.opened(), IsEmpty()) << "opens on release";
    EXPECT_EQ(link->CurrentColour(), QColor(0, 128, 128)) << "active";
    Release({-40, 90});
    EXPECT_THAT(shell.opened(), ElementsAre(kTarget));
    EXPECT_TRUE(link->Visited());
    EXPECT_TRUE(link->hasFocus());

    other.setFocus();
    EXPECT_FALSE(link->Active());
    EXPECT_EQ(link->CurrentColour(), kVisited);
    const QImage picture = vra::test::Snapshot(*link);
    EXPECT_FALSE(ColourExtent(picture, kVisited, 60).isEmpty());
    EXPECT_TRUE(ColourExtent(picture, kLink, 30).isEmpty());
    EXPECT_THAT(prompts.messages(), IsEmpty());
}

TEST_F(Link, DownClickOpensOnThePressAndTheSpaceBarOpensAFocusedLink) {
    link->SetLinkStyle(link->GetLinkStyle() | CHyperLink::DownClick);
    Press();
    EXPECT_THAT(shell.opened(), ElementsAre(kTarget));
    Release();
    EXPECT_EQ(shell.opened().size(), 1u) << "not a second time on release";

    link->setFocus();
    EXPECT_TRUE(link->Active());
    QTest::keyClick(link, Qt::Key_Return);
    EXPECT_EQ(shell.opened().size(), 1u);
    QTest::keyClick(link, Qt::Key_Space);
    EXPECT_EQ(shell.opened().size(), 2u);
}

TEST_F(Link, AFailedOpenSaysWhyAndStaysUnvisited) {
    shell.setFailing(true);
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(link->Visited());
    EXPECT_THAT(
        prompts.messages(),
        ElementsAre("Can't open link:\n\nThere is no application associated\nwith the given filename extension."));
    EXPECT_EQ(CHyperLink::OpenErrorText(42), QStringLiteral("Unknown Error (42) occurred."));
}

}  // namespace vra
