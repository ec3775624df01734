#include "report/engine/PrintRun.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "report/engine/FixedCanvas.h"

namespace quillon {
namespace {

constexpr char kPrintingLabel[] = "Printing page:  ";
constexpr char kUntitled[] = "Untitled";
constexpr char kNoPrinter[] = "No printer is installed.";

Paper PaperOf(const PreparedPage& page) {
    return Paper{page.Size, page.PaperWidth, page.PaperHeight, page.Orientation, page.Bin};
}

bool SamePaper(const Paper& a, const Paper& b) {
    if (a.Code != b.Code || a.Orientation != b.Orientation) return false;
    if (a.Code == kCustomPaper) return std::abs(a.Width - b.Width) <= 1 && std::abs(a.Height - b.Height) <= 1;
    return a.Bin == b.Bin || a.Bin == -1 || b.Bin == -1;
}

// Where the sheets go: the printer layer's current printer, or a PDF file with the paper of the
// pages. Either way each paper gives a sheet geometry, and jobs start with that paper.
class SheetTarget {
public:
    SheetTarget(TfrPrinter& printer, PrinterDriver& driver, std::optional<std::string> pdfFile)
        : printer_(printer), driver_(driver), pdfFile_(std::move(pdfFile)) {}

    bool MakesCopies() const { return !pdfFile_ && printer_.MakesCopies(); }
    // A PDF file changes its paper between sheets; a printer's job has one paper.
    bool ChangesPaperWithinAJob() const { return pdfFile_.has_value(); }

    // Sets the paper (forced); false when the printer cannot take it.
    bool SetPaper(const Paper& paper) {
        if (!pdfFile_) {
            return printer_.SetPaper(paper.Code, paper.Width, paper.Height, paper.Orientation, paper.Bin, true) ||
                   printer_.SetPaper(kCustomPaper, paper.Width, paper.Height, paper.Orientation, -1, true);
        }
        pdfState_ = driver_.PdfSettings(paper);
        pdfPaper_ = paper;
        return pdfState_.has_value();
    }
    bool HasPaper(const Paper& paper) const {
        return pdfFile_ ? SamePaper(paper, pdfPaper_) : printer_.HasPaper(paper);
    }
    PageMetrics Metrics() const { return pdfFile_ ? MetricsOf(pdfState_->device) : printer_.FillPageMetrics(); }

    std::unique_ptr<PrintJob> Start(const std::string& title, int copies) {
        JobOptions options{title, copies, pdfFile_, pdfPaper_};
        return driver_.StartJob(pdfFile_ ? std::string() : printer_.CurrentName(), options);
    }

private:
    TfrPrinter& printer_;
    PrinterDriver& driver_;
    std::optional<std::string> pdfFile_;
    std::optional<PrinterState> pdfState_;
    Paper pdfPaper_;
};

// What the driver says went wrong; a failure is never told without words.
std::string FailureOf(const PrinterDriver& driver) {
    std::string reason = driver.LastError();
    return reason.empty() ? std::string("The printer refused the job without giving a reason") : reason;
}

}  // namespace

std::string NotAnIntegerMessage(const std::string& text) { return "'" + text + "' is not a valid integer value"; }

std::optional<int> ReadInteger(const std::string& text) {
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    if (at == text.size()) return std::nullopt;
    long long value = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9') return std::nullopt;
        value = value * 10 + (text[at] - '0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return std::nullopt;
    return static_cast<int>(value);
}

std::variant<PageSelection, std::string> ParsePageList(const std::string& text, int pageCount) {
    std::string list;
    for (char c : text) {
        if (c != ' ') list += c;
    }
    PageSelection selection;
    if (list.empty()) {
        selection.allPages = true;
        return selection;
    }
    if (list.back() == '-') list += std::to_string(pageCount);
    list += ',';
    std::size_t start = 0;
    bool rangeOpen = false;
    int rangeStart = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] != '-' && list[i] != ',') continue;
        const std::string part = list.substr(start, i - start);
        const auto number = ReadInteger(part);
        if (!number) return NotAnIntegerMessage(part);
        start = i + 1;
        if (list[i] == '-') {
            rangeStart = *number;
            rangeOpen = true;
            continue;
        }
        // Only pages of the report can be selected: a range is walked only as far as the report
        // goes, and a number beyond it adds nothing (so no number overflows the walk).
        const int from = std::max(rangeOpen ? rangeStart : *number, 1);
        const int to = std::min(*number, pageCount);
        for (int page = from; page <= to; ++page) selection.numbers.insert(std::to_string(page));
        rangeOpen = false;
    }
    return selection;
}

