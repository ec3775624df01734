#pragma once
// Plain text for a terminal, as the help's pages are laid out: UTF-8 text counted in columns,
// wrapped into lines, padded, and the columns of a table fitted into a line.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The number of characters of a UTF-8 text, counted by their first bytes.
std::size_t Columns(std::string_view text);

// Fills lines of at most width columns; a longer word stands alone on its line. A "\n" in the text
// starts a new line.
std::vector<std::string> Wrapped(std::string_view text, std::size_t width);

// The text followed by blanks up to width columns.
std::string Padded(std::string text, std::size_t width);

// Preformatted text as it was typed: the line ends of any system become "\n", and a tab goes on
// to the next multiple of eight columns, as a terminal would place it.
std::string PreformattedText(std::string_view typed);

// A table cell as the fitting of columns sees it.
struct CellExtent {
    std::size_t columns;   // the length of its text on one line
    std::size_t span = 1;  // the number of table columns it takes
};

// The number of blanks between two columns of a table.
inline constexpr std::size_t kColumnGap = 2;
// Fitting narrows no column below this, whatever the line's width.
inline constexpr std::size_t kNarrowestColumn = 10;

// The widths of a table's columns (as many as its longest row takes) for lines of lineWidth
// columns. A column is as wide as its widest cell; a cell that spans columns is given the gaps
// between them, and when it is still wider, the last of its columns widens. Then the widest column
// is narrowed step by step until the columns and their gaps fit the line, but none below ten; on a
// line too short for the gaps alone, ten for each column is what is fitted to.
std::vector<std::size_t> FitColumnWidths(const std::vector<std::vector<CellExtent>>& rows, std::size_t lineWidth);

// The width of span columns from the first, with the gaps between them.
std::size_t SpanWidth(const std::vector<std::size_t>& widths, std::size_t first, std::size_t span);

}  // namespace quillon
