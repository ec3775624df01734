#include "numerology/AccentFolding.h"

#include <gtest/gtest.h>
#include <string_view>

#include "numerology/LetterValues.h"

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
        {u'é', "E"}, {u'É', "E"},  {u'ë', "E"},  {u'ñ', "N"},     {u'ü', "U"},  {u'Å', "A"},  {u'ç', "C"}, {u'Ž', "Z"},
        {u'ő', "O"}, {u'ß', "SS"}, {u'ẞ', "SS"}, {u'Æ', "AE"},    {u'æ', "AE"}, {u'Œ', "OE"}, {u'Ø', "O"}, {u'Đ', "D"},
        {u'Ł', "L"}, {u'Þ', "TH"}, {u'þ', "TH"}, {u'ı', "I"},     {u'Ǽ', "AE"}, {u'Ý', "Y"},  {u'Ÿ', "Y"}, {u'ý', "y"},
        {u'ÿ', "y"}, {u'ễ', "E"},  {u'Ự', "U"},  {u'ậ', "A"},     {u'ờ', "O"},  {u'Ỹ', "Y"},  {u'ỹ', "y"}, {u'a', ""},
        {u'Y', ""},  {u'1', ""},   {u'Ω', ""},   {u'\u0301', ""},
    };
    for (const Fold& fold : folds) EXPECT_EQ(FoldedLetters(fold.letter), fold.base) << static_cast<int>(fold.letter);
}

TEST(AccentFolding, AccentedNamesAddUpAsTheirBaseLettersInEveryRowAndTotal) {
    struct Case {
        std::u16string_view accented;
        std::u16string_view plain;
    };
    const Case cases[] = {{u"JOSé", u"JOSE"},     {u"ZOË", u"ZOE"},       {u"MÜLLER", u"MULLER"},
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
