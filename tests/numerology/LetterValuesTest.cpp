#include "numerology/LetterValues.h"

#include <gtest/gtest.h>

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
    const char16_t others[] = {u'0',    u' ',      u'.',      u'-',      u'a',      u'm',      u'z',      u'\0', u'\t',
                               u'\x7f', u'\u00e9', u'\u00c9', u'\u0416', u'\u4e2d', u'\xd83d', u'\xde00', u'@',  u'['};
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
        {"a surrogate pair takes two positions", u"A\xd83d\xde00Y", LetterSystem::Pythagorean, "1   ", "   7", 1, 7, 0,
         8},
        {"forty nines", std::u16string(40, u'I'), LetterSystem::Pythagorean, std::string(40, '9'), std::string(40, ' '),
         360, 0, 0, 360},
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

}  // namespace
}  // namespace quillon
