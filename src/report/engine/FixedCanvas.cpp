#include "report/engine/FixedCanvas.h"

#include <algorithm>

namespace quillon {

int FixedCanvas::FontHeight() const {
    if (font_.pixelHeight > 0) return font_.pixelHeight;
    return SaturatedInt(std::int64_t{font_.pointSize} * (printerDpi_ > 0 ? printerDpi_ : 96) / 72);
}

int FixedCanvas::TextWidth(std::string_view utf8) const {
    // A cell height leaves about eight ninths of it for the characters.
    const int height = font_.cellHeight ? static_cast<int>(std::int64_t{FontHeight()} * 8 / 9) : FontHeight();
    const std::int64_t blank = std::max(1, height / 4) + std::int64_t{spacing_};
    const std::int64_t other = std::max(1, height / 2) + std::int64_t{spacing_};
    std::int64_t width = 0;
    for (char c : utf8) {
        if (c == ' ') {
            width += blank;
        } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            width += other;
        }
    }
    return SaturatedInt(width);
}

void FixedCanvas::TextOut(int x, int y, const Rect& clip, std::string_view utf8, bool) {
    texts.push_back({x, y, clip, std::string(utf8), font_, justifyExtra_, justifyBreaks_});
}

}  // namespace quillon
