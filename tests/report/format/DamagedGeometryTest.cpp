// Templates whose geometry a damaged stream has thrown far out of bounds are refused, read or
// prepared, with what is damaged; the bounds themselves still load.

#include <climits>
#include <functional>
#include <gtest/gtest.h>

#include "report/content/TemplateData.h"
#include "report/format/TemplateGeometry.h"
#include "support/PreparedReport.h"

namespace quillon {
namespace {

constexpr DateTime kNow = 46000.25;

ReportTemplate PrintTemplate() {
    ReportTemplate report;
    EXPECT_TRUE(ReadTemplate(*UnwrapReportForm(PrintReportForm()), report, kNow).ok);
    return report;
}

template <typename View = TfrView>
View& Named(ReportTemplate& report, const std::string& name) {
    for (auto& object : report.Pages[0].Objects) {
        if (object->Name == name) return static_cast<View&>(*object);
    }
    throw std::logic_error("no object " + name);
}

struct Damage {
    const char* message;  // after "The template is damaged: "
    std::function<void(ReportTemplate&)> change;
};

const std::vector<Damage>& Damages() {
    static const std::vector<Damage> damages = {
        {"page 1, memo \"Memo1\": top 1744830612 lies far outside any page",
         [](ReportTemplate& t) { Named(t, "Memo1").Top = 1744830612; }},
        {"page 1, memo \"Memo1\": left -2147483648 lies far outside any page",
         [](ReportTemplate& t) { Named(t, "Memo1").Left = INT_MIN; }},
        {"page 1, memo \"Memo2\": width 403201 lies far outside any page",
         [](ReportTemplate& t) { Named(t, "Memo2").Width = 403201; }},
        {"page 1, memo \"Memo2\": height -403201 lies far outside any page",
         [](ReportTemplate& t) { Named(t, "Memo2").Height = -403201; }},
        {"page 1, memo \"Memo3\": gapX 2147483647 lies far outside any page",
         [](ReportTemplate& t) { Named(t, "Memo3").GapX = INT_MAX; }},
        {"page 1, memo \"Memo3\": gapY 1000000 lies far outside any page",
         [](ReportTemplate& t) { Named(t, "Memo3").GapY = 1000000; }},
        {"page 1, memo \"Memo6\": frameWidth 2147483.647 is larger than a page",
         [](ReportTemplate& t) { Named(t, "Memo6").FrameWidth = 2147483.647; }},
        {"page 1, memo \"Memo6\": lineSpacing 1744830612 is larger than a page",
         [](ReportTemplate& t) { Named<TfrMemoView>(t, "Memo6").LineSpacing = 1744830612; }},
        {"page 1, memo \"Memo7\": charSpacing -4033 is larger than a page",
         [](ReportTemplate& t) { Named<TfrMemoView>(t, "Memo7").CharSpacing = -4033; }},
        {"page 1, memo \"Memo8\": font size 3169 is larger than a page",
         [](ReportTemplate& t) { Named<TfrMemoView>(t, "Memo8").Font.Size = 3169; }},
        {"page 1, line \"Line1\": width 16777216 lies far outside any page",
         [](ReportTemplate& t) { Named(t, "Line1").Width = 1 << 24; }},
        {"page 1, band \"PageFooter1\": height 436207658 lies far outside any page",
         [](ReportTemplate& t) { Named(t, "PageFooter1").Height = 436207658; }},
        {"page 1, band \"PageFooter1\": columnWidth 2147483647 lies far outside any page",
         [](ReportTemplate& t) { Named<TfrBandView>(t, "PageFooter1").ColumnWidth = INT_MAX; }},
        {"page 1, memo 2: top 999999 lies far outside any page",
         [](ReportTemplate& t) {
             t.Pages[0].Objects[1]->Name.clear();
             t.Pages[0].Objects[1]->Top = 999999;
         }},
        {"page 1: paperHeight 1117601 is larger than any paper",
         [](ReportTemplate& t) {
             t.Pages[0].Size = kCustomPaper;
             t.Pages[0].PaperHeight = 1117601;
         }},
        {"page 1: topMargin -2147483648 lies far outside any page",
         [](ReportTemplate& t) { t.Pages[0].TopMargin = INT_MIN; }},
        {"page 1: columnGap 2147483647 lies far outside any page",
         [](ReportTemplate& t) { t.Pages[0].ColumnGap = INT_MAX; }},
    };
    return damages;
}

TEST(DamagedGeometry, AFieldFarOutOfBoundsIsNamedAndTheTemplateRefused) {
    for (const Damage& damage : Damages()) {
        const std::string message = std::string(kDamagedTemplate) + damage.message;
        ReportTemplate damaged = PrintTemplate();
        damage.change(damaged);

        // Read from a stream: refused as a damaged stream is, leaving one empty page.
        ReportTemplate read;
        const TemplateLoad load = ReadTemplate(WriteTemplate(damaged, "", kNow), read, kNow);
        EXPECT_FALSE(load.ok) << message;
        EXPECT_EQ(load.error, message);
        ASSERT_EQ(read.Pages.size(), 1u);
        EXPECT_TRUE(read.Pages[0].Objects.empty());

        // Changed in memory: preparation lays nothing out.
        test::PreparedReport prepared(std::move(damaged));
        prepared.report.EMFPages.Add(TfrPage{});
        const RunResult result = prepared.report.Prepare();
        EXPECT_TRUE(result.IsFailed());
        EXPECT_EQ(result.message, message);
        EXPECT_EQ(prepared.Pages(), 0);
        EXPECT_TRUE(prepared.asked.empty()) << "no value was asked for";
    }
}

TEST(DamagedGeometry, TheBoundsThemselvesLoad) {
    ReportTemplate report = PrintTemplate();
    Named(report, "Memo1").Top = kMaxExtentReportUnits;
    Named(report, "Memo1").Left = -kMaxExtentReportUnits;
    Named(report, "Memo2").FrameWidth = kSheetReportUnits;
    Named<TfrMemoView>(report, "Memo2").LineSpacing = -kSheetReportUnits;
    Named<TfrMemoView>(report, "Memo3").Font.Size = kSheetPoints;
    report.Pages[0].PaperWidth = kMaxPaperTenthsMm;
    report.Pages[0].BottomMargin = kMaxExtentReportUnits;
    ReportTemplate read;
    const TemplateLoad load = ReadTemplate(WriteTemplate(report, "", kNow), read, kNow);
    EXPECT_TRUE(load.ok) << load.error;
    EXPECT_FALSE(DamagedGeometry(read));
}

}  // namespace
}  // namespace quillon
