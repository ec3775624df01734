#pragma once
// The printer layer's driver on Qt Print Support, which talks to CUPS: the installed printers in
// the system's order, each printer's paper and sheet geometry at its high resolution, the page
// setup dialog, and print jobs drawn with QPainter into a PDF file of the driver's private
// temporary folder (removed whole when the driver ends or a signal ends the program), which goes
// to the spooler, or replaces a target PDF file, only when it is complete and on the disk.

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
    // The driver's own temporary folder, made on first need; false when it cannot be made.
    bool PrivateFolder();

    std::map<std::string, std::unique_ptr<QPrinter>> printers_;
    std::string lastError_;
    std::string folder_;  // where jobs are drawn and the printing library makes its temporary files
    int folderError_ = 0;
};

// The page size of a paper: a standard size by its paper code, else a size of one's own in
// millimetres; an invalid size when neither says anything.
QPageSize PageSizeFor(const Paper& paper);
// A printer's paper and sheet geometry as the engine counts them.
PrinterState StateOf(const QPrinter& printer);

}  // namespace quillon
