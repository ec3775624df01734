#pragma once
// The bounds of a template's geometry. Real templates place their objects on a sheet of paper;
// a position or size a hundred sheets away, or spacing larger than a sheet, comes only from a
// damaged stream, and drawing or exporting it would take hours, gigabytes and arithmetic beyond
// 32 bits. Such a template is refused before anything is laid out.

#include <cstdint>
#include <optional>
#include <string>

#include "report/format/Template.h"

namespace quillon {

inline constexpr const char* kDamagedTemplate = "The template is damaged: ";

// The longest side of the largest paper the printer layer knows (44 inches), in tenths of a
// millimetre and in report units.
inline constexpr std::int32_t kSheetTenthsMm = 11176;
inline constexpr std::int32_t kSheetReportUnits = 4032;
inline constexpr std::int32_t kSheetPoints = 44 * 72;
// Positions and sizes of objects, margins and paper lie within a hundred such sheets; line and
// character spacing, frame widths and font sizes within one.
inline constexpr std::int32_t kMaxExtentReportUnits = 100 * kSheetReportUnits;
inline constexpr std::int32_t kMaxPaperTenthsMm = 100 * kSheetTenthsMm;

// What is damaged, as "The template is damaged: page 1, memo "Memo3": top 1744830612 lies far
// outside any page", or nothing for a template whose geometry is in bounds.
std::optional<std::string> DamagedGeometry(const ReportTemplate& report);

}  // namespace quillon
