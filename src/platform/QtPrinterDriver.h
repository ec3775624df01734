#pragma once
// The printer layer's driver on Qt Print Support, which talks to CUPS: the installed printers in
// the system's order, each printer's paper and sheet geometry at its high resolution, the page
// setup dialog, and print jobs drawn with QPainter. A PDF file is written by Qt's own PDF writer
// with the same drawing, under a temporary name that replaces the target only when complete.

#include <QString>
#include <map>
#include <memory>

#include "report/engine/PrinterDriver.h"

class QPageSize;
class QPrinter;

namespace quillon {

class QtPrinterDriver final : public PrinterDriver {
public:
    QtPrinterDriver();
    ~QtPrinterDriver() override;

    std::vector<std::string> PrinterNames() override;
    std::optional<std::string> DefaultPrinter() override;
    std::optional<PrinterState> ReadSettings(const std::string& printer) override;
    std::optional<PrinterState> SetPaper(const std::string& printer, const Paper& paper) override;
    bool Properties(const std::string& printer) override;
    std::optional<PrinterState> PdfSettings(const Paper& paper) override;
    std::unique_ptr<PrintJob> StartJob(const std::string& printer, const JobOptions& options) override;
    std::string LastError() const override { return lastError_; }

    // The printer's QPrinter, made on first use; nothing for a name no printer bears.
    QPrinter* PrinterFor(const std::string& name);

private:
    std::map<std::string, std::unique_ptr<QPrinter>> printers_;
    std::string lastError_;
};

// The page size of a paper: a standard size by its paper code, else a size of one's own in
// millimetres; an invalid size when neither says anything.
QPageSize PageSizeFor(const Paper& paper);
// A printer's paper and sheet geometry as the engine counts them.
PrinterState StateOf(const QPrinter& printer);

}  // namespace quillon
