// Where names get their values: the callback, the template's variables, the built-in names, object
// properties and constants, expressions; inline formats; names that refer to themselves.

#include "report/engine/NameLookup.h"

#include <gtest/gtest.h>
#include <map>

#include "report/engine/Expression.h"
#include "report/engine/FixedCanvas.h"

namespace quillon {
namespace {

struct Lookup {
    Lookup() : lookup(callback, report, place, locale, scratch, ToDateTime(2026, 12, 7, 9, 5, 3)) {}
    std::string Text(const std::string& bracketed, std::uint32_t format = kDefaultFormat, std::uint16_t flags = 3) {
        TfrMemoView memo;
        memo.Format = format;
        memo.Flags = flags;
        return lookup.NameText(memo, bracketed);
    }
    ValueCallback callback = [this](const std::string& name, Value& value) {
        if (const auto it = answers.find(name); it != answers.end()) value = it->second;
    };
    std::map<std::string, Value> answers;
    ReportTemplate report;
    RunPlace place;
    FixedReportLocale locale;
    FixedCanvas scratch;
    NameLookup lookup;
};

TEST(NameLookup, TheCallbackFirstThenTheTemplateThenTheEngine) {
    Lookup l;
    l.report.Variables.Variables = {{" Category", ""}, {"Twice", "Base * 2"}, {"Base", "21"}, {"DATE", "'mine'"}};
    l.report.Info.Author = "An Author";
    EXPECT_EQ(l.Text("Twice"), "42") << "a variable is an expression over other names";
    EXPECT_EQ(l.Text("twice"), "42") << "variables are found without regard to case";
    EXPECT_EQ(l.Text("DATE"), "mine") << "a variable comes before a built-in name";
    l.answers["DATE"] = std::string("answered");
    EXPECT_EQ(l.Text("DATE"), "answered") << "the callback comes first";
    l.answers["Empty"] = std::string();
    EXPECT_EQ(l.Text("Empty"), "") << "an empty answer is an answer";
    EXPECT_EQ(l.Text("TIME"), "09:05:03");
    EXPECT_EQ(l.Text("REPORTAUTOR"), "An Author");
    EXPECT_EQ(l.Text("frtaDown"), "16");
    EXPECT_THROW(l.Text("Category"), ReportError) << "a heading is no variable";
    EXPECT_THROW(l.Text("page#"), ReportError) << "built-in names are compared exactly";
}

TEST(NameLookup, PositionNamesReadTheRun) {
    Lookup l;
    l.place.pageCounter = 2;
    l.place.column = 1;
    l.place.curY = 300;
    l.place.curBottom = 900;
    l.place.rightEdge = 700;
    EXPECT_EQ(l.Text("PAGE#"), "3");
    EXPECT_EQ(l.Text("COLUMN#"), "2");
    EXPECT_EQ(l.Text("CURY"), "300");
    EXPECT_EQ(l.Text("FREESPACE"), "600");
    EXPECT_EQ(l.Text("PAGEWIDTH"), "700");
    EXPECT_EQ(l.Text("PAGE# + 1"), "4");
}

TEST(NameLookup, InlineFormatsAndHiddenZeros) {
    Lookup l;
    l.answers["Pi"] = 3.14159;
    l.answers["Zero"] = 0LL;
    l.answers["Day"] = DateValue{2026, 12, 7};
    EXPECT_EQ(l.Text("Pi #N0.00"), "3.14");
    EXPECT_EQ(l.Text("Day #Dyyyy-mm-dd"), "2026-12-07");
    EXPECT_EQ(l.Text("Zero #Bno;yes"), "no");
    EXPECT_EQ(l.Text("Zero"), "0");
    EXPECT_EQ(l.Text("Zero", kDefaultFormat, 3 | kMemoHideZeros), "") << "HideZeros empties a zero";
    EXPECT_EQ(l.Text("Pi", FormatWord(FormatKind::Number, 1, 3, ',')), "3,142");
}

TEST(NameLookup, ANameThatNeedsItselfIsUndefined) {
    Lookup l;
    l.report.Variables.Variables = {{"A", "B + 1"}, {"B", "A + 1"}};
    try {
        l.Text("A");
        FAIL() << "no error";
    } catch (const ReportError& error) {
        EXPECT_STREQ(error.what(), "Undefined symbol \"A\"");
    }
    EXPECT_THROW(l.Text("Nowhere"), ReportError);
    // A long chain of distinct names ends as undefined too, before the stack does.
    for (int i = 0; i < 500; ++i)
        l.report.Variables.Variables.push_back({"V" + std::to_string(i), "V" + std::to_string(i + 1)});
    EXPECT_THROW(l.Text("V0"), ReportError);
    // So does an expression nested too deep.
    EXPECT_THROW(l.Text(std::string(5000, '(') + "1" + std::string(5000, ')')), ReportError);
    EXPECT_NO_THROW(l.Text(std::string(400, '9'))) << "a number too large for a double is no error";
}

}  // namespace
}  // namespace quillon
