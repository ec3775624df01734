#include "report/content/TemplateStream.h"

#include <cmath>
#include <memory>

#include "report/content/AnsiText.h"
#include "report/content/ByteStream.h"
#include "report/content/ViewFields.h"

namespace quillon {
namespace {

enum Tag : std::uint8_t { kPageTag = 255, kVariablesTag = 254, kDataManagerTag = 253, kEndTag = 252 };

constexpr std::uint8_t kInfoMarker = 88;

void ReadView(ByteReader& in, TfrView& view) {
    view.Name = in.String();
    view.RevisionMajor = in.U8();
    view.RevisionMinor = in.U8();
    ReadBoxAndFrame(in, view);
    view.Format = in.U32();
    view.FormatString = in.String();
    view.Memo = in.LineList();
    view.Script = in.LineList();
    view.Visible = in.Flag();
    view.Restrictions = in.U16();
    view.Tag = in.String();
    view.GapX = in.I32();
    view.GapY = in.I32();
    if (view.RevisionMajor > 1) view.BandAlign = in.U8();
}

void WriteView(ByteWriter& out, const TfrView& view) {
    out.String(view.Name);
    out.U8(2);
    out.U8(view.Kind() == ObjectKind::Band ? 1 : 0);
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
    if (band.RevisionMajor * 10 + band.RevisionMinor > 20) band.Master = in.String();
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
    const bool currentLayout = marker == -1;
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
    page.BorderStyle = border == 0 ? 3 : border == 1 ? 2 : border;
    page.Caption = in.String();
    page.Color = in.U32();
    page.FormLeft = in.I32();
    page.FormTop = in.I32();
    page.FormWidth = in.I32();
    page.FormHeight = in.I32();
    page.Position = in.U8() == 0 ? 0 : 4;
    if (currentLayout) page.Script = in.LineList();
    return page;
}

void WritePage(ByteWriter& out, const TfrPage& page) {
    out.U8(kPageTag);
    out.I32(-1);
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

// A count of (name, value) pairs; every pair takes at least six bytes, so a count that the rest
// of the stream cannot hold is an error before anything is allocated.
std::vector<TemplateVariable> ReadPairs(ByteReader& in) {
    const std::int32_t count = in.I32();
    if (count < 0 || static_cast<std::size_t>(count) > in.Remaining() / 6) throw StreamError("bad variable count");
    std::vector<TemplateVariable> pairs;
    pairs.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        TemplateVariable pair;
        pair.Name = in.String();
        pair.Value = in.String();
        pairs.push_back(std::move(pair));
    }
    return pairs;
}

void WritePairs(ByteWriter& out, const std::vector<TemplateVariable>& pairs) {
    out.I32(static_cast<std::int32_t>(pairs.size()));
    for (const TemplateVariable& pair : pairs) {
        out.String(pair.Name);
        out.String(pair.Value);
    }
}

void ReadVariables(ByteReader& in, TemplateVariables& variables) {
    const std::int16_t marker = in.I16();
    if (marker != -2 && marker != -1) throw StreamError("variable list of an older layout");
    variables.Variables = ReadPairs(in);
    variables.FieldAliases = ReadPairs(in);
    variables.BandDataSources = ReadPairs(in);
    // In the older convention headings had no blank and variables had one: turn every name round.
    auto& list = variables.Variables;
    if (!list.empty() && !list.front().Name.empty() && list.front().Name.front() != ' ') {
        for (TemplateVariable& variable : list) {
            if (!variable.Name.empty() && variable.Name.front() == ' ') {
                variable.Name.erase(0, 1);
            } else {
                variable.Name.insert(0, 1, ' ');
            }
        }
    }
}

void WriteVariables(ByteWriter& out, const TemplateVariables& variables) {
    out.U8(kVariablesTag);
    out.I16(-2);
    WritePairs(out, variables.Variables);
    WritePairs(out, variables.FieldAliases);
    WritePairs(out, variables.BandDataSources);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    throw StreamError("bad password digit");
}

ReportInfo ReadInfo(ByteReader& in) {
    ReportInfo info;
    for (std::string* text : {&info.Comment, &info.Name, &info.Author, &info.VersionMajor, &info.VersionMinor,
                              &info.VersionRelease, &info.VersionBuild}) {
        *text = AnsiToUtf8(in.ShortBytes());
    }
    const std::string hex = in.ShortBytes();
    if (hex.size() % 2 != 0) throw StreamError("bad password length");
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        info.Password += static_cast<char>(HexDigit(hex[i]) * 16 + HexDigit(hex[i + 1]));
    }
    in.U8();  // 88, not examined
    info.Protection = in.U8();
    info.Created = in.F64();
    info.LastChange = in.F64();
    return info;
}

void WriteInfo(ByteWriter& out, const ReportInfo& info, DateTime lastChange) {
    out.U8(kEndTag);
    for (const std::string* text : {&info.Comment, &info.Name, &info.Author, &info.VersionMajor, &info.VersionMinor,
                                    &info.VersionRelease, &info.VersionBuild}) {
        out.ShortBytes(Utf8ToAnsi(*text));
    }
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (char c : info.Password) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    out.ShortBytes(hex);
    out.U8(kInfoMarker);
    out.U8(info.Protection);
    out.F64(info.Created);
    out.F64(lastChange);
}

std::unique_ptr<TfrView> NewObject(std::uint8_t kind) {
    switch (kind) {
        case 0: return std::make_unique<TfrMemoView>();
        case 2: return std::make_unique<TfrBandView>();
        case 4: return std::make_unique<TfrLineView>();
        default: return nullptr;  // pictures, sub-reports and add-ins: no template has them
    }
}

void ReadObjectParts(ByteReader& in, TfrView& object) {
    ReadView(in, object);
    switch (object.Kind()) {
        case ObjectKind::Memo: ReadMemo(in, static_cast<TfrMemoView&>(object)); break;
        case ObjectKind::Band: ReadBand(in, static_cast<TfrBandView&>(object)); break;
        case ObjectKind::Line: break;
        case ObjectKind::Picture:
        case ObjectKind::SubReport:
        case ObjectKind::AddIn: break;
    }
}

void ReadObject(ByteReader& in, std::uint8_t kind, ReportTemplate& target, std::vector<ObjectRecordEnd>& ends) {
    if (kind == static_cast<std::uint8_t>(ObjectKind::AddIn)) in.String();  // class name
    const std::uint8_t pageIndex = in.U8();
    const std::size_t afterOffset = in.Position() + 4;
    const std::uint32_t endOffset = in.U32();
    if (endOffset < afterOffset || endOffset > in.Size()) throw StreamError("bad end offset");

    // An object whose record cannot be read is left out; the end offset says where the next
    // record begins, whatever this one consumed.
    try {
        if (pageIndex < target.Pages.size()) {
            if (auto object = NewObject(kind)) {
                ReadObjectParts(in, *object);
                ends.push_back({endOffset, in.Position()});
                target.Pages[pageIndex].Objects.push_back(std::move(object));
            }
        }
    } catch (const StreamError&) {
    }
    in.Seek(endOffset);
}

void ResetInfo(ReportInfo& info, DateTime now) {
    info = ReportInfo{};
    info.Created = info.LastChange = now;
}

void ClearToOneEmptyPage(ReportTemplate& target, TfrPrinter& printer, DateTime now) {
    target.Pages.clear();
    target.Variables.Clear();
    target.DoublePassReport = false;
    ResetInfo(target.Info, now);
    target.Pages.emplace_back();
    printer.ApplyPaperTo(target.Pages.back());
}

void ApplyPrinterName(const ReportTemplate& target, TfrPrinter& printer) {
    if (target.PrintToDefault) return;
    if (target.PrinterName == kVirtualPrinterMarker) {
        printer.SelectPrinter(printer.VirtualPrinterIndex());
    } else if (const int index = printer.IndexOf(target.PrinterName); index >= 0) {
        printer.SelectPrinter(index);
    }
}

}  // namespace

