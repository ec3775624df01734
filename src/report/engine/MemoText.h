#pragma once
// Expansion of the bracketed names in a memo's lines. The scan counts "[" and "]" outside quotes,
// so nested brackets stay inside the name and quoted brackets do not count; each name's text is
// supplied by the caller and is never scanned again.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The text that replaces one bracketed name (the text between the brackets).
using NameText = std::function<std::string(const std::string& name)>;

std::string ExpandLine(std::string line, const NameText& textOf);

// Expands every non-empty line (unless textOnly); a result with line breaks becomes several
// lines, an empty result stays one empty line.
std::vector<std::string> ExpandMemo(const std::vector<std::string>& lines, bool textOnly, const NameText& textOf);

// Splits a text at CR LF, CR or LF.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace quillon
