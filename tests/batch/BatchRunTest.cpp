#include "batch/BatchRun.h"

#include <algorithm>
#include <gtest/gtest.h>

#include "batch/BatchRow.h"
#include "batch/Csv.h"
#include "batch/Progress.h"
#include "common/Utf8.h"
#include "support/NameGenerator.h"

namespace quillon::batch {
namespace {

const std::array<std::u16string, 12> kEnglishMonths = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                                       u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};

struct Captured {
    BatchOutcome outcome;
    std::string output;
    std::vector<std::string> skipped;  // "line: reason"
    std::vector<BatchProgress> progress;
};

// Runs a batch over text handed out in reads of at most readSize bytes.
Captured RunOn(std::string_view text, BatchOptions options, std::size_t readSize = 1 << 20) {
    Captured run;
    std::size_t at = 0;
    BatchCallbacks callbacks;
    callbacks.skipped = [&run](const SkippedRow& row) {
        run.skipped.push_back(std::to_string(row.line) + ": " + row.reason);
    };
    callbacks.progress = [&run](const BatchProgress& progress) { run.progress.push_back(progress); };
    run.outcome = RunBatch(
        options,
        [&](char* buffer, std::size_t size) {
            const std::size_t n = std::min({size, readSize, text.size() - at});
            std::copy_n(text.data() + at, n, buffer);
            at += n;
            return ReadResult{n, std::nullopt};
        },
        [&run](std::string_view bytes) {
            run.output += bytes;
            return std::optional<std::string>{};
        },
        callbacks);
    return run;
}

BatchOptions Options() {
    BatchOptions options;
    options.dateSettings = ParseShortDateFormat(u"dd/MM/yyyy", kEnglishMonths);
    options.today = {2026, 12, 7};
    options.header = false;
    return options;
}

BatchOptions CsvOptions(std::string column) {
    BatchOptions options = Options();
    options.column = ColumnRef{std::move(column), 0};
    return options;
}

// The first field of every CSV output record: the name as analysed.
std::vector<std::string> Names(const std::string& csv) {
    std::vector<std::string> names;
    std::vector<std::string> fields;
    std::size_t count = 0;
    for (std::size_t at = 0; at < csv.size();) {
        const CsvRecord record = ReadCsvRecord(csv, at, fields, count);
        names.push_back(fields[0]);
        at = record.end;
    }
    return names;
}

TEST(BatchOrder, OutputFollowsTheInputWithOneAndFourThreads) {
    std::string input;
    std::vector<std::string> expected;
    for (int i = 0; i < 3000; ++i) {
        const std::string name = "NAME" + std::to_string(i);
        input += (i % 3 == 0 ? "\"" + name + "\"" : name) + (i % 2 ? ",x\r\n" : ",x\n");
        expected.push_back(name);
    }
    for (int threads : {1, 4}) {
        BatchOptions options = Options();
        options.column = ColumnRef{{}, 1};
        options.threads = threads;
        options.blockBytes = 100;  // many blocks, records cut across them
        const Captured run = RunOn(input, options, 37);
        EXPECT_FALSE(run.outcome.failure);
        EXPECT_EQ(Names(run.output), expected) << threads << " threads";
        EXPECT_EQ(run.outcome.rowsRead, 3000u);
        EXPECT_EQ(run.outcome.rowsWritten, 3000u);
        ASSERT_FALSE(run.progress.empty());
        EXPECT_EQ(run.progress.back().bytesRead, input.size());
        EXPECT_TRUE(std::is_sorted(run.progress.begin(), run.progress.end(),
                                   [](const BatchProgress& a, const BatchProgress& b) { return a.rows < b.rows; }));
    }
}

TEST(BatchInput, ShapesOfInput) {
    struct Case {
        const char* name;
        std::string input;
        std::optional<std::string> column;  // CSV by header name
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"lines", "mary\njohn\n", {}, {"MARY", "JOHN"}},
        {"no final newline", "mary\njohn", {}, {"MARY", "JOHN"}},
        {"CRLF lines", "mary\r\njohn\r\n", {}, {"MARY", "JOHN"}},
        {"carriage returns alone end lines (old Mac files)", "mary\rjohn\r", {}, {"MARY", "JOHN"}},
        {"every kind of line end", "a\rb\r\nc\nd\r\re", {}, {"A", "B", "C", "D", "", "E"}},
        {"CSV lines ended by carriage returns", "Id,Name\r1,mary\r2,\"jo\rhn\"\r", "Name", {"MARY", "JO\rHN"}},
        {"byte-order mark", "\xEF\xBB\xBFmary\n", {}, {"MARY"}},
        {"blank line is an empty name", "mary\n\njohn\n", {}, {"MARY", "", "JOHN"}},
        {"empty file", "", {}, {}},
        {"byte-order mark alone", "\xEF\xBB\xBF", {}, {}},
        {"CSV with header", "Id,Name\n1,mary\n2,john\n", "Name", {"MARY", "JOHN"}},
        {"CSV byte-order mark before the header", "\xEF\xBB\xBFName\r\nmary\r\n", "Name", {"MARY"}},
        {"CSV quoted name with a newline", "Name\n\"an\nna\",\nbob\n", "Name", {"AN\nNA", "BOB"}},
        {"CSV blank lines are no rows", "Name\n\nmary\n\n", "Name", {"MARY"}},
        {"CSV empty file", "", "Name", {}},
        {"CSV header only", "Name\n", "Name", {}},
    };
    for (const Case& c : cases) {
        for (std::size_t block : {std::size_t{4}, std::size_t{1} << 16}) {
            BatchOptions options = c.column ? CsvOptions(*c.column) : Options();
            options.blockBytes = block;
            const Captured run = RunOn(c.input, options);
            EXPECT_FALSE(run.outcome.failure) << c.name;
            EXPECT_TRUE(run.skipped.empty()) << c.name;
            EXPECT_EQ(Names(run.output), c.names) << c.name << ", blocks of " << block;
        }
    }
}

