#pragma once
// A batch run: reads names from a byte source in large blocks, cuts the blocks at record ends,
// analyses the blocks on a small pool of worker threads and writes their rows to a byte sink in
// input order. Only a bounded number of blocks is in flight, so memory stays flat whatever the
// size of the input. Rows that cannot be analysed are reported with their line numbers and
// skipped; the run goes on.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "batch/BatchOptions.h"

namespace quillon::batch {

// What one read gave: bytes (0 at the end of the input), or the reason it failed.
struct ReadResult {
    std::size_t bytes = 0;
    std::optional<std::string> error;
};

// Reads up to size bytes into buffer.
using ByteSource = std::function<ReadResult(char* buffer, std::size_t size)>;
// Writes all the bytes; returns the reason it failed, or nothing.
using ByteSink = std::function<std::optional<std::string>(std::string_view bytes)>;

struct SkippedRow {
    std::uint64_t line = 0;  // 1-based line of the input where the row starts
    std::string reason;
};

struct BatchProgress {
    std::uint64_t bytesRead = 0;  // input bytes whose rows have been written
    std::uint64_t rows = 0;       // rows analysed (skipped and filtered ones included)
};

// Called on the thread that called RunBatch, in input order.
struct BatchCallbacks {
    std::function<void(const SkippedRow&)> skipped;
    std::function<void(const BatchProgress&)> progress;
};

struct BatchOutcome {
    std::uint64_t rowsRead = 0;     // rows found in the input, skipped ones included
    std::uint64_t rowsWritten = 0;  // rows that passed the filter and were written
    std::uint64_t rowsSkipped = 0;
    // Set when the run stopped: the input could not be read, the output not written, or the
    // header lacks a named column. The output is then incomplete.
    std::optional<std::string> failure;
};

BatchOutcome RunBatch(const BatchOptions& options, const ByteSource& input, const ByteSink& output,
                      const BatchCallbacks& callbacks = {});

}  // namespace quillon::batch
