// Preparation stops with "The template is too large to lay out: ..." where the pages would pass
// their bounds of lines (as drawing wraps them), bytes or values worked out, however the template
// multiplies its text, and leaves no pages; at each bound itself it lays out.

#include <functional>
#include <gtest/gtest.h>

#include "support/PreparedReport.h"

namespace quillon {
namespace {

using test::AddBand;
using test::AddMemo;
using test::OnePage;
using test::PreparedReport;

enum class Bound { Lines, Bytes, Values };

struct Case {
    const char* name;
    std::function<ReportTemplate()> build;
    Bound bound;
    std::size_t lines;  // the lines the pages take, as drawing wraps them; 0: not checked
};

// Variables V1 ... Vn, each the one before added to itself; V0 is first.
void Doubling(ReportTemplate& tpl, const std::string& first, int n) {
    tpl.Variables.Variables = {{" Doubling", ""}, {"V0", first}};
    for (int i = 1; i <= n; ++i) {
        const std::string before = "V" + std::to_string(i - 1);
        tpl.Variables.Variables.push_back({"V" + std::to_string(i), before + "+" + before});
    }
}

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"the lines of a memo",
         [] {
             ReportTemplate tpl = OnePage();
             AddMemo(tpl.Pages[0], "M", 60, 100, {"one", "two", "three"});
             return tpl;
         },
         Bound::Lines, 3},
        {"a line wrapped a word a line",
         [] {
             ReportTemplate tpl = OnePage();
             AddMemo(tpl.Pages[0], "M", 60, 100, {"aaaa bbbb cccc dddd"}, 30);
             return tpl;
         },
         Bound::Lines, 4},
        {"a name that stands for a whole memo",
         [] {
             ReportTemplate tpl = OnePage();
             AddMemo(tpl.Pages[0], "Src", 60, 100, {"one", "two", "three"});
             AddMemo(tpl.Pages[0], "Copies", 300, 100, {"[Src.Memo]", "[Src.Memo]"});
             return tpl;
         },
         Bound::Lines, 9},
        {"a page header on every page of a split band",
         [] {
             ReportTemplate tpl = OnePage();
             AddBand(tpl.Pages[0], BandType::PageHeader, 0, 30);
             AddMemo(tpl.Pages[0], "Header", 60, 0, {"header"});
             AddBand(tpl.Pages[0], BandType::ReportTitle, 100, 20, kBandStretched);
             AddMemo(tpl.Pages[0], "Body", 60, 100, std::vector<std::string>(200, "line"));
             return tpl;
         },
         Bound::Lines, 0},
        {"the bytes of the pages",
         [] {
             ReportTemplate tpl = OnePage();
             AddMemo(tpl.Pages[0], "M", 60, 100, {"one", "two", "three"});
             return tpl;
         },
         Bound::Bytes, 0},
        {"a text that doubles at every variable",
         [] {
             ReportTemplate tpl = OnePage();
             AddMemo(tpl.Pages[0], "M", 60, 100, {"[V9]"});
             Doubling(tpl, "'abcd'", 9);
             return tpl;
         },
         Bound::Bytes, 0},
        {"a tag that names a memo",
         [] {
             ReportTemplate tpl = OnePage();
             AddMemo(tpl.Pages[0], "Src", 60, 100, {"one", "two", "three"});
             AddMemo(tpl.Pages[0], "Tagged", 300, 100, {"x"})->Tag = "[Src.Memo][Src.Memo][Src.Memo]";
             return tpl;
         },
         Bound::Bytes, 0},
        {"values that refer to each other twice",
         [] {
             ReportTemplate tpl = OnePage();
             AddMemo(tpl.Pages[0], "M", 60, 100, {"[V3]"});
             Doubling(tpl, "1", 3);
             return tpl;
         },
         Bound::Values, 0},
    };
    return cases;
}

std::size_t& BoundOf(TfrReport& report, Bound bound) {
    switch (bound) {
        case Bound::Lines: return report.MaxLines;
        case Bound::Bytes: return report.MaxBytes;
        case Bound::Values: return report.MaxValues;
    }
    return report.MaxLines;
}

// What the pages of a case take of its bound, from a run without bounds.
std::size_t Taken(const Case& c) {
    PreparedReport prepared(c.build());
    prepared.answerAll = false;
    std::size_t lookups = 0;
    const auto answer = prepared.report.OnGetValue;
    prepared.report.OnGetValue = [&](const std::string& name, Value& value) {
        ++lookups;
        answer(name, value);
    };
    EXPECT_TRUE(prepared.report.Prepare().IsDone()) << c.name;
    switch (c.bound) {
        case Bound::Lines: return prepared.report.EMFPages.Lines();
        case Bound::Bytes: return prepared.report.EMFPages.Bytes();
        case Bound::Values: return lookups;
    }
    return 0;
}

TEST(LayoutLimits, EachBoundLaysOutAndOneLessRefuses) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        const std::size_t taken = Taken(c);
        if (c.lines) {
            EXPECT_EQ(taken, c.lines);
        }
        for (const std::size_t bound : {taken, taken - 1}) {
            PreparedReport prepared(c.build());
            prepared.answerAll = false;
            prepared.report.EMFPages.Add(TfrPage{});
            BoundOf(prepared.report, c.bound) = bound;
            const RunResult result = prepared.report.Prepare();
            if (bound == taken) {
                EXPECT_TRUE(result.IsDone()) << result.message;
                continue;
            }
            const std::string n = std::to_string(bound);
            const std::string what = c.bound == Bound::Lines   ? "its pages would hold more than " + n + " lines"
                                     : c.bound == Bound::Bytes ? "its pages would hold more than " + n + " bytes"
                                                               : "it works out more than " + n + " values";
            EXPECT_TRUE(result.IsFailed());
            EXPECT_EQ(result.message, kTooLargeToLayOut + what);
            EXPECT_EQ(prepared.Pages(), 0) << "no pages are left";
        }
    }
}

TEST(LayoutLimits, ATextLongerThanThePagesMayHoldIsNotBuilt) {
    // 60,000 letters doubled nine times are 30 MB, and the tenth doubling would pass 32 MiB.
    ReportTemplate tpl = OnePage();
    AddMemo(tpl.Pages[0], "M", 60, 100, {"[V10]"});
    Doubling(tpl, "'" + std::string(60000, 'x') + "'", 10);
    PreparedReport prepared(std::move(tpl));
    prepared.answerAll = false;
    const RunResult result = prepared.report.Prepare();
    EXPECT_EQ(result.message, kTooLargeToLayOut + std::string("a text would be longer than 33554432 bytes"));
    EXPECT_EQ(prepared.Pages(), 0);
}

}  // namespace
}  // namespace quillon
