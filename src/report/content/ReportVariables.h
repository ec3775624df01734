#pragma once
// The names the analysis window answers when a report asks for a variable, and the values it
// gives. The window fills a ReportSource with the texts of its fields at the moment of the
// question, the command line makes one of the values it analysed (ReportSourceOf); GetReportValue
// does the rest. The names are those of the list of values (numerology/ValueNames.h) that have a
// row in the report's table.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "numerology/AnalysisValues.h"
#include "numerology/DigitChart.h"
#include "numerology/ValueNames.h"
#include "report/engine/Values.h"

namespace quillon {

// Empty (not answered), a string, or an integer ("master" alone).
using ReportValue = FieldValue;

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

// The texts the window's fields would hold for these values, with the date panel open when there
// is a date.
ReportSource ReportSourceOf(const AnalysisValues& values);

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
