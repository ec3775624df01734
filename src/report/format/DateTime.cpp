#include "report/format/DateTime.h"

#include <cmath>

namespace quillon {
namespace {

// Days from 1970-01-01 for a civil date, counted in 400-year eras from 0000-03-01.
long long DaysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

constexpr int kSecondsPerDay = 86400;

}  // namespace

DateTime ToDateTime(int year, int month, int day, int hour, int minute, int second) {
    const long long days = DaysFromCivil(year, month, day) - DaysFromCivil(1899, 12, 30);
    return static_cast<double>(days) + (hour * 3600 + minute * 60 + second) / static_cast<double>(kSecondsPerDay);
}

DateTimeParts PartsOf(DateTime value) {
    const double wholeDays = std::floor(value);
    const long long days = static_cast<long long>(wholeDays) + DaysFromCivil(1899, 12, 30) + 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long shifted = (5 * dayOfYear + 2) / 153;

    DateTimeParts parts;
    parts.day = static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1);
    parts.month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
    parts.year = static_cast<int>(yearOfEra + era * 400 + (parts.month <= 2 ? 1 : 0));

    int seconds = static_cast<int>(std::lround((value - wholeDays) * kSecondsPerDay));
    if (seconds >= kSecondsPerDay) seconds = kSecondsPerDay - 1;
    parts.hour = seconds / 3600;
    parts.minute = seconds / 60 % 60;
    parts.second = seconds % 60;
    return parts;
}

}  // namespace quillon
