#include "help/HelpHtml.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>

#include "common/Utf8.h"
#include "help/AsciiText.h"

namespace quillon {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// Whether the text starts with the lower-case ASCII word, in any letter case.
bool StartsWithLowerCase(std::string_view text, std::string_view word) {
    return text.size() >= word.size() && AsciiLowerCase(text.substr(0, word.size())) == word;
}

struct Tag {
    std::string name;                                             // lower case, with a leading "/" for an end tag
    std::vector<std::pair<std::string, std::string>> attributes;  // names in lower case, values decoded

    std::string Attribute(std::string_view wanted) const {
        for (const auto& [name, value] : attributes) {
            if (name == wanted) return value;
        }
        return {};
    }
};

// Reads the tag whose "<" stands at the start of text; returns its length with the tag, or 0 when
// the text holds no complete tag there.
std::size_t ReadTag(std::string_view text, Tag& tag) {
    std::size_t at = 1;
    const auto skipSpace = [&] {
        while (at < text.size() && IsSpace(text[at])) ++at;
    };
    const auto readName = [&] {
        const std::size_t start = at;
        while (at < text.size() && !IsSpace(text[at]) && text[at] != '>' && text[at] != '=' && text[at] != '/') ++at;
        return AsciiLowerCase(text.substr(start, at - start));
    };
    skipSpace();
    tag.name.clear();
    if (at < text.size() && text[at] == '/') {
        tag.name = "/";
        ++at;
    }
    tag.name += readName();
    tag.attributes.clear();
    while (true) {
        skipSpace();
        if (at >= text.size()) return 0;
        if (text[at] == '>') return at + 1;
        if (text[at] == '/') {
            ++at;
            continue;
        }
        std::string name = readName();
        if (name.empty()) {
            ++at;
            continue;
        }
        skipSpace();
        std::string value;
        if (at < text.size() && text[at] == '=') {
            ++at;
            skipSpace();
            if (at < text.size() && (text[at] == '"' || text[at] == '\'')) {
                const char quote = text[at++];
                const std::size_t end = text.find(quote, at);
                if (end == std::string_view::npos) return 0;
                value = DecodeHtmlText(text.substr(at, end - at));
                at = end + 1;
            } else {
                const std::size_t start = at;
                while (at < text.size() && !IsSpace(text[at]) && text[at] != '>') ++at;
                value = DecodeHtmlText(text.substr(start, at - start));
            }
        }
        tag.attributes.emplace_back(std::move(name), std::move(value));
    }
}

std::optional<char32_t> NamedCharacter(std::string_view name) {
    if (name == "amp") return U'&';
    if (name == "lt") return U'<';
    if (name == "gt") return U'>';
    if (name == "quot") return U'"';
    if (name == "apos") return U'\'';
    if (name == "nbsp") return U'\u00A0';
    return std::nullopt;
}

std::optional<char32_t> NumericCharacter(std::string_view digits) {
    int base = 10;
    if (!digits.empty() && (digits.front() == 'x' || digits.front() == 'X')) {
        base = 16;
        digits.remove_prefix(1);
    }
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || value == 0 ||
        value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    return static_cast<char32_t>(value);
}

}  // namespace

std::string DecodeHtmlText(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            const std::size_t semicolon = text.find(';', i);
            if (semicolon != std::string_view::npos && semicolon - i <= 10) {
                const std::string_view reference = text.substr(i + 1, semicolon - i - 1);
                const auto character = !reference.empty() && reference.front() == '#'
                                           ? NumericCharacter(reference.substr(1))
                                           : NamedCharacter(reference);
                if (character) {
                    AppendUtf8(decoded, *character);
                    i = semicolon;
                    continue;
                }
            }
        }
        decoded += text[i];
    }
    return decoded;
}

std::vector<SitemapEntry> ParseSitemap(std::string_view html) {
    std::vector<SitemapEntry> entries;
    int depth = -1;
    bool inObject = false;
    SitemapEntry entry;
    std::size_t at = 0;
    while ((at = html.find('<', at)) != std::string_view::npos) {
        if (html.substr(at, 4) == "<!--") {
            const std::size_t end = html.find("-->", at + 4);
            if (end == std::string_view::npos) break;
            at = end + 3;
            continue;
        }
        Tag tag;
        const std::size_t length = ReadTag(html.substr(at), tag);
        if (length == 0) break;
        at += length;
        if (tag.name == "ul") {
            ++depth;
        } else if (tag.name == "/ul") {
            if (depth >= 0) --depth;
        } else if (tag.name == "object" && AsciiLowerCase(tag.Attribute("type")) == "text/sitemap") {
            inObject = true;
            entry = SitemapEntry{};
            entry.depth = depth < 0 ? 0 : depth;
        } else if (tag.name == "param" && inObject) {
            const std::string name = AsciiLowerCase(tag.Attribute("name"));
            // An index entry may name the keyword and then the page's title: the first name counts.
            if (name == "name" && entry.name.empty()) entry.name = tag.Attribute("value");
            if (name == "local" && entry.local.empty()) entry.local = tag.Attribute("value");
        } else if (tag.name == "/object" && inObject) {
            inObject = false;
            entries.push_back(entry);
        }
    }
    return entries;
}