TEST(BatchInput, LinesEndedByCarriageReturnsAreCounted) {
    BatchOptions options = Options();
    options.blockBytes = 3;
    const Captured run = RunOn("mary\r\xFF\rjohn\r\n\xFE\r", options);
    EXPECT_EQ(run.skipped, (std::vector<std::string>{"2: invalid UTF-8", "4: invalid UTF-8"}));
}

TEST(BatchInput, SkippedRowsCarryTheirLineNumbers) {
    BatchOptions options = CsvOptions("Name");
    options.dateColumn = ColumnRef{"Born", 0};
    const std::string input =
        "Name,Born\n"                // line 1
        "mary,29/12/1985\n"          // 2
        "\"two\nlines\",1/1/2000\n"  // 3 and 4
        "bad\xFF,1/1/2000\n"         // 5: invalid UTF-8
        "john,31/02/2000\n"          // 6: not on the calendar
        "ann,1/1/x\n"                // 7: not a date
        "short\n"                    // 8: no date column
        "bob,\n"                     // 9: no date
        "pat,29/12\n"                // 10: no year (not this year's, which would change with the year)
        "\"open,1/1/2000\n";         // 11: never closed
    for (int threads : {1, 3}) {
        options.threads = threads;
        options.blockBytes = 8;
        const Captured run = RunOn(input, options);
        EXPECT_FALSE(run.outcome.failure);
        const std::vector<std::string> expected = {
            "5: invalid UTF-8",
            "6: Invalid date \"31/02/2000\": 31 February 2000 is not on the calendar",
            "7: Invalid date \"1/1/x\": \"x\" is no year",
            "8: no column \"Born\"",
            "10: Invalid date \"29/12\": the year is missing",
            "11: a quoted field is not closed",
        };
        EXPECT_EQ(run.skipped, expected);
        EXPECT_EQ(run.outcome.rowsRead, 9u);
        EXPECT_EQ(run.outcome.rowsSkipped, 6u);
        EXPECT_EQ(run.outcome.rowsWritten, 3u);
        EXPECT_NE(run.output.find("BOB,"), std::string::npos) << "an empty date cell is a row without a date";
    }
}

