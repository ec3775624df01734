#pragma once
// The reading side of a batch run: the input a block at a time, cut after the last record that
// ends in it, so that every chunk handed on holds whole records.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "batch/Csv.h"

namespace quillon::batch {

// Whole records cut from the input, or a record too long to hold that was read past.
struct Chunk {
    std::string bytes;
    std::uint64_t sourceBytes = 0;  // input bytes the chunk stands for
    bool oversized = false;
    std::uint64_t oversizedLines = 0;  // newlines the skipped record spanned
};

// Reads the input a block at a time and cuts it after the last record that ends in it; the rest
// waits for the next block.
class BlockReader {
public:
    BlockReader(const BatchOptions& options, const ByteSource& input) : options_(options), input_(input) {}

    // Fills chunk with the next records; false at the end of the input and when reading failed.
    bool Next(Chunk& chunk);

    const std::optional<std::string>& Failure() const { return failure_; }

private:
    // Appends up to a block of input to buffer; a byte-order mark at the very start is dropped.
    bool Fill(std::string& buffer);

    std::size_t LastRecordEnd(std::string_view text) {
        return options_.column ? scanner_.LastRecordEnd(text) : LastLineEnd(text);
    }

    std::size_t FirstRecordEnd(std::string_view text) {
        return options_.column ? scanner_.FirstRecordEnd(text) : FirstLineEnd(text);
    }

    // How much of text the search for record ends has seen. A list's final carriage return is
    // looked at again with the byte after it; the CSV scanner remembers it itself.
    std::size_t ScannedOf(std::string_view text) const {
        return !options_.column && text.ends_with('\r') ? text.size() - 1 : text.size();
    }

    // Reads past a record longer than the limit instead of holding it: the chunk then stands for
    // the skipped record alone. What follows the record's end waits, not yet scanned, for Next.
    bool SkipLongRecord(Chunk& chunk);

    const BatchOptions& options_;
    const ByteSource& input_;
    std::string pending_;             // the start of a record that has not ended yet
    std::size_t pendingScanned_ = 0;  // how much of it the scanner has seen
    bool eof_ = false;
    bool started_ = false;
    CsvBoundaryScanner scanner_;
    std::optional<std::string> failure_;
};

}  // namespace quillon::batch
