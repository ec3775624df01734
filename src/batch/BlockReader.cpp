#include "batch/BlockReader.h"

#include <algorithm>

namespace quillon::batch {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

bool BlockReader::Next(Chunk& chunk) {
    chunk.bytes.swap(pending_);
    pending_.clear();
    chunk.oversized = false;
    chunk.oversizedLines = 0;
    std::size_t scanned = pendingScanned_;
    for (;;) {
        if (scanned < chunk.bytes.size()) {
            const std::size_t end = LastRecordEnd(std::string_view(chunk.bytes).substr(scanned));
            if (end != std::string_view::npos) {
                const std::size_t cut = scanned + end;
                pending_.assign(chunk.bytes, cut);
                pendingScanned_ = ScannedOf(pending_);
                chunk.bytes.resize(cut);
                chunk.sourceBytes = cut;
                return true;
            }
            scanned = ScannedOf(chunk.bytes);
            if (scanned > options_.maxRecordBytes) return SkipLongRecord(chunk);
        }
        if (eof_) {
            // The last record, without a line end.
            pendingScanned_ = 0;
            chunk.sourceBytes = chunk.bytes.size();
            return !chunk.bytes.empty();
        }
        if (!Fill(chunk.bytes)) return false;
    }
}

bool BlockReader::Fill(std::string& buffer) {
    const std::size_t start = buffer.size();
    const std::size_t want = std::max<std::size_t>(options_.blockBytes, kByteOrderMark.size());
    buffer.resize(start + want);
    std::size_t got = 0;
    while (got < want) {
        const ReadResult read = input_(buffer.data() + start + got, want - got);
        if (read.error) {
            failure_ = read.error;
            return false;
        }
        if (read.bytes == 0) {
            eof_ = true;
            break;
        }
        got += read.bytes;
    }
    buffer.resize(start + got);
    if (!started_) {
        started_ = true;
        if (std::string_view(buffer).starts_with(kByteOrderMark)) buffer.erase(0, kByteOrderMark.size());
    }
    return true;
}

bool BlockReader::SkipLongRecord(Chunk& chunk) {
    auto newlines = [](std::string_view text) { return static_cast<std::uint64_t>(CountLineEnds(text)); };
    chunk.oversized = true;
    chunk.oversizedLines = newlines(chunk.bytes);
    chunk.sourceBytes = chunk.bytes.size();
    std::string& block = chunk.bytes;
    while (!eof_) {
        block.clear();
        if (!Fill(block)) return false;
        const std::size_t end = FirstRecordEnd(block);
        if (end != std::string_view::npos) {
            chunk.sourceBytes += end;
            chunk.oversizedLines += newlines(std::string_view(block).substr(0, end));
            pending_.assign(block, end);
            pendingScanned_ = 0;
            break;
        }
        chunk.sourceBytes += block.size();
        chunk.oversizedLines += newlines(block);
    }
    chunk.bytes.clear();
    return true;
}

}  // namespace quillon::batch
