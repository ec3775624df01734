#include "common/Utf8.h"

namespace quillon {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string result;
    AppendUtf16AsUtf8(result, text);
    return result;
}

void AppendUtf16AsUtf8(std::string& result, std::u16string_view text) {
    result.reserve(result.size() + text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c < 0x80) {
            result += static_cast<char>(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(result, c);
    }
}

namespace {

// Decodes the sequence at bytes[i]: its code point and length, or a length of 0 for bytes that are
// no UTF-8 (a stray continuation byte, a cut sequence, an overlong form, a surrogate, a code point
// past U+10FFFF).
struct Decoded {
    char32_t codePoint = 0;
    std::size_t length = 0;
};

Decoded DecodeOne(const unsigned char* bytes, std::size_t i, std::size_t size) {
    const unsigned lead = bytes[i];
    if (lead < 0x80) return {lead, 1};
    // The lead byte tells how many continuation bytes follow; the smallest code point of each
    // length tells an overlong form.
    std::size_t extra = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
    } else {
        return {};
    }
    static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    char32_t c = lead & (0x3Fu >> extra);
    if (size - i <= extra) return {};
    for (std::size_t k = 1; k <= extra; ++k) {
        const unsigned next = bytes[i + k];
        if ((next & 0xC0) != 0x80) return {};
        c = (c << 6) | (next & 0x3F);
    }
    if (c < kLeast[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {};
    return {c, extra + 1};
}

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c >= 0x10000) {
        out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
        out += static_cast<char16_t>(c);
    }
}

}  // namespace

bool Utf8ToUtf16(std::string_view text, std::u16string& out) {
    out.resize(text.size());  // never more code units than bytes
    std::size_t length = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size();) {
        const Decoded decoded = DecodeOne(bytes, i, text.size());
        if (decoded.length == 0) return false;
        const char32_t c = decoded.codePoint;
        if (c >= 0x10000) {
            out[length++] = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out[length++] = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out[length++] = static_cast<char16_t>(c);
        }
        i += decoded.length;
    }
    out.resize(length);
    return true;
}

std::u16string BytesToUtf16Escaped(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t i = 0; i < bytes.size();) {
        const Decoded decoded = DecodeOne(data, i, bytes.size());
        if (decoded.length == 0) {
            out += static_cast<char16_t>(kEscapedByteBase + data[i]);
            ++i;
            continue;
        }
        AppendUtf16(out, decoded.codePoint);
        i += decoded.length;
    }
    return out;
}

std::string Utf16EscapedToBytes(std::u16string_view text) {
    std::string bytes;
    std::size_t from = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !IsEscapedByteAt(text, i)) continue;
        AppendUtf16AsUtf8(bytes, text.substr(from, i - from));
        if (i < text.size()) bytes += static_cast<char>(text[i] - kEscapedByteBase);
        from = i + 1;
    }
    return bytes;
}

}  // namespace quillon
