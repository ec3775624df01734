#pragma once
// Dates for the date calculator: the regional short date format, reading a typed date the way the
// date field does, writing a date in the field's display form, and the three date reductions.
// Pure computation: today's date and the regional settings are passed in.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quillon {

struct CivilDate {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// A real calendar date (Gregorian) in the years the calculator accepts, 1600 to 3999.
bool IsCalculatorDate(const CivilDate& date);

enum class DateField { Day, Month, Year };

// One piece of the short date format: a field, or literal text between fields.
struct DateFormatToken {
    enum class Kind { Field, Literal } kind = Kind::Literal;
    DateField field = DateField::Day;
    bool zeroPadded = false;  // a two-letter field ("dd", "MM") pads with 0, a one-letter one with a blank
    bool monthName = false;   // "MMM": the month is written as its short name
    std::u16string literal;
};

// The regional settings the date field uses.
struct DateSettings {
    std::vector<DateFormatToken> tokens;             // the display form
    std::array<DateField, 3> order{};                // the order in which typed runs are taken
    std::array<std::u16string, 12> shortMonthNames;  // January first, as displayed
    // The same names upper-cased, for reading. The settings' maker may fill them with a better
    // upper-casing than the one this unit knows (ASCII and Latin-1).
    std::array<std::u16string, 12> upperMonthNames;
};

// Reads a short date format in the notation of the regional settings (d, dd, M, MM, MMM, yy, yyyy,
// text in single quotes, anything else literal). Weekday names ("ddd") are left out. A format that
// lacks a field gets it appended, so every date can be shown and read.
DateSettings ParseShortDateFormat(std::u16string_view format, const std::array<std::u16string, 12>& shortMonthNames);

// The error the field raises: "Invalid day", "Invalid month", "Invalid month name", "Invalid year"
// or "Invalid date", a blank, and the offending text in double quotes.
struct DateError {
    std::string message;  // UTF-8
};

using DateReading = std::variant<CivilDate, DateError>;

// Reads typed text as the date field does: empty or "/" is today; otherwise runs of letters and
// digits are taken in the settings' order, out-of-range days and months count as missing and leave
// their run for the next field, missing parts take today's, years of up to two digits are 1900 + n,
// and a month run that starts with a letter names the month. A result that is no real date in 1600
// to 3999 is refused as "Invalid date". The text is upper-cased here for ASCII and Latin-1; a
// caller that knows more of Unicode may upper-case it first.
DateReading ReadDate(std::u16string_view text, const DateSettings& settings, const CivilDate& today);

// Reads a date given on the command line or in a list, where no one sees what was read: the
// day, the month and the year must each be given, in the settings' order, as three runs of
// digits (the month also by its name, as ReadDate finds names) between any other characters;
// each must be in range, a year of one or two digits is 1900 + n as in ReadDate, and the three
// must make a real date in 1600 to 3999. "/" (blanks around it allowed) is today; empty text is
// no date. Anything else is refused as `Invalid date "TEXT": ` and what is wrong with it, such
// as "there is no month 29", the text as given. upperCase upper-cases a run for the month names;
// this unit's own upper-casing (ASCII and Latin-1) when empty.
DateReading ReadStrictDate(std::u16string_view text, const DateSettings& settings, const CivilDate& today,
                           const std::function<std::u16string(std::u16string_view)>& upperCase = {});

// The date in the field's display form: the year with four digits, day and month two wide.
std::u16string FormatDate(const CivilDate& date, const DateSettings& settings);

// What a date calculation shows.
struct DateTotals {
    std::string dayTotal;   // reduction chain of the day number
    std::string monthDay;   // of the digit sum of ddmm
    std::string dateTotal;  // of the digit sum of ddmmyyyy
    std::int32_t dateDigitSum = 0;
};

DateTotals CalculateDate(const CivilDate& date);

}  // namespace quillon
