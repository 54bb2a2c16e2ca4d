#include "core/chart/AxisPageRules.h"
#include "core/chart/OleDate.h"
#include "core/chart/ValueFormat.h"

#include "FixedMeasurer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vra {
namespace {

double Step(int n, double lo, double hi) {
    const auto s = CXGraphAxis::NiceStep(n, lo, hi);
    return s ? s->step : -1.0;
}

TEST(Axis, NiceStepRoundsUpToOneTwoFiveTimesAPowerOfTen) {
    EXPECT_EQ(Step(1, 0, 0.7), 1.0);
    EXPECT_EQ(Step(1, 0, 7), 10.0);
    EXPECT_EQ(Step(1, 0, 3e-5), 5e-5);
    EXPECT_EQ(Step(1, 0, 0.37), 0.5);
    EXPECT_EQ(Step(1, 0, 12), 20.0);
    EXPECT_EQ(Step(1, 0, 600), 1000.0);
    EXPECT_EQ(Step(10, 0, 1), 0.1);
    // No step for an empty, reversed or unbounded span.
    EXPECT_EQ(Step(1, 1, 1), -1.0);
    EXPECT_EQ(Step(1, 1, 0), -1.0);
    EXPECT_EQ(Step(1, 0, INFINITY), -1.0);
    EXPECT_EQ(Step(1, 0, NAN), -1.0);
    EXPECT_EQ(Step(1, CXGraphAxis::kHuge, -CXGraphAxis::kHuge), -1.0);
}

TEST(Axis, AlignRangeMovesEndsOutwardOntoMultiples) {
    auto align = [](double lo, double hi, int n, double range) {
        const auto s = CXGraphAxis::NiceStep(n, 0, range);
        CXGraphAxis::AlignRange(lo, hi, *s);
        return std::pair{lo, hi};
    };
    EXPECT_EQ(align(1.5, 8, 1, 1), (std::pair{0.0, 8.0}));
    EXPECT_EQ(align(1, 7.3, 1, 1), (std::pair{1.0, 8.0}));
    EXPECT_EQ(align(-3.7, -0.5, 1, 1), (std::pair{-4.0, 0.0}));
    EXPECT_EQ(align(3.7, -7.3, 1, 1), (std::pair{2.0, -6.0}));
    // The last decimal step stays exactly on the end.
    EXPECT_EQ(align(0, 1, 10, 1), (std::pair{0.0, 1.0}));
    EXPECT_EQ(align(0, 0.3, 3, 0.3), (std::pair{0.0, 0.3}));
    // Ends on a multiple stay also billions of steps away from zero, where
    // the quotient end / step is rounded by more than the tolerance.
    EXPECT_EQ(align(40000, 40000.00004, 8, 0.00004), (std::pair{40000.0, 40000.00004}));
    EXPECT_EQ(align(0.5, 0.50000001, 20, 0.00000001), (std::pair{0.5, 0.50000001}));
    EXPECT_EQ(align(-155, -154.99998, 2, 0.00002), (std::pair{-155.0, -154.99998}));
}

// An axis whose layout room is n label heights.
struct RoomChart {
    ChartModel model;
    test::FixedMeasurer measurer;
    RoomChart(double lo, double hi, int room) {
        const Point2D pts[] = {{0, lo}, {1, hi}};
        model.SetData(pts, 2, 0, 0, 0);
        model.measurer = &measurer;
        auto& y = model.GetYAxis(0);
        y.showMarkers = false;
        // height of a label: 13 + tick 5; end reserve 10
        model.plotRect = {0, 0, 100, 10 + 18 * room};
    }
    CXGraphAxis& y() { return model.GetYAxis(0); }
};

TEST(Axis, AutoScaleGivesStableNiceRanges) {
    {
        RoomChart c(0, 1, 10);
        c.y().AutoScale();
        EXPECT_EQ(c.y().curMin, 0.0);
        EXPECT_EQ(c.y().curMax, 1.0);
        EXPECT_EQ(c.y().step, 0.1);
    }
    {
        RoomChart c(3, 97, 10);
        c.y().AutoScale();
        EXPECT_EQ(c.y().step, 10.0);
        EXPECT_EQ(c.y().curMin, 0.0);
        EXPECT_EQ(c.y().curMax, 100.0);
    }
    {
        // One alignment asks for another; the final range comes at once and stays.
        RoomChart c(1, 10.2, 5);
        c.y().AutoScale();
        EXPECT_EQ(c.y().curMin, 0.0);
        EXPECT_EQ(c.y().curMax, 15.0);
        EXPECT_EQ(c.y().step, 5.0);
        c.y().AutoScale();
        EXPECT_EQ(c.y().curMax, 15.0);
        EXPECT_EQ(c.y().step, 5.0);
    }
    {
        // Room for one interval counts as two.
        RoomChart c(0, 0.74, 1);
        c.y().AutoScale();
        EXPECT_EQ(c.y().step, 0.5);
        EXPECT_EQ(c.y().curMax, 1.0);
    }
    {
        // Far from zero an aligned range stays put paint after paint.
        RoomChart c(40000, 40000.00004, 8);
        c.y().AutoScale();
        c.y().AutoScale();
        EXPECT_EQ(c.y().curMin, 40000.0);
        EXPECT_EQ(c.y().curMax, 40000.00004);
    }
    {
        RoomChart c(1e15, 1e15 + 1000, 10);
        c.y().AutoScale();
        EXPECT_EQ(c.y().step, 100.0);
        EXPECT_EQ(c.y().curMin, 1e15);
        EXPECT_EQ(c.y().curMax, 1e15 + 1000);
    }
}

TEST(Axis, RangesRefuseWhatCannotBeDrawn) {
    CXGraphAxis a;
    EXPECT_TRUE(a.SetRange(5, 5, 0));
    EXPECT_EQ(a.curMin, 4.0);
    EXPECT_EQ(a.curMax, 6.0);
    EXPECT_FALSE(a.SetRange(6, 5, 0));
    EXPECT_FALSE(a.SetRange(NAN, 5, 0));
    EXPECT_FALSE(a.SetRange(0, INFINITY, 0));
    EXPECT_FALSE(a.SetRange(0, 10, -1));
    EXPECT_FALSE(a.SetRange(0, 10, NAN));
    EXPECT_FALSE(a.SetDataRange(NAN, 1));
    EXPECT_EQ(a.curMin, 4.0);
    EXPECT_EQ(a.curMax, 6.0);

    // Reset before any data leaves the unset range alone.
    CXGraphAxis fresh;
    fresh.Reset();
    EXPECT_EQ(fresh.curMin, CXGraphAxis::kHuge);
    EXPECT_EQ(fresh.step, 0.1);

    // A large bound switches to exponents for good; never on a time axis.
    EXPECT_TRUE(a.SetDataRange(0, 2000000));
    EXPECT_EQ(a.labelFormat, "%5.2e");
    a.SetRange(0, 10, 0);
    EXPECT_EQ(a.labelFormat, "%5.2e");
    CXGraphAxis t;
    t.timeAxis = true;
    t.SetDataRange(0, 3000000);
    EXPECT_EQ(t.labelFormat, "%5.1f");

    a.SetDataRange(0, 50);
    a.SetRange(10, 20, 1);
    a.Reset();
    EXPECT_EQ(a.curMin, 0.0);
    EXPECT_EQ(a.curMax, 50.0);
    EXPECT_EQ(a.step, 5.0);
}

TEST(Axis, TimeAxisStepsOnWholeSeconds) {
    const double start = 45000.428530093;  // 2023-03-15 10:17:05
    EXPECT_EQ(OleDate::Format(start, "%Y-%m-%d %H:%M:%S"), "2023-03-15 10:17:05");
    RoomChart c(start, start + 8.0 / 24, 10);
    c.y().timeAxis = true;
    c.y().labelFormat = "%H:%M:%S";
    c.y().AutoScale();
    EXPECT_NEAR(c.y().step * 86400, 3600, 1e-6);
    EXPECT_EQ(OleDate::Format(c.y().curMin, "%H:%M:%S"), "10:00:00");
    EXPECT_EQ(OleDate::Format(c.y().curMax, "%H:%M:%S"), "19:00:00");

    // Ends land on whole multiples of the step, also before 1970.
    const double at07 = OleDate::FromCivil({2023, 3, 15, 10, 17, 7});
    const double at52 = OleDate::FromCivil({2023, 3, 15, 10, 17, 52});
    double lo = at07, hi = at52;
    CXGraphAxis::AlignTimeRange(lo, hi, 15.0 / 86400);
    EXPECT_EQ(OleDate::Format(lo, "%H:%M:%S"), "10:17:00");
    EXPECT_EQ(OleDate::Format(hi, "%H:%M:%S"), "10:18:00");
    lo = OleDate::FromCivil({1960, 1, 1, 0, 0, 7});
    hi = OleDate::FromCivil({1960, 1, 1, 0, 0, 52});
    CXGraphAxis::AlignTimeRange(lo, hi, 15.0 / 86400);
    EXPECT_EQ(OleDate::Format(lo, "%Y-%m-%d %H:%M:%S"), "1960-01-01 00:00:00");
    EXPECT_EQ(OleDate::Format(hi, "%Y-%m-%d %H:%M:%S"), "1960-01-01 00:01:00");

    EXPECT_NEAR(CXGraphAxis::TimeStep(10, 0, 8.0 / 24) * 86400, 3600, 1e-6);
    EXPECT_EQ(CXGraphAxis::TimeStep(10, 1, 1), 0.0);

    // Part seconds are dropped, never rounded up: a span of 30.6 s counts as
    // 30 s, and a minimum at 10:17:14.6 lies before 10:17:15.
    EXPECT_NEAR(CXGraphAxis::TimeStep(2, 0, 30.6 / 86400) * 86400, 15, 1e-6);
    lo = OleDate::FromCivil({2023, 3, 15, 10, 17, 14}) + 0.6 / 86400;
    hi = OleDate::FromCivil({2023, 3, 15, 10, 17, 44}) + 0.6 / 86400;
    CXGraphAxis::AlignTimeRange(lo, hi, 15.0 / 86400);
    EXPECT_NEAR((lo - OleDate::FromCivil({2023, 3, 15, 10, 17, 0})) * 86400, 0, 1e-3);
    EXPECT_NEAR((hi - OleDate::FromCivil({2023, 3, 15, 10, 17, 45})) * 86400, 0, 1e-3);
}

TEST(Axis, DatesFormatInTheCLocaleAndOnlyInTheValidYears) {
    EXPECT_EQ(OleDate::Format(45000.5, "%Y-%m-%d %H:%M:%S"), "2023-03-15 12:00:00");
    EXPECT_EQ(OleDate::Format(-1.25, "%Y-%m-%d %H:%M:%S"), "1899-12-29 06:00:00");
    EXPECT_EQ(OleDate::Format(2958465, "%Y-%m-%d"), "9999-12-31");
    EXPECT_EQ(OleDate::Format(2958466, "%Y-%m-%d %H:%M:%S"), "");
    EXPECT_EQ(OleDate::Format(-657435, "%Y"), "");
    EXPECT_EQ(OleDate::Format(NAN, "%Y"), "");
    EXPECT_EQ(OleDate::Format(45000.5, "%a %b"), "Wed Mar");
    // Rounded to the nearest second.
    EXPECT_EQ(OleDate::Format(45000.5 + 0.6 / 86400, "%H:%M:%S"), "12:00:01");
}

TEST(Axis, UserFormatsAreOneConversionOfADouble) {
    EXPECT_EQ(FormatValue("%5.1f", 12), " 12.0");
    EXPECT_EQ(FormatValue("%+.2e km", 1234.5), "+1.23e+03 km");
    EXPECT_EQ(FormatValue("%d", 3), "  3.0");
    EXPECT_EQ(FormatValue("%s", 3), "  3.0");
    EXPECT_EQ(FormatValue("%f %f", 3), "  3.0");
    EXPECT_EQ(FormatValue("%n", 3), "  3.0");
    EXPECT_EQ(FormatValue("100%% %.0f", 3), "100% 3");
    EXPECT_EQ(FormatValue("%99999999f", 3), "  3.0");
    EXPECT_EQ(FormatValue("", 3), "  3.0");
    // The alternate general form keeps the point but no digit beyond the precision.
    EXPECT_EQ(FormatValue("%#.3g", 500), "500.");
    EXPECT_EQ(FormatValue("%#8.3g", 500), "    500.");
    EXPECT_EQ(FormatValue("%-#8.3g|", -250), "-250.   |");
    EXPECT_EQ(FormatValue("%0#8.3g", -250), "-000250.");
    EXPECT_EQ(FormatValue("%#g", 377422), "377422.");
    EXPECT_EQ(FormatValue("%#g", 1), "1.00000");
    EXPECT_EQ(FormatValue("%#.3g", 0.5), "0.500");
    EXPECT_EQ(FormatValue("%#.3g", 0), "0.00");
    EXPECT_EQ(FormatValue("v=%#.2G%%", 12), "v=12.%");
}

TEST(AxisPage, ShowsStepsInTheLargestUnitAndPicksFormats) {
    EXPECT_EQ(ShowTimeStep(5400.0 / 86400).unit, TimeUnit::Minutes);
    EXPECT_EQ(ShowTimeStep(5400.0 / 86400).count, 90);
    EXPECT_EQ(ShowTimeStep(2.0).unit, TimeUnit::Days);
    EXPECT_EQ(ShowTimeStep(2.0).count, 2);
    EXPECT_EQ(ShowTimeStep(1.0).unit, TimeUnit::Hours);
    EXPECT_EQ(ShowTimeStep(1.0).count, 24);
    EXPECT_EQ(ShowTimeStep(7200.0 / 86400).count, 2);
    EXPECT_EQ(ShowTimeStep(45.0 / 86400).unit, TimeUnit::Seconds);
    EXPECT_EQ(ShowTimeStep(59.7 / 86400).count, 59);
    EXPECT_DOUBLE_EQ(TimeStepDays(90, TimeUnit::Minutes), 5400.0 / 86400);

    EXPECT_EQ(NumberFormatFor(0, 2000000, 2), "%5.2e");
    EXPECT_EQ(NumberFormatFor(0, 100, 2), "%5.2f");
    EXPECT_EQ(NumberFormatFor(0, 0.0000005, 2), "%5.2e");
    EXPECT_EQ(DecimalsOf("%5.1f"), 1);
    EXPECT_EQ(EscapeNewlines("%H\n%M"), "%H\\n%M");
    EXPECT_EQ(UnescapeNewlines("%H\\n%M"), "%H\n%M");

    long long v = 0;
    EXPECT_EQ(CheckInteger("101", 0, 100, v), "Please enter an integer between 0 and 100.");
    EXPECT_EQ(CheckInteger("100", 0, 100, v), std::nullopt);
    EXPECT_EQ(v, 100);
    double d = 0;
    EXPECT_EQ(CheckNumber("abc", d), "Please enter a number.");
    EXPECT_EQ(CheckNumber("-1.5e3", d), std::nullopt);
    EXPECT_EQ(d, -1500.0);
    // Numbers typed with a plus sign are numbers too; a sign alone is not.
    EXPECT_EQ(CheckNumber(" +2.5 ", d), std::nullopt);
    EXPECT_EQ(d, 2.5);
    EXPECT_EQ(CheckInteger("+7", 0, 100, v), std::nullopt);
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(CheckNumber("+", d));
    EXPECT_TRUE(CheckNumber("+-1", d));
    EXPECT_TRUE(CheckInteger("++7", 0, 100, v));
    EXPECT_TRUE(CheckAxisRange(0, 10, -1));
    EXPECT_TRUE(CheckAxisRange(10, 0, 1));
    EXPECT_FALSE(CheckAxisRange(0, 10, 0));
}

}  // namespace
}  // namespace vra
