#pragma once
// Expansion of the bracketed names in a memo's lines. The scan counts "[" and "]" outside quotes,
// so nested brackets stay inside the name and quoted brackets do not count; each name's text is
// supplied by the caller and is never scanned again.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The text that replaces one bracketed name (the text between the brackets).
using NameText = std::function<std::string(const std::string& name)>;

// Expansion stops as soon as the line is longer than maxBytes: the line returned is then longer,
// and the caller refuses it, so that names standing for long texts cannot grow it without end.
std::string ExpandLine(std::string line, const NameText& textOf, std::size_t maxBytes = SIZE_MAX);

// Expands every non-empty line (unless textOnly); a result with line breaks becomes several
// lines, an empty result stays one empty line. Expansion stops as soon as the lines are more than
// maxLines or their bytes more than maxBytes, returning what passed the bound.
std::vector<std::string> ExpandMemo(const std::vector<std::string>& lines, bool textOnly, const NameText& textOf,
                                    std::size_t maxLines = SIZE_MAX, std::size_t maxBytes = SIZE_MAX);

// Splits a text at CR LF, CR or LF.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace quillon
