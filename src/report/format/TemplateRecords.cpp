#include "report/format/TemplateRecords.h"

#include "report/format/ViewFields.h"

namespace quillon {
namespace {

// Constants of the record layout.
constexpr std::uint8_t kRevisionMajor = 2;
constexpr std::uint8_t kBandRevisionMinor = 1;
constexpr std::int32_t kCurrentPageLayout = -1;
// A band's Master field is stored from record revision 2.1 on.
constexpr int kMasterFromRevision = 20;
// Stored dialog-page border styles and the ones they stand for.
constexpr std::uint8_t kStoredDialogBorder = 0, kStoredSizeableBorder = 1;
constexpr std::uint8_t kDialogBorder = 3, kSizeableBorder = 2;
constexpr std::uint8_t kDesignedPosition = 0, kCentredPosition = 4;

}  // namespace

std::size_t ReadView(ByteReader& in, TfrView& view) {
    view.Name = in.String();
    view.RevisionMajor = in.U8();
    view.RevisionMinor = in.U8();
    ReadBoxAndFrame(in, view);
    view.Format = in.U32();
    view.FormatString = in.String();
    view.Memo = in.LineList();
    const std::size_t memoLines = in.LastListLines();
    view.Script = in.LineList();
    view.Visible = in.Flag();
    view.Restrictions = in.U16();
    view.Tag = in.String();
    view.GapX = in.I32();
    view.GapY = in.I32();
    if (view.RevisionMajor > 1) view.BandAlign = in.U8();
    return memoLines;
}

void WriteView(ByteWriter& out, const TfrView& view) {
    out.String(view.Name);
    out.U8(kRevisionMajor);
    out.U8(view.Kind() == ObjectKind::Band ? kBandRevisionMinor : 0);
    WriteBoxAndFrame(out, view);
    out.U32(view.Format);
    out.String(view.FormatString);
    out.LineList(view.Memo);
    out.LineList(view.Script);
    out.Flag(view.Visible);
    out.U16(view.Restrictions);
    out.String(view.Tag);
    out.I32(view.GapX);
    out.I32(view.GapY);
    out.U8(view.BandAlign);
}

void ReadMemo(ByteReader& in, TfrMemoView& memo) {
    memo.Font.Name = in.String();
    memo.Font.Size = in.I32();
    memo.Font.Style = in.U16();
    memo.Font.Color = in.U32();
    memo.Alignment = in.I32();
    memo.Font.Charset = in.U16() & 0xFF;
    memo.HighlightStyle = in.U16();
    memo.HighlightColor = in.U32();
    memo.HighlightFill = in.U32();
    memo.HighlightCondition = in.String();
    memo.LineSpacing = in.I32();
    memo.CharSpacing = in.I32();
}

void WriteMemo(ByteWriter& out, const TfrMemoView& memo) {
    out.String(memo.Font.Name);
    out.I32(memo.Font.Size);
    out.U16(memo.Font.Style);
    out.U32(memo.Font.Color);
    out.I32(memo.Alignment);
    out.U16(memo.Font.Charset);
    out.U16(memo.HighlightStyle);
    out.U32(memo.HighlightColor);
    out.U32(memo.HighlightFill);
    out.String(memo.HighlightCondition);
    out.I32(memo.LineSpacing);
    out.I32(memo.CharSpacing);
}

void ReadBand(ByteReader& in, TfrBandView& band) {
    band.ChildBand = in.String();
    band.Columns = in.I32();
    band.ColumnWidth = in.I32();
    band.ColumnGap = in.I32();
    band.NewColumnAfter = in.I32();
    if (band.RevisionMajor * 10 + band.RevisionMinor > kMasterFromRevision) band.Master = in.String();
}

void WriteBand(ByteWriter& out, const TfrBandView& band) {
    out.String(band.ChildBand);
    out.I32(band.Columns);
    out.I32(band.ColumnWidth);
    out.I32(band.ColumnGap);
    out.I32(band.NewColumnAfter);
    out.String(band.Master);
}

TfrPage ReadPage(ByteReader& in) {
    TfrPage page;
    const std::int32_t marker = in.I32();
    const bool currentLayout = marker == kCurrentPageLayout;
    page.Size = currentLayout ? in.I32() : marker;
    page.PaperWidth = in.I32();
    page.PaperHeight = in.I32();
    page.LeftMargin = in.I32();
    page.TopMargin = in.I32();
    page.RightMargin = in.I32();
    page.BottomMargin = in.I32();
    page.Orientation = in.U8();
    page.Bin = in.I32();
    page.PrintToPrevPage = in.Flag();
    page.UseMargins = in.Flag();
    page.Columns = in.I32();
    page.ColumnGap = in.I32();
    page.Type = in.U8();
    page.Name = in.String();
    const std::uint8_t border = in.U8();
    page.BorderStyle = border == kStoredDialogBorder     ? kDialogBorder
                       : border == kStoredSizeableBorder ? kSizeableBorder
                                                         : border;
    page.Caption = in.String();
    page.Color = in.U32();
    page.FormLeft = in.I32();
    page.FormTop = in.I32();
    page.FormWidth = in.I32();
    page.FormHeight = in.I32();
    page.Position = in.U8() == kDesignedPosition ? kDesignedPosition : kCentredPosition;
    if (currentLayout) page.Script = in.LineList();
    return page;
}

void WritePage(ByteWriter& out, const TfrPage& page) {
    out.I32(kCurrentPageLayout);
    out.I32(page.Size);
    out.I32(page.PaperWidth);
    out.I32(page.PaperHeight);
    out.I32(page.LeftMargin);
    out.I32(page.TopMargin);
    out.I32(page.RightMargin);
    out.I32(page.BottomMargin);
    out.U8(page.Orientation);
    out.I32(page.Bin);
    out.Flag(page.PrintToPrevPage);
    out.Flag(page.UseMargins);
    out.I32(page.Columns);
    out.I32(page.ColumnGap);
    out.U8(page.Type);
    out.String(page.Name);
    out.U8(page.BorderStyle);
    out.String(page.Caption);
    out.U32(page.Color);
    out.I32(page.FormLeft);
    out.I32(page.FormTop);
    out.I32(page.FormWidth);
    out.I32(page.FormHeight);
    out.U8(page.Position);
    out.LineList(page.Script);
}

}  // namespace quillon
