#include "batch/BatchRow.h"

#include <charconv>

#include "batch/Csv.h"
#include "common/Utf8.h"
#include "numerology/DigitChart.h"

namespace quillon::batch {
namespace {

// One output field: a text, a number, a chart count (a text in JSON, as "analyse --json" gives
// the chart cells), a null, or a field the row does not have (left out of a JSON line).
struct Field {
    enum class Kind { Text, Number, Count, Null, Absent } kind = Kind::Absent;
    std::string_view text;
    long long number = 0;
};

Field Text(std::string_view text) { return {Field::Kind::Text, text, 0}; }
Field Number(long long number) { return {Field::Kind::Number, {}, number}; }
Field Digit(std::string_view chain) {
    const auto digit = FinalDigit(chain);
    return digit ? Number(*digit) : Field{Field::Kind::Null, {}, 0};
}

// Calls visit(key, field) for every output field of the row, in the order of the columns. The
// header and every format are written from this one list.
template <typename Visit>
void VisitFields(const BatchRow& row, std::string_view dataText, std::string_view dates, bool withDate, Visit&& visit) {
    const AnalysisShown& shown = row.shown;
    visit("DataText", Text(dataText));
    visit("Method", Text(DisplayName(row.state.letterSystem)));
    visit("VowelSum", Number(row.state.VowelSum));
    visit("ConsonantSum", Number(row.state.ConsonantSum));
    visit("GrandTotal", Number(row.state.GrandTotal));
    visit("VTot", Text(shown.vTotal));
    visit("CTot", Text(shown.cTotal));
    visit("Total", Text(shown.total));
    visit("VowelDigit", Digit(shown.vTotal));
    visit("ConsonantDigit", Digit(shown.cTotal));
    visit("TotalDigit", Digit(shown.total));
    static const std::array<std::string, 27> kChartNames = [] {
        std::array<std::string, 27> names;
        for (std::size_t i = 0; i < names.size(); ++i) names[i] = ChartCellName(static_cast<int>(i));
        return names;
    }();
    for (std::size_t i = 0; i < kChartNames.size(); ++i) {
        // The report's order: V1, C1, T1, V2, ...
        const int digit = static_cast<int>(i / 3) + 1;
        const int count = i % 3 == 0 ? shown.chart.Vowel(digit)
                          : i % 3 == 1 ? shown.chart.Consonant(digit)
                                       : shown.chart.Total(digit);
        visit(kChartNames[i], Field{Field::Kind::Count, {}, count});
    }
    if (!withDate) return;
    const bool has = row.hasDate;
    auto dated = [has](Field field) { return has ? field : Field{}; };
    visit("Dates", dated(Text(dates)));
    visit("DateTotal", dated(Text(row.dateTotals.dateTotal)));
    visit("MonthDay", dated(Text(row.dateTotals.monthDay)));
    visit("DayTot", dated(Text(row.dateTotals.dayTotal)));
    visit("NameDate", dated(Text(shown.nameDate)));
    visit("DateDigit", dated(Digit(row.dateTotals.dateTotal)));
    visit("NameDateDigit", dated(Digit(shown.nameDate)));
}

void AppendNumber(std::string& out, long long number) {
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, number).ptr;
    out.append(buffer, end);
}

}  // namespace

std::optional<int> FinalDigit(std::string_view chain) {
    if (chain.empty()) return std::nullopt;
    return chain.back() - '0';
}

RowAnalyser::RowAnalyser(const BatchOptions& options) : options_(options) {
    if (options.date) {
        fixedTotals_ = CalculateDate(*options.date);
        AppendUtf16AsUtf8(fixedDates_, FormatDate(*options.date, options.dateSettings));
    }
}

std::optional<std::string> RowAnalyser::Analyse(std::string_view name, std::optional<std::string_view> dateText,
                                                BatchRow& row) {
    if (!Utf8ToUtf16(name, decoded_)) return std::string("invalid UTF-8");
    // The name as the Paste command puts it into the data field; there is no one to ask about
    // the Ys, so all of them take the one answer given for the run.
    row.data = NormalisePastedText(decoded_);
    if (options_.vowelYAll) {
        for (char16_t& c : row.data) {
            if (c == u'Y') c = u'y';
        }
    }
    row.state = AnalysisState{};
    row.state.letterSystem = options_.system;
    row.hasDate = false;
    if (options_.date) {
        row.hasDate = true;
        row.dates = fixedDates_;
        row.dateTotals = fixedTotals_;
    } else if (dateText) {
        if (auto error = ReadRowDate(*dateText, row)) return error;
    }
    // As with the date panel open and calculated: the date result is there before the name's
    // analysis, which combines the two.
    if (row.hasDate) row.state.DateDigitSum = row.dateTotals.dateDigitSum;
    row.shown = RunAnalysis(row.state, row.data);
    return std::nullopt;
}

