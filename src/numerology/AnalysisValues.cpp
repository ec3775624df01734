#include "numerology/AnalysisValues.h"

#include "common/Utf8.h"

namespace quillon {
namespace {

// The list holds each key once, each row of the report's table once, and each chart cell under
// the name ChartCellName gives it.
constexpr bool ValueNamesAreSound() {
    std::array<int, kReportVariableCount + 1> rows{};
    std::array<int, kChartCellCount> cells{};
    for (std::size_t i = 0; i < kValueNames.size(); ++i) {
        const ValueName& name = kValueNames[i];
        for (std::size_t j = 0; j < i; ++j) {
            if (kValueNames[j].key == name.key) return false;
        }
        if (name.InReport() && (name.reportRow > kReportVariableCount || ++rows[name.reportRow] > 1)) return false;
        if (name.id == ValueId::ChartCell) {
            const int cell = name.chartCell;
            if (cell < 0 || cell >= kChartCellCount || ++cells[cell] > 1) return false;
            constexpr std::string_view kTotals[] = {"vvt", "cct", "ttt"};
            const bool named = cell >= kFirstTotalCell ? name.key == kTotals[cell - kFirstTotalCell]
                                                       : name.key.size() == 2 && name.key[0] == "VCT"[cell % 3] &&
                                                             name.key[1] == '1' + cell / 3;
            if (!named) return false;
        }
    }
    return true;
}
static_assert(ValueNamesAreSound());

FieldValue LastDigit(std::string_view chain) {
    if (chain.empty()) return {};
    return std::int32_t{chain.back() - '0'};
}

}  // namespace

DateValues DateValuesOf(const CivilDate& date, const DateSettings& settings) {
    return {date, Utf16ToUtf8(FormatDate(date, settings)), CalculateDate(date)};
}

AnalysisValues AssembleAnalysis(std::u16string_view data, LetterSystem system, bool foldAccents,
                                const std::optional<CivilDate>& date, const DateSettings& settings) {
    AnalysisValues values;
    AnalysisState& state = values.state;
    state.letterSystem = system;
    state.foldAccents = foldAccents;
    if (date) {
        values.date = DateValuesOf(*date, settings);
        state.DateDigitSum = values.date->totals.dateDigitSum;
    }
    values.shown = RunAnalysis(state, data);
    values.dataText = Utf16ToUtf8(data);
    values.core = CoreNumbersOf(state.VowelSum, state.ConsonantSum, state.GrandTotal, date);
    return values;
}

FieldValue ValueOf(const AnalysisValues& values, const ValueName& name) {
    if (name.InReport()) return {};
    const AnalysisState& state = values.state;
    switch (name.id) {
        case ValueId::DataText: return values.dataText;
        case ValueId::VowelSum: return state.VowelSum;
        case ValueId::ConsonantSum: return state.ConsonantSum;
        case ValueId::NumberSum: return state.NumberSum;
        case ValueId::GrandTotal: return state.GrandTotal;
        case ValueId::VowelDigit: return LastDigit(values.shown.vTotal);
        case ValueId::ConsonantDigit: return LastDigit(values.shown.cTotal);
        case ValueId::TotalDigit: return LastDigit(values.shown.total);
        case ValueId::DateDigit: return values.date ? LastDigit(values.date->totals.dateTotal) : FieldValue{};
        case ValueId::NameDateDigit: return LastDigit(values.shown.nameDate);
        case ValueId::DateDigitSum: return state.DateDigitSum;
        // The report's own names, answered by the report; the core numbers are a structure.
        case ValueId::FixedText:
        case ValueId::Master:
        case ValueId::Method:
        case ValueId::Data:
        case ValueId::VowelRow:
        case ValueId::ConsonantRow:
        case ValueId::VowelChain:
        case ValueId::ConsonantChain:
        case ValueId::TotalChain:
        case ValueId::ChartCell:
        case ValueId::Dates:
        case ValueId::DateChain:
        case ValueId::MonthDayChain:
        case ValueId::DayChain:
        case ValueId::NameDateChain:
        case ValueId::Core: return {};
    }
    return {};
}

}  // namespace quillon
