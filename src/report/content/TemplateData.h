#pragma once
// The stored forms ("ReportForm" values: i32 25, u32 length, the report stream) of the two
// templates the analysis window carries. Generated at build time from Templates.cpp.

#include <cstdint>
#include <span>

namespace quillon {

// The names of the analysis window's two reports: the one it prints and the one it exports. The
// commands name their reports alike, and the prepared pages' JSON gives the name.
inline constexpr char kPrintReportName[] = "frReport1";
inline constexpr char kExportReportName[] = "frReport2";

std::span<const std::uint8_t> PrintReportForm();
std::span<const std::uint8_t> ExportReportForm();

}  // namespace quillon
