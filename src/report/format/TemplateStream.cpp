#include "report/format/TemplateStream.h"

#include <cmath>
#include <memory>

#include "report/format/AnsiText.h"
#include "report/format/ByteStream.h"
#include "report/format/TemplateGeometry.h"
#include "report/format/TemplateLimits.h"
#include "report/format/TemplateRecords.h"

namespace quillon {
namespace {

enum Tag : std::uint8_t { kPageTag = 255, kVariablesTag = 254, kDataManagerTag = 253, kEndTag = 252 };

constexpr std::uint8_t kInfoMarker = 88;
// Streams before this version have no version byte.
constexpr std::uint8_t kFirstVersionWithVersionByte = 21;
constexpr std::uint8_t kLastObjectKind = static_cast<std::uint8_t>(ObjectKind::AddIn);
constexpr std::int16_t kVariableListLayout = -2, kVariableListLayoutToo = -1;

// What a template read so far holds, kept or not; the reader keeps no more than the bounds allow
// (TemplateLimits.h) and counts the rest, so that a template too large is refused with its size
// without ever being held in memory.
struct ReadCount {
    TemplateSize size;
    std::size_t pairs = 0;  // variables, aliases and data sources: lines of the variable lists
};

// A count of (name, value) pairs; every pair takes at least six bytes, so a count that the rest
// of the stream cannot hold is an error before anything is allocated. Pairs beyond the bound of
// lines are read and counted, not kept.
std::vector<TemplateVariable> ReadPairs(ByteReader& in, ReadCount& counted) {
    const std::int32_t count = in.I32();
    if (count < 0 || static_cast<std::size_t>(count) > in.Remaining() / 6) throw StreamError("bad variable count");
    std::vector<TemplateVariable> pairs;
    pairs.reserve(std::min<std::size_t>(static_cast<std::size_t>(count), kMaxTemplateLines + 1));
    for (std::int32_t i = 0; i < count; ++i) {
        TemplateVariable pair;
        pair.Name = in.String();
        pair.Value = in.String();
        if (++counted.pairs <= kMaxTemplateLines + 1) pairs.push_back(std::move(pair));
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

void ReadVariables(ByteReader& in, TemplateVariables& variables, ReadCount& counted) {
    const std::int16_t marker = in.I16();
    if (marker != kVariableListLayout && marker != kVariableListLayoutToo)
        throw StreamError("variable list of an older layout");
    variables.Variables = ReadPairs(in, counted);
    variables.FieldAliases = ReadPairs(in, counted);
    variables.BandDataSources = ReadPairs(in, counted);
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
    out.I16(kVariableListLayout);
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

// The kind byte comes from the stream: any value up to AddIn's, named or not (the enumeration's
// underlying byte holds every one).
std::unique_ptr<TfrView> NewObject(std::uint8_t kind) {
    switch (static_cast<ObjectKind>(kind)) {
        case ObjectKind::Memo: return std::make_unique<TfrMemoView>();
        case ObjectKind::Band: return std::make_unique<TfrBandView>();
        case ObjectKind::Line: return std::make_unique<TfrLineView>();
        case ObjectKind::Picture:
        case ObjectKind::SubReport:
        case ObjectKind::AddIn: break;
    }
    return nullptr;  // pictures, sub-reports, add-ins and kinds without a name: no template has them
}

// Returns the lines of the object's memo list, kept or not.
std::size_t ReadObjectParts(ByteReader& in, TfrView& object) {
    const std::size_t memoLines = ReadView(in, object);
    switch (object.Kind()) {
        case ObjectKind::Memo: ReadMemo(in, static_cast<TfrMemoView&>(object)); break;
        case ObjectKind::Band: ReadBand(in, static_cast<TfrBandView&>(object)); break;
        case ObjectKind::Line: break;
        case ObjectKind::Picture:
        case ObjectKind::SubReport:
        case ObjectKind::AddIn: break;
    }
    return memoLines;
}

void ReadObject(ByteReader& in, std::uint8_t kind, ReportTemplate& target, std::vector<ObjectRecordEnd>& ends,
                ReadCount& counted) {
    if (kind == static_cast<std::uint8_t>(ObjectKind::AddIn)) in.String();  // class name
    const std::uint8_t pageIndex = in.U8();
    const std::size_t afterOffset = in.Position() + 4;
    const std::uint32_t endOffset = in.U32();
    if (endOffset < afterOffset || endOffset > in.Size()) throw StreamError("bad end offset");

    // An object whose record cannot be read is left out; the end offset says where the next
    // record begins, whatever this one consumed. Objects beyond the bound are counted, not read.
    try {
        if (pageIndex < target.Pages.size()) {
            if (auto object = NewObject(kind); object && ++counted.size.objects <= kMaxTemplateObjects) {
                const std::size_t memoLines = ReadObjectParts(in, *object);
                ends.push_back({endOffset, in.Position()});
                auto& objects = target.Pages[pageIndex].Objects;
                if (object->Kind() == ObjectKind::Memo && memoLines > kMaxMemoLines && !counted.size.longMemo) {
                    counted.size.longMemo = TemplateSize::LongMemo{pageIndex, objects.size(), memoLines};
                }
                objects.push_back(std::move(object));
            }
        }
    } catch (const StreamError&) {}
    in.Seek(endOffset);
}

void ResetInfo(ReportInfo& info, DateTime now) {
    info = ReportInfo{};
    info.Created = info.LastChange = now;
}

void ClearToOneEmptyPage(ReportTemplate& target, DateTime now) {
    target.Pages.clear();
    target.Variables.Clear();
    target.DoublePassReport = false;
    ResetInfo(target.Info, now);
    target.Pages.emplace_back();
}

}  // namespace

TemplateLoad ReadTemplate(std::span<const std::uint8_t> stream, ReportTemplate& target, DateTime now) {
    TemplateLoad load;
    target.Variables.Clear();
    if (stream.empty()) {
        load.pagesRead = false;
        return load;
    }

    ByteReader in(stream);
    const std::uint8_t version = in.U8();
    if (version > kStreamVersion) {
        load.ok = false;
        load.pagesRead = false;
        load.error = kUnsupportedFormat;
        load.bytesRead = in.Position();
        return load;
    }
    // Older streams had no version byte: the byte read belongs to the stream. Versions 21 to 24
    // are read with the layout of version 25.
    if (version < kFirstVersionWithVersionByte) in.Seek(0);

    target.Pages.clear();
    target.DoublePassReport = false;
    target.Info = ReportInfo{};
    ReadCount counted;
    in.KeepLines(kMaxTemplateLines + 1);
    try {
        target.PrintToDefault = in.Flag();
        target.DoublePassReport = in.Flag();
        target.PrinterName = in.String();
        load.headerRead = true;

        bool ended = false;
        while (!ended && !in.AtEnd()) {
            const std::uint8_t tag = in.U8();
            if (tag == kPageTag) {
                TfrPage page = ReadPage(in);
                if (++counted.size.pages <= kMaxTemplatePages) target.Pages.push_back(std::move(page));
            } else if (tag == kVariablesTag) {
                ReadVariables(in, target.Variables, counted);
            } else if (tag == kDataManagerTag) {
                in.U8();
                ended = true;
            } else if (tag == kEndTag) {
                ended = true;
            } else if (tag <= kLastObjectKind) {
                ReadObject(in, tag, target, load.objectEnds, counted);
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
        ClearToOneEmptyPage(target, now);
        load.ok = false;
        load.error = kUnsupportedFormat;
    }
    if (load.ok) {
        // What the template holds in memory; where the reader left something out, what it counted.
        TemplateSize size = SizeOf(target);
        if (counted.size.pages > kMaxTemplatePages) size.pages = counted.size.pages;
        if (counted.size.objects > kMaxTemplateObjects) size.objects = counted.size.objects;
        if (in.LinesCounted() > kMaxTemplateLines + 1 || counted.pairs > kMaxTemplateLines + 1) {
            size.lines = in.LinesCounted() + counted.pairs;
        }
        if (counted.size.longMemo) size.longMemo = counted.size.longMemo;
        auto refused = OversizedTemplate(target, size);
        if (!refused) refused = DamagedGeometry(target);
        if (refused) {
            ClearToOneEmptyPage(target, now);
            load.ok = false;
            load.error = std::move(*refused);
        }
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
    for (const TfrPage& page : source.Pages) {
        out.U8(kPageTag);
        WritePage(out, page);
    }
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
