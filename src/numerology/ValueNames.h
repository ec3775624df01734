#pragma once
// The one list of the values of an analysis by name. A name is at once the report's variable, the
// key of "analyse --json" and the column of a batch row (CSV header and JSON Lines key), and it is
// written here only: the report's value callback, the command line and batch take their names from
// this list, batch its columns and their order as well.
//
// Adding a value: an entry here with its ValueId, the value put together in AnalysisValues
// (AssembleAnalysis) and given by ValueOf. The compiler then points at the other switches over
// ValueId, the report's answers and batch's fields, where the value is given or left out.

#include <array>
#include <cstdint>
#include <string_view>

namespace quillon {

// What a name stands for.
enum class ValueId : std::uint8_t {
    FixedText,  // the entry's own text, the same for every analysis
    Master,     // the number 33
    DataText,   // the data text as analysed, a Y read as a vowel written y
    Method,     // the system's name
    Data,       // the data text as the report prints it, a to z as capitals
    VowelRow,   // one digit or blank per character
    ConsonantRow,
    VowelSum,
    ConsonantSum,
    NumberSum,
    GrandTotal,
    VowelChain,  // the reduction chains of the vowel sum, the consonant sum and the grand total
    ConsonantChain,
    TotalChain,
    VowelDigit,  // the last digits of those three chains
    ConsonantDigit,
    TotalDigit,
    ChartCell,      // the count of the entry's chart cell
    Dates,          // the date as the date field shows it
    DateChain,      // the chain of the date's digit sum
    MonthDayChain,  // of the digit sum of its day and month
    DayChain,       // of its day
    NameDateChain,  // of the grand total and the date's digit sum added
    DateDigit,      // the last digits of the date's chain and of the name-plus-date chain
    NameDateDigit,
    DateDigitSum,  // the date's digit sum unreduced, 0 without a date
    Core,          // the core numbers: an object in JSON, a digit and a master column each in CSV
};

enum class ValueGroup : std::uint8_t {
    Always,
    // Only with a date: the report answers them only while there is a date result and the date
    // panel is open; a batch row without a date leaves them empty (CSV) or out (JSON Lines).
    OfTheDate,
};

// Where a value is given besides the report, which answers the names that have a row in its table.
inline constexpr std::uint8_t kInJson = 1;   // "analyse --json"
inline constexpr std::uint8_t kInBatch = 2;  // a batch row

struct ValueName {
    std::string_view key;
    ValueId id;
    ValueGroup group;
    // The row of the report's table of variables, 1 to 49, in whose order its value callback
    // compares a name; 0 for a value the report does not answer.
    int reportRow;
    std::uint8_t givenIn;   // kInJson and kInBatch
    int chartCell;          // a ChartCell's cell, in the order of ChartCellName
    std::string_view text;  // a FixedText's text

    constexpr ValueName(std::string_view key, ValueId id, ValueGroup group, int reportRow, std::uint8_t givenIn,
                        int chartCell = 0, std::string_view text = {})
        : key(key), id(id), group(group), reportRow(reportRow), givenIn(givenIn), chartCell(chartCell), text(text) {}

