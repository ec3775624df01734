// The calculator engine: a short calculation as typed, and pastes of ever longer numbers. A paste
// costs in proportion to its length: the entry is read as a number only when the number is needed
// (the time per character should stay flat from 1 to a million).

#include <benchmark/benchmark.h>

#include "calculator/CalculatorEngine.h"

namespace {

class Surroundings final : public quillon::CalculatorSurroundings {
public:
    void Beep() override {}
    std::optional<std::u16string> ClipboardText() override { return text; }
    void SetClipboardText(std::u16string_view copied) override { text = std::u16string(copied); }
    std::u16string text;
};

void BM_TypeACalculation(benchmark::State& state) {
    Surroundings surroundings;
    quillon::TOvcBasicCalculatorEngine engine(surroundings);
    for (auto _ : state) {
        for (const char16_t key : std::u16string_view(u"1234.5+678*9/3-1="))
            engine.Press(*engine.TypedCharacterButton(key));
        benchmark::DoNotOptimize(engine.DisplayText());
    }
}
BENCHMARK(BM_TypeACalculation);

void BM_PasteANumber(benchmark::State& state) {
    Surroundings surroundings;
    surroundings.text = std::u16string(static_cast<std::size_t>(state.range(0)), u'7');
    quillon::TOvcBasicCalculatorEngine engine(surroundings);
    for (auto _ : state) {
        engine.Paste();
        benchmark::DoNotOptimize(engine.EntryText());
    }
}
BENCHMARK(BM_PasteANumber)->Arg(1)->Arg(100)->Arg(5000)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
