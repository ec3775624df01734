#pragma once
// One row of a batch: the name (and date) analysed exactly as the analysis window analyses a
// pasted text after a date calculation, the --where test, and the row written as CSV, TSV or a
// JSON line. The keys are those of "quillon analyse --json", so that a row of a batch and the JSON
// of the same name can be compared key by key.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/BatchOptions.h"
#include "batch/ByteBuffer.h"
#include "numerology/Analysis.h"
#include "numerology/AnalysisValues.h"
#include "numerology/ReduceChain.h"

namespace quillon::batch {

struct BatchRow {
    std::string dataText;  // the data text as analysed, UTF-8: normalised, vowel Ys in lowercase
    AnalysisState state;   // the four sums and the date sum
    DigitChart chart;
    // The reduction chains of the three sums; they point into a table of chains that lives as
    // long as the program, or into spill for a sum past its end.
    std::string_view vTotal, cTotal, total;
    std::string nameDate;  // the name-plus-date chain, empty without one
    std::array<std::string, 3> spill;
    bool hasDate = false;
    std::optional<CivilDate> date;
    std::string dates;  // the date as the date field shows it, UTF-8
    DateTotals dateTotals;
    CoreNumbers core;  // only when the run needs them
};

// The four sums and the chart of a data text, as AnalyseData and CountDigits give them, in one
// pass and without the two rows, which a batch does not write. The letter values come from
// Classify. A text of ASCII bytes is analysed as it is: each byte is one code unit.
void AnalyseTotals(std::u16string_view data, LetterSystem system, AnalysisState& state, DigitChart& chart);
void AnalyseTotals(std::string_view asciiData, LetterSystem system, AnalysisState& state, DigitChart& chart);

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
    // The name as the Paste command puts it into the data field, with the run's answer for the
    // Ys; analysed into row.
    void TakeAsciiName(std::string_view name, BatchRow& row);
    std::optional<std::string> TakeName(std::string_view name, BatchRow& row);
    std::string_view ChainOf(std::int32_t sum, std::string& spill) const;

    const BatchOptions& options_;
    const bool needsCore_;
    const LetterEffects& effects_;
    const std::array<std::string, kSmallReduceChains>& chains_;
    // What each ASCII byte becomes in the data field: a to z capitals, Y the run's answer.
    std::array<char, 128> typed_{};
    std::u16string decoded_;
    std::u16string normalised_;
    AnalysisResult folded_;  // the analysis of a name with accents folded
    // The date given for every row, calculated once.
    DateValues fixedDate_;
};

// Whether the row passes every --where clause.
bool Keeps(const BatchRow& row, const std::vector<WhereClause>& where);

// Writes rows in one of the output formats.
class RowWriter {
public:
    RowWriter(OutputFormat format, bool withDate, bool withCore = false);

    // The header line of CSV and TSV; nothing for JSON Lines.
    void AppendHeader(ByteBuffer& out) const;
    void AppendRow(const BatchRow& row, ByteBuffer& out);

    // A number from 0 to 999 and the field separator after it, as four bytes and their length,
    // written with one store: most fields of a CSV or TSV row are such numbers.
    struct NumberField {
        char bytes[4];
        std::uint8_t size;
    };
    // The three cells of a chart digit, vowels and consonants up to kTripleCounts, with their
    // separators ("2,1,3,"): nine stores for the 27 cells.
    static constexpr int kTripleCounts = 40;
    struct ChartTriple {
        char bytes[15];
        std::uint8_t size;
    };

private:
    static constexpr std::size_t kTripleCount = (kTripleCounts + 1) * (kTripleCounts + 1);

    OutputFormat format_;
    bool withDate_;
    bool withCore_;
    std::array<NumberField, 1000> numbers_{};
    std::vector<ChartTriple> triples_;
};

}  // namespace quillon::batch
