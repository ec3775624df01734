#include "report/content/ReportVariables.h"

#include <functional>

#include "numerology/DigitChart.h"

namespace quillon {
namespace {

enum class Group { Always, Date };

struct Entry {
    std::string name;
    Group group;
    std::function<ReportValue(const ReportSource&)> value;
};

std::array<Entry, kReportVariableCount> BuildTable() {
    auto text = [](std::string ReportSource::*field) {
        return [field](const ReportSource& s) -> ReportValue { return s.*field; };
    };
    auto constant = [](std::string value) {
        return [value](const ReportSource&) -> ReportValue { return value; };
    };
    auto chart = [](std::size_t index) {
        return [index](const ReportSource& s) -> ReportValue { return s.chartCells[index]; };
    };

    std::array<Entry, kReportVariableCount> table;
    std::size_t n = 0;
    auto add = [&](std::string name, Group group, std::function<ReportValue(const ReportSource&)> value) {
        table[n++] = Entry{std::move(name), group, std::move(value)};
    };
    add("nameftr", Group::Always, constant(std::string(kNameFooter)));
    add("master", Group::Always, [](const ReportSource&) -> ReportValue { return std::int32_t{33}; });
    add("Method", Group::Always, text(&ReportSource::method));
    add("Data", Group::Always,
        [](const ReportSource& s) -> ReportValue { return UpperCaseAscii(s.data); });
    add("Vowels", Group::Always, text(&ReportSource::vowels));
    add("Consonants", Group::Always, text(&ReportSource::consonants));
    add("CTot", Group::Always, text(&ReportSource::cTotal));
    add("VTot", Group::Always, text(&ReportSource::vTotal));
    add("Total", Group::Always, text(&ReportSource::total));
    for (int cell = 0; cell < kChartCellCount; ++cell) {
        add(ChartCellName(cell), Group::Always, chart(static_cast<std::size_t>(cell)));
    }
    add("Dates", Group::Date, text(&ReportSource::dates));
    add("DateTotal", Group::Date, text(&ReportSource::dateTotal));
    add("MonthDay", Group::Date, text(&ReportSource::monthDay));
    add("DayTot", Group::Date, text(&ReportSource::dayTotal));
    add("NameDate", Group::Date, text(&ReportSource::nameDate));
    add("DatesLb", Group::Date, constant("Date:"));
    add("Cd1Lb", Group::Date, constant("Date Total:"));
    add("Cd2Lb", Group::Date, constant("Month + Day:"));
    add("Cd3Lb", Group::Date, constant("Day:"));
    add("Cd4Lb", Group::Date, constant("Name + Date:"));
    return table;
}

const std::array<Entry, kReportVariableCount>& Table() {
    static const std::array<Entry, kReportVariableCount> table = BuildTable();
    return table;
}

}  // namespace

const std::array<std::string, kReportVariableCount>& ReportVariableNames() {
    static const std::array<std::string, kReportVariableCount> names = [] {
        std::array<std::string, kReportVariableCount> result;
        for (std::size_t i = 0; i < result.size(); ++i) result[i] = Table()[i].name;
        return result;
    }();
    return names;
}

ReportValue GetReportValue(const ReportSource& source, std::string_view name) {
    const bool dateApplies = source.dateDigitSum > 0 && source.datePanelVisible;
    ReportValue value;
    // Every name is compared, also after a match; the names are distinct, so at most one answers.
    for (const Entry& entry : Table()) {
        if (entry.name != name) continue;
        switch (entry.group) {
            case Group::Always: value = entry.value(source); break;
            case Group::Date:
                if (dateApplies) value = entry.value(source);
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
