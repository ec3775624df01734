#include "report/engine/Values.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace quillon {
namespace {

std::string TwoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

bool IsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

std::optional<double> AsNumber(const Value& value) {
    if (const auto* i = std::get_if<long long>(&value)) return static_cast<double>(*i);
    if (const auto* d = std::get_if<double>(&value)) return *d;
    if (const auto* b = std::get_if<bool>(&value)) return *b ? 1.0 : 0.0;
    if (const auto* s = std::get_if<std::string>(&value)) {
        char* end = nullptr;
        const double parsed = std::strtod(s->c_str(), &end);
        if (end != s->c_str() && *end == '\0') return parsed;
    }
    return std::nullopt;
}

// Fixed-point text with the given decimals, optional thousands grouping, and optionally without
// trailing zeros (the "#" patterns).
std::string Number(double value, int decimals, bool grouping, bool trimZeros, char separator) {
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string digits = text;
    std::string fraction;
    if (const auto dot = digits.find('.'); dot != std::string::npos) {
        fraction = digits.substr(dot + 1);
        digits.erase(dot);
    }
    if (trimZeros) {
        while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    }
    if (grouping) {
        const bool negative = !digits.empty() && digits.front() == '-';
        std::string integer = negative ? digits.substr(1) : digits;
        for (int at = static_cast<int>(integer.size()) - 3; at > 0; at -= 3)
            integer.insert(static_cast<std::size_t>(at), ",");
        digits = (negative ? "-" : "") + integer;
    }
    return fraction.empty() ? digits : digits + separator + fraction;
}

// A number pattern such as "#,##0.00": grouping when it holds a comma, decimals from the digits
// after the point, "0" fixed and "#" optional.
std::string NumberPattern(double value, const std::string& pattern, char separator) {
    const auto dot = pattern.find('.');
    int fixed = 0, optional = 0;
    if (dot != std::string::npos) {
        for (char c : pattern.substr(dot + 1)) {
            if (c == '0') ++fixed;
            if (c == '#') ++optional;
        }
    }
    std::string text = Number(value, fixed + optional, pattern.find(',') != std::string::npos, false, separator);
    if (optional > 0) {
        std::size_t drop = 0;
        while (drop < static_cast<std::size_t>(optional) && text.size() > drop && text[text.size() - 1 - drop] == '0')
            ++drop;
        text.erase(text.size() - drop);
        if (!text.empty() && text.back() == separator) text.pop_back();
    }
    return text;
}

// Date patterns in the engine's own notation (d, dd, m, mm, mmm, yy, yyyy).
std::string DatePattern(const DateValue& date, const std::string& pattern) {
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::string text;
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(pattern[i])));
        std::size_t run = 1;
        while (i + run < pattern.size() && std::tolower(static_cast<unsigned char>(pattern[i + run])) == c) ++run;
        if (c == 'd') {
            text += run >= 2 ? TwoDigits(date.day) : std::to_string(date.day);
        } else if (c == 'm') {
            text += run >= 3   ? kMonths[(date.month - 1) % 12]
                    : run == 2 ? TwoDigits(date.month)
                               : std::to_string(date.month);
        } else if (c == 'y') {
            text += run <= 2 ? TwoDigits(date.year % 100) : std::to_string(date.year);
        } else {
            text.append(pattern, i, run);
        }
        i += run;
    }
    return text;
}

std::string TimePattern(const TimeValue& time, const std::string& pattern) {
    std::string text;
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(pattern[i])));
        std::size_t run = 1;
        while (i + run < pattern.size() && std::tolower(static_cast<unsigned char>(pattern[i + run])) == c) ++run;
        const int part = c == 'h' ? time.hour : c == 'n' ? time.minute : c == 's' ? time.second : -1;
        if (part >= 0) {
            text += run >= 2 ? TwoDigits(part) : std::to_string(part);
        } else {
            text.append(pattern, i, run);
        }
        i += run;
    }
    return text;
}

std::optional<DateValue> AsDate(const Value& value) {
    if (const auto* date = std::get_if<DateValue>(&value)) return *date;
    return std::nullopt;
}

std::optional<TimeValue> AsTime(const Value& value) {
    if (const auto* time = std::get_if<TimeValue>(&value)) return *time;
    return std::nullopt;
}

