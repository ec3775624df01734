#include "numerology/DigitChart.h"

#include <numeric>

namespace quillon {
namespace {

void CountInto(std::string_view row, std::array<int, 9>& counts) {
    for (char c : row) {
        if (c >= '1' && c <= '9') ++counts[c - '1'];
    }
}

}  // namespace

int DigitChart::VowelTotal() const { return std::accumulate(vowels.begin(), vowels.end(), 0); }

int DigitChart::ConsonantTotal() const {
    return std::accumulate(consonants.begin(), consonants.end(), 0);
}

std::string ChartCellName(int index) {
    if (index >= 27) {
        static constexpr const char* kTotals[] = {"vvt", "cct", "ttt"};
        return kTotals[index - 27];
    }
    static constexpr char kRows[] = {'V', 'C', 'T'};
    return std::string(1, kRows[index % 3]) + std::to_string(index / 3 + 1);
}

std::array<std::string, kChartCellCount> ChartCellTexts(const DigitChart& chart) {
    std::array<std::string, kChartCellCount> texts;
    for (int digit = 1; digit <= 9; ++digit) {
        const std::size_t base = static_cast<std::size_t>(digit - 1) * 3;
        texts[base] = std::to_string(chart.Vowel(digit));
        texts[base + 1] = std::to_string(chart.Consonant(digit));
        texts[base + 2] = std::to_string(chart.Total(digit));
    }
    texts[27] = std::to_string(chart.VowelTotal());
    texts[28] = std::to_string(chart.ConsonantTotal());
    texts[29] = std::to_string(chart.GrandTotal());
    return texts;
}

DigitChart CountDigits(std::string_view vowelRow, std::string_view consonantRow) {
    DigitChart chart;
    CountInto(vowelRow, chart.vowels);
    CountInto(consonantRow, chart.consonants);
    return chart;
}

}  // namespace quillon
