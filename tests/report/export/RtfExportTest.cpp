#include "report/export/RtfExport.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

const std::string kHeader = "{\\rtf1\\ansi\r\n\\margl600\\margr600\\margt600\\margb600\r\n";

class MemoryStream final : public ExportStream {
public:
    bool Write(const void* data, std::size_t size) override {
        bytes.append(static_cast<const char*>(data), size);
        return true;
    }
    std::string bytes;
};

TfrMemoView Memo(const std::string& font = "Arial", int size = 10, std::uint16_t style = 2, Colour colour = 0) {
    TfrMemoView memo;
    memo.Font.Name = font;
    memo.Font.Size = size;
    memo.Font.Style = style;
    memo.Font.Color = colour;
    return memo;
}

// A writer with the window's settings on a memory stream.
struct Writer {
    Writer() {
        ConfigureAsExportButton(rtf);
        rtf.Stream = &stream;
    }
    void Line(int x, int y, const std::string& text, const TfrMemoView& memo) {
        rtf.ExportTextLine(Rect{x, y, x + 100, y + 20}, x, y, text, 0, &memo);
    }
    TfrRTFExport rtf;
    MemoryStream stream;
};

TEST(RtfWriter, TheWorkedExampleByteForByte) {
    Writer w;
    const TfrMemoView bold = Memo();
    // The same writer once, again, and after a document left unfinished: each file holds one report.
    for (const bool unfinishedBefore : {false, false, true}) {
        if (unfinishedBefore) {
            w.rtf.BeginDocument();
            w.rtf.BeginPage();
            w.Line(0, 0, "LOST", Memo("Courier New"));
            w.rtf.EndPage();
        }
        w.stream.bytes.clear();
        w.rtf.BeginDocument();
        w.rtf.BeginPage();
        w.Line(100, 0, "JOHN", bold);
        w.Line(20, 0, "Name:", bold);
        w.rtf.EndPage();
        w.rtf.EndDocument();
        EXPECT_EQ(w.stream.bytes, kHeader +
                                      "{\\fonttbl{\\f0 Arial}}\r\n{\\colortbl;\\red0\\green0\\blue0;}\r\n"
                                      "\\pard\\tx308\\tx1538{\\tab\\f0\\fs20\\b\\cf1 Name:\\tab JOHN\\par}\r\n\\par}");
    }
}

TEST(RtfWriter, AnEmptyReport) {
    Writer w;
    w.rtf.BeginDocument();
    w.rtf.BeginPage();
    w.rtf.EndPage();
    w.rtf.EndDocument();
    EXPECT_EQ(w.stream.bytes, kHeader + "{\\fonttbl}\r\n{\\colortbl;}\r\n\\par}");
}

TEST(RtfWriter, EscapingWhiteTextAndEmptyRows) {
    Writer w;
    w.rtf.BeginDocument();
    w.rtf.BeginPage();
    w.Line(0, 28, "a{b}\\c \xc3\xa9", Memo("Arial", 10, 0, 0xFFFFFF));
    w.rtf.EndPage();
    w.rtf.EndDocument();
    EXPECT_EQ(w.stream.bytes, kHeader +
                                  "{\\fonttbl{\\f0 Arial}}\r\n{\\colortbl;\\red0\\green0\\blue0;}\r\n"
                                  "{\\pard \\par}\r\n{\\pard \\par}\r\n"
                                  "\\pard\\tx0{\\tab\\f0\\fs20\\cf1 a\\{b\\}\\\\c \xe9\\par}\r\n\\par}");
}

