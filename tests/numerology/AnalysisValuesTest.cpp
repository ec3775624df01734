#include "numerology/AnalysisValues.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace quillon {
namespace {

const ValueName& Named(std::string_view key) {
    return *std::find_if(kValueNames.begin(), kValueNames.end(),
                         [key](const ValueName& name) { return name.key == key; });
}

FieldValue Value(const AnalysisValues& values, std::string_view key) { return ValueOf(values, Named(key)); }

// Worked by hand: M 4, A 1, R 9, Y 7 (a consonant), numbers 1 and 2; 29/12/1985 adds up to 37, its
// day and month to 14.
TEST(AssembleAnalysis, EveryValueOfANameWithAndWithoutADate) {
    const std::array<std::u16string, 12> months = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                                   u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    const DateSettings settings = ParseShortDateFormat(u"dd MMM yyyy", months);
    const FieldValue none;
    struct Case {
        std::u16string_view data;
        LetterSystem system;
        std::optional<CivilDate> date;
        const char *consonants, *total, *dates, *nameDate, *expression;
        FieldValue totalDigit, dateDigit, nameDateDigit;
        std::int32_t dateDigitSum;
    };
    const Case cases[] = {
        {u"MARY 12", LetterSystem::Pythagorean, CivilDate{1985, 12, 29}, "4 97   ", "24 / 6", "29 Dec 1985", "61 / 7",
         "24 / 6", 6, 1, 7, 37},
        {u"MARY 12", LetterSystem::Pythagorean, std::nullopt, "4 97   ", "24 / 6", nullptr, "", "24 / 6", 6, none, none,
         0},
        {u"MARY 12", LetterSystem::Chaldean, CivilDate{1985, 12, 29}, "4 21   ", "11 / 2", "29 Dec 1985", "48 / 12 / 3",
         "11 / 2", 2, 1, 3, 37},
        // No name, no name-plus-date value, although there is a date.
        {u"", LetterSystem::Pythagorean, CivilDate{1985, 12, 29}, "", "0", "29 Dec 1985", "", "0", 0, 1, none, 37},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.data.begin(), c.data.end()) + (c.date ? " with a date" : ""));
        const AnalysisValues values = AssembleAnalysis(c.data, c.system, false, c.date, settings);
        EXPECT_EQ(values.dataText, std::string(c.data.begin(), c.data.end()));
        EXPECT_EQ(values.shown.consonants, c.consonants);
        EXPECT_EQ(values.shown.total, c.total);
        EXPECT_EQ(values.shown.nameDate, c.nameDate);
        ASSERT_EQ(values.date.has_value(), c.dates != nullptr);
        if (values.date) {
            EXPECT_EQ(values.date->dates, c.dates);
            EXPECT_EQ(values.date->totals.monthDay, "14 / 5");
        }
        EXPECT_EQ(values.state.DateDigitSum, c.dateDigitSum);
        EXPECT_EQ(values.core[CoreName::Expression]->chain, c.expression);
        EXPECT_EQ(values.core[CoreName::LifePath].has_value(), c.date.has_value());

        EXPECT_EQ(Value(values, "DataText"), FieldValue(values.dataText));
        EXPECT_EQ(Value(values, "GrandTotal"), FieldValue(values.state.GrandTotal));
        EXPECT_EQ(Value(values, "TotalDigit"), c.totalDigit);
        EXPECT_EQ(Value(values, "DateDigit"), c.dateDigit);
        EXPECT_EQ(Value(values, "NameDateDigit"), c.nameDateDigit);
        EXPECT_EQ(Value(values, "DateDigitSum"), FieldValue(c.dateDigitSum));
        // The report's own names are the report's to answer.
        for (const char* key : {"Total", "Data", "V1", "nameftr", "master"}) EXPECT_EQ(Value(values, key), none) << key;
    }
}

}  // namespace
}  // namespace quillon
