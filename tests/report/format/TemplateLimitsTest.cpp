// Templates that hold more than a template may (pages, objects, lines of a memo, lines and text
// in all) are refused, read or prepared, with what is too large; the bounds themselves load. The
// reader keeps no more than the bounds and counts the rest, so the counts are exact.

#include "report/format/TemplateLimits.h"

#include <functional>
#include <gtest/gtest.h>

#include "report/format/ByteStream.h"
#include "report/format/TemplateRecords.h"
#include "support/PreparedReport.h"

namespace quillon {
namespace {

using test::AddMemo;
using test::OnePage;

constexpr DateTime kNow = 46000.25;

// n memos of lines lines each, on the first page.
ReportTemplate Memos(std::size_t n, std::size_t lines) {
    ReportTemplate tpl = OnePage();
    for (std::size_t i = 0; i < n; ++i)
        AddMemo(tpl.Pages[0], "Memo" + std::to_string(i + 1), 60, 100, std::vector<std::string>(lines, "x"));
    return tpl;
}

// A template whose text is the bound less slack bytes, in lines a stream can hold.
ReportTemplate TextOf(std::size_t slack) {
    ReportTemplate tpl = Memos(1, 0);
    auto& lines = tpl.Pages[0].Objects[0]->Memo;
    std::size_t missing = kMaxTemplateTextBytes - slack - SizeOf(tpl).textBytes;
    for (; missing > 0; missing -= lines.back().size()) lines.emplace_back(std::min<std::size_t>(missing, 60000), 'x');
    return tpl;
}

struct Case {
    const char* name;
    std::function<ReportTemplate()> within, beyond;
    const char* message;  // beyond, after "The template is too large: "
};

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"pages",
         [] {
             ReportTemplate tpl = OnePage();
             tpl.Pages.resize(256);
             return tpl;
         },
         [] {
             ReportTemplate tpl = OnePage();
             tpl.Pages.resize(257);
             return tpl;
         },
         "it has 257 pages, at most 256 are laid out"},
        {"objects", [] { return Memos(10000, 1); },
         [] {
             ReportTemplate tpl = Memos(10000, 1);
             tpl.Pages.emplace_back();
             AddMemo(tpl.Pages[1], "Last", 60, 100, {"x"});
             return tpl;
         },
         "it has 10001 objects, at most 10000 are laid out"},
        {"lines of a memo", [] { return Memos(2, 10000); }, [] { return Memos(2, 10001); },
         "page 1, memo \"Memo1\" holds 10001 lines, at most 10000 are laid out"},
        {"lines of a memo without a name", [] { return Memos(2, 10000); },
         [] {
             ReportTemplate tpl = Memos(2, 10000);
             tpl.Pages[0].Objects[1]->Name.clear();
             tpl.Pages[0].Objects[1]->Memo.push_back("x");
             return tpl;
         },
         "page 1, memo 2 holds 10001 lines, at most 10000 are laid out"},
        {"lines in all, of memos", [] { return Memos(10, 10000); }, [] { return Memos(11, 10000); },
         "its texts hold 110000 lines in all, at most 100000 are laid out"},
        {"lines in all, with scripts and variables",
         [] {
             ReportTemplate tpl = Memos(10, 9999);
             tpl.Pages[0].Script = std::vector<std::string>(5, "x");
             tpl.Pages[0].Objects[0]->Script = std::vector<std::string>(5, "x");
             return tpl;
         },
         [] {
             ReportTemplate tpl = Memos(10, 9999);
             tpl.Pages[0].Script = std::vector<std::string>(5, "x");
             tpl.Pages[0].Objects[0]->Script = std::vector<std::string>(5, "x");
             tpl.Variables.Variables = {{" Group", ""}};
             return tpl;
         },
         "its texts hold 100001 lines in all, at most 100000 are laid out"},
        {"variables in all",
         [] {
             ReportTemplate tpl = OnePage();
             tpl.Variables.FieldAliases.assign(100000, TemplateVariable{"a", "b"});
             return tpl;
         },
         [] {
             ReportTemplate tpl = OnePage();
             tpl.Variables.FieldAliases.assign(100001, TemplateVariable{"a", "b"});
             return tpl;
         },
         "its texts hold 100001 lines in all, at most 100000 are laid out"},
        {"text in all", [] { return TextOf(0); },
         [] {
             ReportTemplate tpl = TextOf(0);
             tpl.Info.Comment = "x";
             return tpl;
         },
         "its texts hold 4194305 bytes in all, at most 4194304 are laid out"},
    };
    return cases;
}

TEST(TemplateLimits, JustWithinLoadsAndJustBeyondIsRefusedWithWhatIsTooLarge) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        const std::string message = std::string(kTooLargeTemplate) + c.message;
        ReportTemplate read;
        const TemplateLoad within = ReadTemplate(WriteTemplate(c.within(), "", kNow), read, kNow);
        EXPECT_TRUE(within.ok) << within.error;
        EXPECT_FALSE(OversizedTemplate(c.within()));

        // Read from a stream: refused as a damaged stream is, leaving one empty page.
        const TemplateLoad beyond = ReadTemplate(WriteTemplate(c.beyond(), "", kNow), read, kNow);
        EXPECT_FALSE(beyond.ok);
        EXPECT_EQ(beyond.error, message);
        ASSERT_EQ(read.Pages.size(), 1u);
        EXPECT_TRUE(read.Pages[0].Objects.empty());

        // Changed in memory: preparation lays nothing out and asks for no value.
        test::PreparedReport prepared(c.beyond());
        prepared.report.EMFPages.Add(TfrPage{});
        const RunResult result = prepared.report.Prepare();
        EXPECT_EQ(result.message, message);
        EXPECT_EQ(prepared.Pages(), 0);
        EXPECT_TRUE(prepared.asked.empty());
    }
}

// The template of 100 memos of 65,535 lines, 26 MB, written record by record so that the test
// never holds its 6.5 million lines.
std::vector<std::uint8_t> HundredLongMemos() {
    ByteWriter out;
    out.U8(25);
    out.Flag(false);
    out.Flag(false);
    out.String("");
    out.U8(255);
    WritePage(out, TfrPage{});
    TfrMemoView memo;
    memo.Memo.assign(65535, "x");
    for (int i = 0; i < 100; ++i) {
        memo.Name = "Memo" + std::to_string(i + 1);
        out.U8(static_cast<std::uint8_t>(ObjectKind::Memo));
        out.U8(0);
        const std::size_t endOffset = out.Position();
        out.U32(0);
        WriteView(out, memo);
        WriteMemo(out, memo);
        out.PatchU32(endOffset, static_cast<std::uint32_t>(out.Position()));
    }
    out.U8(252);
    return out.Release();
}

TEST(TemplateLimits, TheHundredMemosOfSixtyFiveThousandLinesAreRefusedAsTheyAreRead) {
    const std::vector<std::uint8_t> stream = HundredLongMemos();
    EXPECT_GT(stream.size(), 26000000u);
    ReportTemplate read;
    const TemplateLoad load = ReadTemplate(stream, read, kNow);
    EXPECT_FALSE(load.ok);
    EXPECT_EQ(load.error,
              std::string(kTooLargeTemplate) + "page 1, memo \"Memo1\" holds 65535 lines, at most 10000 are laid out");
    EXPECT_EQ(load.bytesRead, stream.size()) << "read to the end, counting";
    ASSERT_EQ(read.Pages.size(), 1u);
    EXPECT_TRUE(read.Pages[0].Objects.empty());
}

}  // namespace
}  // namespace quillon
