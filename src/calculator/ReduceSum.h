#pragma once
// The calculator window's two numerology commands on the calculator's entry text. Reduce performs
// one reduction step: the last digit of the integer part is added to the number the digits before
// it form, so 1234.00 becomes 127.00. Sum replaces the integer part by the sum of its digits, so
// 1234.56 becomes 10.56. Both keep the fraction part as it stands.

#include <string>
#include <string_view>

namespace quillon {

struct NumerologyStep {
    enum class Kind {
        Nothing,  // the integer part has fewer than two characters
        Result,   // text holds the new entry
        Error,    // message holds what the error box shows
    };
    Kind kind = Kind::Nothing;
    std::u16string text;
    std::string message;
};

// The integer part of a Reduce may have at most this many characters.
inline constexpr std::size_t kMaxReduceLength = 20;

NumerologyStep ReduceEntryText(std::u16string_view entry, char16_t decimalSeparator);
NumerologyStep SumEntryText(std::u16string_view entry, char16_t decimalSeparator);

}  // namespace quillon
