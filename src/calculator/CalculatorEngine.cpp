#include "calculator/CalculatorEngine.h"

#include <cmath>

namespace quillon {
namespace {

bool IsArithmetic(PendingOperation operation) {
    switch (operation) {
        case PendingOperation::Add:
        case PendingOperation::Subtract:
        case PendingOperation::Multiply:
        case PendingOperation::Divide: return true;
        case PendingOperation::None:
        case PendingOperation::Equals: return false;
    }
    return false;
}

bool StartsWithMinus(std::u16string_view text) { return !text.empty() && text.front() == u'-'; }

// The digits of the largest long double (about 1.19e4932): no shorter entry overflows.
constexpr std::size_t kLargestNumberDigits = 4933;

// In the error state every button beeps; the entry keys and C still act, the operations do nothing
// more. This holds for = as well: = right after the = that failed does not clear as C would, it
// beeps like every other operation until C or a new entry ends the error.
bool ActsInError(CalcButton button) {
    switch (button) {
        case CalcButton::Digit0:
        case CalcButton::Digit1:
        case CalcButton::Digit2:
        case CalcButton::Digit3:
        case CalcButton::Digit4:
        case CalcButton::Digit5:
        case CalcButton::Digit6:
        case CalcButton::Digit7:
        case CalcButton::Digit8:
        case CalcButton::Digit9:
        case CalcButton::Decimal:
        case CalcButton::Back:
        case CalcButton::ClearEntry:
        case CalcButton::Clear:
        case CalcButton::Sign: return true;
        case CalcButton::Add:
        case CalcButton::Subtract:
        case CalcButton::Multiply:
        case CalcButton::Divide:
        case CalcButton::Equals:
        case CalcButton::Percent:
        case CalcButton::Reciprocal:
        case CalcButton::Sqrt:
        case CalcButton::MemoryClear:
        case CalcButton::MemoryRecall:
        case CalcButton::MemoryStore:
        case CalcButton::MemoryAdd:
        case CalcButton::MemorySubtract: return false;
    }
    return false;
}

}  // namespace

TOvcBasicCalculatorEngine::TOvcBasicCalculatorEngine(CalculatorSurroundings& surroundings, char16_t decimalSeparator)
    : surroundings_(surroundings), separator_(decimalSeparator) {}

void TOvcBasicCalculatorEngine::Press(CalcButton button) {
    const bool inError = HasError();
    if (inError) Beep();
    if (!inError || ActsInError(button)) Perform(button);
    lastButton_ = button;
}

void TOvcBasicCalculatorEngine::Perform(CalcButton button) {
    switch (button) {
        case CalcButton::Digit0:
        case CalcButton::Digit1:
        case CalcButton::Digit2:
        case CalcButton::Digit3:
        case CalcButton::Digit4:
        case CalcButton::Digit5:
        case CalcButton::Digit6:
        case CalcButton::Digit7:
        case CalcButton::Digit8:
        case CalcButton::Digit9: TypeDigit(static_cast<int>(button) - static_cast<int>(CalcButton::Digit0)); break;
        case CalcButton::Decimal: TypeDecimalPoint(); break;
        case CalcButton::Back: BackSpace(); break;
        case CalcButton::ClearEntry: ClearEntry(); break;
        case CalcButton::Clear: Clear(); break;
        case CalcButton::Sign: ToggleSign(); break;
        case CalcButton::Add: Operator(PendingOperation::Add); break;
        case CalcButton::Subtract: Operator(PendingOperation::Subtract); break;
        case CalcButton::Multiply: Operator(PendingOperation::Multiply); break;
        case CalcButton::Divide: Operator(PendingOperation::Divide); break;
        case CalcButton::Equals: Equals(); break;
        case CalcButton::Percent: Percent(); break;
        case CalcButton::Reciprocal: Reciprocal(); break;
        case CalcButton::Sqrt: SquareRoot(); break;
        case CalcButton::MemoryClear: memory_ = 0; break;
        case CalcButton::MemoryRecall: MemoryRecall(); break;
        // MS stores the number on the display, which after an operator is the running result.
        case CalcButton::MemoryStore: ChangeMemory(DisplayValue()); break;
        case CalcButton::MemoryAdd: ChangeMemory(memory_ + EntryValue()); break;
        case CalcButton::MemorySubtract: ChangeMemory(memory_ - EntryValue()); break;
    }
}

void TOvcBasicCalculatorEngine::TypeDigit(int digit) {
    // A digit after = (or after %, which also leaves = pending) starts a new calculation.
    if (pending_ == PendingOperation::Equals) Clear();
    if (state_ & kCalcNewNumber) {
        entryText_.clear();
        decimalTyped_ = false;
    }
    if (entryText_.size() >= kMaxCalcEntryLength) return;
    // While a minus sign waits, the entry shows it as a lone "-". That "-" only stands in for the
    // sign: it gives way to the digit, and the sign then goes in front once, so that +/- 5 gives
    // "-5" and not "--5".
    const bool negative = signPending_;
    if (negative && StartsWithMinus(entryText_)) entryText_.erase(0, 1);
    entryText_ += static_cast<char16_t>(u'0' + digit);
    if (negative) {
        entryText_.insert(0, 1, u'-');
        signPending_ = false;
    }
    entryValueRead_ = false;
    // An entry beyond the range of numbers is an overflow like any other, not a number taken as 0.
    // Only an entry as long as the largest number's digits can be one.
    if (entryText_.size() >= kLargestNumberDigits && !std::isfinite(EntryValue())) return Fail();
    // All zeros without a separator (the search stops at the first other character).
    if (entryText_.find_first_not_of(u"-0") == std::u16string::npos) {
        // Leading zeros are not kept: the entry stays "0" and the next digit starts afresh, even when
        // the new-number bit was not set before (after CE the entry was empty). A minus sign typed
        // before the zeros is not lost with them: it keeps waiting for the first other digit, so
        // +/- 0 5 gives "-5".
        signPending_ = StartsWithMinus(entryText_);
        entryText_ = signPending_ ? u"-" : u"0";
        ShowZero(FormatResult(0));
        state_ |= kCalcNewNumber;
        return;
    }
    ShowEntry();
    state_ = kCalcReady;
}

void TOvcBasicCalculatorEngine::TypeDecimalPoint() {
    // Like a digit, a decimal point right after = starts a new calculation; otherwise the digits
    // that follow it would clear what it began.
    if (pending_ == PendingOperation::Equals) Clear();
    const bool newNumber = (state_ & kCalcNewNumber) != 0;
    const bool negative = signPending_ || (!newNumber && StartsWithMinus(entryText_));
    std::u16string digits = newNumber ? std::u16string() : entryText_;
    if (StartsWithMinus(digits)) digits.erase(0, 1);
    if (!HasSeparator(digits)) {
        if (digits.empty()) digits = u"0";
        digits += separator_;
    }
    // A waiting minus sign is written now, in front of the "0" that the point brings.
    entryText_ = (negative ? u"-" : u"") + digits;
    signPending_ = false;
    decimalTyped_ = true;
    SetEntryValue(ReadNumber(entryText_));
    ShowEntry();
    // The point is part of the number being typed, so the digits after it append to it: ".5"
    // gives "0.5". Were the new-number bit left set after a leading "0.", the next digit would
    // empty the entry again and no fraction below 1 could be typed.
    state_ &= ~kCalcNewNumber;
}

void TOvcBasicCalculatorEngine::BackSpace() {
    if (EntryValue() == 0 || entryText_.empty()) return;
    entryText_.pop_back();
    decimalTyped_ = HasSeparator(entryText_);
    if (entryText_.empty()) {
        SetEntryValue(0);
        ShowZero(u"0");
        state_ |= kCalcNewNumber;
        return;
    }
    SetEntryValue(ReadNumber(entryText_));
    ShowEntry();
}

void TOvcBasicCalculatorEngine::ClearEntry() {
    entryText_.clear();
    SetEntryValue(0);
    signPending_ = false;
    decimalTyped_ = false;
    ShowZero(FormatResult(0));
}

void TOvcBasicCalculatorEngine::Clear() {
    stack_.fill(0);
    pending_ = PendingOperation::None;
    state_ = kCalcReady | kCalcNewNumber;
    SetEntryValue(0);
    entryText_ = u"0";
    signPending_ = false;
    decimalTyped_ = false;
    ShowZero(u"0");
}

void TOvcBasicCalculatorEngine::ToggleSign() {
    // An empty entry has no number to negate, so the sign waits for the first digit. The "0" that C
    // and leading zeros leave is no typed number either: +/- there waits as well, so that C +/- 5
    // gives -5 rather than a "-0" that the 5 would wipe out.
    const bool zeroLeftByClear = entryText_ == u"0" && (state_ & kCalcNewNumber);
    if (entryText_.empty() || signPending_ || zeroLeftByClear) {
        signPending_ = !signPending_;
        entryText_ = signPending_ ? u"-" : u"";
        SetEntryValue(0);
        ShowZero(u"0");
        return;
    }
    if (StartsWithMinus(entryText_)) {
        entryText_.erase(0, 1);
    } else {
        entryText_.insert(0, 1, u'-');
    }
    SetEntryValue(ReadNumber(entryText_));
    if (entryText_.empty()) {
        ShowZero(u"0");
    } else {
        ShowEntry();
    }
}

void TOvcBasicCalculatorEngine::PushOperand() {
    if (lastButton_ == CalcButton::Percent) return;  // its result already stands on top
    Push(EntryValue());
}

void TOvcBasicCalculatorEngine::Operator(PendingOperation operation) {
    // Right after = or MR the number on the display is the operand; otherwise the number entered.
    if (lastButton_ == CalcButton::Equals || lastButton_ == CalcButton::MemoryRecall) {
        Push(DisplayValue());
    } else {
        PushOperand();
    }
    // Strictly left to right: the operation that waits is done before this one waits in its place,
    // so 2 + 3 * 4 = gives 20.
    if (!ApplyPending()) return Fail();
    pending_ = operation;
    ShowResult(stack_[0]);
}

void TOvcBasicCalculatorEngine::Equals() {
    // = as the first button, right after C or right after = clears as C: a second = ends the
    // calculation.
    if (!lastButton_ || *lastButton_ == CalcButton::Equals || *lastButton_ == CalcButton::Clear) return Clear();
    PushOperand();
    if (!ApplyPending()) return Fail();
    pending_ = PendingOperation::Equals;
    SetEntryValue(Pop());
    ShowResult(EntryValue());
}

void TOvcBasicCalculatorEngine::Percent() {
    Push(EntryValue());
    // After + or - the percentage is taken of the running value: 50 + 10 % adds 5. Otherwise it is
    // the number divided by 100.
    const bool ofRunningValue = pending_ == PendingOperation::Add || pending_ == PendingOperation::Subtract;
    const long double percentage = ofRunningValue ? stack_[0] / 100 * stack_[1] : stack_[0] / 100;
    if (!std::isfinite(percentage)) return Fail();
    stack_[0] = percentage;
    if (!ApplyPending()) return Fail();
    pending_ = PendingOperation::Equals;
    // The result stays on the stack for a following operator, and it is the entry as well: M+, 1/x
    // and Sqrt after % act on the number shown, not on the percentage typed before it.
    SetEntryValue(stack_[0]);
    ShowResult(stack_[0]);
}

void TOvcBasicCalculatorEngine::Reciprocal() {
    Push(EntryValue());
    if (stack_[0] == 0) return Fail();
    stack_[0] = 1 / stack_[0];
    SetEntryValue(Pop());
    ShowResult(EntryValue());
}

void TOvcBasicCalculatorEngine::SquareRoot() {
    Push(EntryValue());
    if (stack_[0] < 0) return Fail();
    stack_[0] = std::sqrt(stack_[0]);
    SetEntryValue(Pop());
    ShowResult(EntryValue());
}

void TOvcBasicCalculatorEngine::MemoryRecall() {
    // The recalled number takes the place of a typed entry: it is shown, it becomes the entry value,
    // and the next operation combines it with the running value, so with 7 in memory 2 + MR = gives
    // 9. The stack is left as it is: what waits there waits for this operand. Like the other memory
    // buttons MR pushes nothing, so 2 + 3 M+ = still gives 5.
    signPending_ = false;
    decimalTyped_ = false;
    SetEntryValue(memory_);
    ShowResult(memory_);
}

void TOvcBasicCalculatorEngine::ChangeMemory(long double value) {
    // The memory buttons leave the entry, the stack and the pending operation alone.
    if (!std::isfinite(value)) return Fail();
    memory_ = value;
}

void TOvcBasicCalculatorEngine::Push(long double value) {
    for (std::size_t i = stack_.size() - 1; i > 0; --i) stack_[i] = stack_[i - 1];
    stack_[0] = value;
}

long double TOvcBasicCalculatorEngine::Pop() {
    const long double top = stack_[0];
    for (std::size_t i = 0; i + 1 < stack_.size(); ++i) stack_[i] = stack_[i + 1];
    stack_.back() = 0;
    return top;
}

bool TOvcBasicCalculatorEngine::ApplyPending() {
    if (!IsArithmetic(pending_)) return true;
    const long double top = stack_[0];
    const long double second = stack_[1];
    long double result = 0;
    switch (pending_) {
        case PendingOperation::Add: result = second + top; break;
        case PendingOperation::Subtract: result = second - top; break;
        case PendingOperation::Multiply: result = second * top; break;
        case PendingOperation::Divide:
            if (top == 0) return false;
            result = second / top;
            break;
        case PendingOperation::None:
        case PendingOperation::Equals: return true;
    }
    if (!std::isfinite(result)) return false;
    Pop();
    stack_[0] = result;
    return true;
}

void TOvcBasicCalculatorEngine::ShowResult(long double value) {
    if (!std::isfinite(value)) return Fail();
    displayShowsEntry_ = false;
    displayValue_ = value;
    displayText_ = FormatResult(value);
    entryText_ = displayText_;
    // Whatever is typed next is a new number, not more digits for the result: 2 + 9 Sqrt 5 enters 5.
    state_ = kCalcReady | kCalcNewNumber;
}

void TOvcBasicCalculatorEngine::ShowEntry() { displayShowsEntry_ = true; }

void TOvcBasicCalculatorEngine::ShowZero(std::u16string_view text) {
    displayShowsEntry_ = false;
    displayText_ = text;
    displayValue_ = 0;
}

void TOvcBasicCalculatorEngine::Fail() {
    // A failure abandons the calculation: what was on the stack and what was pending no longer means
    // anything. The entry is empty, so that Reduce and Sum find no number in the stars, and the next
    // digit starts a new number.
    stack_.fill(0);
    pending_ = PendingOperation::None;
    entryText_.clear();
    SetEntryValue(0);
    signPending_ = false;
    decimalTyped_ = false;
    displayShowsEntry_ = false;
    displayText_ = kCalcErrorText;
    displayValue_ = 0;
    state_ = kCalcError | kCalcNewNumber;
    Beep();
}

void TOvcBasicCalculatorEngine::Beep() {
    ++beeps_;
    surroundings_.Beep();
}

long double TOvcBasicCalculatorEngine::EntryValue() const {
    if (!entryValueRead_) {
        entryValue_ = ReadNumber(entryText_);
        entryValueRead_ = true;
    }
    return entryValue_;
}

void TOvcBasicCalculatorEngine::SetEntryValue(long double value) {
    entryValue_ = value;
    entryValueRead_ = true;
}

}  // namespace quillon
