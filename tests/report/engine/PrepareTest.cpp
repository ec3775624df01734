#include <gtest/gtest.h>

#include "report/content/TemplateData.h"
#include "report/engine/MemoText.h"
#include "support/FakeProgress.h"
#include "support/PreparedReport.h"

namespace quillon {
namespace {

using test::AddBand;
using test::AddMemo;
using test::FakeProgress;
using test::OnePage;
using test::PreparedReport;
const DateTime kNow = test::kPreparedAt;

TEST(PrepareExportTemplate, OnePageWithEveryObjectAtItsDesignPlace) {
    PreparedReport prepared(ExportReportForm(), kExportReportName);
    ReportTemplate design = prepared.report.Template;
    ASSERT_TRUE(prepared.report.Prepare().IsDone());
    ASSERT_EQ(prepared.report.EMFPages.Count(), 1);
    const PreparedPage& page = prepared.report.EMFPages[0];
    EXPECT_EQ(page.Metrics.PageWidth, 779);
    EXPECT_EQ(page.Metrics.PageHeight, 1008);
    EXPECT_EQ(page.Metrics.OffsetX, 18);
    EXPECT_EQ(page.Metrics.OffsetY, 18);
    EXPECT_EQ(page.Size, 1);
    EXPECT_TRUE(page.UseMargins);

    const auto objects = prepared.Objects();
    const auto& designed = design.Pages[0].Objects;
    ASSERT_EQ(objects.size(), designed.size());
    std::vector<std::string> expectedQuestions;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        SCOPED_TRACE(designed[i]->Name);
        EXPECT_EQ(objects[i]->Name, designed[i]->Name);
        EXPECT_EQ(objects[i]->Left, designed[i]->Left);
        EXPECT_EQ(objects[i]->Top, designed[i]->Top);
        EXPECT_EQ(objects[i]->Width, designed[i]->Width);
        for (const std::string& line : designed[i]->Memo) {
            ExpandLine(line, [&](const std::string& name) {
                expectedQuestions.push_back(name);
                return std::string();
            });
        }
    }
    EXPECT_EQ(prepared.asked, expectedQuestions) << "names asked in output order, line by line, left to right";
    EXPECT_EQ(objects[0]->Memo, std::vector<std::string>{"<Data>"});
    EXPECT_EQ(objects[21]->Memo, std::vector<std::string>{"<Method> System"});
    EXPECT_EQ(objects[10]->Memo, (std::vector<std::string>{"         Vowels:", "Consonants:", "          Totals:"}));
}

TEST(PreparePrintTemplate, FooterAtTheBottomEdgeAndAskedLast) {
    PreparedReport prepared(PrintReportForm());
    ASSERT_TRUE(prepared.report.Prepare().IsDone());
    ASSERT_EQ(prepared.report.EMFPages.Count(), 1);
    const auto objects = prepared.Objects();
    ASSERT_EQ(objects.size(), 53u) << "every object but the band";
    // Bottom edge 1008 - 91 = 917; the footer's top is 42 above it, its memos 24 below that.
    const TfrView& printed = *objects[51];
    EXPECT_EQ(printed.Name, "Memo42");
    EXPECT_EQ(printed.Top, 917 - 42 + 24);
    EXPECT_EQ(objects[52]->Name, "Memo43");
    ASSERT_GE(prepared.asked.size(), 3u);
    EXPECT_EQ((std::vector<std::string>(prepared.asked.end() - 3, prepared.asked.end())),
              (std::vector<std::string>{"DATE", "TIME", "nameftr"}));
    EXPECT_EQ(objects[0]->Name, "Memo1");
    EXPECT_EQ(objects[0]->Top, 96);
}

TEST(PreparePrintTemplate, DateAndTimeFromTheEngineWhenTheCallbackIsSilent) {
    PreparedReport prepared(PrintReportForm());
    prepared.answerAll = false;
    ASSERT_TRUE(prepared.report.Prepare().IsDone());
    const auto objects = prepared.Objects();
    EXPECT_EQ(objects[51]->Memo, std::vector<std::string>{"Printed:  07/12/2026 09:05:03"});
    EXPECT_EQ(objects[0]->Memo, std::vector<std::string>{""}) << "a declared variable left unanswered prints empty";
    // Preparing again gives the same pages.
    const auto first = prepared.report.EMFPages[0].Stream;
    ASSERT_TRUE(prepared.report.Prepare().IsDone());
    EXPECT_EQ(prepared.report.EMFPages[0].Stream, first);
}

TEST(PrepareBands, AnObjectOnTheBandsBottomLineBelongsToIt) {
    ReportTemplate tpl = OnePage();
    AddBand(tpl.Pages[0], BandType::PageFooter, 800, 50, 48);
    AddMemo(tpl.Pages[0], "OnBottomLine", 60, 850, {"x"});
    AddMemo(tpl.Pages[0], "JustBelow", 60, 851, {"y"});
    PreparedReport prepared(std::move(tpl));
    ASSERT_TRUE(prepared.report.Prepare().IsDone());
    const auto objects = prepared.Objects();
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]->Name, "JustBelow") << "the None band comes first";
    EXPECT_EQ(objects[0]->Top, 851);
    // Bottom edge 1008 - 50 = 958, less the footer's 50: the footer starts at 908.
    EXPECT_EQ(objects[1]->Name, "OnBottomLine");
    EXPECT_EQ(objects[1]->Top, 908 + 50);
}

