// The calculator engine's text: the characters that keys and the clipboard bring, the entry read as
// a number and results written in the result format.
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "calculator/CalculatorEngine.h"

namespace quillon {
namespace {

// The largest number of digits after the separator that the result format writes.
constexpr int kMaxDecimals = 18;

}  // namespace

void TOvcBasicCalculatorEngine::SetDecimals(int decimals) {
    decimals_ = decimals < -kMaxDecimals ? -kMaxDecimals : decimals > kMaxDecimals ? kMaxDecimals : decimals;
}

std::optional<CalcButton> TOvcBasicCalculatorEngine::PastedCharacterButton(char16_t character) const {
    if (character >= u'0' && character <= u'9') {
        return static_cast<CalcButton>(static_cast<int>(CalcButton::Digit0) + (character - u'0'));
    }
    if (character == u'.' || character == separator_) return CalcButton::Decimal;
    switch (character) {
        case u'+': return CalcButton::Add;
        case u'-': return CalcButton::Subtract;
        case u'*': return CalcButton::Multiply;
        case u'/': return CalcButton::Divide;
        case u'=': return CalcButton::Equals;
        case u'%': return CalcButton::Percent;
        default: return std::nullopt;
    }
}

std::optional<CalcButton> TOvcBasicCalculatorEngine::TypedCharacterButton(char16_t character) const {
    if (character == u'@') return CalcButton::Sqrt;
    if (character == u'r') return CalcButton::Reciprocal;
    return PastedCharacterButton(character);
}

void TOvcBasicCalculatorEngine::Paste() {
    const std::optional<std::u16string> text = surroundings_.ClipboardText();
    if (!text || text->empty()) return;
    Press(CalcButton::Clear);
    for (const char16_t character : *text) {
        if (const auto button = PastedCharacterButton(character)) Press(*button);
    }
}

void TOvcBasicCalculatorEngine::CopyDisplay() {
    // The display pads its text on the left to right-align it in its own width and font; that
    // padding belongs to the drawing, not to the number, so only the text and the two blanks that
    // always follow it go to the clipboard: "5.00  ".
    surroundings_.SetClipboardText(DisplayText() + u"  ");
}

bool TOvcBasicCalculatorEngine::HasSeparator(std::u16string_view text) const {
    return text.find(separator_) != std::u16string_view::npos;
}

long double TOvcBasicCalculatorEngine::ReadNumber(std::u16string_view text) const {
    // The entry holds only digits, a leading "-" and the separator; anything else reads as 0, as
    // does an entry with no digit yet ("" or "-").
    std::string ascii;
    ascii.reserve(text.size());
    for (const char16_t character : text) {
        if (character == separator_) {
            ascii += '.';
        } else if ((character >= u'0' && character <= u'9') || character == u'-') {
            ascii += static_cast<char>(character);
        } else {
            return 0;
        }
    }
    long double value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too many integer digits for any long double, or a fraction too small for one.
        const std::size_t firstNonZero = ascii.find_first_of("123456789");
        const bool huge = firstNonZero != std::string::npos && firstNonZero < ascii.find('.');
        const long double magnitude = huge ? HUGE_VALL : 0.0L;
        return ascii.front() == '-' ? -magnitude : magnitude;
    }
    if (error != std::errc() || end != ascii.data() + ascii.size()) return 0;
    return value;
}

std::u16string TOvcBasicCalculatorEngine::FormatResult(long double value) const {
    if (value == 0) value = 0;  // -0 shows as 0.00
    // The widest finite long double has 4933 integer digits.
    std::string buffer(4960 + kMaxDecimals, '\0');
    const auto [end, error] = decimals_ == 0 ? std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                                             std::chars_format::general, 6)
                                             : std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                                             std::chars_format::fixed, std::abs(decimals_));
    if (error != std::errc()) return std::u16string(kCalcErrorText);
    std::u16string text;
    text.reserve(static_cast<std::size_t>(end - buffer.data()));
    for (const char* p = buffer.data(); p != end; ++p) text += *p == '.' ? separator_ : static_cast<char16_t>(*p);
    return text;
}

}  // namespace quillon
