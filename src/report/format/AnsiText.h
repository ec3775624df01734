#pragma once
// Text in the report's streams is stored in the Windows ANSI code page (1252), one byte a
// character; in memory the report engine keeps UTF-8. These two functions convert at the stream's
// edge. Every byte maps to a character and back, so a stream's strings survive a load and a save
// unchanged; characters outside the code page are written as "?".

#include <string>
#include <string_view>

namespace quillon {

std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);

}  // namespace quillon
