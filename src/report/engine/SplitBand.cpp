#include "report/engine/SplitBand.h"

#include <algorithm>

namespace quillon {

BandSplitter::BandSplitter(std::vector<SplitPiece> pieces, int bandHeight)
    : pieces_(std::move(pieces)), nextLine_(pieces_.size(), 0), bandHeight_(bandHeight) {
    for (SplitPiece& piece : pieces_) piece.lineHeight = std::max(1, piece.lineHeight);
}

SplitPart BandSplitter::Next(std::int64_t available, bool atPageTop) {
    // Line k of a memo at top T occupies [T + k x line height, T + (k + 1) x line height). The
    // part ends at the page's end (or the band's), or earlier at the top of the first line that
    // would be cut.
    std::int64_t end = std::min(offset_ + available, bandHeight_);
    auto fits = [&](const SplitPiece& piece, std::size_t line, std::int64_t limit) {
        return LineTop(piece, line + 1) <= limit;
    };
    for (std::size_t i = 0; i < pieces_.size(); ++i) {
        const SplitPiece& piece = pieces_[i];
        std::size_t line = nextLine_[i];
        while (line < piece.lines && fits(piece, line, end)) ++line;
        if (line < piece.lines && LineTop(piece, line) < end && LineTop(piece, line) > offset_)
            end = LineTop(piece, line);
    }

    SplitPart part;
    part.from = offset_;
    part.to = end;
    for (std::size_t i = 0; i < pieces_.size(); ++i) {
        const SplitPiece& piece = pieces_[i];
        if (piece.lines == 0) {
            if (piece.top >= offset_ && piece.top < end) part.outputs.push_back({i, 0, 0, piece.top});
            continue;
        }
        std::size_t& next = nextLine_[i];
        if (next >= piece.lines || LineTop(piece, next) >= end) continue;
        std::size_t line = next;
        while (line < piece.lines && fits(piece, line, end)) ++line;
        // A line taller than a whole page goes alone and is clipped.
        if (line == next && end - offset_ == available && atPageTop) ++line;
        if (line > next) {
            part.outputs.push_back({i, next, line - next, LineTop(piece, next)});
            next = line;
        }
    }
    offset_ = end;
    return part;
}

}  // namespace quillon
