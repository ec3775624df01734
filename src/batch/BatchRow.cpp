#include "batch/BatchRow.h"

#include <charconv>
#include <cstring>

#include "batch/Csv.h"
#include "common/Utf8.h"
#include "numerology/DigitChart.h"
#include "numerology/ReduceChain.h"

namespace quillon::batch {
namespace {

// One output field: a text, a number, a chart count (a text in JSON, as "analyse --json" gives
// the chart cells), a null, or a field the row does not have (left out of a JSON line).
struct Field {
    // Plain is a text that never needs quoting or escaping: the system's name and the chains.
    enum class Kind { Text, Plain, Number, Count, Null, Absent } kind = Kind::Absent;
    std::string_view text;
    long long number = 0;
};

Field Text(std::string_view text) { return {Field::Kind::Text, text, 0}; }
Field Plain(std::string_view text) { return {Field::Kind::Plain, text, 0}; }
Field Number(long long number) { return {Field::Kind::Number, {}, number}; }
Field Digit(std::string_view chain) {
    const auto digit = FinalDigit(chain);
    return digit ? Number(*digit) : Field{Field::Kind::Null, {}, 0};
}

// Calls p = visit(p, key, field) for every output field of the row, in the order of the columns,
// and returns the last p. The header and every format are written from this one list. The write
// position goes through the calls by value, so that the compiler can keep it in a register: a
// position held in memory would be reloaded after every character written.
template <typename Visit>
[[gnu::always_inline]] inline char* VisitFields(char* p, const BatchRow& row, std::string_view dataText,
                                                std::string_view dates, bool withDate, Visit visit) {
    p = visit(p, "DataText", Text(dataText));
    p = visit(p, "Method", Plain(DisplayName(row.state.letterSystem)));
    p = visit(p, "VowelSum", Number(row.state.VowelSum));
    p = visit(p, "ConsonantSum", Number(row.state.ConsonantSum));
    p = visit(p, "GrandTotal", Number(row.state.GrandTotal));
    p = visit(p, "VTot", Plain(row.vTotal));
    p = visit(p, "CTot", Plain(row.cTotal));
    p = visit(p, "Total", Plain(row.total));
    p = visit(p, "VowelDigit", Digit(row.vTotal));
    p = visit(p, "ConsonantDigit", Digit(row.cTotal));
    p = visit(p, "TotalDigit", Digit(row.total));
    // The report's order of the chart cells: V1, C1, T1, V2, ...
    static constexpr std::string_view kChartNames[] = {"V1", "C1", "T1", "V2", "C2", "T2", "V3", "C3", "T3",
                                                       "V4", "C4", "T4", "V5", "C5", "T5", "V6", "C6", "T6",
                                                       "V7", "C7", "T7", "V8", "C8", "T8", "V9", "C9", "T9"};
    for (int digit = 1; digit <= 9; ++digit) {
        const std::string_view* names = &kChartNames[(digit - 1) * 3];
        p = visit(p, names[0], Field{Field::Kind::Count, {}, row.chart.Vowel(digit)});
        p = visit(p, names[1], Field{Field::Kind::Count, {}, row.chart.Consonant(digit)});
        p = visit(p, names[2], Field{Field::Kind::Count, {}, row.chart.Total(digit)});
    }
    if (!withDate) return p;
    const bool has = row.hasDate;
    auto dated = [has](Field field) { return has ? field : Field{}; };
    p = visit(p, "Dates", dated(Text(dates)));
    p = visit(p, "DateTotal", dated(Plain(row.dateTotals.dateTotal)));
    p = visit(p, "MonthDay", dated(Plain(row.dateTotals.monthDay)));
    p = visit(p, "DayTot", dated(Plain(row.dateTotals.dayTotal)));
    p = visit(p, "NameDate", dated(Plain(row.nameDate)));
    p = visit(p, "DateDigit", dated(Digit(row.dateTotals.dateTotal)));
    p = visit(p, "NameDateDigit", dated(Digit(row.nameDate)));
    return p;
}

// Room for everything in a row but its two free texts (the name and the date): the keys, the
// numbers and the short chains.
constexpr std::size_t kRowBytesBesideTexts = 2048;

char* PutNumber(char* out, long long number) {
    // Most numbers of a row are chart counts and digits: one or two characters.
    if (number >= 0 && number < 10) {
        *out++ = static_cast<char>('0' + number);
        return out;
    }
    return std::to_chars(out, out + 24, number).ptr;
}

// Copies a short text; a call of memcpy costs more than the copy for the few bytes of a key, a
// chain or a number.
char* PutShort(char* out, std::string_view text) {
    for (char c : text) *out++ = c;
    return out;
}

char* PutKey(char* out, std::string_view key) {
    *out++ = '"';
    out = PutShort(out, key);
    *out++ = '"';
    *out++ = ':';
    return out;
}

}  // namespace

void AnalyseTotals(std::u16string_view data, LetterSystem system, AnalysisState& state, DigitChart& chart) {
    const LetterEffects& effects = LetterEffectsOf(system);
    // Letters and other characters alternate at random in a name, which a branch per character
    // would mispredict: every character adds to slot 0 of the counts it does not belong to.
    std::array<int, 10> vowels{};
    std::array<int, 10> consonants{};
    std::int32_t vowelSum = 0;
    std::int32_t consonantSum = 0;
    std::int32_t numberSum = 0;
    for (char16_t c : data) {
        const LetterEffect& effect = EffectOf(effects, c);
        vowelSum += effect.vowel;
        consonantSum += effect.consonant;
        numberSum += effect.number;
        ++vowels[effect.vowel];
        ++consonants[effect.consonant];
    }
    state.VowelSum = vowelSum;
    state.ConsonantSum = consonantSum;
    state.NumberSum = numberSum;
    state.GrandTotal = vowelSum + consonantSum + numberSum;
    std::copy(vowels.begin() + 1, vowels.end(), chart.vowels.begin());
    std::copy(consonants.begin() + 1, consonants.end(), chart.consonants.begin());
}

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
    // What the analysis run writes into the window, after the date calculation.
    AnalyseTotals(row.data, row.state.letterSystem, row.state, row.chart);
    if (row.hasDate) row.state.DateDigitSum = row.dateTotals.dateDigitSum;
    row.vTotal = ReduceChainView(static_cast<std::uint64_t>(row.state.VowelSum), row.spill[0]);
    row.cTotal = ReduceChainView(static_cast<std::uint64_t>(row.state.ConsonantSum), row.spill[1]);
    row.total = ReduceChainView(static_cast<std::uint64_t>(row.state.GrandTotal), row.spill[2]);
    if (row.hasDate) {
        row.nameDate = NameDateChain(row.state.GrandTotal, row.state.DateDigitSum);
    } else {
        row.nameDate.clear();
    }
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
            case WhereKey::Vowels: digit = FinalDigit(row.vTotal); break;
            case WhereKey::Consonants: digit = FinalDigit(row.cTotal); break;
            case WhereKey::Total: digit = FinalDigit(row.total); break;
            case WhereKey::Date:
                if (row.hasDate) digit = FinalDigit(row.dateTotals.dateTotal);
                break;
            case WhereKey::NameDate: digit = FinalDigit(row.nameDate); break;
        }
        if (digit != clause.digit) return false;
    }
    return true;
}

