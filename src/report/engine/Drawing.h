#pragma once
// Drawing of the objects of a prepared page: the conversion of an object's box from report units
// to canvas pixels, wrapping and laying out a memo's lines, backgrounds, frames and line objects.
// A memo that is being exported hands its lines to the export instead of painting them.

#include <cstdint>
#include <string>
#include <vector>

#include "report/engine/Canvas.h"
#include "report/format/Views.h"

namespace quillon {

// Set by the page drawer before an object draws itself.
struct DrawContext {
    double scaleX = 1, scaleY = 1;
    int offsetX = 0, offsetY = 0;
    bool printing = false;  // the canvas is the printer
};

// An object's box on the canvas.
struct ConvertedBox {
    int x = 0, y = 0, dx = 0, dy = 0;  // x', y', dx', dy'
    int right = 0, bottom = 0;
    double frameWidth = 0;  // frame width'
    int gapX = 0, gapY = 0;
    Rect rect;  // the text rectangle, inside the frame
};

ConvertedBox ConvertBox(const TfrView& view, const DrawContext& context);

// The character that ends a paragraph in wrapped text.
inline constexpr char kParagraphEnd = '\x01';

// Wraps one line to maxWidth on the canvas (with the font already set): a line break or the width
// ends an output line; a paragraph's last line ends with kParagraphEnd. Wrapping stops after
// maxLines + 1 lines, so that a caller with a bound never holds more.
std::vector<std::string> WrapLine(const std::string& line, int maxWidth, const Canvas& canvas,
                                  std::size_t maxLines = SIZE_MAX);

// The memo's font as text is measured for wrapping: a cell of round(size x 96 / 72) pixels.
FontSpec MeasuringFont(const TfrMemoView& memo);

// A memo's text wrapped to its width at scale 1, as drawing lays it out.
struct WrappedMemo {
    std::vector<std::string> lines;  // a paragraph's last line ends with kParagraphEnd
    int lineHeight = 0;              // line spacing + the font's pixel height
    int textHeight = 0;              // lines x line height + 2 x gap y
};

// Wraps the memo's text on the scratch canvas. Text that holds kParagraphEnd anywhere is taken as
// wrapped already; a memo without WordWrap keeps its lines as they are. Wrapping stops after
// maxLines + 1 lines.
WrappedMemo WrapMemo(const TfrMemoView& memo, Canvas& scratch, std::size_t maxLines = SIZE_MAX);
// How many lines WrapMemo makes of the text in the memo (at most maxLines + 1), without keeping them.
std::size_t WrappedLineCount(const TfrMemoView& memo, const std::vector<std::string>& text, Canvas& scratch,
                             std::size_t maxLines = SIZE_MAX);

// Receives the lines of a memo that is being exported.
class MemoLineSink {
public:
    virtual ~MemoLineSink() = default;
    virtual void MemoLine(const Rect& memoRect, int x, int y, const std::string& text, std::uint16_t frameTyp,
                          const TfrMemoView& memo) = 0;
};

// Draws a memo whose text is final. The scratch canvas measures for wrapping; with a sink the
// lines go to it and nothing is painted.
void DrawMemo(const TfrMemoView& memo, Canvas& canvas, Canvas& scratch, const DrawContext& context,
              MemoLineSink* exporting = nullptr);

void DrawLineView(const TfrLineView& line, Canvas& canvas, const DrawContext& context);

}  // namespace quillon
