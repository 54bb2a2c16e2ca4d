#include "core/platform/Clipboard.h"

#include "support/platform/FakeDesktop.h"

#include <gtest/gtest.h>

using namespace vra;
using namespace std::string_literals;

TEST(CopyTextToClipboard, CopiesUpToTheTextsEndAndReportsAnUnavailableClipboard) {
    test::FakeClipboard clipboard;
    EXPECT_TRUE(CopyTextToClipboard(clipboard, "Driver\tLap\r\nA\t1m 02.003s\r\n"));
    EXPECT_EQ(clipboard.text(), "Driver\tLap\r\nA\t1m 02.003s\r\n");
    EXPECT_TRUE(CopyTextToClipboard(clipboard, "abc\0junk"s));
    EXPECT_EQ(clipboard.text(), "abc");
    EXPECT_TRUE(CopyTextToClipboard(clipboard, ""));
    EXPECT_EQ(clipboard.text(), "");
    clipboard.setUnavailable(true);
    EXPECT_FALSE(CopyTextToClipboard(clipboard, "x"));
}
