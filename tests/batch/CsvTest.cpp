#include "batch/Csv.h"

#include <gtest/gtest.h>
#include <random>

namespace quillon::batch {
namespace {

struct Read {
    std::vector<std::string> fields;
    CsvRecord record;
};

Read ReadAt(std::string_view text, std::size_t begin = 0) {
    std::vector<std::string> fields{"left over"};
    std::size_t count = 0;
    Read read;
    read.record = ReadCsvRecord(text, begin, fields, count);
    read.fields.assign(fields.begin(), fields.begin() + static_cast<std::ptrdiff_t>(count));
    return read;
}

TEST(CsvRecord, FieldsOfOneRecord) {
    struct Case {
        const char* name;
        std::string_view text;
        std::vector<std::string> fields;
        std::size_t end;
        std::size_t newlines;
    };
    const Case cases[] = {
        {"plain", "a,b,c\nnext", {"a", "b", "c"}, 6, 1},
        {"quoted comma", "\"Smith, Mary\",1\n", {"Smith, Mary", "1"}, 16, 1},
        {"doubled quote", "\"say \"\"hi\"\"\",x\n", {"say \"hi\"", "x"}, 15, 1},
        {"embedded newline", "\"two\nlines\",x\ny", {"two\nlines", "x"}, 14, 2},
        {"embedded CRLF kept", "\"a\r\nb\"\r\n", {"a\r\nb"}, 8, 2},
        {"CRLF line end dropped", "a,b\r\nc", {"a", "b"}, 5, 1},
        {"empty fields", ",,\n", {"", "", ""}, 3, 1},
        {"quoted empty", "\"\"\n", {""}, 3, 1},
        {"no final newline", "last,one", {"last", "one"}, 8, 0},
        {"carriage return at the end of the text", "last\r", {"last"}, 5, 1},
        {"a carriage return alone ends the line", "a,b\rc", {"a", "b"}, 4, 1},
        {"quote inside an unquoted field", "a\"b,c\n", {"a\"b", "c"}, 6, 1},
        {"text after a closing quote", "\"c\"d,e\n", {"cd", "e"}, 7, 1},
        {"quoted carriage return before the line end", "\"a\r\"\n", {"a\r"}, 5, 2},
    };
    for (const Case& c : cases) {
        const Read read = ReadAt(c.text);
        EXPECT_EQ(read.fields, c.fields) << c.name;
        EXPECT_EQ(read.record.end, c.end) << c.name;
        EXPECT_EQ(read.record.newlines, c.newlines) << c.name;
        EXPECT_TRUE(read.record.closed) << c.name;
        EXPECT_FALSE(read.record.blank) << c.name;
    }
}

TEST(CsvRecord, BlankLinesAndUnclosedQuotes) {
    EXPECT_TRUE(ReadAt("\nx").record.blank);
    EXPECT_TRUE(ReadAt("\r\nx").record.blank);
    EXPECT_FALSE(ReadAt("\"\"\n").record.blank) << "a quoted empty field is a field";

    const Read unclosed = ReadAt("\"never closed,\nstill\n");
    EXPECT_FALSE(unclosed.record.closed);
    EXPECT_EQ(unclosed.record.end, 21u) << "runs to the end of the text";
    EXPECT_EQ(unclosed.record.newlines, 2u);

    const Read second = ReadAt("a\nb,c\n", 2);
    EXPECT_EQ(second.fields, (std::vector<std::string>{"b", "c"}));
}

// The reader thread finds record ends with the scanner, the workers read the records with
// ReadCsvRecord: cut anywhere, the two must agree on every record end.
TEST(CsvBoundaryScanner, AgreesWithTheRecordReaderAcrossBlocks) {
    std::mt19937 random(7);
    const std::string_view pieces[] = {"a", ",", "\"", "\n", "\r\n", "\"\"", "x y", "\"q,\n\""};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int count = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) text += pieces[random() % std::size(pieces)];

        std::vector<std::size_t> readerEnds;
        std::vector<std::string> fields;
        std::size_t fieldCount = 0;
        for (std::size_t at = 0; at < text.size();) {
            const CsvRecord record = ReadCsvRecord(text, at, fields, fieldCount);
            if (record.end <= text.size() && text[record.end - 1] == '\n' && record.closed)
                readerEnds.push_back(record.end);
            at = record.end;
        }

        // Blocks of random sizes; the last end the scanner reports must be the reader's last end
        // within what has been fed so far.
        CsvBoundaryScanner scanner;
        std::size_t fed = 0;
        std::size_t lastEnd = 0;
        while (fed < text.size()) {
            const std::size_t size = std::min<std::size_t>(text.size() - fed, 1 + random() % 7);
            const std::size_t end = scanner.LastRecordEnd(std::string_view(text).substr(fed, size));
            if (end != std::string_view::npos) lastEnd = fed + end;
            fed += size;
            std::size_t expected = 0;
            for (std::size_t e : readerEnds) {
                if (e <= fed) expected = e;
            }
            ASSERT_EQ(lastEnd, expected) << "round " << round << " text [" << text << "] fed " << fed;
        }
    }
}

TEST(CsvBoundaryScanner, FirstRecordEndStopsThere) {
    CsvBoundaryScanner scanner;
    EXPECT_EQ(scanner.FirstRecordEnd("\"a\nb\",c\nd\ne\n"), 8u);
    EXPECT_EQ(scanner.FirstRecordEnd("d\ne\n"), 2u) << "continues at the start of the next record";
    EXPECT_EQ(scanner.FirstRecordEnd("\"open"), std::string_view::npos);
    EXPECT_EQ(scanner.FirstRecordEnd("\n\",\n"), 4u) << "the newline inside the quotes ends nothing";
}

TEST(OutputFields, EscapingInEachFormat) {
    struct Case {
        std::string_view field;
        std::string csv;
        std::string tsv;
        std::string json;
    };
    const Case cases[] = {
        {"MARY", "MARY", "MARY", "\"MARY\""},
        {"SMITH, MARY", "\"SMITH, MARY\"", "SMITH, MARY", "\"SMITH, MARY\""},
        {"SAY \"HI\"", "\"SAY \"\"HI\"\"\"", "SAY \"HI\"", "\"SAY \\\"HI\\\"\""},
        {"TWO\nLINES", "\"TWO\nLINES\"", "TWO\\nLINES", "\"TWO\\nLINES\""},
        {"A\tB\\C\r", "\"A\tB\\C\r\"", "A\\tB\\\\C\\r", "\"A\\tB\\\\C\\r\""},
        {"\x01"
         "ANDRÉ",
         "\x01"
         "ANDRÉ",
         "\x01"
         "ANDRÉ",
         "\"\\u0001ANDRÉ\""},
    };
    for (const Case& c : cases) {
        char buffer[128];
        EXPECT_EQ(std::string(buffer, PutCsvField(buffer, c.field)), c.csv) << c.field;
        EXPECT_EQ(std::string(buffer, PutTsvField(buffer, c.field)), c.tsv) << c.field;
        EXPECT_EQ(std::string(buffer, PutJsonString(buffer, c.field)), c.json) << c.field;
    }
}

}  // namespace
}  // namespace quillon::batch
