#pragma once
// Reading PDF files back with poppler's tools: the page count and size, the words of a page with
// their boxes, and a page's text.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace quillon::test {

inline std::string CommandOutput(const std::string& command) {
    std::string text;
    if (std::FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
        ::pclose(pipe);
    }
    return text;
}

inline std::string Quoted(const std::string& text) { return "'" + text + "'"; }

struct PdfWord {
    double xMin, yMin, xMax, yMax;
    std::string text;
};

// The words of "pdftotext -bbox" output, in its order.
inline std::vector<PdfWord> ParseWords(const std::string& bbox) {
    std::vector<PdfWord> words;
    auto attribute = [&bbox](std::size_t from, const char* name) {
        const std::size_t at = bbox.find(std::string(name) + "=\"", from) + std::strlen(name) + 2;
        return std::stod(bbox.substr(at, bbox.find('"', at) - at));
    };
    for (std::size_t at = 0; (at = bbox.find("<word ", at)) != std::string::npos;) {
        const std::size_t textStart = bbox.find('>', at) + 1;
        const std::size_t textEnd = bbox.find("</word>", textStart);
        words.push_back({attribute(at, "xMin"), attribute(at, "yMin"), attribute(at, "xMax"), attribute(at, "yMax"),
                         bbox.substr(textStart, textEnd - textStart)});
        at = textEnd;
    }
    return words;
}

inline std::vector<PdfWord> PageWords(const std::string& pdf, int page) {
    return ParseWords(CommandOutput("pdftotext -bbox -f " + std::to_string(page) + " -l " + std::to_string(page) + " " +
                                    Quoted(pdf) + " -"));
}

inline int PageCount(const std::string& pdf) {
    const std::string info = CommandOutput("pdfinfo " + Quoted(pdf));
    const auto at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + 6);
}

// "612 x 792 pts (letter)" and the like.
inline std::string PageSize(const std::string& pdf) {
    const std::string info = CommandOutput("pdfinfo " + Quoted(pdf));
    const auto at = info.find("Page size:");
    if (at == std::string::npos) return {};
    std::string size = info.substr(at + 10, info.find('\n', at) - at - 10);
    size.erase(0, size.find_first_not_of(' '));
    return size;
}

// The size of each page ("612 x 792 pts (letter)", ...), first page first.
inline std::vector<std::string> PageSizes(const std::string& pdf) {
    std::vector<std::string> sizes;
    const int pages = PageCount(pdf);
    const std::string info = CommandOutput("pdfinfo -f 1 -l " + std::to_string(pages) + " " + Quoted(pdf));
    for (int page = 1; page <= pages; ++page) {
        const std::string label = "Page" +
                                  std::string(page < 10    ? "    "
                                              : page < 100 ? "   "
                                                           : "  ") +
                                  std::to_string(page) + " size:";
        const auto at = info.find(label);
        if (at == std::string::npos) break;
        std::string size = info.substr(at + label.size(), info.find('\n', at) - at - label.size());
        size.erase(0, size.find_first_not_of(' '));
        sizes.push_back(size.substr(0, size.find(" pts")));
    }
    return sizes;
}

// Where each glyph of a page is drawn: its origin on the baseline, in points, as pdftocairo's SVG
// output places it. Unlike word boxes these do not depend on the font metrics a PDF carries.
struct GlyphOrigin {
    double x, y;
};
inline std::vector<GlyphOrigin> GlyphOrigins(const std::string& pdf, int page) {
    const std::string svg = CommandOutput("pdftocairo -svg -f " + std::to_string(page) + " -l " + std::to_string(page) +
                                          " " + Quoted(pdf) + " -");
    std::vector<GlyphOrigin> origins;
    auto number = [&svg](std::size_t from, const char* name) {
        const std::size_t at = svg.find(std::string(" ") + name + "=\"", from) + std::strlen(name) + 3;
        return std::stod(svg.substr(at, svg.find('"', at) - at));
    };
    for (std::size_t at = 0; (at = svg.find("<use xlink:href=\"#glyph", at)) != std::string::npos; ++at) {
        origins.push_back({number(at, "x"), number(at, "y")});
    }
    return origins;
}

// The text of one page, its words joined by single blanks.
inline std::string PageText(const std::string& pdf, int page) {
    std::string joined;
    for (const PdfWord& word : PageWords(pdf, page)) joined += (joined.empty() ? "" : " ") + word.text;
    return joined;
}

}  // namespace quillon::test
