#include "platform/Clipboard.h"
#include "platform/FakeDesktop.h"

#include <gtest/gtest.h>

using namespace vra;
using vra::test::FakeClipboard;

TEST(CopyTextToClipboard, CopiesTheTextUpToItsEnd)
{
    FakeClipboard clipboard;
    EXPECT_TRUE(CopyTextToClipboard(clipboard, "Driver\tLap\r\nA\t1m 02.003s\r\n"));
    EXPECT_EQ(clipboard.text(), "Driver\tLap\r\nA\t1m 02.003s\r\n");

    using namespace std::string_literals;
    EXPECT_TRUE(CopyTextToClipboard(clipboard, "abc\0junk"s));
    EXPECT_EQ(clipboard.text(), "abc");
}

TEST(CopyTextToClipboard, AnEmptyTextReplacesTheContent)
{
    FakeClipboard clipboard;
    CopyTextToClipboard(clipboard, "old");
    EXPECT_TRUE(CopyTextToClipboard(clipboard, ""));
    EXPECT_EQ(clipboard.text(), "");
    EXPECT_EQ(clipboard.copies(), 2);
}

TEST(CopyTextToClipboard, ReportsAnUnavailableClipboard)
{
    FakeClipboard clipboard;
    clipboard.setUnavailable(true);
    EXPECT_FALSE(CopyTextToClipboard(clipboard, "x"));
}
