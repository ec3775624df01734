#include "calculator/CalculatorEngine.h"

#include <gtest/gtest.h>

#include "CalculatorTestSupport.h"

namespace quillon {
namespace {

using P = PendingOperation;

struct KeyCase {
    const char* name;
    std::u16string_view keys;
    const char* display;
    const char* entry;
    PendingOperation pending;
    const char* memory = "0.00";
    bool error = false;
    int beeps = 0;
};

void PrintTo(const KeyCase& row, std::ostream* out) { *out << row.name; }

void ExpectRow(const KeyCase& row) {
    TestCalculator calculator;
    calculator.Keys(row.keys);
    EXPECT_EQ(calculator.Display(), row.display);
    EXPECT_EQ(calculator.Entry(), row.entry);
    EXPECT_EQ(calculator.engine.Pending(), row.pending);
    EXPECT_EQ(calculator.Memory(), row.memory);
    EXPECT_EQ(calculator.engine.HasError(), row.error);
    EXPECT_EQ(calculator.engine.BeepCount(), row.beeps);
    EXPECT_EQ(calculator.surroundings.beeps, row.beeps);
}

class Arithmetic : public ::testing::TestWithParam<KeyCase> {};
TEST_P(Arithmetic, ShowsTheResult) { ExpectRow(GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    Calculator, Arithmetic,
    ::testing::Values(KeyCase{"StartShowsZero", u"", "0", "0", P::None},
                      KeyCase{"StrictlyLeftToRight", u"2+3*4=", "20.00", "20.00", P::Equals},
                      KeyCase{"OperatorShowsTheRunningValue", u"2+3*", "5.00", "5.00", P::Multiply},
                      KeyCase{"PercentOfTheRunningValueAdded", u"50+10%", "55.00", "55.00", P::Equals},
                      KeyCase{"PercentOfTheRunningValueSubtracted", u"50-10%", "45.00", "45.00", P::Equals},
                      KeyCase{"PercentOfAProduct", u"200*10%", "20.00", "20.00", P::Equals},
                      KeyCase{"PercentAlone", u"10%", "0.10", "0.10", P::Equals},
                      KeyCase{"EqualsAfterPercentPushesNothing", u"50+10%=", "55.00", "55.00", P::Equals},
                      KeyCase{"OperatorAfterPercentContinues", u"50+10%+5=", "60.00", "60.00", P::Equals},
                      KeyCase{"EqualsRepeatsTheEntryAsOperand", u"5+=", "10.00", "10.00", P::Equals},
                      KeyCase{"OperatorAfterEqualsContinuesWithTheResult", u"5=+2=", "7.00", "7.00", P::Equals},
                      KeyCase{"EqualsTakesTheTypedOperandNotTheShownValue", u"2+3*=", "15.00", "15.00", P::Equals},
                      KeyCase{"DivisionKeepsExtendedPrecision", u"1/3*3=", "1.00", "1.00", P::Equals},
                      KeyCase{"RoundsToTwoDecimals", u"2/3=", "0.67", "0.67", P::Equals},
                      KeyCase{"Reciprocal", u"4r", "0.25", "0.25", P::None},
                      KeyCase{"SquareRoot", u"16@", "4.00", "4.00", P::None},
                      KeyCase{"SquareRootKeepsThePendingOperation", u"9+16@=", "13.00", "13.00", P::Equals},
                      KeyCase{"DigitAfterSquareRootStartsANewNumber", u"2@5", "5", "5", P::None},
                      KeyCase{"NegativeZeroShowsWithoutSign", u"5S*0=", "0.00", "0.00", P::Equals},
                      KeyCase{"EqualsFirstActsAsClear", u"=", "0", "0", P::None},
                      KeyCase{"EqualsAfterEqualsActsAsClear", u"5+2==", "0", "0", P::None},
                      KeyCase{"EqualsAfterClearActsAsClear", u"5+2C=", "0", "0", P::None},
                      KeyCase{"DigitAfterEqualsStartsANewCalculation", u"5+2=3", "3", "3", P::None},
                      KeyCase{"NewCalculationAfterEquals", u"5+2=3+1=", "4.00", "4.00", P::Equals},
                      KeyCase{"PointAfterEqualsStartsANewCalculation", u"5+2=.3", "0.3", "0.3", P::None},
                      KeyCase{"DigitAfterPercentStartsANewCalculation", u"50+10%7", "7", "7", P::None},
                      KeyCase{"TwoOperatorsRepeatTheOperand", u"5+-", "10.00", "10.00", P::Subtract}));

class Entry : public ::testing::TestWithParam<KeyCase> {};
TEST_P(Entry, EditsTheTypedNumber) { ExpectRow(GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    Calculator, Entry,
    ::testing::Values(KeyCase{"Digits", u"123", "123", "123", P::None},
                      KeyCase{"ZeroShowsInTheResultFormat", u"0", "0.00", "0", P::None},
                      KeyCase{"LeadingZerosAreNotKept", u"007", "7", "7", P::None},
                      KeyCase{"LeadingZerosAfterCEAreNotKept", u"5E05", "5", "5", P::None},
                      KeyCase{"ZerosAfterThePointAreKept", u"0.00", "0.00", "0.00", P::None},
                      KeyCase{"PointFirstGetsAZero", u".5", "0.5", "0.5", P::None},
                      KeyCase{"PointAfterLeadingZero", u"00.5", "0.5", "0.5", P::None},
                      KeyCase{"SecondPointIsIgnored", u"5.2.1", "5.21", "5.21", P::None},
                      KeyCase{"PointAfterAnOperatorStartsTheNumber", u"2+.5=", "2.50", "2.50", P::Equals},
                      KeyCase{"BackRemovesTheLastCharacter", u"123B", "12", "12", P::None},
                      KeyCase{"BackOnOneCharacterEmptiesTheEntry", u"5B", "0", "", P::None},
                      KeyCase{"BackAfterEmptyingStartsANewNumber", u"5B7", "7", "7", P::None},
                      KeyCase{"BackRemovesThePoint", u"5.B", "5", "5", P::None},
                      KeyCase{"BackLeavesAZeroValueAlone", u"0.B", "0.", "0.", P::None},
                      KeyCase{"BackEditsAShownResult", u"5=B", "5.0", "5.0", P::Equals},
                      KeyCase{"BackLeavesTheSignOfANegativeEntry", u"5SB", "-", "-", P::None},
                      KeyCase{"DigitAfterBackToTheSign", u"5SB3", "-3", "-3", P::None},
                      KeyCase{"ClearEntry", u"12E", "0.00", "", P::None},
                      KeyCase{"ClearEntryKeepsTheCalculation", u"5+3E4=", "9.00", "9.00", P::Equals},
                      KeyCase{"ClearEndsTheCalculation", u"5+3C2=", "2.00", "2.00", P::Equals},
                      KeyCase{"SignNegates", u"5S", "-5", "-5", P::None},
                      KeyCase{"SignTwiceRestores", u"5SS", "5", "5", P::None},
                      KeyCase{"SignOnAShownResult", u"5=S", "-5.00", "-5.00", P::Equals},
                      KeyCase{"SignOnAnEmptyEntryWaits", u"5ES", "0", "-", P::None},
                      KeyCase{"WaitingSignGoesInFrontOnce", u"5ES5", "-5", "-5", P::None},
                      KeyCase{"WaitingSignAfterAnOperator", u"2+3ES4=", "-2.00", "-2.00", P::Equals},
                      KeyCase{"SignAfterClearWaits", u"S5", "-5", "-5", P::None},
                      KeyCase{"SignTwiceOnEmptyStopsWaiting", u"5ESS5", "5", "5", P::None},
                      KeyCase{"WaitingSignSurvivesLeadingZeros", u"S005", "-5", "-5", P::None},
                      KeyCase{"WaitingSignBeforeThePoint", u"S.5", "-0.5", "-0.5", P::None},
                      KeyCase{"SignOnAShownOperandIsReplacedByTheNextNumber", u"5+S3=", "8.00", "8.00", P::Equals}));

class Memory : public ::testing::TestWithParam<KeyCase> {};
TEST_P(Memory, KeepsItsRegister) { ExpectRow(GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    Calculator, Memory,
    ::testing::Values(KeyCase{"StoreTheDisplay", u"5M", "5", "5", P::None, "5.00"},
                      KeyCase{"StoreTheRunningValue", u"2+3*M", "5.00", "5.00", P::Multiply, "5.00"},
                      KeyCase{"ClearDoesNotTouchMemory", u"5MC", "0", "0", P::None, "5.00"},
                      KeyCase{"MemoryClear", u"5ML", "5", "5", P::None, "0.00"},
                      KeyCase{"MemoryPlusPushesNothing", u"2+3P=", "5.00", "5.00", P::Equals, "3.00"},
                      KeyCase{"MemoryMinusPushesNothing", u"2+3N=", "5.00", "5.00", P::Equals, "-3.00"},
                      KeyCase{"MemoryStorePushesNothing", u"2+3M=", "5.00", "5.00", P::Equals, "3.00"},
                      KeyCase{"MemoryClearPushesNothing", u"2+3L=", "5.00", "5.00", P::Equals, "0.00"},
                      KeyCase{"MemoryPlusAddsTheResultAfterEquals", u"2+3=P", "5.00", "5.00", P::Equals, "5.00"},
                      KeyCase{"MemoryPlusAfterPercentAddsTheShownResult", u"50+10%P", "55.00", "55.00", P::Equals,
                              "55.00"},
                      KeyCase{"RecallShowsMemory", u"7MCR", "7.00", "7.00", P::None, "7.00"},
                      KeyCase{"RecallIsTheNextOperand", u"7MC2+R=", "9.00", "9.00", P::Equals, "7.00"},
                      KeyCase{"RecallReplacesATypedOperand", u"7MC2+3R=", "9.00", "9.00", P::Equals, "7.00"},
                      KeyCase{"OperatorAfterRecall", u"7MCR+1=", "8.00", "8.00", P::Equals, "7.00"},
                      KeyCase{"DigitAfterRecallStartsANewNumber", u"7MCR5", "5", "5", P::None, "7.00"},
                      KeyCase{"RecallOfEmptyMemory", u"5R", "0.00", "0.00", P::None}));

class ErrorState : public ::testing::TestWithParam<KeyCase> {};
TEST_P(ErrorState, BeepsUntilClearOrANewEntry) { ExpectRow(GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    Calculator, ErrorState,
    ::testing::Values(KeyCase{"DivisionByZero", u"1/0=", "****** ", "", P::None, "0.00", true, 1},
                      KeyCase{"ZeroByZero", u"0/0=", "****** ", "", P::None, "0.00", true, 1},
                      KeyCase{"ReciprocalOfZero", u"0r", "****** ", "", P::None, "0.00", true, 1},
                      KeyCase{"SquareRootOfANegativeNumber", u"4S@", "****** ", "", P::None, "0.00", true, 1},
                      KeyCase{"OperatorsOnlyBeep", u"1/0=+*%r@", "****** ", "", P::None, "0.00", true, 6},
                      KeyCase{"MemoryButtonsOnlyBeep", u"5M1/0=PNLR", "****** ", "", P::None, "5.00", true, 5},
                      KeyCase{"ErrorWinsOverEqualsAfterEquals", u"1/0==", "****** ", "", P::None, "0.00", true, 2},
                      KeyCase{"ClearEndsTheError", u"1/0=C", "0", "0", P::None, "0.00", false, 2},
                      KeyCase{"ANewEntryEndsTheError", u"1/0=5", "5", "5", P::None, "0.00", false, 2},
                      KeyCase{"CalculatingAfterANewEntry", u"1/0=5+1=", "6.00", "6.00", P::Equals, "0.00", false, 2},
                      KeyCase{"AZeroIsNoNewEntry", u"1/0=0+", "0.00", "0", P::None, "0.00", true, 3},
                      KeyCase{"EntryKeysStillAct", u"1/0=.", "0.", "0.", P::None, "0.00", true, 2},
                      KeyCase{"AFractionIsANewEntry", u"1/0=.5", "0.5", "0.5", P::None, "0.00", false, 3},
                      KeyCase{"ClearEntryStillActs", u"1/0=E", "0.00", "", P::None, "0.00", true, 2},
                      KeyCase{"SignStillActs", u"1/0=S", "0", "-", P::None, "0.00", true, 2}));

TEST(CalculatorOverflow, ResultsTooLargeForExtendedFail) {
    const std::u16string huge = u"1" + std::u16string(4000, u'0');  // 1e4000
    TestCalculator product;
    product.Keys(huge + u"*" + huge + u"=");
    EXPECT_EQ(product.Display(), "****** ");
    EXPECT_TRUE(product.engine.HasError());

    // 1e4000 still formats, with all the digits of its binary value.
    TestCalculator large;
    large.Keys(huge + u"=");
    EXPECT_GE(large.engine.DisplayText().size(), 4003u);
    EXPECT_FALSE(large.engine.HasError());

    // A typed entry beyond any long double is an overflow the moment its digit is typed: the
    // largest that fits has 4,932 nines' worth of range, 4,933 nines do not fit.
    TestCalculator typed;
    typed.Keys(std::u16string(4932, u'9'));
    EXPECT_FALSE(typed.engine.HasError());
    typed.Keys(u"9");
    EXPECT_EQ(typed.Display(), "****** ");
    EXPECT_TRUE(typed.engine.HasError());
    typed.Keys(u"+");
    EXPECT_EQ(typed.Display(), "****** ") << "operators beep until a new entry";
    typed.Keys(u"1=");
    EXPECT_EQ(typed.Display(), "1.00");

    // Memory overflows like any result and then keeps what it held.
    TestCalculator memory;
    memory.Keys(huge + u"MP");
    EXPECT_EQ(memory.engine.Memory(), 2e4000L);
    const std::u16string nearMax = u"9" + std::u16string(4931, u'0');
    memory.Keys(u"C" + nearMax + u"MP");
    EXPECT_TRUE(memory.engine.HasError());
    EXPECT_EQ(memory.engine.Memory(), 9e4931L);

    // The entry takes no digit beyond its limit (a fraction, which never overflows).
    TestCalculator limit;
    limit.Keys(u"." + std::u16string(kMaxCalcEntryLength + 10, u'1'));
    EXPECT_EQ(limit.engine.EntryText().size(), kMaxCalcEntryLength);
}

TEST(CalculatorFormat, DecimalsAndSeparator) {
    TestCalculator calculator;
    const struct {
        int decimals;
        long double value;
        const char* text;
    } rows[] = {
        {2, 5, "5.00"},
        {2, -1234567.891L, "-1234567.89"},
        {2, 0.125L, "0.12"},
        {2, -0.0L, "0.00"},
        {-3, 5, "5.000"},
        {0, 1234567, "1.23457e+06"},
        {0, 0.5L, "0.5"},
        {1, 2.25L, "2.2"},
        {2, 1e20L, "100000000000000000000.00"},
    };
    for (const auto& row : rows) {
        calculator.engine.SetDecimals(row.decimals);
        EXPECT_EQ(Utf16ToUtf8(calculator.engine.FormatResult(row.value)), row.text) << row.text;
    }

    // A locale that writes a comma: results, the point key and "." all use it.
    TestCalculator comma(u',');
    comma.Keys(u"1.5+2,5=");
    EXPECT_EQ(comma.Display(), "4,00");
    comma.Keys(u"1.5");
    EXPECT_EQ(comma.Display(), "1,5");
    EXPECT_EQ(comma.engine.EntryValue(), 1.5L);
}

TEST(CalculatorClipboard, PasteReplaysTheAcceptedCharacters) {
    const struct {
        const char* name;
        std::optional<std::u16string> clipboard;
        const char* display;
        PendingOperation pending;
    } rows[] = {
        {"calculation", u"12+3=", "15.00", P::Equals},
        {"spaces and junk are skipped", u" 7 * 6 = (answer)", "42.00", P::Equals},
        {"thousands separator skipped", u"1,234.5", "1234.5", P::None},
        {"the typed-only keys are skipped", u"4r@", "4", P::None},
        {"a minus becomes the subtract key", u"-5", "5", P::Subtract},
        {"text without a key clears", u"abc", "0", P::None},
    };
    for (const auto& row : rows) {
        TestCalculator calculator;
        calculator.Keys(u"9+8");
        calculator.surroundings.clipboard = row.clipboard;
        calculator.engine.Paste();
        EXPECT_EQ(calculator.Display(), row.display) << row.name;
        EXPECT_EQ(calculator.engine.Pending(), row.pending) << row.name;
    }

    // No text, or empty text, on the clipboard: nothing happens, not even the clear.
    for (const std::optional<std::u16string>& nothing :
         {std::optional<std::u16string>(), std::optional<std::u16string>(u"")}) {
        TestCalculator calculator;
        calculator.Keys(u"9+8");
        calculator.surroundings.clipboard = nothing;
        calculator.engine.Paste();
        EXPECT_EQ(calculator.Display(), "8");
        EXPECT_EQ(calculator.engine.Pending(), P::Add);
    }

    // Paste clears the error as C does, beeping once for it.
    TestCalculator error;
    error.Keys(u"1/0=");
    error.surroundings.clipboard = u"2";
    error.engine.Paste();
    EXPECT_EQ(error.Display(), "2");
    EXPECT_FALSE(error.engine.HasError());
    EXPECT_EQ(error.engine.BeepCount(), 2);

    // Under a comma locale both the comma and the point are decimal points.
    TestCalculator comma(u',');
    comma.surroundings.clipboard = u"1,5+1.5=";
    comma.engine.Paste();
    EXPECT_EQ(comma.Display(), "3,00");
}

TEST(CalculatorClipboard, CopyTakesTheTextAndTheTwoBlanksAfterIt) {
    TestCalculator calculator;
    calculator.Keys(u"2+3=");
    calculator.engine.CopyDisplay();
    EXPECT_EQ(calculator.surroundings.clipboard, u"5.00  ");
    calculator.Keys(u"12");
    calculator.engine.CopyDisplay();
    EXPECT_EQ(calculator.surroundings.clipboard, u"12  ");
    calculator.Keys(u"/0=");
    calculator.engine.CopyDisplay();
    EXPECT_EQ(calculator.surroundings.clipboard,
              u"****** "
              u"  ");
    // Copying changes nothing in the calculator.
    EXPECT_TRUE(calculator.engine.HasError());
}

TEST(CalculatorState, StackAndBits) {
    TestCalculator calculator;
    EXPECT_EQ(calculator.engine.State(), kCalcReady | kCalcNewNumber);
    EXPECT_FALSE(calculator.engine.LastButton().has_value());
    calculator.Keys(u"2+3");
    EXPECT_EQ(calculator.engine.State(), kCalcReady);
    EXPECT_EQ(calculator.engine.OperandStack()[0], 2);
    calculator.Keys(u"*");
    EXPECT_EQ(calculator.engine.State(), kCalcReady | kCalcNewNumber);
    EXPECT_EQ(calculator.engine.OperandStack()[0], 5);
    EXPECT_EQ(calculator.engine.OperandStack()[1], 0);
    EXPECT_EQ(calculator.engine.LastButton(), CalcButton::Multiply);
    calculator.Keys(u".");
    EXPECT_TRUE(calculator.engine.DecimalTyped());
    EXPECT_EQ(calculator.engine.State() & kCalcNewNumber, 0u);

    // 1/x pushes the entry and pops its result, so the running value stays on top for the =.
    TestCalculator deep;
    deep.Keys(u"1+2+3+4+");
    deep.Keys(u"5r");
    EXPECT_EQ(deep.engine.OperandStack()[0], 10);
    EXPECT_EQ(deep.engine.EntryValue(), 0.2L);
    deep.Keys(u"=");
    EXPECT_EQ(deep.Display(), "10.20");
}

}  // namespace
}  // namespace quillon
