#include "batch/BatchRun.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "batch/BatchRow.h"
#include "batch/BlockReader.h"
#include "batch/Csv.h"

namespace quillon::batch {
namespace {

// What a worker made of a chunk. Line numbers of skipped rows count from the chunk's first line
// (0); the writer adds the lines before it, which only it knows.
struct ChunkResult {
    ByteBuffer output;
    std::vector<SkippedRow> skipped;
    std::uint64_t lines = 0;  // newlines in the chunk
    std::uint64_t rows = 0;
    std::uint64_t written = 0;
};

// The input's column numbers (0-based) of the name and of the date.
struct Columns {
    std::size_t name = 0;
    std::optional<std::size_t> date;
};

std::string Describe(const ColumnRef& column) {
    return column.ByName() ? "\"" + column.name + "\"" : std::to_string(column.number);
}

// One worker's analysis of chunks, with the buffers it keeps between them.
class ChunkWorker {
public:
    ChunkWorker(const BatchOptions& options, const Columns& columns)
        : options_(options),
          columns_(columns),
          analyser_(options),
          writer_(options.format, options.HasDate(), options.core) {}

    void Process(const Chunk& chunk, ChunkResult& result) {
        result.output.Clear();
        result.skipped.clear();
        result.rows = 0;
        result.written = 0;
        if (chunk.oversized) {
            result.lines = chunk.oversizedLines;
            result.rows = 1;
            result.skipped.push_back({0, "longer than " + std::to_string(options_.maxRecordBytes) + " bytes"});
            return;
        }
        const std::string_view text = chunk.bytes;
        std::uint64_t line = 0;
        if (!options_.column) {
            for (std::size_t at = 0; at < text.size(); ++line) {
                const std::size_t lineEnd = NextLineEnd(text, at);
                const std::size_t end = lineEnd == std::string_view::npos ? text.size() : lineEnd;
                Row(line, text.substr(at, end - at), std::nullopt, result);
                if (lineEnd == std::string_view::npos) break;
                at = AfterLineEnd(text, lineEnd);
            }
        } else {
            for (std::size_t at = 0; at < text.size();) {
                const CsvRecord record = ReadCsvRecord(text, at, fields_, fieldCount_);
                if (!record.closed) {
                    ++result.rows;
                    result.skipped.push_back({line, "a quoted field is not closed"});
                } else if (!record.blank) {
                    CsvRow(line, result);
                }
                line += record.newlines;
                at = record.end;
            }
        }
        result.lines = line;
    }

private:
    void CsvRow(std::uint64_t line, ChunkResult& result) {
        auto missing = [&](const ColumnRef& column) {
            ++result.rows;
            result.skipped.push_back({line, "no column " + Describe(column)});
        };
        if (columns_.name >= fieldCount_) return missing(*options_.column);
        std::optional<std::string_view> date;
        if (columns_.date) {
            if (*columns_.date >= fieldCount_) return missing(*options_.dateColumn);
            date = fields_[*columns_.date];
        }
        Row(line, fields_[columns_.name], date, result);
    }

    void Row(std::uint64_t line, std::string_view name, std::optional<std::string_view> date, ChunkResult& result) {
        ++result.rows;
        if (auto error = analyser_.Analyse(name, date, row_)) {
            result.skipped.push_back({line, std::move(*error)});
            return;
        }
        if (!Keeps(row_, options_.where)) return;
        writer_.AppendRow(row_, result.output);
        ++result.written;
    }

    const BatchOptions& options_;
    const Columns& columns_;
    RowAnalyser analyser_;
    RowWriter writer_;
    BatchRow row_;
    std::vector<std::string> fields_;
    std::size_t fieldCount_ = 0;
};

// Hands results to the output in input order, numbering the skipped rows' lines.
class OrderedOutput {
public:
    OrderedOutput(const ByteSink& output, const BatchCallbacks& callbacks, BatchOutcome& outcome,
                  std::uint64_t linesBefore, std::uint64_t bytesBefore)
        : output_(output), callbacks_(callbacks), outcome_(outcome), lines_(linesBefore), bytes_(bytesBefore) {}

    bool Write(std::string_view bytes) {
        if (bytes.empty()) return true;
        if (auto error = output_(bytes)) {
            outcome_.failure = std::move(error);
            return false;
        }
        return true;
    }