TemplateLoad ReadTemplate(std::span<const std::uint8_t> stream, ReportTemplate& target, TfrPrinter& printer,
                          DateTime now) {
    TemplateLoad load;
    target.Variables.Clear();
    if (stream.empty()) return load;

    ByteReader in(stream);
    const std::uint8_t version = in.U8();
    if (version > kStreamVersion) {
        load.ok = false;
        load.error = kUnsupportedFormat;
        load.bytesRead = in.Position();
        return load;
    }
    // Older streams had no version byte: the byte read belongs to the stream. Versions 21 to 24
    // are read with the layout of version 25.
    if (version < 21) in.Seek(0);

    target.Pages.clear();
    target.DoublePassReport = false;
    target.Info = ReportInfo{};
    try {
        target.PrintToDefault = in.Flag();
        target.DoublePassReport = in.Flag();
        target.PrinterName = in.String();
        ApplyPrinterName(target, printer);

        bool ended = false;
        while (!ended && !in.AtEnd()) {
            const std::uint8_t tag = in.U8();
            if (tag == kPageTag) {
                target.Pages.push_back(ReadPage(in));
                printer.ApplyPaperTo(target.Pages.back());
            } else if (tag == kVariablesTag) {
                ReadVariables(in, target.Variables);
            } else if (tag == kDataManagerTag) {
                in.U8();
                ended = true;
            } else if (tag == kEndTag) {
                ended = true;
            } else if (tag <= 10) {
                ReadObject(in, tag, target, load.objectEnds);
            } else {
                throw StreamError("invalid record tag");
            }
        }
        if (in.AtEnd()) {
            ResetInfo(target.Info, now);
        } else {
            target.Info = ReadInfo(in);
        }
    } catch (const StreamError&) {
        ClearToOneEmptyPage(target, printer, now);
        load.ok = false;
        load.error = kUnsupportedFormat;
    }
    load.bytesRead = in.Position();
    return load;
}

