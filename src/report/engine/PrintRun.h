#pragma once
// Printing prepared pages: the page list ("1,3,5-12"), which pages go out how often and in which
// order, where each page lands on the sheet, and the print run itself with its jobs and progress.

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
    std::string pages;          // empty: all pages
    std::string copies = "1";   // as typed; converted when printing
    PrintParity parity = PrintParity::All;
    bool collate = true;
};

// The message of a number that does not convert: "'%s' is not a valid integer value".
std::string NotAnIntegerMessage(const std::string& text);
// A whole number as typed (an optional sign and decimal digits, within 32 bits), or nothing.
std::optional<int> ReadInteger(const std::string& text);

// The page numbers a page list selects, as decimal texts; an empty set when the list is empty
// means every page (allPages is set then). Blanks are ignored; a list ending in "-" runs to the
// last page; a range whose end is smaller than its start selects nothing; a part that is no
// number fails with NotAnIntegerMessage.
struct PageSelection {
    bool allPages = false;
    std::set<std::string> numbers;
    bool Selects(int pageNumber) const { return allPages || numbers.count(std::to_string(pageNumber)) > 0; }
};
std::variant<PageSelection, std::string> ParsePageList(const std::string& text, int pageCount);

// What is wrong with the copies or the page list of a request, as PrintPages would report it, or
// nothing: the dialog checks this before it closes.
std::optional<std::string> PrintRequestError(const PrintRequest& request);

// The prepared pages in the order they are sent to the printer, and how many copies the printer
// makes of the job itself. Collated: the selected pages, the whole sequence copies times.
// Not collated: every page once when the printer makes the copies, else every page copies times
// in a row. Parity keeps odd or even page numbers only.
struct SheetPlan {
    std::vector<int> pages;  // 0-based prepared pages
    int printerCopies = 1;
};
SheetPlan PlanSheets(int pageCount, const PageSelection& selection, int copies, bool collate, PrintParity parity,
                     bool printerMakesCopies);

// Where a prepared page is drawn on the printer's sheet, in device pixels from the printable
// area's corner: with the margins in use the whole sheet, so that report position 0, 0 is the
// sheet's corner; otherwise the printable area less the page's margins.
Rect PrintTarget(const PreparedPage& page);

// Prints the prepared pages on the current printer, or to a PDF file with the printer's paper.
// Fails with the conversion message for copies or page lists that are no numbers (before
// anything is printed), or with the driver's failure; cancelled when the user cancels in the
// progress window (the job is aborted after the current page).
RunResult PrintPages(TfrReport& report, const PrintRequest& request, const std::optional<std::string>& pdfFile = {});

// What a print dialog answers: the request, and a PDF file when the sheets go to one.
struct PrintChoice {
    PrintRequest request;
    std::optional<std::string> pdfFile;
};

// The print dialog, as the engine sees it: shown modally on the printer layer (whose current
// printer it may change, and restore on cancel); nothing when cancelled.
class PrintDialog {
public:
    virtual ~PrintDialog() = default;
    virtual std::optional<PrintChoice> Ask(TfrPrinter& printer, const PrintRequest& defaults) = 0;
};

// The Print command's printing: the dialog (unless ShowPrintDialog is off), then PrintPages.
RunResult PrintWithDialog(TfrReport& report, PrintDialog& dialog);

}  // namespace quillon
