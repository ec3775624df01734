// The help file that the build compiles, read back through chmlib, and the reading of its HTML.

#include <gtest/gtest.h>
#include <set>

#include "help/ChmFile.h"
#include "help/ChmStructure.h"
#include "help/HelpAddress.h"
#include "help/HelpHtml.h"
#include "support/HelpTestSupport.h"

namespace quillon {
namespace {

const char kBuiltHelpFile[] = QUILLON_HELP_FILE;

class BuiltHelpFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.Loaded()) << library.Error();
        file = ChmFile::Open(library, kBuiltHelpFile);
        ASSERT_NE(file, nullptr) << kBuiltHelpFile;
    }

    std::string Page(const std::string& path) const { return file->Read(path).value_or(""); }

    ChmLibrary library;
    std::unique_ptr<ChmFile> file;
};

TEST_F(BuiltHelpFile, TheLibraryIsFoundWithItsVersion) {
    EXPECT_TRUE(library.Path().starts_with("/")) << library.Path();
    EXPECT_NE(library.Path().find("libchm.so.1"), std::string::npos) << library.Path();
}

TEST_F(BuiltHelpFile, NamesItsStartPageContentsAndIndex) {
    EXPECT_EQ(file->System().defaultTopic, "html/quillon.htm");
    EXPECT_EQ(file->System().title, "Quillon Help");
    EXPECT_EQ(file->System().contentsFile, "quill.hhc");
    EXPECT_EQ(file->System().indexFile, "quill.hhk");
    EXPECT_EQ(file->DefaultPage(), "/html/quillon.htm");
}

TEST_F(BuiltHelpFile, TheNamedPagesAreThereAndHaveText) {
    for (const char* page : {"/html/quillon.htm", "/html/quil3x2q.htm", "/html/quil5n02.htm"}) {
        SCOPED_TRACE(page);
        const std::string html = Page(page);
        EXPECT_GT(HtmlToText(html).size(), 1000u);
    }
    EXPECT_NE(Page("/html/quil3x2q.htm").find("<title>The date calculator</title>"), std::string::npos);
    EXPECT_NE(Page("/html/quil5n02.htm").find("<title>The math calculator</title>"), std::string::npos);
}

TEST_F(BuiltHelpFile, APageIsTheSameWhicheverWayItIsWritten) {
    const std::string page = Page("/html/quil3x2q.htm");
    for (const char* spelling : {"html\\quil3x2q.htm", "html/quil3x2q.htm", "/HTML/Quil3x2q.HTM"}) {
        EXPECT_EQ(file->Read(spelling), page) << spelling;
    }
    EXPECT_FALSE(file->Read("/html/nothing.htm").has_value());
    EXPECT_FALSE(file->Contains("/html/nothing.htm"));
}

// Every page, picture and style sheet that a page, the contents or the index names is in the file.
TEST_F(BuiltHelpFile, EveryReferenceLeadsSomewhere) {
    std::set<std::string> pages;
    for (const std::string& path : file->Files()) {
        if (path.ends_with(".htm")) pages.insert(path);
    }
    EXPECT_EQ(pages.size(), 13u);
    for (const std::string& page : pages) {
        const std::string html = Page(page);
        const std::string folder = page.substr(0, page.rfind('/') + 1);
        for (const std::string attribute : {"href=\"", "src=\""}) {
            for (std::size_t at = html.find(attribute); at != std::string::npos; at = html.find(attribute, at + 1)) {
                const std::size_t start = at + attribute.size();
                std::string target = html.substr(start, html.find('"', start) - start);
                target = target.substr(0, target.find('#'));
                EXPECT_EQ(target.find(':'), std::string::npos) << page << " names a page outside: " << target;
                target = std::filesystem::path(folder + target).lexically_normal().string();
                EXPECT_TRUE(file->Contains(target)) << page << " names " << target;
            }
        }
    }
    for (const std::string& sitemap : {file->System().contentsFile, file->System().indexFile}) {
        const std::vector<SitemapEntry> entries = ParseSitemap(Page(sitemap));
        EXPECT_GE(entries.size(), 12u) << sitemap;
        std::set<std::string> reached;
        for (const SitemapEntry& entry : entries) {
            EXPECT_TRUE(file->Contains(entry.local)) << sitemap << " names " << entry.local;
            reached.insert(ChmObjectPath(entry.local));
        }
        if (sitemap == file->System().contentsFile) {
            EXPECT_EQ(reached, pages) << "every page is in the contents";
        }
    }
}