namespace {

// The number of characters of a UTF-8 text, counted by their first bytes.
std::size_t Columns(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

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

// Fills lines of at most width columns; a longer word stands alone on its line.
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

class TextLayout {
public:
    explicit TextLayout(std::size_t width) : width_(width) {}

    void Text(std::string_view text) {
        if (inPre_) {
            pre_ += text;
            return;
        }
        std::string& target = inCell_ ? CellText() : inline_;
        for (char c : text) {
            const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
            if (!blank) {
                target += c;
            } else if (!target.empty() && target.back() != ' ' && target.back() != '\n') {
                target += ' ';
            }
        }
    }

    void Element(const Tag& tag) {
        const std::string& name = tag.name;
        if (name == "br") {
            if (inCell_) {
                CellBreak();
            } else {
                TrimTrailingBlank(inline_);
                inline_ += '\n';
            }
        } else if (name == "p" || name == "/p" || name == "div" || name == "/div") {
            Flush();
        } else if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6') {
            Flush();
            heading_ = name[1] - '0';
        } else if (name.size() == 3 && name[0] == '/' && name[1] == 'h' && name[2] >= '1' && name[2] <= '6') {
            Flush();
        } else if (name == "ul" || name == "ol") {
            Flush();
            if (lists_.empty()) Separate();
            lists_.push_back({name == "ol", 1, 2 + 4 * lists_.size()});
        } else if (name == "/ul" || name == "/ol") {
            Flush();
            if (!lists_.empty()) lists_.pop_back();
            marker_.clear();
            if (lists_.empty()) separateNext_ = true;
        } else if (name == "li") {
            Flush();
            if (!lists_.empty()) {
                List& list = lists_.back();
                marker_ = list.ordered ? std::to_string(list.next++) + ". " : "- ";
                list.itemIndent = 2 + 4 * (lists_.size() - 1) + marker_.size();
            }
        } else if (name == "pre") {
            Flush();
            inPre_ = true;
            pre_.clear();
        } else if (name == "/pre") {
            inPre_ = false;
            EmitPre();
        } else if (name == "table" || name == "tr" || name == "td" || name == "th" || name == "/td" ||
                   name == "/th" || name == "/tr" || name == "/table") {
            TableElement(tag);
        }
    }

    std::string Finish() {
        // A table that the page never closes still shows.
        if (tableOpen_) {
            EndCell();
            EmitTable();
        }
        Flush();
        std::string text;
        for (std::string line : lines_) {
            // A no-break space keeps words together while wrapping; the terminal gets a blank.
            for (std::size_t at; (at = line.find("\xC2\xA0")) != std::string::npos;) line.replace(at, 2, " ");
            TrimTrailingBlank(line);
            text += line;
            text += '\n';
        }
        while (text.size() > 1 && text.ends_with("\n\n")) text.pop_back();
        return text;
    }

private:
    struct List {
        bool ordered;
        int next;
        std::size_t itemIndent;  // where the text of the current item starts
    };
    struct Cell {
        std::string text;
        bool header = false;
        std::size_t span = 1;  // the number of columns it takes
    };

    static void TrimTrailingBlank(std::string& text) {
        while (!text.empty() && text.back() == ' ') text.pop_back();
    }

    std::string Indent() const { return std::string(lists_.empty() ? 0 : lists_.back().itemIndent, ' '); }

    void Separate() {
        if (!lines_.empty() && !lines_.back().empty()) lines_.emplace_back();
        separateNext_ = false;
    }

    // Writes the text gathered since the last block boundary: a heading, a list item's text or a
    // paragraph.
    void Flush() {
        TrimTrailingBlank(inline_);
        inline_.erase(0, std::min(inline_.find_first_not_of(" \n"), inline_.size()));
        const int heading = heading_;
        heading_ = 0;
        if (inline_.empty()) return;
        const std::string text = std::move(inline_);
        inline_.clear();
        if (heading > 0) {
            Separate();
            lines_.push_back(text);
            if (heading <= 2) lines_.push_back(std::string(Columns(text), heading == 1 ? '=' : '-'));
            separateNext_ = true;
            return;
        }
        if (lists_.empty() || separateNext_) Separate();
        const std::string rest = Indent();
        std::string first = rest;
        if (!marker_.empty()) {
            first.replace(first.size() - marker_.size(), marker_.size(), marker_);
            marker_.clear();
        }
        const std::vector<std::string> lines = Wrapped(text, width_ > rest.size() + 10 ? width_ - rest.size() : 10);
        for (std::size_t i = 0; i < lines.size(); ++i) lines_.push_back((i == 0 ? first : rest) + lines[i]);
        if (lists_.empty()) separateNext_ = true;
    }

    // Preformatted text as it was typed: the line ends of any system become "\n", and a tab goes on
    // to the next multiple of eight columns, as a terminal would place it.
    static std::string PreText(std::string_view typed) {
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

    void EmitPre() {
        std::string text = PreText(pre_);
        pre_.clear();
        if (text.starts_with('\n')) text.erase(0, 1);
        while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
        if (text.empty()) return;
        Separate();
        const std::string indent = Indent() + "    ";
        std::size_t start = 0;
        while (start <= text.size()) {
            const std::size_t end = std::min(text.find('\n', start), text.size());
            lines_.push_back(indent + text.substr(start, end - start));
            start = end + 1;
        }
        separateNext_ = true;
    }

    // The text of the cell being read. A cell is only open in a row of the open table, so there is
    // always one.
    std::string& CellText() { return rows_.back().back().text; }

    // A blank between words of a cell, which holds one line of text.
    void CellBreak() {
        std::string& text = CellText();
        if (!text.empty() && text.back() != ' ') text += ' ';
    }

    // Tables, also those a page leaves unclosed or starts with a row or a cell. A table inside a
    // cell becomes text of that cell: its cells are separated by blanks.
    void TableElement(const Tag& tag) {
        const std::string& name = tag.name;
        if (nested_ > 0) {
            if (name == "table") {
                ++nested_;
            } else if (name == "/table") {
                --nested_;
            }
            if (inCell_) CellBreak();
            return;
        }
        if (name == "table") {
            if (inCell_) {
                ++nested_;
                CellBreak();
                return;
            }
            // A table inside a table but outside its cells adds to the table that is open.
            if (tableOpen_) return;
            Flush();
            tableOpen_ = true;
        } else if (name == "tr") {
            EndCell();
            rows_.emplace_back();
            tableOpen_ = true;
        } else if (name == "td" || name == "th") {
            EndCell();
            if (rows_.empty()) rows_.emplace_back();
            int span = 1;
            const std::string colspan = tag.Attribute("colspan");
            std::from_chars(colspan.data(), colspan.data() + colspan.size(), span);
            rows_.back().push_back({{}, name == "th", static_cast<std::size_t>(std::clamp(span, 1, 100))});
            inCell_ = true;
            tableOpen_ = true;
        } else if (name == "/td" || name == "/th" || name == "/tr") {
            EndCell();
        } else if (name == "/table") {
            EndCell();
            EmitTable();
        }
    }

    void EndCell() {
        if (!inCell_) return;
        inCell_ = false;
        TrimTrailingBlank(CellText());
    }

    void EmitTable() {
        std::vector<std::vector<Cell>> rows;
        rows.swap(rows_);
        tableOpen_ = false;
        std::size_t columns = 0;
        for (const auto& row : rows) {
            std::size_t used = 0;
            for (const Cell& cell : row) used += cell.span;
            columns = std::max(columns, used);
        }
        if (columns == 0) return;
        // A column is as wide as its widest cell; cells that span columns share theirs.
        std::vector<std::size_t> widths(columns, 0);
        for (const auto& row : rows) {
            std::size_t column = 0;
            for (const Cell& cell : row) {
                if (cell.span == 1) widths[column] = std::max(widths[column], Columns(cell.text));
                column += cell.span;
            }
        }
        const auto spanWidth = [&widths](std::size_t first, std::size_t span) {
            std::size_t width = 2 * (span - 1);
            for (std::size_t c = first; c < first + span; ++c) width += widths[c];
            return width;
        };
        // A spanning cell wider than its columns widens the last of them.
        for (const auto& row : rows) {
            std::size_t column = 0;
            for (const Cell& cell : row) {
                const std::size_t span = std::min(cell.span, columns - column);
                if (const std::size_t need = Columns(cell.text); span > 1 && need > spanWidth(column, span)) {
                    widths[column + span - 1] += need - spanWidth(column, span);
                }
                column += cell.span;
            }
        }
        const std::string indent = Indent();
        const std::size_t gaps = 2 * (columns - 1);
        const std::size_t available = width_ > indent.size() + gaps ? width_ - indent.size() - gaps : columns * 10;
        // Narrow the widest column step by step until the table fits, but no column below ten.
        while (spanWidth(0, columns) - gaps > available) {
            auto widest = std::max_element(widths.begin(), widths.end());
            if (*widest <= 10) break;
            --*widest;
        }
        Separate();
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const auto& row = rows[r];
            std::vector<std::vector<std::string>> cells;
            std::vector<std::size_t> cellWidths;
            std::size_t height = 0;
            std::size_t column = 0;
            for (const Cell& cell : row) {
                cellWidths.push_back(spanWidth(column, std::min(cell.span, columns - column)));
                cells.push_back(Wrapped(cell.text, cellWidths.back()));
                height = std::max(height, cells.back().size());
                column += cell.span;
            }
            for (std::size_t l = 0; l < height; ++l) {
                std::string line = indent;
                for (std::size_t c = 0; c < cells.size(); ++c) {
                    const std::string part = l < cells[c].size() ? cells[c][l] : std::string();
                    line += c + 1 < cells.size() ? Padded(part, cellWidths[c] + 2) : part;
                }
                lines_.push_back(line);
            }
            const bool headerRow = r == 0 && !row.empty() &&
                                   std::all_of(row.begin(), row.end(), [](const Cell& cell) { return cell.header; });
            if (headerRow) {
                std::string rule = indent;
                for (std::size_t c = 0; c < columns; ++c) {
                    rule += std::string(widths[c], '-');
                    if (c + 1 < columns) rule += "  ";
                }
                lines_.push_back(rule);
            }
        }
        separateNext_ = true;
    }

    std::size_t width_;
    std::vector<std::string> lines_;
    std::string inline_;
    int heading_ = 0;
    std::vector<List> lists_;
    std::string marker_;
    bool separateNext_ = false;
    bool inPre_ = false;
    std::string pre_;
    std::vector<std::vector<Cell>> rows_;
    bool tableOpen_ = false;
    bool inCell_ = false;
    int nested_ = 0;  // how deep the reading is inside tables that stand in a cell
};

}  // namespace

