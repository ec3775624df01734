#include "report/engine/Drawing.h"

#include <algorithm>
#include <cmath>

namespace quillon {
namespace {

// Text is measured as on a 96-dpi screen: a font of s points is s x 96 / 72 pixels high.
constexpr double kScreenPixelsPerPoint = 96.0 / 72.0;

}  // namespace

FontSpec MeasuringFont(const TfrMemoView& memo) {
    FontSpec font;
    font.name = memo.Font.Name;
    font.pixelHeight = RoundHalfEven(memo.Font.Size * kScreenPixelsPerPoint);
    font.cellHeight = true;
    font.style = memo.Font.Style;
    font.color = memo.Font.Color;
    font.rotated = (memo.Alignment & kAlignVertical) != 0;
    return font;
}

namespace {

// Length in bytes of the UTF-8 sequence that starts with this byte (a lead byte and its trail
// bytes are never split).
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    return 4;
}

}  // namespace

namespace {

// Hands each line of the text wrapped in the memo to take, at most maxLines + 1 of them, and
// returns the lines' height.
template <typename Take>
int WrapText(const TfrMemoView& memo, const std::vector<std::string>& text, Canvas& scratch, std::size_t maxLines,
             Take&& take) {
    const bool alreadyWrapped = std::any_of(text.begin(), text.end(), [](const std::string& line) {
        return line.find(kParagraphEnd) != std::string::npos;
    });
    std::size_t count = text.size();
    if (count > 0 && text.back() == std::string(1, kParagraphEnd)) --count;

    const ConvertedBox box = ConvertBox(memo, DrawContext{});
    const bool vertical = (memo.Alignment & kAlignVertical) != 0;
    const int maxWidth = SaturatedInt(vertical ? std::int64_t{box.dy} - 2 * std::int64_t{box.gapY}
                                               : std::int64_t{box.dx} - 2 * std::int64_t{box.gapX});

    scratch.SetFont(MeasuringFont(memo));
    scratch.SetCharSpacing(memo.CharSpacing);
    std::size_t taken = 0;
    for (std::size_t i = 0; i < count && taken <= maxLines; ++i) {
        const std::string& line = text[i];
        if (alreadyWrapped) {
            take(std::string(line));
            ++taken;
        } else if (memo.Flags & kMemoWordWrap) {
            for (std::string& piece : WrapLine(line, maxWidth, scratch, maxLines - taken)) {
                take(std::move(piece));
                ++taken;
            }
        } else {
            take(line + kParagraphEnd);
            ++taken;
        }
    }
    const int lineHeight = SaturatedInt(std::int64_t{memo.LineSpacing} + scratch.FontHeight());
    scratch.SetCharSpacing(0);
    return lineHeight;
}

}  // namespace

WrappedMemo WrapMemo(const TfrMemoView& memo, Canvas& scratch, std::size_t maxLines) {
    WrappedMemo wrapped;
    wrapped.lineHeight = WrapText(memo, memo.Memo, scratch, maxLines,
                                  [&wrapped](std::string&& line) { wrapped.lines.push_back(std::move(line)); });
    wrapped.textHeight = SaturatedInt(static_cast<std::int64_t>(wrapped.lines.size()) * wrapped.lineHeight +
                                      2 * std::int64_t{memo.GapY});
    return wrapped;
}

std::size_t WrappedLineCount(const TfrMemoView& memo, const std::vector<std::string>& text, Canvas& scratch,
                             std::size_t maxLines) {
    std::size_t lines = 0;
    WrapText(memo, text, scratch, maxLines, [&lines](std::string&&) { ++lines; });
    return lines;
}

