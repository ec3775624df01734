#include "report/engine/Printer.h"

#include <cmath>
#include <utility>

namespace quillon {

const std::array<PaperSize, 67>& VirtualPaperTable() {
    static constexpr std::array<PaperSize, 67> kTable = {{
        {1, 2159, 2794},   {2, 2159, 2794},   {3, 2794, 4318},   {4, 4318, 2794},   {5, 2159, 3556},
        {6, 1397, 2159},   {7, 1842, 2667},   {8, 2970, 4200},   {9, 2100, 2970},   {10, 2100, 2970},
        {11, 1480, 2100},  {12, 2500, 3540},  {13, 1820, 2570},  {14, 2159, 3302},  {15, 2150, 2750},
        {16, 2540, 3556},  {17, 2794, 4318},  {18, 2159, 2794},  {19, 984, 2254},   {20, 1048, 2413},
        {21, 1143, 2635},  {22, 1207, 2794},  {23, 1270, 2921},  {24, 4318, 5588},  {25, 5588, 8636},
        {26, 8636, 11176}, {27, 1100, 2200},  {28, 1620, 2290},  {29, 3240, 4580},  {30, 2290, 3240},
        {31, 1140, 1620},  {32, 1140, 2290},  {33, 2500, 3530},  {34, 1760, 2500},  {35, 1760, 1250},
        {36, 1100, 2300},  {37, 984, 1905},   {38, 921, 1651},   {39, 3778, 2794},  {40, 2159, 3048},
        {41, 2159, 3302},  {42, 2500, 3530},  {43, 1000, 1480},  {44, 2286, 2794},  {45, 2540, 2794},
        {46, 3810, 2794},  {47, 2200, 2200},  {50, 2356, 3048},  {51, 2356, 3810},  {52, 2969, 4572},
        {53, 2355, 3223},  {54, 2159, 2794},  {55, 2100, 2970},  {56, 2356, 3048},  {57, 2270, 3560},
        {58, 3050, 4870},  {59, 2159, 3223},  {60, 2100, 3300},  {61, 1480, 2100},  {62, 1820, 2570},
        {63, 3220, 4450},  {64, 1740, 2350},  {65, 2010, 2760},  {66, 4200, 5940},  {67, 2970, 4200},
        {68, 3220, 4450},  {256, 0, 0},
    }};
    return kTable;
}

std::int32_t TenthsMmToReportUnits(std::int32_t tenthsMm) {
    return static_cast<std::int32_t>(std::lround(tenthsMm * kReportUnitsPerInch / 254.0));
}

TfrPrinter& EnginePrinter() {
    static TfrPrinter printer;
    return printer;
}

TfrPrinter::TfrPrinter() : TfrPrinter(std::vector<std::string>{}) {}

TfrPrinter::TfrPrinter(std::vector<std::string> installed) : printers_(std::move(installed)) {
    printers_.emplace_back(kVirtualPrinterName);
    index_ = 0;
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
    if (IsVirtual()) SetPaper(paper_.Code, paper_.Width, paper_.Height, paper_.Orientation, paper_.Bin, true);
}

bool TfrPrinter::SameAsCurrent(std::int32_t code, std::int32_t width, std::int32_t height,
                               std::uint8_t orientation, std::int32_t bin) const {
    if (code != paper_.Code || orientation != paper_.Orientation) return false;
    if (code == kCustomPaper) return std::abs(width - paper_.Width) <= 1 && std::abs(height - paper_.Height) <= 1;
    return bin == paper_.Bin || bin == -1;
}

bool TfrPrinter::SetPaper(std::int32_t code, std::int32_t width, std::int32_t height, std::uint8_t orientation,
                          std::int32_t bin, bool force) {
    if (!force && SameAsCurrent(code, width, height, orientation, bin)) return true;
    if (code != kCustomPaper) {
        const PaperSize* known = nullptr;
        for (const PaperSize& size : VirtualPaperTable()) {
            if (size.Code == code) known = &size;
        }
        if (!known) return false;
        width = known->Width;
        height = known->Height;
        if (orientation == 1) std::swap(width, height);
    }
    paper_ = Paper{code, width, height, orientation, bin};
    return true;
}

PageMetrics TfrPrinter::FillPageMetrics() const {
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

}  // namespace quillon

namespace quillon {

void TfrPrinter::SelectNamedPrinter(const ReportTemplate& report) {
    if (report.PrintToDefault) return;
    if (report.PrinterName == kVirtualPrinterMarker) {
        SelectPrinter(VirtualPrinterIndex());
    } else if (const int index = IndexOf(report.PrinterName); index >= 0) {
        SelectPrinter(index);
    }
}

std::string TfrPrinter::CurrentNameForTemplate() const {
    return IsVirtual() ? std::string(kVirtualPrinterMarker) : printers_[static_cast<std::size_t>(index_)];
}

}  // namespace quillon
