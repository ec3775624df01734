#include "help/TextLines.h"

#include <algorithm>
#include <utility>

namespace quillon {
namespace {

// Words of a text, split at blanks; "\n" is a word of its own that forces a new line.
std::vector<std::string> WordsOf(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c == ' ' || c == '\n') {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
            if (c == '\n') words.emplace_back("\n");
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

}  // namespace

std::size_t Columns(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::vector<std::string> Wrapped(std::string_view text, std::size_t width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t lineColumns = 0;
    bool open = false;
    for (const std::string& word : WordsOf(text)) {
        if (word == "\n") {
            lines.push_back(line);
            line.clear();
            lineColumns = 0;
            open = false;
            continue;
        }
        const std::size_t wordColumns = Columns(word);
        if (open && lineColumns + 1 + wordColumns > width) {
            lines.push_back(line);
            line.clear();
            lineColumns = 0;
            open = false;
        }
        if (open) {
            line += ' ';
            ++lineColumns;
        }
        line += word;
        lineColumns += wordColumns;
        open = true;
    }
    if (open || lines.empty()) lines.push_back(line);
    return lines;
}

std::string Padded(std::string text, std::size_t width) {
    const std::size_t columns = Columns(text);
    if (columns < width) text.append(width - columns, ' ');
    return text;
}

std::string PreformattedText(std::string_view typed) {
    std::string text;
    std::size_t column = 0;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const char c = typed[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < typed.size() && typed[i + 1] == '\n') ++i;
            text += '\n';
            column = 0;
        } else if (c == '\t') {
            const std::size_t next = (column / 8 + 1) * 8;
            text.append(next - column, ' ');
            column = next;
        } else {
            text += c;
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++column;
        }
    }
    return text;
}

std::size_t SpanWidth(const std::vector<std::size_t>& widths, std::size_t first, std::size_t span) {
    std::size_t width = kColumnGap * (span - 1);
    for (std::size_t c = first; c < first + span; ++c) width += widths[c];
    return width;
}

std::vector<std::size_t> FitColumnWidths(const std::vector<std::vector<CellExtent>>& rows, std::size_t lineWidth) {
    std::size_t columns = 0;
    for (const auto& row : rows) {
        std::size_t used = 0;
        for (const CellExtent& cell : row) used += cell.span;
        columns = std::max(columns, used);
    }
    std::vector<std::size_t> widths(columns, 0);
    if (columns == 0) return widths;
    for (const auto& row : rows) {
        std::size_t column = 0;
        for (const CellExtent& cell : row) {
            if (cell.span == 1) widths[column] = std::max(widths[column], cell.columns);
            column += cell.span;
        }
    }
    for (const auto& row : rows) {
        std::size_t column = 0;
        for (const CellExtent& cell : row) {
            const std::size_t span = std::min(cell.span, columns - column);
            if (const std::size_t spanned = SpanWidth(widths, column, span); span > 1 && cell.columns > spanned) {
                widths[column + span - 1] += cell.columns - spanned;
            }
            column += cell.span;
        }
    }
    const std::size_t gaps = kColumnGap * (columns - 1);
    const std::size_t available = lineWidth > gaps ? lineWidth - gaps : columns * kNarrowestColumn;
    while (SpanWidth(widths, 0, columns) - gaps > available) {
        auto widest = std::max_element(widths.begin(), widths.end());
        if (*widest <= kNarrowestColumn) break;
        --*widest;
    }
    return widths;
}

}  // namespace quillon
