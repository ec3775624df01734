#include "numerology/DigitChart.h"

#include <array>
#include <gtest/gtest.h>

#include "numerology/LetterValues.h"

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

}  // namespace
}  // namespace quillon
