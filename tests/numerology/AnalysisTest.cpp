#include "numerology/Analysis.h"

#include <gtest/gtest.h>

#include "common/Utf8.h"
#include "numerology/AccentFolding.h"
#include "numerology/CoreNumbers.h"
#include "numerology/DigitChart.h"
#include "numerology/Nfc.h"

namespace quillon {
namespace {

using Counts = std::array<int, 9>;

TEST(DigitChart, MaryUnderBothSystems) {
    AnalysisResult pythagorean = AnalyseData(u"MARY", LetterSystem::Pythagorean);
    DigitChart chart = CountDigits(pythagorean.VowelRow, pythagorean.ConsonantRow);
    EXPECT_EQ(chart.vowels, (Counts{1, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(chart.consonants, (Counts{0, 0, 0, 1, 0, 0, 1, 0, 1}));
    EXPECT_EQ(chart.VowelTotal(), 1);
    EXPECT_EQ(chart.ConsonantTotal(), 3);
    EXPECT_EQ(chart.GrandTotal(), 4);

    AnalysisResult chaldean = AnalyseData(u"MARY", LetterSystem::Chaldean);
    chart = CountDigits(chaldean.VowelRow, chaldean.ConsonantRow);
    EXPECT_EQ(chart.vowels, (Counts{1, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(chart.consonants, (Counts{1, 1, 0, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(chart.Total(1), 2);
    EXPECT_EQ(chart.Total(2), 1);
    EXPECT_EQ(chart.Total(4), 1);
    EXPECT_EQ(chart.GrandTotal(), 4);
}

TEST(DigitChart, EdgeCases) {
    EXPECT_EQ(CountDigits("", "").GrandTotal(), 0);
    // Digits and punctuation never reach the rows, so they never reach the chart.
    const AnalysisResult digits = AnalyseData(u"12-34.", LetterSystem::Pythagorean);
    EXPECT_EQ(CountDigits(digits.VowelRow, digits.ConsonantRow).GrandTotal(), 0);
    EXPECT_GT(digits.GrandTotal, 0);

    const AnalysisResult forty = AnalyseData(std::u16string(40, u'S'), LetterSystem::Pythagorean);
    const DigitChart chart = CountDigits(forty.VowelRow, forty.ConsonantRow);
    EXPECT_EQ(chart.Consonant(1), 40);
    EXPECT_EQ(chart.Total(1), 40);
    EXPECT_EQ(chart.ConsonantTotal(), 40);
}

// The analysis counts the chart's digits as it goes, in blocks of characters; the counts must be
// those of its own rows for texts of any length across the blocks' ends, with every kind of
// character (letters of both cases, y, digits, other code units).
TEST(DigitChart, CountsOfTheAnalysisAreThoseOfItsRows) {
    const std::u16string pool = u"AEIOUYyBCDKLMNSTZaez19 -\u00C9\u4E2D";
    std::uint32_t seed = 3;
    for (std::size_t length : {0, 1, 40, 126, 127, 128, 254, 255, 600}) {
        for (int round = 0; round < 5; ++round) {
            std::u16string text(length, u' ');
            for (char16_t& c : text) c = pool[((seed = seed * 1103515245u + 12345u) >> 16) % pool.size()];
            if (round == 0) text.assign(length, u'S');  // one digit only: its count fills a lane
            for (LetterSystem system : {LetterSystem::Pythagorean, LetterSystem::Chaldean}) {
                const AnalysisResult result = AnalyseData(text, system);
                const DigitChart rows = CountDigits(result.VowelRow, result.ConsonantRow);
                const DigitChart counted = ChartOfCounts(result.VowelCounts, result.ConsonantCounts);
                ASSERT_EQ(counted.vowels, rows.vowels) << length;
                ASSERT_EQ(counted.consonants, rows.consonants) << length;
                ASSERT_EQ(result.VowelCounts[0] + rows.VowelTotal(), static_cast<int>(length));
                ASSERT_EQ(result.ConsonantCounts[0] + rows.ConsonantTotal(), static_cast<int>(length));
            }
        }
    }
}

TEST(DigitChart, AVowelYMovesItsCountWithinTheSameColumn) {
    const AnalysisResult consonantY = AnalyseData(u"YVY Y", LetterSystem::Pythagorean);
    const AnalysisResult vowelY = AnalyseData(u"yVY y", LetterSystem::Pythagorean);
    const DigitChart before = CountDigits(consonantY.VowelRow, consonantY.ConsonantRow);
    const DigitChart after = CountDigits(vowelY.VowelRow, vowelY.ConsonantRow);
    EXPECT_EQ(before.Consonant(7), 3);
    EXPECT_EQ(after.Vowel(7), 2);
    EXPECT_EQ(after.Consonant(7), 1);
    EXPECT_EQ(before.Total(7), after.Total(7));
}

TEST(DigitChart, CellNamesAndTextsFollowTheReportOrder) {
    EXPECT_EQ(ChartCellName(0), "V1");
    EXPECT_EQ(ChartCellName(1), "C1");
    EXPECT_EQ(ChartCellName(2), "T1");
    EXPECT_EQ(ChartCellName(26), "T9");
    EXPECT_EQ(ChartCellName(27), "vvt");
    EXPECT_EQ(ChartCellName(29), "ttt");

    const AnalysisResult result = AnalyseData(u"MARY", LetterSystem::Pythagorean);
    const auto texts = ChartCellTexts(CountDigits(result.VowelRow, result.ConsonantRow));
    EXPECT_EQ(texts[0], "1");   // V1
    EXPECT_EQ(texts[10], "1");  // C4
    EXPECT_EQ(texts[11], "1");  // T4
    EXPECT_EQ(texts[25], "1");  // C9
    EXPECT_EQ(texts[3], "0");   // V2
    EXPECT_EQ(texts[27], "1");
    EXPECT_EQ(texts[28], "3");
    EXPECT_EQ(texts[29], "4");
}

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

TEST(ComposeText, CanonicalComposition) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"JOSE\u0301", u"JOS\u00c9"},
        {u"JOS\u00c9", u"JOS\u00c9"},
        {u"Y\u0308", u"\u0178"},
        {u"A\u030a\u0301", u"\u01fa"},                   // two marks, one after the other
        {u"E\u0323\u0302", u"\u1ec6"},                   // marks in either order give the same letter
        {u"E\u0302\u0323", u"\u1ec6"},
        {u"Q\u0323\u0301", u"Q\u0323\u0301"},           // no composite: the marks keep their order
        {u"Q\u0301\u0323", u"Q\u0323\u0301"},
        {u"\u0301E", u"\u0301E"},                         // a mark with no letter before it
        {u"\u212b\u2126", u"\u00c5\u03a9"},             // the angstrom and ohm signs are letters
        {u"\u0915\u093c", u"\u0915\u093c"},             // excluded from composition
        {u"\U0001D15E", u"\U0001D157\U0001D165"},         // outside the BMP, excluded too
        {u"\u1100\u1161\u11a8", u"\uac01"},              // Hangul by arithmetic
        {u"E\xd800\u0301", u"E\xd800\u0301"},            // a lone surrogate stays and blocks
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(ComposeText(input), expected) << Utf16ToUtf8(input);
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

TEST(CoreNumbers, HandWorkedExamples) {
    auto number = [](std::string chain, int digit, std::optional<int> master) {
        return std::optional<CoreNumber>(CoreNumber{std::move(chain), digit, master});
    };
    struct Case {
        std::u16string_view name;
        std::optional<CivilDate> date;
        std::optional<CoreNumber> expected[6];  // in the order of kCoreNames
    };
    const Case cases[] = {
        // M 4 A 1 R 9 Y 7, numbers 1 and 2; 2+9+1+2+1+9+8+5 = 37.
        {u"MARY 12", CivilDate{1985, 12, 29},
         {number("24 / 6", 6, {}), number("1", 1, {}), number("20 / 2", 2, {}), number("37 / 10 / 1", 1, {}),
          number("29 / 11 / 2", 2, 11), number("7", 7, {})}},
        // Expression through 11, life path 2+8+1+1+1+9+8+3 = 33: maturity 11 + 33.
        {u"JONATHAN", CivilDate{1983, 11, 28},
         {number("29 / 11 / 2", 2, 11), number("8", 8, {}), number("21 / 3", 3, {}), number("33 / 6", 6, 33),
          number("28 / 10 / 1", 1, {}), number("44 / 8", 8, {})}},
        // Expression 22, life path 38 through 11: maturity 22 + 11 = 33.
        {u"DAVID", CivilDate{1986, 12, 29},
         {number("22 / 4", 4, 22), number("10 / 1", 1, {}), number("12 / 3", 3, {}), number("38 / 11 / 2", 2, 11),
          number("29 / 11 / 2", 2, 11), number("33 / 6", 6, 33)}},
        // No date, no date numbers; nothing at all adds up to 0.
        {u"", std::nullopt, {number("0", 0, {}), number("0", 0, {}), number("0", 0, {}), {}, {}, {}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name.begin(), c.name.end()));
        const AnalysisResult result = AnalyseData(c.name, LetterSystem::Pythagorean);
        const CoreNumbers core = CoreNumbersOf(result.VowelSum, result.ConsonantSum, result.GrandTotal, c.date);
        for (std::size_t i = 0; i < kCoreNames.size(); ++i) {
            EXPECT_EQ(core[kCoreNames[i]], c.expected[i]) << KeyOf(kCoreNames[i]);
            EXPECT_EQ(CoreNameFromKey(KeyOf(kCoreNames[i])), kCoreNames[i]);
        }
    }
    EXPECT_EQ(CoreNumberOf(303).master, 33) << "303 / 33 / 6";
    EXPECT_EQ(CoreNumberOf(139).chain, "139 / 22 / 4");
    EXPECT_EQ(CoreNumberOf(139).master, 22);
    EXPECT_EQ(CoreNameFromKey("life path"), std::nullopt);
}

}  // namespace
}  // namespace quillon