std::vector<std::uint8_t> WriteTemplate(const ReportTemplate& source, const std::string& printerName,
                                        DateTime lastChange) {
    ByteWriter out;
    out.U8(kStreamVersion);
    out.Flag(source.PrintToDefault);
    out.Flag(source.DoublePassReport);
    out.String(printerName);
    for (const TfrPage& page : source.Pages) WritePage(out, page);
    for (std::size_t index = 0; index < source.Pages.size(); ++index) {
        for (const auto& object : source.Pages[index].Objects) {
            out.U8(static_cast<std::uint8_t>(object->Kind()));
            out.U8(static_cast<std::uint8_t>(index));
            const std::size_t endOffset = out.Position();
            out.U32(0);
            WriteView(out, *object);
            switch (object->Kind()) {
                case ObjectKind::Memo: WriteMemo(out, static_cast<const TfrMemoView&>(*object)); break;
                case ObjectKind::Band: WriteBand(out, static_cast<const TfrBandView&>(*object)); break;
                case ObjectKind::Line: break;
                case ObjectKind::Picture:
                case ObjectKind::SubReport:
                case ObjectKind::AddIn: break;
            }
            out.PatchU32(endOffset, static_cast<std::uint32_t>(out.Position()));
        }
    }
    WriteVariables(out, source.Variables);
    WriteInfo(out, source.Info, lastChange);
    return out.Release();
}

std::vector<std::uint8_t> WrapReportForm(std::span<const std::uint8_t> stream) {
    ByteWriter out;
    out.I32(kStreamVersion);
    out.U32(static_cast<std::uint32_t>(stream.size()));
    out.Raw(stream);
    return out.Release();
}

std::optional<std::span<const std::uint8_t>> UnwrapReportForm(std::span<const std::uint8_t> form) {
    try {
        ByteReader in(form);
        in.I32();
        const std::uint32_t length = in.U32();
        if (length > in.Remaining()) return std::nullopt;
        return form.subspan(8, length);
    } catch (const StreamError&) {
        return std::nullopt;
    }
}

}  // namespace quillon