TEST(ChmLibraryMissing, LoadsNothingAndOpensNothing) {
    const ChmLibrary missing("libchm-quillon-missing.so.1");
    EXPECT_FALSE(missing.Loaded());
    EXPECT_NE(missing.Error().find("libchm-quillon-missing.so.1"), std::string::npos) << missing.Error();
    EXPECT_EQ(ChmFile::Open(missing, kBuiltHelpFile), nullptr);
}

TEST(ChmFileOpen, RefusesWhatIsNoHelpFile) {
    const ChmLibrary library;
    test::TempFolder temp;
    test::WriteFile(temp / "quill.chm", "not a help file at all");
    EXPECT_EQ(ChmFile::Open(library, (temp / "quill.chm").string()), nullptr);
    EXPECT_EQ(ChmFile::Open(library, (temp / "missing.chm").string()), nullptr);
    EXPECT_EQ(ChmFile::Open(library, temp.Path().string()), nullptr);
}

// Damaged copies of the built help file, each of a kind that once made chmlib allocate gigabytes,
// divide by zero or read past its buffer: every one is refused before chmlib reads it.
TEST(ChmStructure, RefusesWhatChmlibWouldNotSurvive) {
    const std::string whole = test::ReadFile(kBuiltHelpFile);
    const auto put = [](std::string& bytes, std::size_t at, std::uint64_t value, int length) {
        for (int i = 0; i < length; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
    };
    const std::size_t directory = whole.find("ITSP");
    const std::size_t controlData = whole.find("LZXC") - 4;
    const std::size_t resetTable = whole.find(std::string("\2\0\0\0\5\0\0\0\x08\0\0\0\x28\0\0\0", 16));
    const std::string resetTableName = "InstanceData/ResetTable";
    const std::size_t resetTableSection = whole.find(resetTableName) + resetTableName.size();
    ASSERT_NE(resetTable, std::string::npos);
    const std::size_t chunkEnd = whole.find("PMGL") + 0x1000;
    struct Row {
        const char* name;
        std::size_t at;
        std::uint64_t value;
        int length;  // in bytes; 0: the value fills everything from at to the end of the chunk
    };
    const Row rows[] = {
        {"directory chunks of 2 GiB", directory + 0x10, 0x80000000, 4},
        {"directory past the end", 0x48, whole.size(), 8},
        {"directory at the end of the numbers", 0x48, ~std::uint64_t{3}, 8},
        {"an entry running off its chunk", resetTableSection, 0x80, 0},
        {"window of none", controlData + 0x10, 0, 4},
        {"window of 96 KiB", controlData + 0x10, 3, 4},
        {"reset table in a third section", resetTableSection, 2, 1},
        {"blocks of 2 GiB", resetTable + 0x20, 0x80000000, 8},
        {"a block longer than its buffer", resetTable + 0x30, 0x8000 + 6145, 8},
        {"blocks going back", resetTable + 0x38, 0x100, 8},
    };
    EXPECT_EQ(CheckChmStructure(whole), 5u * 0x8000) << "five blocks of 32 KiB";
    const ChmLibrary library;
    test::TempFolder temp;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string damaged = whole;
        if (row.length > 0) {
            put(damaged, row.at, row.value, row.length);
        } else {
            std::fill(damaged.begin() + static_cast<std::ptrdiff_t>(row.at),
                      damaged.begin() + static_cast<std::ptrdiff_t>(chunkEnd), static_cast<char>(row.value));
        }
        EXPECT_FALSE(CheckChmStructure(damaged).has_value());
        test::WriteFile(temp / "quill.chm", damaged);
        EXPECT_EQ(ChmFile::Open(library, (temp / "quill.chm").string()), nullptr);
    }
}

