#include "report/export/ExportRun.h"

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "report/content/ReportVariables.h"
#include "report/content/TemplateData.h"
#include "report/engine/FixedCanvas.h"
#include "report/export/RtfExport.h"
#include "report/format/TemplateStream.h"
#include "support/FakeProgress.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The window's state for "MARY 12" under the Pythagorean system with 29 December 1985 calculated.
ReportSource MaryWithDate() {
    ReportSource source;
    source.method = "Pythagorean";
    source.data = "MARY 12";
    source.vowels = " 1     ";
    source.consonants = "4 97   ";
    source.vTotal = "1";
    source.total = "24 / 6";
    source.cTotal = "20 / 2";
    const char* cells[] = {"1", "0", "1", "0", "0", "0", "0", "0", "0", "0", "1", "1", "0", "0", "0",
                           "0", "0", "0", "0", "1", "1", "0", "0", "0", "0", "1", "1", "1", "3", "4"};
    for (int i = 0; i < kChartCellCount; ++i) source.chartCells[static_cast<std::size_t>(i)] = cells[i];
    source.dates = "12/29/1985";
    source.dateTotal = "37 / 10 / 1";
    source.monthDay = "14 / 5";
    source.dayTotal = "29 / 11 / 2";
    source.nameDate = "61 / 7";
    source.dateDigitSum = 37;
    source.datePanelVisible = true;
    return source;
}

// The export report prepared with fixed metrics and locale, as the Export command prepares it.
struct ExportReport {
    ExportReport() : report(printer, kExportReportName) {
        report.LoadTemplate(*UnwrapReportForm(ExportReportForm()), 46000.0);
        report.Environment.scratch = &scratch;
        report.Environment.locale = &locale;
        report.ShowProgress = false;
        report.OnGetValue = [this](const std::string& name, Value& value) {
            value = ToValue(GetReportValue(source, name));
        };
        ConfigureAsExportButton(writer);
    }
    RunResult Export(const fs::path& file) {
        report.Prepare();
        return ExportToFile(report, writer, file.string());
    }
    ReportSource source = MaryWithDate();
    TfrPrinter printer;
    TfrReport report;
    FixedCanvas scratch;
    FixedReportLocale locale;
    TfrRTFExport writer;
};

class ExportRun : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("quillon-export-" + std::to_string(::getpid()) + "-" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path folder;
};

// Every memo line of the export template starts at its left + 2 (gap x) and its top + 1 (gap y),
// lines 17 units apart (2 + 15 for Arial 11); the row is top / 14, halves to even; twips are
// x x 20 / 1.3. Memo31 is centred in its own height, which its one line fills. Rows 0, 1, 3, 7 to
// 10 and 15 to 17 hold nothing and come out as empty paragraphs; bold stays on until a text
// without it turns it off. The labels' padding blanks are left out (they are Arial); the vowel
// row keeps its blanks (Courier New), so its digits stay above their letters.
const std::string kExpectedMary =
    "{\\rtf1\\ansi\r\n\\margl600\\margr600\\margt600\\margb600\r\n"
    "{\\fonttbl{\\f0 Arial}{\\f1 Courier New}}\r\n"
    "{\\colortbl;\\red0\\green0\\blue0;}\r\n"
    "{\\pard \\par}\r\n"
    "{\\pard \\par}\r\n"
    "\\pard\\tx1938\\tx8400{\\tab\\f0\\fs24\\b\\cf1 Pythagorean System\\tab Total\\par}\r\n"
    "{\\pard \\par}\r\n"
    "\\pard\\tx477\\tx1938\\tx8400{\\tab\\f0\\fs22\\b\\cf1 Vowels:\\tab\\f1\\fs24  1     \\tab\\f0\\fs22\\b0 "
    "1\\par}\r\n"
    "\\pard\\tx431\\tx1938\\tx8400{\\tab\\f0\\fs22\\b\\cf1 Data:\\tab\\f1\\fs24 MARY 12\\tab\\f0\\fs22\\b0 24 / "
    "6\\par}\r\n"
    "\\pard\\tx431\\tx1938\\tx8400{\\tab\\f0\\fs22\\b\\cf1 Consonants:\\tab\\f1\\fs24 4 97   \\tab\\f0\\fs22\\b0 20 / "
    "2\\par}\r\n"
    "{\\pard \\par}\r\n{\\pard \\par}\r\n{\\pard \\par}\r\n{\\pard \\par}\r\n"
    "\\pard\\tx1938\\tx2369\\tx2800\\tx3231\\tx3662\\tx4092\\tx4523\\tx4954\\tx5385\\tx5815{\\tab\\f0\\fs22\\b\\cf1 "
    "1\\tab 2\\tab 3\\tab 4\\tab 5\\tab 6\\tab 7\\tab 8\\tab 9\\tab Total\\par}\r\n"
    "\\pard\\tx431\\tx1938\\tx2369\\tx2800\\tx3231\\tx3662\\tx4092\\tx4523\\tx4954\\tx5385\\tx6000{"
    "\\tab\\f0\\fs22\\b\\cf1 "
    "Vowels:\\tab\\b0 1\\tab 0\\tab 0\\tab 0\\tab 0\\tab 0\\tab 0\\tab 0\\tab 0\\tab 1\\par}\r\n"
    "\\pard\\tx431\\tx1938\\tx2369\\tx2800\\tx3231\\tx3662\\tx4092\\tx4523\\tx4954\\tx5385\\tx6000{"
    "\\tab\\f0\\fs22\\b\\cf1 "
    "Consonants:\\tab\\b0 0\\tab 0\\tab 0\\tab 1\\tab 0\\tab 0\\tab 1\\tab 0\\tab 1\\tab 3\\par}\r\n"
    "\\pard\\tx431\\tx1938\\tx2369\\tx2800\\tx3231\\tx3662\\tx4092\\tx4523\\tx4954\\tx5385\\tx6000{"
    "\\tab\\f0\\fs22\\b\\cf1 "
    "Totals:\\tab\\b0 1\\tab 0\\tab 0\\tab 1\\tab 0\\tab 0\\tab 1\\tab 0\\tab 1\\tab 4\\par}\r\n"
    "{\\pard \\par}\r\n{\\pard \\par}\r\n{\\pard \\par}\r\n"
    "\\pard\\tx400\\tx2185{\\tab\\f0\\fs22\\b\\cf1 Date:\\tab\\b0 12/29/1985\\par}\r\n"
    "\\pard\\tx400\\tx2185{\\tab\\f0\\fs22\\b\\cf1 Date Total:\\tab\\b0 37 / 10 / 1\\par}\r\n"
    "\\pard\\tx400\\tx2185{\\tab\\f0\\fs22\\b\\cf1 Month + Day:\\tab\\b0 14 / 5\\par}\r\n"
    "\\pard\\tx400\\tx2185{\\tab\\f0\\fs22\\b\\cf1 Day:\\tab\\b0 29 / 11 / 2\\par}\r\n"
    "\\pard\\tx400\\tx2185{\\tab\\f0\\fs22\\b\\cf1 Name + Date:\\tab\\b0 61 / 7\\par}\r\n"
    "\\par}";