namespace {

void DrawFrame(const TfrView& view, const ConvertedBox& box, Canvas& canvas) {
    const std::uint16_t sides = view.FrameTyp & kFrameSides;
    if (sides == 0) return;
    const int width = std::max(1, RoundHalfEven(box.frameWidth));
    const auto style = static_cast<PenStyle>(std::min<int>(view.FrameStyle, 5));
    const int left = box.x, top = box.y, right = box.right, bottom = box.bottom;

    auto shifted = [](int position, int shift) { return SaturatedInt(std::int64_t{position} + shift); };
    auto side = [&](int x1, int y1, int x2, int y2, bool horizontal) {
        switch (style) {
            case PenStyle::Solid:
                canvas.SetPen(view.FrameColor, width, PenStyle::Solid);
                canvas.Line(x1, y1, x2, y2);
                break;
            case PenStyle::Double: {
                // The side in the frame colour on both sides of a fill-colour line.
                canvas.SetPen(view.FrameColor, width, PenStyle::Solid);
                for (int shift : {-width, width}) {
                    if (horizontal) {
                        canvas.Line(x1, shifted(y1, shift), x2, shifted(y2, shift));
                    } else {
                        canvas.Line(shifted(x1, shift), y1, shifted(x2, shift), y2);
                    }
                }
                canvas.SetPen(view.FillColor == kNoColour ? 0xFFFFFF : view.FillColor, width, PenStyle::Solid);
                canvas.Line(x1, y1, x2, y2);
                break;
            }
            case PenStyle::Dash:
            case PenStyle::Dot:
            case PenStyle::DashDot:
            case PenStyle::DashDotDot: {
                // Pen-width parallel one-pixel lines centred on the side.
                canvas.SetBrush(view.FillColor == kNoColour ? 0xFFFFFF : view.FillColor);
                canvas.SetPen(view.FrameColor, 1, style);
                for (int k = 0; k < width; ++k) {
                    const int shift = k - width / 2;
                    if (horizontal) {
                        canvas.Line(x1, shifted(y1, shift), x2, shifted(y2, shift));
                    } else {
                        canvas.Line(shifted(x1, shift), y1, shifted(x2, shift), y2);
                    }
                }
                break;
            }
        }
    };
    if (sides & kFrameRight) side(right, top, right, bottom, false);
    if (sides & kFrameLeft) side(left, top, left, bottom, false);
    if (sides & kFrameBottom) side(left, bottom, right, bottom, true);
    if (sides & kFrameTop) side(left, top, right, top, true);
}

void FillBackground(const TfrView& view, const ConvertedBox& box, Canvas& canvas, const DrawContext& context) {
    if (context.printing && view.FillColor == kNoColour) return;
    canvas.SetBrush(view.FillColor == kNoColour ? 0xFFFFFF : view.FillColor);
    canvas.FillRect({box.x, box.y, box.right, box.bottom});
}

int CountBlanks(const std::string& text) {
    int blanks = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool noBreakSpace = text.compare(i, 2, "\xC2\xA0") == 0;
        if (text[i] == ' ' || noBreakSpace) ++blanks;
    }
    return blanks;
}

// The frame sides one line of an exported memo keeps: inner lines lose top and bottom.
std::uint16_t LineFrame(std::uint16_t frame, std::size_t index, std::size_t count, bool vertical) {
    if (vertical) return 0;
    if (count <= 1) return frame;
    if (index == 0) return frame & ~kFrameBottom;
    if (index + 1 == count) return frame & ~kFrameTop;
    return frame & ~(kFrameTop | kFrameBottom);
}

}  // namespace

ConvertedBox ConvertBox(const TfrView& view, const DrawContext& c) {
    const double sx = c.scaleX, sy = c.scaleY;
    const double fw = view.FrameWidth;
    ConvertedBox box;
    // Sums are taken in 64 bits (or in doubles, which hold every int exactly) and saturate.
    auto sum = [](std::int64_t a, std::int64_t b) { return SaturatedInt(a + b); };
    box.x = sum(RoundHalfEven(view.Left * sx), c.offsetX);
    box.y = sum(RoundHalfEven(view.Top * sy), c.offsetY);
    box.dx = RoundHalfEven(view.Width * sx);
    box.dy = RoundHalfEven(view.Height * sy);
    box.frameWidth = fw * sx;
    box.gapX = sum(RoundHalfEven(sx * fw / 2), RoundHalfEven(sx * view.GapX));
    box.gapY = sum(RoundHalfEven(sy * view.GapY), RoundHalfEven(sy * fw / 2) / 2);
    box.right = RoundHalfEven((static_cast<double>(view.Left) + view.Width) * sx + c.offsetX);
    box.bottom = RoundHalfEven((static_cast<double>(view.Top) + view.Height) * sy + c.offsetY);
    const std::uint16_t sides = view.Kind() == ObjectKind::Band ? 0 : view.FrameTyp;
    box.rect.left = sum(box.x, (sides & kFrameLeft) ? RoundHalfEven((sx * fw - 1) / 2) : 0);
    box.rect.top = sum(box.y, (sides & kFrameTop) ? RoundHalfEven((sy * fw - 1) / 2) : 0);
    const std::int64_t rightFrame = (sides & kFrameRight) ? RoundHalfEven(sx * fw / 2) : 0;
    const std::int64_t bottomFrame = (sides & kFrameBottom) ? RoundHalfEven(sy * fw / 2) : 0;
    box.rect.right = SaturatedInt(std::int64_t{box.right} + 1 - rightFrame);
    box.rect.bottom = SaturatedInt(std::int64_t{box.bottom} + 1 - bottomFrame);
    return box;
}