std::optional<std::string> PrintRequestProblem(const PrintRequest& request, int pageCount) {
    const auto copies = ReadInteger(request.copies);
    if (!copies) return NotAnIntegerMessage(request.copies);
    if (*copies > kMaxCopies) return "At most " + std::to_string(kMaxCopies) + " copies can be printed at a time.";
    const auto selection = ParsePageList(request.pages, pageCount);
    if (const auto* error = std::get_if<std::string>(&selection)) return *error;
    if (PlanSheets(pageCount, std::get<PageSelection>(selection), 1, true, request.parity, false).Count() == 0) {
        return std::string(kNothingToPrint);
    }
    return std::nullopt;
}

SheetPlan PlanSheets(int pageCount, const PageSelection& selection, int copies, bool collate, PrintParity parity,
                     bool printerMakesCopies) {
    SheetPlan plan;
    for (int page = 0; page < pageCount; ++page) {
        const int number = page + 1;
        if (!selection.Selects(number)) continue;
        if (parity == PrintParity::Odd && number % 2 == 0) continue;
        if (parity == PrintParity::Even && number % 2 == 1) continue;
        plan.selected.push_back(page);
    }
    plan.copies = std::max(copies, 1);
    plan.collated = collate;
    if (!collate && printerMakesCopies) {
        plan.printerCopies = plan.copies;
        plan.copies = 1;
    }
    return plan;
}

Rect PrintTarget(const PreparedPage& page) {
    const PageMetrics& m = page.Metrics;
    if (page.UseMargins) {
        return {-m.DeviceOffsetX, -m.DeviceOffsetY, m.PhysicalWidth - m.DeviceOffsetX,
                m.PhysicalHeight - m.DeviceOffsetY};
    }
    auto scaleX = [&m](int units) {
        return m.PrintableWidth > 0
                   ? RoundHalfEven(static_cast<double>(units) * m.PrintableDeviceWidth / m.PrintableWidth)
                   : 0;
    };
    auto scaleY = [&m](int units) {
        return m.PrintableHeight > 0
                   ? RoundHalfEven(static_cast<double>(units) * m.PrintableDeviceHeight / m.PrintableHeight)
                   : 0;
    };
    return {scaleX(page.LeftMargin), scaleY(page.TopMargin),
            SaturatedInt(std::int64_t{m.PrintableDeviceWidth} - scaleX(page.RightMargin)),
            SaturatedInt(std::int64_t{m.PrintableDeviceHeight} - scaleY(page.BottomMargin))};
}