void RowWriter::AppendHeader(ByteBuffer& out) const {
    if (format_ == OutputFormat::JsonLines) return;
    const char separator = format_ == OutputFormat::Csv ? ',' : '\t';
    char* p = VisitFields(out.Reserve(kRowBytesBesideTexts), BatchRow{}, {}, {}, withDate_,
                          [separator](char* at, std::string_view key, const Field&) {
                              at = PutShort(at, key);
                              *at++ = separator;
                              return at;
                          });
    p[-1] = '\n';  // the last separator ends the line
    out.Commit(p);
}

void RowWriter::AppendRow(const BatchRow& row, ByteBuffer& out) {
    utf8_.clear();
    AppendUtf16AsUtf8(utf8_, row.data);
    char* p = out.Reserve(kRowBytesBesideTexts + 6 * (utf8_.size() + row.dates.size()));
    switch (format_) {
        case OutputFormat::Csv:
        case OutputFormat::Tsv: {
            const bool csv = format_ == OutputFormat::Csv;
            p = VisitFields(p, row, utf8_, row.dates, withDate_, [csv](char* at, std::string_view, const Field& field) {
                switch (field.kind) {
                    case Field::Kind::Text: at = csv ? PutCsvField(at, field.text) : PutTsvField(at, field.text); break;
                    case Field::Kind::Plain: at = PutShort(at, field.text); break;
                    case Field::Kind::Number:
                    case Field::Kind::Count: at = PutNumber(at, field.number); break;
                    case Field::Kind::Null:
                    case Field::Kind::Absent: break;
                }
                *at++ = csv ? ',' : '\t';
                return at;
            });
            p[-1] = '\n';  // the last separator ends the line
            break;
        }
        case OutputFormat::JsonLines:
            *p++ = '{';
            p = VisitFields(p, row, utf8_, row.dates, withDate_, [](char* at, std::string_view key, const Field& field) {
                if (field.kind == Field::Kind::Absent) return at;
                at = PutKey(at, key);
                switch (field.kind) {
                    case Field::Kind::Text: at = PutJsonString(at, field.text); break;
                    case Field::Kind::Plain:
                        *at++ = '"';
                        at = PutShort(at, field.text);
                        *at++ = '"';
                        break;
                    case Field::Kind::Number: at = PutNumber(at, field.number); break;
                    case Field::Kind::Count:
                        *at++ = '"';
                        at = PutNumber(at, field.number);
                        *at++ = '"';
                        break;
                    case Field::Kind::Null: at = PutShort(at, "null"); break;
                    case Field::Kind::Absent: break;
                }
                *at++ = ',';
                return at;
            });
            p[-1] = '}';  // in place of the last comma; every row has fields
            *p++ = '\n';
            break;
    }
    out.Commit(p);
}

}  // namespace quillon::batch
