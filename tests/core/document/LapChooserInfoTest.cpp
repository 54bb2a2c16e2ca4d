#include "core/document/LapChooserInfo.h"

#include "core/replay/Drivers.h"
#include "core/replay/Header.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vra {
namespace {

using ::testing::ElementsAre;

using Groups = std::vector<LapChoiceRequest::InfoGroup>;

// The text beside label in the group of that title; "?" when there is none.
std::string Field(const Groups& info, const std::string& title, const std::string& label) {
    for (const auto& group : info)
        if (group.title == title)
            for (const auto& [l, text] : group.fields)
                if (l == label) return text;
    return "?";
}

// A race weekend with realistic weather, unlimited practice and AI of
// automatic strength.
struct ChooserInfo : ::testing::Test {
    Header h;
    Drivers d;
    void SetUp() override {
        h.firstName = "Ann";
        h.lastName = "Baker";
        h.frameCount = 3 * 2160 + 25 * 36 + 35;  // 3 min 25 s and a part of a second
        h.practiceMinutes = -1;
        h.aiCars = 7;
        h.aiStrengthType = 1;
        h.aiStrength = 95;
        h.conditions = 1;
        h.windSpeed = 14;
        h.windDirection = "NW";
        h.temperature = 21;
        d.driverCount = 8;
        d.sessionPresent = {1, 0, 2, 1};
        d.onlineRace = 1;
    }
};

TEST_F(ChooserInfo, FiveGroupsWithTheirLabelsInOrder) {
    const Groups info = LapChooserInfo(h, d);
    std::vector<std::string> titles;
    std::vector<std::vector<std::string>> labels;
    for (const auto& group : info) {
        titles.push_back(group.title);
        labels.emplace_back();
        for (const auto& field : group.fields) labels.back().push_back(field.first);
    }
    EXPECT_THAT(titles,
                ElementsAre("Replay information", "Weather", "Weekend info", "AI settings", "Misc information"));
    ASSERT_EQ(labels.size(), 5u);
    EXPECT_THAT(labels[0], ElementsAre("Saved by:", "Track:", "Physics:", "Series:", "Length:", "Practice:", "Qual:",
                                       "HappyH:", "Race:", "Cars:"));
    EXPECT_THAT(labels[1], ElementsAre("Realistic:", "Conditions:", "Windspeed:", "Wind dir:", "Temp:"));
    EXPECT_THAT(labels[2],
                ElementsAre("Practice (min):", "Qual (laps)", "Happy Hour (min):", "Race (laps):", "Race (%):"));
    EXPECT_THAT(labels[3], ElementsAre("Cars:", "Strength type:", "Strength %:", "AdSpeedCtrl:"));
    EXPECT_THAT(labels[4],
                ElementsAre("Game mode:", "Damage:", "Full pace:", "Yellow flags:", "Double file:", "Sorvanet:",
                            "Quick race:", "Fixed setup:", "HC - Visual:", "HC - Aids:", "MechFailure", "Wear rate:"));

    // Each "Cars:" reads its own count: the replay's drivers, the AI cars.
    EXPECT_EQ(Field(info, "Replay information", "Cars:"), "8");
    EXPECT_EQ(Field(info, "AI settings", "Cars:"), "7");
    EXPECT_EQ(Field(info, "Replay information", "Saved by:"), "Ann Baker");
    EXPECT_EQ(Field(info, "Replay information", "Length:"), "3m 25s");
    // Only a flag of 1 reads "Yes".
    EXPECT_EQ(Field(info, "Replay information", "Practice:"), "Yes");
    EXPECT_EQ(Field(info, "Replay information", "HappyH:"), "No");
    EXPECT_EQ(Field(info, "Misc information", "Sorvanet:"), "Yes");
}

TEST_F(ChooserInfo, ValuesShowOnlyWhereTheirSwitchAllowsThem) {
    const Groups realistic = LapChooserInfo(h, d);
    EXPECT_EQ(Field(realistic, "Weather", "Realistic:"), "Yes");
    for (const char* label : {"Conditions:", "Windspeed:", "Wind dir:", "Temp:"})
        EXPECT_EQ(Field(realistic, "Weather", label), "") << label;
    EXPECT_EQ(Field(realistic, "Weekend info", "Practice (min):"), "No limit");
    EXPECT_EQ(Field(realistic, "AI settings", "Strength type:"), "Auto");
    EXPECT_EQ(Field(realistic, "AI settings", "Strength %:"), "");
    h.weatherFlag = 1;
    h.practiceMinutes = 45;
    h.aiStrengthType = 0;
    const Groups fixed = LapChooserInfo(h, d);
    EXPECT_EQ(Field(fixed, "Weather", "Realistic:"), "No");
    EXPECT_EQ(Field(fixed, "Weather", "Conditions:"), "Cloudy");
    EXPECT_EQ(Field(fixed, "Weather", "Windspeed:"), "14");
    EXPECT_EQ(Field(fixed, "Weather", "Wind dir:"), "NW");
    EXPECT_EQ(Field(fixed, "Weather", "Temp:"), "21");
    EXPECT_EQ(Field(fixed, "Weekend info", "Practice (min):"), "45");
    EXPECT_EQ(Field(fixed, "AI settings", "Strength type:"), "Manu");
    EXPECT_EQ(Field(fixed, "AI settings", "Strength %:"), "95");
    h.damage = 7;  // no such level: nothing shown
    EXPECT_EQ(Field(LapChooserInfo(h, d), "Misc information", "Damage:"), "");
}

}  // namespace
}  // namespace vra
