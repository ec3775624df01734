#pragma once
// One row of a batch: the name (and date) analysed exactly as the analysis window analyses a
// pasted text after a date calculation, the --where test, and the row written as CSV, TSV or a
// JSON line. The keys are those of "quillon analyse --json", so that a row of a batch and the JSON
// of the same name can be compared key by key.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/BatchOptions.h"
#include "batch/ByteBuffer.h"
#include "numerology/Analysis.h"

namespace quillon::batch {

struct BatchRow {
    std::u16string data;  // the data text as analysed: normalised, vowel Ys in lowercase
    AnalysisState state;  // the four sums and the date sum
    DigitChart chart;
    // The reduction chains of the three sums; they point into a table of chains that lives as
    // long as the program, or into spill for a sum past its end.
    std::string_view vTotal, cTotal, total;
    std::string nameDate;  // the name-plus-date chain, empty without one
    std::array<std::string, 3> spill;
    bool hasDate = false;
    std::string dates;  // the date as the date field shows it, UTF-8
    DateTotals dateTotals;
};

// The four sums and the chart of a data text, as AnalyseData and CountDigits give them, in one
// pass and without the two rows, which a batch does not write. The letter values come from
// Classify.
void AnalyseTotals(std::u16string_view data, LetterSystem system, AnalysisState& state, DigitChart& chart);

// The last digit of a chain, or nothing for an empty one (no name-plus-date value).
std::optional<int> FinalDigit(std::string_view chain);

// Analyses the rows of one worker; holds the buffers it reuses from row to row.
class RowAnalyser {
public:
    explicit RowAnalyser(const BatchOptions& options);

    // Analyses a name given as UTF-8 and, with a date column, the row's date text (an empty text
    // means the row has no date). Returns why the row cannot be analysed, or nothing.
    std::optional<std::string> Analyse(std::string_view name, std::optional<std::string_view> dateText, BatchRow& row);

private:
    std::optional<std::string> ReadRowDate(std::string_view text, BatchRow& row);

    const BatchOptions& options_;
    std::u16string decoded_;
    // The date given for every row, read once.
    std::string fixedDates_;
    DateTotals fixedTotals_;
};

// Whether the row passes every --where clause.
bool Keeps(const BatchRow& row, const std::vector<WhereClause>& where);

// Writes rows in one of the output formats.
class RowWriter {
public:
    RowWriter(OutputFormat format, bool withDate) : format_(format), withDate_(withDate) {}

    // The header line of CSV and TSV; nothing for JSON Lines.
    void AppendHeader(ByteBuffer& out) const;
    void AppendRow(const BatchRow& row, ByteBuffer& out);

private:
    OutputFormat format_;
    bool withDate_;
    std::string utf8_;
};

}  // namespace quillon::batch
