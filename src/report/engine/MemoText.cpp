#include "report/engine/MemoText.h"

#include <optional>

namespace quillon {
namespace {

struct BracketPart {
    std::size_t start = 0;  // the opening bracket
    std::size_t end = 0;    // the closing bracket, or the last character when there is none
    bool closed = false;
};

// Finds the bracketed part that starts at or after from; nothing when there is none.
std::optional<BracketPart> FindPart(const std::string& line, std::size_t from) {
    bool inDouble = false, inSingle = false;
    int depth = 0;
    BracketPart part;
    bool started = false;
    for (std::size_t j = from; j < line.size(); ++j) {
        const char c = line[j];
        if (c == '"' && !inSingle) {
            inDouble = !inDouble;
        } else if (c == '\'' && !inDouble) {
            inSingle = !inSingle;
        } else if (!inDouble && !inSingle) {
            if (c == '[') {
                if (depth == 0) {
                    part.start = j;
                    started = true;
                }
                ++depth;
            } else if (c == ']' && depth > 0) {
                if (--depth == 0) {
                    part.end = j;
                    part.closed = true;
                    return part;
                }
            }
        }
    }
    if (!started) return std::nullopt;
    part.end = line.size() - 1;
    return part;
}

}  // namespace

std::string ExpandLine(std::string line, const NameText& textOf, std::size_t maxBytes) {
    std::size_t i = 0;
    for (;;) {
        if (line.size() > maxBytes) return line;
        while (i < line.size() && line[i] != '[') ++i;
        if (i >= line.size()) return line;
        const auto part = FindPart(line, i);
        if (!part || part->end == part->start) return line;
        // The text between the brackets; a bracket left open takes the rest of the line, less its
        // last character.
        const std::size_t nameLength = part->end - part->start - 1;
        const std::string name = line.substr(part->start + 1, nameLength);
        const std::string text = textOf(name);
        line.replace(part->start, part->end - part->start + 1, text);
        i = part->start + text.size();
    }
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(std::move(current));
            current.clear();
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            current += text[i];
        }
    }
    lines.push_back(std::move(current));
    return lines;
}

std::vector<std::string> ExpandMemo(const std::vector<std::string>& lines, bool textOnly, const NameText& textOf,
                                    std::size_t maxLines, std::size_t maxBytes) {
    std::vector<std::string> expanded;
    std::size_t bytes = 0;
    for (const std::string& line : lines) {
        if (expanded.size() > maxLines || bytes > maxBytes) break;
        const std::string result = line.empty() || textOnly ? line : ExpandLine(line, textOf, maxBytes - bytes);
        if (result.empty()) {
            expanded.emplace_back();
        } else {
            for (std::string& piece : SplitLines(result)) {
                bytes += piece.size();
                expanded.push_back(std::move(piece));
            }
        }
    }
    return expanded;
}

}  // namespace quillon
