#pragma once
// What the report engine draws on: a screen image, a printer page, or a recording canvas in the
// tests. Coordinates are device pixels of that canvas.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "report/format/Views.h"

namespace quillon {

// Positions that may grow past an int (sums and products of template fields) are worked out in
// 64 bits; a canvas takes the nearest int.
inline int SaturatedInt(std::int64_t value) {
    constexpr std::int64_t kLowest = std::numeric_limits<int>::min(), kHighest = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(value, kLowest, kHighest));
}

// Rounds to the nearest integer, halves to even, as the engine scales coordinates; beyond an int
// it saturates.
inline int RoundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kLowest = std::numeric_limits<int>::min(), kHighest = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(std::nearbyint(value), kLowest, kHighest));
}

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return SaturatedInt(std::int64_t{right} - left); }
    int Height() const { return SaturatedInt(std::int64_t{bottom} - top); }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct FontSpec {
    std::string name;
    int pixelHeight = 0;  // character height in pixels; 0 means use pointSize (printer canvases)
    // pixelHeight is the height of the whole cell (ascent and descent) rather than of the
    // characters: a slightly smaller font, as text is measured for wrapping.
    bool cellHeight = false;
    int pointSize = 0;
    std::uint16_t style = 0;  // 1 italic, 2 bold, 4 underline, 8 strike-out
    Colour color = 0;
    bool rotated = false;  // turned by 90 degrees, reading upwards
};

enum class PenStyle { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Double = 5 };

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void SetFont(const FontSpec& font) = 0;
    // The current font's height in pixels.
    virtual int FontHeight() const = 0;
    virtual int TextWidth(std::string_view utf8) const = 0;
    virtual void SetCharSpacing(int pixels) = 0;
    // Spreads extra pixels over the blanks of the next text output; (0, 0) turns it off.
    virtual void SetJustification(int extraPixels, int breaks) = 0;
    virtual void TextOut(int x, int y, const Rect& clip, std::string_view utf8, bool rightToLeft) = 0;

    virtual void SetPen(Colour colour, int width, PenStyle style) = 0;
    virtual void SetBrush(Colour colour) = 0;
    virtual void FillRect(const Rect& rect) = 0;
    virtual void Line(int x1, int y1, int x2, int y2) = 0;

    // A printer's canvas keeps point sizes and draws every object.
    virtual bool IsPrinter() const { return false; }
    virtual bool RectVisible(const Rect&) const { return true; }
};

}  // namespace quillon
