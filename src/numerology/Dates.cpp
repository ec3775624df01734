#include "numerology/Dates.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "common/Utf8.h"
#include "numerology/ReduceChain.h"

namespace quillon {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Letters as far as the date field cares: ASCII letters and the letters of other scripts. Code
// units from U+00C0 on count as letters except the two Latin-1 signs and the common punctuation
// blocks; month names of the regional settings are found among them.
bool IsLetter(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) return true;
    if (c < 0x00C0 || c == 0x00D7 || c == 0x00F7) return false;
    if (c >= 0x2000 && c <= 0x206F) return false;
    if (c >= 0x3000 && c <= 0x303F) return false;
    return true;
}

char16_t UpperCase(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - u'a' + u'A');
    if (c >= 0x00E0 && c <= 0x00FE && c != 0x00F7) return static_cast<char16_t>(c - 0x20);
    return c;
}

std::u16string UpperCase(std::u16string_view text) {
    std::u16string result(text);
    for (char16_t& c : result) c = UpperCase(c);
    return result;
}

DateError ErrorFor(const char* what, std::u16string_view offending) {
    return DateError{std::string(what) + " \"" + Utf16ToUtf8(offending) + "\""};
}

// The run as a 32-bit number, or nothing when it is not made of digits alone or is too large.
std::optional<int> NumberOf(std::u16string_view run) {
    if (run.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (char16_t c : run) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    }
    return static_cast<int>(value);
}

std::vector<std::u16string> RunsOf(std::u16string_view text) {
    std::vector<std::u16string> runs;
    std::u16string current;
    for (char16_t c : text) {
        if (IsDigit(c) || IsLetter(c)) {
            current += c;
        } else if (!current.empty()) {
            runs.push_back(std::move(current));
            current.clear();
        }
    }
    if (!current.empty()) runs.push_back(std::move(current));
    return runs;
}

// The month named by the leading letters of the run (at most three), compared with as many leading
// letters of each short month name, January first.
std::optional<int> MonthByName(std::u16string_view run, const std::array<std::u16string, 12>& upperNames) {
    std::size_t letters = 0;
    while (letters < run.size() && letters < 3 && IsLetter(run[letters])) ++letters;
    const std::u16string_view prefix = run.substr(0, letters);
    for (std::size_t month = 0; month < upperNames.size(); ++month) {
        const std::u16string_view name = upperNames[month];
        if (name.size() >= prefix.size() && name.substr(0, prefix.size()) == prefix) {
            return static_cast<int>(month) + 1;
        }
    }
    return std::nullopt;
}

const char* NameOf(DateField field) {
    switch (field) {
        case DateField::Day: return "day";
        case DateField::Month: return "month";
        case DateField::Year: return "year";
    }
    return "";
}

// The months in messages, which name a date the same way under every regional setting.
constexpr const char* kEnglishMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                              "July",    "August",   "September", "October", "November", "December"};

