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

}  // namespace quillon
