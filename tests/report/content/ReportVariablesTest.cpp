#include "report/content/ReportVariables.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

ReportSource SourceWithDate() {
    ReportSource source;
    source.method = "Pythagorean";
    source.data = "MARy 12";
    source.vowels = " 1 7   ";
    source.consonants = "4 9    ";
    source.vTotal = "8";
    source.cTotal = "13 / 4";
    source.total = "24 / 6";
    for (int i = 0; i < kChartCellCount; ++i) source.chartCells[static_cast<std::size_t>(i)] = std::to_string(i);
    source.dates = "12/29/1985";
    source.dateTotal = "37 / 10 / 1";
    source.monthDay = "14 / 5";
    source.dayTotal = "29 / 11 / 2";
    source.nameDate = "61 / 7";
    source.dateDigitSum = 37;
    source.datePanelVisible = true;
    return source;
}

std::string Text(const ReportValue& value) {
    const auto* text = std::get_if<std::string>(&value);
    return text ? *text : "<not a string>";
}

const char* const kDateGroup[] = {"Dates",   "DateTotal", "MonthDay", "DayTot", "NameDate",
                                  "DatesLb", "Cd1Lb",     "Cd2Lb",    "Cd3Lb",  "Cd4Lb"};

TEST(ReportVariables, NamesInTableOrder) {
    const auto& names = ReportVariableNames();
    EXPECT_EQ(names[0], "nameftr");
    EXPECT_EQ(names[1], "master");
    EXPECT_EQ(names[3], "Data");
    EXPECT_EQ(names[9], "V1");
    EXPECT_EQ(names[10], "C1");
    EXPECT_EQ(names[11], "T1");
    EXPECT_EQ(names[35], "T9");
    EXPECT_EQ(names[36], "vvt");
    EXPECT_EQ(names[38], "ttt");
    EXPECT_EQ(names[39], "Dates");
    EXPECT_EQ(names[48], "Cd4Lb");
}

TEST(ReportVariables, AlwaysAnsweredGroup) {
    const ReportSource source = SourceWithDate();
    EXPECT_EQ(GetReportValue(source, "master"), ReportValue(std::int32_t{33}));
    EXPECT_EQ(Text(GetReportValue(source, "nameftr")), std::string(kNameFooter));
    EXPECT_EQ(Text(GetReportValue(source, "Method")), "Pythagorean");
    EXPECT_EQ(Text(GetReportValue(source, "Data")), "MARY 12") << "a vowel y prints as Y";
    EXPECT_EQ(Text(GetReportValue(source, "Vowels")), " 1 7   ");
    EXPECT_EQ(Text(GetReportValue(source, "Consonants")), "4 9    ");
    EXPECT_EQ(Text(GetReportValue(source, "VTot")), "8");
    EXPECT_EQ(Text(GetReportValue(source, "CTot")), "13 / 4");
    EXPECT_EQ(Text(GetReportValue(source, "Total")), "24 / 6");
    EXPECT_EQ(Text(GetReportValue(source, "V1")), "0");
    EXPECT_EQ(Text(GetReportValue(source, "C5")), "13");
    EXPECT_EQ(Text(GetReportValue(source, "T9")), "26");
    EXPECT_EQ(Text(GetReportValue(source, "vvt")), "27");
    EXPECT_EQ(Text(GetReportValue(source, "ttt")), "29");
}

TEST(ReportVariables, DataUpperCasesOnlyAsciiLetters) {
    ReportSource source;
    source.data = "m\xc3\xa9lanie y! liz az";  // UTF-8 bytes of the accented letter stay as they are
    EXPECT_EQ(Text(GetReportValue(source, "Data")), "M\xc3\xa9LANIE Y! LIZ AZ");
    source.data.clear();
    EXPECT_EQ(Text(GetReportValue(source, "Data")), "");
}

TEST(ReportVariables, MatchingIsExact) {
    const ReportSource source = SourceWithDate();
    for (const char* name : {"data", "Data ", " Data", "DATA", "", "V10", "v1", "Cd4lb", "Master", "dates"}) {
        EXPECT_TRUE(std::holds_alternative<std::monostate>(GetReportValue(source, name))) << '"' << name << '"';
    }
}

TEST(ReportVariables, DateGroupNeedsADateResultAndTheOpenPanel) {
    ReportSource source = SourceWithDate();
    EXPECT_EQ(Text(GetReportValue(source, "Dates")), "12/29/1985");
    EXPECT_EQ(Text(GetReportValue(source, "DayTot")), "29 / 11 / 2");
    EXPECT_EQ(Text(GetReportValue(source, "MonthDay")), "14 / 5");
    EXPECT_EQ(Text(GetReportValue(source, "DateTotal")), "37 / 10 / 1");
    EXPECT_EQ(Text(GetReportValue(source, "NameDate")), "61 / 7");
    EXPECT_EQ(Text(GetReportValue(source, "DatesLb")), "Date:");
    EXPECT_EQ(Text(GetReportValue(source, "Cd1Lb")), "Date Total:");
    EXPECT_EQ(Text(GetReportValue(source, "Cd2Lb")), "Month + Day:");
    EXPECT_EQ(Text(GetReportValue(source, "Cd3Lb")), "Day:");
    EXPECT_EQ(Text(GetReportValue(source, "Cd4Lb")), "Name + Date:");

    struct Condition {
        const char* name;
        std::int32_t dateDigitSum;
        bool panelVisible;
    };
    for (const Condition& condition : {Condition{"panel closed", 37, false}, Condition{"no date result", 0, true},
                                       Condition{"negative sum", -1, true}}) {
        source.dateDigitSum = condition.dateDigitSum;
        source.datePanelVisible = condition.panelVisible;
        for (const char* name : kDateGroup) {
            EXPECT_TRUE(std::holds_alternative<std::monostate>(GetReportValue(source, name)))
                << condition.name << ": " << name;
        }
        EXPECT_EQ(Text(GetReportValue(source, "Total")), "24 / 6") << condition.name;
    }
}

// What the command line's reports read: the texts the window's fields hold for the same analysis,
// the date panel open only with a date.
TEST(ReportVariables, ASourceOfTheAnalysedValuesAnswersAsTheWindowsFields) {
    const std::array<std::u16string, 12> months = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                                   u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    const DateSettings settings = ParseShortDateFormat(u"MM/dd/yyyy", months);
    ReportSource fields = SourceWithDate();
    fields.chartCells = ChartCellTexts(CountDigits(fields.vowels, fields.consonants));
    const ReportSource dated = ReportSourceOf(
        AssembleAnalysis(u"MARy 12", LetterSystem::Pythagorean, false, CivilDate{1985, 12, 29}, settings));
    for (const std::string& name : ReportVariableNames()) {
        EXPECT_EQ(GetReportValue(dated, name), GetReportValue(fields, name)) << name;
    }
    const ReportSource undated =
        ReportSourceOf(AssembleAnalysis(u"MARy 12", LetterSystem::Pythagorean, false, {}, settings));
    EXPECT_EQ(GetReportValue(undated, "Total"), GetReportValue(fields, "Total"));
    for (const char* name : kDateGroup) EXPECT_EQ(GetReportValue(undated, name), ReportValue()) << name;
}

}  // namespace
}  // namespace quillon
