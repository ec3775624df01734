// One analysis of a 40-character name in the engine alone: the rows and sums, the three chains
// and the chart.

#include <benchmark/benchmark.h>

#include "numerology/Analysis.h"
#include "numerology/ReduceChain.h"

namespace {

void BM_AnalyseFortyCharacterName(benchmark::State& state) {
    const std::u16string name = u"MARY ELIZABETH QUILLON-SMYTHE 12 04 1985";  // 40 characters
    for (auto _ : state) {
        quillon::AnalysisResult result = quillon::AnalyseData(name, quillon::LetterSystem::Pythagorean);
        std::string vowels = quillon::ReduceChain(static_cast<std::uint64_t>(result.VowelSum));
        std::string consonants = quillon::ReduceChain(static_cast<std::uint64_t>(result.ConsonantSum));
        std::string total = quillon::ReduceChain(static_cast<std::uint64_t>(result.GrandTotal));
        quillon::DigitChart chart = quillon::CountDigits(result.VowelRow, result.ConsonantRow);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(vowels);
        benchmark::DoNotOptimize(consonants);
        benchmark::DoNotOptimize(total);
        benchmark::DoNotOptimize(chart);
    }
}
BENCHMARK(BM_AnalyseFortyCharacterName);

}  // namespace
