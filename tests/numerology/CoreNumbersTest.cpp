#include "numerology/CoreNumbers.h"

#include <gtest/gtest.h>

#include "numerology/LetterValues.h"

namespace quillon {
namespace {

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
        {u"MARY 12",
         CivilDate{1985, 12, 29},
         {number("24 / 6", 6, {}), number("1", 1, {}), number("20 / 2", 2, {}), number("37 / 10 / 1", 1, {}),
          number("29 / 11 / 2", 2, 11), number("7", 7, {})}},
        // Expression through 11, life path 2+8+1+1+1+9+8+3 = 33: maturity 11 + 33.
        {u"JONATHAN",
         CivilDate{1983, 11, 28},
         {number("29 / 11 / 2", 2, 11), number("8", 8, {}), number("21 / 3", 3, {}), number("33 / 6", 6, 33),
          number("28 / 10 / 1", 1, {}), number("44 / 8", 8, {})}},
        // Expression 22, life path 38 through 11: maturity 22 + 11 = 33.
        {u"DAVID",
         CivilDate{1986, 12, 29},
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
