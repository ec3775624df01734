#pragma once
// The stored forms ("ReportForm" values: i32 25, u32 length, the report stream) of the two
// templates the analysis window carries. Generated at build time from Templates.cpp.

#include <cstdint>
#include <span>

namespace quillon {

std::span<const std::uint8_t> PrintReportForm();
std::span<const std::uint8_t> ExportReportForm();

}  // namespace quillon
