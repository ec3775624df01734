// Printing prepared pages: page lists, the order and number of sheets, where a page lands on the
// sheet, jobs and papers, and the printer layer over a driver.

#include "report/engine/PrintRun.h"

#include <gtest/gtest.h>

#include "support/FakePrinterDriver.h"
#include "support/FakeProgress.h"
#include "support/PreparedReport.h"

namespace quillon {
namespace {

using test::AddBand;
using test::AddMemo;
using test::FakePrinterDriver;
using test::FakeProgress;

std::string Describe(const std::variant<PageSelection, std::string>& parsed, int pages) {
    if (const auto* error = std::get_if<std::string>(&parsed)) return "error: " + *error;
    const auto& selection = std::get<PageSelection>(parsed);
    std::string chosen;
    for (int page = 1; page <= pages; ++page) {
        if (selection.Selects(page)) chosen += (chosen.empty() ? "" : ",") + std::to_string(page);
    }
    return chosen;
}

TEST(PageList, NumbersRangesAndErrors) {
    struct Case {
        const char* list;
        const char* selected;  // on a report of 20 pages
    };
    const Case cases[] = {
        {"", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20"},
        {"   ", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20"},
        {"1,3,5-12", "1,3,5,6,7,8,9,10,11,12"},
        {" 1 , 3 ,5 - 7 ", "1,3,5,6,7"},
        {"5-", "5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20"},
        {"18-", "18,19,20"},
        {"7-3", ""},
        {"3,3,1", "1,3"},
        {"12,2", "2,12"},
        {"21,0,99", ""},
        {"19-25", "19,20"},
        {"1-2000000000", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20"},
        {"007", "7"},
        {"1,,3", "error: '' is not a valid integer value"},
        {"a", "error: 'a' is not a valid integer value"},
        {"2-x", "error: 'x' is not a valid integer value"},
        {"-3", "error: '' is not a valid integer value"},
        {"+", "error: '+' is not a valid integer value"},
        {"1,", "error: '' is not a valid integer value"},
        {"99999999999", "error: '99999999999' is not a valid integer value"},
    };
    for (const Case& c : cases) EXPECT_EQ(Describe(ParsePageList(c.list, 20), 20), c.selected) << '"' << c.list << '"';
}

TEST(PageList, WholeNumbersAsTyped) {
    EXPECT_EQ(ReadInteger("3"), 3);
    EXPECT_EQ(ReadInteger("-3"), -3);
    EXPECT_EQ(ReadInteger("+7"), 7);
    EXPECT_EQ(ReadInteger("2147483647"), 2147483647);
    EXPECT_EQ(ReadInteger("-2147483648"), -2147483648LL);
    EXPECT_FALSE(ReadInteger("2147483648"));
    EXPECT_FALSE(ReadInteger(""));
    EXPECT_FALSE(ReadInteger(" 3"));
    EXPECT_FALSE(ReadInteger("3x"));
    EXPECT_FALSE(ReadInteger("-"));
    EXPECT_EQ(NotAnIntegerMessage(""), "'' is not a valid integer value");
}

// Every sheet of a plan, in the order they are sent.
std::vector<int> Sheets(const SheetPlan& plan) {
    std::vector<int> sheets;
    for (std::int64_t sheet = 0; sheet < plan.Count(); ++sheet) sheets.push_back(plan.PageAt(sheet));
    return sheets;
}

TEST(SheetPlan, CopiesCollationAndParity) {
    PageSelection all;
    all.allPages = true;
    struct Case {
        const char* name;
        int pages, copies;
        bool collate;
        PrintParity parity;
        bool printerCopies;
        std::vector<int> sent;
        int printerMakes;
    };
    const Case cases[] = {
        {"3 collated of 2", 2, 3, true, PrintParity::All, true, {0, 1, 0, 1, 0, 1}, 1},
        {"3 not collated of 2", 2, 3, false, PrintParity::All, false, {0, 0, 0, 1, 1, 1}, 1},
        {"3 not collated, the printer copies", 2, 3, false, PrintParity::All, true, {0, 1}, 3},
        {"copies 0 is 1", 2, 0, true, PrintParity::All, false, {0, 1}, 1},
        {"copies -5 is 1", 2, -5, false, PrintParity::All, false, {0, 1}, 1},
        {"odd of 1", 1, 1, true, PrintParity::Odd, false, {0}, 1},
        {"even of 1", 1, 1, true, PrintParity::Even, false, {}, 1},
        {"odd of 5", 5, 1, true, PrintParity::Odd, false, {0, 2, 4}, 1},
        {"even of 5", 5, 1, true, PrintParity::Even, false, {1, 3}, 1},
        {"even of 5, 2 not collated", 5, 2, false, PrintParity::Even, false, {1, 1, 3, 3}, 1},
        {"no pages", 0, 2, true, PrintParity::All, false, {}, 1},
    };
    for (const Case& c : cases) {
        const SheetPlan plan = PlanSheets(c.pages, all, c.copies, c.collate, c.parity, c.printerCopies);
        EXPECT_EQ(Sheets(plan), c.sent) << c.name;
        EXPECT_EQ(plan.printerCopies, c.printerMakes) << c.name;
    }
    const PageSelection some = std::get<PageSelection>(ParsePageList("2,4-5", 5));
    EXPECT_EQ(Sheets(PlanSheets(5, some, 2, true, PrintParity::All, false)), (std::vector<int>{1, 3, 4, 1, 3, 4}));
    // Two thousand million copies are counted, not listed.
    const SheetPlan many = PlanSheets(3, all, 2000000000, false, PrintParity::All, false);
    EXPECT_EQ(many.Count(), 6000000000LL);
    EXPECT_EQ(many.PageAt(5999999999LL), 2);
    EXPECT_EQ(many.PageAt(1999999999LL), 0);
    EXPECT_EQ(many.PageAt(2000000000LL), 1);
}

TEST(PrintRequestProblem, NumbersCopiesAndPagesThatExist) {
    struct Case {
        const char* pages;
        const char* copies;
        PrintParity parity;
        int pageCount;
        const char* problem;  // nullptr: none
    };
    const char* nothing = kNothingToPrint;
    const Case cases[] = {
        {"", "1", PrintParity::All, 1, nullptr},
        {"", "9999", PrintParity::All, 1, nullptr},
        {"", "10000", PrintParity::All, 1, "At most 9999 copies can be printed at a time."},
        {"", "2000000000", PrintParity::All, 1, "At most 9999 copies can be printed at a time."},
        {"", "x", PrintParity::All, 1, "'x' is not a valid integer value"},
        {"", "1", PrintParity::Even, 1, nothing},
        {"", "1", PrintParity::Even, 2, nullptr},
        {"2", "1", PrintParity::All, 1, nothing},
        {"2147483647", "1", PrintParity::All, 3, nothing},
        {"3-2147483647", "1", PrintParity::All, 3, nullptr},
        {"0-1", "1", PrintParity::All, 3, nullptr},
        {"5-2", "1", PrintParity::All, 9, nothing},
        {"1,,x", "1", PrintParity::All, 1, "'' is not a valid integer value"},
        {"", "1", PrintParity::All, 0, nothing},
    };
    for (const Case& c : cases) {
        const auto problem = PrintRequestProblem({c.pages, c.copies, c.parity, true}, c.pageCount);
        EXPECT_EQ(problem.value_or("none"), c.problem ? c.problem : "none") << c.pages << " " << c.copies;
    }
    const auto largest = std::get<PageSelection>(ParsePageList("2147483647", 3));
    EXPECT_TRUE(largest.numbers.empty()) << "a number beyond the report selects nothing";
}

TEST(PrintTarget, TheWholeSheetOrThePrintableAreaLessTheMargins) {
    PreparedPage page;
    page.Metrics.PhysicalWidth = 5100;
    page.Metrics.PhysicalHeight = 6600;
    page.Metrics.DeviceOffsetX = 25;
    page.Metrics.DeviceOffsetY = 30;
    page.Metrics.PrintableDeviceWidth = 5050;
    page.Metrics.PrintableDeviceHeight = 6540;
    page.Metrics.PrintableWidth = 771;
    page.Metrics.PrintableHeight = 999;
    page.UseMargins = true;
    EXPECT_EQ(PrintTarget(page), (Rect{-25, -30, 5075, 6570})) << "report 0, 0 is the sheet's corner";
    page.UseMargins = false;
    page.LeftMargin = 10;
    page.TopMargin = 20;
    page.RightMargin = 30;
    page.BottomMargin = 40;
    // 10 x 5050 / 771 = 65.5 rounds to 66 (half to even: 65.50...1 is above the half).
    EXPECT_EQ(PrintTarget(page),
              (Rect{RoundHalfEven(10.0 * 5050 / 771), RoundHalfEven(20.0 * 6540 / 999),
                    5050 - RoundHalfEven(30.0 * 5050 / 771), 6540 - RoundHalfEven(40.0 * 6540 / 999)}));
}

// A report of pageCount pages, one template page each, page i holding "Page i".
ReportTemplate Pages(int pageCount) {
    ReportTemplate tpl = test::OnePage(91);
    tpl.Pages.resize(static_cast<std::size_t>(pageCount), tpl.Pages[0]);
    for (int i = 0; i < pageCount; ++i)
        AddMemo(tpl.Pages[static_cast<std::size_t>(i)], "M", 92, 100, {"Page " + std::to_string(i + 1)});
    return tpl;
}

struct Printed {
    explicit Printed(int pageCount, std::vector<FakePrinterDriver::Printer> printers = {{"Office"}})
        : driver(std::move(printers), "Office"), prepared(Pages(pageCount)) {
        prepared.printer.Bind(driver);
        prepared.answerAll = false;
        EXPECT_TRUE(prepared.report.Prepare().IsDone());
        EXPECT_EQ(prepared.Pages(), pageCount);
    }
    RunResult Print(const std::string& pages, const std::string& copies = "1", bool collate = true,
                    PrintParity parity = PrintParity::All, std::optional<std::string> pdf = {}) {
        return PrintPages(prepared.report, PrintRequest{pages, copies, parity, collate}, pdf);
    }
    std::vector<std::string> Sheets(std::size_t job = 0) const {
        return FakePrinterDriver::SheetTexts(*driver.jobs.at(job));
    }
    FakePrinterDriver driver;
    test::PreparedReport prepared;
};

std::vector<std::string> PageTexts(std::initializer_list<int> pages) {
    std::vector<std::string> texts;
    for (int page : pages) texts.push_back("Page " + std::to_string(page));
    return texts;
}

TEST(PrintPages, TheListedPagesInOrder) {
    Printed printed(20);
    ASSERT_TRUE(printed.Print("1,3,5-12").IsDone());
    ASSERT_EQ(printed.driver.jobs.size(), 1u);
    EXPECT_EQ(printed.Sheets(), PageTexts({1, 3, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_TRUE(printed.driver.jobs[0]->ended);
    EXPECT_EQ(printed.driver.jobs[0]->options.title, "Untitled");
    EXPECT_EQ(printed.driver.jobs[0]->printer, "Office");
}

TEST(PrintPages, CopiesCollatedOrNot) {
    Printed collated(2);
    ASSERT_TRUE(collated.Print("", "3", true).IsDone());
    EXPECT_EQ(collated.Sheets(), PageTexts({1, 2, 1, 2, 1, 2}));
    EXPECT_EQ(collated.driver.jobs[0]->options.copies, 1);

    Printed uncollated(2);
    ASSERT_TRUE(uncollated.Print("", "3", false).IsDone());
    EXPECT_EQ(uncollated.Sheets(), PageTexts({1, 1, 1, 2, 2, 2}));

    Printed copier(2, {{"Office", true, true}});
    ASSERT_TRUE(copier.Print("", "3", false).IsDone());
    EXPECT_EQ(copier.Sheets(), PageTexts({1, 2}));
    EXPECT_EQ(copier.driver.jobs[0]->options.copies, 3) << "the printer makes the copies itself";
}

TEST(PrintPages, OddAndEvenPagesAndNothingToPrint) {
    // A job without a sheet would come out as a blank sheet: none is started.
    Printed one(1);
    const RunResult even = one.Print("", "1", true, PrintParity::Even);
    EXPECT_TRUE(even.IsFailed());
    EXPECT_EQ(even.message, kNothingToPrint);
    EXPECT_TRUE(one.driver.jobs.empty());
    EXPECT_EQ(one.Print("7", "1", true, PrintParity::All).message, kNothingToPrint);
    EXPECT_TRUE(one.driver.jobs.empty());
    Printed five(5);
    ASSERT_TRUE(five.Print("", "1", true, PrintParity::Odd).IsDone());
    EXPECT_EQ(five.Sheets(), PageTexts({1, 3, 5}));
}

TEST(PrintPages, AMemoStandsWhereItsReportPositionSays) {
    Printed printed(1);
    ASSERT_TRUE(printed.Print("").IsDone());
    const auto& sheet = *printed.driver.jobs[0]->sheets[0];
    ASSERT_EQ(sheet.texts.size(), 1u);
    // At 600 dpi with an unprintable margin of 25 pixels: the memo's box at 92 units starts
    // 92 / 91.6256157635468 inch from the sheet's left edge, its text 2.5 units further in (the gap
    // of 2 and half the frame width of 1).
    const double boxInches = 92 / kReportUnitsPerInch;
    const double textInches = (92 + 2.5) / kReportUnitsPerInch;
    EXPECT_NEAR(sheet.texts[0].x + 25, textInches * 600, 2.0);
    EXPECT_GT(sheet.texts[0].x + 25, boxInches * 600);
    EXPECT_EQ(sheet.texts[0].font.pointSize, 10) << "memo fonts keep their point size on the printer";
}

TEST(PrintPages, AnotherPaperEndsTheJobAndStartsTheNext) {
    ReportTemplate tpl = test::OnePage(91);
    tpl.Pages.push_back(tpl.Pages[0]);
    tpl.Pages[1].Size = 9;  // A4
    tpl.Pages.push_back(tpl.Pages[1]);
    for (std::size_t i = 0; i < tpl.Pages.size(); ++i)
        AddMemo(tpl.Pages[i], "M", 92, 100, {"Sheet " + std::to_string(i + 1)});
    FakePrinterDriver driver({{"Office"}}, "Office");
    test::PreparedReport prepared(std::move(tpl));
    prepared.printer.Bind(driver);
    for (TfrPage& page : prepared.report.Template.Pages) prepared.printer.ApplyPaperTo(page);
    ASSERT_TRUE(prepared.report.Prepare().IsDone());
    ASSERT_EQ(prepared.Pages(), 3);
    ASSERT_TRUE(PrintPages(prepared.report, PrintRequest{}).IsDone());
    ASSERT_EQ(driver.jobs.size(), 2u);
    EXPECT_EQ(FakePrinterDriver::SheetTexts(*driver.jobs[0]), std::vector<std::string>{"Sheet 1"});
    EXPECT_EQ(driver.jobs[0]->paper.Code, 1);
    EXPECT_EQ(FakePrinterDriver::SheetTexts(*driver.jobs[1]), (std::vector<std::string>{"Sheet 2", "Sheet 3"}));
    EXPECT_EQ(driver.jobs[1]->paper.Code, 9);
    EXPECT_TRUE(driver.jobs[0]->ended && driver.jobs[1]->ended);
}

TEST(PrintPages, ConversionsFailBeforeAnythingIsPrinted) {
    Printed printed(3);
    struct Case {
        const char* pages;
        const char* copies;
        const char* message;
    };
    for (const Case& c :
         {Case{"", "", "'' is not a valid integer value"}, Case{"", "two", "'two' is not a valid integer value"},
          Case{"1,,3", "1", "'' is not a valid integer value"}, Case{"a", "1", "'a' is not a valid integer value"}}) {
        const RunResult result = printed.Print(c.pages, c.copies);
        EXPECT_TRUE(result.IsFailed());
        EXPECT_EQ(result.message, c.message);
    }
    EXPECT_TRUE(printed.driver.jobs.empty());
}

TEST(PrintPages, WithoutAPrinterOnlyAPdfFile) {
    Printed printed(2, {});
    EXPECT_EQ(printed.Print("").message, "No printer is installed.");
    EXPECT_TRUE(printed.driver.jobs.empty());
    ASSERT_TRUE(printed.Print("", "1", true, PrintParity::All, "/tmp/out.pdf").IsDone());
    ASSERT_EQ(printed.driver.jobs.size(), 1u);
    EXPECT_EQ(printed.driver.jobs[0]->options.pdfFile, "/tmp/out.pdf");
    EXPECT_EQ(printed.driver.jobs[0]->paper.Code, 1);
    EXPECT_EQ(printed.Sheets(), PageTexts({1, 2}));
}

TEST(PrintPages, CancelAbortsTheJobAfterTheCurrentPage) {
    Printed printed(10);
    FakeProgress progress;
    progress.CancelAt(2);
    printed.prepared.report.Environment.progress = &progress;
    printed.prepared.report.ShowProgress = true;
    printed.prepared.report.Title = "Mary";
    EXPECT_EQ(printed.Print("").outcome, RunOutcome::Cancelled);
    ASSERT_EQ(printed.driver.jobs.size(), 1u);
    EXPECT_TRUE(printed.driver.jobs[0]->aborted);
    EXPECT_FALSE(printed.driver.jobs[0]->ended);
    EXPECT_LE(printed.driver.jobs[0]->sheets.size(), 3u);
    EXPECT_EQ(printed.driver.jobs[0]->options.title, "Mary");
    EXPECT_EQ(progress.labels.front(), "Printing page:  1");
    EXPECT_EQ(progress.labels[1], "Printing page:  1");
    EXPECT_EQ(progress.labels[2], "Printing page:  2");
}

TEST(PrinterLayer, TheDefaultPrinterIsCurrentAndUnreadableOnesFallBack) {
    FakePrinterDriver driver({{"Laser"}, {"Office Laser"}, {"Broken", false}}, "Office Laser");
    TfrPrinter printer(driver);
    EXPECT_EQ(printer.Printers(), (std::vector<std::string>{"Laser", "Office Laser", "Broken", "Virtual printer"}));
    EXPECT_EQ(printer.CurrentName(), "Office Laser") << "the system's default";
    EXPECT_EQ(printer.FillPageMetrics(), MetricsOf(driver.ReadSettings("Office Laser")->device));
    printer.SelectPrinter(2);
    EXPECT_TRUE(printer.IsVirtual()) << "a printer that cannot be read leaves the virtual printer";
    printer.SelectPrinter(0);
    driver.printers.erase(driver.printers.begin() + 1);
    printer.Rebind();
    EXPECT_EQ(printer.CurrentName(), "Laser") << "the current printer stays when it is still there";
    driver.printers.erase(driver.printers.begin());
    printer.Rebind();
    EXPECT_TRUE(printer.IsVirtual()) << "gone, and the default gone too";

    // Papers the printer does not take become a size of their own.
    FakePrinterDriver limited({{"Letter only", true, false, 300, 10, {1}}}, "Letter only");
    TfrPrinter letter(limited);
    TfrPage page;
    page.Size = 9;
    page.PaperWidth = 2100;
    page.PaperHeight = 2970;
    letter.ApplyPaperTo(page);
    EXPECT_EQ(page.Size, kCustomPaper);
    EXPECT_EQ(page.PaperWidth, 2100);
    EXPECT_EQ(page.Bin, -1);
    EXPECT_EQ(page.Metrics.PhysicalWidth, 2480) << "210 mm at 300 dpi";
    EXPECT_EQ(page.Metrics.PageWidth, TenthsMmToReportUnits(2100) - 1) << "rounded from the device's pixels";
}

TEST(PrinterLayer, NamesAreComparedWithoutCase) {
    FakePrinterDriver driver({{"Office Laser"}, {"\\\\OFFICE\\HP LaserJet 4050"}}, "Office Laser");
    TfrPrinter printer(driver);
    EXPECT_EQ(printer.IndexOf("Office Laser"), 0);
    EXPECT_EQ(printer.IndexOf("office LASER"), 0);
    EXPECT_EQ(printer.IndexOf("\\\\office\\hp laserjet 4050"), 1);
    EXPECT_EQ(printer.IndexOf("Office Laser "), -1) << "nothing is trimmed";
    EXPECT_EQ(printer.IndexOf("virtual printer"), -1) << "the virtual printer is no installed printer";

    ReportTemplate tpl;
    tpl.PrinterName = "\\\\OFFICE\\HP LASERJET 4050";
    printer.SelectNamedPrinter(tpl);
    EXPECT_EQ(printer.PrinterIndex(), 1);
    tpl.PrinterName = std::string(kVirtualPrinterMarker);
    printer.SelectNamedPrinter(tpl);
    EXPECT_TRUE(printer.IsVirtual());
    EXPECT_EQ(printer.CurrentNameForTemplate(), std::string(kVirtualPrinterMarker));
    tpl.PrinterName = "office laser";
    tpl.PrintToDefault = true;
    printer.SelectNamedPrinter(tpl);
    EXPECT_TRUE(printer.IsVirtual()) << "a template printing on the default printer names none";
}

}  // namespace
}  // namespace quillon