TEST(ChmSystem, RecordsReadUntilTheBytesEnd) {
    const auto record = [](std::uint16_t code, const std::string& text) {
        std::string bytes{static_cast<char>(code & 0xFF), static_cast<char>(code >> 8),
                          static_cast<char>((text.size() + 1) & 0xFF), static_cast<char>((text.size() + 1) >> 8)};
        return bytes + text + '\0';
    };
    const std::string version("\3\0\0\0", 4);
    const std::string bytes = version + record(9, "HHA Version 4.74.8702") + record(2, "html/a.htm") +
                              record(3, "Title") + record(0, "t.hhc") + record(1, "t.hhk");
    const ChmSystemInfo info = ParseChmSystem(bytes);
    EXPECT_EQ(info.defaultTopic, "html/a.htm");
    EXPECT_EQ(info.title, "Title");
    EXPECT_EQ(info.contentsFile, "t.hhc");
    EXPECT_EQ(info.indexFile, "t.hhk");
    // A record that claims more bytes than there are ends the reading.
    const ChmSystemInfo cut = ParseChmSystem(version + record(3, "Title") + record(2, "html/a.htm").substr(0, 6));
    EXPECT_EQ(cut.title, "Title");
    EXPECT_EQ(cut.defaultTopic, "");
    EXPECT_EQ(ParseChmSystem("").title, "");
}

