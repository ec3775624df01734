#pragma once
// UTF-8 encoding and decoding of code points and of UTF-16 text, for the core's conversions at its
// edges.

#include <string>
#include <string_view>

namespace quillon {

void AppendUtf8(std::string& out, char32_t codePoint);

// A lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
void AppendUtf16AsUtf8(std::string& out, std::u16string_view text);

// Decodes UTF-8 into UTF-16, replacing the content of out. False, with out unspecified, for bytes
// that are not UTF-8: stray continuation bytes, cut sequences, overlong forms, surrogates and code
// points past U+10FFFF.
bool Utf8ToUtf16(std::string_view text, std::u16string& out);

// Names given to the program (its arguments, and so the files they name) are bytes that need not
// be UTF-8. To keep such a name exactly, every byte that is no part of UTF-8 becomes a lone
// surrogate U+DC80 to U+DCFF in UTF-16 (no real text holds one), and back. A byte below 0x80 is
// always UTF-8, so U+DC00 to U+DC7F never stand for a byte.
inline constexpr char16_t kEscapedByteBase = 0xDC00;
// Whether text[i] stands for a byte: U+DC80 to U+DCFF not as the second half of a pair.
inline bool IsEscapedByteAt(std::u16string_view text, std::size_t i) {
    return text[i] >= 0xDC80 && text[i] <= 0xDCFF && (i == 0 || text[i - 1] < 0xD800 || text[i - 1] > 0xDBFF);
}
std::u16string BytesToUtf16Escaped(std::string_view bytes);
// The bytes again: UTF-8 for the text, the escaped bytes as they were (other lone surrogates
// become U+FFFD).
std::string Utf16EscapedToBytes(std::u16string_view text);

}  // namespace quillon
