#include "report/export/ExportFilter.h"

#include <algorithm>

#include "report/format/TemplateGeometry.h"

namespace quillon {

void TfrExportFilter::ClearRows() {}

void TfrTextExport::ClearRows() {
    rows_.clear();
    ordered_.clear();
}

void TfrTextExport::BeginDocument() { rowsAndTexts_ = 0; }

void TfrTextExport::BeginPage() {
    ClearRows();
    rows_.resize(kRowCount);
    pageRows_ = 0;
}

const std::vector<std::vector<TfrTextRec>>& TfrTextExport::Rows() const {
    // The texts added to a row since it was last put in order came in this order: reversed and
    // sorted stably by X, the later of equal X goes first, and so it does when they are merged
    // in front of the ordered ones.
    const auto byX = [](const TfrTextRec& a, const TfrTextRec& b) { return a.X < b.X; };
    ordered_.resize(rows_.size(), 0);
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        auto& chain = rows_[row];
        if (ordered_[row] == chain.size()) continue;
        const auto added = chain.begin() + static_cast<std::ptrdiff_t>(ordered_[row]);
        std::reverse(added, chain.end());
        std::stable_sort(added, chain.end(), byX);
        const auto firstOld = std::rotate(chain.begin(), added, chain.end());
        std::inplace_merge(chain.begin(), firstOld, chain.end(), byX);
        ordered_[row] = chain.size();
    }
    return rows_;
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
    // After a failure the document is given up: nothing more is kept.
    if (!object || !Failure().empty()) return;
    // A line above the page's first row goes to that row; one below row 200 gets rows of its own
    // rather than being lost. A line far below any page comes from a damaged template (a memo of
    // many lines spaced a page apart, say): every row above it would be written out empty.
    const int row = std::max(0, RowOf(y));
    if (row > RowOf(kMaxExtentReportUnits)) {
        Fail(kDamagedTemplate + std::string("text lies far outside any page"));
        return;
    }
    // The rows down to this one are written, empty or not, and the text.
    const auto rows = static_cast<std::size_t>(row) + 1;
    rowsAndTexts_ += (rows > pageRows_ ? rows - pageRows_ : 0) + 1;
    pageRows_ = std::max(pageRows_, rows);
    if (rowsAndTexts_ > MaxRowsAndTexts) {
        Fail(kTooLargeToExport + ("its pages fill more than " + std::to_string(MaxRowsAndTexts) + " rows and texts"));
        return;
    }
    if (rows > rows_.size()) rows_.resize(rows);

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

    rows_[static_cast<std::size_t>(row)].push_back(std::move(record));
}

}  // namespace quillon
