#include "calculator/ReduceSum.h"

#include <gtest/gtest.h>

#include "CalculatorTestSupport.h"

namespace quillon {
namespace {

using Kind = NumerologyStep::Kind;

struct StepCase {
    const char* name;
    std::u16string_view entry;
    Kind kind;
    const char* result;  // the new entry, or the error message
};

void ExpectStep(const NumerologyStep& step, const StepCase& row) {
    EXPECT_EQ(step.kind, row.kind) << row.name;
    switch (row.kind) {
        case Kind::Nothing: break;
        case Kind::Result: EXPECT_EQ(Utf16ToUtf8(step.text), row.result) << row.name; break;
        case Kind::Error: EXPECT_EQ(step.message, row.result) << row.name; break;
    }
}

TEST(Reduce, OneStepOfTheReduction) {
    const StepCase rows[] = {
        {"worked example", u"1234.00", Kind::Result, "127.00"},
        {"second press", u"127.00", Kind::Result, "19.00"},
        {"third press", u"19.00", Kind::Result, "10.00"},
        {"fourth press", u"10.00", Kind::Result, "1.00"},
        {"typed integer", u"19", Kind::Result, "10"},
        {"to one digit", u"10", Kind::Result, "1"},
        {"single digit", u"7.00", Kind::Nothing, ""},
        {"empty entry", u"", Kind::Nothing, ""},
        {"the waiting sign", u"-", Kind::Nothing, ""},
        {"only a fraction", u"0.5", Kind::Nothing, ""},
        {"negative", u"-127", Kind::Result, "-5"},
        {"fraction kept as typed", u"1234.5678", Kind::Result, "127.5678"},
        {"split at the first point", u"12.3.4", Kind::Result, "3.3.4"},
        {"twenty digits", u"12345678901234567890", Kind::Result, "1234567890123456789"},
        {"largest leading part", u"92233720368547758079", Kind::Result, "9223372036854775816"},
        {"twenty-one characters", u"123456789012345678901", Kind::Error,
         "Number must be twenty (20) integers or less."},
        {"sign and twenty digits", u"-12345678901234567890", Kind::Error,
         "Number must be twenty (20) integers or less."},
        {"negative single digit", u"-5.00", Kind::Error, "'-' is not a valid integer value"},
        {"leading part beyond 64 bits", u"99999999999999999999", Kind::Error,
         "'9999999999999999999' is not a valid integer value"},
        {"error stars", u"****** ", Kind::Error, "'******' is not a valid integer value"},
    };
    for (const StepCase& row : rows) ExpectStep(ReduceEntryText(row.entry, u'.'), row);
}

TEST(Sum, AddsTheDigitsOfTheIntegerPart) {
    const StepCase rows[] = {
        {"worked example", u"1234.56", Kind::Result, "10.56"},
        {"six nines", u"999999", Kind::Result, "54"},
        {"single digit", u"7.00", Kind::Nothing, ""},
        {"empty entry", u"", Kind::Nothing, ""},
        {"negative", u"-127", Kind::Error, "'-' is not a valid integer value"},
        {"no length limit", u"1111111111111111111111111111111111111111.00", Kind::Result, "40.00"},
        {"zeros", u"100.10", Kind::Result, "1.10"},
    };
    for (const StepCase& row : rows) ExpectStep(SumEntryText(row.entry, u'.'), row);
}

TEST(ReduceAndSum, TheLocaleSeparatorIsAPoint) {
    ExpectStep(ReduceEntryText(u"1234,00", u','), {"comma", u"", Kind::Result, "127,00"});
    ExpectStep(SumEntryText(u"1234,56", u','), {"comma", u"", Kind::Result, "10,56"});
    ExpectStep(ReduceEntryText(u"1234.00", u','), {"point", u"", Kind::Result, "127.00"});
}

}  // namespace
}  // namespace quillon