TEST(BatchInput, MissingColumnsAndLongRecords) {
    {
        const Captured run = RunOn("First,Last\nmary,smith\n", CsvOptions("Name"));
        ASSERT_TRUE(run.outcome.failure);
        EXPECT_EQ(*run.outcome.failure, "no column \"Name\" in the header");
        EXPECT_TRUE(run.output.empty());
    }
    {
        BatchOptions options = Options();
        options.column = ColumnRef{{}, 2};
        const Captured run = RunOn("mary,smith\njohn\n", options);
        EXPECT_EQ(run.skipped, std::vector<std::string>{"2: no column 2"});
        EXPECT_EQ(Names(run.output), std::vector<std::string>{"SMITH"}) << "a numbered column reads no header";
    }
    for (bool csv : {false, true}) {
        BatchOptions options = csv ? CsvOptions("Name") : Options();
        options.blockBytes = 16;
        options.maxRecordBytes = 64;
        const std::string longName =
            csv ? "\"" + std::string(100, 'A') + "\n" + std::string(100, 'B') + "\"\n" : std::string(300, 'A') + "\n";
        const std::string input = std::string(csv ? "Name\n" : "") + "mary\n" + longName + "john\n";
        const Captured run = RunOn(input, options, 5);
        const std::string line = csv ? "3" : "2";
        EXPECT_EQ(run.skipped, std::vector<std::string>{line + ": longer than 64 bytes"}) << csv;
        EXPECT_EQ(Names(run.output), (std::vector<std::string>{"MARY", "JOHN"})) << csv;
    }
}

TEST(BatchInput, ReadAndWriteFailuresStopTheRun) {
    BatchOptions options = Options();
    options.blockBytes = 4;
    int reads = 0;
    BatchOutcome outcome = RunBatch(
        options,
        [&](char* buffer, std::size_t) {
            if (++reads > 2) return ReadResult{0, "cannot read names.txt: Input/output error"};
            buffer[0] = 'A';
            buffer[1] = '\n';
            return ReadResult{2, std::nullopt};
        },
        [](std::string_view) { return std::optional<std::string>{}; });
    EXPECT_EQ(outcome.failure, "cannot read names.txt: Input/output error");

    options.threads = 2;
    for (int failAt : {1, 3}) {
        int writes = 0;
        outcome = RunBatch(
            options,
            [](char* buffer, std::size_t) {
                buffer[0] = 'A';
                buffer[1] = '\n';
                return ReadResult{2, std::nullopt};  // never ends: the failed write must stop the run
            },
            [&](std::string_view) -> std::optional<std::string> {
                if (++writes >= failAt) return std::string("cannot write out.csv: No space left on device");
                return std::nullopt;
            });
        EXPECT_EQ(outcome.failure, "cannot write out.csv: No space left on device");
    }
}

