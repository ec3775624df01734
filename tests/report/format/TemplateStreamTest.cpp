#include "report/format/TemplateStream.h"

#include <gtest/gtest.h>

#include "report/engine/Report.h"
#include "support/StreamBytes.h"

namespace quillon {
namespace {

using test::StreamBytes;
constexpr DateTime kNow = 46000.5;

// The header of a version-25 stream on the virtual printer.
StreamBytes Header() {
    StreamBytes s;
    s.u8(25).u16(0).u16(0).str("\x01");
    return s;
}

// A current-layout page record of Letter paper with the defaults of a new page.
void AppendPage(StreamBytes& s, std::int32_t marker = -1) {
    s.u8(255).i32(marker);
    if (marker == -1) s.i32(1);
    s.i32(2159).i32(2794);
    s.i32(10).i32(20).i32(30).i32(40);  // margins
    s.u8(0).i32(65535).u16(0).u16(0xFFFF).i32(0).i32(0).u8(0).str("Page1");
    s.u8(0).str("Form").i32(static_cast<std::int32_t>(0x8000000F)).i32(220).i32(120).i32(380).i32(300).u8(1);
    if (marker == -1) s.u16(0).u8(0);  // empty script
}

// A line object record on page 0 with the given stored frame width; returns where it starts.
std::size_t AppendLine(StreamBytes& s, const std::string& name, std::int32_t storedFrameWidth) {
    const std::size_t start = s.size();
    s.u8(4).u8(0);
    const std::size_t endAt = s.size();
    s.i32(0);
    s.str(name).u8(2).u8(0).i32(92).i32(126).i32(636).i32(0).u16(1).u16(8).i32(storedFrameWidth);
    s.i32(0).u16(0).i32(0xFFFFFF).i32(558).str("");
    s.u16(0).u8(0).u16(0).u8(0);  // memo and script: empty line lists
    s.u16(0xFFFF).u16(0).str("").i32(2).i32(1).u8(0);
    s.patch32(endAt, static_cast<std::uint32_t>(s.size()));
    return start;
}

void AppendEnd(StreamBytes& s) {
    s.u8(254).u16(0xFFFE).i32(0).i32(0).i32(0);
    s.u8(252);
    for (int i = 0; i < 8; ++i) s.shortStr("");
    s.u8(88).u8(0).f64zero().f64zero();
}

// Reads a stream and lets the virtual printer settle the pages' paper, as a report's loading does.
TemplateLoad Load(const StreamBytes& s, ReportTemplate& report) {
    const TemplateLoad load = ReadTemplate(s.bytes, report, kNow);
    TfrPrinter printer;
    for (TfrPage& page : report.Pages) printer.ApplyPaperTo(page);
    return load;
}

TEST(FrameWidth, StoredValuesUpToTenAreWholeWidths) {
    StreamBytes s = Header();
    AppendPage(s);
    AppendLine(s, "Fractional", 1500);
    AppendLine(s, "Whole", 2);
    AppendLine(s, "Zero", 0);
    AppendLine(s, "Ten", 10);
    AppendLine(s, "Eleven", 11);
    AppendEnd(s);
    ReportTemplate report;
    ASSERT_TRUE(Load(s, report).ok);
    const auto& objects = report.Pages.at(0).Objects;
    ASSERT_EQ(objects.size(), 5u);
    EXPECT_DOUBLE_EQ(objects[0]->FrameWidth, 1.5);
    EXPECT_DOUBLE_EQ(objects[1]->FrameWidth, 2.0);
    EXPECT_DOUBLE_EQ(objects[2]->FrameWidth, 0.0);
    EXPECT_DOUBLE_EQ(objects[3]->FrameWidth, 10.0) << "10 is still a whole width";
    EXPECT_DOUBLE_EQ(objects[4]->FrameWidth, 0.011) << "above 10 the value is in thousandths";

    // Written back: whole widths as they are, fractional ones times 1000.
    const auto written = WriteTemplate(report, "\x01", kNow);
    ReportTemplate again;
    ASSERT_TRUE(ReadTemplate(written, again, kNow).ok);
    EXPECT_DOUBLE_EQ(again.Pages[0].Objects[0]->FrameWidth, 1.5);
    EXPECT_DOUBLE_EQ(again.Pages[0].Objects[1]->FrameWidth, 2.0);
}

TEST(PageRecord, OlderLayoutHasNoSizeFieldAndNoScript) {
    StreamBytes s = Header();
    AppendPage(s, 9);  // the marker is the paper code itself: A4
    AppendEnd(s);
    ReportTemplate report;
    const TemplateLoad load = Load(s, report);
    ASSERT_TRUE(load.ok);
    EXPECT_EQ(load.bytesRead, s.size()) << "every byte consumed, no script read";
    ASSERT_EQ(report.Pages.size(), 1u);
    const TfrPage& page = report.Pages[0];
    EXPECT_EQ(page.Size, 9);
    EXPECT_EQ(page.PaperWidth, 2100) << "the printer layer settles A4's size";
    EXPECT_EQ(page.PaperHeight, 2970);
    EXPECT_TRUE(page.Script.empty());
    EXPECT_EQ(page.Name, "Page1");
    EXPECT_EQ(page.BorderStyle, 3) << "stored 0 is the dialog border";
    EXPECT_EQ(page.Position, 4) << "any stored position but 0 is centred";
    EXPECT_EQ(page.LeftMargin, 10);
    EXPECT_EQ(page.BottomMargin, 40);
    EXPECT_FALSE(page.PrintToPrevPage);
    EXPECT_TRUE(page.UseMargins);
}

TEST(Versions, AboveTwentyFiveIsRefusedAndThePagesStay) {
    TfrPrinter printer;
    TfrReport report(printer, "frReport1");
    report.Template.Pages.emplace_back();
    report.Template.Pages.emplace_back();
    report.Template.Variables.Variables.push_back({"Data", ""});
    const std::vector<std::uint8_t> stream = {26, 0, 0, 0, 0};
    const RunResult refused = report.LoadTemplate(stream, kNow);
    EXPECT_TRUE(refused.IsFailed());
    EXPECT_EQ(refused.message, "Unsupported FRF format");
    EXPECT_EQ(report.Template.Pages.size(), 2u);
    EXPECT_TRUE(report.Template.Variables.Variables.empty());

    EXPECT_TRUE(report.LoadTemplate({}, kNow).IsDone()) << "an empty stream changes nothing";
    EXPECT_EQ(report.Template.Pages.size(), 2u);
}

TEST(Versions, BelowTwentyOneTheFirstByteBelongsToTheStream) {
    // No version byte: the stream starts with the print-to-default flag word.
    StreamBytes s;
    s.u16(0).u16(0).str("\x01");
    AppendPage(s);
    AppendEnd(s);
    ReportTemplate report;
    ASSERT_TRUE(Load(s, report).ok);
    EXPECT_EQ(report.Pages.size(), 1u);
}

TEST(Versions, TwentyOneToTwentyFiveAreReadWithTheirVersionByte) {
    for (std::uint8_t version : {21, 24, 25}) {
        StreamBytes s;
        s.u8(version).u16(0).u16(0xFFFF).str("\x01");
        AppendPage(s);
        AppendLine(s, "Line1", 2);
        AppendEnd(s);
        ReportTemplate report;
        const TemplateLoad load = Load(s, report);
        ASSERT_TRUE(load.ok) << int{version};
        EXPECT_TRUE(report.DoublePassReport) << "the flag words follow the version byte";
        EXPECT_EQ(report.PrinterName, "\x01");
        ASSERT_EQ(report.Pages.size(), 1u);
        EXPECT_EQ(report.Pages[0].Objects.size(), 1u);
        EXPECT_EQ(load.bytesRead, s.size());
    }
}

TEST(RecordTags, ElevenToTwoFiftyOneClearToOneEmptyPage) {
    for (int tag : {11, 100, 251}) {
        StreamBytes s = Header();
        AppendPage(s);
        AppendLine(s, "Line1", 2);
        s.u8(static_cast<std::uint8_t>(tag));
        AppendEnd(s);
        TfrPrinter printer;
        TfrReport report(printer, "frReport1");
        EXPECT_EQ(report.LoadTemplate(s.bytes, kNow).message, "Unsupported FRF format") << tag;
        ASSERT_EQ(report.Template.Pages.size(), 1u);
        EXPECT_TRUE(report.Template.Pages[0].Objects.empty());
        EXPECT_EQ(report.Template.Pages[0].Metrics.PageWidth, 779);
    }
}

TEST(ObjectRecords, ABrokenRecordIsSkippedThroughItsEndOffset) {
    StreamBytes s = Header();
    AppendPage(s);
    AppendLine(s, "Before", 2);
    // A memo record whose view part stops short of its end offset: its string claims more bytes
    // than the record has, but the record's end offset still says where the next one starts.
    s.u8(0).u8(0);
    const std::size_t endAt = s.size();
    s.i32(0);
    s.u16(200).u8('x').u8('y');
    s.patch32(endAt, static_cast<std::uint32_t>(s.size()));
    AppendLine(s, "After", 2);
    // An object on a page that does not exist is skipped too.
    s.u8(4).u8(7);
    const std::size_t orphanEnd = s.size();
    s.i32(0).u8(1).u8(2).u8(3);
    s.patch32(orphanEnd, static_cast<std::uint32_t>(s.size()));
    AppendEnd(s);

    ReportTemplate report;
    const TemplateLoad load = Load(s, report);
    ASSERT_TRUE(load.ok);
    ASSERT_EQ(report.Pages[0].Objects.size(), 2u);
    EXPECT_EQ(report.Pages[0].Objects[0]->Name, "Before");
    EXPECT_EQ(report.Pages[0].Objects[1]->Name, "After");
    EXPECT_EQ(load.bytesRead, s.size());
}

// A band record of the given revision; revision 2.1 and later store the Master field.
void AppendBand(StreamBytes& s, std::uint8_t minor, bool withMaster) {
    s.u8(2).u8(0);
    const std::size_t endAt = s.size();
    s.i32(0);
    s.str("PageFooter1").u8(2).u8(minor).i32(0).i32(872).i32(779).i32(42).u16(48).u16(3).i32(1);
    s.i32(0).u16(0).i32(0x1FFFFFFF).i32(0).str("");
    s.u16(0).u8(0).u16(0).u8(0);
    s.u16(0xFFFF).u16(0).str("").i32(2).i32(1).u8(0);
    s.str("Child1").i32(1).i32(200).i32(20).i32(1);
    if (withMaster) s.str("Master1");
    s.patch32(endAt, static_cast<std::uint32_t>(s.size()));
}

TEST(ObjectRecords, ABandStoresItsMasterFromRevisionTwoPointOneOn) {
    struct Case {
        std::uint8_t minor;
        bool withMaster;
    };
    for (const Case& c : {Case{0, false}, Case{1, true}, Case{2, true}}) {
        StreamBytes s = Header();
        AppendPage(s);
        AppendBand(s, c.minor, c.withMaster);
        AppendEnd(s);
        ReportTemplate report;
        const TemplateLoad load = Load(s, report);
        ASSERT_TRUE(load.ok);
        ASSERT_EQ(report.Pages[0].Objects.size(), 1u) << int{c.minor};
        const auto& band = static_cast<const TfrBandView&>(*report.Pages[0].Objects[0]);
        EXPECT_EQ(band.ChildBand, "Child1");
        EXPECT_EQ(band.Master, c.withMaster ? "Master1" : "");
        ASSERT_EQ(load.objectEnds.size(), 1u);
        EXPECT_EQ(load.objectEnds[0].consumedTo, load.objectEnds[0].endOffset)
            << "the record read to its end, no further";
    }
}

TEST(ObjectRecords, AnEndOffsetBackwardsOrPastTheEndIsAnError) {
    for (std::uint32_t bad : {0u, 5u, 1000000u}) {
        StreamBytes s = Header();
        AppendPage(s);
        const std::size_t start = AppendLine(s, "Line1", 2);
        s.patch32(start + 2, bad);
        AppendEnd(s);
        ReportTemplate report;
        EXPECT_FALSE(Load(s, report).ok) << bad;
        EXPECT_EQ(report.Pages.size(), 1u);
    }
}

TEST(VariableList, OlderConventionAndHostileCounts) {
    StreamBytes s = Header();
    AppendPage(s);
    s.u8(254).u16(0xFFFF).i32(3).str("Category1").str("").str(" Data").str("").str(" Method").str("1 + 2");
    s.i32(0).i32(0);
    s.u8(252);
    ReportTemplate report;
    const TemplateLoad load = Load(s, report);
    ASSERT_TRUE(load.ok);
    const auto& variables = report.Variables.Variables;
    ASSERT_EQ(variables.size(), 3u);
    EXPECT_EQ(variables[0].Name, " Category1");
    EXPECT_EQ(variables[1].Name, "Data");
    EXPECT_EQ(variables[2].Name, "Method");
    ASSERT_NE(report.Variables.Find("METHOD"), nullptr);
    EXPECT_EQ(report.Variables.Find("method")->Value, "1 + 2");
    EXPECT_EQ(report.Variables.Find("Category1"), nullptr) << "a heading is not a variable";
    // The stream ended right after the sequence: the information is reset to now.
    EXPECT_DOUBLE_EQ(report.Info.Created, kNow);
    EXPECT_DOUBLE_EQ(report.Info.LastChange, kNow);

    for (std::int32_t count : {-1, 1000000, 0x7FFFFFFF}) {
        StreamBytes hostile = Header();
        AppendPage(hostile);
        hostile.u8(254).u16(0xFFFE).i32(count).str("a").str("");
        ReportTemplate target;
        EXPECT_FALSE(Load(hostile, target).ok) << count;
    }
}

TEST(InformationBlock, PasswordInEitherCaseAndTheMarkerByte) {
    // After the end tag, or after the data manager's tag and its byte.
    using Bytes = std::vector<std::uint8_t>;
    for (const Bytes& before : {Bytes{252}, Bytes{253, 7}}) {
        StreamBytes s = Header();
        AppendPage(s);
        for (std::uint8_t byte : before) s.u8(byte);
        s.shortStr("A comment").shortStr("Name").shortStr("Author").shortStr("1").shortStr("2").shortStr("3");
        s.shortStr("4").shortStr("4a6B").u8(88).u8(1).f64zero().f64zero();
        ReportTemplate report;
        const TemplateLoad load = Load(s, report);
        ASSERT_TRUE(load.ok) << before.size();
        EXPECT_EQ(load.bytesRead, s.size());
        EXPECT_EQ(report.Info.Comment, "A comment");
        EXPECT_EQ(report.Info.Author, "Author");
        EXPECT_EQ(report.Info.VersionBuild, "4");
        EXPECT_EQ(report.Info.Password, "Jk");
        EXPECT_EQ(report.Info.Protection, 1);

        const auto written = WriteTemplate(report, "\x01", kNow);
        // Hex digits upper-case, then 88, the flag and the two dates.
        const std::vector<std::uint8_t> tail(written.end() - 24, written.end() - 16);
        EXPECT_EQ(tail, (std::vector<std::uint8_t>{4, 0, '4', 'A', '6', 'B', 88, 1}));
    }

    StreamBytes odd = Header();
    AppendPage(odd);
    odd.u8(252);
    for (int i = 0; i < 7; ++i) odd.shortStr("");
    odd.shortStr("ABC").u8(88).u8(0).f64zero().f64zero();
    ReportTemplate broken;
    EXPECT_FALSE(Load(odd, broken).ok);
}

TEST(PropertyWrapper, LengthAndStream) {
    const std::vector<std::uint8_t> stream = {25, 1, 2, 3};
    const auto form = WrapReportForm(stream);
    EXPECT_EQ(form, (std::vector<std::uint8_t>{25, 0, 0, 0, 4, 0, 0, 0, 25, 1, 2, 3}));
    const auto inside = UnwrapReportForm(form);
    ASSERT_TRUE(inside.has_value());
    EXPECT_EQ(std::vector<std::uint8_t>(inside->begin(), inside->end()), stream);
    const std::vector<std::uint8_t> lying = {25, 0, 0, 0, 9, 0, 0, 0, 25};
    EXPECT_FALSE(UnwrapReportForm(lying).has_value());
    EXPECT_FALSE(UnwrapReportForm(std::vector<std::uint8_t>{25, 0}).has_value());
}

}  // namespace
}  // namespace quillon
