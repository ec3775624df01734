#include "numerology/LetterValues.h"

#include <gtest/gtest.h>

#include "numerology/AccentFolding.h"
#include "numerology/ReduceChain.h"

namespace quillon {
namespace {

struct LetterRow {
    char16_t character;
    int pythagorean;
    int chaldean;
    CharClass charClass;
};

// The letter-value table, row by row.
constexpr LetterRow kLetterTable[] = {
    {u'A', 1, 1, CharClass::Vowel},     {u'B', 2, 2, CharClass::Consonant}, {u'C', 3, 3, CharClass::Consonant},
    {u'D', 4, 4, CharClass::Consonant}, {u'E', 5, 5, CharClass::Vowel},     {u'F', 6, 8, CharClass::Consonant},
    {u'G', 7, 3, CharClass::Consonant}, {u'H', 8, 5, CharClass::Consonant}, {u'I', 9, 1, CharClass::Vowel},
    {u'J', 1, 1, CharClass::Consonant}, {u'K', 2, 2, CharClass::Consonant}, {u'L', 3, 3, CharClass::Consonant},
    {u'M', 4, 4, CharClass::Consonant}, {u'N', 5, 5, CharClass::Consonant}, {u'O', 6, 7, CharClass::Vowel},
    {u'P', 7, 8, CharClass::Consonant}, {u'Q', 8, 1, CharClass::Consonant}, {u'R', 9, 2, CharClass::Consonant},
    {u'S', 1, 3, CharClass::Consonant}, {u'T', 2, 4, CharClass::Consonant}, {u'U', 3, 6, CharClass::Vowel},
    {u'V', 4, 6, CharClass::Consonant}, {u'W', 5, 6, CharClass::Consonant}, {u'X', 6, 5, CharClass::Consonant},
    {u'Y', 7, 1, CharClass::Consonant}, {u'Z', 8, 7, CharClass::Consonant}, {u'y', 7, 1, CharClass::Vowel},
};

TEST(LetterTable, EveryLetterHasItsValueAndClassInBothSystems) {
    for (const LetterRow& row : kLetterTable) {
        SCOPED_TRACE(static_cast<char>(row.character));
        const LetterValue pythagorean = Classify(row.character, LetterSystem::Pythagorean);
        const LetterValue chaldean = Classify(row.character, LetterSystem::Chaldean);
        EXPECT_EQ(pythagorean.value, row.pythagorean);
        EXPECT_EQ(chaldean.value, row.chaldean);
        EXPECT_EQ(pythagorean.charClass, row.charClass);
        EXPECT_EQ(chaldean.charClass, row.charClass);
        EXPECT_NE(chaldean.value, 9) << "no character is worth 9 under the Chaldean system";
    }
}

TEST(LetterTable, DigitsOneToNineAreNumbersAtFaceValue) {
    for (char16_t c = u'1'; c <= u'9'; ++c) {
        for (LetterSystem system : {LetterSystem::Pythagorean, LetterSystem::Chaldean}) {
            const LetterValue value = Classify(c, system);
            EXPECT_EQ(value.charClass, CharClass::Number);
            EXPECT_EQ(value.value, c - u'0');
        }
    }
}

TEST(LetterTable, EverythingElseIsOther) {
    const char16_t others[] = {u'0', u' ',    u'.',    u'-',    u'a',    u'm',    u'z',   u'\0', u'\t',
                               u'\x7f', u'\u00e9', u'\u00c9', u'\u0416', u'\u4e2d', u'\xd83d', u'\xde00', u'@', u'['};
    for (char16_t c : others) {
        SCOPED_TRACE(static_cast<int>(c));
        EXPECT_EQ(Classify(c, LetterSystem::Pythagorean).charClass, CharClass::Other);
        EXPECT_EQ(Classify(c, LetterSystem::Chaldean).charClass, CharClass::Other);
    }
}

TEST(LetterSystemNames, DisplayNamesAndTheirReading) {
    EXPECT_EQ(DisplayName(LetterSystem::Pythagorean), "Pythagorean");
    EXPECT_EQ(DisplayName(LetterSystem::Chaldean), "Chaldean");
    EXPECT_EQ(LetterSystemFromName("chaldean"), LetterSystem::Chaldean);
    EXPECT_EQ(LetterSystemFromName("PYTHAGOREAN"), LetterSystem::Pythagorean);
    EXPECT_EQ(LetterSystemFromName("chaldea"), std::nullopt);
    EXPECT_EQ(LetterSystemFromName(""), std::nullopt);
}

struct AnalysisCase {
    const char* name;
    std::u16string data;
    LetterSystem system;
    std::string vowelRow;
    std::string consonantRow;
    int vowelSum, consonantSum, numberSum, grandTotal;
};

TEST(AnalyseData, WorkedExamplesAndEdgeCases) {
    const AnalysisCase cases[] = {
        {"MARY 12 Pythagorean", u"MARY 12", LetterSystem::Pythagorean, " 1     ", "4 97   ", 1, 20, 3, 24},
        {"MARY 12 Chaldean", u"MARY 12", LetterSystem::Chaldean, " 1     ", "4 21   ", 1, 7, 3, 11},
        {"MARy 12 Pythagorean", u"MARy 12", LetterSystem::Pythagorean, " 1 7   ", "4 9    ", 8, 13, 3, 24},
        {"MARy 12 Chaldean", u"MARy 12", LetterSystem::Chaldean, " 1 1   ", "4 2    ", 2, 6, 3, 11},
        {"empty", u"", LetterSystem::Pythagorean, "", "", 0, 0, 0, 0},
        // Lowercase "y" is in the table as a vowel, so "mary" is not all zeros: only m, a and r are other.
        {"lowercase mary", u"mary", LetterSystem::Pythagorean, "   7", "    ", 7, 0, 0, 7},
        {"zero is other", u"2010", LetterSystem::Pythagorean, "    ", "    ", 0, 0, 3, 3},
        {"digits only", u"1999", LetterSystem::Chaldean, "    ", "    ", 0, 0, 28, 28},
        {"punctuation only", u"-.,!", LetterSystem::Pythagorean, "    ", "    ", 0, 0, 0, 0},
        {"accents and scripts", u"\u00c9A\u0416", LetterSystem::Pythagorean, " 1 ", "   ", 1, 0, 0, 1},
        {"a surrogate pair takes two positions", u"A\xd83d\xde00Y", LetterSystem::Pythagorean, "1   ", "   7", 1, 7,
         0, 8},
        {"forty nines", std::u16string(40, u'I'), LetterSystem::Pythagorean, std::string(40, '9'),
         std::string(40, ' '), 360, 0, 0, 360},
    };
    for (const AnalysisCase& c : cases) {
        SCOPED_TRACE(c.name);
        const AnalysisResult result = AnalyseData(c.data, c.system);
        EXPECT_EQ(result.VowelRow, c.vowelRow);
        EXPECT_EQ(result.ConsonantRow, c.consonantRow);
        EXPECT_EQ(result.VowelSum, c.vowelSum);
        EXPECT_EQ(result.ConsonantSum, c.consonantSum);
        EXPECT_EQ(result.NumberSum, c.numberSum);
        EXPECT_EQ(result.GrandTotal, c.grandTotal);
    }
}

TEST(AnalyseData, SwitchingSystemsKeepsRowLengthsAndPositions) {
    const std::u16string data = u"JOHN Q. PUBLIC 1970";
    const AnalysisResult pythagorean = AnalyseData(data, LetterSystem::Pythagorean);
    const AnalysisResult chaldean = AnalyseData(data, LetterSystem::Chaldean);
    ASSERT_EQ(pythagorean.VowelRow.size(), data.size());
    ASSERT_EQ(chaldean.ConsonantRow.size(), data.size());
    for (std::size_t i = 0; i < data.size(); ++i) {
        EXPECT_EQ(pythagorean.VowelRow[i] == ' ', chaldean.VowelRow[i] == ' ') << i;
        EXPECT_EQ(pythagorean.ConsonantRow[i] == ' ', chaldean.ConsonantRow[i] == ' ') << i;
    }
}

TEST(ReduceChain, TableOfChains) {
    const std::pair<std::uint64_t, const char*> table[] = {
        {0, "0"},
        {7, "7"},
        {10, "10 / 1"},
        {11, "11 / 2"},
        {19, "19 / 10 / 1"},
        {22, "22 / 4"},
        {29, "29 / 11 / 2"},
        {33, "33 / 6"},
        {199, "199 / 28 / 10 / 1"},
        {360, "360 / 36 / 9"},
        {1234, "1234 / 127 / 19 / 10 / 1"},
        {4294967295u, "4294967295 / 429496734 / 42949677 / 4294974 / 429501 / 42951 / 4296 / 435 / 48 / 12 / 3"},
    };
    for (const auto& [n, chain] : table) EXPECT_EQ(ReduceChain(n), chain) << n;
}

TEST(ReduceChain, EndsOnTheDigitalRoot) {
    for (std::uint64_t n = 1; n < 5000; ++n) {
        const std::string chain = ReduceChain(n);
        const int last = chain.back() - '0';
        EXPECT_EQ(last, static_cast<int>(1 + (n - 1) % 9)) << chain;
    }
    EXPECT_EQ(ReduceChain(UINT64_MAX),
              "18446744073709551615 / 1844674407370955166 / 184467440737095522 / 18446744073709554 / "
              "1844674407370959 / 184467440737104 / 18446744073714 / 1844674407375 / 184467440742 / "
              "18446744076 / 1844674413 / 184467444 / 18446748 / 1844682 / 184470 / 18447 / 1851 / 186 / 24 / 6");
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// The letters of Latin-1 and Latin Extended-A that stand for no base letter: signs, and letters
// that are letters of their own (eng, kra, the dotted L and the long s decompose only by
// compatibility).
constexpr std::u16string_view kLatinWithoutBase = u"×÷ĦħĸĿŀŉŊŋŦŧĲĳſ";

TEST(AccentFolding, EveryLatinOneAndExtendedALetterFoldsAndTheTableHoldsTheRest) {
    for (char16_t c = 0xC0; c <= 0x17F; ++c) {
        SCOPED_TRACE(static_cast<int>(c));
        EXPECT_EQ(FoldedLetters(c).empty(), kLatinWithoutBase.find(c) != std::u16string_view::npos);
    }
    struct Fold {
        char16_t letter;
        std::string_view base;
    };
    const Fold folds[] = {
        {u'é', "E"},  {u'É', "E"},  {u'ë', "E"},  {u'ñ', "N"},  {u'ü', "U"},  {u'Å', "A"},  {u'ç', "C"},
        {u'Ž', "Z"},  {u'ő', "O"},  {u'ß', "SS"}, {u'ẞ', "SS"}, {u'Æ', "AE"}, {u'æ', "AE"}, {u'Œ', "OE"},
        {u'Ø', "O"},  {u'Đ', "D"},  {u'Ł', "L"},  {u'Þ', "TH"}, {u'þ', "TH"}, {u'ı', "I"},  {u'Ǽ', "AE"},
        {u'Ý', "Y"},  {u'Ÿ', "Y"},  {u'ý', "y"},  {u'ÿ', "y"},  {u'ễ', "E"},  {u'Ự', "U"},  {u'ậ', "A"},
        {u'ờ', "O"},  {u'Ỹ', "Y"},  {u'ỹ', "y"},  {u'a', ""},   {u'Y', ""},   {u'1', ""},   {u'Ω', ""},
        {u'\u0301', ""},
    };
    for (const Fold& fold : folds) EXPECT_EQ(FoldedLetters(fold.letter), fold.base) << static_cast<int>(fold.letter);
}

TEST(AccentFolding, AccentedNamesAddUpAsTheirBaseLettersInEveryRowAndTotal) {
    struct Case {
        std::u16string_view accented;
        std::u16string_view plain;
    };
    const Case cases[] = {{u"JOSé", u"JOSE"},   {u"ZOË", u"ZOE"},     {u"MÜLLER", u"MULLER"},
                          {u"NGUYỄN", u"NGUYEN"}, {u"ŁUKASZ", u"LUKASZ"}, {u"SØREN", u"SOREN"}};
    for (const LetterSystem system : {LetterSystem::Pythagorean, LetterSystem::Chaldean}) {
        for (const Case& c : cases) {
            const AnalysisResult folded = AnalyseData(c.accented, system, true);
            const AnalysisResult plain = AnalyseData(c.plain, system);
            EXPECT_EQ(folded.VowelRow, plain.VowelRow);
            EXPECT_EQ(folded.ConsonantRow, plain.ConsonantRow);
            EXPECT_EQ(folded.GrandTotal, plain.GrandTotal);
            EXPECT_EQ(folded.VowelCounts, plain.VowelCounts);
            EXPECT_EQ(folded.ConsonantCounts, plain.ConsonantCounts);
            EXPECT_LT(AnalyseData(c.accented, system).GrandTotal, plain.GrandTotal) << "folding is asked for";
        }
    }
    // One letter for two: the totals add both, the row shows the last digit of their chain under
    // the one letter, and the chart counts that digit.
    const AnalysisResult aelfred = AnalyseData(u"ÆLFRED", LetterSystem::Pythagorean, true);
    EXPECT_EQ(aelfred.VowelRow, "6   5 ");
    EXPECT_EQ(aelfred.ConsonantRow, " 369 4");
    EXPECT_EQ(aelfred.VowelSum, 1 + 5 + 5);
    EXPECT_EQ(aelfred.GrandTotal, AnalyseData(u"AELFRED", LetterSystem::Pythagorean).GrandTotal);
    EXPECT_EQ(aelfred.VowelCounts[6], 1);
    const AnalysisResult oedipus = AnalyseData(u"ŒÞß", LetterSystem::Pythagorean, true);
    EXPECT_EQ(oedipus.VowelRow, "2  ");      // O 6 + E 5 = 11
    EXPECT_EQ(oedipus.ConsonantRow, " 12");  // T 2 + H 8 = 10, S 1 + S 1
    EXPECT_EQ(oedipus.VowelSum, 11);
    EXPECT_EQ(oedipus.ConsonantSum, 12);
    // An accented Y: uppercase is the consonant the question asks about, lowercase the vowel.
    EXPECT_EQ(AnalyseData(u"ÝÿY", LetterSystem::Pythagorean, true).ConsonantRow, "7 7");
    EXPECT_EQ(AnalyseData(u"ÝÿY", LetterSystem::Pythagorean, true).VowelRow, " 7 ");
}

}  // namespace
}  // namespace quillon