// A run of digits as the number it is, however long: "0029" is 29 and "00" is 0.
std::string WithoutLeadingZeros(std::u16string_view digits) {
    while (digits.size() > 1 && digits.front() == u'0') digits.remove_prefix(1);
    return Utf16ToUtf8(digits);
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

std::u16string TwoWide(int value, bool zeroPadded) {
    std::u16string text;
    if (value < 10) text += zeroPadded ? u'0' : u' ';
    for (char c : std::to_string(value)) text += static_cast<char16_t>(c);
    return text;
}

std::u16string FourDigits(int value) {
    std::string digits = std::to_string(value);
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

bool IsCalculatorDate(const CivilDate& date) {
    return date.year >= 1600 && date.year <= 3999 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= DaysInMonth(date.year, date.month);
}

DateSettings ParseShortDateFormat(std::u16string_view format, const std::array<std::u16string, 12>& shortMonthNames) {
    DateSettings settings;
    settings.shortMonthNames = shortMonthNames;
    for (std::size_t month = 0; month < shortMonthNames.size(); ++month) {
        settings.upperMonthNames[month] = UpperCase(shortMonthNames[month]);
    }
    bool seen[3] = {false, false, false};
    std::size_t fieldCount = 0;

    auto addLiteral = [&settings](std::u16string_view text) {
        if (text.empty()) return;
        if (!settings.tokens.empty() && settings.tokens.back().kind == DateFormatToken::Kind::Literal) {
            settings.tokens.back().literal += text;
        } else {
            DateFormatToken token;
            token.literal = std::u16string(text);
            settings.tokens.push_back(std::move(token));
        }
    };
    auto addField = [&](DateField field, std::size_t letters) {
        const auto index = static_cast<std::size_t>(field);
        if (seen[index]) return;
        seen[index] = true;
        DateFormatToken token;
        token.kind = DateFormatToken::Kind::Field;
        token.field = field;
        token.zeroPadded = letters == 2;
        token.monthName = field == DateField::Month && letters >= 3;
        settings.tokens.push_back(token);
        settings.order[fieldCount++] = field;
    };

    for (std::size_t i = 0; i < format.size();) {
        const char16_t c = format[i];
        if (c == u'\'') {
            const std::size_t close = format.find(u'\'', i + 1);
            const std::size_t end = close == std::u16string_view::npos ? format.size() : close;
            if (end == i + 1) {
                addLiteral(u"'");  // two quotes stand for one
            } else {
                addLiteral(format.substr(i + 1, end - i - 1));
            }
            i = end + 1;
            continue;
        }
        std::size_t run = 1;
        while (i + run < format.size() && format[i + run] == c) ++run;
        if (c == u'd' && run <= 2) {
            addField(DateField::Day, run);
        } else if (c == u'd') {
            // A weekday name has no place in the field; drop it with the blank or comma after it.
            while (i + run < format.size() && (format[i + run] == u',' || format[i + run] == u' ')) ++run;
        } else if (c == u'M') {
            addField(DateField::Month, run);
        } else if (c == u'y') {
            addField(DateField::Year, run);
        } else {
            addLiteral(format.substr(i, run));
        }
        i += run;
    }
    for (DateField field : {DateField::Month, DateField::Day, DateField::Year}) {
        if (!seen[static_cast<std::size_t>(field)]) {
            if (fieldCount > 0) addLiteral(u"/");
            addField(field, 2);
        }
    }
    // Literal text before the first field carries nothing a reader needs.
    if (settings.tokens.front().kind == DateFormatToken::Kind::Literal) settings.tokens.erase(settings.tokens.begin());
    return settings;
}

DateReading ReadDate(std::u16string_view text, const DateSettings& settings, const CivilDate& today) {
    if (text.empty() || text == u"/") return today;

    const std::u16string upper = UpperCase(text);
    const std::vector<std::u16string> runs = RunsOf(upper);
    std::size_t next = 0;
    std::optional<int> day, month, year;

    for (DateField field : settings.order) {
        if (next >= runs.size()) break;
        const std::u16string& run = runs[next];
        switch (field) {
            case DateField::Day: {
                const auto value = NumberOf(run);
                if (!value) return ErrorFor("Invalid day", run);
                if (*value >= 1 && *value <= 31) {
                    day = *value;
                    ++next;
                }
                break;
            }
            case DateField::Month: {
                if (IsLetter(run.front())) {
                    month = MonthByName(run, settings.upperMonthNames);
                    if (!month) return ErrorFor("Invalid month name", run);
                    ++next;
                    break;
                }
                const auto value = NumberOf(run);
                if (!value) return ErrorFor("Invalid month", run);
                if (*value >= 1 && *value <= 12) {
                    month = *value;
                    ++next;
                }
                break;
            }
            case DateField::Year: {
                const auto value = NumberOf(run);
                if (!value) return ErrorFor("Invalid year", run);
                year = run.size() <= 2 ? 1900 + *value : *value;
                ++next;
                break;
            }
        }
    }

    const CivilDate date{year.value_or(today.year), month.value_or(today.month), day.value_or(today.day)};
    if (!IsCalculatorDate(date)) return ErrorFor("Invalid date", text);
    return date;
}

DateReading ReadStrictDate(std::u16string_view text, const DateSettings& settings, const CivilDate& today,
                           const std::function<std::u16string(std::u16string_view)>& upperCase) {
    auto refuse = [text](const std::string& reason) {
        return DateError{"Invalid date \"" + Utf16ToUtf8(text) + "\": " + reason};
    };
    std::u16string_view trimmed = text;
    while (!trimmed.empty() && trimmed.front() <= u' ') trimmed.remove_prefix(1);
    while (!trimmed.empty() && trimmed.back() <= u' ') trimmed.remove_suffix(1);
    if (trimmed.empty()) return refuse("no date given");
    if (trimmed == u"/") return today;

    const std::vector<std::u16string> runs = RunsOf(text);
    if (runs.size() < settings.order.size()) {
        std::string missing;
        for (std::size_t field = runs.size(); field < settings.order.size(); ++field) {
            if (!missing.empty()) missing += field + 1 == settings.order.size() ? " and " : ", ";
            missing += std::string("the ") + NameOf(settings.order[field]);
        }
        return refuse(missing + (settings.order.size() - runs.size() == 1 ? " is missing" : " are missing"));
    }
    if (runs.size() > settings.order.size()) {
        return refuse(std::string("there is more after the ") + NameOf(settings.order.back()));
    }

    CivilDate date;
    for (std::size_t field = 0; field < settings.order.size(); ++field) {
        const std::u16string& run = runs[field];
        const char* name = NameOf(settings.order[field]);
        const std::string quoted = "\"" + Utf16ToUtf8(run) + "\" is no " + name;
        if (settings.order[field] == DateField::Month && IsLetter(run.front())) {
            const bool lettersOnly = std::all_of(run.begin(), run.end(), IsLetter);
            const auto month = lettersOnly
                                   ? MonthByName(upperCase ? upperCase(run) : UpperCase(run), settings.upperMonthNames)
                                   : std::nullopt;
            if (!month) return refuse(quoted);
            date.month = *month;
            continue;
        }
        if (!std::all_of(run.begin(), run.end(), IsDigit)) return refuse(quoted);
        const std::optional<int> value = NumberOf(run);
        const std::string number = WithoutLeadingZeros(run);
        switch (settings.order[field]) {
            case DateField::Day:
                if (!value || *value < 1 || *value > 31) return refuse("there is no day " + number);
                date.day = *value;
                break;
            case DateField::Month:
                if (!value || *value < 1 || *value > 12) return refuse("there is no month " + number);
                date.month = *value;
                break;
            case DateField::Year:
                date.year = run.size() <= 2 ? 1900 + *value : value.value_or(0);
                if (!value || date.year < 1600 || date.year > 3999) {
                    return refuse("the year " + number + " is outside 1600 to 3999");
                }
                break;
        }
    }
    if (!IsCalculatorDate(date)) {
        return refuse(std::to_string(date.day) + " " + kEnglishMonthNames[date.month - 1] + " " +
                      std::to_string(date.year) + " is not on the calendar");
    }
    return date;
}

std::u16string FormatDate(const CivilDate& date, const DateSettings& settings) {
    std::u16string text;
    for (const DateFormatToken& token : settings.tokens) {
        switch (token.kind) {
            case DateFormatToken::Kind::Literal: text += token.literal; break;
            case DateFormatToken::Kind::Field:
                switch (token.field) {
                    case DateField::Day: text += TwoWide(date.day, token.zeroPadded); break;
                    case DateField::Month:
                        text += token.monthName ? settings.shortMonthNames[static_cast<std::size_t>(date.month - 1)]
                                                : TwoWide(date.month, token.zeroPadded);
                        break;
                    case DateField::Year: text += FourDigits(date.year); break;
                }
                break;
        }
    }
    return text;
}

DateTotals CalculateDate(const CivilDate& date) {
    auto digitSum = [](int value) {
        int sum = 0;
        for (; value > 0; value /= 10) sum += value % 10;
        return sum;
    };
    const int monthDay = digitSum(date.day) + digitSum(date.month);
    const int all = monthDay + digitSum(date.year);
    DateTotals totals;
    totals.dayTotal = ReduceChain(static_cast<std::uint64_t>(date.day));
    totals.monthDay = ReduceChain(static_cast<std::uint64_t>(monthDay));
    totals.dateTotal = ReduceChain(static_cast<std::uint64_t>(all));
    totals.dateDigitSum = all;
    return totals;
}

}  // namespace quillon
