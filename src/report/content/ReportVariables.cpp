#include "report/content/ReportVariables.h"

#include <cstddef>

#include "numerology/DigitChart.h"

namespace quillon {
namespace {

// The places in the list of values of the names the report answers, in the order of their rows.
constexpr auto kReportRows = [] {
    std::array<std::size_t, kReportVariableCount> rows{};
    for (std::size_t i = 0; i < kValueNames.size(); ++i) {
        if (kValueNames[i].InReport()) rows[static_cast<std::size_t>(kValueNames[i].reportRow - 1)] = i;
    }
    return rows;
}();

ReportValue Answer(const ReportSource& s, const ValueName& name) {
    switch (name.id) {
        case ValueId::FixedText: return std::string(name.text);
        case ValueId::Master: return std::int32_t{33};
        case ValueId::Method: return s.method;
        case ValueId::Data: return UpperCaseAscii(s.data);
        case ValueId::VowelRow: return s.vowels;
        case ValueId::ConsonantRow: return s.consonants;
        case ValueId::VowelChain: return s.vTotal;
        case ValueId::ConsonantChain: return s.cTotal;
        case ValueId::TotalChain: return s.total;
        case ValueId::ChartCell: return s.chartCells[static_cast<std::size_t>(name.chartCell)];
        case ValueId::Dates: return s.dates;
        case ValueId::DateChain: return s.dateTotal;
        case ValueId::MonthDayChain: return s.monthDay;
        case ValueId::DayChain: return s.dayTotal;
        case ValueId::NameDateChain: return s.nameDate;
        // Values the report has no variable for.
        case ValueId::DataText:
        case ValueId::VowelSum:
        case ValueId::ConsonantSum:
        case ValueId::NumberSum:
        case ValueId::GrandTotal:
        case ValueId::VowelDigit:
        case ValueId::ConsonantDigit:
        case ValueId::TotalDigit:
        case ValueId::DateDigit:
        case ValueId::NameDateDigit:
        case ValueId::DateDigitSum:
        case ValueId::Core: return {};
    }
    return {};
}

}  // namespace

ReportSource ReportSourceOf(const AnalysisValues& values) {
    ReportSource source;
    source.method = std::string(DisplayName(values.state.letterSystem));
    source.data = values.dataText;
    source.vowels = values.shown.vowels;
    source.consonants = values.shown.consonants;
    source.vTotal = values.shown.vTotal;
    source.cTotal = values.shown.cTotal;
    source.total = values.shown.total;
    source.chartCells = ChartCellTexts(values.shown.chart);
    if (values.date) {
        source.dates = values.date->dates;
        source.dateTotal = values.date->totals.dateTotal;
        source.monthDay = values.date->totals.monthDay;
        source.dayTotal = values.date->totals.dayTotal;
        source.datePanelVisible = true;
    }
    source.nameDate = values.shown.nameDate;
    source.dateDigitSum = values.state.DateDigitSum;
    return source;
}

const std::array<std::string, kReportVariableCount>& ReportVariableNames() {
    static const std::array<std::string, kReportVariableCount> names = [] {
        std::array<std::string, kReportVariableCount> result;
        for (std::size_t i = 0; i < result.size(); ++i) result[i] = kValueNames[kReportRows[i]].key;
        return result;
    }();
    return names;
}

ReportValue GetReportValue(const ReportSource& source, std::string_view name) {
    const bool dateApplies = source.dateDigitSum > 0 && source.datePanelVisible;
    ReportValue value;
    // Every name is compared, also after a match; the names are distinct, so at most one answers.
    for (const std::size_t row : kReportRows) {
        const ValueName& entry = kValueNames[row];
        if (entry.key != name) continue;
        switch (entry.group) {
            case ValueGroup::Always: value = Answer(source, entry); break;
            case ValueGroup::OfTheDate:
                if (dateApplies) value = Answer(source, entry);
                break;
        }
    }
    return value;
}

Value ToValue(const ReportValue& answer) {
    if (const auto* text = std::get_if<std::string>(&answer)) return *text;
    if (const auto* number = std::get_if<std::int32_t>(&answer)) return static_cast<long long>(*number);
    return Value{};
}

std::string UpperCaseAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

}  // namespace quillon
