#pragma once
// Prepared pages: each finished page keeps its paper, margins and metrics and a compact stream of
// its objects in printing form (positions final, text expanded). Objects are rebuilt from the
// stream only to draw or export one page and are dropped again right after.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "report/engine/Canvas.h"
#include "report/engine/RunResult.h"
#include "report/format/Page.h"

namespace quillon {

struct PreparedPage {
    std::int16_t Size = 0;
    std::int32_t PaperWidth = 0, PaperHeight = 0;
    std::uint8_t Orientation = 0;
    std::int32_t Bin = 0;
    bool UseMargins = false;
    std::int32_t LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;
    PageMetrics Metrics;
    bool Visible = false;              // set only while the page is being drawn
    std::vector<std::uint8_t> Stream;  // version 25, then kind byte and record per object
    std::unique_ptr<TfrPage> Objects;  // rebuilt on demand
};

class TfrEMFPages {
public:
    int Count() const { return static_cast<int>(pages_.size()); }
    PreparedPage& operator[](int index) { return pages_.at(static_cast<std::size_t>(index)); }
    const PreparedPage& operator[](int index) const { return pages_.at(static_cast<std::size_t>(index)); }

    // Appends a page with the template page's paper, margins and metrics and an empty stream.
    void Add(const TfrPage& page);
    void Clear() {
        pages_.clear();
        lines_ = bytes_ = 0;
    }
    // Appends an object in printing form, with its final text, to a page's stream; lines is how
    // many lines the text takes on the page once wrapped.
    void AppendObject(int index, const TfrView& view, const std::vector<std::string>& text, std::size_t lines);
    // What all pages hold: lines of text once wrapped, and bytes of their streams.
    std::size_t Lines() const { return lines_; }
    std::size_t Bytes() const { return bytes_; }

    // Reads a page's objects from its stream; fails when the stream is damaged.
    RunResult RebuildObjects(int index);
    void DropObjects(int index) { (*this)[index].Objects.reset(); }

    // Draws a page into the target rectangle of the canvas (device pixels) when it is marked
    // visible; the scratch canvas measures text for wrapping. The rebuilt objects are dropped
    // afterwards either way.
    RunResult DrawPage(int index, Canvas& canvas, Canvas& scratch, const Rect& target);
    // Hands each object of a page, in stream order, to the visitor; the rebuilt objects are
    // dropped afterwards.
    RunResult ExportPage(int index, const std::function<void(const TfrView&)>& visit);

private:
    std::vector<PreparedPage> pages_;
    std::size_t lines_ = 0, bytes_ = 0;
};

}  // namespace quillon
