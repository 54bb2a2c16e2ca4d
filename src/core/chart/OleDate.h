#pragma once
// Date-time values of time axes: days since 1899-12-30 00:00 as a double,
// the fraction being the time of day. Before the epoch the integer part
// counts the day backwards while the fraction still runs forward within that
// day (-1.25 is 1899-12-29 06:00).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vra {

struct CivilTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

class OleDate {
public:
    // Years 100 to 9999: outside them a value is no date.
    static constexpr double kMin = -657434.0;
    static constexpr double kMax = 2958465.0;
    // DATE of 1970-01-01 00:00:00.
    static constexpr double kUnixEpoch = 25569.0;

    // The calendar date and time, rounded to the nearest second; nothing for
    // a value outside the valid years or not a number.
    static std::optional<CivilTime> ToCivil(double date);
    static double FromCivil(const CivilTime& t);

    // strftime conventions in the C locale, at most 128 characters; empty for
    // no valid date.
    static std::string Format(double date, std::string_view format);

    // Whole seconds since 1970-01-01 00:00:00, rounded down (a part second
    // does not count), in 64 bits so that instants before 1970 and after 2038
    // count the same way.
    static std::int64_t ToUnixSeconds(double date);
    static double FromUnixSeconds(std::int64_t seconds);
};

// Days from 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d);
void CivilFromDays(std::int64_t z, int& y, unsigned& m, unsigned& d);

}  // namespace vra
