// The objects of a band put out into the prepared pages: a band's stretched height, its objects
// at their place on the page, and a band taller than the page split over as many pages as it needs.

#include <algorithm>
#include <memory>

#include "report/engine/Drawing.h"
#include "report/engine/ReportRun.h"
#include "report/engine/SplitBand.h"

namespace quillon {

std::int64_t ReportRun::StretchedHeight(TfrBand& band) {
    std::int64_t needed = band.Height;
    Guarded([&] {
        for (TfrView* object : band.Objects) {
            if (object->Kind() != ObjectKind::Memo) continue;
            auto& memo = static_cast<TfrMemoView&>(*object);
            TfrMemoView measured = memo;
            measured.Memo = output_.ExpandedText(memo);
            // Every wrapped line goes onto a page, so wrapping stops where the pages would be full.
            const WrappedMemo wrapped = WrapMemo(measured, scratch_, output_.RemainingLines());
            if (wrapped.lines.size() > output_.RemainingLines()) output_.ThrowTooManyLines();
            needed = std::max(needed, std::int64_t{memo.Top} + wrapped.textHeight);
            output_.KeepExpanded(memo, std::move(measured.Memo));
        }
    });
    return needed;
}

void ReportRun::DrawBandObjects(TfrBand& band) {
    const std::int64_t dx = xOffset_ - left_;
    if (band.Type == BandType::PageFooter || band.Type == BandType::Overlay || band.Type == BandType::None) {
        const std::int64_t top = band.Type == BandType::PageFooter ? place_.curBottom
                                 : band.Type == BandType::Overlay  ? band.Top
                                                                   : 0;
        Guarded([&] {
            for (TfrView* object : band.Objects) output_.Output(*object, dx, top);
        });
        return;
    }
    const int height = std::max(band.ComputedHeight, band.Height);
    if (band.Splitting) {
        DrawSplitBand(band, height);
        return;
    }
    if (place_.curBottom < place_.curY + height + ColumnFooterHeight() && place_.curY != top_) NewColumnOrPage();
    const std::int64_t top = place_.curY;
    Guarded([&] {
        for (TfrView* object : band.Objects) output_.Output(*object, dx, top);
    });
    place_.curY += height;
}

// A band taller than the page goes on over as many pages as it needs: each page takes the memo
// lines that fit whole, and the other objects whose top lies within its part of the band.
void ReportRun::DrawSplitBand(TfrBand& band, int height) {
    std::vector<SplitPiece> pieces;
    std::vector<WrappedMemo> wrapped(band.Objects.size());
    // Each memo's part on a page is a copy of the memo with that page's lines; the copy is made
    // from a memo without text, so that a page costs its own lines and not the whole memo's.
    std::vector<std::unique_ptr<TfrMemoView>> bare(band.Objects.size());
    // Every wrapped line goes onto a page: lines beyond what the pages may take end the run here,
    // before the first part is put out.
    std::size_t wrappedLines = 0;
    const bool expanded = Guarded([&] {
        for (std::size_t i = 0; i < band.Objects.size(); ++i) {
            TfrView& object = *band.Objects[i];
            SplitPiece piece{object.Top, 1, 0};
            if (object.Kind() == ObjectKind::Memo) {
                auto& memo = static_cast<TfrMemoView&>(object);
                bare[i] = std::make_unique<TfrMemoView>(memo);
                bare[i]->Memo = output_.ExpandedText(memo);
                const std::size_t room = output_.RemainingLines();
                wrapped[i] = WrapMemo(*bare[i], scratch_, room - std::min(wrappedLines, room));
                bare[i]->Memo.clear();
                piece.lineHeight = wrapped[i].lineHeight;
                piece.lines = wrapped[i].lines.size();
                wrappedLines += piece.lines;
                if (wrappedLines > output_.RemainingLines()) output_.ThrowTooManyLines();
            }
            pieces.push_back(piece);
        }
    });
    if (!expanded) return;

    BandSplitter splitter(std::move(pieces), height);
    bool newPage = false;
    while (!splitter.Done() && !cancel) {
        const std::int64_t available = place_.curBottom - place_.curY;
        if (available <= 0) {
            // A page with no room at all takes no part, nor does a new one whose headers fill it:
            // every page after it would be the same.
            if (place_.curBottom - top_ <= 0 || newPage) break;
            NewPage();
            newPage = true;
            continue;
        }
        newPage = false;
        const SplitPart part = splitter.Next(available, place_.curY == top_);
        const std::int64_t dx = xOffset_ - left_, dy = place_.curY - part.from;
        const bool drawn = Guarded([&] {
            for (const SplitOutput& piece : part.outputs) {
                TfrView& object = *band.Objects[piece.piece];
                place_.object = &object;
                if (piece.lineCount == 0) {
                    output_.OutputAsIs(object, dx, dy, object.Memo);
                    continue;
                }
                // The lines of this part are drawn as a memo of their own.
                const TfrMemoView& memo = *bare[piece.piece];
                const auto& lines = wrapped[piece.piece].lines;
                TfrMemoView partMemo = memo;
                partMemo.Memo.assign(lines.begin() + static_cast<std::ptrdiff_t>(piece.firstLine),
                                     lines.begin() + static_cast<std::ptrdiff_t>(piece.firstLine + piece.lineCount));
                partMemo.Top = SaturatedInt(piece.partTop);
                const std::int64_t lineHeight = wrapped[piece.piece].lineHeight;
                partMemo.Height =
                    SaturatedInt(static_cast<std::int64_t>(piece.lineCount) * lineHeight + 2 * std::int64_t{memo.GapY});
                output_.OutputAsIs(partMemo, dx, dy, partMemo.Memo);
            }
        });
        if (!drawn) return;
        place_.curY += part.to - part.from;
        if (!splitter.Done()) {
            NewPage();
            newPage = true;
        }
    }
}

}  // namespace quillon
