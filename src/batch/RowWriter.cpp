// The writing of batch rows: the header and every row in CSV, TSV or JSON lines, from one list of
// the output fields.
#include "batch/BatchRow.h"

#include <charconv>
#include <cstring>

#include "batch/Csv.h"

namespace quillon::batch {
namespace {

// One output field: a text, a number, a chart count (a text in JSON, as "analyse --json" gives
// the chart cells), a null, or a field the row does not have (left out of a JSON line). The three
// chart cells of one value (V, C and T of a digit) come as one field, which the formats that can
// write them at once do.
struct Field {
    // Plain is a text that never needs quoting or escaping: the system's name and the chains.
    enum class Kind { Text, Plain, Number, Count, ChartDigit, Null, Absent } kind = Kind::Absent;
    std::string_view text;
    long long number = 0;  // a number or count; the vowels of a chart digit
    long long consonants = 0;  // the consonants of a chart digit
    int digit = 0;             // the chart digit, 1 to 9
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
    for (int digit = 1; digit <= 9; ++digit) {
        p = visit(p, {}, Field{Field::Kind::ChartDigit, {}, row.chart.Vowel(digit), row.chart.Consonant(digit), digit});
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

// Copies a short text (a key, a chain, the system's name) with two word copies that may overlap,
// in place of a byte at a time or a call of memcpy, both of which cost more than the copy.
char* PutShort(char* out, std::string_view text) {
    const char* from = text.data();
    const std::size_t size = text.size();
    if (size >= 8 && size <= 16) {
        std::memcpy(out, from, 8);
        std::memcpy(out + size - 8, from + size - 8, 8);
    } else if (size >= 4 && size < 8) {
        std::memcpy(out, from, 4);
        std::memcpy(out + size - 4, from + size - 4, 4);
    } else if (size > 16) {
        std::memcpy(out, from, size);
    } else {
        for (std::size_t i = 0; i < size; ++i) out[i] = from[i];
    }
    return out + size;
}

// The names of a chart digit's three cells: "V1", "C1", "T1".
std::array<std::string_view, 3> ChartCellNames(int digit) {
    static constexpr std::string_view kNames[] = {"V1", "C1", "T1", "V2", "C2", "T2", "V3", "C3", "T3",
                                                  "V4", "C4", "T4", "V5", "C5", "T5", "V6", "C6", "T6",
                                                  "V7", "C7", "T7", "V8", "C8", "T8", "V9", "C9", "T9"};
    const std::string_view* names = &kNames[(digit - 1) * 3];
    return {names[0], names[1], names[2]};
}

char* PutKey(char* out, std::string_view key) {
    *out++ = '"';
    out = PutShort(out, key);
    *out++ = '"';
    *out++ = ':';
    return out;
}

// Room for the core numbers of a row: six keys, chains, digits and masters.
constexpr std::size_t kCoreBytes = 1024;

// The core numbers, after the other fields: in CSV and TSV a column of the final digit and one of
// the master number (empty without one) for each; in JSON the object "core" as "analyse --json"
// has it, with only the numbers the row has. Each is followed by a separator, as every field is.
char* PutCore(char* p, const BatchRow& row, OutputFormat format, bool withDate) {
    if (format == OutputFormat::JsonLines) {
        p = PutKey(p, "core");
        *p++ = '{';
        bool any = false;
        for (const CoreName name : kCoreNames) {
            const std::optional<CoreNumber>& number = row.core[name];
            if (!number) continue;
            p = PutKey(p, KeyOf(name));
            p = PutShort(p, "{\"chain\":\"");
            p = PutShort(p, number->chain);
            p = PutShort(p, "\",\"digit\":");
            p = PutNumber(p, number->digit);
            p = PutShort(p, ",\"master\":");
            p = number->master ? PutNumber(p, *number->master) : PutShort(p, "null");
            p = PutShort(p, "},");
            any = true;
        }
        if (any) --p;  // the last comma
        *p++ = '}';
        *p++ = ',';
        return p;
    }
    const char separator = format == OutputFormat::Csv ? ',' : '\t';
    for (const CoreName name : kCoreNames) {
        if (!withDate && OfTheDate(name)) continue;
        if (const std::optional<CoreNumber>& number = row.core[name]) {
            p = PutNumber(p, number->digit);
            *p++ = separator;
            if (number->master) p = PutNumber(p, *number->master);
            *p++ = separator;
        } else {
            *p++ = separator;
            *p++ = separator;
        }
    }
    return p;
}

}  // namespace

RowWriter::RowWriter(OutputFormat format, bool withDate, bool withCore)
    : format_(format), withDate_(withDate), withCore_(withCore), triples_(kTripleCount) {
    const char separator = format == OutputFormat::Tsv ? '\t' : ',';
    for (std::size_t n = 0; n < numbers_.size(); ++n) {
        NumberField& field = numbers_[n];
        char* end = std::to_chars(field.bytes, field.bytes + 3, n).ptr;
        *end++ = separator;
        field.size = static_cast<std::uint8_t>(end - field.bytes);
    }
    for (int vowels = 0; vowels <= kTripleCounts; ++vowels) {
        for (int consonants = 0; consonants <= kTripleCounts; ++consonants) {
            ChartTriple& triple = triples_[static_cast<std::size_t>(vowels * (kTripleCounts + 1) + consonants)];
            char* end = triple.bytes;
            for (const int count : {vowels, consonants, vowels + consonants}) {
                end = std::to_chars(end, triple.bytes + sizeof triple.bytes, count).ptr;
                *end++ = separator;
            }
            triple.size = static_cast<std::uint8_t>(end - triple.bytes);
        }
    }
}

void RowWriter::AppendHeader(ByteBuffer& out) const {
    if (format_ == OutputFormat::JsonLines) return;
    const char separator = format_ == OutputFormat::Csv ? ',' : '\t';
    char* p = VisitFields(out.Reserve(kRowBytesBesideTexts), BatchRow{}, {}, {}, withDate_,
                          [separator](char* at, std::string_view key, const Field& field) {
                              if (field.kind == Field::Kind::ChartDigit) {
                                  for (std::string_view name : ChartCellNames(field.digit)) {
                                      at = PutShort(at, name);
                                      *at++ = separator;
                                  }
                                  return at;
                              }
                              at = PutShort(at, key);
                              *at++ = separator;
                              return at;
                          });
    if (withCore_) {
        for (const CoreName name : kCoreNames) {
            if (!withDate_ && OfTheDate(name)) continue;
            p = PutShort(p, KeyOf(name));
            *p++ = separator;
            p = PutShort(p, KeyOf(name));
            p = PutShort(p, "_master");
            *p++ = separator;
        }
    }
    p[-1] = '\n';  // the last separator ends the line
    out.Commit(p);
}

void RowWriter::AppendRow(const BatchRow& row, ByteBuffer& out) {
    const std::string_view dataText = row.dataText;
    char* p = out.Reserve(kRowBytesBesideTexts + (withCore_ ? kCoreBytes : 0) + 6 * (dataText.size() + row.dates.size()));
    switch (format_) {
        case OutputFormat::Csv:
        case OutputFormat::Tsv: {
            const bool csv = format_ == OutputFormat::Csv;
            const auto& numbers = numbers_;
            const auto& triples = triples_;
            p = VisitFields(p, row, dataText, row.dates, withDate_, [csv, &numbers, &triples](char* at, std::string_view, const Field& field) {
                switch (field.kind) {
                    case Field::Kind::ChartDigit:
                        // A name has at most 40 characters: its counts have a written triple.
                        if (field.number <= kTripleCounts && field.consonants <= kTripleCounts) {
                            const ChartTriple& known = triples[static_cast<std::size_t>(field.number * (kTripleCounts + 1) + field.consonants)];
                            std::memcpy(at, known.bytes, sizeof known.bytes);
                            return at + known.size;
                        }
                        for (const long long count : {field.number, field.consonants, field.number + field.consonants}) {
                            at = PutNumber(at, count);
                            *at++ = csv ? ',' : '\t';
                        }
                        return at;
                    case Field::Kind::Text: at = csv ? PutCsvField(at, field.text) : PutTsvField(at, field.text); break;
                    case Field::Kind::Plain: at = PutShort(at, field.text); break;
                    case Field::Kind::Number:
                    case Field::Kind::Count:
                        if (field.number >= 0 && static_cast<std::size_t>(field.number) < numbers.size()) {
                            const NumberField& known = numbers[static_cast<std::size_t>(field.number)];
                            std::memcpy(at, known.bytes, sizeof known.bytes);
                            return at + known.size;
                        }
                        at = PutNumber(at, field.number);
                        break;
                    case Field::Kind::Null:
                    case Field::Kind::Absent: break;
                }
                *at++ = csv ? ',' : '\t';
                return at;
            });
            if (withCore_) p = PutCore(p, row, format_, withDate_);
            p[-1] = '\n';  // the last separator ends the line
            break;
        }
        case OutputFormat::JsonLines:
            *p++ = '{';
            p = VisitFields(p, row, dataText, row.dates, withDate_, [](char* at, std::string_view key, const Field& field) {
                if (field.kind == Field::Kind::Absent) return at;
                if (field.kind != Field::Kind::ChartDigit) at = PutKey(at, key);
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
                    case Field::Kind::ChartDigit: {
                        const auto names = ChartCellNames(field.digit);
                        const long long counts[] = {field.number, field.consonants, field.number + field.consonants};
                        for (std::size_t cell = 0; cell < names.size(); ++cell) {
                            if (cell > 0) *at++ = ',';
                            at = PutKey(at, names[cell]);
                            *at++ = '"';
                            at = PutNumber(at, counts[cell]);
                            *at++ = '"';
                        }
                        break;
                    }
                    case Field::Kind::Null: at = PutShort(at, "null"); break;
                    case Field::Kind::Absent: break;
                }
                *at++ = ',';
                return at;
            });
            if (withCore_) p = PutCore(p, row, format_, withDate_);
            p[-1] = '}';  // in place of the last comma; every row has fields
            *p++ = '\n';
            break;
    }
    out.Commit(p);
}

}  // namespace quillon::batch
