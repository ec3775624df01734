// The exported file as a Linux user sees it: opened by LibreOffice Writer (converted to PDF with
// soffice) and read back word by word with pdftotext. Every text must start at its tab stop and end
// before the next one, for both letter systems, with and without a date. Built only where soffice
// and pdftotext are installed (see tests/CMakeLists.txt).

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

#include "support/PdfText.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

int Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

// One tab cell of an RTF paragraph: where its tab stop stands and the text it holds.
struct Cell {
    double x = 0;  // points from the page's left edge (the writer's margin is 600 twips)
    bool rightAligned = false;
    std::string text;
};

// The paragraphs of the writer's file that hold text, each a list of cells.
std::vector<std::vector<Cell>> Paragraphs(const std::string& rtf) {
    std::vector<std::vector<Cell>> rows;
    std::istringstream lines(rtf);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("\\pard\\t", 0) != 0) continue;
        const std::size_t open = line.find('{');
        std::vector<Cell> cells;
        // The prefix is "\pard", then per cell an optional "\tqr" and "\tx" with the stop in twips.
        bool right = false;
        for (std::size_t at = 5; at < open;) {
            if (line.compare(at, 4, "\\tqr") == 0) {
                right = true;
                at += 4;
            } else if (line.compare(at, 3, "\\tx") == 0) {
                std::size_t end = at + 3;
                while (end < open && std::isdigit(static_cast<unsigned char>(line[end]))) ++end;
                cells.push_back({30.0 + std::stod(line.substr(at + 3, end - at - 3)) / 20.0, right, {}});
                right = false;
                at = end;
            } else {
                ++at;
            }
        }
        std::string body = line.substr(open + 1, line.rfind("\\par}") - open - 1);
        std::size_t cell = 0;
        for (std::size_t at = 0; (at = body.find("\\tab", at)) != std::string::npos && cell < cells.size(); ++cell) {
            at += 4;
            // Format words up to the space that ends them, then the text up to the next \tab.
            while (at < body.size() && body[at] == '\\') {
                ++at;
                while (at < body.size() && (std::isalnum(static_cast<unsigned char>(body[at])) || body[at] == '-'))
                    ++at;
            }
            if (at < body.size() && body[at] == ' ') ++at;
            const std::size_t end = body.find("\\tab", at);
            cells[cell].text = body.substr(at, end == std::string::npos ? std::string::npos : end - at);
        }
        bool hasText = false;
        for (const Cell& c : cells) hasText |= c.text.find_first_not_of(' ') != std::string::npos;
        if (hasText) rows.push_back(cells);
    }
    return rows;
}

using quillon::test::PdfWord;
using quillon::test::Quoted;

// The words of the PDF, as lines from top to bottom, each from left to right.
std::vector<std::vector<PdfWord>> Lines(const std::string& bbox) {
    std::vector<PdfWord> words = quillon::test::ParseWords(bbox);
    std::sort(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) { return a.yMin < b.yMin; });
    std::vector<std::vector<PdfWord>> lines;
    for (const PdfWord& w : words) {
        if (lines.empty() || w.yMin - lines.back().front().yMin > 4) lines.emplace_back();
        lines.back().push_back(w);
    }
    for (auto& line : lines)
        std::sort(line.begin(), line.end(), [](const PdfWord& a, const PdfWord& b) { return a.xMin < b.xMin; });
    return lines;
}

std::vector<std::string> Split(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> parts;
    for (std::string part; in >> part;) parts.push_back(part);
    return parts;
}

TEST(LibreOffice, EveryValueStandsInItsColumn) {
    const fs::path dir = fs::temp_directory_path() / ("quillon-lo-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    struct Export {
        std::string name, options;
    };
    const Export exports[] = {{"pythagorean", ""},
                              {"chaldean", "--system chaldean"},
                              {"pythagorean-date", "--date 29/12/1985"},
                              {"chaldean-date", "--system chaldean --date 29/12/1985"}};
    std::string rtfs;
    for (const Export& e : exports) {
        const fs::path rtf = dir / (e.name + ".rtf");
        ASSERT_EQ(
            Shell(Quoted(QUILLON_EXECUTABLE) + " export " + e.options + " -o " + Quoted(rtf.string()) + " 'MARY 12'"),
            0);
        rtfs += " " + Quoted(rtf.string());
    }
    ASSERT_EQ(Shell("soffice --headless -env:UserInstallation=file://" + (dir / "profile").string() +
                    " --convert-to pdf --outdir " + Quoted(dir.string()) + rtfs),
              0);

    for (const Export& e : exports) {
        SCOPED_TRACE(e.name);
        const fs::path pdf = dir / (e.name + ".pdf");
        const fs::path bbox = dir / (e.name + ".html");
        ASSERT_EQ(Shell("pdftotext -bbox " + Quoted(pdf.string()) + " " + Quoted(bbox.string())), 0);
        const auto rows = Paragraphs(ReadFile(dir / (e.name + ".rtf")));
        const auto lines = Lines(ReadFile(bbox));
        ASSERT_EQ(rows.size(), lines.size()) << "one line of words a paragraph with text";
        for (std::size_t r = 0; r < rows.size(); ++r) {
            std::size_t w = 0;
            for (std::size_t c = 0; c < rows[r].size(); ++c) {
                const Cell& cell = rows[r][c];
                const auto expected = Split(cell.text);
                if (expected.empty()) continue;
                SCOPED_TRACE("\"" + cell.text + "\" at " + std::to_string(cell.x) + " pt");
                ASSERT_LE(w + expected.size(), lines[r].size());
                for (const std::string& text : expected) ASSERT_EQ(lines[r][w++].text, text);
                const PdfWord& first = lines[r][w - expected.size()];
                const PdfWord& last = lines[r][w - 1];
                if (cell.text.front() == ' ') {
                    EXPECT_GE(first.xMin, cell.x - 1) << "padded text starts at or after its stop";
                } else {
                    EXPECT_NEAR(first.xMin, cell.x, 1.5) << "the text starts at its tab stop";
                }
                if (c + 1 < rows[r].size()) {
                    EXPECT_LE(last.xMax, rows[r][c + 1].x + 1) << "and ends before the next";
                }
            }
            EXPECT_EQ(w, lines[r].size()) << "no word is left over";
        }
    }
    fs::remove_all(dir);
}

// Letters outside the ANSI code page go into the file as Unicode escapes; LibreOffice shows them
// (the PDF's text holds them even where no installed font draws a script: then a box stands in).
TEST(LibreOffice, LettersOutsideTheCodePageAreShown) {
    const fs::path dir = fs::temp_directory_path() / ("quillon-lo-unicode-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string name =
        "\xD0\x98\xD0\x92\xD0\x90\xD0\x9D \xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 "
        "\xE5\xB1\xB1\xE7\x94\xB0";  // ИВАН Ωμέγα 山田
    const fs::path rtf = dir / "unicode.rtf";
    ASSERT_EQ(Shell(Quoted(QUILLON_EXECUTABLE) + " export -o " + Quoted(rtf.string()) + " " + Quoted(name)), 0);
    ASSERT_EQ(Shell("soffice --headless -env:UserInstallation=file://" + (dir / "profile").string() +
                    " --convert-to pdf --outdir " + Quoted(dir.string()) + " " + Quoted(rtf.string())),
              0);
    const std::string text = quillon::test::CommandOutput("pdftotext " + Quoted((dir / "unicode.pdf").string()) + " -");
    EXPECT_NE(text.find("Data:"), std::string::npos) << text;
    EXPECT_NE(text.find(name), std::string::npos) << text;
    fs::remove_all(dir);
}

}  // namespace
