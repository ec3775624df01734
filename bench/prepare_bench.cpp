// Preparation of the print template, and of a synthetic report whose stretched band runs over
// many pages: time per page and bytes kept per prepared page.

#include <sys/resource.h>
#include <unistd.h>

#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>

#include "report/content/ReportVariables.h"
#include "report/content/TemplateData.h"
#include "report/engine/FixedCanvas.h"
#include "report/export/ExportRun.h"
#include "report/export/RtfExport.h"
#include "report/format/TemplateStream.h"

namespace {

using namespace quillon;

void Quiet(TfrReport& report, FixedCanvas& scratch, const FixedReportLocale& locale) {
    report.Environment.scratch = &scratch;
    report.Environment.locale = &locale;
    report.Environment.now = [] { return 46000.5; };
    report.ShowProgress = false;
}

void BM_PreparePrintTemplate(benchmark::State& state) {
    TfrPrinter printer;
    TfrReport report(printer, "frReport1");
    report.LoadTemplate(*UnwrapReportForm(PrintReportForm()), 46000.0);
    FixedCanvas scratch;
    FixedReportLocale locale;
    Quiet(report, scratch, locale);
    ReportSource source;
    source.method = "Pythagorean";
    source.data = "MARY ELIZABETH QUILLON-SMYTHE 12 04 1985";
    source.dateDigitSum = 37;
    source.datePanelVisible = true;
    report.OnGetValue = [&source](const std::string& name, Value& value) {
        value = ToValue(GetReportValue(source, name));
    };
    for (auto _ : state) {
        report.Prepare();
        benchmark::DoNotOptimize(report.EMFPages.Count());
    }
}
BENCHMARK(BM_PreparePrintTemplate)->Unit(benchmark::kMicrosecond);

// A Letter page with a stretched title band holding one memo of 60 lines a page. A template holds
// at most 10,000 lines (TemplateLimits.h), so each line of the memo is "[Page]", which the
// report's values (ServePages) expand into the next sixty lines "Line N of the report".
ReportTemplate Overflowing(int pages) {
    ReportTemplate tpl;
    tpl.Pages.emplace_back();
    TfrPage& page = tpl.Pages.back();
    page.LeftMargin = page.TopMargin = page.RightMargin = page.BottomMargin = 50;
    auto band = std::make_unique<TfrBandView>();
    band->FrameTyp = static_cast<std::uint16_t>(BandType::ReportTitle);
    band->Top = 100;
    band->Height = 20;
    band->Width = 700;
    band->Flags = 1;
    page.Objects.push_back(std::move(band));
    auto memo = std::make_unique<TfrMemoView>();
    memo->Name = "Long";
    memo->Left = 60;
    memo->Top = 100;
    memo->Width = 600;
    memo->Height = 20;
    memo->Memo.assign(static_cast<std::size_t>(pages), "[Page]");
    page.Objects.push_back(std::move(memo));
    return tpl;
}

void ServePages(TfrReport& report) {
    auto line = std::make_shared<int>(0);
    report.OnBeginDoc = [line] { *line = 0; };
    report.OnGetValue = [line](const std::string& name, Value& value) {
        if (name != "Page") return;
        std::string text;
        for (int i = 0; i < 60; ++i)
            text += (i ? "\r\n" : "") + ("Line " + std::to_string((*line)++) + " of the report");
        value = std::move(text);
    };
}

void BM_PrepareOverflow(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    TfrPrinter printer;
    TfrReport report(printer, "frReport1");
    report.Template = Overflowing(pages);
    printer.ApplyPaperTo(report.Template.Pages[0]);
    FixedCanvas scratch;
    FixedReportLocale locale;
    Quiet(report, scratch, locale);
    ServePages(report);
    for (auto _ : state) {
        report.Prepare();
        benchmark::DoNotOptimize(report.EMFPages.Count());
    }
    std::size_t bytes = 0;
    for (int i = 0; i < report.EMFPages.Count(); ++i)
        bytes += sizeof(PreparedPage) + report.EMFPages[i].Stream.capacity();
    state.counters["pages"] = report.EMFPages.Count();
    state.counters["bytes_per_page"] = static_cast<double>(bytes) / report.EMFPages.Count();
    state.counters["time_per_page"] =
        benchmark::Counter(static_cast<double>(report.EMFPages.Count()),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PrepareOverflow)->Arg(1)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

// RTF export of the prepared synthetic report into a temporary file.
void BM_ExportOverflow(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    TfrPrinter printer;
    TfrReport report(printer, "frReport2");
    report.Template = Overflowing(pages);
    printer.ApplyPaperTo(report.Template.Pages[0]);
    FixedCanvas scratch;
    FixedReportLocale locale;
    Quiet(report, scratch, locale);
    ServePages(report);
    report.Prepare();
    TfrRTFExport writer;
    ConfigureAsExportButton(writer);
    const std::string file =
        (std::filesystem::temp_directory_path() / ("quillon-bench-" + std::to_string(::getpid()) + ".rtf")).string();
    for (auto _ : state) benchmark::DoNotOptimize(ExportToFile(report, writer, file).IsDone());
    state.counters["time_per_page"] =
        benchmark::Counter(static_cast<double>(report.EMFPages.Count()),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(file));
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    std::filesystem::remove(file);
}
BENCHMARK(BM_ExportOverflow)->Arg(1)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
