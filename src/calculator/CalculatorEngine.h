#pragma once
// The arithmetic of the math calculator: what each button does to the entry, the display, the
// four-level operand stack, the pending operation and the memory. It knows no keyboard, no mouse and
// no window: the calculator control maps keys and clicks onto buttons, and the engine reaches the
// beep and the clipboard through CalculatorSurroundings.
//
// Numbers are long double, the 80-bit extended type of this machine. Results are shown in the result
// format: Decimals digits after the decimal separator of the user's locale and no thousands
// separators, so 5 shows as 5.00. An arithmetic failure (division by zero, the square root of a
// negative number, a result too large to hold) shows "****** " and puts the engine into its error
// state, in which every button beeps and only the entry keys and C act.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// The buttons of the calculator. Digit0 to Digit9 stand in order, so a digit's value is its
// distance from Digit0.
enum class CalcButton {
    Digit0,
    Digit1,
    Digit2,
    Digit3,
    Digit4,
    Digit5,
    Digit6,
    Digit7,
    Digit8,
    Digit9,
    Decimal,
    Back,
    ClearEntry,
    Clear,
    Sign,
    Add,
    Subtract,
    Multiply,
    Divide,
    Equals,
    Percent,
    Reciprocal,
    Sqrt,
    MemoryClear,
    MemoryRecall,
    MemoryStore,
    MemoryAdd,
    MemorySubtract,
};

// The operation that waits for its second operand; Equals after = (or %) produced a result.
enum class PendingOperation { None, Add, Subtract, Multiply, Divide, Equals };

// The engine's state bits.
inline constexpr unsigned kCalcReady = 1;      // operations are accepted
inline constexpr unsigned kCalcError = 2;      // an arithmetic failure is shown
inline constexpr unsigned kCalcNewNumber = 4;  // the next digit starts a new number

// The text the display shows after an arithmetic failure.
inline constexpr std::u16string_view kCalcErrorText = u"****** ";

// A typed entry longer than this takes no more digits. A long double holds no number with more
// than 4933 integer digits, so a longer entry could only overflow; the limit keeps a pasted
// megabyte of digits from re-reading an ever longer entry after every one of them.
inline constexpr std::size_t kMaxCalcEntryLength = 5000;

// What the engine needs from its surroundings.
class CalculatorSurroundings {
public:
    virtual ~CalculatorSurroundings() = default;
    virtual void Beep() = 0;
    // The clipboard's text; nothing when it holds no text.
    virtual std::optional<std::u16string> ClipboardText() = 0;
    virtual void SetClipboardText(std::u16string_view text) = 0;
};

class TOvcBasicCalculatorEngine {
public:
    // The decimal separator is the locale's; "." is accepted as a key for it as well.
    explicit TOvcBasicCalculatorEngine(CalculatorSurroundings& surroundings, char16_t decimalSeparator = u'.');

    // Presses a button, by key or by mouse.
    void Press(CalcButton button);
    // Clears as C, then replays the clipboard's digits, operators, "%", "=" and decimal points as
    // key presses; every other character is skipped. Nothing happens when the clipboard holds no text.
    void Paste();
    // Puts the display text and the two blanks that follow it on the display onto the clipboard.
    void CopyDisplay();

    // The button a typed character presses: the characters a paste accepts, and "@" for Sqrt and
    // "r" for 1/x.
    std::optional<CalcButton> TypedCharacterButton(char16_t character) const;
    // The button a pasted character presses: a digit, "%", "*", "+", "-", "/", "=", "." or the
    // decimal separator.
    std::optional<CalcButton> PastedCharacterButton(char16_t character) const;

    // A number in the result format: "%.*f" with the absolute value of Decimals, "%g" when Decimals
    // is 0, the locale's decimal separator, no thousands separators. Zero carries no sign.
    std::u16string FormatResult(long double value) const;

    int Decimals() const { return decimals_; }
    void SetDecimals(int decimals);
    char16_t DecimalSeparator() const { return separator_; }

    const std::u16string& EntryText() const { return entryText_; }
    long double EntryValue() const;
    // What the display shows, without the two blanks that follow it there.
    const std::u16string& DisplayText() const { return displayShowsEntry_ ? entryText_ : displayText_; }
    long double DisplayValue() const { return displayShowsEntry_ ? EntryValue() : displayValue_; }
    bool SignPending() const { return signPending_; }
    bool DecimalTyped() const { return decimalTyped_; }
    std::optional<CalcButton> LastButton() const { return lastButton_; }
    // Top first.
    const std::array<long double, 4>& OperandStack() const { return stack_; }
    PendingOperation Pending() const { return pending_; }
    long double Memory() const { return memory_; }
    unsigned State() const { return state_; }
    bool HasError() const { return (state_ & kCalcError) != 0; }
    // How often the engine has beeped.
    int BeepCount() const { return beeps_; }

private:
    // What a button does outside the error state.
    void Perform(CalcButton button);
    void TypeDigit(int digit);
    void TypeDecimalPoint();
    void BackSpace();
    void ClearEntry();
    void Clear();
    void ToggleSign();
    void Operator(PendingOperation operation);
    void Equals();
    void Percent();
    void Reciprocal();
    void SquareRoot();
    void MemoryRecall();
    void ChangeMemory(long double value);

    void Push(long double value);
    long double Pop();
    // The operand of +, -, * and /, pushed unless a % result already stands on top.
    void PushOperand();
    // Applies a pending +, -, * or / to the second and the top value and puts the result in their
    // place; false on an arithmetic failure.
    bool ApplyPending();
    // Shows a result in the result format and makes it the entry text; a value that is not finite
    // is a failure instead.
    void ShowResult(long double value);
    void ShowEntry();
    void ShowZero(std::u16string_view text);
    void Fail();
    void Beep();
    bool HasSeparator(std::u16string_view text) const;
    long double ReadNumber(std::u16string_view text) const;

    CalculatorSurroundings& surroundings_;
    char16_t separator_;
    int decimals_ = 2;

    // Setting the value of the entry; reading it is EntryValue().
    void SetEntryValue(long double value);

    std::u16string entryText_ = u"0";
    // The entry's value is read from its text when it is needed, not after every digit: a pasted
    // number would otherwise be read again and again, ever longer.
    mutable long double entryValue_ = 0;
    mutable bool entryValueRead_ = true;
    // While a number is typed the display shows the entry itself, which is not copied each time.
    bool displayShowsEntry_ = false;
    std::u16string displayText_ = u"0";
    long double displayValue_ = 0;
    bool signPending_ = false;
    bool decimalTyped_ = false;
    std::optional<CalcButton> lastButton_;
    std::array<long double, 4> stack_{};
    PendingOperation pending_ = PendingOperation::None;
    long double memory_ = 0;
    unsigned state_ = kCalcReady | kCalcNewNumber;
    int beeps_ = 0;
};

}  // namespace quillon