TEST(BatchRows, FormatsAndFilters) {
    BatchOptions options = Options();
    options.header = true;
    options.format = OutputFormat::Csv;
    const Captured csv = RunOn("MARY 12\n", options);
    EXPECT_EQ(csv.output,
              "DataText,Method,VowelSum,ConsonantSum,GrandTotal,VTot,CTot,Total,VowelDigit,ConsonantDigit,TotalDigit,"
              "V1,C1,T1,V2,C2,T2,V3,C3,T3,V4,C4,T4,V5,C5,T5,V6,C6,T6,V7,C7,T7,V8,C8,T8,V9,C9,T9\n"
              "MARY 12,Pythagorean,1,20,24,1,20 / 2,24 / 6,1,2,6,"
              "1,0,1,0,0,0,0,0,0,0,1,1,0,0,0,0,0,0,0,1,1,0,0,0,0,1,1\n");

    // With a date column: the date group, empty for a row without a date; a name without letters
    // or digits has no name-plus-date value.
    options = CsvOptions("Name");
    options.dateColumn = ColumnRef{"Born", 0};
    options.format = OutputFormat::Tsv;
    const Captured tsv = RunOn("Name,Born\n\"MARY\t12\",29/12/1985\n-,29/12/1985\nJOHN,\n", options);
    const std::string chart = "\t1\t0\t1\t0\t0\t0\t0\t0\t0\t0\t1\t1\t0\t0\t0\t0\t0\t0\t0\t1\t1\t0\t0\t0\t0\t1\t1";
    EXPECT_EQ(tsv.output.substr(0, tsv.output.find('\n') + 1),
              "MARY\\t12\tPythagorean\t1\t20\t24\t1\t20 / 2\t24 / 6\t1\t2\t6" + chart +
                  "\t29/12/1985\t37 / 10 / 1\t14 / 5\t29 / 11 / 2\t61 / 7\t1\t7\n")
        << tsv.output;
    EXPECT_NE(tsv.output.find("\t29/12/1985\t37 / 10 / 1\t14 / 5\t29 / 11 / 2\t\t1\t\n"), std::string::npos);
    EXPECT_NE(tsv.output.find("JOHN\t"), std::string::npos);
    EXPECT_TRUE(tsv.output.ends_with("\t\t\t\t\t\t\t\n")) << "no date: seven empty fields";

    options.format = OutputFormat::JsonLines;
    options.header = true;
    const Captured json = RunOn("Name,Born\n-,29/12/1985\nJOHN,\n", options);
    EXPECT_NE(json.output.find("\"NameDate\":\"\",\"DateDigit\":1,\"NameDateDigit\":null}\n"), std::string::npos);
    EXPECT_TRUE(json.output.ends_with("\"C9\":\"0\",\"T9\":\"0\"}\n")) << "no date group without a date";
    EXPECT_TRUE(json.output.starts_with("{\"DataText\":\"-\",")) << "no header line";

    // --where: every clause must hold; a row without a date fails a date clause.
    options = CsvOptions("Name");
    options.dateColumn = ColumnRef{"Born", 0};
    const std::string names = "Name,Born\nMARY,29/12/1985\nMARY,\nJOHN,29/12/1985\nANN,5/10/2000\n";
    options.where = {{WhereKey::Total, 3}};
    EXPECT_EQ(Names(RunOn(names, options).output), (std::vector<std::string>{"MARY", "MARY"}));
    options.where = {{WhereKey::Total, 3}, {WhereKey::Date, 1}};
    EXPECT_EQ(Names(RunOn(names, options).output), (std::vector<std::string>{"MARY"}));
    options.where = {{WhereKey::NameDate, 4}, {WhereKey::Vowels, 1}};  // 21 + 37 = 58 / 13 / 4
    EXPECT_EQ(Names(RunOn(names, options).output), (std::vector<std::string>{"MARY"}));
    options.where = {{WhereKey::Consonants, 9}, {WhereKey::Consonants, 8}};
    EXPECT_TRUE(RunOn(names, options).output.empty());
}

