#include "numerology/Analysis.h"

#include <gtest/gtest.h>

#include "numerology/AccentFolding.h"

namespace quillon {
namespace {

TEST(RunAnalysis, FillsTheStateAndTheShownTexts) {
    AnalysisState state;
    AnalysisShown shown = RunAnalysis(state, u"MARY 12");
    EXPECT_EQ(state.VowelSum, 1);
    EXPECT_EQ(state.ConsonantSum, 20);
    EXPECT_EQ(state.NumberSum, 3);
    EXPECT_EQ(state.GrandTotal, 24);
    EXPECT_EQ(shown.vTotal, "1");
    EXPECT_EQ(shown.cTotal, "20 / 2");
    EXPECT_EQ(shown.total, "24 / 6");
    EXPECT_EQ(shown.nameDate, "");

    state.DateDigitSum = 37;
    shown = RunAnalysis(state, u"MARY 12");
    EXPECT_EQ(shown.nameDate, "61 / 7");

    shown = RunAnalysis(state, u"");
    EXPECT_EQ(state.GrandTotal, 0);
    EXPECT_EQ(shown.vowels, "");
    EXPECT_EQ(shown.total, "0");
    EXPECT_EQ(shown.nameDate, "") << "no data, no name-plus-date value, even with a date result";

    state.letterSystem = LetterSystem::Chaldean;
    shown = RunAnalysis(state, u"MARY 12");
    EXPECT_EQ(shown.total, "11 / 2");
    EXPECT_EQ(shown.nameDate, "48 / 12 / 3");
}

TEST(NameDateChain, NeedsBothValuesAboveZero) {
    EXPECT_EQ(NameDateChain(24, 37), "61 / 7");
    EXPECT_EQ(NameDateChain(0, 37), "");
    EXPECT_EQ(NameDateChain(24, 0), "");
    EXPECT_EQ(NameDateChain(24, -5), "");
}

TEST(NormalisePastedText, TrimsCutsAndUpperCases) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"  mary y  ", u"MARY Y"},
        {u"", u""},
        {u" \t\r\n ", u""},
        {u"\x01\x1fjohn\x7f", u"JOHN\x7f"},  // 127 is not in the trimmed range
        {u"m\u00e9lanie", u"M\u00e9LANIE"},
        {std::u16string(50, u'a'), std::u16string(40, u'A')},
        {u"   " + std::u16string(45, u'b') + u"  ", std::u16string(40, u'B')},
        // The 40th unit would be the first half of a pair: the pair goes whole.
        {std::u16string(39, u'A') + u"\xd83d\xde00" + u"B", std::u16string(39, u'A')},
        {std::u16string(38, u'A') + u"\xd83d\xde00" + u"B", std::u16string(38, u'A') + u"\xd83d\xde00"},
        // Composed first, then cut: a letter keeps its marks or goes with them.
        {u"jose\u0301", u"JOS\u00e9"},
        {std::u16string(39, u'a') + u"E\u0301", std::u16string(39, u'A') + u"\u00c9"},
        {std::u16string(39, u'a') + u"Q\u0301", std::u16string(39, u'A')},
        {u"E" + std::u16string(45, u'\u0301'), u"\u00c9" + std::u16string(39, u'\u0301')},
        {u"i\u0307", u"\u0130"},  // a capital I composes with a dot above, a small i does not
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(NormalisePastedText(input), expected) << std::string(input.begin(), input.end());
    }
}

TEST(FirstYPosition, OneBasedOrZero) {
    EXPECT_EQ(FirstYPosition(u"MARY Y"), 4);
    EXPECT_EQ(FirstYPosition(u"YVY Y"), 1);
    EXPECT_EQ(FirstYPosition(u"MARy"), 0);
    EXPECT_EQ(FirstYPosition(u""), 0);
    // Folding asks about accented Ys too; pasting makes the lowercase ones uppercase, as y.
    EXPECT_EQ(FirstYPosition(u"MARÝ Y"), 6);
    EXPECT_EQ(FirstYPosition(u"MARÝ Y", true), 4);
    EXPECT_EQ(FirstYPosition(u"MARý", true), 0);
    EXPECT_EQ(NormalisePastedText(u" marý ỹ ", true), u"MARÝ Ỹ");
    EXPECT_EQ(NormalisePastedText(u" marý ỹ "), u"MARý ỹ");
    EXPECT_EQ(VowelFormOfY(u'Ÿ'), u'ÿ');
    EXPECT_EQ(VowelFormOfY(u'Y'), u'y');
    EXPECT_EQ(VowelFormOfY(u'É'), u'É');
}

}  // namespace
}  // namespace quillon
