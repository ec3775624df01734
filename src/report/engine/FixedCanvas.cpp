#include "report/engine/FixedCanvas.h"

#include <algorithm>

namespace quillon {

int FixedCanvas::FontHeight() const {
    if (font_.pixelHeight > 0) return font_.pixelHeight;
    return font_.pointSize * (printerDpi_ > 0 ? printerDpi_ : 96) / 72;
}

int FixedCanvas::TextWidth(std::string_view utf8) const {
    int characters = 0;
    for (char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    }
    const int advance = std::max(1, FontHeight() / 2) + spacing_;
    return characters * advance;
}

void FixedCanvas::TextOut(int x, int y, const Rect& clip, std::string_view utf8, bool) {
    texts.push_back({x, y, clip, std::string(utf8), font_, justifyExtra_, justifyBreaks_});
}

}  // namespace quillon