TEST_F(ExportRun, MaryWithADateAsTheLayoutSays) {
    ExportReport exported;
    ASSERT_TRUE(exported.Export(folder / "m.rtf").IsDone());
    EXPECT_EQ(ReadFile(folder / "m.rtf"), kExpectedMary);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"m.rtf"}) << "no temporary file is left";
}

TEST_F(ExportRun, ARealRtfReaderFindsEveryValue) {
    ExportReport exported;
    ASSERT_TRUE(exported.Export(folder / "m.rtf").IsDone());
    const std::string command = "unrtf --text '" + (folder / "m.rtf").string() + "' 2>/dev/null";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string text;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
    ASSERT_EQ(::pclose(pipe), 0) << "unrtf is installed by the set-up script";
    for (const char* value : {"Pythagorean System", "Total", "Vowels:", "Data:", "MARY 12", "24 / 6",
                              "Consonants:", "4 97", "20 / 2", "Totals:", "12/29/1985", "Date Total:", "37 / 10 / 1",
                              "Month + Day:", "14 / 5", "Day:", "29 / 11 / 2", "Name + Date:", "61 / 7"}) {
        EXPECT_NE(text.find(value), std::string::npos) << value;
    }
}

TEST_F(ExportRun, AnEarlierFileIsReplacedWithoutAQuestion) {
    {
        std::ofstream old(folder / "m.rtf");
        old << "an earlier file";
    }
    ExportReport exported;
    ASSERT_TRUE(exported.Export(folder / "m.rtf").IsDone());
    EXPECT_EQ(ReadFile(folder / "m.rtf"), kExpectedMary);
}

TEST_F(ExportRun, AFolderThatCannotBeWrittenLeavesNothing) {
    ExportReport exported;
    const RunResult missing = exported.Export(folder / "missing" / "m.rtf");
    EXPECT_TRUE(missing.IsFailed());
    EXPECT_EQ(missing.message,
              "Cannot create file " + (folder / "missing" / "m.rtf").string() + ": No such file or directory");

    fs::create_directories(folder / "taken.rtf");  // the name belongs to a folder
    EXPECT_EQ(exported.Export(folder / "taken.rtf").message,
              "Cannot create file " + (folder / "taken.rtf").string() + ": Is a directory");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"taken.rtf"}) << "no temporary file is left";
}

TEST_F(ExportRun, AFullDeviceKeepsTheEarlierFile) {
    {
        std::ofstream old(folder / "m.rtf");
        old << "an earlier file";
    }
    ExportReport exported;
    exported.report.Prepare();
    // The file size limit makes the device refuse bytes past 500, as a full disk would.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = 500;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const RunResult written = ExportToFile(exported.report, exported.writer, (folder / "m.rtf").string());
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(written.IsFailed());
    EXPECT_EQ(written.message, "Stream write error: File too large");
    EXPECT_EQ(ReadFile(folder / "m.rtf"), "an earlier file");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"m.rtf"}) << "no temporary file is left";
}

