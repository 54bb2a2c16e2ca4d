#include "core/graphs/ChannelTable.h"
#include "core/graphs/TelemetryPageLayout.h"

#include <gtest/gtest.h>

using namespace vra;

TEST(TelemetryPageLayout, AreasAndFontsOfAnA4PageAt600Dpi) {
    const TelemetryPageLayout l(4961, 7016);
    EXPECT_EQ(l.P(5), 350);
    EXPECT_EQ(l.y45, 3156);
    EXPECT_EQ(l.y57, 3997);
    EXPECT_EQ(l.y77, 5400);
    EXPECT_EQ(l.ymap, 5401);
    EXPECT_EQ(l.y97, 6803);
    EXPECT_EQ(l.areas[kMapArea], (PageRect{2480, 3156, 4961, 5401}));
    EXPECT_EQ(l.Content(kMapArea), (PageRect{2488, 3164, 4953, 5393}));
    EXPECT_EQ(l.titleFont, 171);
    EXPECT_EQ(l.footerFont, 102);
    EXPECT_EQ(l.headingFont, 167);
    EXPECT_EQ(l.rowFont, 125);
    EXPECT_EQ(l.graphTitleFont, 83);
}

TEST(TelemetryPageLayout, LapRowsKeepEveryDigitOfTheSpeed) {
    EXPECT_EQ(LapTableTimeText(83456, 2000, 0), "1m23.456s( 86.273)");
    EXPECT_EQ(LapTableTimeText(0xF0000000u | 83456, 2000, 1), "1m23.456s( 53.608)");
    EXPECT_EQ(LapTableTimeText(6000, 2000, 0), "06.000s(1200.000)");
    EXPECT_EQ(LapTableTimeText(0, 2000, 0), "00.000s(  0.000)");
}

TEST(TelemetryPageLayout, SecondaryGraphsAndTheirNumbering) {
    const SecondarySelection three = SelectSecondaryGraphs({2, 14, 21});
    EXPECT_FALSE(three.TooMany());
    EXPECT_EQ(three.selections[2], 21);
    const SecondarySelection four = SelectSecondaryGraphs({2, 14, 21, 30});
    EXPECT_TRUE(four.TooMany());
    EXPECT_EQ(four.selections[2], 21);

    EXPECT_EQ(PrintIndexOfCode(22), 19);
    EXPECT_EQ(PrintIndexOfCode(4), 13);
    EXPECT_EQ(PrintIndexOfCode(32), 32);
    EXPECT_EQ(PrintByIndex(14)->code, 14);
    EXPECT_EQ(PrintByIndex(23)->boxId, 0);
    EXPECT_EQ(ChannelByControl(ChannelPage::Advanced, 1252)->code, 37);
    EXPECT_EQ(ChannelByControl(ChannelPage::Basic, 1252)->code, 7);
    EXPECT_EQ(PageControls(ChannelPage::Basic).size(), 21u);
    EXPECT_EQ(Channels().size(), 37u);
}
