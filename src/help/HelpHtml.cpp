#include "help/HelpHtml.h"

#include <algorithm>
#include <charconv>

#include "help/HtmlTags.h"
#include "help/TextLines.h"

namespace quillon {
namespace {

// What a tag does to the text of a page; any tag not named here leaves it as it is.
enum class ElementKind { Break, Block, Heading, HeadingEnd, List, ListEnd, Item, Pre, PreEnd, Table, Other };

struct NamedKind {
    std::string_view name;
    ElementKind kind;
};

constexpr NamedKind kElementKinds[] = {
    {"br", ElementKind::Break},    {"p", ElementKind::Block},      {"/p", ElementKind::Block},
    {"div", ElementKind::Block},   {"/div", ElementKind::Block},   {"ul", ElementKind::List},
    {"ol", ElementKind::List},     {"/ul", ElementKind::ListEnd},  {"/ol", ElementKind::ListEnd},
    {"li", ElementKind::Item},     {"pre", ElementKind::Pre},      {"/pre", ElementKind::PreEnd},
    {"table", ElementKind::Table}, {"tr", ElementKind::Table},     {"td", ElementKind::Table},
    {"th", ElementKind::Table},    {"/td", ElementKind::Table},    {"/th", ElementKind::Table},
    {"/tr", ElementKind::Table},   {"/table", ElementKind::Table},
};

// The level of a heading, "h1" to "h6", or of its end tag; 0 for any other tag.
int HeadingLevel(std::string_view name) {
    if (name.starts_with('/')) name.remove_prefix(1);
    return name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6' ? name[1] - '0' : 0;
}

ElementKind KindOf(std::string_view name) {
    if (HeadingLevel(name) > 0) return name.starts_with('/') ? ElementKind::HeadingEnd : ElementKind::Heading;
    for (const auto& [named, kind] : kElementKinds) {
        if (named == name) return kind;
    }
    return ElementKind::Other;
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
        switch (KindOf(name)) {
            case ElementKind::Break:
                if (inCell_) {
                    CellBreak();
                } else {
                    TrimTrailingBlank(inline_);
                    inline_ += '\n';
                }
                break;
            case ElementKind::Block:
            case ElementKind::HeadingEnd: Flush(); break;
            case ElementKind::Heading:
                Flush();
                heading_ = HeadingLevel(name);
                break;
            case ElementKind::List:
                Flush();
                if (lists_.empty()) Separate();
                lists_.push_back({name == "ol", 1, 2 + 4 * lists_.size()});
                break;
            case ElementKind::ListEnd:
                Flush();
                if (!lists_.empty()) lists_.pop_back();
                marker_.clear();
                if (lists_.empty()) separateNext_ = true;
                break;
            case ElementKind::Item:
                Flush();
                if (!lists_.empty()) {
                    List& list = lists_.back();
                    marker_ = list.ordered ? std::to_string(list.next++) + ". " : "- ";
                    list.itemIndent = 2 + 4 * (lists_.size() - 1) + marker_.size();
                }
                break;
            case ElementKind::Pre:
                Flush();
                inPre_ = true;
                pre_.clear();
                break;
            case ElementKind::PreEnd:
                inPre_ = false;
                EmitPre();
                break;
            case ElementKind::Table: TableElement(tag); break;
            case ElementKind::Other: break;
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

    void EmitPre() {
        std::string text = PreformattedText(pre_);
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
        std::vector<std::vector<CellExtent>> extents;
        for (const auto& row : rows) {
            auto& extent = extents.emplace_back();
            for (const Cell& cell : row) extent.push_back({Columns(cell.text), cell.span});
        }
        const std::string indent = Indent();
        const std::size_t lineWidth = width_ > indent.size() ? width_ - indent.size() : 0;
        const std::vector<std::size_t> widths = FitColumnWidths(extents, lineWidth);
        const std::size_t columns = widths.size();
        if (columns == 0) return;
        Separate();
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const auto& row = rows[r];
            std::vector<std::vector<std::string>> cells;
            std::vector<std::size_t> cellWidths;
            std::size_t height = 0;
            std::size_t column = 0;
            for (const Cell& cell : row) {
                cellWidths.push_back(SpanWidth(widths, column, std::min(cell.span, columns - column)));
                cells.push_back(Wrapped(cell.text, cellWidths.back()));
                height = std::max(height, cells.back().size());
                column += cell.span;
            }
            for (std::size_t l = 0; l < height; ++l) {
                std::string line = indent;
                for (std::size_t c = 0; c < cells.size(); ++c) {
                    const std::string part = l < cells[c].size() ? cells[c][l] : std::string();
                    line += c + 1 < cells.size() ? Padded(part, cellWidths[c] + kColumnGap) : part;
                }
                lines_.push_back(line);
            }
            const bool headerRow = r == 0 && !row.empty() &&
                                   std::all_of(row.begin(), row.end(), [](const Cell& cell) { return cell.header; });
            if (headerRow) {
                std::string rule = indent;
                for (std::size_t c = 0; c < columns; ++c) {
                    rule += std::string(widths[c], '-');
                    if (c + 1 < columns) rule += std::string(kColumnGap, ' ');
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