#pragma once
// Cutting a band that is taller than a page into parts, one part a page. A memo is cut between
// its wrapped lines, never through one; any other object goes whole to the part in which its top
// lies. Positions are in report units within the band.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillon {

// An object of the band: a memo with its wrapped lines, or (no lines) an object that is not cut.
struct SplitPiece {
    int top = 0;            // within the band
    int lineHeight = 1;     // of a memo's lines, at least 1
    std::size_t lines = 0;  // wrapped lines of a memo; 0 for an object that is not cut
};

// What one page takes of one piece: lines [firstLine, firstLine + lineCount) of a memo drawn as a
// memo of its own whose top is partTop, or the whole object (lineCount 0).
struct SplitOutput {
    std::size_t piece = 0;
    std::size_t firstLine = 0;
    std::size_t lineCount = 0;
    std::int64_t partTop = 0;  // within the band
};

struct SplitPart {
    std::int64_t from = 0, to = 0;  // the slice of the band on this page, [from, to)
    std::vector<SplitOutput> outputs;
};

class BandSplitter {
public:
    BandSplitter(std::vector<SplitPiece> pieces, int bandHeight);

    bool Done() const { return offset_ >= bandHeight_; }

    // The next part, for a page with `available` units left (more than 0). The part ends where no
    // memo line would be cut; when even the first line that is due does not fit on a whole empty
    // page (atPageTop), it goes alone and is clipped, so every part makes progress.
    SplitPart Next(std::int64_t available, bool atPageTop);

private:
    // Positions within the band run in 64 bits: many lines go past an int.
    std::int64_t LineTop(const SplitPiece& piece, std::size_t line) const {
        return piece.top + static_cast<std::int64_t>(line) * piece.lineHeight;
    }

    std::vector<SplitPiece> pieces_;
    std::vector<std::size_t> nextLine_;
    std::int64_t bandHeight_;
    std::int64_t offset_ = 0;
};

}  // namespace quillon