    bool Emit(const Chunk& chunk, const ChunkResult& result) {
        for (const SkippedRow& skipped : result.skipped) {
            if (callbacks_.skipped) callbacks_.skipped({lines_ + skipped.line + 1, skipped.reason});
        }
        outcome_.rowsRead += result.rows;
        outcome_.rowsSkipped += result.skipped.size();
        outcome_.rowsWritten += result.written;
        lines_ += result.lines;
        bytes_ += chunk.sourceBytes;
        if (!Write(result.output.View())) return false;
        if (callbacks_.progress) callbacks_.progress({bytes_, outcome_.rowsRead});
        return true;
    }

private:
    const ByteSink& output_;
    const BatchCallbacks& callbacks_;
    BatchOutcome& outcome_;
    std::uint64_t lines_;
    std::uint64_t bytes_;
};

// Reads the header record off the first chunk and finds the named columns in it.
std::optional<std::string> TakeHeader(const BatchOptions& options, Chunk& chunk, Columns& columns, std::uint64_t& lines,
                                      std::uint64_t& bytes) {
    if (chunk.oversized) return "the header is longer than " + std::to_string(options.maxRecordBytes) + " bytes";
    std::vector<std::string> fields;
    std::size_t count = 0;
    const CsvRecord header = ReadCsvRecord(chunk.bytes, 0, fields, count);
    if (!header.closed) return std::string("the header has a quoted field that is not closed");
    lines = header.newlines;
    bytes = header.end;
    chunk.bytes.erase(0, header.end);
    chunk.sourceBytes -= header.end;
    auto find = [&](const ColumnRef& column) -> std::optional<std::size_t> {
        if (!column.ByName()) return column.number - 1;
        for (std::size_t i = 0; i < count; ++i) {
            if (fields[i] == column.name) return i;
        }
        return std::nullopt;
    };
    const auto name = find(*options.column);
    if (!name) return "no column " + Describe(*options.column) + " in the header";
    columns.name = *name;
    if (options.dateColumn) {
        columns.date = find(*options.dateColumn);
        if (!columns.date) return "no column " + Describe(*options.dateColumn) + " in the header";
    }
    return std::nullopt;
}

// Several workers take chunks in turn; the calling thread reads the input and writes the results
// in order. At most `capacity` chunks are read and not yet written.
class WorkerPool {
public:
    WorkerPool(const BatchOptions& options, const Columns& columns)
        : capacity_(static_cast<std::size_t>(options.threads) * 2 + 1) {
        slots_.resize(capacity_);
        for (int i = 0; i < options.threads; ++i) {
            threads_.emplace_back([this, &options, &columns] { Work(ChunkWorker(options, columns)); });
        }
    }

    ~WorkerPool() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        workAvailable_.notify_all();
        for (std::thread& thread : threads_) thread.join();
    }

    // Runs the whole input through the pool; the first chunk has been read already.
    void Run(BlockReader& reader, Chunk first, OrderedOutput& output) {
        std::uint64_t read = 0;
        std::uint64_t written = 0;
        bool more = true;
        Submit(read++, std::move(first));
        for (;;) {
            // Write what is ready first, so that its slot can take the next chunk.
            while (written < read && Done(slots_[written % capacity_])) {
                if (!output.Emit(slots_[written % capacity_].chunk, slots_[written % capacity_].result)) return;
                ++written;
            }
            if (more && read - written < capacity_) {
                Chunk& chunk = slots_[read % capacity_].chunk;
                if (reader.Next(chunk)) {
                    Submit(read++, std::nullopt);
                } else {
                    more = false;
                }
                continue;
            }
            if (written == read) return;
            Slot& slot = slots_[written % capacity_];
            {
                std::unique_lock lock(mutex_);
                resultReady_.wait(lock, [&slot] { return slot.done; });
            }
            if (!output.Emit(slot.chunk, slot.result)) return;
            ++written;
        }
    }

private:
    struct Slot {
        Chunk chunk;
        ChunkResult result;
        bool done = false;
    };

    bool Done(const Slot& slot) {
        std::lock_guard lock(mutex_);
        return slot.done;
    }

    void Submit(std::uint64_t sequence, std::optional<Chunk> chunk) {
        Slot& slot = slots_[sequence % capacity_];
        if (chunk) slot.chunk = std::move(*chunk);
        {
            std::lock_guard lock(mutex_);
            slot.done = false;
            queue_.push_back(&slot);
        }
        workAvailable_.notify_one();
    }

    void Work(ChunkWorker worker) {
        for (;;) {
            Slot* slot = nullptr;
            {
                std::unique_lock lock(mutex_);
                workAvailable_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
                if (stopping_) return;
                slot = queue_.front();
                queue_.pop_front();
            }
            worker.Process(slot->chunk, slot->result);
            {
                std::lock_guard lock(mutex_);
                slot->done = true;
            }
            resultReady_.notify_one();
        }
    }

    const std::size_t capacity_;
    std::vector<Slot> slots_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable workAvailable_;
    std::condition_variable resultReady_;
    std::deque<Slot*> queue_;
    bool stopping_ = false;
};

}  // namespace

BatchOutcome RunBatch(const BatchOptions& options, const ByteSource& input, const ByteSink& output,
                      const BatchCallbacks& callbacks) {
    BatchOutcome outcome;
    BlockReader reader(options, input);
    Columns columns;
    std::uint64_t headerLines = 0;
    std::uint64_t headerBytes = 0;

    Chunk first;
    const bool any = reader.Next(first);
    if (reader.Failure()) {
        outcome.failure = reader.Failure();
        return outcome;
    }
    const bool inputHeader =
        options.column && (options.column->ByName() || (options.dateColumn && options.dateColumn->ByName()));
    if (any && inputHeader) {
        if (auto error = TakeHeader(options, first, columns, headerLines, headerBytes)) {
            outcome.failure = std::move(error);
            return outcome;
        }
    } else if (options.column) {
        columns.name = options.column->number - 1;
        if (options.dateColumn) columns.date = options.dateColumn->number - 1;
    }

    OrderedOutput ordered(output, callbacks, outcome, headerLines, headerBytes);
    if (options.header) {
        ByteBuffer header;
        RowWriter(options.format, options.HasDate(), options.core).AppendHeader(header);
        if (!ordered.Write(header.View())) return outcome;
    }
    if (!any) return outcome;

    if (options.threads <= 1) {
        ChunkWorker worker(options, columns);
        ChunkResult result;
        Chunk chunk = std::move(first);
        do {
            worker.Process(chunk, result);
            if (!ordered.Emit(chunk, result)) return outcome;
        } while (reader.Next(chunk));
    } else {
        WorkerPool pool(options, columns);
        pool.Run(reader, std::move(first), ordered);
    }
    if (!outcome.failure && reader.Failure()) outcome.failure = reader.Failure();
    return outcome;
}

}  // namespace quillon::batch
