#include "numerology/DigitChart.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace quillon {
namespace {

void CountInto(std::string_view row, std::array<int, 9>& counts) {
    // Without a branch per character, which blanks and digits taking turns would mispredict: every
    // byte counts in a slot, the ones that are no digit 1 to 9 in slot 0, which is dropped.
    static constexpr auto kSlots = [] {
        std::array<std::uint8_t, 256> slots{};
        for (int digit = 1; digit <= 9; ++digit) slots['0' + digit] = static_cast<std::uint8_t>(digit);
        return slots;
    }();
    std::array<int, 10> slots{};
    for (char c : row) ++slots[kSlots[static_cast<unsigned char>(c)]];
    for (std::size_t digit = 1; digit <= 9; ++digit) counts[digit - 1] += slots[digit];
}

}  // namespace

int DigitChart::VowelTotal() const { return std::accumulate(vowels.begin(), vowels.end(), 0); }

int DigitChart::ConsonantTotal() const { return std::accumulate(consonants.begin(), consonants.end(), 0); }

std::string ChartCellName(int index) {
    if (index >= kFirstTotalCell) {
        static constexpr const char* kTotals[] = {"vvt", "cct", "ttt"};
        return kTotals[index - kFirstTotalCell];
    }
    static constexpr char kRows[] = {'V', 'C', 'T'};
    return {kRows[index % 3], static_cast<char>('1' + index / 3)};
}

std::array<int, kChartCellCount> ChartCellCounts(const DigitChart& chart) {
    std::array<int, kChartCellCount> counts{};
    for (int digit = 1; digit <= 9; ++digit) {
        const std::size_t base = static_cast<std::size_t>(digit - 1) * 3;
        counts[base] = chart.Vowel(digit);
        counts[base + 1] = chart.Consonant(digit);
        counts[base + 2] = chart.Total(digit);
    }
    constexpr auto totals = static_cast<std::size_t>(kFirstTotalCell);
    counts[totals] = chart.VowelTotal();
    counts[totals + 1] = chart.ConsonantTotal();
    counts[totals + 2] = chart.GrandTotal();
    return counts;
}

std::array<std::string, kChartCellCount> ChartCellTexts(const DigitChart& chart) {
    const std::array<int, kChartCellCount> counts = ChartCellCounts(chart);
    std::array<std::string, kChartCellCount> texts;
    for (std::size_t i = 0; i < counts.size(); ++i) texts[i] = std::to_string(counts[i]);
    return texts;
}

DigitChart ChartOfCounts(const std::array<std::int32_t, 10>& vowels, const std::array<std::int32_t, 10>& consonants) {
    DigitChart chart;
    std::copy(vowels.begin() + 1, vowels.end(), chart.vowels.begin());
    std::copy(consonants.begin() + 1, consonants.end(), chart.consonants.begin());
    return chart;
}

DigitChart CountDigits(std::string_view vowelRow, std::string_view consonantRow) {
    DigitChart chart;
    CountInto(vowelRow, chart.vowels);
    CountInto(consonantRow, chart.consonants);
    return chart;
}

}  // namespace quillon
