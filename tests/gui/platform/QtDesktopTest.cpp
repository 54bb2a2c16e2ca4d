#include "gui/platform/QtDesktop.h"

#include "core/platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

using namespace vra;

TEST(QtClipboard, CopiedTextReadsBackAsUnicode) {
    QtClipboard clipboard;
    ASSERT_TRUE(CopyTextToClipboard(clipboard, "Lap\t1m 23.456s\r\nJos\xE9\t1m 24.000s\r\n"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("Lap\t1m 23.456s\r\nJos\u00E9\t1m 24.000s\r\n"));
    ASSERT_TRUE(CopyTextToClipboard(clipboard, ""));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "");
    // A file name among the replay texts keeps the system's spelling.
    ASSERT_TRUE(clipboard.setShownText(ShownText("Jos\xE9\t")
                                           .FileName("\xC3\x9C"
                                                     "bung.rpy")
                                           .Text("\n")));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("Jos\u00E9\t\u00DCbung.rpy\n"));
}

TEST(QtShell, NothingToOpenIsAFailure) {
    QtShell shell;
    EXPECT_FALSE(shell.open(""));
}
