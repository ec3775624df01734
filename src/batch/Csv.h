#pragma once
// Records and fields of CSV text (RFC 4180: fields separated by commas, quoted fields that may hold
// commas, doubled quotes and newlines), and the escaping of fields in the three output formats.
//
// The reading is lenient where the RFC leaves a text malformed: a quote inside an unquoted field is
// an ordinary character, and characters after a closing quote are appended to the field. So
// a"b,"c"d reads as the two fields a"b and cd. Only a quoted field that never closes is refused,
// because it would swallow the rest of the input into one field.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::batch {

// Lines end with a line feed, a carriage return and a line feed, or a carriage return alone (as in
// old Mac files).

// Where the next line starts after the line end that starts at `at` (text[at] is a line feed or a
// carriage return).
inline std::size_t AfterLineEnd(std::string_view text, std::size_t at) {
    return text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? at + 2 : at + 1;
}
// How many lines end in the text (a final carriage return ends one).
std::size_t CountLineEnds(std::string_view text);
// One past the first or the last line end in the text, npos when none. A carriage return that is
// the text's last byte may be the first half of a pair, and is not taken for a line end.
std::size_t FirstLineEnd(std::string_view text);
std::size_t LastLineEnd(std::string_view text);

// Where a reader stands inside CSV text, between two bytes.
enum class CsvState {
    FieldStart,  // at the start of a field (and of a record)
    Unquoted,    // inside an unquoted field, or after the closing quote of a quoted one
    Quoted,      // inside a quoted field
    QuoteSeen,   // just after a quote inside a quoted field: a closing quote, or the first of two
};

// Finds where records end in CSV text that arrives a block at a time. Feed it the bytes in order;
// it remembers its state between calls, so a record may span any number of blocks.
class CsvBoundaryScanner {
public:
    // Scans text and returns one past the last newline in it that ends a record, or npos when no
    // record ends in it.
    std::size_t LastRecordEnd(std::string_view text);
    // Scans text up to the first newline that ends a record and returns one past it; npos, with
    // all of text scanned, when no record ends in it.
    std::size_t FirstRecordEnd(std::string_view text);

private:
    std::size_t Scan(std::string_view text, bool stopAtFirst);

    CsvState state_ = CsvState::FieldStart;
    // The last block ended with a carriage return outside quotes: the next byte tells whether it
    // ended the record by itself.
    bool carriageReturnPending_ = false;
};

// One record read from CSV text.
struct CsvRecord {
    std::size_t end = 0;       // position after the record's newline, or the end of the text
    std::size_t newlines = 0;  // newlines the record spans, its own final one included
    bool closed = true;        // false when a quoted field runs to the end of the text
    bool blank = false;        // an empty line: no field at all
};

// Reads the record that starts at begin, putting its fields into fields (whose strings are reused
// to spare allocations; fieldCount tells how many are in use). The record ends at a line end
// outside quotes, which is no part of its last field.
CsvRecord ReadCsvRecord(std::string_view text, std::size_t begin, std::vector<std::string>& fields,
                        std::size_t& fieldCount);

// The three output formats' way of writing one text field at out; each returns the end of what it
// wrote. The caller provides room for the longest form: 2 * size + 2 bytes for CSV, 2 * size for
// TSV, 6 * size + 2 for JSON.
char* PutCsvField(char* out, std::string_view field);
// Tab-separated fields cannot hold tabs or line ends: those, and the backslash, are escaped as
// \t, \n, \r and \\.
char* PutTsvField(char* out, std::string_view field);
// A JSON string with its quotes.
char* PutJsonString(char* out, std::string_view text);

}  // namespace quillon::batch
