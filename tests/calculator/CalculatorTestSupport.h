#pragma once
// An engine with a recorded beep and clipboard, and a short key language for tables of key
// sequences: characters press the buttons they would press when typed, capitals the others.

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "calculator/CalculatorEngine.h"
#include "common/Utf8.h"

namespace quillon {

class FakeSurroundings final : public CalculatorSurroundings {
public:
    void Beep() override { ++beeps; }
    std::optional<std::u16string> ClipboardText() override { return clipboard; }
    void SetClipboardText(std::u16string_view text) override { clipboard = std::u16string(text); }

    int beeps = 0;
    std::optional<std::u16string> clipboard;
};

struct TestCalculator {
    explicit TestCalculator(char16_t separator = u'.') : engine(surroundings, separator) {}

    // B Back, E CE, C C, S +/-, L MC, R MR, M MS, P M+, N M-, V paste; every other character as typed.
    void Keys(std::u16string_view keys) {
        for (const char16_t key : keys) {
            switch (key) {
                case u'B': engine.Press(CalcButton::Back); break;
                case u'E': engine.Press(CalcButton::ClearEntry); break;
                case u'C': engine.Press(CalcButton::Clear); break;
                case u'S': engine.Press(CalcButton::Sign); break;
                case u'L': engine.Press(CalcButton::MemoryClear); break;
                case u'R': engine.Press(CalcButton::MemoryRecall); break;
                case u'M': engine.Press(CalcButton::MemoryStore); break;
                case u'P': engine.Press(CalcButton::MemoryAdd); break;
                case u'N': engine.Press(CalcButton::MemorySubtract); break;
                case u'V': engine.Paste(); break;
                default:
                    if (const auto button = engine.TypedCharacterButton(key)) engine.Press(*button);
                    break;
            }
        }
    }

    std::string Display() const { return Utf16ToUtf8(engine.DisplayText()); }
    std::string Entry() const { return Utf16ToUtf8(engine.EntryText()); }
    std::string Memory() const { return Utf16ToUtf8(engine.FormatResult(engine.Memory())); }

    FakeSurroundings surroundings;
    TOvcBasicCalculatorEngine engine;
};

inline std::ostream& operator<<(std::ostream& out, PendingOperation operation) {
    switch (operation) {
        case PendingOperation::None: return out << "none";
        case PendingOperation::Add: return out << "add";
        case PendingOperation::Subtract: return out << "subtract";
        case PendingOperation::Multiply: return out << "multiply";
        case PendingOperation::Divide: return out << "divide";
        case PendingOperation::Equals: return out << "equals";
    }
    return out;
}

}  // namespace quillon