namespace {

// The first character at or after from, and before end, that is no blank and with which the text
// from start becomes wider than maxWidth; end when there is none. Widths grow with the text, so
// instead of measuring at every character (which takes time quadratic in a long line's length)
// the search measures 1, 2, 4, 8 ... characters on and halves the last step: a wrapped line of n
// characters is measured about 2 log n times.
std::size_t FirstTooWide(const std::string& line, std::size_t start, std::size_t from, std::size_t end, int maxWidth,
                         const Canvas& canvas) {
    auto nextAfter = [&](std::size_t at) {
        return std::min(line.size(), at + SequenceLength(static_cast<unsigned char>(line[at])));
    };
    auto tooWide = [&](std::size_t at) {
        return canvas.TextWidth(std::string_view(line).substr(start, nextAfter(at) - start)) > maxWidth;
    };
    // The characters after the last one measured to fit, up to the one measured next.
    std::vector<std::size_t> unmeasured;
    std::size_t count = 0, measureAt = 0;
    for (std::size_t at = from; at < end; at = nextAfter(at), ++count) {
        unmeasured.push_back(at);
        if (count != measureAt && nextAfter(at) < end) continue;
        if (tooWide(at)) {
            std::size_t low = 0, high = unmeasured.size() - 1;
            while (low < high) {
                const std::size_t middle = low + (high - low) / 2;
                if (tooWide(unmeasured[middle])) {
                    high = middle;
                } else {
                    low = middle + 1;
                }
            }
            // A blank is measured only with what follows it.
            std::size_t found = unmeasured[low];
            while (found < end && line[found] == ' ') ++found;
            return found;
        }
        unmeasured.clear();
        measureAt = 2 * count + 1;
    }
    return end;
}

}  // namespace

std::vector<std::string> WrapLine(const std::string& line, int maxWidth, const Canvas& canvas, std::size_t maxLines) {
    std::vector<std::string> out;
    const bool hasBreaks = line.find_first_of("\r\n") != std::string::npos;
    if (!hasBreaks && (line.size() <= 1 || canvas.TextWidth(line) <= maxWidth)) {
        out.push_back(line + kParagraphEnd);
        return out;
    }
    std::size_t start = 0;
    std::size_t lastBlank = std::string::npos;
    std::size_t i = 0;
    std::size_t breakAt = 0;  // the next line break, or the end
    while (i < line.size() && out.size() <= maxLines) {
        const char c = line[i];
        if (c == '\r' || c == '\n') {
            out.push_back(line.substr(start, i - start) + kParagraphEnd);
            while (i < line.size() && (line[i] == '\r' || line[i] == '\n')) ++i;
            start = i;
            lastBlank = std::string::npos;
            continue;
        }
        if (breakAt <= i) breakAt = std::min(line.size(), line.find_first_of("\r\n", i));
        // The characters up to the first that makes the line too wide fit; the last blank among
        // them is where the line breaks.
        const std::size_t tooWide = FirstTooWide(line, start, i, breakAt, maxWidth, canvas);
        if (tooWide > i) {
            for (std::size_t at = tooWide; at > i; --at) {
                if (line[at - 1] == ' ') {
                    lastBlank = at - 1;
                    break;
                }
            }
            i = tooWide;
            continue;
        }
        if (lastBlank == std::string::npos || lastBlank < start) {
            // No blank since the line began: break before this character, unless it is the
            // first one (a character wider than the memo stays on a line of its own).
            if (i > start) {
                out.push_back(line.substr(start, i - start));
                start = i;
                continue;
            }
        } else {
            out.push_back(line.substr(start, lastBlank - start));
            start = lastBlank + 1;
            lastBlank = std::string::npos;
            continue;
        }
        i = std::min(line.size(), i + SequenceLength(static_cast<unsigned char>(c)));
    }
    if (start < line.size() && out.size() <= maxLines) out.push_back(line.substr(start) + kParagraphEnd);
    return out;
}

