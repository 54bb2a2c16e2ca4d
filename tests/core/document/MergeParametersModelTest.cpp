#include "core/document/MergeParametersModel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vra {
namespace {

TEST(MergeParameters, TypedAdvantagesInMilliseconds) {
    for (auto [text, ms] : {std::pair{"1,5", 1500ull},
                            {"1.5", 1500ull},
                            {"2", 2000ull},
                            {"0.05", 50ull},
                            {"1.2.5", 1200ull},
                            {"1.", 1000ull},
                            {".25", 250ull},
                            {"3.1234", 3123ull},
                            {"1,2.5", 1500ull},
                            {"", 0ull},
                            {"7.x9", 7000ull}}) {
        EXPECT_EQ(ParseMilliseconds(text), ms) << text;
    }
    // Seconds that would wrap 32 bits stay large, so that they are refused.
    EXPECT_EQ(ParseMilliseconds("4294968"), 4294968000ull);
    EXPECT_GT(ParseMilliseconds("99999999999999999999999999"), 0xFFFFFFFFull);
    EXPECT_EQ(KeepAdvantageText("1.5s and more"), "1.5");
    EXPECT_EQ(KeepAdvantageText("x1"), "");
    EXPECT_EQ(AdvantageText(1050), "1.050");
    EXPECT_EQ(AdvantageText(0), "0.000");
}

MergeParametersRequest ThreeLaps() {
    MergeParametersRequest r;
    r.rows[0] = {true, "Alex", "Morgan", 0x10000000 | 61050};
    r.rows[2] = {true, "Bo", "Lind", 60000};
    r.rows[3] = {true, "Cy", "Noor", 62001};
    return r;
}

TEST(MergeParameters, RowsAndTheFourSynchronisations) {
    MergeParametersModel m(ThreeLaps());
    EXPECT_EQ(m.NameText(0), "Alex Morgan - 1m 01.050s");
    EXPECT_FALSE(m.Used(1));
    EXPECT_EQ(m.MaxText(2), "0m 00.000s");  // the fastest lap
    EXPECT_EQ(m.MaxAdvantage(0), 1050u);
    EXPECT_EQ(m.MaxAdvantage(3), 2001u);
    EXPECT_EQ(m.Sync(), MergeSync::Start);
    EXPECT_EQ(m.EditText(0), "0");
    EXPECT_FALSE(m.EditsEnabled());

    m.SetSync(MergeSync::End);
    EXPECT_EQ(m.EditText(0), "1.050");
    EXPECT_EQ(m.Advantages(), (MergeAdvantages{1050, 0, 0, 2001, 0}));
    EXPECT_FALSE(m.EditsEnabled());
    m.SetSync(MergeSync::SameDifference);
    EXPECT_EQ(m.EditText(3), "1.000");
    EXPECT_EQ(m.Advantages(), (MergeAdvantages{525, 0, 0, 1000, 0}));
    // Manual keeps what was there and opens the edits.
    m.SetSync(MergeSync::Manual);
    EXPECT_TRUE(m.EditsEnabled());
    EXPECT_EQ(m.Advantages(), (MergeAdvantages{525, 0, 0, 1000, 0}));
    m.SetSync(MergeSync::Start);
    EXPECT_EQ(m.Advantages(), MergeAdvantages{});
}

TEST(MergeParameters, ATypedAdvantageAboveTheRowsMaximumIsRefused) {
    MergeParametersModel m(ThreeLaps());
    m.SetSync(MergeSync::Manual);
    EXPECT_TRUE(m.CheckEdit(0, "1,050 ms"));
    EXPECT_EQ(m.EditText(0), "1,050");
    EXPECT_EQ(m.Advantage(0), 1050u);
    EXPECT_FALSE(m.CheckEdit(0, "1.051"));
    EXPECT_FALSE(m.CheckEdit(3, "4294968"));
    EXPECT_TRUE(m.CheckEdit(2, "0"));
    EXPECT_FALSE(m.CheckEdit(2, "0.001"));
}

}  // namespace
}  // namespace vra
