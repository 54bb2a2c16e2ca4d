#include "core/export/GrooveFile.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

using namespace vra;

namespace {

struct Lap {
    std::vector<double> distance, lateral, speed;
    std::vector<std::int32_t> roll;
    GrooveLap view() const { return {distance, lateral, speed, roll}; }
};

// Samples every 5 m over 2500 m; the lateral offset grows 0.25 per sample, so
// at distance d it is d / 20.
Lap StraightLap(std::size_t samples = 501) {
    Lap lap;
    for (std::size_t i = 0; i < samples; ++i) {
        lap.distance.push_back(5.0 * static_cast<double>(i));
        lap.lateral.push_back(0.25 * static_cast<double>(i));
        lap.speed.push_back(100.0 + (i % 2) * 1.15);  // changes of 1.15 km/h: acceleration part 0.5
        lap.roll.push_back(10);                       // roll part 0.2 at 100 %
    }
    return lap;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            lines.push_back(text.substr(at));
            break;
        }
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> fields;
    for (std::string f; in >> f;) fields.push_back(f);
    return fields;
}

}  // namespace

TEST(GrooveFile, NumbersAreWrittenWithTenSignificantDigits) {
    const std::pair<double, const char*> table[] = {
        {0.0, "0.0"},
        {3.0, "3.0"},
        {-3.0, "-3.0"},
        {2.0, "2.0"},
        {2499.5, "2499.5"},
        {-1.2345678912, "-1.234567891"},
        {1.23456789051, "1.234567891"},   // 10th digit rounded up
        {0.123456789049, "0.123456789"},  // ... and down
        {0.1, "0.1"},
        {0.05, "5.e-002"},
        {-0.05, "-5.e-002"},
        {0.0434782608696, "4.347826087e-002"},
        {0.099999, "9.9999e-002"},
        // The value's own magnitude picks the form, not its rounded one.
        {0.09999999999996, "1.e-001"},
        {-0.09999999999996, "-1.e-001"},
        {9999999999.7, "10000000000.0"},
        {8.7e-6, "8.7e-006"},
        {1e-5, "1.e-005"},
        {9999999999.4, "9999999999.0"},
        {1e10, "1.e+010"},
        {1.5e10, "1.5e+010"},
        {12345678912.0, "1.234567891e+010"},
        {1e-300, "1.e-300"},
    };
    for (const auto& [value, text] : table) EXPECT_EQ(FormatG10(value), text) << value;
    EXPECT_EQ(FormatG10(std::numeric_limits<double>::quiet_NaN()), "0.0");
    EXPECT_EQ(FormatG10(std::numeric_limits<double>::infinity()), "0.0");
}

// The plain form is built from the scientific digits: it must read as the
// value printed with 9 - exponent decimals would, the rounding carries into a
// new leading digit included.
TEST(GrooveFile, PlainNumbersEqualTheirFixedPrint) {
    auto fixed = [](double v) {
        const std::string sci = fmt::format("{:.9e}", v);
        const int exponent = std::stoi(sci.substr(sci.find('e') + 1));
        std::string text = fmt::format("{:.{}f}", v, 9 - exponent);
        if (text.find('.') == std::string::npos) text += '.';
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text += '0';
        return text;
    };
    std::vector<double> values = {
        9.99999999995, 0.99999999995, 99.999999999996, -0.9999999999951, 999999999.95, 0.1000000000049, 5.5, -7.25};
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        const double mantissa = static_cast<double>(state >> 11) / 9007199254740992.0;  // [0, 1)
        values.push_back((i % 2 ? -1.0 : 1.0) * mantissa * std::pow(10.0, i % 11 - 1));
    }
    for (double v : values) {
        if (v == 0.0) continue;
        const std::string sci = fmt::format("{:.9e}", v);
        const int exponent = std::stoi(sci.substr(sci.find('e') + 1));
        if (exponent < -1 || exponent > 9) continue;
        ASSERT_EQ(FormatG10(v), fixed(v)) << fmt::format("{:.17g}", v);
    }
}

