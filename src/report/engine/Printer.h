#pragma once
// The printer layer: the list of printers (the installed ones, then the virtual printer), the
// current paper, and the page metrics for it. The virtual printer stands in when no printer is
// installed: it knows the standard paper sizes and has a fixed unprintable margin. Real printers
// come in through the same operations.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

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

struct Paper {
    std::int32_t Code = kLetterPaper;
    std::int32_t Width = 2159;
    std::int32_t Height = 2794;
    std::uint8_t Orientation = 0;
    std::int32_t Bin = -1;  // -1: the printer's default bin
    friend bool operator==(const Paper&, const Paper&) = default;
};

// A report dimension of paper given in tenths of a millimetre, rounded to the nearest unit.
std::int32_t TenthsMmToReportUnits(std::int32_t tenthsMm);

class TfrPrinter {
public:
    static constexpr const char* kVirtualPrinterName = "Virtual printer";

    // A printer layer that knows only the virtual printer.
    TfrPrinter();
    // A printer layer with these installed printers, in the system's order, before the virtual
    // printer; the first is current.
    explicit TfrPrinter(std::vector<std::string> installed);

    const std::vector<std::string>& Printers() const { return printers_; }
    int PrinterIndex() const { return index_; }
    int VirtualPrinterIndex() const { return static_cast<int>(printers_.size()) - 1; }
    bool IsVirtual() const { return index_ == VirtualPrinterIndex(); }
    // The index of the printer bearing this name (compared without regard to case), or -1.
    int IndexOf(const std::string& name) const;

    void SelectPrinter(int index);
    // Asks for a paper; false when the printer cannot give it (the caller may then ask for a
    // custom size). Not forced, a request equal to the current paper changes nothing.
    bool SetPaper(std::int32_t code, std::int32_t width, std::int32_t height, std::uint8_t orientation,
                  std::int32_t bin, bool force);
    const Paper& CurrentPaper() const { return paper_; }
    PageMetrics FillPageMetrics() const;

    // Gives a template page the paper the printer settles on for it, and its page metrics.
    void ApplyPaperTo(TfrPage& page);
    // Makes the printer the template names current, unless the template prints on the default
    // printer, and only when one bears that name: when a template is loaded and when a
    // preparation starts.
    void SelectNamedPrinter(const ReportTemplate& report);
    // The name a saved template carries for the current printer.
    std::string CurrentNameForTemplate() const;

private:
    bool SameAsCurrent(std::int32_t code, std::int32_t width, std::int32_t height, std::uint8_t orientation,
                       std::int32_t bin) const;

    std::vector<std::string> printers_;
    int index_ = 0;
    Paper paper_;
};

// The engine's one printer layer, created when it is first asked for.
TfrPrinter& EnginePrinter();

}  // namespace quillon
