#include "report/engine/PreparedPages.h"

#include <cmath>

#include "report/content/ByteStream.h"
#include "report/content/ViewFields.h"

namespace quillon {
namespace {

constexpr std::uint8_t kStreamVersion = 25;

std::unique_ptr<TfrView> NewObject(std::uint8_t kind) {
    switch (kind) {
        case 0: return std::make_unique<TfrMemoView>();
        case 4: return std::make_unique<TfrLineView>();
        default: return nullptr;
    }
}

}  // namespace

void WritePrintingForm(std::vector<std::uint8_t>& stream, const TfrView& view, const std::vector<std::string>& text) {
    ByteWriter out(std::move(stream));
    out.U8(static_cast<std::uint8_t>(view.Kind()));
    out.Utf8String(view.Name);
    out.U8(2);
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

std::vector<std::unique_ptr<TfrView>> ReadPrintingForms(std::span<const std::uint8_t> stream) {
    std::vector<std::unique_ptr<TfrView>> objects;
    ByteReader in(stream);
    try {
        if (in.AtEnd() || in.U8() != kStreamVersion) return objects;
        while (!in.AtEnd()) {
            auto object = NewObject(in.U8());
            if (!object) break;
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
    }
    return objects;
}

void TfrEMFPages::Add(const TfrPage& page) {
    PreparedPage prepared;
    prepared.Size = static_cast<std::int16_t>(page.Size);
    prepared.PaperWidth = page.PaperWidth;
    prepared.PaperHeight = page.PaperHeight;
    prepared.Orientation = page.Orientation;
    prepared.Bin = page.Bin;
    prepared.UseMargins = page.UseMargins;
    prepared.LeftMargin = page.LeftMargin;
    prepared.TopMargin = page.TopMargin;
    prepared.RightMargin = page.RightMargin;
    prepared.BottomMargin = page.BottomMargin;
    prepared.Metrics = page.Metrics;
    prepared.Stream.push_back(kStreamVersion);
    pages_.push_back(std::move(prepared));
}

void TfrEMFPages::AppendObject(int index, const TfrView& view, const std::vector<std::string>& text) {
    WritePrintingForm((*this)[index].Stream, view, text);
}

void TfrEMFPages::RebuildObjects(int index) {
    PreparedPage& page = (*this)[index];
    page.Objects = std::make_unique<TfrPage>();
    page.Objects->Objects = ReadPrintingForms(page.Stream);
}

void TfrEMFPages::StoreObjects(int index) {
    PreparedPage& page = (*this)[index];
    if (!page.Objects) return;
    std::vector<std::uint8_t> stream{kStreamVersion};
    for (const auto& object : page.Objects->Objects) WritePrintingForm(stream, *object, object->Memo);
    page.Stream = std::move(stream);
}

void TfrEMFPages::DrawPage(int index, Canvas& canvas, Canvas& scratch, const Rect& target) {
    PreparedPage& page = (*this)[index];
    if (!page.Visible) {
        page.Objects.reset();
        return;
    }
    if (!page.Objects) RebuildObjects(index);
    const double scaleX = page.Metrics.PageWidth > 0 ? static_cast<double>(target.Width()) / page.Metrics.PageWidth : 1;
    const double scaleY = page.Metrics.PageHeight > 0 ? static_cast<double>(target.Height()) / page.Metrics.PageHeight : 1;
    const DrawContext context{scaleX, scaleY, target.left, target.top, canvas.IsPrinter()};
    for (const auto& object : page.Objects->Objects) {
        if (!canvas.IsPrinter()) {
            const Rect around{RoundHalfEven(object->Left * scaleX) + target.left - 10,
                              RoundHalfEven(object->Top * scaleY) + target.top - 10,
                              RoundHalfEven((object->Left + object->Width) * scaleX) + target.left + 10,
                              RoundHalfEven((object->Top + object->Height) * scaleY) + target.top + 10};
            if (!canvas.RectVisible(around)) continue;
        }
        switch (object->Kind()) {
            case ObjectKind::Memo: DrawMemo(static_cast<const TfrMemoView&>(*object), canvas, scratch, context); break;
            case ObjectKind::Line: DrawLineView(static_cast<const TfrLineView&>(*object), canvas, context); break;
            case ObjectKind::Band:
            case ObjectKind::Picture:
            case ObjectKind::SubReport:
            case ObjectKind::AddIn: break;
        }
    }
    page.Objects.reset();
}

void TfrEMFPages::ExportPage(int index, const std::function<void(const TfrView&)>& visit) {
    RebuildObjects(index);
    for (const auto& object : (*this)[index].Objects->Objects) visit(*object);
    DropObjects(index);
}

}  // namespace quillon