TEST(PrepareBands, TitleSummaryAndFormNewPage) {
    ReportTemplate tpl = OnePage();
    AddBand(tpl.Pages[0], BandType::ReportTitle, 100, 40, 0x02);
    AddMemo(tpl.Pages[0], "Title", 60, 110, {"T"});
    AddBand(tpl.Pages[0], BandType::ReportSummary, 300, 40);
    AddMemo(tpl.Pages[0], "Summary", 60, 310, {"S"});
    PreparedReport prepared(std::move(tpl));
    ASSERT_TRUE(prepared.report.Prepare().IsDone());
    ASSERT_EQ(prepared.report.EMFPages.Count(), 2) << "the title asks for a new page after it";
    EXPECT_EQ(prepared.Objects(0)[0]->Top, 50 + 10) << "bands stack from the top edge";
    EXPECT_EQ(prepared.Objects(1)[0]->Name, "Summary");
    EXPECT_EQ(prepared.Objects(1)[0]->Top, 50 + 10);
}

TEST(PrepareBands, AStretchedBandTallerThanThePageIsSplit) {
    ReportTemplate tpl = OnePage();
    AddBand(tpl.Pages[0], BandType::ReportTitle, 100, 20, 1);
    std::vector<std::string> lines;
    for (int i = 0; i < 200; ++i) lines.push_back("line " + std::to_string(i));
    AddMemo(tpl.Pages[0], "Long", 60, 100, lines)->Flags = 3;
    PreparedReport prepared(std::move(tpl));
    ASSERT_TRUE(prepared.report.Prepare().IsDone());
    // 908 units between the edges take 50 lines of 18 (Arial 10 is 13 + 2 on the fixed canvas).
    ASSERT_GT(prepared.report.EMFPages.Count(), 3);
    std::vector<std::string> seen;
    for (int page = 0; page < prepared.report.EMFPages.Count(); ++page) {
        for (const auto& object : prepared.Objects(page)) {
            EXPECT_GE(object->Top, 50);
            EXPECT_LE(object->Top + object->Height, 958 + 2) << "page " << page;
            for (std::string line : object->Memo) {
                if (!line.empty() && line.back() == '\x01') line.pop_back();
                seen.push_back(line);
            }
        }
    }
    EXPECT_EQ(seen, lines) << "every line once, in order";
}

TEST(PrepareErrors, AnUnresolvedNameLeavesNoPagesAndTheTemplateAsItWas) {
    ReportTemplate tpl = OnePage();
    AddMemo(tpl.Pages[0], "Memo1", 60, 60, {"before", "[Nowhere]"});
    PreparedReport prepared(std::move(tpl));
    prepared.answerAll = false;
    const auto before = prepared.report.SaveTemplate(kNow);
    const RunResult result = prepared.report.Prepare();
    EXPECT_EQ(prepared.report.EMFPages.Count(), 0);
    EXPECT_TRUE(result.IsFailed()) << "a failure is no success";
    EXPECT_EQ(result.message,
              "An error occured during calculating\rbefore\r[Nowhere]\r\rReport: frReport1\rObject: Memo1\r\r"
              "Undefined symbol \"Nowhere\"");
    EXPECT_EQ(prepared.report.SaveTemplate(kNow), before);
}

TEST(PrepareNames, DictionaryBuiltInsAndExpressions) {
    ReportTemplate tpl = OnePage();
    tpl.Variables.Variables = {{" Category1", ""}, {"Sum", "1 + 2"}, {"Empty", ""}};
    AddMemo(tpl.Pages[0], "Memo1", 60, 60,
            {"[Sum]|[sum]|[Empty]|[PAGE#]|[2 * 21]|[frtaRight]|[Memo1.Left]",
             "[1/3]|[9223372036854775807 + 1]|[1 / 3000000]|[7 / 2]"});
    PreparedReport prepared(std::move(tpl));
    prepared.answerAll = false;
    ASSERT_TRUE(prepared.report.Prepare().IsDone());
    // A number that is not whole, or not below 10^15, shows fifteen significant digits.
    EXPECT_EQ(prepared.Objects()[0]->Memo,
              (std::vector<std::string>{"3|3||1|42|1|60",
                                        "0.333333333333333|9.22337203685478e+18|3.33333333333333e-07|3.5"}));
}

TEST(PrepareNames, HideZerosAndTheCallbackFirst) {
    ReportTemplate tpl = OnePage();
    tpl.Variables.Variables = {{"Zero", "0"}};
    TfrMemoView* memo = AddMemo(tpl.Pages[0], "Memo1", 60, 60, {"[Zero]", "[DATE]"});
    memo->Flags = 3 | 0x40;
    PreparedReport prepared(std::move(tpl));
    prepared.answerAll = false;
    prepared.answers["DATE"] = std::string("answered");
    ASSERT_TRUE(prepared.report.Prepare().IsDone());
    EXPECT_EQ(prepared.Objects()[0]->Memo, (std::vector<std::string>{"", "answered"}));
}

TEST(PrepareProgress, LabelsAndCancel) {
    PreparedReport prepared(PrintReportForm());
    FakeProgress progress;
    prepared.report.Environment.progress = &progress;
    prepared.report.ShowProgress = true;
    EXPECT_TRUE(prepared.report.Prepare().IsDone());
    ASSERT_FALSE(progress.labels.empty());
    EXPECT_EQ(progress.labels.front(), "Processing page:  1");
    EXPECT_EQ(progress.labels.back(), "Processing page:  1");

    FakeProgress cancelling;
    cancelling.CancelAt(1);
    prepared.report.Environment.progress = &cancelling;
    EXPECT_EQ(prepared.report.Prepare().outcome, RunOutcome::Cancelled);
}

}  // namespace
}  // namespace quillon
