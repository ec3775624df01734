#include "report/engine/MemoText.h"

#include <gtest/gtest.h>

#include "report/engine/Expression.h"
#include "report/engine/Values.h"

namespace quillon {
namespace {

// Names resolve to "<name>", so the tests see exactly what was handed over.
std::string Angle(const std::string& name) { return "<" + name + ">"; }

TEST(ExpandLine, BracketsQuotesAndNesting) {
    const std::pair<std::string, std::string> cases[] = {
        {"[Method] System", "<Method> System"},
        {"Printed:  [DATE] [TIME]", "Printed:  <DATE> <TIME>"},
        {"no brackets here", "no brackets here"},
        {"a lone ] stays", "a lone ] stays"},
        {"[a][b]", "<a><b>"},
        {"x [outer [inner] tail] y", "x <outer [inner] tail> y"},
        {"[say \"]\" now]", "<say \"]\" now>"},
        {"['[' + x]", "<'[' + x>"},
        {"[]", "<>"},
        {"end [open", "end <ope>"},  // an open bracket takes the rest less its last character
        {"end [", "end ["},
        {"[[x]]", "<[x]>"},
    };
    for (const auto& [line, expected] : cases) EXPECT_EQ(ExpandLine(line, Angle), expected) << line;
}

TEST(ExpandLine, InsertedTextIsNotScannedAgain) {
    const auto textOf = [](const std::string& name) { return name == "a" ? std::string("[b]") : std::string("B"); };
    EXPECT_EQ(ExpandLine("[a] and [c]", textOf), "[b] and B");
}

TEST(ExpandMemo, LinesStayLinesAndBreaksMakeMore) {
    const auto empty = [](const std::string&) { return std::string(); };
    EXPECT_EQ(ExpandMemo({"[V1]", "[C1]", "[T1]"}, false, empty), (std::vector<std::string>{"", "", ""}));
    const auto twoLines = [](const std::string&) { return std::string("one\r\ntwo"); };
    EXPECT_EQ(ExpandMemo({"x [a] y", "z"}, false, twoLines), (std::vector<std::string>{"x one", "two y", "z"}));
    EXPECT_EQ(ExpandMemo({"[a]", ""}, true, Angle), (std::vector<std::string>{"[a]", ""})) << "TextOnly keeps brackets";
    EXPECT_EQ(SplitLines("a\rb\nc\r\n"), (std::vector<std::string>{"a", "b", "c", ""}));
}

// Expansion stops once the text passes its bound, so a name asked for again and again is not.
TEST(ExpandMemo, StopsOnceTheTextPassesItsBound) {
    int asked = 0;
    const auto lines = [&asked](const std::string&) {
        ++asked;
        return std::string("one\r\ntwo");
    };
    EXPECT_EQ(ExpandMemo({"[a]", "[a]", "[a]"}, false, lines, 3).size(), 4u) << "one line more than the bound";
    EXPECT_EQ(asked, 2);
    asked = 0;
    EXPECT_EQ(ExpandMemo({"[a][a][a][a]", "[a]"}, false, lines, 100, 14),
              (std::vector<std::string>{"one", "two[a][a][a]"}));
    EXPECT_EQ(asked, 1) << "the line stops growing as soon as it is longer than 14 bytes";
    EXPECT_EQ(ExpandLine("[a][a][a]", lines, 8), "[a][a][a]") << "longer than the bound before it grows";
}

TEST(Expressions, ArithmeticStringsAndErrors) {
    const auto none = [](const std::string& name) -> Value {
        return name == "seven" ? Value{7LL} : Value{std::string("s")};
    };
    EXPECT_EQ(EvaluateExpression("1 + 2 * 3", none), Value{7LL});
    EXPECT_EQ(EvaluateExpression("(1 + 2) * 3", none), Value{9LL});
    EXPECT_EQ(EvaluateExpression("seven - 10", none), Value{-3LL});
    EXPECT_EQ(EvaluateExpression("7 / 2", none), Value{3.5});
    EXPECT_EQ(EvaluateExpression("-seven", none), Value{-7LL});
    EXPECT_EQ(EvaluateExpression("'It''s ' + \"ok\"", none), Value{std::string("It's ok")});
    EXPECT_EQ(EvaluateExpression("'n' + 1", none), Value{std::string("n1")});
    EXPECT_EQ(EvaluateExpression("9223372036854775807 + 1", none), Value{9223372036854775808.0});
    EXPECT_THROW(EvaluateExpression("1 / 0", none), ReportError);
    EXPECT_THROW(EvaluateExpression("1 +", none), ReportError);
    EXPECT_THROW(EvaluateExpression("(1", none), ReportError);
    EXPECT_THROW(EvaluateExpression("'open", none), ReportError);
    EXPECT_THROW(EvaluateExpression("s * 2", none), ReportError);
    EXPECT_TRUE(IsPlainName("Data"));
    EXPECT_TRUE(IsPlainName("PAGE#"));
    EXPECT_FALSE(IsPlainName("1 + 2"));
}

TEST(FormatValue, KindsAndFallbacks) {
    const FixedReportLocale locale;
    auto format = [&](const Value& v, std::uint32_t kind, int variant, int decimals, const std::string& pattern = {}) {
        return FormatValue(v,
                           (kind << 24) | (static_cast<std::uint32_t>(variant) << 16) |
                               (static_cast<std::uint32_t>(decimals) << 8) | '.',
                           pattern, locale);
    };
    EXPECT_EQ(FormatValue(Value{}, kDefaultFormat, {}, locale), "");
    EXPECT_EQ(FormatValue(Value{std::string("   ")}, kDefaultFormat, {}, locale), "");
    EXPECT_EQ(FormatValue(Value{std::string("24 / 6")}, kDefaultFormat, {}, locale), "24 / 6");
    EXPECT_EQ(FormatValue(Value{33LL}, kDefaultFormat, {}, locale), "33");
    EXPECT_EQ(FormatValue(Value{DateValue{2026, 12, 7}}, kDefaultFormat, {}, locale), "07/12/2026");
    EXPECT_EQ(FormatValue(Value{TimeValue{9, 5, 3}}, kDefaultFormat, {}, locale), "09:05:03");
    EXPECT_EQ(format(Value{1234.5}, 1, 0, 2), "1234.5");
    EXPECT_EQ(format(Value{1234.5}, 1, 1, 2), "1234.50");
    EXPECT_EQ(format(Value{1234567.0}, 1, 2, 2), "1,234,567");
    EXPECT_EQ(format(Value{1234.5}, 1, 3, 2), "1,234.50");
    EXPECT_EQ(format(Value{1234.5}, 1, 4, 0, "#,##0.00"), "1,234.50");
    EXPECT_EQ(format(Value{3.14159}, 1, 4, 0, "0.##"), "3.14") << "a # after the point is a decimal too";
    EXPECT_EQ(format(Value{2.5}, 1, 4, 0, "0.0##"), "2.5");
    EXPECT_EQ(format(Value{2.0}, 1, 4, 0, "0.##"), "2") << "optional decimals that are zero go, and the point";
    EXPECT_EQ(format(Value{DateValue{2026, 12, 7}}, 2, 0, 0), "07.12.26") << "yy: two digits of the year";
    EXPECT_EQ(format(Value{DateValue{2026, 12, 7}}, 2, 1, 0), "07.12.2026");
    EXPECT_EQ(format(Value{DateValue{2005, 3, 9}}, 2, 2, 0), "9 Mar 2005");
    EXPECT_EQ(format(Value{DateValue{2005, 3, 9}}, 2, 4, 0, "d/m/y"), "9/3/05");
    EXPECT_EQ(format(Value{std::string("abc")}, 1, 1, 2), "abc") << "falls back to the plain text";
    EXPECT_EQ(format(Value{DateValue{2026, 12, 7}}, 2, 4, 0, "yyyy-mm-dd"), "2026-12-07");
    EXPECT_EQ(format(Value{TimeValue{9, 5, 3}}, 3, 4, 0, "h:nn"), "9:05");
    EXPECT_EQ(format(Value{1LL}, 4, 4, 0, "no;yes"), "yes");
    EXPECT_EQ(format(Value{0LL}, 4, 4, 0, "no;yes"), "no");
    EXPECT_TRUE(IsZero(Value{0LL}));
    EXPECT_TRUE(IsZero(Value{0.0}));
    EXPECT_FALSE(IsZero(Value{std::string("0")})) << "strings are never hidden as zeros";
}

}  // namespace
}  // namespace quillon
