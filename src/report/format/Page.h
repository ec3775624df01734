#pragma once
// A template page: its paper, margins and columns, the fields of a dialog page, the page metrics
// the printer layer settles, and its objects in list order.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "report/format/Views.h"

namespace quillon {

// The twelve page metrics: device fields in printer pixels, the others in report units.
struct PageMetrics {
    std::int32_t PhysicalWidth = 0, PhysicalHeight = 0;
    std::int32_t PageWidth = 0, PageHeight = 0;
    std::int32_t DeviceOffsetX = 0, DeviceOffsetY = 0;
    std::int32_t OffsetX = 0, OffsetY = 0;
    std::int32_t PrintableDeviceWidth = 0, PrintableDeviceHeight = 0;
    std::int32_t PrintableWidth = 0, PrintableHeight = 0;
    friend bool operator==(const PageMetrics&, const PageMetrics&) = default;
};

inline constexpr std::int32_t kCustomPaper = 256;
inline constexpr std::int32_t kLetterPaper = 1;
inline constexpr std::int32_t kDefaultBin = 65535;

class TfrPage {
public:
    TfrPage() = default;
    TfrPage(const TfrPage& other);
    TfrPage& operator=(const TfrPage& other);
    TfrPage(TfrPage&&) = default;
    TfrPage& operator=(TfrPage&&) = default;

    std::int32_t Size = kLetterPaper;  // paper size code
    std::int32_t PaperWidth = 2159;    // tenths of a millimetre
    std::int32_t PaperHeight = 2794;
    std::int32_t LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;
    std::uint8_t Orientation = 0;  // 0 portrait, 1 landscape
    std::int32_t Bin = kDefaultBin;
    bool PrintToPrevPage = false;
    bool UseMargins = true;  // the negation of StretchToPrintable
    std::int32_t Columns = 0;
    std::int32_t ColumnGap = 0;
    std::uint8_t Type = 0;  // 0 report page, 1 dialog page
    std::string Name;
    // A dialog page's window; stored for report pages too.
    std::uint8_t BorderStyle = 3;
    std::string Caption = "Form";
    Colour Color = 0x8000000F;
    std::int32_t FormLeft = 220, FormTop = 120, FormWidth = 380, FormHeight = 300;
    std::uint8_t Position = 4;
    std::vector<std::string> Script;

    // Run-time properties a page script may change; neither is stored.
    bool Visible = true;
    bool Skip = false;

    PageMetrics Metrics;
    std::vector<std::unique_ptr<TfrView>> Objects;
};

}  // namespace quillon
