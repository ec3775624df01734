// Loading and saving the print template, as every preparation does with its in-memory copy.

#include <benchmark/benchmark.h>

#include "report/content/TemplateData.h"
#include "report/engine/Report.h"
#include "report/format/TemplateStream.h"

namespace {

using namespace quillon;

std::span<const std::uint8_t> PrintStream() { return *UnwrapReportForm(PrintReportForm()); }

void BM_LoadPrintTemplate(benchmark::State& state) {
    TfrPrinter printer;
    TfrReport report(printer, "frReport1");
    for (auto _ : state) {
        report.LoadTemplate(PrintStream(), 46000.0);
        benchmark::DoNotOptimize(report.Template.Pages.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * PrintStream().size()));
}
BENCHMARK(BM_LoadPrintTemplate);

void BM_SavePrintTemplate(benchmark::State& state) {
    TfrPrinter printer;
    TfrReport report(printer, "frReport1");
    report.LoadTemplate(PrintStream(), 46000.0);
    for (auto _ : state) {
        auto bytes = report.SaveTemplate(46000.0);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_SavePrintTemplate);

}  // namespace
