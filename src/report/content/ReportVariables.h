#pragma once
// The names the analysis window answers when a report asks for a variable, and the values it
// gives. The window (and the command line, which shows the same values) fill a ReportSource with
// the texts of the window's fields at the moment of the question; GetReportValue does the rest.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "numerology/DigitChart.h"
#include "report/engine/Values.h"

namespace quillon {

// Empty (not answered), a string, or an integer ("master" alone).
using ReportValue = std::variant<std::monostate, std::string, std::int32_t>;

// The texts of the analysis window's fields and labels, as UTF-8, read at the moment of a request.
struct ReportSource {
    std::string method;      // caption of the system button
    std::string data;        // text of the data field
    std::string vowels;      // vowel row
    std::string consonants;  // consonant row
    std::string cTotal, vTotal, total;
    // Chart cells in the order of ChartCellName: V1, C1, T1, ... V9, C9, T9, vvt, cct, ttt.
    std::array<std::string, kChartCellCount> chartCells;
    // The date calculator's fields.
    std::string dates, dateTotal, monthDay, dayTotal, nameDate;
    std::int32_t dateDigitSum = 0;
    bool datePanelVisible = false;
};

inline constexpr int kReportVariableCount = 49;
inline constexpr std::string_view kNameFooter = "https://quillon.example.org/numerology";

// The 49 names in the order they are compared.
const std::array<std::string, kReportVariableCount>& ReportVariableNames();

// Answers a name by exact byte-wise comparison with every name of the table (case matters, nothing
// is trimmed). The date group is answered only while a date result exists and the date panel is
// visible; anything else is left empty.
ReportValue GetReportValue(const ReportSource& source, std::string_view name);

// The answer as a value of the report engine.
Value ToValue(const ReportValue& answer);

// Upper-cases the ASCII letters a to z and leaves every other byte as it is.
std::string UpperCaseAscii(std::string_view text);

}  // namespace quillon
