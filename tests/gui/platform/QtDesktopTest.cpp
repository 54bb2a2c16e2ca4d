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
}

TEST(QtShell, NothingToOpenIsAFailure) {
    QtShell shell;
    EXPECT_FALSE(shell.open(""));
}
