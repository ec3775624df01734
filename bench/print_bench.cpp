// Printing: one click of Print (preparation, then the sheets handed to the spooler of a private
// cupsd with a PDF queue, the dialog answered with OK at once), and sheets per second drawing a
// 100-page report into a PDF file.

#include <QApplication>
#include <benchmark/benchmark.h>
#include <filesystem>

#include "platform/QtPrinterDriver.h"
#include "report/engine/PrintRun.h"
#include "report/format/TemplateStream.h"
#include "support/PrivateCups.h"
#include "windows/analysis/Windows.h"

namespace {

using namespace quillon;

void BM_PrintClickToSpooler(benchmark::State& state) {
    test::PrivateCups cups;
    if (!cups.Ready()) {
        state.SkipWithError("no private cupsd (packages cups, printer-driver-cups-pdf)");
        return;
    }
    QtPrinterDriver driver;
    EnginePrinter().Bind(driver);
    {
        Windows windows;
        TCalcFrm& window = windows.CalcFrm;
        window.PutPastedText(QStringLiteral("MARY 12"));
        // OK at once: no dialog stays open, as a person's click on OK would end it.
        window.frReport1.ShowPrintDialog = false;
        window.frReport1.ShowProgress = false;
        for (auto _ : state) window.PrintBtnClick();
        state.SetItemsProcessed(state.iterations());
        cups.Jobs(static_cast<std::size_t>(state.iterations()));
    }
    EnginePrinter().Unbind();
}
BENCHMARK(BM_PrintClickToSpooler)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_HundredSheetsToPdf(benchmark::State& state) {
    ReportTemplate tpl;
    for (int i = 0; i < 100; ++i) {
        TfrPage page;
        page.LeftMargin = page.TopMargin = page.RightMargin = page.BottomMargin = 91;
        for (int line = 0; line < 20; ++line) {
            auto memo = std::make_unique<TfrMemoView>();
            memo->Left = 92;
            memo->Top = 100 + 40 * line;
            memo->Width = 600;
            memo->Height = 30;
            memo->Memo = {"Sheet " + std::to_string(i + 1) + ", line " + std::to_string(line + 1) + " of the report"};
            page.Objects.push_back(std::move(memo));
        }
        tpl.Pages.push_back(std::move(page));
    }
    QtPrinterDriver driver;
    TfrPrinter printer(driver);
    TfrReport report(printer, "frReport1");
    report.Template = std::move(tpl);
    for (TfrPage& page : report.Template.Pages) printer.ApplyPaperTo(page);
    report.ShowProgress = false;
    if (!report.Prepare().IsDone()) state.SkipWithError("the report does not prepare");
    const std::string file = (std::filesystem::temp_directory_path() / "quillon-bench.pdf").string();
    for (auto _ : state) {
        if (!PrintPages(report, PrintRequest{}, file).IsDone()) state.SkipWithError("no PDF file");
    }
    state.SetItemsProcessed(state.iterations() * 100);
    std::filesystem::remove(file);
}
BENCHMARK(BM_HundredSheetsToPdf)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
