#include "report/engine/Drawing.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <gtest/gtest.h>
#include <random>

#include "report/engine/FixedCanvas.h"
#include "report/engine/PreparedPages.h"

namespace quillon {
namespace {

// A memo at 100, 50, 200 x 40 with the given lines and alignment; Arial 12 is 16 pixels high on
// the fixed canvas, so every character is 8 pixels wide.
TfrMemoView Memo(std::vector<std::string> lines, std::int32_t alignment = 0) {
    TfrMemoView memo;
    memo.Left = 100;
    memo.Top = 50;
    memo.Width = 200;
    memo.Height = 40;
    memo.Font.Size = 12;
    memo.Alignment = alignment;
    memo.Memo = std::move(lines);
    return memo;
}

TEST(ConvertBox, ScalesRoundHalfToEvenAndOffsets) {
    TfrMemoView memo = Memo({});
    memo.Left = 5;   // 5 x 0.5 = 2.5 rounds to 2
    memo.Top = 7;    // 7 x 0.5 = 3.5 rounds to 4
    memo.Width = 9;  // 4.5 rounds to 4
    const ConvertedBox box = ConvertBox(memo, DrawContext{0.5, 0.5, 10, 20, false});
    EXPECT_EQ(box.x, 12);
    EXPECT_EQ(box.y, 24);
    EXPECT_EQ(box.dx, 4);
    EXPECT_EQ(box.rect.right, RoundHalfEven(14 * 0.5 + 10) + 1);
    // Frame width 1, gap x 2: round(0.25) + round(1) = 1; gap y: round(0.5) + round(0.25) div 2 = 0.
    EXPECT_EQ(box.gapX, 1);
    EXPECT_EQ(box.gapY, 0);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
}

TEST(ConvertBox, AFrameMovesTheTextInward) {
    TfrMemoView memo = Memo({});
    memo.FrameWidth = 4;
    memo.FrameTyp = kFrameSides;
    const ConvertedBox box = ConvertBox(memo, DrawContext{});
    // Gap x: round(4 / 2) + round(2) = 4; gap y: round(1) + round(4 / 2) div 2 = 2.
    EXPECT_EQ(box.gapX, 4);
    EXPECT_EQ(box.gapY, 2) << "the frame counts half in the vertical gap";
    // The rectangle loses round((4 - 1) / 2) = 2 on the left and top, round(4 / 2) = 2 on the
    // right and bottom, from right + 1 and bottom + 1.
    EXPECT_EQ(box.rect, (Rect{102, 52, 300 + 1 - 2, 90 + 1 - 2}));
    memo.FrameTyp = kFrameLeft;
    EXPECT_EQ(ConvertBox(memo, DrawContext{}).rect, (Rect{102, 50, 301, 91})) << "only framed sides move";
}

TEST(WrapLine, BlanksBreaksAndParagraphEnds) {
    FixedCanvas canvas;
    canvas.SetFont(FontSpec{"Arial", 10, false, 0, 0, 0, false});  // 5 pixels a character
    EXPECT_EQ(WrapLine("short", 100, canvas), (std::vector<std::string>{"short\x01"}));
    EXPECT_EQ(WrapLine("aaaa bbbb cccc", 50, canvas), (std::vector<std::string>{"aaaa bbbb", "cccc\x01"}));
    EXPECT_EQ(WrapLine("abcdefghijkl", 25, canvas), (std::vector<std::string>{"abcde", "fghij", "kl\x01"}));
    EXPECT_EQ(WrapLine("one\r\ntwo", 100, canvas), (std::vector<std::string>{"one\x01", "two\x01"}));
    EXPECT_EQ(WrapLine("x", 0, canvas), (std::vector<std::string>{"x\x01"})) << "one character always fits";
    EXPECT_EQ(WrapLine("\xc3\xa9\xc3\xa9\xc3\xa9", 10, canvas),
              (std::vector<std::string>{"\xc3\xa9\xc3\xa9", "\xc3\xa9\x01"}))
        << "a character's bytes stay together";
    // Each two-byte letter is measured alone, not with the byte after it.
    EXPECT_EQ(WrapLine("Jos\xc3\xa9 Mu\xc3\xb1oz", 20, canvas),
              (std::vector<std::string>{"Jos\xc3\xa9", "Mu\xc3\xb1o", "z\x01"}));
    EXPECT_EQ(WrapLine("\xc3\xa9"
                       "a\xc3\xb1"
                       "b",
                       5, canvas),
              (std::vector<std::string>{"\xc3\xa9", "a", "\xc3\xb1", "b\x01"}));
}

// Wrapping as it measured every character, for comparing the search that measures a few.
std::vector<std::string> WrapEveryCharacter(const std::string& line, int maxWidth, const Canvas& canvas) {
    if (line.find_first_of("\r\n") == std::string::npos && (line.size() <= 1 || canvas.TextWidth(line) <= maxWidth)) {
        return {line + kParagraphEnd};
    }
    std::vector<std::string> out;
    std::size_t start = 0, lastBlank = std::string::npos, i = 0;
    while (i < line.size()) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c == '\r' || c == '\n') {
            out.push_back(line.substr(start, i - start) + kParagraphEnd);
            while (i < line.size() && (line[i] == '\r' || line[i] == '\n')) ++i;
            start = i;
            lastBlank = std::string::npos;
            continue;
        }
        if (c == ' ') {
            lastBlank = i++;
            continue;
        }
        const std::size_t next = std::min(line.size(), i + (c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4));
        if (canvas.TextWidth(std::string_view(line).substr(start, next - start)) > maxWidth) {
            if (lastBlank == std::string::npos || lastBlank < start) {
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
        }
        i = next;
    }
    if (start < line.size()) out.push_back(line.substr(start) + kParagraphEnd);
    return out;
}

TEST(WrapLine, MeasuringAFewCharactersBreaksWhereMeasuringEachDoes) {
    FixedCanvas canvas;
    canvas.SetFont(FontSpec{"Arial", 10, false, 0, 0, 0, false});  // 5 pixels a character, blanks 3
    // Memo text is UTF-8: a lead byte is followed by its trail bytes, never by a line break.
    const std::vector<std::string> pieces = {
        "a", "b", " ", " ", "\r", "\n", "\xc3\xa9", "\xe2\x82\xac", "\xf0\x9f\x98\x80"};
    std::mt19937 random(7);
    for (int run = 0; run < 3000; ++run) {
        std::string line;
        const int length = static_cast<int>(random() % 60);
        for (int k = 0; k < length; ++k) line += pieces[random() % (run % 3 == 0 ? 3 : pieces.size())];
        const int width = static_cast<int>(random() % 80);
        canvas.SetCharSpacing(static_cast<int>(random() % 3));
        ASSERT_EQ(WrapLine(line, width, canvas), WrapEveryCharacter(line, width, canvas)) << line << " at " << width;
    }
}

TEST(DrawMemo, HorizontalAlignments) {
    FixedCanvas canvas, scratch;
    DrawMemo(Memo({"abcd"}, 0), canvas, scratch, DrawContext{});
    DrawMemo(Memo({"abcd"}, 1), canvas, scratch, DrawContext{});
    DrawMemo(Memo({"abc"}, 2), canvas, scratch, DrawContext{});
    ASSERT_EQ(canvas.texts.size(), 3u);
    // Gap x is round(1 / 2) + 2 = 2; the text is 32 (or 24) pixels wide.
    EXPECT_EQ(canvas.texts[0].x, 102);
    EXPECT_EQ(canvas.texts[1].x + 32, 100 + 200 - 2 - 1) << "a right-aligned line ends one pixel before the gap";
    EXPECT_EQ(canvas.texts[2].x, 100 + 2 + (200 - 4 - 24) / 2);
    EXPECT_EQ(canvas.texts[0].y, 51) << "first line at y + gap y";
    EXPECT_EQ(canvas.texts[0].clip, (Rect{101, 50, 301 - 2, 91 - 1}))
        << "1 off the left, 2 off the right, 1 off the bottom";
}

TEST(DrawMemo, CentredDropsTheHalfPixel) {
    FixedCanvas canvas, scratch;
    TfrMemoView memo = Memo({"abc"}, 2);
    memo.Width = 201;  // 201 - 4 - 24 = 173: 86 and a half
    DrawMemo(memo, canvas, scratch, DrawContext{});
    EXPECT_EQ(canvas.texts[0].x, 100 + 2 + 86);
}

TEST(DrawMemo, VerticallyCentredWithTooManyLinesStartsAboveTheTop) {
    FixedCanvas canvas, scratch;
    TfrMemoView memo = Memo({"1", "2", "3", "4"}, 8);
    memo.Height = 20;
    DrawMemo(memo, canvas, scratch, DrawContext{});
    ASSERT_EQ(canvas.texts.size(), 4u) << "lines beyond the box are clipped, not dropped";
    // Four lines of 16 + 2 and two gaps of 1: 74 pixels in a box of 20.
    EXPECT_EQ(canvas.texts[0].y, 50 + (20 - 74) / 2 + 1);
    EXPECT_LT(canvas.texts[0].y, 50);
    EXPECT_EQ(canvas.texts[1].y - canvas.texts[0].y, 18);
}

TEST(DrawMemo, BottomAlignedEndsOnePixelAboveTheRectangleBottom) {
    FixedCanvas canvas, scratch;
    DrawMemo(Memo({"ab"}, kAlignDown), canvas, scratch, DrawContext{});
    DrawMemo(Memo({"ab"}, kAlignMiddle), canvas, scratch, DrawContext{});
    ASSERT_EQ(canvas.texts.size(), 2u);
    // One line of 2 + 16 and two gaps of 1 measure 20; the rectangle's bottom is 50 + 40 + 1.
    EXPECT_EQ(canvas.texts[0].y, 91 - 20 - 1 + 1);
    EXPECT_EQ(canvas.texts[1].y, 50 + (40 - 20) / 2 + 1);
}

TEST(DrawMemo, JustifiedLinesSpreadTheMissingWidthOverTheirBlanks) {
    FixedCanvas canvas, scratch;
    TfrMemoView memo = Memo({"aaa bbb ccc ddd eee fff ggg hhh iii jjj"}, kAlignJustify);
    DrawMemo(memo, canvas, scratch, DrawContext{});
    ASSERT_GE(canvas.texts.size(), 2u);
    FixedCanvas measure;
    measure.SetFont(canvas.texts[0].font);
    for (std::size_t i = 0; i + 1 < canvas.texts.size(); ++i) {
        const auto& line = canvas.texts[i];
        EXPECT_EQ(line.x, 102);
        EXPECT_EQ(line.justifyExtra, 200 - 2 * 2 - measure.TextWidth(line.text)) << line.text;
        EXPECT_EQ(line.justifyBreaks, static_cast<int>(std::count(line.text.begin(), line.text.end(), ' ')));
    }
    EXPECT_EQ(canvas.texts.back().justifyExtra, 0) << "the paragraph's last line is not spread";
    EXPECT_EQ(canvas.texts.back().justifyBreaks, 0);
}

TEST(DrawMemo, EmptyLinesKeepTheirPlace) {
    FixedCanvas canvas, scratch;
    DrawMemo(Memo({"a", "", "c"}), canvas, scratch, DrawContext{});
    ASSERT_EQ(canvas.texts.size(), 3u);
    EXPECT_EQ(canvas.texts[2].y - canvas.texts[0].y, 36);
}

TEST(DrawMemo, BackgroundFrameAndPrinting) {
    FixedCanvas screen, scratch;
    TfrMemoView memo = Memo({"x"});
    memo.FrameTyp = kFrameLeft | kFrameTop;
    memo.FrameWidth = 2;
    memo.FrameColor = 0x0000FF;
    DrawMemo(memo, screen, scratch, DrawContext{});
    ASSERT_EQ(screen.fills.size(), 1u) << "no fill colour is white on the screen";
    EXPECT_EQ(screen.fills[0].colour, 0xFFFFFFu);
    ASSERT_EQ(screen.strokes.size(), 2u);
    EXPECT_EQ(screen.strokes[0].width, 2);
    EXPECT_EQ(screen.strokes[0].colour, 0x0000FFu);

    FixedCanvas printer;
    printer.ActAsPrinter(600);
    DrawMemo(memo, printer, scratch, DrawContext{1, 1, 0, 0, true});
    EXPECT_TRUE(printer.fills.empty()) << "while printing, no colour fills nothing";
    EXPECT_EQ(printer.texts[0].font.pointSize, 12) << "the printer keeps the point size";
}

// What a damaged template may hold, drawn without the check that refuses it: positions stop at the
// ends of an int instead of wrapping round, and nothing overflows on the way.
TEST(DrawMemo, PositionsFarOutOfBoundsSaturate) {
    struct Extreme {
        const char* what;
        std::function<void(TfrMemoView&)> change;
        std::function<void(const FixedCanvas&)> check;  // on the screen, at scale 1
    };
    auto at = [](std::size_t line, int x, int y) {
        return [=](const FixedCanvas& c) {
            ASSERT_GT(c.texts.size(), line);
            EXPECT_EQ(c.texts[line].x, x);
            EXPECT_EQ(c.texts[line].y, y);
        };
    };
    const Extreme extremes[] = {
        {"far right", [](TfrMemoView& m) { m.Left = m.Width = INT_MAX; }, at(0, INT_MAX, 51)},
        {"far up", [](TfrMemoView& m) { m.Top = m.Height = INT_MIN; }, at(0, 102, INT_MIN + 1)},
        {"wide gaps", [](TfrMemoView& m) { m.GapX = INT_MAX; }, at(0, INT_MAX, 51)},
        {"line spacing", [](TfrMemoView& m) { m.LineSpacing = INT_MAX; }, at(2, 102, INT_MAX)},
        {"font size",
         [](TfrMemoView& m) {
             m.Font.Size = INT_MAX;
             m.Flags &= ~kMemoWordWrap;
         },
         at(1, 102, INT_MAX)},
        {"character spacing, right-aligned",
         [](TfrMemoView& m) {
             m.CharSpacing = INT_MAX;
             m.Flags &= ~kMemoWordWrap;
             m.Alignment = kAlignRight;
         },
         at(0, 300 - 2 - INT_MAX - 1, 51)},  // a whole text as wide as an int can be to the left
        {"frame width, double frame",
         [](TfrMemoView& m) {
             m.FrameWidth = INT_MAX;
             m.FrameTyp = kFrameRight;
             m.FrameStyle = static_cast<std::uint16_t>(PenStyle::Double);
             m.Flags |= kMemoUnderlines;
         },
         [](const FixedCanvas& c) {
             ASSERT_EQ(c.strokes.size(), 3u);
             EXPECT_EQ(c.strokes[0].x1, 300 - INT_MAX);
             EXPECT_EQ(c.strokes[1].x1, INT_MAX);
         }},
    };
    for (const Extreme& extreme : extremes) {
        SCOPED_TRACE(extreme.what);
        TfrMemoView memo = Memo({"ab cd", "e", "f"});
        extreme.change(memo);
        FixedCanvas screen, printer, scratch;
        DrawMemo(memo, screen, scratch, DrawContext{});
        extreme.check(screen);
        printer.ActAsPrinter(600);
        DrawMemo(memo, printer, scratch, DrawContext{6.55, 6.55, -100, -100, true});
        EXPECT_FALSE(printer.texts.empty());
    }
    EXPECT_EQ((Rect{INT_MIN, INT_MAX, INT_MAX, INT_MIN}).Width(), INT_MAX);
    EXPECT_EQ((Rect{INT_MIN, INT_MAX, INT_MAX, INT_MIN}).Height(), INT_MIN);
    EXPECT_EQ(RoundHalfEven(1e300), INT_MAX);
    EXPECT_EQ(RoundHalfEven(-1e300), INT_MIN);
}

TEST(DrawMemo, ExportingHandsLinesOverWithTheirFrameSides) {
    struct Sink : MemoLineSink {
        std::vector<std::pair<std::string, std::uint16_t>> lines;
        void MemoLine(const Rect&, int, int, const std::string& text, std::uint16_t frame,
                      const TfrMemoView&) override {
            lines.emplace_back(text, frame);
        }
    } sink;
    FixedCanvas canvas, scratch;
    TfrMemoView memo = Memo({"a", "b", "c"});
    memo.FrameTyp = 15;
    DrawMemo(memo, canvas, scratch, DrawContext{}, &sink);
    EXPECT_TRUE(canvas.texts.empty());
    EXPECT_TRUE(canvas.strokes.empty());
    ASSERT_EQ(sink.lines.size(), 3u);
    EXPECT_EQ(sink.lines[0], (std::pair<std::string, std::uint16_t>{"a", 15 & ~kFrameBottom}));
    EXPECT_EQ(sink.lines[1], (std::pair<std::string, std::uint16_t>{"b", 15 & ~(kFrameTop | kFrameBottom)}));
    EXPECT_EQ(sink.lines[2], (std::pair<std::string, std::uint16_t>{"c", 15 & ~kFrameTop}));
}

// A recording canvas of which only a part shows, as a window scrolled over a page.
struct PartlyShown final : Canvas {
    void SetFont(const FontSpec& font) override { drawn.SetFont(font); }
    int FontHeight() const override { return drawn.FontHeight(); }
    int TextWidth(std::string_view utf8) const override { return drawn.TextWidth(utf8); }
    void SetCharSpacing(int pixels) override { drawn.SetCharSpacing(pixels); }
    void SetJustification(int extra, int breaks) override { drawn.SetJustification(extra, breaks); }
    void TextOut(int x, int y, const Rect& clip, std::string_view utf8, bool rtl) override {
        drawn.TextOut(x, y, clip, utf8, rtl);
    }
    void SetPen(Colour colour, int width, PenStyle style) override { drawn.SetPen(colour, width, style); }
    void SetBrush(Colour colour) override { drawn.SetBrush(colour); }
    void FillRect(const Rect& rect) override { drawn.FillRect(rect); }
    void Line(int x1, int y1, int x2, int y2) override { drawn.Line(x1, y1, x2, y2); }
    bool RectVisible(const Rect& r) const override {
        return r.left < shown.right && shown.left < r.right && r.top < shown.bottom && shown.top < r.bottom;
    }
    FixedCanvas drawn;
    Rect shown{100, 100, 200, 200};
};

TEST(DrawPage, ObjectsWithinTenPixelsOfTheShownPartAreDrawnAtTheirPlace) {
    struct Object {
        const char* text;
        int left, top;
        bool drawn;
    };
    // Objects of 20 x 20 around the part shown, 100 to 200 across and down: drawn when they come
    // within 10 pixels of it.
    const Object objects[] = {
        {"inside", 150, 150, true},     {"low", 150, 195, true},       {"below", 150, 209, true},
        {"far below", 150, 210, false}, {"right", 209, 150, true},     {"far right", 210, 150, false},
        {"above", 150, 71, true},       {"far above", 150, 70, false}, {"left", 71, 150, true},
        {"far left", 70, 150, false},
    };
    TfrEMFPages pages;
    TfrPage page;
    page.Metrics.PageWidth = page.Metrics.PageHeight = 400;
    pages.Add(page);
    for (const Object& object : objects) {
        TfrMemoView memo = Memo({object.text});
        memo.Left = object.left;
        memo.Top = object.top;
        memo.Width = memo.Height = 20;
        memo.Flags &= ~kMemoWordWrap;
        pages.AppendObject(0, memo, memo.Memo, memo.Memo.size());
    }
    PartlyShown canvas;
    FixedCanvas scratch;
    pages[0].Visible = true;
    ASSERT_TRUE(pages.DrawPage(0, canvas, scratch, Rect{0, 0, 400, 400}).IsDone());
    std::size_t next = 0;
    for (const Object& object : objects) {
        if (!object.drawn) continue;
        ASSERT_LT(next, canvas.drawn.texts.size()) << object.text;
        const auto& text = canvas.drawn.texts[next++];
        EXPECT_EQ(text.text, object.text);
        EXPECT_EQ(text.x, object.left + 2) << object.text;
        EXPECT_EQ(text.y, object.top + 1) << object.text;
    }
    EXPECT_EQ(next, canvas.drawn.texts.size()) << "objects further off are passed over";
}

TEST(DrawLineView, HorizontalAndVertical) {
    FixedCanvas canvas;
    TfrLineView line;
    line.Left = 92;
    line.Top = 126;
    line.Width = 636;
    line.Height = 0;
    line.FrameWidth = 2;
    line.FrameColor = 0x808080;
    DrawLineView(line, canvas, DrawContext{});
    ASSERT_EQ(canvas.strokes.size(), 1u);
    EXPECT_EQ(canvas.strokes[0].y1, 126);
    EXPECT_EQ(canvas.strokes[0].y2, 126);
    EXPECT_EQ(canvas.strokes[0].x2, 728);
    EXPECT_EQ(canvas.strokes[0].colour, 0x808080u);
    line.Width = 0;
    line.Height = 50;
    DrawLineView(line, canvas, DrawContext{});
    EXPECT_EQ(canvas.strokes[1].x1, canvas.strokes[1].x2);
}

}  // namespace
}  // namespace quillon