// A character of the ANSI code page is its one byte; any other is "\uN?" per UTF-16 code unit, N
// the unit as a signed 16-bit number.
TEST(RtfWriter, CharactersOutsideTheCodePageAsUnicodeEscapes) {
    struct Case {
        const char* name;
        std::string utf8, rtf;
    };
    const Case cases[] = {
        {"Cyrillic", "\xD0\x98\xD0\x92\xD0\x90\xD0\x9D", "\\u1048?\\u1042?\\u1040?\\u1053?"},          // ИВАН
        {"Greek", "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1", "\\u937?\\u956?\\u941?\\u947?\\u945?"},  // Ωμέγα
        {"CJK", "\xE5\xB1\xB1\xE7\x94\xB0", "\\u23665?\\u30000?"},                                     // 山田
        {"above U+7FFF negative", "\xE9\x88\xB4\xE6\x9C\xA8", "\\u-28108?\\u26408?"},                  // 鈴木
        {"beyond U+FFFF two units", "\xF0\xA0\xAE\xB7\xE7\x94\xB0", "\\u-10174?\\u-8265?\\u30000?"},   // 𠮷田
        {"code page letters one byte", "Jos\xC3\xA9 \xE2\x82\xAC \xC5\x92\xC5\xB8",
         "Jos\xE9 \x80 \x8C\x9F"},  // José € ŒŸ
        {"braces and backslash beside escapes", "{\xD0\x98}\xD0\x98\\", "\\{\\u1048?\\}\\u1048?\\\\"},
        {"digit and letter after an escape",
         "\xCE\xA9"
         "1\xCE\xA9"
         "a?",
         "\\u937?1\\u937?a?"},
        {"mixed", "\xD0\x98\xC3\xA9\xCE\xA9", "\\u1048?\xE9\\u937?"},
        {"bytes that are no UTF-8",
         "a\xFF"
         "b",
         "a\\u-3?b"},
    };
    for (const Case& c : cases) EXPECT_EQ(RtfText(c.utf8), c.rtf) << c.name;

    // Font names likewise; a name is cut at 32 characters, never inside one.
    Writer w;
    w.rtf.BeginDocument();
    w.rtf.BeginPage();
    w.Line(0, 0, "\xE5\xB1\xB1", Memo("\xEF\xBC\xAD\xEF\xBC\xB3 \xE6\x98\x8E\xE6\x9C\x9D"));  // ＭＳ 明朝
    w.Line(50, 0, "x",
           Memo(std::string(31, 'a') + "\xC3\xA9"
                                       "b"));
    w.Line(90, 0, "x", Memo("a{b}"));
    w.rtf.EndPage();
    w.rtf.EndDocument();
    EXPECT_EQ(w.stream.bytes.substr(0, w.stream.bytes.find("{\\colortbl")),
              kHeader + "{\\fonttbl{\\f0 \\u-211?\\u-205? \\u26126?\\u26397?}{\\f1 " + std::string(31, 'a') +
                  "\xE9}{\\f2 a\\{b\\}}}\r\n");
    EXPECT_NE(w.stream.bytes.find("\\cf1 \\u23665?\\tab\\f1 x"), std::string::npos) << w.stream.bytes;
}

TEST(RtfWriter, FormatWordsOnlyWhenTheyChange) {
    Writer w;
    w.rtf.BeginDocument();
    w.rtf.BeginPage();
    w.Line(10, 0, "one", Memo("Arial", 11, 2, 0x0000FF));
    w.Line(50, 0, "two", Memo("Arial", 11, 2, 0x0000FF));
    w.Line(90, 0, "three", Memo("Courier New", 11, 5, 0x00FF00));
    w.Line(130, 0, "four", Memo("Courier New", 11, 0, 0x00FF00));
    w.rtf.EndPage();
    w.rtf.EndDocument();
    const std::string body = w.stream.bytes.substr(w.stream.bytes.find("\\pard"));
    EXPECT_EQ(body,
              "\\pard\\tx154\\tx769\\tx1385\\tx2000{\\tab\\f0\\fs22\\b\\cf1 one\\tab two"
              "\\tab\\f1\\i\\b0\\ul\\cf2 three\\tab\\i0\\ul0 four\\par}\r\n\\par}")
        << "italic and underline go on and bold off for three; italic and underline off for four";
    EXPECT_NE(w.stream.bytes.find("{\\colortbl;\\red255\\green0\\blue0;\\red0\\green255\\blue0;}"), std::string::npos);
}

TEST(RtfWriter, TablesBreakBeforeTwoHundredFiftyFiveCharacters) {
    Writer w;
    w.rtf.BeginDocument();
    w.rtf.BeginPage();
    for (int i = 0; i < 12; ++i)
        w.Line(10 * i, 0, "x", Memo("Font number " + std::to_string(i) + " with a long name", 10, 0));
    w.rtf.EndPage();
    w.rtf.EndDocument();
    const std::string& file = w.stream.bytes;
    const std::string table = file.substr(file.find("{\\fonttbl"), file.find("{\\colortbl") - file.find("{\\fonttbl"));
    std::size_t start = 0;
    int lines = 0;
    while (start < table.size()) {
        const std::size_t end = table.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        EXPECT_LT(end - start, 255u);
        start = end + 2;
        ++lines;
    }
    EXPECT_GT(lines, 1);
    EXPECT_NE(table.find("{\\f11 Font number 11 with a long name}}\r\n"), std::string::npos);
}

