#pragma once
// Every value of one analysis, put together in one place: a data text analysed under a system,
// with or without a birth date, gives the rows, the chains, the chart, the date's values, the
// name-plus-date value and the core numbers, as the analysis window has them once the date has
// been calculated and the text pasted. The command line takes them all from AssembleAnalysis. The
// window runs its steps (RunAnalysis, CalculateDate) at the moments its buttons are clicked.
// Batch adds up the sums and the chart in a faster pass of its own and takes the date's values,
// the name-plus-date value and the core numbers from the same functions as AssembleAnalysis.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "numerology/Analysis.h"
#include "numerology/CoreNumbers.h"
#include "numerology/Dates.h"
#include "numerology/ValueNames.h"

namespace quillon {

// What a date calculation gives.
struct DateValues {
    CivilDate date;
    std::string dates;  // the date as the date field shows it, UTF-8
    DateTotals totals;
};

DateValues DateValuesOf(const CivilDate& date, const DateSettings& settings);

struct AnalysisValues {
    // The system, the accent folding, the four sums and the date's digit sum (0 without a date).
    AnalysisState state;
    std::string dataText;  // the data text as analysed, UTF-8, a Y read as a vowel written y
    AnalysisShown shown;   // the rows, the chains, the chart and the name-plus-date chain
    std::optional<DateValues> date;
    CoreNumbers core;
};

// Analyses the data text (as the data field holds it) under the system, with a birth date or
// without: the date calculated first, as with the date panel calculated before the text was
// pasted, so that the name-plus-date value is there. The date is shown in the form of settings.
AnalysisValues AssembleAnalysis(std::u16string_view data, LetterSystem system, bool foldAccents,
                                const std::optional<CivilDate>& date, const DateSettings& settings);

// A value as text or as a number; nothing where there is none (a value of the date without one, a
// last digit of an empty chain).
using FieldValue = std::variant<std::monostate, std::string, std::int32_t>;

// The value of a name that the report does not answer (DataText, the sums, the last digits, the
// date's digit sum). The report's own names are answered by the report (GetReportValue) from the
// window's fields, or from a ReportSource made of these values; Core is a structure of its own.
FieldValue ValueOf(const AnalysisValues& values, const ValueName& name);

}  // namespace quillon