TEST(Sitemap, EntriesWithTheirDepth) {
    const char* html = R"(<HTML><BODY><!-- <UL><LI><OBJECT type="text/sitemap"><param name="Name" value="hidden"> -->
<OBJECT type="text/site properties"><param name="Window Styles" value="0x800025"></OBJECT>
<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="Top &amp; first"><param name="Local" value="a.htm"></OBJECT>
 <ul><li><object TYPE='TEXT/SITEMAP'><PARAM NAME=name VALUE="Inner"><param name="Local" value="html\b.htm"></object></ul>
<LI><OBJECT type="text/sitemap"><param name="Name" value="Keyword"><param name="Name" value="Page title">
<param name="Local" value="c.htm"><param name="Local" value="d.htm"></OBJECT>
<LI><OBJECT type="text/sitemap"><param name="Name" value="Heading only"></OBJECT></UL></BODY></HTML>)";
    const std::vector<SitemapEntry> entries = ParseSitemap(html);
    ASSERT_EQ(entries.size(), 4u);
    const std::tuple<const char*, const char*, int> expected[] = {
        {"Top & first", "a.htm", 0}, {"Inner", "html\\b.htm", 1}, {"Keyword", "c.htm", 0}, {"Heading only", "", 0}};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].name, std::get<0>(expected[i]));
        EXPECT_EQ(entries[i].local, std::get<1>(expected[i]));
        EXPECT_EQ(entries[i].depth, std::get<2>(expected[i]));
    }
    EXPECT_TRUE(ParseSitemap("<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"cut").empty());
}

TEST(HtmlText, CharacterReferences) {
    const std::pair<const char*, const char*> rows[] = {
        {"a &amp; b", "a & b"},
        {"&lt;&gt;&quot;&apos;", "<>\"'"},
        {"&#65;&#x42;&#X43;", "ABC"},
        {"&nbsp;", "\xC2\xA0"},
        {"&#8212;", "\xE2\x80\x94"},
        {"&unknown; &", "&unknown; &"},
        {"&#0; &#xD800;", "&#0; &#xD800;"},
        {"&#1114112;", "&#1114112;"},
        {"&amp", "&amp"},
    };
    for (const auto& [html, text] : rows) EXPECT_EQ(DecodeHtmlText(html), text) << html;
}

TEST(HtmlText, BlocksAsATerminalReaderExpectsThem) {
    struct Row {
        const char* name;
        const char* html;
        const char* text;
    };
    const Row rows[] = {
        {"HeadIsLeftOut", "<html><head><title>T</title><style>p{}</style></head><body><p>Body</p></body></html>",
         "Body\n"},
        {"Headings", "<h1>Title</h1><h2>Part</h2><h3>Small</h3><p>Text</p>",
         "Title\n=====\n\nPart\n----\n\nSmall\n\nText\n"},
        {"WhitespaceAndInlineTags",
         "<p>  one\n  <b>two</b>  <a href=\"x.htm\">three</a><img src=\"i.png\" alt=\"I\"> </p>", "one two three\n"},
        {"Wrapping", "<p>aaaa bbbb cccc dddd eeee</p>", "aaaa bbbb cccc dddd\neeee\n"},
        {"LongWordStandsAlone", "<p>a bbbbbbbbbbbbbbbbbbbbbbb c</p>", "a\nbbbbbbbbbbbbbbbbbbbbbbb\nc\n"},
        {"LineBreak", "<p>one<br>two</p>", "one\ntwo\n"},
        {"Bullets", "<p>x</p><ul><li>one</li><li>two two two two two</li></ul><p>y</p>",
         "x\n\n  - one\n  - two two two two\n    two\n\ny\n"},
        {"NumbersAndNesting", "<ol><li>a<ul><li>b</li></ul></li><li>c</li></ol>", "  1. a\n      - b\n  2. c\n"},
        {"Preformatted", "<p>See:</p><pre>\nA  |1|\nB  |2|\n</pre><p>End</p>",
         "See:\n\n    A  |1|\n    B  |2|\n\nEnd\n"},
        {"NoBreakSpacesBecomeBlanks", "<p>a&nbsp;&nbsp;b</p>", "a  b\n"},
        {"Table", "<table><tr><th>Key</th><th>Use</th></tr><tr><td>F1</td><td>Help</td></tr></table>",
         "Key  Use\n---  ----\nF1   Help\n"},
        {"SpanningCell",
         "<table><tr><td>MC</td><td colspan=\"2\">Back CE</td></tr><tr><td>MR</td><td>7</td><td>8</td></tr></table>",
         "MC  Back CE\nMR  7  8\n"},
        {"CommentsAndDoctype", "<!DOCTYPE html><!-- <p>no</p> --><p>yes</p>", "yes\n"},
        {"PreformattedTabsAndLineEnds", "<pre>a\tb\r\nab\tc\rd</pre>", "    a       b\n    ab      c\n    d\n"},
        // Tables inside cells, tables never closed and cells without a table.
        {"TableInACell",
         "<table><tr><td>a<table><tr><td>b</td><td>c</td></tr><tr><td>d</td></tr></table>e</td><td>f</td></tr>"
         "</table><p>g</p>",
         "a b c d e  f\n\ng\n"},
        {"TableInATableOutsideACell", "<table><tr><table><tr><td>a</td></tr></table></tr></table>", "a\n"},
        {"CellOpensATable", "<p>x</p><td>a</td><td>b<table><td>c", "x\n\na  b c\n"},
        {"TableEndsTwice", "<table><tr><td>a</td></tr></table></table></td><td>b</table>", "a\n\nb\n"},
    };
    for (const Row& row : rows) EXPECT_EQ(HtmlToText(row.html, 20), row.text) << row.name;
}

TEST(HtmlText, WideTablesWrapInsideTheirCells) {
    const std::string html =
        "<table><tr><td>Reduce</td><td>Takes the last digit off and adds it to the rest.</td></tr></table>";
    EXPECT_EQ(HtmlToText(html, 30), "Reduce  Takes the last digit\n        off and adds it to the\n        rest.\n");
}

}  // namespace
}  // namespace quillon
