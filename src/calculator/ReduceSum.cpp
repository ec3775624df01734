#include "calculator/ReduceSum.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "common/Utf8.h"

namespace quillon {
namespace {

struct SplitEntry {
    std::u16string_view integerPart;
    std::u16string_view fractionPart;  // the separator and everything after it, or empty
};

// Splits at the first decimal point. The calculator writes the locale's separator, so under a
// locale that writes "1234,00" the comma is the point; "." is one in every locale.
SplitEntry Split(std::u16string_view entry, char16_t decimalSeparator) {
    std::size_t point = 0;
    while (point < entry.size() && entry[point] != u'.' && entry[point] != decimalSeparator) ++point;
    return {entry.substr(0, point), entry.substr(point)};
}

// A decimal integer with an optional sign, as a 64-bit integer; nothing when the text is not one
// or the number does not fit.
std::optional<std::int64_t> ReadInt64(std::u16string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    // Accumulated as a negative number, whose range reaches one further than the positive one.
    std::int64_t value = 0;
    for (const char16_t character : text) {
        if (character < u'0' || character > u'9') return std::nullopt;
        const int digit = character - u'0';
        if (value < (std::numeric_limits<std::int64_t>::min() + digit) / 10) return std::nullopt;
        value = value * 10 - digit;
    }
    if (negative) return value;
    if (value == std::numeric_limits<std::int64_t>::min()) return std::nullopt;
    return -value;
}

NumerologyStep NotAnInteger(std::u16string_view text) {
    return {NumerologyStep::Kind::Error, {}, "'" + Utf16ToUtf8(text) + "' is not a valid integer value"};
}

NumerologyStep Result(const std::string& number, std::u16string_view fractionPart) {
    std::u16string text(number.begin(), number.end());
    text += fractionPart;
    return {NumerologyStep::Kind::Result, std::move(text), {}};
}

}  // namespace

NumerologyStep ReduceEntryText(std::u16string_view entry, char16_t decimalSeparator) {
    const SplitEntry split = Split(entry, decimalSeparator);
    if (split.integerPart.size() > kMaxReduceLength) {
        return {NumerologyStep::Kind::Error, {}, "Number must be twenty (20) integers or less."};
    }
    if (split.integerPart.size() < 2) return {};
    const std::u16string_view leading = split.integerPart.substr(0, split.integerPart.size() - 1);
    const std::u16string_view last = split.integerPart.substr(split.integerPart.size() - 1);
    const auto leadingValue = ReadInt64(leading);
    if (!leadingValue) return NotAnInteger(leading);
    const auto lastValue = ReadInt64(last);
    if (!lastValue) return NotAnInteger(last);
    // The largest 64-bit number plus a digit passes the largest 64-bit number; such a sum is
    // written from its unsigned value instead of overflowing.
    std::int64_t sum = 0;
    if (__builtin_add_overflow(*leadingValue, *lastValue, &sum)) {
        return Result(
            std::to_string(static_cast<std::uint64_t>(*leadingValue) + static_cast<std::uint64_t>(*lastValue)),
            split.fractionPart);
    }
    return Result(std::to_string(sum), split.fractionPart);
}

NumerologyStep SumEntryText(std::u16string_view entry, char16_t decimalSeparator) {
    const SplitEntry split = Split(entry, decimalSeparator);
    if (split.integerPart.size() < 2) return {};
    // Each character is read as a number of its own; a sign alone is none. The total is 64-bit, so
    // no entry, however long, overflows it.
    std::int64_t total = 0;
    for (std::size_t i = 0; i < split.integerPart.size(); ++i) {
        const std::u16string_view character = split.integerPart.substr(i, 1);
        const auto value = ReadInt64(character);
        if (!value) return NotAnInteger(character);
        total += *value;
    }
    return Result(std::to_string(total), split.fractionPart);
}

}  // namespace quillon
