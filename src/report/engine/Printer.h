#pragma once
// The printer layer: the list of printers (the installed ones, then the virtual printer), the
// current printer and paper, and the page metrics for them. The virtual printer stands in when no
// printer is installed or one cannot be read: it knows the standard paper sizes and has a fixed
// unprintable margin. Installed printers come from a PrinterDriver. Making a printer current is
// the program's own choice; the machine's default printer is never changed.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "report/engine/PrinterDriver.h"
#include "report/format/Template.h"

namespace quillon {

struct PaperSize {
    std::int32_t Code;
    std::int32_t Width;   // tenths of a millimetre
    std::int32_t Height;  // tenths of a millimetre
};

// The virtual printer's 67 paper sizes: the standard paper codes 1 to 68 but the two reserved
// ones (48, 49), then 256 for a size of one's own.
const std::array<PaperSize, 67>& VirtualPaperTable();
// The table's entry for a code, or none.
const PaperSize* FindPaperSize(std::int32_t code);

// A report dimension of paper given in tenths of a millimetre, rounded to the nearest unit.
std::int32_t TenthsMmToReportUnits(std::int32_t tenthsMm);

// The page metrics of a printer's sheet: device fields as they are, report units at
// 91.6256157635468 per inch of the device's resolution.
PageMetrics MetricsOf(const DeviceGeometry& device);

class TfrPrinter {
public:
    static constexpr const char* kVirtualPrinterName = "Virtual printer";

    // A printer layer that knows only the virtual printer.
    TfrPrinter();
    // A printer layer over the system's printers: the default one is current (the virtual printer
    // when there is none or it cannot be read).
    explicit TfrPrinter(PrinterDriver& driver);

    const std::vector<std::string>& Printers() const { return printers_; }
    int PrinterIndex() const { return index_; }
    int VirtualPrinterIndex() const { return static_cast<int>(printers_.size()) - 1; }
    bool IsVirtual() const { return index_ == VirtualPrinterIndex(); }
    bool HasInstalledPrinters() const { return printers_.size() > 1; }
    // The index of the installed printer bearing this name (compared without regard to case), or -1.
    int IndexOf(const std::string& name) const;
    const std::string& CurrentName() const { return printers_[static_cast<std::size_t>(index_)]; }

    // Makes a printer current; an installed one whose settings cannot be read leaves the virtual
    // printer current.
    void SelectPrinter(int index);
    // Asks for a paper; false when the printer cannot give it (the caller may then ask for a
    // custom size). Not forced, a request equal to the current paper changes nothing; while a job
    // runs nothing changes at all.
    bool SetPaper(std::int32_t code, std::int32_t width, std::int32_t height, std::uint8_t orientation,
                  std::int32_t bin, bool force);
    const Paper& CurrentPaper() const { return paper_; }
    // Whether a paper is the current one: the same code and orientation; for a size of one's own
    // the same size within a tenth of a millimetre, else the same bin or the default bin.
    bool HasPaper(const Paper& paper) const {
        return SameAsCurrent(paper.Code, paper.Width, paper.Height, paper.Orientation, paper.Bin);
    }
    PageMetrics FillPageMetrics() const;
    // Whether the current printer prints copies of a job itself.
    bool MakesCopies() const { return !IsVirtual() && makesCopies_; }

    // Gives a template page the paper the printer settles on for it, and its page metrics.
    void ApplyPaperTo(TfrPage& page);
    // Makes the printer the template names current, unless the template prints on the default
    // printer, and only when one bears that name: when a template is loaded and when a
    // preparation starts.
    void SelectNamedPrinter(const ReportTemplate& report);
    // The name a saved template carries for the current printer.
    std::string CurrentNameForTemplate() const;

    // Binds the layer to the system's printers: the default one becomes current. Unbinding leaves
    // the virtual printer alone.
    void Bind(PrinterDriver& driver);
    void Unbind();
    // Reads the list of installed printers again. The current printer stays when it is still
    // installed; otherwise the system's default (or the virtual printer) becomes current.
    void Rebind();
    // The printer driver's properties dialog for the current printer; true when confirmed.
    bool PrinterProperties();
    // Re-reads the current printer's settings; the virtual printer takes over when they cannot be
    // read.
    void ReadSettings();

    PrinterDriver* Driver() const { return driver_; }
    // While a job runs the paper stays as it is.
    void SetPrinting(bool printing) { printing_ = printing; }
    bool Printing() const { return printing_; }

private:
    bool SameAsCurrent(std::int32_t code, std::int32_t width, std::int32_t height, std::uint8_t orientation,
                       std::int32_t bin) const;
    void TakeState(const PrinterState& state, std::int32_t askedBin);
    void FallBackToVirtual();

    PrinterDriver* driver_ = nullptr;
    std::vector<std::string> printers_;
    int index_ = 0;
    Paper paper_;
    DeviceGeometry device_;
    bool makesCopies_ = false;
    bool printing_ = false;
};

// The engine's one printer layer, created when it is first asked for; it knows only the virtual
// printer until the program binds it to the system's printers.
TfrPrinter& EnginePrinter();
// Binds the engine's printer layer to a driver (null: unbinds it) and returns the driver it was
// bound to, so that a Scoped<PrinterDriver> binds it for a while.
PrinterDriver* SwapInstalled(PrinterDriver* driver);

}  // namespace quillon