TEST(BatchRows, OneDateForEveryRowAndVowelY) {
    BatchOptions options = Options();
    options.date = CivilDate{1985, 12, 29};
    options.vowelYAll = true;
    options.system = LetterSystem::Chaldean;
    options.format = OutputFormat::JsonLines;
    const Captured run = RunOn("  mary y \n", options);
    EXPECT_NE(run.output.find("{\"DataText\":\"MARy y\",\"Method\":\"Chaldean\",\"VowelSum\":3,"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("\"Dates\":\"29/12/1985\",\"DateTotal\":\"37 / 10 / 1\""), std::string::npos);
}

// --core: the digit and master columns after the others (those of the date only in a run with
// dates, empty for a row without one), or the object "core" of a JSON line.
TEST(BatchRows, CoreNumbersAfterTheOtherFields) {
    BatchOptions options = CsvOptions("Name");
    options.dateColumn = ColumnRef{"Born", 0};
    options.core = true;
    options.header = true;
    const std::string input = "Name,Born\nMARY 12,29/12/1985\nKI,\n";
    const Captured csv = RunOn(input, options);
    EXPECT_NE(csv.output.find(",NameDateDigit,expression,expression_master,soulurge,soulurge_master,personality,"
                              "personality_master,lifepath,lifepath_master,birthday,birthday_master,maturity,"
                              "maturity_master\n"),
              std::string::npos)
        << csv.output;
    EXPECT_NE(csv.output.find(",61 / 7,1,7,6,,1,,2,,1,,2,11,7,\n"), std::string::npos) << csv.output;
    EXPECT_TRUE(csv.output.ends_with(",2,11,9,,2,,,,,,,\n")) << "KI: 11 / 2, no date: " << csv.output;

    options.format = OutputFormat::JsonLines;
    const Captured json = RunOn(input, options);
    EXPECT_NE(json.output.find(",\"core\":{\"expression\":{\"chain\":\"24 / 6\",\"digit\":6,\"master\":null},"
                               "\"soulurge\":{\"chain\":\"1\",\"digit\":1,\"master\":null},"
                               "\"personality\":{\"chain\":\"20 / 2\",\"digit\":2,\"master\":null},"
                               "\"lifepath\":{\"chain\":\"37 / 10 / 1\",\"digit\":1,\"master\":null},"
                               "\"birthday\":{\"chain\":\"29 / 11 / 2\",\"digit\":2,\"master\":11},"
                               "\"maturity\":{\"chain\":\"7\",\"digit\":7,\"master\":null}}}\n"),
              std::string::npos)
        << json.output;
    EXPECT_TRUE(json.output.ends_with("\"personality\":{\"chain\":\"2\",\"digit\":2,\"master\":null}}}\n"))
        << "no date numbers without a date: " << json.output;

    options = Options();
    options.core = true;
    options.header = true;
    const std::string plain = RunOn("KI\n", options).output;
    EXPECT_NE(plain.find(",T9,expression,expression_master,soulurge,soulurge_master,personality,personality_master\n"),
              std::string::npos)
        << plain;
    EXPECT_TRUE(plain.ends_with(",2,11,9,,2,\n")) << "no date columns in a run without dates: " << plain;
}

// --where on a core number: its final digit, or its master number; the numbers of the date need
// the row's date.
TEST(BatchRows, WhereOnCoreNumbers) {
    BatchOptions options = CsvOptions("Name");
    options.dateColumn = ColumnRef{"Born", 0};
    // Expression: MARY 12 24 / 6, KI 11 / 2, JOHN 20 / 2, MARY 21 / 3; birthday 29 / 11 / 2 and 2.
    const std::string names = "Name,Born\nMARY 12,29/12/1985\nKI,\nJOHN,2/1/2000\nMARY,29/12/1985\n";
    struct Case {
        std::vector<WhereClause> where;
        std::vector<std::string> kept;
    };
    const Case cases[] = {
        {{{WhereKey::Core, 2, CoreName::Expression}}, {"KI", "JOHN"}},
        {{{WhereKey::Core, 11, CoreName::Expression}}, {"KI"}},
        {{{WhereKey::Core, 22, CoreName::Expression}}, {}},
        {{{WhereKey::Core, 9, CoreName::SoulUrge}}, {"KI"}},
        {{{WhereKey::Core, 2, CoreName::Birthday}}, {"MARY 12", "JOHN", "MARY"}},
        {{{WhereKey::Core, 11, CoreName::Birthday}}, {"MARY 12", "MARY"}},
        {{{WhereKey::Core, 1, CoreName::LifePath}, {WhereKey::Core, 6, CoreName::Expression}}, {"MARY 12"}},
        {{{WhereKey::Core, 4, CoreName::Maturity}}, {"MARY"}},  // 3 + 1
        {{{WhereKey::Core, 2, CoreName::Personality}, {WhereKey::Total, 2}}, {"KI"}},
    };
    for (const Case& c : cases) {
        options.where = c.where;
        EXPECT_EQ(Names(RunOn(names, options).output), c.kept) << c.kept.size();
    }
}

// With folding, a name that is not ASCII is valued as "analyse --fold-accents" values it; ASCII
// names, which take the shorter way, are the same with and without it.
TEST(BatchRows, FoldedAccentsAndAccentedYs) {
    BatchOptions options = Options();
    options.format = OutputFormat::JsonLines;
    options.foldAccents = true;
    struct Case {
        const char* name;
        bool vowelY;
        const char* expected;
    };
    const Case cases[] = {
        {"JOSÉ", false, "{\"DataText\":\"JOSÉ\",\"Method\":\"Pythagorean\",\"VowelSum\":11,\"ConsonantSum\":2,"},
        {"Æ", false, "{\"DataText\":\"Æ\",\"Method\":\"Pythagorean\",\"VowelSum\":6,\"ConsonantSum\":0,"},
        {"ýves", false, "{\"DataText\":\"ÝVES\",\"Method\":\"Pythagorean\",\"VowelSum\":5,\"ConsonantSum\":12,"},
        {"ýves", true, "{\"DataText\":\"ýVES\",\"Method\":\"Pythagorean\",\"VowelSum\":12,\"ConsonantSum\":5,"},
        {"JOSE", false, "{\"DataText\":\"JOSE\",\"Method\":\"Pythagorean\",\"VowelSum\":11,\"ConsonantSum\":2,"},
    };
    for (const Case& c : cases) {
        options.vowelYAll = c.vowelY;
        const std::string output = RunOn(std::string(c.name) + "\n", options).output;
        EXPECT_TRUE(output.starts_with(c.expected)) << c.name << ": " << output;
    }
    options.foldAccents = false;
    options.vowelYAll = false;
    EXPECT_NE(RunOn("JOSÉ\n", options).output.find("\"VowelSum\":6,"), std::string::npos) << "É is no letter unfolded";
}

// A letter typed as its base letter and combining marks is the letter typed composed: the same
// rows, with and without folding, every Y a consonant or a vowel.
TEST(BatchRows, DecomposedLettersGiveTheRowsOfComposedOnes) {
    const std::string composed = "JOSÉ\nPEÑA\nÅSA\nŸVES\nNGUYỆN\nNGUYỆN\nmarÿ\njosé\n";
    const std::string decomposed =
        "JOSE\u0301\nPEN\u0303A\nA\u030aSA\nY\u0308VES\nNGUYE\u0323\u0302N\nNGUYE\u0302\u0323N\nmary\u0308\njose\u0301"
        "\n";
    BatchOptions options = Options();
    options.format = OutputFormat::JsonLines;
    for (bool fold : {false, true}) {
        for (bool vowelY : {false, true}) {
            options.foldAccents = fold;
            options.vowelYAll = vowelY;
            EXPECT_EQ(RunOn(decomposed, options).output, RunOn(composed, options).output)
                << (fold ? "folded" : "not folded") << (vowelY ? ", Ys vowels" : "");
        }
    }
}

// The one-pass totals of a batch row against the window's analysis and chart of the same text.
TEST(BatchRows, TotalsEqualTheAnalysisAndTheChart) {
    NameGenerator generator(99);
    for (int i = 0; i < 10000; ++i) {
        std::u16string text;
        ASSERT_TRUE(Utf8ToUtf16(generator.Next(), text));
        std::u16string data = NormalisePastedText(text);
        if (i % 2 == 1) std::replace(data.begin(), data.end(), u'Y', u'y');
        for (LetterSystem system : {LetterSystem::Pythagorean, LetterSystem::Chaldean}) {
            AnalysisState totals;
            DigitChart chart;
            AnalyseTotals(data, system, totals, chart);
            const AnalysisResult expected = AnalyseData(data, system);
            const DigitChart expectedChart = CountDigits(expected.VowelRow, expected.ConsonantRow);
            ASSERT_EQ(totals.VowelSum, expected.VowelSum) << i;
            ASSERT_EQ(totals.ConsonantSum, expected.ConsonantSum) << i;
            ASSERT_EQ(totals.NumberSum, expected.NumberSum) << i;
            ASSERT_EQ(totals.GrandTotal, expected.GrandTotal) << i;
            ASSERT_EQ(chart.vowels, expectedChart.vowels) << i;
            ASSERT_EQ(chart.consonants, expectedChart.consonants) << i;
        }
    }
}

// A name of ASCII bytes takes a shorter way than other names; both must give what the window
// gives for the pasted name: trimmed, cut at the field's length, capitals, Ys as the run answers.
TEST(BatchRows, AsciiNamesAsTheWindowTakesThem) {
    std::uint32_t seed = 7;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
    for (bool vowelY : {false, true}) {
        for (LetterSystem system : {LetterSystem::Pythagorean, LetterSystem::Chaldean}) {
            BatchOptions options = Options();
            options.vowelYAll = vowelY;
            options.system = system;
            RowAnalyser analyser(options);
            for (int i = 0; i < 3000; ++i) {
                std::string name(next() % 60, ' ');
                for (char& c : name) c = static_cast<char>(next() % 4 == 0 ? next() % 33 : 33 + next() % 94);
                BatchRow row;
                ASSERT_EQ(analyser.Analyse(name, std::nullopt, row), std::nullopt);
                std::u16string data = NormalisePastedText(std::u16string(name.begin(), name.end()));
                if (vowelY) std::replace(data.begin(), data.end(), u'Y', u'y');
                const AnalysisResult expected = AnalyseData(data, system);
                const DigitChart chart = CountDigits(expected.VowelRow, expected.ConsonantRow);
                ASSERT_EQ(row.dataText, std::string(data.begin(), data.end())) << i;
                ASSERT_EQ(row.state.VowelSum, expected.VowelSum) << i;
                ASSERT_EQ(row.state.ConsonantSum, expected.ConsonantSum) << i;
                ASSERT_EQ(row.state.GrandTotal, expected.GrandTotal) << i;
                ASSERT_EQ(row.chart.vowels, chart.vowels) << i;
                ASSERT_EQ(row.chart.consonants, chart.consonants) << i;
            }
        }
    }
}

TEST(Utf8Decoding, AcceptsUtf8AndRefusesTheRest) {
    struct Case {
        const char* name;
        std::string_view bytes;
        std::optional<std::u16string> text;
    };
    const Case cases[] = {
        {"ASCII", "MARY", u"MARY"},
        {"two bytes", "Andr\xC3\xA9", u"André"},
        {"three bytes", "\xE7\x8E\x8B", u"王"},
        {"four bytes become a surrogate pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {"stray continuation byte", "\x80", {}},
        {"cut sequence", "\xC3", {}},
        {"overlong slash", "\xC0\xAF", {}},
        {"overlong three bytes", "\xE0\x80\xAF", {}},
        {"surrogate", "\xED\xA0\x80", {}},
        {"past U+10FFFF", "\xF4\x90\x80\x80", {}},
        {"not a lead byte", "\xFF", {}},
    };
    for (const Case& c : cases) {
        std::u16string out;
        const bool ok = Utf8ToUtf16(c.bytes, out);
        EXPECT_EQ(ok, c.text.has_value()) << c.name;
        if (ok && c.text) {
            EXPECT_EQ(out, *c.text) << c.name;
        }
    }
}

TEST(BatchProgressLine, Texts) {
    EXPECT_EQ(FormatProgress(512'000'000, 1'024'000'000, 40'000'000, 10.0),
              "quillon: 512.0 MB of 1.0 GB (50%), 4000000 names/s, 0:10 left");
    EXPECT_EQ(FormatProgress(900, std::nullopt, 50, 2.0), "quillon: 900 bytes read, 25 names/s");
    EXPECT_EQ(FormatProgress(1'000, 3'601'000, 10, 1.0), "quillon: 1.0 kB of 3.6 MB (0%), 10 names/s, 1:00:00 left");
}

}  // namespace
}  // namespace quillon::batch