std::optional<std::string> Formatted(const Value& value, std::uint32_t format, const std::string& formatString,
                                     const ReportLocale& locale) {
    const int kind = static_cast<int>((format >> 24) & 0x0F);
    const int variant = static_cast<int>((format >> 16) & 0xFF);
    const int decimals = static_cast<int>((format >> 8) & 0xFF);
    const char separator = static_cast<char>(format & 0xFF);
    switch (static_cast<FormatKind>(kind)) {
        case FormatKind::Text: return std::nullopt;
        case FormatKind::Number: {
            const auto number = AsNumber(value);
            if (!number) return std::nullopt;
            switch (variant) {
                case 0: return Number(*number, decimals, false, true, separator);
                case 1: return Number(*number, decimals, false, false, separator);
                case 2: return Number(*number, decimals, true, true, separator);
                case 3: return Number(*number, decimals, true, false, separator);
                case kFormatFromString: return NumberPattern(*number, formatString, separator);
                default: return std::nullopt;
            }
        }
        case FormatKind::Date: {
            const auto date = AsDate(value);
            if (!date) return std::nullopt;
            static constexpr const char* kPatterns[] = {"dd.mm.yy", "dd.mm.yyyy", "d mmm yyyy"};
            if (variant == kFormatFromString) return DatePattern(*date, formatString);
            if (variant == 3) return locale.LongDate(*date);
            return DatePattern(*date, kPatterns[variant % 3]);
        }
        case FormatKind::Time: {
            const auto time = AsTime(value);
            if (!time) return std::nullopt;
            static constexpr const char* kPatterns[] = {"hh:nn:ss", "h:nn", "hh:nn"};
            if (variant == kFormatFromString) return TimePattern(*time, formatString);
            return TimePattern(*time, kPatterns[variant % 3]);
        }
        case FormatKind::Boolean: {
            const auto number = AsNumber(value);
            if (!number) return std::nullopt;
            static constexpr const char* kPatterns[] = {"0;1", "No;Yes", "False;True", "Off;On"};
            const std::string pattern = variant == kFormatFromString ? formatString : kPatterns[variant % 4];
            const auto split = pattern.find(';');
            if (split == std::string::npos) return std::nullopt;
            return *number != 0 ? pattern.substr(split + 1) : pattern.substr(0, split);
        }
    }
    return std::nullopt;
}

}  // namespace

DateValue DateOf(DateTime value) {
    const DateTimeParts parts = PartsOf(value);
    return {parts.year, parts.month, parts.day};
}

TimeValue TimeOf(DateTime value) {
    const DateTimeParts parts = PartsOf(value);
    return {parts.hour, parts.minute, parts.second};
}

std::string FixedReportLocale::ShortDate(const DateValue& date) const {
    return TwoDigits(date.day) + "/" + TwoDigits(date.month) + "/" + std::to_string(date.year);
}

std::string FixedReportLocale::LongDate(const DateValue& date) const { return DatePattern(date, "d mmm yyyy"); }

std::string FixedReportLocale::Time(const TimeValue& time) const { return TimePattern(time, "hh:nn:ss"); }

std::string PlainText(const Value& value, const ReportLocale& locale) {
    struct Visitor {
        const ReportLocale& locale;
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(const std::string& text) const { return text; }
        std::string operator()(long long number) const { return std::to_string(number); }
        std::string operator()(double number) const {
            if (number == std::floor(number) && std::abs(number) < 1e15)
                return std::to_string(static_cast<long long>(number));
            char text[64];
            std::snprintf(text, sizeof text, "%.15g", number);
            std::string result = text;
            for (char& c : result) {
                if (c == '.') c = locale.DecimalSeparator();
            }
            return result;
        }
        std::string operator()(bool flag) const { return flag ? "True" : "False"; }
        std::string operator()(const DateValue& date) const { return locale.ShortDate(date); }
        std::string operator()(const TimeValue& time) const { return locale.Time(time); }
    };
    return std::visit(Visitor{locale}, value);
}

std::string FormatValue(const Value& value, std::uint32_t format, const std::string& formatString,
                        const ReportLocale& locale) {
    if (IsUnassigned(value)) return {};
    if (const auto* text = std::get_if<std::string>(&value); text && IsBlank(*text)) return {};
    if (auto formatted = Formatted(value, format, formatString, locale)) return *formatted;
    return PlainText(value, locale);
}

bool IsZero(const Value& value) {
    if (std::holds_alternative<std::string>(value) || IsUnassigned(value)) return false;
    const auto number = AsNumber(value);
    return number && *number == 0;
}

}  // namespace quillon