TEST(RtfWriter, ATableLineStaysUnderTwoHundredFiftyFiveCharacters) {
    // "{\fonttbl" and six entries "{\fN name}" of 32-character names make 237 characters; an
    // entry "{\f6 name}" of 18 characters would make 255 and starts a new line, one of 17 fits
    // (and the closing brace then makes the line 255 long).
    for (const std::size_t lastName : {12u, 11u}) {
        Writer w;
        w.rtf.BeginDocument();
        w.rtf.BeginPage();
        for (int i = 0; i < 6; ++i) w.Line(10 * i, 0, "x", Memo(std::string(31, 'a') + std::to_string(i)));
        w.Line(70, 0, "x", Memo(std::string(lastName, 'b')));
        w.rtf.EndPage();
        w.rtf.EndDocument();
        const std::string& file = w.stream.bytes;
        const std::size_t start = file.find("{\\fonttbl");
        const std::size_t firstLineEnd = file.find("\r\n", start);
        EXPECT_EQ(firstLineEnd - start, lastName == 12 ? 237u : 255u) << lastName;
        EXPECT_EQ(file[file.find("{\\f6 ") - 1], lastName == 12 ? '\n' : '}') << lastName;
    }
}

TEST(RtfWriter, LeadingBlanksOnlyInFixedPitchFonts) {
    Writer w;
    w.rtf.BeginDocument();
    w.rtf.BeginPage();
    w.Line(10, 0, "        Vowels:", Memo("Arial"));
    w.Line(100, 0, " 1  5 ", Memo("Courier New", 12, 2));
    w.Line(10, 14, "   ", Memo("Arial"));
    w.Line(100, 14, "  x", Memo("Liberation Mono"));
    w.rtf.EndPage();
    w.rtf.EndDocument();
    const std::string& file = w.stream.bytes;
    EXPECT_NE(file.find("\\cf1 Vowels:\\tab\\f1\\fs24  1  5 \\par}"), std::string::npos) << file;
    EXPECT_NE(file.find("{\\tab\\f0\\fs20\\b\\cf1 \\tab\\f2   x\\par}"), std::string::npos) << file;
    EXPECT_TRUE(IsFixedPitch("COURIER NEW"));
    EXPECT_TRUE(IsFixedPitch("DejaVu Sans Mono"));
    EXPECT_FALSE(IsFixedPitch("Arial"));
    EXPECT_FALSE(IsFixedPitch("MS Sans Serif"));
}

TEST(RtfWriter, PageBreaksBetweenPages) {
    Writer w;
    w.rtf.PageBreaks = true;
    w.rtf.BeginDocument();
    for (int page = 0; page < 3; ++page) {
        w.rtf.BeginPage();
        w.Line(0, 0, "p" + std::to_string(page), Memo());
        w.rtf.EndPage();
    }
    w.rtf.EndDocument();
    const std::string& file = w.stream.bytes;
    EXPECT_EQ(file.find("\\page"), file.find("p0\\par}\r\n") + 9);
    std::size_t breaks = 0;
    for (std::size_t at = file.find("\\page\r\n"); at != std::string::npos; at = file.find("\\page\r\n", at + 1))
        ++breaks;
    EXPECT_EQ(breaks, 2u);
}

TEST(RtfWriter, DefaultsAndTwips) {
    TfrRTFExport fresh;
    EXPECT_TRUE(fresh.ShowDialog);
    EXPECT_DOUBLE_EQ(fresh.ScaleX, 1.3);
    EXPECT_TRUE(fresh.KillEmptyLines);
    EXPECT_TRUE(fresh.PageBreaks);
    EXPECT_EQ(fresh.Twips(13), 260) << "at ScaleX 1.3 a unit is 20 twips";
    Writer w;
    EXPECT_EQ(w.rtf.Twips(20), 308);
    EXPECT_EQ(w.rtf.Twips(100), 1538);
    EXPECT_EQ(w.rtf.Twips(13), 200);

    // Half-points of a size no template holds still are its double.
    w.rtf.BeginDocument();
    w.rtf.BeginPage();
    w.Line(0, 0, "x", Memo("Arial", 2147483647));
    w.rtf.EndPage();
    w.rtf.EndDocument();
    EXPECT_NE(w.stream.bytes.find("\\fs4294967294\\b"), std::string::npos) << w.stream.bytes;
}

