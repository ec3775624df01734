#pragma once
// Printing prepared pages: the page list ("1,3,5-12"), which pages go out how often and in which
// order, where each page lands on the sheet, and the print run itself with its jobs and progress.

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "report/engine/Report.h"

namespace quillon {

enum class PrintParity { All = 0, Odd = 1, Even = 2 };

// What the print dialog (or the command line) asks for.
struct PrintRequest {
    std::string pages;         // empty: all pages
    std::string copies = "1";  // as typed; converted when printing
    PrintParity parity = PrintParity::All;
    bool collate = true;
};

// The message of a number that does not convert: "'%s' is not a valid integer value".
std::string NotAnIntegerMessage(const std::string& text);
// A whole number as typed (an optional sign and decimal digits, within 32 bits), or nothing.
std::optional<int> ReadInteger(const std::string& text);

// The page numbers a page list selects, as decimal texts; an empty set when the list is empty
// means every page (allPages is set then). Blanks are ignored; a list ending in "-" runs to the
// last page; a range whose end is smaller than its start selects nothing, and numbers beyond the
// report select nothing (any number up to the largest integer is read); a part that is no number
// fails with NotAnIntegerMessage.
struct PageSelection {
    bool allPages = false;
    std::set<std::string> numbers;
    bool Selects(int pageNumber) const { return allPages || numbers.count(std::to_string(pageNumber)) > 0; }
};
std::variant<PageSelection, std::string> ParsePageList(const std::string& text, int pageCount);

// The most copies a job can have, as spoolers allow.
inline constexpr int kMaxCopies = 9999;
// The message of a page list, parity and report that leave no page to print.
inline constexpr const char* kNothingToPrint =
    "There is nothing to print: the selected pages do not exist in this report.";

// What is wrong with a request for a report of that many pages, as PrintPages would report it
// before anything is printed: copies or a page list that are no numbers, more copies than
// kMaxCopies, or no page selected. The dialog checks this before it closes.
std::optional<std::string> PrintRequestProblem(const PrintRequest& request, int pageCount);

// The sheets of a print run: the prepared pages selected by the page list and the parity, each
// sent copies times (collated: the whole sequence again and again; not collated: every page so
// many times in a row), and how many copies the printer makes of the job itself. The sheets are
// counted, not listed, so that many copies cost nothing before they are printed.
struct SheetPlan {
    std::vector<int> selected;  // 0-based prepared pages, in order
    int copies = 1;             // how often the sheets are sent
    bool collated = true;
    int printerCopies = 1;

    std::int64_t Count() const { return static_cast<std::int64_t>(selected.size()) * copies; }
    // The 0-based prepared page of the sheet-th sheet.
    int PageAt(std::int64_t sheet) const {
        const auto pages = static_cast<std::int64_t>(selected.size());
        return selected[static_cast<std::size_t>(collated ? sheet % pages : sheet / copies)];
    }
};
// Copies of 0 or less are one. Not collated, the printer makes the copies when it can.
SheetPlan PlanSheets(int pageCount, const PageSelection& selection, int copies, bool collate, PrintParity parity,
                     bool printerMakesCopies);

// Where a prepared page is drawn on the printer's sheet, in device pixels from the printable
// area's corner: with the margins in use the whole sheet, so that report position 0, 0 is the
// sheet's corner; otherwise the printable area less the page's margins.
Rect PrintTarget(const PreparedPage& page);

// Prints the prepared pages on the current printer, or to a PDF file with the pages' papers.
// Fails with PrintRequestProblem's message before anything is printed, or with the driver's
// failure; cancelled when the user cancels in the progress window (the job is given up after the
// current page, and nothing of it reaches the spooler). Another paper ends a printer's job and
// starts the next; a PDF file takes every sheet, each with its own paper.
RunResult PrintPages(TfrReport& report, const PrintRequest& request, const std::optional<std::string>& pdfFile = {});

// What a print dialog answers: the request, and a PDF file when the sheets go to one.
struct PrintChoice {
    PrintRequest request;
    std::optional<std::string> pdfFile;
};

// The print dialog, as the engine sees it: shown modally on the printer layer (whose current
// printer it may change, and restore on cancel) for a report of that many pages; nothing when
// cancelled. It does not close on a request with a PrintRequestProblem.
class PrintDialog {
public:
    virtual ~PrintDialog() = default;
    virtual std::optional<PrintChoice> Ask(TfrPrinter& printer, const PrintRequest& defaults, int pageCount) = 0;
};

// The Print command's printing: the dialog (unless ShowPrintDialog is off), then PrintPages.
RunResult PrintWithDialog(TfrReport& report, PrintDialog& dialog);

}  // namespace quillon
