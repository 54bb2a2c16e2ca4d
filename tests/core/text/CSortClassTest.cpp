#include "core/text/CSortClass.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace vra;
using testing::ElementsAre;

namespace {

std::vector<std::string> Arrange(const std::vector<std::string>& texts, CSortClass::Kind kind, bool ascending) {
    std::vector<std::string> out;
    for (std::size_t row : CSortClass(texts, kind).Sort(ascending)) out.push_back(texts[row]);
    return out;
}

}  // namespace

TEST(CSortClass, TextIgnoresCaseBothWays) {
    EXPECT_THAT(Arrange({"b", "A", "c"}, CSortClass::Kind::Text, true), ElementsAre("A", "b", "c"));
    EXPECT_THAT(Arrange({"b", "A", "c"}, CSortClass::Kind::Text, false), ElementsAre("c", "b", "A"));
    EXPECT_THAT(Arrange({"ab", "a", "AB1"}, CSortClass::Kind::Text, true), ElementsAre("a", "ab", "AB1"));
}

TEST(CSortClass, EqualRowsKeepTheirOrder) {
    // Rows 0, 2 and 3 are equal ignoring case; they stay in row order in
    // both directions.
    CSortClass text({"Smith", "Adams", "SMITH", "smith"}, CSortClass::Kind::Text);
    EXPECT_THAT(text.Sort(true), ElementsAre(1, 0, 2, 3));
    EXPECT_THAT(text.Sort(false), ElementsAre(0, 2, 3, 1));

    CSortClass numbers({"3", "1", "3 laps", "03", "2"}, CSortClass::Kind::Integer);
    EXPECT_THAT(numbers.Sort(true), ElementsAre(1, 4, 0, 2, 3));
    EXPECT_THAT(numbers.Sort(false), ElementsAre(0, 2, 3, 4, 1));
}

TEST(CSortClass, IntegersByTheirLeadingNumber) {
    EXPECT_THAT(Arrange({"10", "9", "-4", "100"}, CSortClass::Kind::Integer, true),
                ElementsAre("-4", "9", "10", "100"));
    EXPECT_THAT(Arrange({"10", "9", "x", "100"}, CSortClass::Kind::Integer, false), ElementsAre("100", "10", "9", "x"));
}

TEST(CSortClass, LeadingNumberOfAColumnText) {
    EXPECT_EQ(CSortClass::LeadingInt("  42 km/h"), 42);
    EXPECT_EQ(CSortClass::LeadingInt("-17"), -17);
    EXPECT_EQ(CSortClass::LeadingInt("+5"), 5);
    EXPECT_EQ(CSortClass::LeadingInt("n/a"), 0);
    EXPECT_EQ(CSortClass::LeadingInt(""), 0);
    EXPECT_EQ(CSortClass::LeadingInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(CSortClass::LeadingInt("-99999999999999999999"), -2147483647 - 1);
}
