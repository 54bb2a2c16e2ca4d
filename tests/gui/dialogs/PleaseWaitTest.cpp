#include "gui/dialogs/PleaseWait.h"

#include "gui/dialogs/CGradientProgressCtrl.h"
#include "gui/dialogs/PleaseWaitBox.h"

#include "PictureProbe.h"
#include "ShownText.h"

#include <QTest>
#include <gtest/gtest.h>

namespace vra {

using vra::test::ColourExtent;
using vra::test::CountColour;
using vra::test::Snapshot;

TEST(PleaseWaitWindow, StartsWithItsTextAloneAndNeitherEnterNorEscapeClosesIt) {
    PleaseWait box;
    box.show();
    EXPECT_EQ(box.Text(), QStringLiteral("Please wait while loading replay lap..."));
    EXPECT_FALSE(box.Progress()->isVisible());
    EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);
    QTest::keyClick(&box, Qt::Key_Escape);
    QTest::keyClick(&box, Qt::Key_Return);
    box.reject();
    box.accept();
    EXPECT_TRUE(box.isVisible());
    box.ShowProgress();
    EXPECT_TRUE(box.Progress()->isVisible());
}

TEST(PleaseWaitWindow, FileNamesShowAsTheyAreSpelt) {
    PleaseWait box;
    const QString text = QStringLiteral("Reading stints from <b>R&D</b>.rpy");
    box.SetText(text);
    EXPECT_EQ(vra::test::ShownText(*box.TextLabel()), text);
}

TEST(PleaseWaitBar, HalfWayShowsTheGradientUpToTheMiddleAndThePercent) {
    PleaseWait box;
    box.show();
    box.SetRange(0, 100);
    box.SetPos(50);
    box.ShowProgress();
    const QImage picture = Snapshot(*box.Progress());
    const int w = picture.width();
    // Blue to yellow from the left edge; grey from the middle on.
    EXPECT_FALSE(ColourExtent(picture.copy(0, 0, 2, 2), QColor(0, 0, 255), 2).isEmpty());
    const QColor quarter = picture.pixelColor(w / 4, 2);
    EXPECT_NEAR(quarter.red(), 63, 3);
    EXPECT_NEAR(quarter.blue(), 192, 3);
    const QColor grey(127, 127, 127);
    EXPECT_EQ(picture.pixelColor(w - 2, 2), grey);
    EXPECT_NEAR(ColourExtent(picture, grey).left(), w / 2, 2);
    // The percentage in white, somewhere around the middle.
    const QRect white = ColourExtent(picture, Qt::white, 30);
    ASSERT_FALSE(white.isEmpty());
    EXPECT_LT(white.left(), w / 2);
    EXPECT_GT(white.right(), w / 2);
    EXPECT_EQ(box.Progress()->Bar().Paint(w).percentText, "50%");

    // Both ends of the range show an empty bar.
    const QColor face = box.Progress()->palette().color(QPalette::Button);
    for (int position : {0, 100}) {
        box.SetPos(position);
        const QImage empty = Snapshot(*box.Progress());
        EXPECT_EQ(CountColour(empty, face), empty.width() * empty.height()) << position;
    }
}

TEST(PleaseWaitBox, ShowsAndHidesAFreshWindowEachTime) {
    PleaseWaitBox box;
    EXPECT_EQ(box.Window(), nullptr);
    box.SetPos(10);  // nothing shown: ignored
    box.Show("Please wait while scanning replays...");
    ASSERT_NE(box.Window(), nullptr);
    EXPECT_TRUE(box.Window()->isVisible());
    EXPECT_EQ(box.Window()->Text(), QStringLiteral("Please wait while scanning replays..."));
    box.SetRange(0, 20);
    box.ShowProgress();
    box.SetPos(5);
    EXPECT_TRUE(box.Window()->Progress()->isVisible());
    EXPECT_EQ(box.Window()->Progress()->Bar().Pos(), 5);
    box.SetText("Please wait while generating XML file...");
    EXPECT_EQ(box.Window()->Text(), QStringLiteral("Please wait while generating XML file..."));
    box.Hide();
    EXPECT_EQ(box.Window(), nullptr);

    box.Show("again");
    EXPECT_FALSE(box.Window()->Progress()->isVisible()) << "a new show starts without the bar";
    EXPECT_EQ(box.Window()->Progress()->Bar().Pos(), 0);
    box.Hide();
}

}  // namespace vra
