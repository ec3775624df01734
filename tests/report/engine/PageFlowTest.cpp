// How preparation lays bands out on pages and columns: bands that just fit, columns with their
// gaps, child bands, page footers on first, middle and last pages, highlights, suppressed repeats
// and two-pass reports.

#include <functional>
#include <gtest/gtest.h>

#include "report/format/TemplateLimits.h"
#include "support/FakeProgress.h"
#include "support/PreparedReport.h"

namespace quillon {
namespace {

using test::AddBand;
using test::AddMemo;
using test::OnePage;
using test::PreparedReport;

// On OnePage(50) the page runs from 50 to 958 (Letter is 1008 units high) and from 50 to 729.
constexpr int kTop = 50, kBottom = 958, kLeft = 50, kRight = 729;

// Where each named memo ended up: page and position.
struct Place {
    int page;
    int left, top;
    friend bool operator==(const Place&, const Place&) = default;
};

Place PlaceOf(const PreparedReport& prepared, const std::string& name) {
    for (int page = 0; page < prepared.Pages(); ++page) {
        if (auto object = prepared.Object(name, page)) return {page, object->Left, object->Top};
    }
    return {-1, 0, 0};
}

std::ostream& operator<<(std::ostream& out, const Place& place) {
    return out << "page " << place.page << " at " << place.left << ", " << place.top;
}

TEST(PageFlow, BandsThatJustFillThePageStayOnIt) {
    struct Case {
        const char* name;
        int titleHeight, summaryHeight;
        int pages;
    };
    const int room = kBottom - kTop;
    for (const Case& c :
         {Case{"exactly full", room / 2, room - room / 2, 1}, Case{"one unit over", room / 2, room - room / 2 + 1, 2},
          Case{"one band the whole page", room, 0, 1}}) {
        SCOPED_TRACE(c.name);
        ReportTemplate tpl = OnePage();
        AddBand(tpl.Pages[0], BandType::ReportTitle, 100, c.titleHeight);
        AddMemo(tpl.Pages[0], "T", 60, 100, {"title"});
        if (c.summaryHeight > 0) {
            AddBand(tpl.Pages[0], BandType::ReportSummary, 2000, c.summaryHeight);
            AddMemo(tpl.Pages[0], "S", 60, 2000, {"summary"});
        }
        PreparedReport prepared(std::move(tpl));
        ASSERT_TRUE(prepared.report.Prepare().IsDone());
        EXPECT_EQ(prepared.Pages(), c.pages);
        if (c.summaryHeight > 0) {
            const Place summary = PlaceOf(prepared, "S");
            EXPECT_EQ(summary, (c.pages == 1 ? Place{0, 60, kTop + c.titleHeight} : Place{1, 60, kTop}));
        }
    }
}

// A title with a chain of child bands, each 400 units high: two fit in a column of 908.
ReportTemplate ChildChain(int columns, int columnGap) {
    ReportTemplate tpl = OnePage();
    TfrPage& page = tpl.Pages[0];
    page.Columns = columns;
    page.ColumnGap = columnGap;
    AddBand(page, BandType::ReportTitle, 0, 400, 0, "Title")->ChildBand = "C1";
    AddMemo(page, "T", 60, 0, {"title"});
    for (int i = 1; i <= 4; ++i) {
        const int top = 1000 * i;
        const std::string name = "C" + std::to_string(i);
        AddBand(page, BandType::Child, top, 400, 0, name)->ChildBand = i < 4 ? "C" + std::to_string(i + 1) : "";
        AddMemo(page, "M" + std::to_string(i), 60, top, {name});
    }
    return tpl;
}

TEST(PageFlow, ChildBandsFillColumnsThenPages) {
    // Two columns: (679 - 20) / 2 = 329 wide, the second starting 329 + 20 further right.
    PreparedReport two(ChildChain(2, 20));
    ASSERT_TRUE(two.report.Prepare().IsDone());
    const int second = 60 + (kRight - kLeft - 20) / 2 + 20;
    EXPECT_EQ(PlaceOf(two, "T"), (Place{0, 60, kTop}));
    EXPECT_EQ(PlaceOf(two, "M1"), (Place{0, 60, kTop + 400}));
    EXPECT_EQ(PlaceOf(two, "M2"), (Place{0, second, kTop})) << "a new column starts at the top";
    EXPECT_EQ(PlaceOf(two, "M3"), (Place{0, second, kTop + 400}));
    EXPECT_EQ(PlaceOf(two, "M4"), (Place{1, 60, kTop})) << "after the last column a new page";
    EXPECT_EQ(two.Pages(), 2);

    // One column: every overflow is a new page.
    PreparedReport one(ChildChain(1, 20));
    ASSERT_TRUE(one.report.Prepare().IsDone());
    EXPECT_EQ(PlaceOf(one, "M2"), (Place{1, 60, kTop}));
    EXPECT_EQ(PlaceOf(one, "M4"), (Place{2, 60, kTop}));
    EXPECT_EQ(one.Pages(), 3);
}

TEST(PageFlow, AHiddenBandShowsItsChildOnlyWhenAskedTo) {
    for (const bool printChild : {false, true}) {
        ReportTemplate tpl = OnePage();
        TfrBandView* title =
            AddBand(tpl.Pages[0], BandType::ReportTitle, 0, 100, printChild ? kBandPrintChildIfInvisible : 0, "Title");
        title->ChildBand = "Child";
        title->Visible = false;
        AddMemo(tpl.Pages[0], "T", 60, 0, {"title"});
        AddBand(tpl.Pages[0], BandType::Child, 500, 100, 0, "Child");
        AddMemo(tpl.Pages[0], "C", 60, 500, {"child"});
        PreparedReport prepared(std::move(tpl));
        ASSERT_TRUE(prepared.report.Prepare().IsDone());
        EXPECT_EQ(PlaceOf(prepared, "T").page, -1);
        EXPECT_EQ(PlaceOf(prepared, "C"), (printChild ? Place{0, 60, kTop} : Place{-1, 0, 0})) << printChild;
    }
}

// Three pages (the title and the summary each ask for a new page after them) with a page footer
// of the given flags holding one memo.
std::vector<int> FooterPages(std::uint16_t footerFlags) {
    ReportTemplate tpl = OnePage();
    AddBand(tpl.Pages[0], BandType::ReportTitle, 0, 100, kBandFormNewPage);
    AddMemo(tpl.Pages[0], "T", 60, 0, {"title"});
    AddBand(tpl.Pages[0], BandType::ReportSummary, 200, 100, kBandFormNewPage);
    AddMemo(tpl.Pages[0], "S", 60, 200, {"summary"});
    AddBand(tpl.Pages[0], BandType::PageFooter, 800, 40, footerFlags);
    AddMemo(tpl.Pages[0], "F", 60, 810, {"[PAGE#]"});
    PreparedReport prepared(std::move(tpl));
    prepared.answerAll = false;
    EXPECT_TRUE(prepared.report.Prepare().IsDone());
    EXPECT_EQ(prepared.Pages(), 3);
    std::vector<int> pages;
    for (int page = 0; page < prepared.Pages(); ++page) {
        if (auto footer = prepared.Object("F", page)) {
            EXPECT_EQ(footer->Top, kBottom - 40 + 10) << "the footer stands at the bottom edge";
            EXPECT_EQ(footer->Memo, std::vector<std::string>{std::to_string(page + 1)});
            pages.push_back(page);
        }
    }
    return pages;
}

TEST(PageFlow, PageFootersOnTheFirstAndTheLastPageAsFlagged) {
    EXPECT_EQ(FooterPages(kBandOnFirstPage | kBandOnLastPage), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(FooterPages(kBandOnLastPage), (std::vector<int>{1, 2}));
    EXPECT_EQ(FooterPages(kBandOnFirstPage), (std::vector<int>{0, 1}));
    EXPECT_EQ(FooterPages(0), (std::vector<int>{1}));
}

TEST(PageFlow, SuppressLeavesOutTheRepeatOfTheSameText) {
    ReportTemplate tpl = OnePage();
    AddBand(tpl.Pages[0], BandType::ReportTitle, 0, 100, kBandFormNewPage);
    AddBand(tpl.Pages[0], BandType::PageFooter, 800, 40, kBandOnFirstPage | kBandOnLastPage);
    AddMemo(tpl.Pages[0], "Same", 60, 800, {"always the same"})->Flags |= kMemoSuppress;
    AddMemo(tpl.Pages[0], "Changing", 300, 800, {"page [PAGE#]"})->Flags |= kMemoSuppress;
    AddMemo(tpl.Pages[0], "Repeated", 500, 800, {"always the same"});
    PreparedReport prepared(std::move(tpl));
    prepared.answerAll = false;
    ASSERT_TRUE(prepared.report.Prepare().IsDone());
    ASSERT_EQ(prepared.Pages(), 2);
    EXPECT_NE(prepared.Object("Same", 0), nullptr);
    EXPECT_EQ(prepared.Object("Same", 1), nullptr) << "the same text again is left out";
    EXPECT_NE(prepared.Object("Changing", 1), nullptr) << "a new text is output";
    EXPECT_NE(prepared.Object("Repeated", 1), nullptr) << "without Suppress every repeat is output";
}

TEST(PageFlow, HighlightWhenTheConditionIsANumberOtherThanZero) {
    struct Case {
        const char* condition;
        Value value;
        bool highlighted;
    };
    for (const Case& c : {Case{"", Value{}, false}, Case{"Flag", Value{1LL}, true}, Case{"Flag", Value{0LL}, false},
                          Case{"Flag * 2", Value{3LL}, true}, Case{"Flag", Value{true}, true},
                          Case{"Flag", Value{std::string("1")}, false}}) {
        SCOPED_TRACE(c.condition);
        ReportTemplate tpl = OnePage();
        TfrMemoView* memo = AddMemo(tpl.Pages[0], "M", 60, 60, {"text"});
        memo->HighlightCondition = c.condition;
        memo->HighlightStyle = 4;
        memo->HighlightColor = 0x0000FF;
        memo->HighlightFill = 0x00FFFF;
        memo->Font.Style = 2;
        PreparedReport prepared(std::move(tpl));
        prepared.answers["Flag"] = c.value;
        ASSERT_TRUE(prepared.report.Prepare().IsDone());
        const auto shown = prepared.Object("M");
        ASSERT_NE(shown, nullptr);
        const auto& font = static_cast<const TfrMemoView&>(*shown).Font;
        EXPECT_EQ(font.Style, c.highlighted ? 4 : 2);
        EXPECT_EQ(font.Color, c.highlighted ? 0x0000FFu : 0u);
        EXPECT_EQ(shown->FillColor, c.highlighted ? 0x00FFFFu : kNoColour);
    }
}

TEST(PageFlow, ABandAfterASplitBandFollowsWhereItEnds) {
    // 70 lines of 15 (Arial 10 measures 13 + 2) and two gaps of 1: 1052 units, more than the 908
    // of a page. The first page takes 60 lines (900), the second the other 10 (150 + 2).
    ReportTemplate tpl = OnePage();
    AddBand(tpl.Pages[0], BandType::ReportTitle, 0, 20, kBandStretched);
    std::vector<std::string> lines(70, "line");
    AddMemo(tpl.Pages[0], "Long", 60, 0, lines);
    AddBand(tpl.Pages[0], BandType::ReportSummary, 500, 40);
    AddMemo(tpl.Pages[0], "S", 60, 500, {"summary"});
    PreparedReport prepared(std::move(tpl));
    ASSERT_TRUE(prepared.report.Prepare().IsDone());
    ASSERT_EQ(prepared.Pages(), 2);
    EXPECT_EQ(prepared.Object("Long", 0)->Memo.size(), 60u);
    EXPECT_EQ(prepared.Object("Long", 1)->Memo.size(), 10u);
    EXPECT_EQ(PlaceOf(prepared, "S"), (Place{1, 60, kTop + 152}));
}

// Band layouts that once started pages (or nested calls) without end: each band is shown once
// where it would be shown again from within itself, and a new page with no room left below its
// headers takes no part of a split band.
TEST(PageFlow, LayoutsThatWouldStartPagesWithoutEndStop) {
    struct Case {
        const char* name;
        std::function<void(TfrPage&)> build;
        int pages;
    };
    const Case cases[] = {
        {"child bands that name each other",
         [](TfrPage& page) {
             AddBand(page, BandType::ReportTitle, 0, 20, 0, "Title")->ChildBand = "A";
             AddBand(page, BandType::Child, 100, 20, 0, "A")->ChildBand = "B";
             AddBand(page, BandType::Child, 200, 20, 0, "B")->ChildBand = "A";
             AddMemo(page, "InB", 60, 200, {"b"});
         },
         1},
        {"a page header that asks for a new page",
         [](TfrPage& page) {
             AddBand(page, BandType::ReportTitle, 0, 20, kBandFormNewPage);
             AddBand(page, BandType::PageHeader, 100, 20, kBandFormNewPage);
         },
         3},
        {"headers taller than the page below a split title",
         [](TfrPage& page) {
             AddBand(page, BandType::ReportTitle, 0, 2000);
             AddBand(page, BandType::PageHeader, 3000, 600);
             AddBand(page, BandType::ColumnHeader, 4000, 600);
         },
         4},
        {"a page footer whose child does not fit",
         [](TfrPage& page) {
             AddBand(page, BandType::PageFooter, 0, 40, kBandOnFirstPage | kBandOnLastPage)->ChildBand = "K";
             AddBand(page, BandType::Child, 1000, 900, 0, "K");
         },
         2},
        {"a column header that fits no column of very many",
         [](TfrPage& page) {
             page.Columns = 2147483647;
             AddBand(page, BandType::PageHeader, 0, 500);
             AddBand(page, BandType::ColumnHeader, 1000, 700);
         },
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReportTemplate tpl = OnePage();
        c.build(tpl.Pages[0]);
        PreparedReport prepared(std::move(tpl));
        ASSERT_TRUE(prepared.report.Prepare().IsDone());
        EXPECT_EQ(prepared.Pages(), c.pages);
    }
    // A tall band split over pages with one unit of room would take thousands of them.
    ReportTemplate thin = OnePage();
    thin.Pages[0].BottomMargin = 1008 - kTop - 1;
    AddBand(thin.Pages[0], BandType::ReportTitle, 0, 2000);
    PreparedReport split(std::move(thin));
    split.report.MaxPages = 1000;
    const RunResult result = split.report.Prepare();
    EXPECT_EQ(result.message, "The template is damaged: it lays out more than 1000 pages");
    EXPECT_EQ(split.Pages(), 0);

    // A chain of child bands as long as a template may hold is shown band after band, not by
    // recursion.
    ReportTemplate tpl = OnePage();
    AddBand(tpl.Pages[0], BandType::ReportTitle, 0, 0, 0, "C0")->ChildBand = "C1";
    for (int i = 1; i <= static_cast<int>(kMaxTemplateObjects) - 2; ++i) {
        const std::string name = "C" + std::to_string(i);
        AddBand(tpl.Pages[0], BandType::Child, 0, 0, 0, name)->ChildBand = "C" + std::to_string(i + 1);
    }
    AddMemo(tpl.Pages[0], "Last", 60, 0, {"x"});
    PreparedReport prepared(std::move(tpl));
    ASSERT_TRUE(prepared.report.Prepare().IsDone());
    EXPECT_EQ(PlaceOf(prepared, "Last"), (Place{0, 60, kTop}));
}

TEST(PageFlow, ATwoPassReportKeepsTheSecondPassOnly) {
    ReportTemplate tpl = OnePage();
    tpl.DoublePassReport = true;
    AddBand(tpl.Pages[0], BandType::ReportTitle, 0, 100, kBandFormNewPage);
    AddMemo(tpl.Pages[0], "T", 60, 0, {"title"});
    AddMemo(tpl.Pages[0], "Loose", 60, 500, {"on every page of the None band"});
    PreparedReport prepared(std::move(tpl));
    test::FakeProgress progress;
    prepared.report.Environment.progress = &progress;
    prepared.report.ShowProgress = true;
    ASSERT_TRUE(prepared.report.Prepare().IsDone());
    EXPECT_EQ(progress.runLabels, (std::vector<std::string>{"Performing 1st pass:  1", "Processing page:  1"}));
    ASSERT_EQ(prepared.Pages(), 2);
    EXPECT_NE(prepared.Object("T", 0), nullptr) << "the second pass fills its own pages";
    EXPECT_NE(prepared.Object("Loose", 0), nullptr);
    EXPECT_EQ(prepared.Objects(1).size(), 0u);
}

}  // namespace
}  // namespace quillon