void DrawMemo(const TfrMemoView& memo, Canvas& canvas, Canvas& scratch, const DrawContext& context,
              MemoLineSink* exporting) {
    const WrappedMemo wrapped = WrapMemo(memo, scratch);
    const ConvertedBox box = ConvertBox(memo, context);
    const double sx = context.scaleX, sy = context.scaleY;

    if (!exporting) {
        FillBackground(memo, box, canvas, context);
        DrawFrame(memo, box, canvas);
    }
    if (wrapped.lines.empty()) return;

    FontSpec font = MeasuringFont(memo);
    font.cellHeight = false;
    if (canvas.IsPrinter()) {
        font.pixelHeight = 0;
        font.pointSize = memo.Font.Size;
    } else {
        const double height = memo.Font.Size * kScreenPixelsPerPoint * sy;
        font.pixelHeight = RoundHalfEven(sy == 1 ? height : std::trunc(height));
    }
    canvas.SetFont(font);
    canvas.SetCharSpacing(RoundHalfEven(memo.CharSpacing * sx));

    const Rect clip{SaturatedInt(std::int64_t{box.rect.left} + 1), box.rect.top,
                    SaturatedInt(std::int64_t{box.rect.right} - 2), SaturatedInt(std::int64_t{box.rect.bottom} - 1)};
    const int measured = RoundHalfEven(wrapped.textHeight * sy);
    const bool vertical = (memo.Alignment & kAlignVertical) != 0;
    // Positions run in 64 bits: many lines, or lines far apart, go past an int.
    std::int64_t x = box.x, y = box.y;
    if (memo.Alignment & kAlignMiddle) {
        if (vertical) {
            x += (std::int64_t{box.dx} - measured) / 2;
        } else {
            y += (std::int64_t{box.dy} - measured) / 2;
        }
    } else if (memo.Alignment & kAlignDown) {
        if (vertical) {
            x = std::int64_t{box.rect.right} - measured;
        } else {
            y = std::int64_t{box.rect.bottom} - measured - 1;
        }
    }

    const std::int64_t step = std::int64_t{RoundHalfEven(memo.LineSpacing * sy)} + canvas.FontHeight();
    const int horizontal = memo.Alignment & kAlignHorizontalBits;
    const std::int64_t w = box.dx, g = box.gapX;
    std::int64_t top = y + box.gapY;
    std::int64_t left = x + box.gapY;  // rotated text advances from the left
    for (std::size_t index = 0; index < wrapped.lines.size(); ++index) {
        std::string text = wrapped.lines[index];
        const bool paragraphEnd = text.empty() || text.back() == kParagraphEnd;
        if (!text.empty() && text.back() == kParagraphEnd) text.pop_back();
        const std::int64_t t = canvas.TextWidth(text);
        std::int64_t lineX = x + g;
        switch (horizontal) {
            case kAlignRight: lineX = x + w - g - t - 1; break;
            case kAlignCenter: lineX = x + g + (w - 2 * g - t) / 2; break;
            default: break;  // left, and justified lines start at the left too
        }
        const std::int64_t lineY = vertical ? y + box.dy - g : top;
        if (vertical) lineX = left;

        if (exporting) {
            exporting->MemoLine(box.rect, SaturatedInt(lineX), SaturatedInt(lineY), text,
                                LineFrame(memo.FrameTyp, index, wrapped.lines.size(), vertical), memo);
        } else {
            const bool justify = horizontal == kAlignJustify && !paragraphEnd && !vertical;
            if (justify) canvas.SetJustification(SaturatedInt(w - 2 * g - t), CountBlanks(text));
            canvas.TextOut(SaturatedInt(lineX), SaturatedInt(lineY), clip, text, (memo.Flags & kMemoRightToLeft) != 0);
            if (justify) canvas.SetJustification(0, 0);
        }
        top += step;
        left += step;
    }

    // Ruled lines need a step down the memo; a spacing that cancels the font's height has none.
    if (!exporting && (memo.Flags & kMemoUnderlines) && step > 0) {
        canvas.SetPen(memo.FrameColor, std::max(1, RoundHalfEven(box.frameWidth)), PenStyle::Solid);
        for (std::int64_t rule = y + box.gapY + step; rule <= box.bottom; rule += step) {
            canvas.Line(box.x, SaturatedInt(rule), box.right, SaturatedInt(rule));
        }
    }
    canvas.SetCharSpacing(0);
}

void DrawLineView(const TfrLineView& line, Canvas& canvas, const DrawContext& context) {
    TfrLineView drawn = line;
    if (drawn.Height < drawn.Width) {
        drawn.Height = 0;
        drawn.FrameTyp = kFrameTop;
    } else {
        drawn.Width = 0;
        drawn.FrameTyp = kFrameLeft;
    }
    DrawFrame(drawn, ConvertBox(drawn, context), canvas);
}

}  // namespace quillon
