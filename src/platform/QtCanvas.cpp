#include "platform/QtCanvas.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <algorithm>
#include <cstdint>

namespace quillon {
namespace {

// Device pixels far beyond any sheet are brought within this distance of it: Qt works out
// rectangles and text positions in ints, and strokes dashes along the whole of a line. Every
// line and rectangle drawn is upright, so what lies on the sheet does not change.
constexpr int kFarthestPixel = 1 << 22;

int Near(std::int64_t pixel) {
    return static_cast<int>(std::clamp<std::int64_t>(pixel, -kFarthestPixel, kFarthestPixel));
}

// The rectangle from left, top up to right, bottom (both excluded).
QRect ToQRect(const Rect& rect) {
    return QRect(QPoint(Near(rect.left), Near(rect.top)),
                 QPoint(Near(std::int64_t{rect.right} - 1), Near(std::int64_t{rect.bottom} - 1)));
}

}  // namespace

QColor ToQColor(Colour colour) {
    if (colour == kNoColour) return Qt::white;
    if (colour & 0x80000000u) return QColor(0xC0, 0xC0, 0xC0);
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

QtCanvas::QtCanvas(QPaintDevice* device, bool printer) : device_(device), painter_(device), printer_(printer) {
    painter_.setRenderHint(QPainter::TextAntialiasing);
}

void QtCanvas::SetFont(const FontSpec& font) {
    font_ = QFont(QString::fromStdString(font.name));
    // Whole-pixel glyph advances, as the layouts were measured with; fractional ones make some
    // labels a pixel too wide for their memos.
    font_.setHintingPreference(QFont::PreferFullHinting);
    if (font.pixelHeight > 0 && font.cellHeight) {
        // The characters' size that gives a cell (ascent plus descent) of that height.
        font_.setPixelSize(100);
        const QFontMetricsF reference(font_, device_);
        const double cellPerEm = (reference.ascent() + reference.descent()) / 100.0;
        font_.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelHeight / cellPerEm))));
        pixelHeight_ = font.pixelHeight;
    } else if (font.pixelHeight > 0) {
        font_.setPixelSize(font.pixelHeight);
        pixelHeight_ = font.pixelHeight;
    } else {
        font_.setPointSize(std::max(1, font.pointSize));
        pixelHeight_ = SaturatedInt(std::int64_t{font.pointSize} * device_->logicalDpiY() / 72);
    }
    font_.setItalic(font.style & 1);
    font_.setBold(font.style & 2);
    font_.setUnderline(font.style & 4);
    font_.setStrikeOut(font.style & 8);
    font_.setLetterSpacing(QFont::AbsoluteSpacing, spacing_);
    textColour_ = ToQColor(font.color);
    rotated_ = font.rotated;
    painter_.setFont(font_);
}

int QtCanvas::FontHeight() const { return pixelHeight_; }

int QtCanvas::TextWidth(std::string_view utf8) const {
    const QFontMetrics metrics(font_, device_);
    return metrics.horizontalAdvance(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

void QtCanvas::SetCharSpacing(int pixels) {
    spacing_ = pixels;
    font_.setLetterSpacing(QFont::AbsoluteSpacing, pixels);
    painter_.setFont(font_);
}

void QtCanvas::SetJustification(int extraPixels, int breaks) {
    justifyExtra_ = extraPixels;
    justifyBreaks_ = breaks;
}

void QtCanvas::TextOut(int x, int y, const Rect& clip, std::string_view utf8, bool rightToLeft) {
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    painter_.save();
    painter_.setClipRect(ToQRect(clip));
    painter_.setPen(textColour_);
    painter_.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    const QFontMetrics metrics(font_, device_);
    const int baseline = Near(std::int64_t{y} + metrics.ascent());
    if (rotated_) {
        painter_.translate(Near(x), Near(y));
        painter_.rotate(-90);
        painter_.drawText(0, metrics.ascent(), text);
    } else if (justifyExtra_ > 0 && justifyBreaks_ > 0) {
        // The blanks share the extra pixels, the first ones taking one more where they do not divide.
        const QStringList words = text.split(QLatin1Char(' '));
        std::int64_t at = x;
        int remaining = justifyExtra_;
        for (qsizetype i = 0; i < words.size(); ++i) {
            painter_.drawText(Near(at), baseline, words[i]);
            at += metrics.horizontalAdvance(words[i]) + metrics.horizontalAdvance(QLatin1Char(' '));
            if (i < justifyBreaks_) {
                const int share = remaining / static_cast<int>(justifyBreaks_ - i);
                at += share;
                remaining -= share;
            }
        }
    } else {
        painter_.drawText(Near(x), baseline, text);
    }
    painter_.restore();
}

void QtCanvas::SetPen(Colour colour, int width, PenStyle style) {
    Qt::PenStyle qtStyle = Qt::SolidLine;
    switch (style) {
        case PenStyle::Solid:
        case PenStyle::Double: qtStyle = Qt::SolidLine; break;
        case PenStyle::Dash: qtStyle = Qt::DashLine; break;
        case PenStyle::Dot: qtStyle = Qt::DotLine; break;
        case PenStyle::DashDot: qtStyle = Qt::DashDotLine; break;
        case PenStyle::DashDotDot: qtStyle = Qt::DashDotDotLine; break;
    }
    painter_.setPen(QPen(ToQColor(colour), std::clamp(width, 1, kFarthestPixel), qtStyle, Qt::FlatCap));
}

void QtCanvas::SetBrush(Colour colour) { painter_.setBrush(ToQColor(colour)); }

void QtCanvas::FillRect(const Rect& rect) { painter_.fillRect(ToQRect(rect), painter_.brush()); }

void QtCanvas::Line(int x1, int y1, int x2, int y2) { painter_.drawLine(Near(x1), Near(y1), Near(x2), Near(y2)); }

struct ScratchCanvas::Parts {
    QImage image{1, 1, QImage::Format_ARGB32};
    QtCanvas canvas{&image};
};

ScratchCanvas::ScratchCanvas() : parts_(std::make_unique<Parts>()) {}
ScratchCanvas::~ScratchCanvas() = default;
Canvas& ScratchCanvas::Get() { return parts_->canvas; }

}  // namespace quillon
