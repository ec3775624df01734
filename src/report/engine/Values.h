#pragma once
// Values of report variables and their display formats. A value is unassigned, a string, an
// integer, a number, a boolean, a date or a time. How dates, times and numbers look in the user's
// locale comes from a ReportLocale that the caller provides, so the engine never reads the system's
// settings itself.

#include <cstdint>
#include <string>
#include <variant>

#include "report/format/DateTime.h"
#include "report/format/Views.h"

namespace quillon {

struct DateValue {
    int year = 1899, month = 12, day = 30;
    friend bool operator==(const DateValue&, const DateValue&) = default;
};
struct TimeValue {
    int hour = 0, minute = 0, second = 0;
    friend bool operator==(const TimeValue&, const TimeValue&) = default;
};

using Value = std::variant<std::monostate, std::string, long long, double, bool, DateValue, TimeValue>;

inline bool IsUnassigned(const Value& value) { return std::holds_alternative<std::monostate>(value); }

// The date part and the time part of a date and time, as the values DATE and TIME.
DateValue DateOf(DateTime value);
TimeValue TimeOf(DateTime value);

// The user's regional formats, as the report shows values.
class ReportLocale {
public:
    virtual ~ReportLocale() = default;
    virtual std::string ShortDate(const DateValue& date) const = 0;
    virtual std::string LongDate(const DateValue& date) const = 0;
    virtual std::string Time(const TimeValue& time) const = 0;
    virtual char DecimalSeparator() const = 0;
};

// A locale with fixed formats (dd/mm/yyyy, hh:mm:ss, "."), for tests and for output that must not
// depend on the machine.
class FixedReportLocale final : public ReportLocale {
public:
    std::string ShortDate(const DateValue& date) const override;
    std::string LongDate(const DateValue& date) const override;
    std::string Time(const TimeValue& time) const override;
    char DecimalSeparator() const override { return '.'; }
};

// The value as text under the display format and format string; a value the format cannot show
// falls back to its plain text. Unassigned values and blank strings give an empty text.
std::string FormatValue(const Value& value, std::uint32_t format, const std::string& formatString,
                        const ReportLocale& locale);

// The plain text of a value: strings as they are, integers in decimal, dates and times in the
// locale's short date and time formats.
std::string PlainText(const Value& value, const ReportLocale& locale);

// Whether a value counts as zero for HideZeros: numbers and booleans equal to 0; never strings.
bool IsZero(const Value& value);

}  // namespace quillon
