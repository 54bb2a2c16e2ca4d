#include "widgets/CHyperLink.h"

#include "PictureProbe.h"
#include "platform/FakeDesktop.h"
#include "platform/ScriptedPrompts.h"

#include <QApplication>
#include <QEnterEvent>
#include <QTest>
#include <QVBoxLayout>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using vra::test::ColourExtent;
using vra::test::FakeShell;
using vra::test::ScriptedPrompts;

namespace {

const QColor kLink(0, 0, 255);
const QColor kVisited(128, 0, 128);
const QColor kActive(0, 128, 128);
const QColor kHover(255, 0, 0);
const char* const kTarget = "https://example.org/velmar";

// A window with one link (and a second control to take the focus away).
struct LinkWindow {
    LinkWindow(const QString& text = QStringLiteral("Project page")) : link(new CHyperLink(text, &window)) {
        other = new QWidget(&window);
        other->setFocusPolicy(Qt::StrongFocus);
        other->setGeometry(0, 100, 50, 20);
        link->move(10, 10);
        link->SetShell(&shell);
        link->SetPrompts(&prompts);
        link->SetURL(QString::fromLatin1(kTarget));
        window.resize(300, 150);
        window.show();
        QApplication::setActiveWindow(&window);
        window.activateWindow();
        (void)QTest::qWaitForWindowActive(&window);
    }
    void Enter() {
        QEnterEvent enter(QPointF(2, 2), QPointF(12, 12), QPointF(12, 12));
        QApplication::sendEvent(link, &enter);
    }
    void Leave() {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(link, &leave);
    }

    QWidget window;
    CHyperLink* link;
    QWidget* other = nullptr;
    FakeShell shell;
    ScriptedPrompts prompts;
};

}  // namespace

TEST(CHyperLinkLook, ADrawnLinkIsUnderlinedInTheLinkColour) {
    LinkWindow w;
    EXPECT_EQ(w.link->GetLinkStyle(), CHyperLink::Underline | CHyperLink::AutoSize | CHyperLink::GetFocusOnClick);
    EXPECT_TRUE(w.link->font().underline());
    EXPECT_EQ(w.link->CurrentColour(), kLink);
    EXPECT_EQ(w.link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(w.link->toolTip(), QString::fromLatin1(kTarget));
    const QImage picture = vra::test::Snapshot(*w.link);
    const QRect blue = ColourExtent(picture, kLink, 60);
    ASSERT_FALSE(blue.isEmpty()) << "the text shows in blue";
    EXPECT_GE(blue.bottom(), picture.height() * 2 / 3) << "the underline reaches the lower part";
}

TEST(CHyperLinkLook, AnEmptyTextShowsTheTargetAndTheLinkFitsItsText) {
    LinkWindow w(QString{});
    EXPECT_EQ(w.link->text(), QString::fromLatin1(kTarget));
    const QSize text = w.link->fontMetrics().size(Qt::TextSingleLine, w.link->text());
    EXPECT_EQ(w.link->size(), text);
    EXPECT_EQ(w.link->pos(), QPoint(10, 10));
}

TEST(CHyperLinkLook, SizingToTheTextKeepsTheAlignedEdge) {
    QWidget window;
    CHyperLink* right = new CHyperLink(QString{}, &window);
    right->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    right->setGeometry(20, 20, 400, 60);
    right->SetURL(QStringLiteral("mailto:someone@example.org"));
    EXPECT_EQ(right->geometry().right(), 419);
    EXPECT_LT(right->width(), 400);
    EXPECT_EQ(right->geometry().center().y(), QRect(20, 20, 400, 60).center().y());
}

TEST(CHyperLinkLook, HoverColourOnlyWhenAskedFor) {
    LinkWindow w;
    w.Enter();
    EXPECT_TRUE(w.link->Over());
    EXPECT_EQ(w.link->CurrentColour(), kLink) << "hover is off by default";
    w.link->SetLinkStyle(w.link->GetLinkStyle() | CHyperLink::UseHover);
    EXPECT_EQ(w.link->CurrentColour(), kHover);
    EXPECT_EQ(w.link->palette().color(QPalette::WindowText), kHover);
    w.Leave();
    EXPECT_EQ(w.link->CurrentColour(), kLink);
}

TEST(CHyperLinkOpen, AClickOpensTheTargetThroughTheShellAndMarksItVisited) {
    LinkWindow w;
    QTest::mousePress(w.link, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_THAT(w.shell.opened(), IsEmpty()) << "opens on release";
    EXPECT_TRUE(w.link->Active());
    EXPECT_EQ(w.link->CurrentColour(), kActive);
    QTest::mouseRelease(w.link, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_THAT(w.shell.opened(), ElementsAre(kTarget));
    EXPECT_TRUE(w.link->Visited());
    EXPECT_TRUE(w.link->hasFocus());

    w.other->setFocus();
    EXPECT_FALSE(w.link->Active());
    EXPECT_EQ(w.link->CurrentColour(), kVisited);
    const QImage picture = vra::test::Snapshot(*w.link);
    EXPECT_FALSE(ColourExtent(picture, kVisited, 60).isEmpty());
    EXPECT_TRUE(ColourExtent(picture, kLink, 30).isEmpty());
    EXPECT_THAT(w.prompts.messages(), IsEmpty());
}

TEST(CHyperLinkOpen, AReleaseBesideTheLinkStillOpensIt) {
    LinkWindow w;
    QTest::mousePress(w.link, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(w.link, Qt::LeftButton, {}, QPoint(-40, 90));
    EXPECT_THAT(w.shell.opened(), ElementsAre(kTarget));
}

TEST(CHyperLinkOpen, DownClickOpensOnThePress) {
    LinkWindow w;
    w.link->SetLinkStyle(w.link->GetLinkStyle() | CHyperLink::DownClick);
    QTest::mousePress(w.link, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_THAT(w.shell.opened(), ElementsAre(kTarget));
    QTest::mouseRelease(w.link, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(w.shell.opened().size(), 1u) << "not a second time on release";
}

TEST(CHyperLinkOpen, TheSpaceBarOpensAFocusedLink) {
    LinkWindow w;
    w.link->setFocus();
    EXPECT_TRUE(w.link->Active());
    QTest::keyClick(w.link, Qt::Key_Return);
    EXPECT_THAT(w.shell.opened(), IsEmpty());
    QTest::keyClick(w.link, Qt::Key_Space);
    EXPECT_THAT(w.shell.opened(), ElementsAre(kTarget));
}

TEST(CHyperLinkOpen, AFailedOpenSaysWhyAndStaysUnvisited) {
    LinkWindow w;
    w.shell.setFailing(true);
    QTest::mouseClick(w.link, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(w.link->Visited());
    EXPECT_THAT(w.prompts.messages(),
                ElementsAre("Can't open link:\n\nThere is no application associated\nwith the given filename extension."));
}

TEST(CHyperLinkOpen, AnUnlistedErrorCodeIsNamedInTheText) {
    EXPECT_EQ(CHyperLink::OpenErrorText(42), QStringLiteral("Unknown Error (42) occurred."));
}
