#pragma once
// Dates and times as report streams and report values carry them: days since 1899-12-30, the
// fraction being the time of day. The one conversion between that count and calendar dates for
// the whole report engine.

namespace quillon {

using DateTime = double;

struct DateTimeParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    friend bool operator==(const DateTimeParts&, const DateTimeParts&) = default;
};

// Days since 1899-12-30 for a date of the proleptic Gregorian calendar and a time of day.
DateTime ToDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
// The calendar date and the time of day, to the nearest second (never rounded into the next day).
DateTimeParts PartsOf(DateTime value);

}  // namespace quillon
