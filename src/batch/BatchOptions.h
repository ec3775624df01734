#pragma once
// What a batch run is asked to do: how to read the input, how to analyse each row, which rows to
// keep and how to write them. The command line fills it; the batch core only reads it. Nothing
// here reads the clock or the regional settings: today's date and the date settings are given.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "numerology/Dates.h"
#include "numerology/LetterValues.h"

namespace quillon::batch {

enum class OutputFormat { Csv, Tsv, JsonLines };

// A column of a CSV input, named by its header text or by its 1-based number.
struct ColumnRef {
    std::string name;     // used when number is 0
    std::size_t number = 0;

    bool ByName() const { return number == 0; }
};

// The chains a --where clause can test.
enum class WhereKey { Vowels, Consonants, Total, Date, NameDate };

// Keeps the rows whose chain of key ends in digit.
struct WhereClause {
    WhereKey key = WhereKey::Total;
    int digit = 0;
};

struct BatchOptions {
    LetterSystem system = LetterSystem::Pythagorean;
    // Every Y read as a vowel; otherwise every Y stays a consonant, as when the Y dialog is
    // answered with Escape.
    bool vowelYAll = false;

    // Without a column each line is a name; with one the input is CSV.
    std::optional<ColumnRef> column;
    std::optional<ColumnRef> dateColumn;
    // One date for every row (exclusive with dateColumn).
    std::optional<CivilDate> date;
    // How the date column is read, as the date field reads typed text.
    DateSettings dateSettings;
    CivilDate today;
    // Upper-cases a date text before it is read; ReadDate's own upper-casing (ASCII and Latin-1)
    // when empty. Called from several threads at once.
    std::function<std::u16string(std::u16string_view)> upperCaseDate;

    std::vector<WhereClause> where;
    OutputFormat format = OutputFormat::Csv;
    bool header = true;

    // Worker threads; 1 does all the work on the calling thread.
    int threads = 1;
    // Bytes read at a time and handed to one worker.
    std::size_t blockBytes = 128 * 1024;
    // A record longer than this is skipped rather than held in memory.
    std::size_t maxRecordBytes = 1024 * 1024;

    bool HasDate() const { return date.has_value() || dateColumn.has_value(); }
};

// The key a --where clause names ("vowels", "consonants", "total", "date", "namedate").
std::optional<WhereKey> WhereKeyFromName(std::string_view name);

}  // namespace quillon::batch
