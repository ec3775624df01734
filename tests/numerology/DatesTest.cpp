#include "numerology/Dates.h"

#include <cctype>
#include <cstring>
#include <gtest/gtest.h>

#include "common/Utf8.h"

namespace quillon {
namespace {

const std::array<std::u16string, 12> kEnglishMonths = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                                       u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
const CivilDate kToday{2026, 12, 7};

DateSettings Settings(std::u16string_view format) { return ParseShortDateFormat(format, kEnglishMonths); }

std::string Describe(const DateReading& reading) {
    if (const auto* error = std::get_if<DateError>(&reading)) return "error: " + error->message;
    const CivilDate& date = std::get<CivilDate>(reading);
    return std::to_string(date.year) + "-" + std::to_string(date.month) + "-" + std::to_string(date.day);
}

TEST(ShortDateFormat, FieldOrderAndPadding) {
    struct Case {
        std::u16string format;
        std::array<DateField, 3> order;
        std::u16string shown;  // 5 October 2000
    };
    const Case cases[] = {
        {u"M/d/yy", {DateField::Month, DateField::Day, DateField::Year}, u"10/ 5/2000"},
        {u"dd/MM/yyyy", {DateField::Day, DateField::Month, DateField::Year}, u"05/10/2000"},
        {u"yyyy-MM-dd", {DateField::Year, DateField::Month, DateField::Day}, u"2000-10-05"},
        {u"yyyy. MM. dd.", {DateField::Year, DateField::Month, DateField::Day}, u"2000. 10. 05."},
        {u"d MMM yyyy", {DateField::Day, DateField::Month, DateField::Year}, u" 5 Oct 2000"},
        {u"dd.MM.yy", {DateField::Day, DateField::Month, DateField::Year}, u"05.10.2000"},
        {u"dddd, d 'de' MMMM", {DateField::Day, DateField::Month, DateField::Year}, u" 5 de Oct/2000"},
        {u"MMM dddd, d yyyy", {DateField::Month, DateField::Day, DateField::Year}, u"Oct  5 2000"},
    };
    for (const Case& c : cases) {
        const DateSettings settings = Settings(c.format);
        EXPECT_EQ(settings.order, c.order) << std::string(c.format.begin(), c.format.end());
        EXPECT_EQ(FormatDate({2000, 10, 5}, settings), c.shown) << std::string(c.format.begin(), c.format.end());
    }
    EXPECT_EQ(FormatDate({2026, 6, 12}, Settings(u"dd/MM/yyyy")), u"12/06/2026");
    EXPECT_EQ(FormatDate({2026, 12, 6}, Settings(u"M/d/yy")), u"12/ 6/2026");
    EXPECT_EQ(FormatDate({1985, 12, 29}, Settings(u"M/d/yy")), u"12/29/1985");
}

TEST(ReadDate, TypedTextInEachFieldOrder) {
    struct Case {
        const char* name;
        std::u16string format;
        std::u16string text;
        const char* expected;
    };
    const Case cases[] = {
        {"us full", u"M/d/yy", u"12/29/1985", "1985-12-29"},
        {"gb full", u"dd/MM/yyyy", u"29/12/1985", "1985-12-29"},
        {"iso full", u"yyyy-MM-dd", u"1985-12-29", "1985-12-29"},
        {"gb October", u"dd/MM/yyyy", u"5.10.2000", "2000-10-5"},
        {"us two-digit year", u"M/d/yy", u"10/5/85", "1985-10-5"},
        {"us 05 is 1905", u"M/d/yy", u"10/5/05", "1905-10-5"},
        {"one-digit year", u"M/d/yy", u"1/2/7", "1907-1-2"},
        {"three-digit year is taken as it is", u"dd/MM/yyyy", u"1/1/999", "error: Invalid date \"1/1/999\""},
        {"missing year is today's", u"dd/MM/yyyy", u"29/12", "2026-12-29"},
        {"missing month and year", u"dd/MM/yyyy", u"3", "2026-12-3"},
        {"empty is today", u"dd/MM/yyyy", u"", "2026-12-7"},
        {"slash is today", u"M/d/yy", u"/", "2026-12-7"},
        {"any separators", u"dd/MM/yyyy", u"  29 - 12 , 1985+", "1985-12-29"},
        // A day or month out of range counts as missing and leaves its run to the next field.
        {"us day-first text", u"M/d/yy", u"29/12/1985", "1912-12-29"},
        {"gb month 13", u"dd/MM/yyyy", u"5/13/2000", "1913-12-5"},
        {"day 0", u"dd/MM/yyyy", u"0/10/2000", "1900-12-7"},
        {"month name", u"dd/MM/yyyy", u"29 dec 1985", "1985-12-29"},
        {"long month name", u"dd/MM/yyyy", u"5 October 2000", "2000-10-5"},
        {"short month prefix", u"dd/MM/yyyy", u"5 o 2000", "2000-10-5"},
        {"first match wins", u"dd/MM/yyyy", u"5 ju 2000", "2000-6-5"},
        {"name in a year-first locale", u"yyyy-MM-dd", u"1985-Dec-29", "1985-12-29"},
        {"invalid day", u"dd/MM/yyyy", u"2x/12/1985", "error: Invalid day \"2X\""},
        {"invalid month", u"dd/MM/yyyy", u"29/1x/1985", "error: Invalid month \"1X\""},
        {"invalid month name", u"dd/MM/yyyy", u"29 Foo 1985", "error: Invalid month name \"FOO\""},
        {"invalid year", u"dd/MM/yyyy", u"29/12/19x5", "error: Invalid year \"19X5\""},
        {"letters where the year goes", u"M/d/yy", u"29 Dec 1985", "error: Invalid year \"DEC\""},
        {"day too large for 32 bits", u"dd/MM/yyyy", u"99999999999/1/2000", "error: Invalid day \"99999999999\""},
        {"year too large for 32 bits", u"dd/MM/yyyy", u"1/1/4294967296", "error: Invalid year \"4294967296\""},
        {"31 February", u"dd/MM/yyyy", u"31/02/2000", "error: Invalid date \"31/02/2000\""},
        {"29 February of a leap year", u"dd/MM/yyyy", u"29/02/2000", "2000-2-29"},
        {"29 February of 1900", u"dd/MM/yyyy", u"29/02/1900", "error: Invalid date \"29/02/1900\""},
        {"year 1599", u"dd/MM/yyyy", u"1/1/1599", "error: Invalid date \"1/1/1599\""},
        {"year 4000", u"dd/MM/yyyy", u"1/1/4000", "error: Invalid date \"1/1/4000\""},
        {"year 3999", u"dd/MM/yyyy", u"31/12/3999", "3999-12-31"},
        {"extra runs are ignored", u"dd/MM/yyyy", u"1/2/2003/4", "2003-2-1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Describe(ReadDate(c.text, Settings(c.format), kToday)), c.expected) << c.name;
    }
}

TEST(ReadDate, ErrorTextKeepsUtf8) {
    const auto reading = ReadDate(u"29 \u00e9t\u00e9 1985", Settings(u"dd/MM/yyyy"), kToday);
    EXPECT_EQ(Describe(reading), "error: Invalid month name \"\u00c9T\u00c9\"");
}

TEST(ReadDate, LettersStartAtTheFirstLatinOneLetter) {
    // Month names of a regional setting may begin with any letter, À (U+00C0) the first of Latin-1.
    std::array<std::u16string, 12> months = kEnglishMonths;
    months[3] = u"\u00c0vr";
    const DateSettings settings = ParseShortDateFormat(u"dd/MM/yyyy", months);
    EXPECT_EQ(Describe(ReadDate(u"12 \u00c0vr 1985", settings, kToday)), "1985-4-12");
    EXPECT_EQ(Describe(ReadDate(u"12 \u00e0vr 1985", settings, kToday)), "1985-4-12") << "read upper-cased";
    // The sign just before it separates runs.
    EXPECT_EQ(Describe(ReadDate(u"12\u00bf4\u00bf1985", settings, kToday)), "1985-4-12");
}

// The strict reading of dates given on the command line and in lists: the date as given, or
// what is wrong with it, under each field order and a format with a month name.
TEST(ReadStrictDate, ThreeFieldsInRangeOrWhatIsWrong) {
    struct Case {
        std::u16string format;
        std::u16string text;
        const char* expected;  // the date, or the reason after `Invalid date "TEXT": `
    };
    const std::u16string gb = u"dd/MM/yyyy", us = u"M/d/yy", iso = u"yyyy-MM-dd", named = u"d MMM yyyy";
    const Case cases[] = {
        {gb, u"29/12/1985", "1985-12-29"},
        {gb, u"  29 - 12 , 1985+", "1985-12-29"},
        {gb, u"0029/012/01985", "1985-12-29"},
        {gb, u"5.10.85", "1985-10-5"},
        {gb, u"1/2/7", "1907-2-1"},
        {gb, u"29 dec 1985", "1985-12-29"},
        {gb, u" / ", "2026-12-7"},
        {gb, u"29/02/2000", "2000-2-29"},
        {gb, u"31/12/3999", "3999-12-31"},
        {gb, u"", "no date given"},
        {gb, u"  ", "no date given"},
        // What the date field reads as other dates: 12/12/1929, 29/12/1932, today in 1985, today in 1900.
        {gb, u"12/29/1985", "there is no month 29"},
        {gb, u"32/12/1985", "there is no day 32"},
        {gb, u"1985-12-29", "there is no day 1985"},
        {gb, u"00/00/0000", "there is no day 0"},
        {gb, u"29/0/1985", "there is no month 0"},
        {gb, u"99999999999/1/2000", "there is no day 99999999999"},
        {gb, u"29/12", "the year is missing"},
        {gb, u"29", "the month and the year are missing"},
        {gb, u"-", "the day, the month and the year are missing"},
        {gb, u"1/2/2003/4", "there is more after the year"},
        {gb, u"31/02/1985", "31 February 1985 is not on the calendar"},
        {gb, u"29/02/1900", "29 February 1900 is not on the calendar"},
        {gb, u"1/1/985", "the year 985 is outside 1600 to 3999"},
        {gb, u"1/1/4000", "the year 4000 is outside 1600 to 3999"},
        {gb, u"1/1/0000", "the year 0 is outside 1600 to 3999"},
        {gb, u"1/1/4294967296", "the year 4294967296 is outside 1600 to 3999"},
        {gb, u"1O/12/1985", "\"1O\" is no day"},
        {gb, u"29/1x/1985", "\"1x\" is no month"},
        {gb, u"29/12/19x5", "\"19x5\" is no year"},
        {gb, u"29 Foo 1985", "\"Foo\" is no month"},
        {gb, u"29 Dec1985 1", "\"Dec1985\" is no month"},
        {gb, u"Dec 29 1985", "\"Dec\" is no day"},
        {us, u"12/29/1985", "1985-12-29"},
        {us, u"Dec 29 85", "1985-12-29"},
        {us, u"/", "2026-12-7"},
        {us, u"29/12/1985", "there is no month 29"},
        {us, u"2/30/2000", "30 February 2000 is not on the calendar"},
        {us, u"12/29", "the year is missing"},
        {iso, u"1985-12-29", "1985-12-29"},
        {iso, u"85-12-29", "1985-12-29"},
        {iso, u"29-12-1985", "there is no day 1985"},
        {iso, u"985-12-29", "the year 985 is outside 1600 to 3999"},
        {iso, u"1985-12", "the day is missing"},
        {iso, u"1985", "the month and the day are missing"},
        {iso, u"1985-12-29-1", "there is more after the day"},
        {named, u"5 Oct 2000", "2000-10-5"},
        {named, u"5 october 2000", "2000-10-5"},
        {named, u"5 10 2000", "2000-10-5"},
        {named, u"5 Okt 2000", "\"Okt\" is no month"},
        {named, u"Oct 5 2000", "\"Oct\" is no day"},
    };
    for (const Case& c : cases) {
        const std::string text = Utf16ToUtf8(c.text);
        const std::string expected =
            std::isdigit(static_cast<unsigned char>(c.expected[0])) && std::strchr(c.expected, '-')
                ? c.expected
                : "error: Invalid date \"" + text + "\": " + c.expected;
        EXPECT_EQ(Describe(ReadStrictDate(c.text, Settings(c.format), kToday)), expected) << text;
    }
    // A month name upper-cased by the caller's rules; the message keeps the text as given.
    const auto upper = [](std::u16string_view run) { return std::u16string(run.size(), u'X'); };
    std::array<std::u16string, 12> months = kEnglishMonths;
    months[1] = u"XXX";
    EXPECT_EQ(Describe(ReadStrictDate(u"1 \u00e9t\u00e9 2000", ParseShortDateFormat(gb, months), kToday, upper)),
              "2000-2-1");
}

TEST(CalculateDate, WorkedExamples) {
    struct Case {
        CivilDate date;
        const char* day;
        const char* monthDay;
        const char* total;
        int sum;
    };
    const Case cases[] = {
        {{1985, 12, 29}, "29 / 11 / 2", "14 / 5", "37 / 10 / 1", 37},
        {{2000, 10, 5}, "5", "6", "8", 8},
        {{2000, 11, 7}, "7", "9", "11 / 2", 11},
        {{2000, 12, 7}, "7", "10 / 1", "12 / 3", 12},
        {{1999, 9, 9}, "9", "18 / 9", "46 / 10 / 1", 46},
        {{1600, 1, 1}, "1", "2", "9", 9},
    };
    for (const Case& c : cases) {
        const DateTotals totals = CalculateDate(c.date);
        EXPECT_EQ(totals.dayTotal, c.day);
        EXPECT_EQ(totals.monthDay, c.monthDay);
        EXPECT_EQ(totals.dateTotal, c.total);
        EXPECT_EQ(totals.dateDigitSum, c.sum);
    }
}

}  // namespace
}  // namespace quillon
