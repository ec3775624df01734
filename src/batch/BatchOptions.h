#pragma once
// What a batch run is asked to do: how to read the input, how to analyse each row, which rows to
// keep and how to write them. The command line fills it; the batch core only reads it. Nothing
// here reads the clock or the regional settings: today's date and the date settings are given.

#include <algorithm>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "numerology/CoreNumbers.h"
#include "numerology/Dates.h"
#include "numerology/LetterValues.h"

namespace quillon::batch {

enum class OutputFormat { Csv, Tsv, JsonLines };

// A column of a CSV input, named by its header text or by its 1-based number.
struct ColumnRef {
    std::string name;  // used when number is 0
    std::size_t number = 0;

    bool ByName() const { return number == 0; }
};

// The chains a --where clause can test: Core is one of the core numbers.
enum class WhereKey { Vowels, Consonants, Total, Date, NameDate, Core };

// Keeps the rows whose chain of key ends in digit. A core number is tested by its final digit, or
// by its master number when digit is 11, 22 or 33.
struct WhereClause {
    WhereKey key = WhereKey::Total;
    int digit = 0;
    CoreName core = CoreName::Expression;  // the number a Core clause tests
};

struct BatchOptions {
    LetterSystem system = LetterSystem::Pythagorean;
    // Every Y read as a vowel; otherwise every Y stays a consonant, as when the Y dialog is
    // answered with Escape.
    bool vowelYAll = false;
    // Accented letters valued as their base letters; accented Ys are Ys then.
    bool foldAccents = false;

    // Without a column each line is a name; with one the input is CSV.
    std::optional<ColumnRef> column;
    std::optional<ColumnRef> dateColumn;
    // One date for every row (exclusive with dateColumn).
    std::optional<CivilDate> date;
    // How the date column is read: strictly (ReadStrictDate), in the order of these settings.
    DateSettings dateSettings;
    CivilDate today;
    // Upper-cases a month name of a date before it is looked for; ReadStrictDate's own
    // upper-casing (ASCII and Latin-1) when empty. Called from several threads at once.
    std::function<std::u16string(std::u16string_view)> upperCaseDate;

    std::vector<WhereClause> where;
    OutputFormat format = OutputFormat::Csv;
    bool header = true;
    // The core numbers written after the other fields.
    bool core = false;

    // Worker threads; 1 does all the work on the calling thread.
    int threads = 1;
    // Bytes read at a time and handed to one worker.
    std::size_t blockBytes = 128 * 1024;
    // A record longer than this is skipped rather than held in memory.
    std::size_t maxRecordBytes = 1024 * 1024;

    bool HasDate() const { return date.has_value() || dateColumn.has_value(); }
    // Whether the rows need their core numbers: to write them or to test them.
    bool NeedsCore() const {
        return core || std::any_of(where.begin(), where.end(),
                                   [](const WhereClause& clause) { return clause.key == WhereKey::Core; });
    }
};

// The key a --where clause names ("vowels", "consonants", "total", "date", "namedate").
std::optional<WhereKey> WhereKeyFromName(std::string_view name);

}  // namespace quillon::batch
