// One analysis of a 40-character name in the engine alone: the rows and sums, the three chains
// and the chart.

#include <benchmark/benchmark.h>

#include "numerology/Analysis.h"
#include "numerology/ReduceChain.h"

namespace {

void BM_AnalyseFortyCharacterName(benchmark::State& state) {
    const std::u16string name = u"MARY ELIZABETH QUILLON-SMYTHE 12 04 1985";  // 40 characters
    // The rows' storage is kept from one analysis to the next, as a caller that analyses again
    // and again keeps it.
    quillon::AnalysisResult result;
    std::string spill;
    for (auto _ : state) {
        quillon::AnalyseData(name, quillon::LetterSystem::Pythagorean, result);
        std::string_view vowels = quillon::ReduceChainView(static_cast<std::uint64_t>(result.VowelSum), spill);
        std::string_view consonants = quillon::ReduceChainView(static_cast<std::uint64_t>(result.ConsonantSum), spill);
        std::string_view total = quillon::ReduceChainView(static_cast<std::uint64_t>(result.GrandTotal), spill);
        quillon::DigitChart chart = quillon::ChartOfCounts(result.VowelCounts, result.ConsonantCounts);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(vowels);
        benchmark::DoNotOptimize(consonants);
        benchmark::DoNotOptimize(total);
        benchmark::DoNotOptimize(chart);
    }
}
BENCHMARK(BM_AnalyseFortyCharacterName);

}  // namespace
