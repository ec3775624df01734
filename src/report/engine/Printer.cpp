#include "report/engine/Printer.h"

#include <cmath>
#include <utility>

namespace quillon {

const std::array<PaperSize, 67>& VirtualPaperTable() {
    static constexpr std::array<PaperSize, 67> kTable = {{
        {1, 2159, 2794},  {2, 2159, 2794},   {3, 2794, 4318},  {4, 4318, 2794},  {5, 2159, 3556},  {6, 1397, 2159},
        {7, 1842, 2667},  {8, 2970, 4200},   {9, 2100, 2970},  {10, 2100, 2970}, {11, 1480, 2100}, {12, 2500, 3540},
        {13, 1820, 2570}, {14, 2159, 3302},  {15, 2150, 2750}, {16, 2540, 3556}, {17, 2794, 4318}, {18, 2159, 2794},
        {19, 984, 2254},  {20, 1048, 2413},  {21, 1143, 2635}, {22, 1207, 2794}, {23, 1270, 2921}, {24, 4318, 5588},
        {25, 5588, 8636}, {26, 8636, 11176}, {27, 1100, 2200}, {28, 1620, 2290}, {29, 3240, 4580}, {30, 2290, 3240},
        {31, 1140, 1620}, {32, 1140, 2290},  {33, 2500, 3530}, {34, 1760, 2500}, {35, 1760, 1250}, {36, 1100, 2300},
        {37, 984, 1905},  {38, 921, 1651},   {39, 3778, 2794}, {40, 2159, 3048}, {41, 2159, 3302}, {42, 2500, 3530},
        {43, 1000, 1480}, {44, 2286, 2794},  {45, 2540, 2794}, {46, 3810, 2794}, {47, 2200, 2200}, {50, 2356, 3048},
        {51, 2356, 3810}, {52, 2969, 4572},  {53, 2355, 3223}, {54, 2159, 2794}, {55, 2100, 2970}, {56, 2356, 3048},
        {57, 2270, 3560}, {58, 3050, 4870},  {59, 2159, 3223}, {60, 2100, 3300}, {61, 1480, 2100}, {62, 1820, 2570},
        {63, 3220, 4450}, {64, 1740, 2350},  {65, 2010, 2760}, {66, 4200, 5940}, {67, 2970, 4200}, {68, 3220, 4450},
        {256, 0, 0},
    }};
    return kTable;
}

const PaperSize* FindPaperSize(std::int32_t code) {
    for (const PaperSize& size : VirtualPaperTable()) {
        if (size.Code == code) return &size;
    }
    return nullptr;
}

std::int32_t TenthsMmToReportUnits(std::int32_t tenthsMm) {
    return static_cast<std::int32_t>(std::lround(tenthsMm * kReportUnitsPerInch / 254.0));
}

PageMetrics MetricsOf(const DeviceGeometry& device) {
    const double kx = device.dotsPerInchX > 0 ? kReportUnitsPerInch / device.dotsPerInchX : 0;
    const double ky = device.dotsPerInchY > 0 ? kReportUnitsPerInch / device.dotsPerInchY : 0;
    auto x = [kx](int pixels) { return static_cast<std::int32_t>(std::lround(pixels * kx)); };
    auto y = [ky](int pixels) { return static_cast<std::int32_t>(std::lround(pixels * ky)); };
    PageMetrics metrics;
    metrics.PhysicalWidth = device.physicalWidth;
    metrics.PhysicalHeight = device.physicalHeight;
    metrics.PageWidth = x(device.physicalWidth);
    metrics.PageHeight = y(device.physicalHeight);
    metrics.DeviceOffsetX = device.printable.left;
    metrics.DeviceOffsetY = device.printable.top;
    metrics.OffsetX = x(device.printable.left);
    metrics.OffsetY = y(device.printable.top);
    metrics.PrintableDeviceWidth = device.printable.Width();
    metrics.PrintableDeviceHeight = device.printable.Height();
    metrics.PrintableWidth = x(device.printable.Width());
    metrics.PrintableHeight = y(device.printable.Height());
    return metrics;
}

TfrPrinter& EnginePrinter() {
    static TfrPrinter printer;
    return printer;
}

PrinterDriver* SwapInstalled(PrinterDriver* driver) {
    TfrPrinter& printer = EnginePrinter();
    PrinterDriver* const previous = printer.Driver();
    if (driver) {
        printer.Bind(*driver);
    } else {
        printer.Unbind();
    }
    return previous;
}

TfrPrinter::TfrPrinter() : printers_{kVirtualPrinterName} {}

TfrPrinter::TfrPrinter(PrinterDriver& driver) : TfrPrinter() { Bind(driver); }

void TfrPrinter::Bind(PrinterDriver& driver) {
    driver_ = &driver;
    index_ = -1;
    Rebind();
}

void TfrPrinter::Unbind() {
    driver_ = nullptr;
    index_ = -1;
    Rebind();
}

void TfrPrinter::Rebind() {
    const std::string current = index_ >= 0 && !IsVirtual() ? CurrentName() : std::string();
    printers_ = driver_ ? driver_->PrinterNames() : std::vector<std::string>{};
    printers_.emplace_back(kVirtualPrinterName);
    int wanted = current.empty() ? -1 : IndexOf(current);
    if (wanted < 0 && driver_) {
        if (const auto fallback = driver_->DefaultPrinter()) wanted = IndexOf(*fallback);
    }
    // Without a default printer, the first installed one.
    if (wanted < 0 && HasInstalledPrinters()) wanted = 0;
    index_ = -1;  // so that the selection below takes effect
    SelectPrinter(wanted >= 0 ? wanted : VirtualPrinterIndex());
}

int TfrPrinter::IndexOf(const std::string& name) const {
    // The virtual printer is found by its marker, not by its display name.
    for (std::size_t i = 0; i + 1 < printers_.size(); ++i) {
        if (SameNameIgnoringCase(printers_[i], name)) return static_cast<int>(i);
    }
    return -1;
}

void TfrPrinter::SelectPrinter(int index) {
    if (index == index_ || index < 0 || index >= static_cast<int>(printers_.size())) return;
    index_ = index;
    if (IsVirtual()) {
        SetPaper(paper_.Code, paper_.Width, paper_.Height, paper_.Orientation, paper_.Bin, true);
    } else {
        ReadSettings();
    }
}

void TfrPrinter::ReadSettings() {
    if (IsVirtual() || !driver_) return;
    if (const auto state = driver_->ReadSettings(CurrentName())) {
        TakeState(*state, state->paper.Bin);
    } else {
        FallBackToVirtual();
    }
}

void TfrPrinter::FallBackToVirtual() {
    index_ = VirtualPrinterIndex();
    SetPaper(paper_.Code, paper_.Width, paper_.Height, paper_.Orientation, paper_.Bin, true);
}

void TfrPrinter::TakeState(const PrinterState& state, std::int32_t askedBin) {
    paper_ = state.paper;
    paper_.Bin = askedBin;
    device_ = state.device;
    makesCopies_ = state.makesCopies;
}

bool TfrPrinter::PrinterProperties() {
    if (IsVirtual() || !driver_ || !driver_->Properties(CurrentName())) return false;
    ReadSettings();
    return true;
}

bool TfrPrinter::SameAsCurrent(std::int32_t code, std::int32_t width, std::int32_t height, std::uint8_t orientation,
                               std::int32_t bin) const {
    if (code != paper_.Code || orientation != paper_.Orientation) return false;
    if (code == kCustomPaper) return std::abs(width - paper_.Width) <= 1 && std::abs(height - paper_.Height) <= 1;
    return bin == paper_.Bin || bin == -1;
}

bool TfrPrinter::SetPaper(std::int32_t code, std::int32_t width, std::int32_t height, std::uint8_t orientation,
                          std::int32_t bin, bool force) {
    if (printing_) return true;
    if (!force && SameAsCurrent(code, width, height, orientation, bin)) return true;
    if (!IsVirtual() && driver_) {
        const auto state = driver_->SetPaper(CurrentName(), Paper{code, width, height, orientation, bin});
        if (!state) return false;
        TakeState(*state, bin);
        return true;
    }
    if (code != kCustomPaper) {
        const PaperSize* known = FindPaperSize(code);
        if (!known) return false;
        width = known->Width;
        height = known->Height;
        if (orientation == 1) std::swap(width, height);
    }
    paper_ = Paper{code, width, height, orientation, bin};
    return true;
}

PageMetrics TfrPrinter::FillPageMetrics() const {
    if (!IsVirtual()) return MetricsOf(device_);
    // The virtual printer leaves a margin of 5 mm all round and has no device.
    constexpr std::int32_t kVirtualMarginTenthsMm = 50;
    PageMetrics metrics;
    metrics.PageWidth = TenthsMmToReportUnits(paper_.Width);
    metrics.PageHeight = TenthsMmToReportUnits(paper_.Height);
    metrics.OffsetX = metrics.OffsetY = TenthsMmToReportUnits(kVirtualMarginTenthsMm);
    metrics.PrintableWidth = metrics.PageWidth - 2 * metrics.OffsetX;
    metrics.PrintableHeight = metrics.PageHeight - 2 * metrics.OffsetY;
    return metrics;
}

void TfrPrinter::ApplyPaperTo(TfrPage& page) {
    std::int32_t askedBin = page.Bin;
    if (!SetPaper(page.Size, page.PaperWidth, page.PaperHeight, page.Orientation, page.Bin, false)) {
        askedBin = -1;
        SetPaper(kCustomPaper, page.PaperWidth, page.PaperHeight, page.Orientation, askedBin, false);
    }
    page.Metrics = FillPageMetrics();
    page.Size = paper_.Code;
    page.PaperWidth = paper_.Width;
    page.PaperHeight = paper_.Height;
    page.Orientation = paper_.Orientation;
    page.Bin = askedBin == -1 ? -1 : paper_.Bin;
}

void TfrPrinter::SelectNamedPrinter(const ReportTemplate& report) {
    if (report.PrintToDefault) return;
    if (report.PrinterName == kVirtualPrinterMarker) {
        SelectPrinter(VirtualPrinterIndex());
    } else if (const int index = IndexOf(report.PrinterName); index >= 0) {
        SelectPrinter(index);
    }
}

std::string TfrPrinter::CurrentNameForTemplate() const {
    return IsVirtual() ? std::string(kVirtualPrinterMarker) : CurrentName();
}

}  // namespace quillon
