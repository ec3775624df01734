#include "report/export/ExportFilter.h"

#include <algorithm>

#include "report/format/TemplateGeometry.h"

namespace quillon {

void TfrExportFilter::ClearRows() {}

void TfrTextExport::ClearRows() { rows_.clear(); }

void TfrTextExport::BeginPage() {
    ClearRows();
    rows_.resize(kRowCount);
}

namespace {

// A row is 14 report units high at ScaleY 1.
constexpr double kRowHeight = 14.0;
// Font names are kept to this many characters.
constexpr std::size_t kFontNameLength = 32;

// The name's first kFontNameLength characters; a character of several UTF-8 bytes is never cut.
std::string ShortFontName(const std::string& name) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const bool starts = (static_cast<unsigned char>(name[i]) & 0xC0) != 0x80;
        if (starts && characters++ == kFontNameLength) return name.substr(0, i);
    }
    return name;
}

}  // namespace

int TfrTextExport::RowOf(int y) const { return RoundHalfEven(y / (kRowHeight / ScaleY)); }

void TfrTextExport::ExportTextLine(const Rect& drawRect, int x, int y, const std::string& text, std::uint16_t frameTyp,
                                   const TfrView* object) {
    if (!object) return;
    // A line above the page's first row goes to that row; one below row 200 gets rows of its own
    // rather than being lost. A line far below any page comes from a damaged template (a memo of
    // many lines spaced a page apart, say): every row above it would be written out empty.
    const int row = std::max(0, RowOf(y));
    if (row > RowOf(kMaxExtentReportUnits)) {
        Fail(kDamagedTemplate + std::string("text lies far outside any page"));
        return;
    }
    if (static_cast<std::size_t>(row) >= rows_.size()) rows_.resize(static_cast<std::size_t>(row) + 1);

    TfrTextRec record;
    record.X = x;
    record.Text = text;
    if (object->Kind() == ObjectKind::Memo) {
        const auto& memo = static_cast<const TfrMemoView&>(*object);
        record.FontName = ShortFontName(memo.Font.Name);
        record.FontSize = memo.Font.Size;
        record.FontStyle = memo.Font.Style;
        record.FontColor = memo.Font.Color;
        record.FontCharset = memo.Font.Charset & 0xFF;
        record.Alignment = memo.Alignment;
        if (record.Alignment == 1) record.X = drawRect.right;
    }
    record.DrawRect = drawRect;
    record.FrameTyp = frameTyp;
    record.FillColor = object->FillColor;

    auto& chain = rows_[static_cast<std::size_t>(row)];
    const auto at = std::find_if(chain.begin(), chain.end(), [&](const TfrTextRec& other) { return other.X >= record.X; });
    chain.insert(at, std::move(record));
}

}  // namespace quillon
