#include "report/format/PrintingForm.h"

#include "report/format/ByteStream.h"
#include "report/format/Template.h"
#include "report/format/ViewFields.h"

namespace quillon {
namespace {

// Prepared pages hold memos and lines only: bands are not output, and the other kinds occur in
// no template.
std::unique_ptr<TfrView> NewObject(std::uint8_t kind) {
    switch (static_cast<ObjectKind>(kind)) {
        case ObjectKind::Memo: return std::make_unique<TfrMemoView>();
        case ObjectKind::Line: return std::make_unique<TfrLineView>();
        case ObjectKind::Picture:
        case ObjectKind::Band:
        case ObjectKind::SubReport:
        case ObjectKind::AddIn: break;
    }
    return nullptr;
}

constexpr std::uint8_t kRevisionMajor = 2;

}  // namespace

void WritePrintingForm(std::vector<std::uint8_t>& stream, const TfrView& view, const std::vector<std::string>& text) {
    ByteWriter out(std::move(stream));
    out.U8(static_cast<std::uint8_t>(view.Kind()));
    out.Utf8String(view.Name);
    out.U8(kRevisionMajor);
    out.U8(view.RevisionMinor);
    WriteBoxAndFrame(out, view);
    out.Utf8LineList(text);
    out.U16(view.Restrictions);
    out.Utf8String(view.Tag);
    out.I32(view.GapX);
    out.I32(view.GapY);
    out.U8(view.BandAlign);
    if (view.Kind() == ObjectKind::Memo) {
        const auto& memo = static_cast<const TfrMemoView&>(view);
        out.Utf8String(memo.Font.Name);
        out.I32(memo.Font.Size);
        out.U16(memo.Font.Style);
        out.U32(memo.Font.Color);
        out.I32(memo.Alignment);
        out.U16(memo.Font.Charset);
        out.I32(memo.LineSpacing);
        out.I32(memo.CharSpacing);
    }
    stream = out.Release();
}

std::optional<std::vector<std::unique_ptr<TfrView>>> ReadPrintingForms(std::span<const std::uint8_t> stream) {
    std::vector<std::unique_ptr<TfrView>> objects;
    ByteReader in(stream);
    try {
        if (in.AtEnd() || in.U8() != kStreamVersion) return std::nullopt;
        while (!in.AtEnd()) {
            auto object = NewObject(in.U8());
            if (!object) return std::nullopt;
            TfrView& view = *object;
            view.Name = in.Utf8String();
            view.RevisionMajor = in.U8();
            view.RevisionMinor = in.U8();
            ReadBoxAndFrame(in, view);
            view.Memo = in.Utf8LineList();
            view.Restrictions = in.U16();
            view.Tag = in.Utf8String();
            view.GapX = in.I32();
            view.GapY = in.I32();
            view.BandAlign = in.U8();
            if (view.Kind() == ObjectKind::Memo) {
                auto& memo = static_cast<TfrMemoView&>(view);
                memo.Font.Name = in.Utf8String();
                memo.Font.Size = in.I32();
                memo.Font.Style = in.U16();
                memo.Font.Color = in.U32();
                memo.Alignment = in.I32();
                memo.Font.Charset = in.U16();
                memo.LineSpacing = in.I32();
                memo.CharSpacing = in.I32();
            }
            objects.push_back(std::move(object));
        }
    } catch (const StreamError&) {
        return std::nullopt;
    }
    return objects;
}

}  // namespace quillon