RunResult PrintPages(TfrReport& report, const PrintRequest& request, const std::optional<std::string>& pdfFile) {
    TfrPrinter& printer = report.Printer();
    PrinterDriver* driver = printer.Driver();
    if (!driver || (!pdfFile && printer.IsVirtual() && !printer.HasInstalledPrinters())) {
        return RunResult::Failed(kNoPrinter);
    }
    const int pageCount = report.EMFPages.Count();
    if (pageCount == 0 && !report.PrintIfEmpty) return RunResult::Done();
    // Nothing starts unless there is something to print: a job without a sheet comes out of the
    // spooler as a blank sheet.
    if (const auto problem = PrintRequestProblem(request, pageCount)) return RunResult::Failed(*problem);
    const int copies = *ReadInteger(request.copies);
    const PageSelection selection = std::get<PageSelection>(ParsePageList(request.pages, pageCount));

    FixedCanvas fixedCanvas;
    Canvas& scratch = report.Environment.scratch ? *report.Environment.scratch : fixedCanvas;
    bool cancel = false;
    RunResult result;
    auto run = [&] {
        // A printer chosen in the dialog is the program's current printer; the list is read anew.
        if (!pdfFile) printer.Rebind();
        if (!pdfFile && printer.IsVirtual()) {
            result = RunResult::Failed(kNoPrinter);
            return;
        }
        SheetTarget target(printer, *driver, pdfFile);
        const SheetPlan plan =
            PlanSheets(pageCount, selection, copies, request.collate, request.parity, target.MakesCopies());
        PreparedPage& firstPage = report.EMFPages[plan.PageAt(0)];
        if (!target.SetPaper(PaperOf(firstPage))) {
            result = RunResult::Failed(FailureOf(*driver));
            return;
        }
        firstPage.Metrics = target.Metrics();
        const std::string title = report.Title.empty() ? kUntitled : report.Title;
        std::unique_ptr<PrintJob> job = target.Start(title, plan.printerCopies);
        if (!job) {
            result = RunResult::Failed(FailureOf(*driver));
            return;
        }
        printer.SetPrinting(true);
        for (std::int64_t sent = 0; sent < plan.Count() && result.IsDone(); ++sent) {
            const int index = plan.PageAt(sent);
            PreparedPage& page = report.EMFPages[index];
            const Paper paper = PaperOf(page);
            if (!target.HasPaper(paper) && target.ChangesPaperWithinAJob()) {
                // Another paper in a PDF file: the next sheet has it.
                if (!target.SetPaper(paper) || !job->NewSheetOfPaper(paper)) {
                    printer.SetPrinting(false);
                    job->Abort();
                    result = RunResult::Failed(FailureOf(*driver));
                    return;
                }
            } else if (!target.HasPaper(paper)) {
                // Another paper on a printer: this job ends and one with that paper starts.
                printer.SetPrinting(false);
                const bool ended = job->End();
                if (!ended || !target.SetPaper(paper) || !(job = target.Start(title, plan.printerCopies))) {
                    result = RunResult::Failed(FailureOf(*driver));
                    return;
                }
                printer.SetPrinting(true);
            } else if (sent > 0 && !job->NewSheet()) {
                result = RunResult::Failed(FailureOf(*driver));
                break;
            }
            page.Metrics = target.Metrics();
            page.Visible = true;
            result = report.EMFPages.DrawPage(index, job->Sheet(), scratch, PrintTarget(page));
            page.Visible = false;
            report.Progress(index + 1, kPrintingLabel + std::to_string(index + 1));
            if (cancel) {
                job->Abort();
                printer.SetPrinting(false);
                result = RunResult::Cancelled();
                return;
            }
        }
        printer.SetPrinting(false);
        if (!result.IsDone()) {
            job->Abort();
            return;
        }
        if (!job->End()) result = RunResult::Failed(FailureOf(*driver));
    };
    if (report.UsesProgressWindow()) {
        report.Environment.progress->Run(report.ProgressCaption(), kPrintingLabel + std::string("1"), run, cancel);
        if (cancel && result.IsDone()) result = RunResult::Cancelled();
    } else {
        run();
    }
    return result;
}

RunResult PrintWithDialog(TfrReport& report, PrintDialog& dialog) {
    PrintRequest defaults;
    defaults.copies = std::to_string(report.DefaultCopies);
    defaults.collate = report.DefaultCollate;
    const int preparedFor = report.Printer().PrinterIndex();
    std::optional<PrintChoice> choice;
    if (report.ShowPrintDialog) {
        choice = dialog.Ask(report.Printer(), defaults, report.EMFPages.Count());
    } else {
        choice = PrintChoice{defaults, std::nullopt};
    }
    if (!choice) return RunResult::Cancelled();
    // Pages prepared for one printer are printed as they are on another, unless the report asks
    // for them to be prepared again for the printer chosen.
    if (report.RebuildPrinter && report.Printer().PrinterIndex() != preparedFor) {
        if (RunResult prepared = report.Prepare(); !prepared.IsDone()) return prepared;
    }
    return PrintPages(report, choice->request, choice->pdfFile);
}

}  // namespace quillon
