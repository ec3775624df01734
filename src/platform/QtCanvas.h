#pragma once
// The report engine's canvas on a QPainter: a screen image, or a printer page.

#include <QFont>
#include <QPainter>

#include "report/engine/Canvas.h"

class QPaintDevice;

namespace quillon {

class QtCanvas final : public Canvas {
public:
    // Paints on the device; printer says whether it is a printer page.
    explicit QtCanvas(QPaintDevice* device, bool printer = false);

    void SetFont(const FontSpec& font) override;
    int FontHeight() const override;
    int TextWidth(std::string_view utf8) const override;
    void SetCharSpacing(int pixels) override;
    void SetJustification(int extraPixels, int breaks) override;
    void TextOut(int x, int y, const Rect& clip, std::string_view utf8, bool rightToLeft) override;
    void SetPen(Colour colour, int width, PenStyle style) override;
    void SetBrush(Colour colour) override;
    void FillRect(const Rect& rect) override;
    void Line(int x1, int y1, int x2, int y2) override;
    bool IsPrinter() const override { return printer_; }

    QPainter& Painter() { return painter_; }

private:
    QPaintDevice* device_;
    QPainter painter_;
    bool printer_;
    QFont font_;
    QColor textColour_;
    bool rotated_ = false;
    int pixelHeight_ = 0;
    int spacing_ = 0;
    int justifyExtra_ = 0, justifyBreaks_ = 0;
};

// A canvas for measuring only: a small image at 96 dots per inch.
class ScratchCanvas {
public:
    ScratchCanvas();
    ~ScratchCanvas();
    Canvas& Get();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

// Converts a report colour (0x00BBGGRR; system colours and "no colour" become grey and white).
QColor ToQColor(Colour colour);

}  // namespace quillon
