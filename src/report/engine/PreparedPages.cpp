#include "report/engine/PreparedPages.h"

#include "report/engine/Drawing.h"
#include "report/format/PrintingForm.h"
#include "report/format/Template.h"

namespace quillon {

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
    bytes_ += 1;
}

void TfrEMFPages::AppendObject(int index, const TfrView& view, const std::vector<std::string>& text,
                               std::size_t lines) {
    std::vector<std::uint8_t>& stream = (*this)[index].Stream;
    const std::size_t before = stream.size();
    WritePrintingForm(stream, view, text);
    bytes_ += stream.size() - before;
    lines_ += lines;
}

RunResult TfrEMFPages::RebuildObjects(int index) {
    PreparedPage& page = (*this)[index];
    auto objects = ReadPrintingForms(page.Stream);
    if (!objects) {
        page.Objects.reset();
        return RunResult::Failed("The prepared page " + std::to_string(index + 1) + " is damaged");
    }
    page.Objects = std::make_unique<TfrPage>();
    page.Objects->Objects = std::move(*objects);
    return RunResult::Done();
}

RunResult TfrEMFPages::DrawPage(int index, Canvas& canvas, Canvas& scratch, const Rect& target) {
    PreparedPage& page = (*this)[index];
    if (!page.Visible) {
        page.Objects.reset();
        return RunResult::Done();
    }
    if (!page.Objects) {
        if (RunResult rebuilt = RebuildObjects(index); !rebuilt.IsDone()) return rebuilt;
    }
    const double scaleX = page.Metrics.PageWidth > 0 ? static_cast<double>(target.Width()) / page.Metrics.PageWidth : 1;
    const double scaleY =
        page.Metrics.PageHeight > 0 ? static_cast<double>(target.Height()) / page.Metrics.PageHeight : 1;
    const DrawContext context{scaleX, scaleY, target.left, target.top, canvas.IsPrinter()};
    // Objects well outside what the canvas shows are passed over; a printer draws them all.
    constexpr int kVisibleSlack = 10;
    for (const auto& object : page.Objects->Objects) {
        if (!canvas.IsPrinter()) {
            auto at = [](double scaled, int targetEdge, int slack) {
                return SaturatedInt(std::int64_t{RoundHalfEven(scaled)} + targetEdge + slack);
            };
            const double right = static_cast<double>(object->Left) + object->Width;
            const double bottom = static_cast<double>(object->Top) + object->Height;
            const Rect around{at(object->Left * scaleX, target.left, -kVisibleSlack),
                              at(object->Top * scaleY, target.top, -kVisibleSlack),
                              at(right * scaleX, target.left, kVisibleSlack),
                              at(bottom * scaleY, target.top, kVisibleSlack)};
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
    return RunResult::Done();
}

RunResult TfrEMFPages::ExportPage(int index, const std::function<void(const TfrView&)>& visit) {
    if (RunResult rebuilt = RebuildObjects(index); !rebuilt.IsDone()) return rebuilt;
    for (const auto& object : (*this)[index].Objects->Objects) visit(*object);
    DropObjects(index);
    return RunResult::Done();
}

}  // namespace quillon