TEST_F(ExportRun, ADamagedPreparedPageFailsAndKeepsTheEarlierFile) {
    std::ofstream(folder / "m.rtf") << "an earlier file";
    ExportReport exported;
    ASSERT_TRUE(exported.report.Prepare().IsDone());
    auto& stream = exported.report.EMFPages[0].Stream;
    stream.resize(stream.size() - 3);  // the last object's record cut short
    const RunResult result = ExportToFile(exported.report, exported.writer, (folder / "m.rtf").string());
    EXPECT_TRUE(result.IsFailed());
    EXPECT_EQ(result.message, "The prepared page 1 is damaged");
    EXPECT_EQ(ReadFile(folder / "m.rtf"), "an earlier file");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"m.rtf"});
}

TEST_F(ExportRun, AReportTooLargeToExportStopsAtThePageThatPassesTheBound) {
    std::ofstream(folder / "m.rtf") << "an earlier file";
    ExportReport exported;
    ASSERT_TRUE(exported.report.Prepare().IsDone());
    exported.report.EMFPages.Add(exported.report.Template.Pages[0]);
    exported.report.EMFPages[1].Stream = exported.report.EMFPages[0].Stream;
    std::vector<int> pagesDone;
    exported.report.OnProgress = [&pagesDone](int page) { pagesDone.push_back(page); };
    exported.writer.MaxRowsAndTexts = 10;
    const RunResult result = ExportToFile(exported.report, exported.writer, (folder / "m.rtf").string());
    EXPECT_EQ(result.message, "The template is too large to export: its pages fill more than 10 rows and texts");
    EXPECT_TRUE(pagesDone.empty()) << "the second page is not exported";
    EXPECT_EQ(ReadFile(folder / "m.rtf"), "an earlier file");
}

TEST_F(ExportRun, ProgressLabelsAndACancelledExportIsComplete) {
    ExportReport exported;
    exported.report.Prepare();
    test::FakeProgress progress;
    exported.report.Environment.progress = &progress;
    exported.report.ShowProgress = true;
    ASSERT_TRUE(ExportToFile(exported.report, exported.writer, (folder / "m.rtf").string()).IsDone());
    EXPECT_EQ(progress.labels, (std::vector<std::string>{"Processing page:  1", "Processing page:  1 from 1"}));

    progress.CancelAt(1);
    EXPECT_EQ(ExportToFile(exported.report, exported.writer, (folder / "c.rtf").string()).outcome,
              RunOutcome::Cancelled);
    EXPECT_EQ(ReadFile(folder / "c.rtf"),
              "{\\rtf1\\ansi\r\n\\margl600\\margr600\\margt600\\margb600\r\n{\\fonttbl}\r\n{\\colortbl;}\r\n\\par}");
}

TEST_F(ExportRun, NoPagesGiveOnlyTheDocumentsBeginningAndEnd) {
    struct Recorder final : TfrExportFilter {
        std::vector<std::string> calls;
        void BeginDocument() override { calls.push_back("BeginDocument"); }
        void EndDocument() override { calls.push_back("EndDocument"); }
        void BeginPage() override { calls.push_back("BeginPage"); }
        void EndPage() override { calls.push_back("EndPage"); }
    } recorder;
    ExportReport exported;
    exported.report.EMFPages.Clear();
    ASSERT_TRUE(ExportToFile(exported.report, recorder, (folder / "none.rtf").string()).IsDone());
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"BeginDocument", "EndDocument"}));

    TfrRTFExport asking;  // ShowDialog on: the options are not confirmed, nothing is written
    EXPECT_EQ(ExportToFile(exported.report, asking, (folder / "asked.rtf").string()).outcome, RunOutcome::Cancelled);
    EXPECT_FALSE(fs::exists(folder / "asked.rtf"));
}

TEST_F(ExportRun, FramedMemoLinesPassTheirSides) {
    struct Sides final : TfrExportFilter {
        std::vector<std::uint16_t> frames;
        void ExportTextLine(const Rect&, int, int, const std::string&, std::uint16_t frame, const TfrView*) override {
            frames.push_back(frame);
        }
    } sides;
    ExportReport exported;
    auto& page = exported.report.Template.Pages[0];
    page.Objects.clear();
    auto memo = std::make_unique<TfrMemoView>();
    memo->Left = 10;
    memo->Top = 10;
    memo->Width = 300;
    memo->Height = 60;
    memo->FrameTyp = 15;
    memo->Memo = {"a", "b", "c"};
    page.Objects.push_back(std::move(memo));
    exported.report.Prepare();
    ASSERT_TRUE(ExportToFile(exported.report, sides, (folder / "f.rtf").string()).IsDone());
    EXPECT_EQ(sides.frames, (std::vector<std::uint16_t>{1 | 4 | 8, 1 | 4, 1 | 4 | 2}));
}

}  // namespace
}  // namespace quillon