std::optional<std::string> RowAnalyser::ReadRowDate(std::string_view text, BatchRow& row) {
    // An empty cell is a row without a date; the date field would read it as today, which a
    // list of names and dates never means.
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return std::nullopt;
    if (!Utf8ToUtf16(text, decoded_)) return std::string("invalid UTF-8 in the date");
    const DateReading reading =
        ReadDate(options_.upperCaseDate ? options_.upperCaseDate(decoded_) : decoded_, options_.dateSettings, options_.today);
    if (const auto* error = std::get_if<DateError>(&reading)) return error->message;
    const CivilDate& date = std::get<CivilDate>(reading);
    row.hasDate = true;
    row.dateTotals = CalculateDate(date);
    row.dates.clear();
    AppendUtf16AsUtf8(row.dates, FormatDate(date, options_.dateSettings));
    return std::nullopt;
}

std::optional<WhereKey> WhereKeyFromName(std::string_view name) {
    if (name == "vowels") return WhereKey::Vowels;
    if (name == "consonants") return WhereKey::Consonants;
    if (name == "total") return WhereKey::Total;
    if (name == "date") return WhereKey::Date;
    if (name == "namedate") return WhereKey::NameDate;
    return std::nullopt;
}

bool Keeps(const BatchRow& row, const std::vector<WhereClause>& where) {
    for (const WhereClause& clause : where) {
        std::optional<int> digit;
        switch (clause.key) {
            case WhereKey::Vowels: digit = FinalDigit(row.shown.vTotal); break;
            case WhereKey::Consonants: digit = FinalDigit(row.shown.cTotal); break;
            case WhereKey::Total: digit = FinalDigit(row.shown.total); break;
            case WhereKey::Date:
                if (row.hasDate) digit = FinalDigit(row.dateTotals.dateTotal);
                break;
            case WhereKey::NameDate: digit = FinalDigit(row.shown.nameDate); break;
        }
        if (digit != clause.digit) return false;
    }
    return true;
}

void RowWriter::AppendHeader(std::string& out) const {
    if (format_ == OutputFormat::JsonLines) return;
    const char separator = format_ == OutputFormat::Csv ? ',' : '\t';
    bool first = true;
    VisitFields(BatchRow{}, {}, {}, withDate_, [&](std::string_view key, const Field&) {
        if (!first) out += separator;
        first = false;
        out += key;
    });
    out += '\n';
}

void RowWriter::AppendRow(const BatchRow& row, std::string& out) {
    utf8_.clear();
    AppendUtf16AsUtf8(utf8_, row.data);
    bool first = true;
    switch (format_) {
        case OutputFormat::Csv:
        case OutputFormat::Tsv: {
            const bool csv = format_ == OutputFormat::Csv;
            VisitFields(row, utf8_, row.dates, withDate_, [&](std::string_view, const Field& field) {
                if (!first) out += csv ? ',' : '\t';
                first = false;
                switch (field.kind) {
                    case Field::Kind::Text:
                        if (csv) {
                            AppendCsvField(out, field.text);
                        } else {
                            AppendTsvField(out, field.text);
                        }
                        break;
                    case Field::Kind::Number:
                    case Field::Kind::Count: AppendNumber(out, field.number); break;
                    case Field::Kind::Null:
                    case Field::Kind::Absent: break;
                }
            });
            break;
        }
        case OutputFormat::JsonLines:
            out += '{';
            VisitFields(row, utf8_, row.dates, withDate_, [&](std::string_view key, const Field& field) {
                if (field.kind == Field::Kind::Absent) return;
                if (!first) out += ',';
                first = false;
                out += '"';
                out += key;
                out += "\":";
                switch (field.kind) {
                    case Field::Kind::Text: AppendJsonString(out, field.text); break;
                    case Field::Kind::Number: AppendNumber(out, field.number); break;
                    case Field::Kind::Count:
                        out += '"';
                        AppendNumber(out, field.number);
                        out += '"';
                        break;
                    case Field::Kind::Null: out += "null"; break;
                    case Field::Kind::Absent: break;
                }
            });
            out += '}';
            break;
    }
    out += '\n';
}

}  // namespace quillon::batch
