#include "report/format/AnsiText.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "common/Utf8.h"

namespace quillon {
namespace {

// Code points of the bytes 0x80 to 0x9F in code page 1252. The five bytes the code page leaves
// undefined map to the C1 control characters of the same number, as the system's own conversion
// does, which keeps the mapping reversible.
constexpr std::array<char16_t, 32> kHighControls = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The length of the text's first run of ASCII bytes, looked at eight bytes at a time.
std::size_t AsciiPrefix(std::string_view text) {
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t block;
        std::memcpy(&block, text.data() + i, 8);
        if (block & 0x8080808080808080ULL) break;
    }
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i;
    return i;
}

char32_t CodePointOf(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
    return byte;
}

}  // namespace

char32_t NextUtf8CodePoint(std::string_view text, std::size_t& i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    int length = 0;
    char32_t c = 0;
    if (byte < 0x80) {
        ++i;
        return byte;
    } else if ((byte & 0xE0) == 0xC0) {
        length = 2;
        c = byte & 0x1F;
    } else if ((byte & 0xF0) == 0xE0) {
        length = 3;
        c = byte & 0x0F;
    } else if ((byte & 0xF8) == 0xF0) {
        length = 4;
        c = byte & 0x07;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + static_cast<std::size_t>(length) > text.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        c = (c << 6) | (next & 0x3F);
    }
    i += static_cast<std::size_t>(length);
    return c;
}

std::optional<char> AnsiByteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t k = 0; k < kHighControls.size(); ++k) {
        if (kHighControls[k] == c) return static_cast<char>(0x80 + k);
    }
    return std::nullopt;
}

std::string AnsiToUtf8(std::string_view ansi) {
    // ASCII, nearly all of a template's text, is the same bytes in UTF-8.
    std::size_t ascii = AsciiPrefix(ansi);
    if (ascii == ansi.size()) return std::string(ansi);
    std::string utf8;
    utf8.reserve(ansi.size() + 8);
    for (std::size_t i = 0; i < ansi.size(); i += ascii + 1) {
        ascii = AsciiPrefix(ansi.substr(i));
        utf8.append(ansi, i, ascii);
        if (i + ascii == ansi.size()) break;
        AppendUtf8(utf8, CodePointOf(static_cast<unsigned char>(ansi[i + ascii])));
    }
    return utf8;
}

std::string Utf8ToAnsi(std::string_view utf8) {
    std::string ansi;
    ansi.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t ascii = AsciiPrefix(utf8.substr(i));
        ansi.append(utf8, i, ascii);
        i += ascii;
        if (i < utf8.size()) ansi += AnsiByteOf(NextUtf8CodePoint(utf8, i)).value_or('?');
    }
    return ansi;
}

}  // namespace quillon
