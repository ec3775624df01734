#pragma once
// A canvas with fixed font metrics that records what is drawn on it: every character is as wide
// as half the font's height and a blank a quarter (at least one pixel), plus the character
// spacing. It measures the
// same on every machine, so the tests and the command line's preparation do not depend on fonts.

#include <string>
#include <vector>

#include "report/engine/Canvas.h"

namespace quillon {

class FixedCanvas final : public Canvas {
public:
    struct Text {
        int x, y;
        Rect clip;
        std::string text;
        FontSpec font;
        int justifyExtra, justifyBreaks;
    };
    struct Stroke {
        int x1, y1, x2, y2;
        Colour colour;
        int width;
        PenStyle style;
    };
    struct Fill {
        Rect rect;
        Colour colour;
    };

    void SetFont(const FontSpec& font) override { font_ = font; }
    int FontHeight() const override;
    int TextWidth(std::string_view utf8) const override;
    void SetCharSpacing(int pixels) override { spacing_ = pixels; }
    void SetJustification(int extraPixels, int breaks) override {
        justifyExtra_ = extraPixels;
        justifyBreaks_ = breaks;
    }
    void TextOut(int x, int y, const Rect& clip, std::string_view utf8, bool rightToLeft) override;
    void SetPen(Colour colour, int width, PenStyle style) override {
        pen_ = colour;
        penWidth_ = width;
        penStyle_ = style;
    }
    void SetBrush(Colour colour) override { brush_ = colour; }
    void FillRect(const Rect& rect) override { fills.push_back({rect, brush_}); }
    void Line(int x1, int y1, int x2, int y2) override {
        strokes.push_back({x1, y1, x2, y2, pen_, penWidth_, penStyle_});
    }

    // A printer canvas at the given resolution, for tests of printing paths.
    void ActAsPrinter(int dotsPerInch) { printerDpi_ = dotsPerInch; }
    bool IsPrinter() const override { return printerDpi_ > 0; }

    std::vector<Text> texts;
    std::vector<Stroke> strokes;
    std::vector<Fill> fills;

private:
    FontSpec font_;
    int spacing_ = 0;
    int justifyExtra_ = 0, justifyBreaks_ = 0;
    Colour pen_ = 0, brush_ = 0xFFFFFF;
    int penWidth_ = 1;
    PenStyle penStyle_ = PenStyle::Solid;
    int printerDpi_ = 0;
};

}  // namespace quillon
