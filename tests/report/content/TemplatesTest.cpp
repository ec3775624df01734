#include <gtest/gtest.h>
#include <random>

#include "report/content/TemplateData.h"
#include "report/engine/Report.h"
#include "report/format/TemplateStream.h"

namespace quillon {
namespace {

constexpr DateTime kNow = 46000.25;

struct Expected {
    std::string name;
    ObjectKind kind;
    int left, top, width, height;
    const char* font;  // memos: "Arial 11 bold"; lines: ""
    int alignment;
    std::vector<std::string> lines;
    Colour lineColour = 0;
};

std::string FontText(const TfrMemoView& memo) {
    std::string text = memo.Font.Name + " " + std::to_string(memo.Font.Size);
    if (memo.Font.Style & 2) text += " bold";
    return text;
}

std::vector<std::uint8_t> StreamOf(std::span<const std::uint8_t> form) {
    const auto stream = UnwrapReportForm(form);
    EXPECT_TRUE(stream.has_value());
    return std::vector<std::uint8_t>(stream->begin(), stream->end());
}

std::vector<Expected> DigitMemos(int firstLeft, int top, int height, const char* font, int alignment, bool counts) {
    std::vector<Expected> rows;
    for (int d = 1; d <= 9; ++d) {
        const std::string digit = std::to_string(d);
        std::vector<std::string> lines =
            counts ? std::vector<std::string>{"[V" + digit + "]", "[C" + digit + "]", "[T" + digit + "]"}
                   : std::vector<std::string>{digit};
        rows.push_back({"Memo" + std::to_string((counts ? 31 : 20) + d), ObjectKind::Memo, firstLeft + 28 * (d - 1),
                        top, 22, height, font, alignment, lines});
    }
    return rows;
}

std::vector<Expected> PrintObjects() {
    const auto M = ObjectKind::Memo;
    const auto L = ObjectKind::Line;
    std::vector<Expected> rows = {
        {"PageFooter1", ObjectKind::Band, 0, 872, 779, 42, "", 0, {}},
        {"Memo1", M, 92, 96, 636, 30, "Arial 18", 0, {"[Data]"}},
        {"Memo2", M, 192, 192, 416, 18, "Courier New 12 bold", 0, {"[Data]"}},
        {"Line1", L, 92, 126, 636, 0, "", 0, {}, 0},
        {"Memo3", M, 612, 136, 116, 20, "Arial 12 bold", 0, {"Totals"}},
        {"Memo6", M, 94, 164, 94, 20, "Arial 11 bold", 1, {"Vowels:"}},
        {"Memo7", M, 94, 192, 94, 20, "Arial 11 bold", 1, {"Data:"}},
        {"Memo8", M, 94, 220, 94, 20, "Arial 11 bold", 1, {"Consonants:"}},
        {"Memo9", M, 192, 220, 416, 18, "Courier New 12 bold", 0, {"[Consonants]"}},
        {"Memo10", M, 192, 164, 416, 18, "Courier New 12 bold", 0, {"[Vowels]"}},
        {"Memo11", M, 612, 164, 116, 20, "Arial 11", 0, {"[VTot]"}},
        {"Memo12", M, 612, 192, 116, 20, "Arial 11", 0, {"[Total]"}},
        {"Memo13", M, 612, 220, 116, 20, "Arial 11", 0, {"[CTot]"}},
        {"Memo20", M, 94, 284, 94, 52, "Arial 11 bold", 1, {"Vowels:", "Consonants:", "Totals:"}},
    };
    for (auto& row : DigitMemos(192, 256, 20, "Arial 11 bold", 1, false)) rows.push_back(row);
    rows.push_back({"Memo30", M, 444, 256, 42, 20, "Arial 11 bold", 1, {"Total"}});
    for (auto& row : DigitMemos(192, 284, 52, "Arial 11", 1, true)) rows.push_back(row);
    rows.push_back({"Memo41", M, 456, 284, 22, 52, "Arial 11", 1, {"[vvt]", "[cct]", "[ttt]"}});
    rows.push_back({"Memo42", M, 96, 896, 164, 18, "Arial 8", 0, {"Printed:  [DATE] [TIME]"}});
    rows.push_back({"Memo43", M, 284, 896, 440, 18, "Arial 8", 1, {"[nameftr]"}});
    rows.push_back({"Memo44", M, 92, 392, 54, 20, "Arial 11 bold", 0, {"Notes:"}});
    rows.push_back({"Line2", L, 148, 408, 580, 0, "", 0, {}, 0x808080});
    const char* ruled[] = {"Line3", "Line4",  "Line5",  "Line6",  "Line7", "Line8",
                           "Line9", "Line10", "Line12", "Line13", "Line14"};
    for (int i = 0; i < 11; ++i) rows.push_back({ruled[i], L, 92, 448 + 40 * i, 636, 0, "", 0, {}, 0x808080});
    rows.push_back({"Memo4", M, 92, 136, 300, 20, "Arial 12 bold", 0, {"[Method] System"}});
    rows.push_back({"Memo46", M, 612, 256, 116, 20, "Arial 11", 0, {"[Dates]"}});
    rows.push_back({"Memo49", M, 500, 284, 106, 72, "Arial 11 bold", 1, {"[Cd1Lb]", "[Cd2Lb]", "[Cd3Lb]", "[Cd4Lb]"}});
    rows.push_back(
        {"Memo50", M, 612, 284, 116, 72, "Arial 11", 0, {"[DateTotal]", "[MonthDay]", "[DayTot]", "[NameDate]"}});
    rows.push_back({"Memo51", M, 500, 256, 106, 20, "Arial 11 bold", 1, {"[DatesLb]"}});
    return rows;
}

std::vector<Expected> ExportObjects() {
    const auto M = ObjectKind::Memo;
    std::vector<Expected> rows = {
        {"Memo2", M, 124, 70, 416, 18, "Courier New 12 bold", 0, {"[Data]"}},
        {"Memo3", M, 544, 24, 48, 20, "Arial 12 bold", 0, {"Total"}},
        {"Memo6", M, 29, 52, 94, 20, "Arial 11 bold", 0, {"        Vowels:"}},
        {"Memo7", M, 26, 70, 92, 20, "Arial 11 bold", 0, {"             Data:"}},
        {"Memo8", M, 26, 89, 94, 20, "Arial 11 bold", 0, {"Consonants:"}},
        {"Memo9", M, 124, 89, 416, 18, "Courier New 12 bold", 0, {"[Consonants]"}},
        {"Memo10", M, 124, 52, 416, 18, "Courier New 12 bold", 0, {"[Vowels]"}},
        {"Memo11", M, 544, 52, 116, 20, "Arial 11", 0, {"[VTot]"}},
        {"Memo12", M, 544, 70, 116, 20, "Arial 11", 0, {"[Total]"}},
        {"Memo13", M, 544, 89, 116, 20, "Arial 11", 0, {"[CTot]"}},
        {"Memo20", M, 26, 160, 94, 52, "Arial 11 bold", 0, {"         Vowels:", "Consonants:", "          Totals:"}},
    };
    for (auto& row : DigitMemos(124, 148, 20, "Arial 11 bold", 0, false)) rows.push_back(row);
    rows.push_back({"Memo30", M, 376, 148, 42, 20, "Arial 11 bold", 0, {"Total"}});
    rows.push_back({"Memo31", M, 124, 24, 168, 20, "Arial 12 bold", 8, {"[Method] System"}});
    for (auto& row : DigitMemos(124, 160, 52, "Arial 11", 0, true)) rows.push_back(row);
    rows.push_back({"Memo41", M, 388, 160, 22, 52, "Arial 11", 0, {"[vvt]", "[cct]", "[ttt]"}});
    rows.push_back({"Memo46", M, 140, 249, 116, 20, "Arial 11", 0, {"[Dates]"}});
    rows.push_back({"Memo49", M, 24, 261, 106, 72, "Arial 11 bold", 0, {"[Cd1Lb]", "[Cd2Lb]", "[Cd3Lb]", "[Cd4Lb]"}});
    rows.push_back(
        {"Memo50", M, 140, 261, 116, 72, "Arial 11", 0, {"[DateTotal]", "[MonthDay]", "[DayTot]", "[NameDate]"}});
    rows.push_back({"Memo51", M, 24, 249, 106, 20, "Arial 11 bold", 0, {"[DatesLb]"}});
    return rows;
}

void ExpectObjects(const TfrPage& page, const std::vector<Expected>& expected) {
    ASSERT_EQ(page.Objects.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const TfrView& view = *page.Objects[i];
        const Expected& want = expected[i];
        SCOPED_TRACE(want.name);
        EXPECT_EQ(view.Name, want.name);
        EXPECT_EQ(view.Kind(), want.kind);
        EXPECT_EQ(view.Left, want.left);
        EXPECT_EQ(view.Top, want.top);
        EXPECT_EQ(view.Width, want.width);
        EXPECT_EQ(view.Height, want.height);
        EXPECT_EQ(view.Memo, want.lines);
        EXPECT_TRUE(view.Visible);
        EXPECT_TRUE(view.Script.empty());
        EXPECT_EQ(view.Tag, "");
        EXPECT_EQ(view.RevisionMajor, 2);
        switch (view.Kind()) {
            case ObjectKind::Memo: {
                const auto& memo = static_cast<const TfrMemoView&>(view);
                EXPECT_EQ(FontText(memo), want.font);
                EXPECT_EQ(memo.Alignment, want.alignment);
                EXPECT_EQ(memo.Flags, 3);
                EXPECT_EQ(memo.FrameTyp, 0);
                EXPECT_DOUBLE_EQ(memo.FrameWidth, 1);
                EXPECT_EQ(memo.FrameColor, 0u);
                EXPECT_EQ(memo.FrameStyle, 0);
                EXPECT_EQ(memo.FillColor, kNoColour);
                EXPECT_EQ(memo.Format, 558u);
                EXPECT_EQ(memo.Font.Color, 0u);
                EXPECT_EQ(memo.Font.Charset, 1);
                EXPECT_EQ(memo.GapX, 2);
                EXPECT_EQ(memo.GapY, 1);
                EXPECT_EQ(memo.LineSpacing, 2);
                EXPECT_EQ(memo.CharSpacing, 0);
                EXPECT_EQ(memo.HighlightStyle, 2);
                EXPECT_EQ(memo.HighlightColor, 0u);
                EXPECT_EQ(memo.HighlightFill, 0xFFFFFFu);
                EXPECT_EQ(memo.HighlightCondition, "");
                EXPECT_EQ(memo.RevisionMinor, 0);
                EXPECT_EQ(memo.BandAlign, 0);
                break;
            }
            case ObjectKind::Line:
                EXPECT_EQ(view.FrameTyp, 8);
                EXPECT_DOUBLE_EQ(view.FrameWidth, 2);
                EXPECT_EQ(view.FrameStyle, 0);
                EXPECT_EQ(view.FrameColor, want.lineColour);
                EXPECT_EQ(view.FillColor, 0xFFFFFFu);
                EXPECT_EQ(view.Flags, 1);
                break;
            case ObjectKind::Band: {
                const auto& band = static_cast<const TfrBandView&>(view);
                EXPECT_EQ(band.Type(), 3);
                EXPECT_EQ(band.Flags, 48);
                EXPECT_EQ(band.FillColor, kNoColour);
                EXPECT_EQ(band.Format, 0u);
                EXPECT_EQ(band.FormatString, "");
                EXPECT_EQ(band.ChildBand, "");
                EXPECT_EQ(band.Master, "");
                EXPECT_EQ(band.Columns, 1);
                EXPECT_EQ(band.ColumnWidth, 200);
                EXPECT_EQ(band.ColumnGap, 20);
                EXPECT_EQ(band.NewColumnAfter, 1);
                EXPECT_EQ(band.RevisionMinor, 1);
                break;
            }
            case ObjectKind::Picture:
            case ObjectKind::SubReport:
            case ObjectKind::AddIn: ADD_FAILURE() << "no such object in the templates"; break;
        }
    }
}

std::vector<std::string> VariableNames(const char* last) {
    std::vector<std::string> names = {" Category1", "Data", "Method", "Vowels", "Consonants", "CTot", "VTot", "Total"};
    for (int d = 1; d <= 9; ++d) {
        for (const char* row : {"V", "C", "T"}) names.push_back(row + std::to_string(d));
    }
    for (const char* name : {"vvt", "cct", "ttt", "nameftr", "master", " Category2", "Dates", "DateTotal", "MonthDay",
                             "DayTot", "NameDate", "DatesLb", "Cd1Lb", "Cd2Lb", "Cd3Lb"}) {
        names.push_back(name);
    }
    names.push_back(last);
    return names;
}

struct Carried {
    const char* name;
    std::span<const std::uint8_t> form;
    std::array<int, 4> margins;
    std::vector<Expected> objects;
    const char* lastVariable;
};

std::vector<Carried> BothTemplates() {
    return {{"print", PrintReportForm(), {91, 91, 47, 91}, PrintObjects(), "Cd4lb"},
            {"export", ExportReportForm(), {0, 0, 0, 0}, ExportObjects(), "Cd4Lb"}};
}

TEST(CarriedTemplates, ReadWithEveryByteConsumed) {
    for (const Carried& carried : BothTemplates()) {
        SCOPED_TRACE(carried.name);
        const auto stream = StreamOf(carried.form);
        EXPECT_EQ(carried.form.size(), stream.size() + 8);
        ReportTemplate report;
        const TemplateLoad load = ReadTemplate(stream, report, kNow);
        ASSERT_TRUE(load.ok);
        EXPECT_EQ(load.bytesRead, stream.size());
        EXPECT_EQ(load.objectEnds.size(), carried.objects.size());
        for (const ObjectRecordEnd& end : load.objectEnds) EXPECT_EQ(end.consumedTo, end.endOffset);
    }
}

TEST(CarriedTemplates, MatchTheirLayouts) {
    for (const Carried& carried : BothTemplates()) {
        SCOPED_TRACE(carried.name);
        TfrPrinter printer;
        TfrReport loaded(printer, kPrintReportName);
        ASSERT_TRUE(loaded.LoadTemplate(StreamOf(carried.form), kNow).IsDone());
        const ReportTemplate& report = loaded.Template;
        EXPECT_FALSE(report.PrintToDefault);
        EXPECT_FALSE(report.DoublePassReport);
        EXPECT_EQ(report.PrinterName.size(), 25u);
        EXPECT_EQ(printer.PrinterIndex(), printer.VirtualPrinterIndex()) << "no installed printer bears that name";
        ASSERT_EQ(report.Pages.size(), 1u);
        const TfrPage& page = report.Pages[0];
        EXPECT_EQ(page.Type, 0);
        EXPECT_EQ(page.Name, "");
        EXPECT_TRUE(page.Script.empty());
        EXPECT_EQ(page.Size, 1);
        EXPECT_EQ(page.PaperWidth, 2159);
        EXPECT_EQ(page.PaperHeight, 2794);
        EXPECT_EQ(page.Orientation, 0);
        EXPECT_EQ(page.Bin, 65535);
        EXPECT_FALSE(page.PrintToPrevPage);
        EXPECT_TRUE(page.UseMargins);
        EXPECT_EQ(page.Columns, 0);
        EXPECT_EQ(page.ColumnGap, 0);
        EXPECT_EQ((std::array<int, 4>{page.LeftMargin, page.TopMargin, page.RightMargin, page.BottomMargin}),
                  carried.margins);
        EXPECT_EQ(page.BorderStyle, 3);
        EXPECT_EQ(page.Caption, "Form");
        EXPECT_EQ(page.Color, 0x8000000Fu);
        EXPECT_EQ((std::array<int, 4>{page.FormLeft, page.FormTop, page.FormWidth, page.FormHeight}),
                  (std::array<int, 4>{220, 120, 380, 300}));
        EXPECT_EQ(page.Position, 4);
        EXPECT_EQ(page.Metrics.PageWidth, 779);
        EXPECT_EQ(page.Metrics.PageHeight, 1008);
        ExpectObjects(page, carried.objects);

        std::vector<std::string> names;
        for (const TemplateVariable& variable : report.Variables.Variables) {
            names.push_back(variable.Name);
            EXPECT_EQ(variable.Value, "");
        }
        EXPECT_EQ(names, VariableNames(carried.lastVariable));
        EXPECT_NE(report.Variables.Find("Cd4Lb"), nullptr) << "either spelling covers [Cd4Lb]";
        EXPECT_TRUE(report.Variables.FieldAliases.empty());
        EXPECT_TRUE(report.Variables.BandDataSources.empty());

        const ReportInfo& info = report.Info;
        for (const std::string* text : {&info.Comment, &info.Name, &info.Author, &info.VersionMajor, &info.VersionMinor,
                                        &info.VersionRelease, &info.VersionBuild, &info.Password}) {
            EXPECT_EQ(*text, "");
        }
        EXPECT_EQ(info.Protection, 0);
        EXPECT_DOUBLE_EQ(info.Created, ToDateTime(2004, 12, 22, 15, 47, 52));
        EXPECT_DOUBLE_EQ(info.LastChange, ToDateTime(2010, 2, 23, 13, 56, 36));
    }
}

TEST(CarriedTemplates, SaveLoadSaveIsStableButForTheLastChange) {
    for (const Carried& carried : BothTemplates()) {
        SCOPED_TRACE(carried.name);
        TfrPrinter printer;
        TfrReport report(printer, kPrintReportName);
        ASSERT_TRUE(report.LoadTemplate(StreamOf(carried.form), kNow).IsDone());
        const auto first = report.SaveTemplate(kNow + 1);
        ASSERT_TRUE(report.LoadTemplate(first, kNow).IsDone());
        const auto second = report.SaveTemplate(kNow + 2);
        ASSERT_EQ(first.size(), second.size());
        EXPECT_TRUE(std::equal(first.begin(), first.end() - 8, second.begin())) << "only the last-change time differs";
        EXPECT_NE(std::vector<std::uint8_t>(first.end() - 8, first.end()),
                  std::vector<std::uint8_t>(second.end() - 8, second.end()));
        // The virtual printer is saved as its marker.
        EXPECT_EQ(std::vector<std::uint8_t>(first.begin() + 5, first.begin() + 9),
                  (std::vector<std::uint8_t>{1, 0, 1, 0}));

        // Written with the template's own printer name and change time, the carried stream returns.
        ReportTemplate read;
        ASSERT_TRUE(ReadTemplate(StreamOf(carried.form), read, kNow).ok);
        EXPECT_EQ(WriteTemplate(read, read.PrinterName, read.Info.LastChange), StreamOf(carried.form));
    }
}

TEST(DamagedTemplates, EveryPrefixIsReadSafely) {
    for (const Carried& carried : BothTemplates()) {
        const auto stream = StreamOf(carried.form);
        for (std::size_t length = 0; length <= stream.size(); ++length) {
            ReportTemplate report;
            const TemplateLoad load = ReadTemplate(std::span(stream).first(length), report, kNow);
            ASSERT_LE(load.bytesRead, length);
            // A stream that ends between records is complete as far as it goes; one that ends
            // inside a record outside any object is refused and leaves one empty page.
            if (!load.ok) {
                ASSERT_EQ(report.Pages.size(), 1u) << length;
            }
        }
    }
}

TEST(DamagedTemplates, RandomByteFlipsAreReadSafely) {
    std::mt19937 random(20261207);
    for (const Carried& carried : BothTemplates()) {
        const auto original = StreamOf(carried.form);
        for (int round = 0; round < 3000; ++round) {
            auto stream = original;
            const int flips = 1 + static_cast<int>(random() % 8);
            for (int f = 0; f < flips; ++f) {
                stream[random() % stream.size()] = static_cast<std::uint8_t>(random());
            }
            ReportTemplate report;
            const TemplateLoad load = ReadTemplate(stream, report, kNow);
            ASSERT_LE(load.bytesRead, stream.size());
            if (!load.ok && stream[0] <= kStreamVersion) {
                ASSERT_EQ(report.Pages.size(), 1u) << "cleared to one empty page";
            }
        }
    }
}

}  // namespace
}  // namespace quillon
