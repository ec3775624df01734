#pragma once
// The objects of a report template: memos, lines and bands, with the fields their stored records
// carry and the defaults of a new object. Positions and sizes are in report units.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillon {

using Colour = std::uint32_t;
// No colour: transparent, no fill.
inline constexpr Colour kNoColour = 0x1FFFFFFF;

// Report units per inch on both axes (93 / 1.015).
inline constexpr double kReportUnitsPerInch = 91.6256157635468;

enum class ObjectKind : std::uint8_t { Memo = 0, Picture = 1, Band = 2, SubReport = 3, Line = 4, AddIn = 10 };

// Frame edges of memos and lines.
enum FrameEdge : std::uint16_t { kFrameRight = 1, kFrameBottom = 2, kFrameLeft = 4, kFrameTop = 8 };
inline constexpr std::uint16_t kFrameSides = kFrameRight | kFrameBottom | kFrameLeft | kFrameTop;

// Flag bits of a memo.
enum MemoFlag : std::uint16_t {
    kMemoStretched = 0x001,
    kMemoWordWrap = 0x002,
    kMemoWordBreak = 0x004,
    kMemoAutoWidth = 0x008,
    kMemoTextOnly = 0x010,
    kMemoSuppress = 0x020,
    kMemoHideZeros = 0x040,
    kMemoUnderlines = 0x080,
    kMemoRightToLeft = 0x100
};

// Flag bits of a band.
enum BandFlag : std::uint16_t {
    kBandStretched = 0x01,
    kBandFormNewPage = 0x02,
    kBandPrintIfSubsetEmpty = 0x04,
    kBandBreaked = 0x08,
    kBandOnFirstPage = 0x10,
    kBandOnLastPage = 0x20,
    kBandRepeatHeader = 0x40,
    kBandPrintChildIfInvisible = 0x80
};

// A memo's alignment word: bits 0-1 horizontal, bit 2 rotated text, bits 3-4 vertical.
enum TextAlignment : std::int32_t {
    kAlignLeft = 0,
    kAlignRight = 1,
    kAlignCenter = 2,
    kAlignJustify = 3,
    kAlignHorizontalBits = 3,
    kAlignVertical = 4,
    kAlignMiddle = 8,
    kAlignDown = 16
};

// The display format word: bits 24-27 the kind, 16-23 the variant within the kind, 8-15 the
// number of decimals, 0-7 the decimal separator.
enum class FormatKind { Text = 0, Number = 1, Date = 2, Time = 3, Boolean = 4 };
// The variant that takes its pattern from the format string.
inline constexpr int kFormatFromString = 4;
inline constexpr std::uint32_t FormatWord(FormatKind kind, int variant, int decimals, char separator) {
    return (static_cast<std::uint32_t>(kind) << 24) | (static_cast<std::uint32_t>(variant) << 16) |
           (static_cast<std::uint32_t>(decimals) << 8) | static_cast<unsigned char>(separator);
}
// Text, two decimals, "." as the separator: what a new object carries.
inline constexpr std::uint32_t kDefaultFormat = FormatWord(FormatKind::Text, 0, 2, '.');

enum class BandType : std::uint16_t {
    ReportTitle = 0,
    ReportSummary,
    PageHeader,
    PageFooter,
    MasterHeader,
    MasterData,
    MasterFooter,
    DetailHeader,
    DetailData,
    DetailFooter,
    SubdetailHeader,
    SubdetailData,
    SubdetailFooter,
    Overlay,
    ColumnHeader,
    ColumnFooter,
    GroupHeader,
    GroupFooter,
    CrossHeader,
    CrossData,
    CrossFooter,
    Child,
    None
};
inline constexpr int kBandTypeCount = 23;

// The designer's name of a band type, "Report title" ... "None".
const char* BandTypeName(int type);

class TfrView {
public:
    virtual ~TfrView() = default;
    virtual ObjectKind Kind() const = 0;
    virtual std::unique_ptr<TfrView> Clone() const = 0;

    std::string Name;
    std::uint8_t RevisionMajor = 2;
    std::uint8_t RevisionMinor = 0;
    std::int32_t Left = 0, Top = 0, Width = 0, Height = 0;
    std::uint16_t Flags = 1;
    std::uint16_t FrameTyp = 0;  // frame edges; for a band its band type
    double FrameWidth = 1.0;
    Colour FrameColor = 0;
    std::uint16_t FrameStyle = 0;
    Colour FillColor = kNoColour;
    std::uint32_t Format = kDefaultFormat;
    std::string FormatString;  // a band's Condition
    std::vector<std::string> Memo;
    std::vector<std::string> Script;
    bool Visible = true;
    std::uint16_t Restrictions = 0;
    std::string Tag;
    std::int32_t GapX = 2, GapY = 1;
    std::uint8_t BandAlign = 0;
};

struct MemoFont {
    std::string Name = "Arial";
    std::int32_t Size = 10;   // points
    std::uint16_t Style = 0;  // 1 italic, 2 bold, 4 underline, 8 strike-out
    Colour Color = 0;
    std::uint16_t Charset = 1;  // the default character set
    friend bool operator==(const MemoFont&, const MemoFont&) = default;
};

class TfrMemoView final : public TfrView {
public:
    TfrMemoView() { Flags = kMemoStretched | kMemoWordWrap; }
    ObjectKind Kind() const override { return ObjectKind::Memo; }
    std::unique_ptr<TfrView> Clone() const override { return std::make_unique<TfrMemoView>(*this); }

    MemoFont Font;
    std::int32_t Alignment = 0;
    std::uint16_t HighlightStyle = 2;
    Colour HighlightColor = 0;
    Colour HighlightFill = 0xFFFFFF;
    std::string HighlightCondition;
    std::int32_t LineSpacing = 2;
    std::int32_t CharSpacing = 0;
};

class TfrLineView final : public TfrView {
public:
    TfrLineView() {
        FrameTyp = kFrameLeft;
        FillColor = 0xFFFFFF;
    }
    ObjectKind Kind() const override { return ObjectKind::Line; }
    std::unique_ptr<TfrView> Clone() const override { return std::make_unique<TfrLineView>(*this); }
};

class TfrBandView final : public TfrView {
public:
    TfrBandView() {
        RevisionMinor = 1;
        Flags = kBandOnFirstPage | kBandOnLastPage;
        Format = 0;
    }
    ObjectKind Kind() const override { return ObjectKind::Band; }
    std::unique_ptr<TfrView> Clone() const override { return std::make_unique<TfrBandView>(*this); }

    int Type() const { return FrameTyp; }

    std::string ChildBand;
    std::int32_t Columns = 1;
    std::int32_t ColumnWidth = 200;
    std::int32_t ColumnGap = 20;
    std::int32_t NewColumnAfter = 1;
    std::string Master;
};

}  // namespace quillon