// Rows and chains of the text filter.
TEST(TextRows, RowsChainsAndAnchors) {
    TfrTextExport text;
    text.BeginPage();
    const TfrMemoView memo = Memo();
    const int tops[] = {0, 6, 7, 8, 21, 28};
    const int rows[] = {0, 0, 0, 1, 2, 2};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(text.RowOf(tops[i]), rows[i]) << tops[i];

    text.ExportTextLine(Rect{0, 0, 50, 20}, 40, 0, "first", 0, &memo);
    text.ExportTextLine(Rect{0, 0, 50, 20}, 40, 3, "second", 0, &memo);
    text.ExportTextLine(Rect{0, 0, 50, 20}, 10, 1, "left", 0, &memo);
    ASSERT_EQ(text.Rows()[0].size(), 3u);
    EXPECT_EQ(text.Rows()[0][0].Text, "left");
    EXPECT_EQ(text.Rows()[0][1].Text, "second") << "among equal X the later comes first";
    EXPECT_EQ(text.Rows()[0][2].Text, "first");

    TfrMemoView right = Memo();
    right.Alignment = 1;
    text.ExportTextLine(Rect{100, 28, 300, 48}, 250, 28, "right", 0, &right);
    EXPECT_EQ(text.Rows()[2][0].X, 300) << "a right-aligned line is anchored at its rectangle's right edge";

    text.ExportTextLine(Rect{0, 0, 1, 1}, 0, 0, "nobody", 0, nullptr);
    EXPECT_EQ(text.Rows()[0].size(), 3u) << "a line without an object is ignored";

    text.ExportTextLine(Rect{0, 0, 1, 1}, 5, -30, "above", 0, &memo);
    ASSERT_EQ(text.Rows().size(), 201u);
    EXPECT_EQ(text.Rows()[0][0].Text, "above") << "a line above the page goes to the first row";

    const TfrMemoView longName = Memo("A font whose name is forty characters lo");
    text.ExportTextLine(Rect{0, 0, 1, 1}, 60, 56, "long", 0, &longName);
    EXPECT_EQ(text.Rows()[4][0].FontName, "A font whose name is forty chara") << "names are cut to 32 characters";

    text.ExportTextLine(Rect{0, 0, 1, 1}, 0, 14 * 250, "far below", 0, &memo);
    ASSERT_EQ(text.Rows().size(), 251u) << "a line below row 200 is kept on a row of its own";
    EXPECT_EQ(text.Rows()[250][0].Text, "far below");
    // Down to a hundred sheets: beyond them a line is the sign of a damaged template.
    text.ExportTextLine(Rect{0, 0, 1, 1}, 0, 403200, "a hundred sheets down", 0, &memo);
    EXPECT_EQ(text.Rows().size(), 28801u);
    EXPECT_TRUE(text.Failure().empty());
    text.ExportTextLine(Rect{0, 0, 1, 1}, 0, 403214, "further", 0, &memo);
    EXPECT_EQ(text.Rows().size(), 28801u);
    EXPECT_EQ(text.Failure(), "The template is damaged: text lies far outside any page");
    text.BeginPage();
    EXPECT_EQ(text.Rows().size(), 201u);
    EXPECT_TRUE(text.Rows()[0].empty());
}

// Many texts on one row, some at the same X, asked for in between: each time in X order, the
// later of equal X first, as if each had been put in its place when it came.
TEST(TextRows, ARowOfManyTextsInOrderWhenAskedFor) {
    TfrTextExport text;
    text.BeginPage();
    const TfrMemoView memo = Memo();
    std::vector<std::pair<int, std::string>> expected;
    for (int i = 0; i < 300; ++i) {
        const int x = (i * 37) % 11;
        const std::string name = std::to_string(i);
        text.ExportTextLine(Rect{0, 0, 1, 1}, x, 0, name, 0, &memo);
        expected.insert(std::find_if(expected.begin(), expected.end(), [x](const auto& e) { return e.first >= x; }),
                        {x, name});
        if (i % 97 == 0 || i == 299) {
            const auto& row = text.Rows()[0];
            ASSERT_EQ(row.size(), expected.size());
            for (std::size_t k = 0; k < row.size(); ++k) ASSERT_EQ(row[k].Text, expected[k].second) << i << ' ' << k;
        }
    }
}

// A document fills the rows of each page down to its lowest text, and its texts: past the bound
// the writer fails and keeps nothing more; the next document counts afresh.
TEST(TextRows, RowsAndTextsOfADocumentAreBounded) {
    const TfrMemoView memo = Memo();
    for (const std::size_t bound : {9u, 8u}) {
        Writer w;
        w.rtf.MaxRowsAndTexts = bound;
        w.rtf.BeginDocument();
        w.rtf.BeginPage();
        w.Line(10, 56, "row 4", memo);  // five rows and a text
        w.Line(10, 28, "row 2", memo);  // a text
        w.rtf.EndPage();
        w.rtf.BeginPage();
        w.Line(10, 0, "row 0", memo);  // a row and a text
        EXPECT_EQ(w.rtf.Rows()[0].size(), bound == 9 ? 1u : 0u);
        w.rtf.EndPage();
        w.rtf.EndDocument();
        EXPECT_EQ(w.rtf.Failure(),
                  bound == 9 ? "" : "The template is too large to export: its pages fill more than 8 rows and texts");

        w.rtf.BeginDocument();
        w.rtf.BeginPage();
        w.Line(10, 0, "again", memo);
        EXPECT_EQ(w.rtf.Rows()[0].size(), 1u);
        EXPECT_TRUE(w.rtf.Failure().empty());
    }
}

}  // namespace
}  // namespace quillon
