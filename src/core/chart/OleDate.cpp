#include "core/chart/OleDate.h"

#include <clocale>
#include <cmath>
#include <ctime>
#include <locale.h>

namespace vra {

std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
}

std::optional<CivilTime> OleDate::ToCivil(double date) {
    if (!(date >= kMin && date <= kMax)) return std::nullopt;
    // Half a second away from zero, then split into day and time of day.
    const double half = 1.0 / 172800.0;
    const double rounded = date >= 0 ? date + half : date - half;
    const double dayPart = std::trunc(rounded);
    double frac = std::fabs(rounded - dayPart);
    auto seconds = static_cast<std::int64_t>(std::floor(frac * 86400.0));
    if (seconds >= 86400) seconds = 86399;
    int y;
    unsigned m, d;
    CivilFromDays(static_cast<std::int64_t>(dayPart) + DaysFromCivil(1899, 12, 30), y, m, d);
    CivilTime t;
    t.year = y;
    t.month = static_cast<int>(m);
    t.day = static_cast<int>(d);
    t.hour = static_cast<int>(seconds / 3600);
    t.minute = static_cast<int>(seconds / 60 % 60);
    t.second = static_cast<int>(seconds % 60);
    return t;
}

double OleDate::FromCivil(const CivilTime& t) {
    const std::int64_t days = DaysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)) -
                              DaysFromCivil(1899, 12, 30);
    const double time = (t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0;
    return days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time;
}

std::string OleDate::Format(double date, std::string_view format) {
    const auto civil = ToCivil(date);
    if (!civil || format.empty()) return {};
    std::tm tm{};
    tm.tm_year = civil->year - 1900;
    tm.tm_mon = civil->month - 1;
    tm.tm_mday = civil->day;
    tm.tm_hour = civil->hour;
    tm.tm_min = civil->minute;
    tm.tm_sec = civil->second;
    const std::int64_t days =
        DaysFromCivil(civil->year, static_cast<unsigned>(civil->month), static_cast<unsigned>(civil->day));
    tm.tm_wday = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    tm.tm_yday = static_cast<int>(days - DaysFromCivil(civil->year, 1, 1));
    tm.tm_isdst = 0;
    // The labels must not follow the user's locale: month and day names stay English.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    char buffer[129];
    const std::string fmtText(format);
    const std::size_t n = strftime_l(buffer, sizeof buffer, fmtText.c_str(), &tm, cLocale);
    return std::string(buffer, n);
}

std::int64_t OleDate::ToUnixSeconds(double date) {
    if (!std::isfinite(date)) return 0;
    // Dates before the epoch count their fraction forwards within the day.
    const double dayPart = std::trunc(date);
    const double frac = std::fabs(date - dayPart);
    const double seconds = (dayPart - kUnixEpoch) * 86400.0 + frac * 86400.0;
    const double limit = 9.0e18;
    if (seconds > limit) return static_cast<std::int64_t>(limit);
    if (seconds < -limit) return static_cast<std::int64_t>(-limit);
    // Whole seconds, a part second dropped (the tiny addend keeps an exact
    // second that the division left just below it).
    return static_cast<std::int64_t>(std::floor(seconds + 1.0 / 172800));
}

double OleDate::FromUnixSeconds(std::int64_t seconds) {
    const std::int64_t q = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    const std::int64_t r = seconds - q * 86400;  // 0 .. 86399
    const double day = static_cast<double>(q) + kUnixEpoch;
    const double time = static_cast<double>(r) / 86400.0;
    return day >= 0 ? day + time : day - time;
}

}  // namespace vra