    constexpr bool InReport() const { return reportRow > 0; }
    constexpr bool InJson() const { return (givenIn & kInJson) != 0; }
    constexpr bool InBatch() const { return (givenIn & kInBatch) != 0; }
};

// The footer line of the print template: an address of the maker's site.
inline constexpr std::string_view kNameFooter = "https://quillon.example.org/numerology";

// In the order of the columns of a batch row; the report compares its names in the order of their
// rows, which lists the consonant chain before the vowel chain.
inline constexpr auto kValueNames = [] {
    using enum ValueId;
    using enum ValueGroup;
    constexpr std::uint8_t J = kInJson;
    constexpr std::uint8_t B = kInBatch;
    constexpr std::uint8_t JB = kInJson | kInBatch;
    return std::to_array<ValueName>({
        // key, value, group, row in the report's table, where else given, chart cell, text
        {"nameftr", FixedText, Always, 1, J, 0, kNameFooter},
        {"master", Master, Always, 2, J},
        {"DataText", DataText, Always, 0, JB},
        {"Method", Method, Always, 3, JB},
        {"Data", Data, Always, 4, J},
        {"Vowels", VowelRow, Always, 5, J},
        {"Consonants", ConsonantRow, Always, 6, J},
        {"VowelSum", VowelSum, Always, 0, JB},
        {"ConsonantSum", ConsonantSum, Always, 0, JB},
        {"NumberSum", NumberSum, Always, 0, J},
        {"GrandTotal", GrandTotal, Always, 0, JB},
        {"VTot", VowelChain, Always, 8, JB},
        {"CTot", ConsonantChain, Always, 7, JB},
        {"Total", TotalChain, Always, 9, JB},
        {"VowelDigit", VowelDigit, Always, 0, B},
        {"ConsonantDigit", ConsonantDigit, Always, 0, B},
        {"TotalDigit", TotalDigit, Always, 0, B},
        {"V1", ChartCell, Always, 10, JB, 0},
        {"C1", ChartCell, Always, 11, JB, 1},
        {"T1", ChartCell, Always, 12, JB, 2},
        {"V2", ChartCell, Always, 13, JB, 3},
        {"C2", ChartCell, Always, 14, JB, 4},
        {"T2", ChartCell, Always, 15, JB, 5},
        {"V3", ChartCell, Always, 16, JB, 6},
        {"C3", ChartCell, Always, 17, JB, 7},
        {"T3", ChartCell, Always, 18, JB, 8},
        {"V4", ChartCell, Always, 19, JB, 9},
        {"C4", ChartCell, Always, 20, JB, 10},
        {"T4", ChartCell, Always, 21, JB, 11},
        {"V5", ChartCell, Always, 22, JB, 12},
        {"C5", ChartCell, Always, 23, JB, 13},
        {"T5", ChartCell, Always, 24, JB, 14},
        {"V6", ChartCell, Always, 25, JB, 15},
        {"C6", ChartCell, Always, 26, JB, 16},
        {"T6", ChartCell, Always, 27, JB, 17},
        {"V7", ChartCell, Always, 28, JB, 18},
        {"C7", ChartCell, Always, 29, JB, 19},
        {"T7", ChartCell, Always, 30, JB, 20},
        {"V8", ChartCell, Always, 31, JB, 21},
        {"C8", ChartCell, Always, 32, JB, 22},
        {"T8", ChartCell, Always, 33, JB, 23},
        {"V9", ChartCell, Always, 34, JB, 24},
        {"C9", ChartCell, Always, 35, JB, 25},
        {"T9", ChartCell, Always, 36, JB, 26},
        {"vvt", ChartCell, Always, 37, J, 27},
        {"cct", ChartCell, Always, 38, J, 28},
        {"ttt", ChartCell, Always, 39, J, 29},
        {"Dates", Dates, OfTheDate, 40, JB},
        {"DateTotal", DateChain, OfTheDate, 41, JB},
        {"MonthDay", MonthDayChain, OfTheDate, 42, JB},
        {"DayTot", DayChain, OfTheDate, 43, JB},
        {"NameDate", NameDateChain, OfTheDate, 44, JB},
        {"DateDigit", DateDigit, OfTheDate, 0, B},
        {"NameDateDigit", NameDateDigit, OfTheDate, 0, B},
        {"DatesLb", FixedText, OfTheDate, 45, J, 0, "Date:"},
        {"Cd1Lb", FixedText, OfTheDate, 46, J, 0, "Date Total:"},
        {"Cd2Lb", FixedText, OfTheDate, 47, J, 0, "Month + Day:"},
        {"Cd3Lb", FixedText, OfTheDate, 48, J, 0, "Day:"},
        {"Cd4Lb", FixedText, OfTheDate, 49, J, 0, "Name + Date:"},
        {"DateDigitSum", DateDigitSum, Always, 0, J},
        {"core", Core, Always, 0, JB},
    });
}();

// How many names the report answers.
inline constexpr int kReportVariableCount = [] {
    int count = 0;
    for (const ValueName& name : kValueNames) count += name.InReport() ? 1 : 0;
    return count;
}();

}  // namespace quillon
