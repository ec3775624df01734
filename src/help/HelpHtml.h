#pragma once
// The HTML of the help pages, read without a browser: the sitemap form of the table of contents
// and the keyword index (nested lists whose items are objects with a "Name" and a "Local"
// parameter), and a page laid out as plain text for a terminal. Both are read leniently, as help
// compilers and editors write HTML.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

struct SitemapEntry {
    std::string name;
    std::string local;  // the page, as written; empty for a heading without a page
    int depth = 0;      // 0 for the items of the outermost list
};

// The entries in the order they appear, each with the depth of the list that holds it.
std::vector<SitemapEntry> ParseSitemap(std::string_view html);

// Replaces the character references of HTML (&amp; &lt; &gt; &quot; &apos; &nbsp; and numeric ones)
// by their characters, in UTF-8.
std::string DecodeHtmlText(std::string_view text);

// A page as plain text, lines at most width columns where words allow: headings underlined,
// paragraphs wrapped and separated by a blank line, lists with "-" or numbers, tables in aligned
// columns, preformatted text indented as it stands. The head, pictures and link targets are left
// out; the text of links stays.
std::string HtmlToText(std::string_view html, std::size_t width = 78);

}  // namespace quillon
