#pragma once
// The 1-to-9 chart: how many vowel and consonant letters carry each value, with row totals.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

struct DigitChart {
    std::array<int, 9> vowels{};      // vowels[d - 1] = V(d)
    std::array<int, 9> consonants{};  // consonants[d - 1] = C(d)

    int Vowel(int digit) const { return vowels[digit - 1]; }
    int Consonant(int digit) const { return consonants[digit - 1]; }
    int Total(int digit) const { return Vowel(digit) + Consonant(digit); }
    int VowelTotal() const;                                             // vvt
    int ConsonantTotal() const;                                         // cct
    int GrandTotal() const { return VowelTotal() + ConsonantTotal(); }  // ttt
};

// The cells in the report's order: V1, C1, T1, V2, C2, T2, ... V9, C9, T9, then the totals vvt, cct,
// ttt from the first total cell on.
inline constexpr int kFirstTotalCell = 27;
inline constexpr int kChartCellCount = kFirstTotalCell + 3;

// The name of a cell in that order.
std::string ChartCellName(int index);
// The 30 counts in that order.
std::array<int, kChartCellCount> ChartCellCounts(const DigitChart& chart);
// The 30 cell texts in that order, each a decimal count.
std::array<std::string, kChartCellCount> ChartCellTexts(const DigitChart& chart);

// Counts the digit characters "1" to "9" in the two rows as they are shown; spaces and anything
// else in the rows are not counted.
DigitChart CountDigits(std::string_view vowelRow, std::string_view consonantRow);
// The chart of counts by value as an analysis gives them (index 0, the characters of no value,
// is left out): the same as counting the digits of its two rows.
DigitChart ChartOfCounts(const std::array<std::int32_t, 10>& vowels, const std::array<std::int32_t, 10>& consonants);

}  // namespace quillon
