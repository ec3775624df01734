#pragma once
// Text in the report's streams is stored in the Windows ANSI code page (1252), one byte a
// character; in memory the report engine keeps UTF-8. These two functions convert at the stream's
// edge. Every byte maps to a character and back, so a stream's strings survive a load and a save
// unchanged; characters outside the code page are written as "?".

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);

// The pieces of Utf8ToAnsi, for writers that put something else than "?" in place of a character
// the code page lacks. NextUtf8CodePoint decodes the sequence at text[i] and moves i past it; a
// byte that starts no sequence gives U+FFFD and moves i by one. AnsiByteOf gives the code page's
// byte for a character, nothing when the code page has none.
char32_t NextUtf8CodePoint(std::string_view text, std::size_t& i);
std::optional<char> AnsiByteOf(char32_t c);

}  // namespace quillon