std::string HtmlToText(std::string_view html, std::size_t width) {
    TextLayout layout(width);
    const auto text = [&layout](std::string_view part) {
        if (part.find('&') == std::string_view::npos) {
            layout.Text(part);
        } else {
            layout.Text(DecodeHtmlText(part));
        }
    };
    // Elements whose content is not text of the page.
    static const std::vector<std::string> skipped = {"head", "script", "style", "title"};
    // A "<" after the last ">" starts no tag: the rest is text.
    const std::size_t lastClose = html.rfind('>');
    Tag tag;
    std::size_t at = 0;
    while (at < html.size()) {
        const std::size_t open = html.find('<', at);
        if (open == std::string_view::npos || lastClose == std::string_view::npos || open > lastClose) {
            text(html.substr(at));
            break;
        }
        text(html.substr(at, open - at));
        if (html.substr(open, 4) == "<!--") {
            const std::size_t end = html.find("-->", open + 4);
            at = end == std::string_view::npos ? html.size() : end + 3;
            continue;
        }
        if (html.substr(open, 2) == "<!" || html.substr(open, 2) == "<?") {
            const std::size_t end = html.find('>', open);
            at = end == std::string_view::npos ? html.size() : end + 1;
            continue;
        }
        const std::size_t length = ReadTag(html.substr(open), tag);
        if (length == 0) {
            layout.Text(html.substr(open, 1));
            at = open + 1;
            continue;
        }
        at = open + length;
        if (std::find(skipped.begin(), skipped.end(), tag.name) != skipped.end()) {
            const std::string end = "</" + tag.name;
            std::size_t close = at;
            while ((close = html.find('<', close)) != std::string_view::npos &&
                   !StartsWithLowerCase(html.substr(close), end)) {
                ++close;
            }
            if (close == std::string_view::npos) break;
            at = close;
            continue;
        }
        layout.Element(tag);
    }
    return layout.Finish();
}

}  // namespace quillon
