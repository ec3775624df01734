#pragma once
// UTF-8 encoding of code points and of UTF-16 text, for the core's conversions at its edges.

#include <string>
#include <string_view>

namespace quillon {

void AppendUtf8(std::string& out, char32_t codePoint);

// A lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace quillon
