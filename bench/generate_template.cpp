// Writes large report templates to standard output, for measuring what preparing, exporting and
// printing them costs: generate_template CASE [BYTES]. The cases above the line fill up to BYTES
// of stream (64 MiB, the most a template file may have, when not given) with one kind of bulk,
// and are refused as too large; those below it hold as much as a template may, and lay out as
// much as a preparation may.

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "report/format/TemplateStream.h"

namespace {

using namespace quillon;

// Bytes a line of n characters takes in a memo's line list: length, text, separator.
constexpr std::size_t LineBytes(std::size_t n) { return 2 + n + 1; }

struct Builder {
    ReportTemplate report;
    TfrPage* page = nullptr;

    Builder() {
        report.Pages.emplace_back();
        page = &report.Pages.back();
        page->LeftMargin = page->TopMargin = page->RightMargin = page->BottomMargin = 50;
    }
    void Band(BandType type, int top, int height, bool stretched) {
        auto band = std::make_unique<TfrBandView>();
        band->Name = "Band" + std::to_string(page->Objects.size());
        band->FrameTyp = static_cast<std::uint16_t>(type);
        band->Top = top;
        band->Height = height;
        band->Width = 700;
        band->Flags = stretched ? kBandStretched : 0;
        page->Objects.push_back(std::move(band));
    }
    TfrMemoView& Memo(int left, int top, int width, int height) {
        auto memo = std::make_unique<TfrMemoView>();
        memo->Name = "Memo" + std::to_string(page->Objects.size());
        memo->Left = left;
        memo->Top = top;
        memo->Width = width;
        memo->Height = height;
        auto& made = *memo;
        page->Objects.push_back(std::move(memo));
        return made;
    }
};

// count memos of lines lines of text each, in a title band (stretched or not).
ReportTemplate ManyLines(std::size_t memos, std::size_t lines, const std::string& text, bool stretched,
                         int width = 55) {
    Builder b;
    b.Band(BandType::ReportTitle, 100, 20, stretched);
    for (std::size_t i = 0; i < memos; ++i) {
        TfrMemoView& memo = b.Memo(60 + static_cast<int>(i % 10) * 60, 100, width, 20);
        memo.Memo.assign(lines, text);
    }
    return std::move(b.report);
}

// Words of n letters with a blank after each, up to bytes.
std::string Words(std::size_t n, std::size_t bytes) {
    std::string line;
    const std::string word = std::string(n, 'x') + ' ';
    while (line.size() + word.size() <= bytes) line += word;
    return line;
}

// The most text the bounds let one memo hold, as lines of words of n letters.
void FillMemo(TfrMemoView& memo, std::size_t n, std::size_t bytes) {
    const std::string line = Words(n, 1000);
    memo.Memo.assign(bytes / line.size(), line);
}

std::map<std::string, std::function<ReportTemplate(std::size_t)>> Cases() {
    return {
        // 100 memos of 65,535 one-character lines (26 MB), on one page and split over pages.
        {"lines100", [](std::size_t) { return ManyLines(100, 65535, "x", false); }},
        {"lines100-split", [](std::size_t) { return ManyLines(100, 65535, "x", true); }},
        // One memo of as many empty lines as the bytes hold.
        {"empty-lines", [](std::size_t bytes) { return ManyLines(1, bytes / LineBytes(0), "", false); }},
        {"empty-lines-split", [](std::size_t bytes) { return ManyLines(1, bytes / LineBytes(0), "", true); }},
        // Lines of 65,535 characters in narrow memos that wrap them a word a line.
        {"long-lines",
         [](std::size_t bytes) {
             std::string line;
             while (line.size() + 2 <= 65535) line += "x ";
             return ManyLines(16, bytes / 16 / LineBytes(line.size()), line, false);
         }},
        {"long-lines-split",
         [](std::size_t bytes) {
             std::string line;
             while (line.size() + 2 <= 65535) line += "x ";
             return ManyLines(16, bytes / 16 / LineBytes(line.size()), line, true);
         }},
        // Lines of characters that take three bytes in UTF-8 (the euro sign is one byte in the stream).
        {"ansi-lines",
         [](std::size_t bytes) {
             std::string euros;
             for (std::size_t i = 0; i < 65535; ++i) euros += "\xE2\x82\xAC";
             return ManyLines(16, bytes / 16 / LineBytes(65535), euros, false);
         }},
        // A memo of 1 MB and memos whose every line is the whole of it.
        {"memo-references",
         [](std::size_t bytes) {
             Builder b;
             b.Band(BandType::ReportTitle, 100, 20, false);
             TfrMemoView& source = b.Memo(60, 100, 55, 20);
             source.Memo.assign(1 << 14, std::string(61, 'x'));
             TfrMemoView& copies = b.Memo(160, 100, 55, 20);
             const std::string reference = "[" + source.Name + ".Memo]";
             copies.Memo.assign((bytes - (1 << 20)) / LineBytes(reference.size()), reference);
             return std::move(b.report);
         }},
        // Lines of line breaks.
        {"crlf",
         [](std::size_t bytes) {
             std::string line;
             while (line.size() + 6 <= 65535) line += "[CRLF]";
             return ManyLines(1, bytes / LineBytes(line.size()), line, false);
         }},
        // A page header on every page of a tall split band.
        {"header-pages",
         [](std::size_t) {
             Builder b;
             b.Band(BandType::PageHeader, 60, 30, false);
             TfrMemoView& header = b.Memo(60, 60, 600, 30);
             header.Memo.assign(1000, std::string(200, 'h'));
             b.Band(BandType::ReportTitle, 100, 20, true);
             TfrMemoView& body = b.Memo(60, 100, 600, 20);
             body.Memo.assign(6000000, "");
             return std::move(b.report);
         }},
        // As many small memos as the bytes hold, on one page.
        {"objects",
         [](std::size_t bytes) {
             Builder b;
             const std::size_t perMemo = WriteTemplate(ManyLines(1, 1, "x", false), "", 0).size() -
                                         WriteTemplate(ManyLines(0, 1, "x", false), "", 0).size();
             for (std::size_t i = 0; i < bytes / (perMemo + 6); ++i) b.Memo(60, 100, 55, 20).Memo = {"x"};
             return std::move(b.report);
         }},
        // Variables each twice the one before, 40 deep.
        {"doubling",
         [](std::size_t) {
             Builder b;
             b.Band(BandType::ReportTitle, 100, 20, false);
             b.Memo(60, 100, 55, 20).Memo = {"[V40]"};
             // A list starts with a category heading, whose name begins with a blank.
             b.report.Variables.Variables.push_back({" Doubling", ""});
             b.report.Variables.Variables.push_back({"V0", "'xxxxxxxxxxxxxxxx'"});
             for (int i = 1; i <= 40; ++i) {
                 const std::string before = "V" + std::to_string(i - 1);
                 b.report.Variables.Variables.push_back({"V" + std::to_string(i), before + "+" + before});
             }
             return std::move(b.report);
         }},
        // ---- Within the bounds of a template.
        // Ten memos of 10,000 lines split over pages: the most lines a template may hold.
        {"max-lines", [](std::size_t) { return ManyLines(10, 10000, "x", true); }},
        // Four memos of a megabyte of four-letter words, wrapped a word a line when exported and
        // printed; and the same in a stretched band, split over pages a word a line.
        {"max-text",
         [](std::size_t) {
             ReportTemplate t = ManyLines(4, 0, "", false);
             for (auto& object : t.Pages[0].Objects) {
                 if (object->Kind() == ObjectKind::Memo)
                     FillMemo(static_cast<TfrMemoView&>(*object), 4, (1 << 20) - 2000);
             }
             return t;
         }},
        {"max-text-split",
         [](std::size_t) {
             ReportTemplate t = ManyLines(4, 0, "", true);
             for (auto& object : t.Pages[0].Objects) {
                 if (object->Kind() == ObjectKind::Memo)
                     FillMemo(static_cast<TfrMemoView&>(*object), 4, (1 << 20) - 2000);
             }
             return t;
         }},
        // Lines of 65,535 letters without a blank in memos wide enough for half of one: each
        // line is measured a letter at a time to find where it breaks.
        {"max-unbroken",
         [](std::size_t) { return ManyLines(4, (1 << 20) / 65535 - 1, std::string(65535, 'x'), false, 2000); }},
        // A memo of a megabyte, and fifteen memos that are the whole of it.
        {"max-references",
         [](std::size_t) {
             Builder b;
             b.Band(BandType::ReportTitle, 100, 20, false);
             TfrMemoView& source = b.Memo(60, 100, 55, 20);
             FillMemo(source, 4, (1 << 20) - 20000);
             for (int i = 0; i < 15; ++i) b.Memo(120 + i * 30, 100, 25, 20).Memo = {"[" + source.Name + ".Memo]"};
             return std::move(b.report);
         }},
        // A page header of 160 KB on every page of a band split over pages.
        {"max-header",
         [](std::size_t) {
             Builder b;
             b.Band(BandType::PageHeader, 60, 30, false);
             FillMemo(b.Memo(60, 60, 600, 30), 8, 160000);
             b.Band(BandType::ReportTitle, 100, 20, true);
             b.Memo(60, 100, 600, 20).Memo.assign(10000, "");
             return std::move(b.report);
         }},
        // As many objects as a template may hold, outside any band, on every page of a band
        // split a line a page.
        {"max-objects",
         [](std::size_t) {
             Builder b;
             b.Band(BandType::ReportTitle, 100, 20, true);
             TfrMemoView& body = b.Memo(60, 100, 600, 20);
             body.Memo.assign(5000, "x");
             body.LineSpacing = 900;
             while (b.page->Objects.size() < 10000) b.Memo(60, 20, 55, 20).Memo = {"x"};
             return std::move(b.report);
         }},
        // A line far down every page (an overlay band's) of a band split a line a page: rows down
        // to it on each.
        {"max-rows",
         [](std::size_t) {
             Builder b;
             b.Band(BandType::ReportTitle, 100, 20, true);
             TfrMemoView& body = b.Memo(60, 100, 600, 20);
             body.Memo.assign(10000, "x");
             body.LineSpacing = 900;
             b.Band(BandType::Overlay, 0, 400100, false);
             b.Memo(60, 400000, 55, 20).Memo = {"far"};
             return std::move(b.report);
         }},
        // Ten memos of 10,000 lines whose spacing puts every line on the same row.
        {"max-same-row",
         [](std::size_t) {
             ReportTemplate t = ManyLines(10, 10000, "x", false);
             for (auto& object : t.Pages[0].Objects) {
                 if (object->Kind() == ObjectKind::Memo) static_cast<TfrMemoView&>(*object).LineSpacing = -13;
             }
             return t;
         }},
        // Numbers that each add the one before to itself, 40 deep.
        {"max-doubling",
         [](std::size_t) {
             Builder b;
             b.Band(BandType::ReportTitle, 100, 20, false);
             b.Memo(60, 100, 55, 20).Memo = {"[V40]"};
             b.report.Variables.Variables.push_back({" Doubling", ""});
             b.report.Variables.Variables.push_back({"V0", "1"});
             for (int i = 1; i <= 40; ++i) {
                 const std::string before = "V" + std::to_string(i - 1);
                 b.report.Variables.Variables.push_back({"V" + std::to_string(i), before + "+" + before});
             }
             return std::move(b.report);
         }},
    };
}

}  // namespace

int main(int argc, char** argv) {
    const auto cases = Cases();
    if (argc < 2 || !cases.count(argv[1])) {
        std::cerr << "usage: generate_template CASE [BYTES]\ncases:";
        for (const auto& [name, make] : cases) std::cerr << ' ' << name;
        std::cerr << '\n';
        return 2;
    }
    const std::size_t bytes = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : std::size_t{64} << 20;
    const ReportTemplate report = cases.at(argv[1])(bytes - 4096);
    const std::vector<std::uint8_t> stream = WriteTemplate(report, std::string(kVirtualPrinterMarker), 0);
    std::fwrite(stream.data(), 1, stream.size(), stdout);
    return 0;
}
