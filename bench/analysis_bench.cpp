// One analysis of a name in the engine alone: the rows and sums, the three chains and the chart.

#include <benchmark/benchmark.h>

#include "numerology/Analysis.h"
#include "numerology/ReduceChain.h"

namespace {

void Analyse(benchmark::State& state, std::u16string_view name, bool foldAccents) {
    // The rows' storage is kept from one analysis to the next, as a caller that analyses again
    // and again keeps it.
    quillon::AnalysisResult result;
    std::string spill;
    for (auto _ : state) {
        quillon::AnalyseData(name, quillon::LetterSystem::Pythagorean, result, foldAccents);
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
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(name.size()));
}

void BM_AnalyseFortyCharacterName(benchmark::State& state) {
    Analyse(state, u"MARY ELIZABETH QUILLON-SMYTHE 12 04 1985", false);  // 40 characters
}
BENCHMARK(BM_AnalyseFortyCharacterName);

// Accented letters valued as their base letters: each one is looked up in the folding table.
// Texts of 1, 100 and 10,000 characters, half of them accented, to see the cost grow with them.
void BM_AnalyseFoldingAccents(benchmark::State& state) {
    const std::u16string pattern = u"JOSÉ MÜLLER ÆLFRED NGUYỄN ŁUKASZ SØREN ";
    std::u16string name;
    while (name.size() < static_cast<std::size_t>(state.range(0))) name += pattern;
    name.resize(static_cast<std::size_t>(state.range(0)));
    Analyse(state, name, true);
}
BENCHMARK(BM_AnalyseFoldingAccents)->Arg(1)->Arg(40)->Arg(100)->Arg(10000);

}  // namespace
