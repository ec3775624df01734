#pragma once
// What the printer layer needs of the platform's printing: the installed printers and the
// default one, a printer's paper and its device geometry, its own properties dialog, and print
// jobs whose sheets are canvases. The platform implements it (on Qt Print Support, which talks
// to CUPS); tests answer it themselves.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "report/engine/Canvas.h"

namespace quillon {

struct Paper {
    std::int32_t Code = 1;      // paper size code, 256 for a size of one's own
    std::int32_t Width = 2159;  // tenths of a millimetre
    std::int32_t Height = 2794;
    std::uint8_t Orientation = 0;  // 0 portrait, 1 landscape
    std::int32_t Bin = -1;         // -1: the printer's default bin
    friend bool operator==(const Paper&, const Paper&) = default;
};

// A sheet as the printer's device sees it, in device pixels.
struct DeviceGeometry {
    int dotsPerInchX = 0, dotsPerInchY = 0;
    int physicalWidth = 0, physicalHeight = 0;  // the whole sheet
    Rect printable;                             // the printable area within the sheet
    friend bool operator==(const DeviceGeometry&, const DeviceGeometry&) = default;
};

// A printer's settings as the driver reads them back.
struct PrinterState {
    Paper paper;
    DeviceGeometry device;
    bool makesCopies = false;  // the printer can print copies of a job itself
};

// How a job is to be printed.
struct JobOptions {
    std::string title;                   // the job's name in the spooler
    int copies = 1;                      // copies the printer makes itself (1 when the sheets are repeated)
    std::optional<std::string> pdfFile;  // write the sheets to this PDF file instead of a printer
    Paper paper;                         // the paper of a PDF file's sheets
};

// One print job: sheets drawn one after another.
class PrintJob {
public:
    virtual ~PrintJob() = default;
    // The canvas of the current sheet; its coordinates are device pixels from the printable
    // area's corner.
    virtual Canvas& Sheet() = 0;
    // Ends the current sheet and starts the next.
    virtual bool NewSheet() = 0;
    // Ends the current sheet and starts the next on another paper. Only a PDF file's job can;
    // a printer's job has one paper (false).
    virtual bool NewSheetOfPaper(const Paper& paper) = 0;
    // Gives the job up: nothing of it reaches the spooler or the file.
    virtual void Abort() = 0;
    // Hands the job over; false when it could not be.
    virtual bool End() = 0;
};

class PrinterDriver {
public:
    virtual ~PrinterDriver() = default;
    // The installed printers in the system's order.
    virtual std::vector<std::string> PrinterNames() = 0;
    // The system's default printer, if any.
    virtual std::optional<std::string> DefaultPrinter() = 0;
    // The printer's current settings; nothing when they cannot be read.
    virtual std::optional<PrinterState> ReadSettings(const std::string& printer) = 0;
    // Asks the printer for a paper and reads the settings back; nothing when the printer cannot
    // take that paper.
    virtual std::optional<PrinterState> SetPaper(const std::string& printer, const Paper& paper) = 0;
    // Shows the platform's properties dialog for the printer on a copy of its settings; true when
    // the user confirmed, and the changed settings are then the printer's.
    virtual bool Properties(const std::string& printer) = 0;
    // The sheet of a PDF file of that paper (the whole sheet printable); nothing for a paper a PDF
    // file cannot have.
    virtual std::optional<PrinterState> PdfSettings(const Paper& paper) = 0;
    // Starts a job on the printer with its current settings, or on a PDF file when the options
    // name one; nothing when it cannot be started (LastError says why).
    virtual std::unique_ptr<PrintJob> StartJob(const std::string& printer, const JobOptions& options) = 0;
    // The failure of the last call that failed, for a message.
    virtual std::string LastError() const { return {}; }
};

}  // namespace quillon