TEST(GrooveFile, FileOfALapAlongATrack) {
    const Lap lap = StraightLap();
    GrooveSettings settings;  // step 0.5 m, both factors 100 %, width "3.0"
    settings.widthText = "2.75";
    const std::string text = GrooveFileText(lap.view(), 2500.0, settings);

    EXPECT_EQ(text.rfind("60sections,5000entries\r\n", 0), 0u);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5001);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 5001);
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i + 1] == '\n') {
            ASSERT_EQ(text[i], '\r') << "bare line feed at " << i;
        }
    }
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");

    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 5001u);
    // 0 lateral groove distance width; the groove is the larger part, 0.5.
    EXPECT_EQ(lines[1], "0 0.0 0.5 0.0 2.75");
    EXPECT_EQ(lines[6], "0 0.125 0.5 2.5 2.75");
    EXPECT_EQ(lines[2001], "0 50.0 0.5 1000.0 2.75");
    EXPECT_EQ(lines[5000], "0 124.975 0.5 2499.5 2.75");
}

TEST(GrooveFile, FactorsChooseThePartsOfTheGrooveValue) {
    const Lap lap = StraightLap();
    auto grooveAt1000 = [&](int accel, int roll) {
        GrooveSettings settings;
        settings.accelerationPercent = accel;
        settings.rollPercent = roll;
        return Fields(Lines(GrooveFileText(lap.view(), 2500.0, settings))[2001])[2];
    };
    EXPECT_EQ(grooveAt1000(0, 100), "0.2");  // roll alone
    EXPECT_EQ(grooveAt1000(100, 0), "0.5");  // acceleration alone
    EXPECT_EQ(grooveAt1000(0, 0), "0.0");
    EXPECT_EQ(grooveAt1000(50, 100), "0.25");
    EXPECT_EQ(grooveAt1000(999, 0), "1.0");  // limited to 1
    EXPECT_EQ(grooveAt1000(0, 999), "1.0");

    // The sample before each distance gives its groove; the last two samples
    // have none, the last computed one stands in.
    Lap rolling = StraightLap();
    for (std::size_t i = 0; i < rolling.roll.size(); ++i) rolling.roll[i] = static_cast<std::int32_t>(i);
    std::fill(rolling.speed.begin(), rolling.speed.end(), 80.0);
    GrooveSettings settings;
    settings.rollPercent = 1;  // groove of sample i: i x 0.0002
    const auto lines = Lines(GrooveFileText(rolling.view(), 2500.0, settings));
    EXPECT_EQ(Fields(lines[2001])[2], "3.98e-002");  // d = 1000: sample 199
    EXPECT_EQ(Fields(lines[5000])[2], "9.96e-002");  // sample 498, not 499
    EXPECT_EQ(Fields(lines[1])[2], "4.e-004");       // sample 2
}

TEST(GrooveFile, AwkwardLapsStillGiveNumbers) {
    auto check = [](const Lap& lap, double length, std::size_t expectEntries) {
        const std::string text = GrooveFileText(lap.view(), length, GrooveSettings{});
        const auto lines = Lines(text);
        ASSERT_EQ(lines.size(), expectEntries + 1);
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const auto f = Fields(lines[i]);
            ASSERT_EQ(f.size(), 5u) << lines[i];
            for (const auto& field : f) {
                EXPECT_EQ(field.find_first_of("#in"), std::string::npos) << lines[i];  // no inf, nan, #INF
            }
        }
    };
    // Recording ends at 1000 m of a 2500 m track.
    check(StraightLap(201), 2500.0, 5000);
    Lap standing = StraightLap(50);
    std::fill(standing.distance.begin(), standing.distance.end(), 0.0);  // equal distances
    check(standing, 100.0, 200);
    check(StraightLap(4), 100.0, 200);
    check(StraightLap(2), 100.0, 200);
    check(Lap{}, 10.0, 20);
    check(StraightLap(), 0.0, 0);
    check(StraightLap(), std::numeric_limits<double>::infinity(), 0);

    Lap broken = StraightLap(20);
    broken.lateral[5] = std::numeric_limits<double>::quiet_NaN();
    broken.speed[7] = std::numeric_limits<double>::quiet_NaN();
    check(broken, 100.0, 200);

    // Four samples: no groove values at all, laterals still interpolated.
    const auto fields = Fields(Lines(GrooveFileText(StraightLap(4).view(), 10.0, GrooveSettings{}))[3]);
    EXPECT_EQ(fields[1], "5.e-002");  // d = 1.0
    EXPECT_EQ(fields[2], "0.0");
    // Two samples: nothing to interpolate between.
    EXPECT_EQ(Lines(GrooveFileText(StraightLap(2).view(), 10.0, GrooveSettings{}))[3], "0 0.0 0.0 1.0 3.0");
}
