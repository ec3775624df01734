// The writing of batch rows: the header and every row in CSV, TSV or JSON lines, from the list of
// values (numerology/ValueNames.h), whose batch values are the columns.
#include <charconv>
#include <cstring>
#include <utility>

#include "batch/BatchRow.h"
#include "batch/Csv.h"
#include "numerology/ValueNames.h"

namespace quillon::batch {
namespace {

// One output field: a text, a number, a chart count (a text in JSON, as "analyse --json" gives
// the chart cells), a null, the core numbers, or a field the row does not have (left out of a JSON
// line). The three chart cells of one value (V, C and T of a digit) come as one field, which the
// formats that can write them at once do.
struct Field {
    // Plain is a text that never needs quoting or escaping: the system's name and the chains.
    enum class Kind { Text, Plain, Number, Count, ChartDigit, Core, Null, Absent } kind = Kind::Absent;
    std::string_view text;
    long long number = 0;                         // a number or count; the vowels of a chart digit
    long long consonants = 0;                     // the consonants of a chart digit
    int digit = 0;                                // the chart digit, 1 to 9
    const std::string_view* cellNames = nullptr;  // the names of a chart digit's three cells
};

Field Text(std::string_view text) { return {Field::Kind::Text, text, 0}; }
Field Plain(std::string_view text) { return {Field::Kind::Plain, text, 0}; }
Field Number(long long number) { return {Field::Kind::Number, {}, number}; }
Field Digit(std::string_view chain) {
    const auto digit = FinalDigit(chain);
    return digit ? Number(*digit) : Field{Field::Kind::Null, {}, 0};
}

// The field of a value of the row; a chart cell is written with the others of its digit (ChartDigit).
[[gnu::always_inline]] inline Field FieldOf(ValueId id, const BatchRow& row, std::string_view dataText,
                                            std::string_view dates) {
    switch (id) {
        case ValueId::DataText: return Text(dataText);
        case ValueId::Method: return Plain(DisplayName(row.state.letterSystem));
        case ValueId::VowelSum: return Number(row.state.VowelSum);
        case ValueId::ConsonantSum: return Number(row.state.ConsonantSum);
        case ValueId::NumberSum: return Number(row.state.NumberSum);
        case ValueId::GrandTotal: return Number(row.state.GrandTotal);
        case ValueId::VowelChain: return Plain(row.vTotal);
        case ValueId::ConsonantChain: return Plain(row.cTotal);
        case ValueId::TotalChain: return Plain(row.total);
        case ValueId::VowelDigit: return Digit(row.vTotal);
        case ValueId::ConsonantDigit: return Digit(row.cTotal);
        case ValueId::TotalDigit: return Digit(row.total);
        case ValueId::Dates: return Text(dates);
        case ValueId::DateChain: return Plain(row.dateTotals.dateTotal);
        case ValueId::MonthDayChain: return Plain(row.dateTotals.monthDay);
        case ValueId::DayChain: return Plain(row.dateTotals.dayTotal);
        case ValueId::NameDateChain: return Plain(row.nameDate);
        case ValueId::DateDigit: return Digit(row.dateTotals.dateTotal);
        case ValueId::NameDateDigit: return Digit(row.nameDate);
        case ValueId::DateDigitSum: return Number(row.state.DateDigitSum);
        case ValueId::Core: return Field{Field::Kind::Core, {}, 0};
        // Written by digit (VisitValue); the others are no values of a batch row, which has no rows
        // and no texts of the report's own.
        case ValueId::ChartCell:
        case ValueId::FixedText:
        case ValueId::Master:
        case ValueId::Data:
        case ValueId::VowelRow:
        case ValueId::ConsonantRow: break;
    }
    return Field{};
}

// The field of the value at index of the list, or the position as it was for a value that is no
// column of this run. The list is read at compile time, so that each column is code of its own
// with its key a constant, as if the columns had been written out one by one.
template <std::size_t index, typename Visit>
[[gnu::always_inline]] inline char* VisitValue(char* p, const BatchRow& row, std::string_view dataText,
                                               std::string_view dates, bool withDate, bool withCore, Visit& visit) {
    constexpr ValueName name = kValueNames[index];
    if constexpr (!name.InBatch()) {
        return p;
    } else if constexpr (name.id == ValueId::ChartCell) {
        // The three cells of a digit are written at its first one.
        if constexpr (name.chartCell % 3 != 0) {
            return p;
        } else {
            constexpr ValueName consonants = kValueNames[index + 1];
            constexpr ValueName total = kValueNames[index + 2];
            static_assert(consonants.chartCell == name.chartCell + 1 && consonants.InBatch() &&
                              total.chartCell == name.chartCell + 2 && total.InBatch(),
                          "the three cells of a chart digit are batch columns one after the other");
            static constexpr std::string_view kCells[] = {name.key, consonants.key, total.key};
            const int digit = name.chartCell / 3 + 1;
            const Field field{Field::Kind::ChartDigit,    {},    row.chart.Vowel(digit),
                              row.chart.Consonant(digit), digit, kCells};
            return visit(p, name.key, field);
        }
    } else {
        if constexpr (name.group == ValueGroup::OfTheDate) {
            if (!withDate) return p;
            if (!row.hasDate) return visit(p, name.key, Field{});
        }
        if constexpr (name.id == ValueId::Core) {
            if (!withCore) return p;
        }
        return visit(p, name.key, FieldOf(name.id, row, dataText, dates));
    }
}

template <typename Visit, std::size_t... index>
[[gnu::always_inline]] inline char* VisitValues(char* p, const BatchRow& row, std::string_view dataText,
                                                std::string_view dates, bool withDate, bool withCore, Visit& visit,
                                                std::index_sequence<index...>) {
    ((p = VisitValue<index>(p, row, dataText, dates, withDate, withCore, visit)), ...);
    return p;
}

// Calls p = visit(p, key, field) for every output field of the row, in the order of the columns,
// and returns the last p. The header and every format are written from this one list. The write
// position goes through the calls by value, so that the compiler can keep it in a register: a
// position held in memory would be reloaded after every character written.
template <typename Visit>
[[gnu::always_inline]] inline char* VisitFields(char* p, const BatchRow& row, std::string_view dataText,
                                                std::string_view dates, bool withDate, bool withCore, Visit visit) {
    constexpr auto kAll = std::make_index_sequence<kValueNames.size()>{};
    return VisitValues(p, row, dataText, dates, withDate, withCore, visit, kAll);
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

char* PutKey(char* out, std::string_view key) {
    *out++ = '"';
    out = PutShort(out, key);
    *out++ = '"';
    *out++ = ':';
    return out;
}

// Room for the core numbers of a row: six keys, chains, digits and masters.
constexpr std::size_t kCoreBytes = 1024;

// The core numbers: in CSV and TSV a column of the final digit and one of the master number
// (empty without one) for each, each followed by a separator as every field is; in JSON the
// object "core" as "analyse --json" has it, with only the numbers the row has.
char* PutCore(char* p, const BatchRow& row, OutputFormat format, bool withDate) {
    if (format == OutputFormat::JsonLines) {
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
    const bool withDate = withDate_;
    char* p = VisitFields(out.Reserve(kRowBytesBesideTexts), BatchRow{}, {}, {}, withDate_, withCore_,
                          [separator, withDate](char* at, std::string_view key, const Field& field) {
                              switch (field.kind) {
                                  case Field::Kind::ChartDigit:
                                      for (int cell = 0; cell < 3; ++cell) {
                                          at = PutShort(at, field.cellNames[cell]);
                                          *at++ = separator;
                                      }
                                      return at;
                                  case Field::Kind::Core:
                                      for (const CoreName name : kCoreNames) {
                                          if (!withDate && OfTheDate(name)) continue;
                                          at = PutShort(at, KeyOf(name));
                                          *at++ = separator;
                                          at = PutShort(at, KeyOf(name));
                                          at = PutShort(at, "_master");
                                          *at++ = separator;
                                      }
                                      return at;
                                  case Field::Kind::Text:
                                  case Field::Kind::Plain:
                                  case Field::Kind::Number:
                                  case Field::Kind::Count:
                                  case Field::Kind::Null:
                                  case Field::Kind::Absent: break;
                              }
                              at = PutShort(at, key);
                              *at++ = separator;
                              return at;
                          });
    p[-1] = '\n';  // the last separator ends the line
    out.Commit(p);
}

void RowWriter::AppendRow(const BatchRow& row, ByteBuffer& out) {
    const std::string_view dataText = row.dataText;
    char* p =
        out.Reserve(kRowBytesBesideTexts + (withCore_ ? kCoreBytes : 0) + 6 * (dataText.size() + row.dates.size()));
    switch (format_) {
        case OutputFormat::Csv:
        case OutputFormat::Tsv: {
            const bool csv = format_ == OutputFormat::Csv;
            const auto& numbers = numbers_;
            const auto& triples = triples_;
            const OutputFormat format = format_;
            const bool withDate = withDate_;
            // Written into each column's own code (VisitValue), where the field's kind is known.
            auto put = [ csv, format, withDate, &row, &numbers, &
                         triples ](char* at, std::string_view, const Field& field) __attribute__((always_inline)) {
                switch (field.kind) {
                    case Field::Kind::ChartDigit:
                        // A name has at most 40 characters: its counts have a written triple.
                        if (field.number <= kTripleCounts && field.consonants <= kTripleCounts) {
                            const ChartTriple& known = triples[static_cast<std::size_t>(
                                field.number * (kTripleCounts + 1) + field.consonants)];
                            std::memcpy(at, known.bytes, sizeof known.bytes);
                            return at + known.size;
                        }
                        for (const long long count :
                             {field.number, field.consonants, field.number + field.consonants}) {
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
                    case Field::Kind::Core: return PutCore(at, row, format, withDate);
                    case Field::Kind::Null:
                    case Field::Kind::Absent: break;
                }
                *at++ = csv ? ',' : '\t';
                return at;
            };
            p = VisitFields(p, row, dataText, row.dates, withDate_, withCore_, put);
            p[-1] = '\n';  // the last separator ends the line
            break;
        }
        case OutputFormat::JsonLines:
            *p++ = '{';
            auto put = [&row](char* at, std::string_view key, const Field& field) __attribute__((always_inline)) {
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
                        const long long counts[] = {field.number, field.consonants, field.number + field.consonants};
                        for (std::size_t cell = 0; cell < std::size(counts); ++cell) {
                            if (cell > 0) *at++ = ',';
                            at = PutKey(at, field.cellNames[cell]);
                            *at++ = '"';
                            at = PutNumber(at, counts[cell]);
                            *at++ = '"';
                        }
                        break;
                    }
                    case Field::Kind::Core: at = PutCore(at, row, OutputFormat::JsonLines, true); break;
                    case Field::Kind::Null: at = PutShort(at, "null"); break;
                    case Field::Kind::Absent: break;
                }
                *at++ = ',';
                return at;
            };
            p = VisitFields(p, row, dataText, row.dates, withDate_, withCore_, put);
            p[-1] = '}';  // in place of the last comma; every row has fields
            *p++ = '\n';
            break;
    }
    out.Commit(p);
}

}  // namespace quillon::batch
