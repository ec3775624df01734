#pragma once
// A printer driver for tests: printers with a resolution, an unprintable margin and the papers
// they take, and jobs whose sheets are recording canvases.

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "report/engine/FixedCanvas.h"
#include "report/engine/Printer.h"
#include "report/engine/PrinterDriver.h"

namespace quillon::test {

class FakePrinterDriver final : public PrinterDriver {
public:
    struct Printer {
        Printer(std::string name, bool readable = true, bool makesCopies = false, int dotsPerInch = 600,
                int marginPixels = 25, std::set<std::int32_t> papers = {1, 5, 9})
            : name(std::move(name)),
              readable(readable),
              makesCopies(makesCopies),
              dotsPerInch(dotsPerInch),
              marginPixels(marginPixels),
              papers(std::move(papers)) {}
        std::string name;
        bool readable = true;
        bool makesCopies = false;
        int dotsPerInch = 600;
        int marginPixels = 25;
        std::set<std::int32_t> papers = {1, 5, 9};  // Letter, Legal, A4
        Paper paper;                                // the current one
    };
    struct Job {
        std::string printer;
        JobOptions options;
        Paper paper;
        std::vector<std::unique_ptr<FixedCanvas>> sheets;
        std::vector<Paper> sheetPapers;  // each sheet's paper
        bool ended = false;
        bool aborted = false;
    };

    // A machine without printers. (Its own constructor: GCC 12 under the sanitizers takes the
    // defaulted optional string of the other one for uninitialised.)
    FakePrinterDriver() = default;
    explicit FakePrinterDriver(std::vector<Printer> installed, std::optional<std::string> fallback = {})
        : printers(std::move(installed)), defaultPrinter(std::move(fallback)) {}

    std::vector<std::string> PrinterNames() override {
        std::vector<std::string> names;
        for (const Printer& printer : printers) names.push_back(printer.name);
        return names;
    }
    std::optional<std::string> DefaultPrinter() override { return defaultPrinter; }

    std::optional<PrinterState> ReadSettings(const std::string& name) override {
        Printer* printer = Find(name);
        if (!printer || !printer->readable) return std::nullopt;
        return StateOf(*printer, printer->paper);
    }
    std::optional<PrinterState> SetPaper(const std::string& name, const Paper& paper) override {
        Printer* printer = Find(name);
        if (!printer || !printer->readable) return std::nullopt;
        if (paper.Code != kCustomPaper && !printer->papers.count(paper.Code)) return std::nullopt;
        Paper taken = paper;
        if (const PaperSize* size = FindPaperSize(paper.Code); size && paper.Code != kCustomPaper) {
            taken.Width = paper.Orientation == 1 ? size->Height : size->Width;
            taken.Height = paper.Orientation == 1 ? size->Width : size->Height;
        }
        printer->paper = taken;
        ++paperChanges;
        return StateOf(*printer, taken);
    }
    bool Properties(const std::string&) override { return propertiesAnswer; }
    std::optional<PrinterState> PdfSettings(const Paper& paper) override {
        const Printer pdf("PDF", true, false, 1200, 0, {});
        return StateOf(pdf, paper);
    }
    std::unique_ptr<PrintJob> StartJob(const std::string& name, const JobOptions& options) override {
        if (failJobs) return nullptr;
        Printer* printer = Find(name);
        if (!options.pdfFile && !printer) return nullptr;
        jobs.push_back(std::make_unique<Job>());
        Job& job = *jobs.back();
        job.printer = name;
        job.options = options;
        job.paper = options.pdfFile ? options.paper : printer->paper;
        job.sheets.push_back(NewSheet(options.pdfFile ? 1200 : printer->dotsPerInch));
        job.sheetPapers.push_back(job.paper);
        return std::make_unique<FakeJob>(job, *this, options.pdfFile ? 1200 : printer->dotsPerInch);
    }
    std::string LastError() const override { return "the fake printer failed"; }

    std::vector<Printer> printers;
    std::optional<std::string> defaultPrinter;
    std::vector<std::unique_ptr<Job>> jobs;
    bool propertiesAnswer = false;
    bool failJobs = false;
    int paperChanges = 0;

    // The texts of a job's sheets, sheet by sheet.
    static std::vector<std::string> SheetTexts(const Job& job) {
        std::vector<std::string> texts;
        for (const auto& sheet : job.sheets) {
            std::string text;
            for (const auto& line : sheet->texts) text += (text.empty() ? "" : "|") + line.text;
            texts.push_back(text);
        }
        return texts;
    }

private:
    class FakeJob final : public PrintJob {
    public:
        FakeJob(Job& job, FakePrinterDriver& driver, int dpi) : job_(job), driver_(driver), dpi_(dpi) {}
        Canvas& Sheet() override { return *job_.sheets.back(); }
        bool NewSheet() override {
            job_.sheets.push_back(driver_.NewSheet(dpi_));
            job_.sheetPapers.push_back(job_.sheetPapers.back());
            return true;
        }
        bool NewSheetOfPaper(const Paper& paper) override {
            if (!job_.options.pdfFile) return false;
            job_.sheets.push_back(driver_.NewSheet(dpi_));
            job_.sheetPapers.push_back(paper);
            return true;
        }
        void Abort() override { job_.aborted = true; }
        bool End() override {
            job_.ended = true;
            return true;
        }

    private:
        Job& job_;
        FakePrinterDriver& driver_;
        int dpi_;
    };

    std::unique_ptr<FixedCanvas> NewSheet(int dpi) {
        auto sheet = std::make_unique<FixedCanvas>();
        sheet->ActAsPrinter(dpi);
        return sheet;
    }

    Printer* Find(const std::string& name) {
        for (Printer& printer : printers) {
            if (printer.name == name) return &printer;
        }
        return nullptr;
    }

    static PrinterState StateOf(const Printer& printer, const Paper& paper) {
        auto pixels = [&](std::int32_t tenthsMm) {
            return static_cast<int>(std::lround(tenthsMm / 254.0 * printer.dotsPerInch));
        };
        PrinterState state;
        state.paper = paper;
        state.device.dotsPerInchX = state.device.dotsPerInchY = printer.dotsPerInch;
        state.device.physicalWidth = pixels(paper.Width);
        state.device.physicalHeight = pixels(paper.Height);
        const int m = printer.marginPixels;
        state.device.printable = {m, m, state.device.physicalWidth - m, state.device.physicalHeight - m};
        state.makesCopies = printer.makesCopies;
        return state;
    }
};

}  // namespace quillon::test
