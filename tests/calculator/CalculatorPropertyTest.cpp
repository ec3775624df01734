// Random key sequences: whatever is pressed, the engine stays sound and its display shows the error
// text, a number in the result format or a typed entry.

#include <cmath>
#include <gtest/gtest.h>
#include <random>

#include "CalculatorTestSupport.h"

namespace quillon {
namespace {

constexpr int kLastButton = static_cast<int>(CalcButton::MemorySubtract);

std::string Ascii(std::u16string_view text, char16_t separator) {
    std::string ascii;
    for (const char16_t c : text) ascii += c == separator ? '.' : c < 128 ? static_cast<char>(c) : '?';
    return ascii;
}

// Whether the text is a typed entry: an optional "-", digits, and at most one point followed by
// digits. A number in the result format is one as well.
bool IsTypedEntry(std::string_view text) {
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    bool point = false;
    for (const char c : text) {
        if (c == '.' && !point) {
            point = true;
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// Clipboard texts for the paste: short runs of keys and junk, and now and then a number so large
// that a few multiplications overflow.
std::u16string RandomClipboard(std::mt19937& random) {
    static constexpr std::u16string_view alphabet = u"0123456789+-*/=%.,r@ abc";
    if (random() % 8 == 0) return u"9" + std::u16string(300 + random() % 900, u'9');
    std::u16string text;
    const unsigned length = random() % 12;
    for (unsigned i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    return text;
}

void CheckInvariants(const TestCalculator& calculator, char16_t separator, const std::string& trail) {
    const TOvcBasicCalculatorEngine& engine = calculator.engine;
    const std::string display = Ascii(engine.DisplayText(), separator);
    if (engine.DisplayText() == kCalcErrorText) {
        ASSERT_TRUE(engine.HasError()) << trail;
    } else {
        ASSERT_FALSE(display.empty()) << trail;
        ASSERT_TRUE(IsTypedEntry(display)) << display << " after " << trail;
    }
    ASSERT_TRUE(IsTypedEntry(Ascii(engine.EntryText(), separator))) << trail;
    ASSERT_LE(engine.EntryText().size(), kMaxCalcEntryLength) << trail;
    ASSERT_TRUE(std::isfinite(engine.Memory())) << trail;
    for (const long double value : engine.OperandStack()) ASSERT_TRUE(std::isfinite(value)) << trail;
    ASSERT_EQ(engine.BeepCount(), calculator.surroundings.beeps) << trail;
}

TEST(CalculatorProperty, RandomKeySequencesKeepTheEngineSound) {
    std::mt19937 random(20240612);
    int failures = 0;   // arithmetic failures met on the way
    int overflows = 0;  // of them, failures with a number beyond 1e100 on top: overflows
    for (int sequence = 0; sequence < 3000; ++sequence) {
        const char16_t separator = sequence % 3 == 0 ? u',' : u'.';
        TestCalculator calculator(separator);
        std::string trail;
        const int length = 1 + static_cast<int>(random() % 60);
        for (int step = 0; step < length; ++step) {
            const unsigned choice = random() % 40;
            if (choice == 0) {
                calculator.surroundings.clipboard = RandomClipboard(random);
                calculator.engine.Paste();
                trail += "[paste]";
            } else if (choice == 1) {
                calculator.engine.CopyDisplay();
                trail += "[copy]";
            } else {
                const auto button = static_cast<CalcButton>(random() % (kLastButton + 1));
                const bool wasError = calculator.engine.HasError();
                const long double top = calculator.engine.OperandStack()[0];
                calculator.engine.Press(button);
                if (!wasError && calculator.engine.HasError()) {
                    ++failures;
                    if (std::fabs(top) > 1e100L) ++overflows;
                }
                trail += std::to_string(static_cast<int>(button)) + " ";
            }
            CheckInvariants(calculator, separator, trail);
            if (HasFatalFailure()) return;
        }
    }
    // The sequences reach the error state, overflow included.
    EXPECT_GT(failures, 100);
    EXPECT_GT(overflows, 0);
}

}  // namespace
}  // namespace quillon
