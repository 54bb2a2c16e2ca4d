// Rich text read into styled runs: what a help page uses, and bounded work on
// any bytes.
#include "core/reports/RtfRuns.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vra {
namespace {

using ::testing::ElementsAre;

RtfRun Plain(std::u32string t) {
    return {std::move(t)};
}

TEST(RtfRuns, StylesParagraphsAndCharacters) {
    const auto runs = RtfRuns(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}{\\*\\generator X;}"
        "{\\info{\\title T}}\\f0 Read {\\b bold\\b0} and {\\i\\ul both}.\\par Caf\\'e9 \\u8364? 5\\tab\\{x\\}\\\\\n}");
    EXPECT_THAT(runs, ElementsAre(Plain(U"Read "), RtfRun{U"bold", true}, Plain(U" and "),
                                  RtfRun{U"both", false, true, true}, Plain(U".\nCaf\u00e9 \u20ac 5\t{x}\\")));
    // A table's cells and rows leave their text; unknown words are ignored.
    EXPECT_THAT(RtfRuns("{\\trowd\\cellx100 A\\cell B\\cell\\row}"), ElementsAre(Plain(U"AB")));
}

TEST(RtfRuns, UnbalancedDeepAndLargeInputsAreBounded) {
    EXPECT_THAT(RtfRuns("}}a{b\\"), ElementsAre(Plain(U"ab")));
    EXPECT_THAT(RtfRuns("\\'4"), ::testing::IsEmpty());

    const std::string deep = std::string(10000, '{') + "x" + std::string(10000, '}') + "y";
    EXPECT_THAT(RtfRuns(deep), ElementsAre(Plain(U"y")));
    const std::string nested = std::string(64, '{') + "x" + std::string(64, '}');
    EXPECT_THAT(RtfRuns(nested), ElementsAre(Plain(U"x")));

    const std::string big(2u << 20, 'a');
    const auto runs = RtfRuns(big);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text.size(), kRtfMaxText);
}

}  // namespace
}  // namespace vra
