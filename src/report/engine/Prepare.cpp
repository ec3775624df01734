// Preparation of a report: the page walk, bands shown from top to bottom with new columns and
// pages as they fill, page footers, and every object output with its final text into the
// prepared pages.

#include <algorithm>
#include <memory>

#include "report/engine/Bands.h"
#include "report/engine/Drawing.h"
#include "report/engine/Expression.h"
#include "report/engine/FixedCanvas.h"
#include "report/engine/NameLookup.h"
#include "report/engine/ObjectOutput.h"
#include "report/engine/Report.h"
#include "report/engine/SplitBand.h"
#include "report/format/TemplateGeometry.h"
#include "report/format/TemplateStream.h"

namespace quillon {
namespace {

constexpr char kProcessingLabel[] = "Processing page:  ";
constexpr char kFirstPassLabel[] = "Performing 1st pass:  ";

class ReportRun {
public:
    ReportRun(TfrReport& report, const ReportLocale& locale, Canvas& scratch, DateTime startedAt)
        : report_(report),
          scratch_(scratch),
          lookup_(report.OnGetValue, report.Template, place_, locale, scratch, startedAt),
          output_(report, lookup_, place_) {}

    bool cancel = false;
    // The error box's message after an error inside an object.
    std::string error;

    void Walk();

private:
    void BuildPage(TfrPage& page, PageBands& bands);
    void SetEdges(const TfrPage& page, const PageBands& bands);
    void AddPage();
    void FooterPass();
    void NewColumnOrPage();
    void NewPage();
    int ColumnFooterHeight() const;

    void ShowBand(TfrBand* band);
    void Show(BandType type) { ShowBand(bands_->First(type)); }
    std::int64_t StretchedHeight(TfrBand& band);
    void DrawBandObjects(TfrBand& band);
    void DrawSplitBand(TfrBand& band, int height);

    // Runs the output of objects; an error inside one is recorded and ends the run.
    template <typename Output>
    bool Guarded(Output&& output) {
        try {
            output();
            return true;
        } catch (const ReportError& failure) {
            error = CalculationErrorMessage(place_.object, report_.Name, failure.what());
            cancel = true;
            return false;
        }
    }

    TfrReport& report_;
    Canvas& scratch_;
    RunPlace place_;
    NameLookup lookup_;
    ObjectOutput output_;

    PageBands* bands_ = nullptr;
    bool continueOnSamePage_ = false;
    // Positions on the page, in 64 bits as the run's place.
    std::int64_t left_ = 0, top_ = 0, bottom_ = 0;
    std::int64_t xOffset_ = 0;
    std::int64_t savedY_ = 0, savedBottom_ = 0;
    int columns_ = 1;
    std::int64_t columnWidth_ = 0, columnGap_ = 0;
    // Where a new column starts: the top of the page, or below the column header.
    std::int64_t columnStart_ = 0;
    bool ignoreColumnFooter_ = false;
};

void ReportRun::Walk() {
    // A second pass starts where the first did.
    place_.pageCounter = 0;
    continueOnSamePage_ = false;
    if (report_.Environment.progress) report_.Environment.progress->ProcessEvents();
    auto& pages = report_.Template.Pages;
    std::vector<PageBands> bands(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (pages[i].Type == 0) bands[i] = PlaceObjects(pages[i]);
    }
    auto progress = [this](int page) { report_.Progress(page, kProcessingLabel + std::to_string(page)); };
    progress(place_.pageCounter + 1);
    for (std::size_t i = 0; i < pages.size() && !cancel; ++i) {
        TfrPage& page = pages[i];
        if (page.Type != 0 || page.Skip || !page.Visible) continue;
        BuildPage(page, bands[i]);
        // A following page that continues this one goes on on the same prepared page.
        if (i + 1 < pages.size() && pages[i + 1].PrintToPrevPage) {
            --place_.pageCounter;
            continueOnSamePage_ = true;
        } else {
            place_.pageCounter = report_.EMFPages.Count();
            progress(place_.pageCounter);
        }
    }
    progress(place_.pageCounter);
}

void ReportRun::SetEdges(const TfrPage& page, const PageBands& bands) {
    const PageMetrics& m = page.Metrics;
    std::int64_t right = m.PageWidth;
    if (page.UseMargins) {
        left_ = page.LeftMargin ? page.LeftMargin : m.OffsetX;
        top_ = page.TopMargin ? page.TopMargin : m.OffsetY;
        right = page.RightMargin ? std::int64_t{m.PageWidth} - page.RightMargin
                                 : std::int64_t{m.OffsetX} + m.PrintableWidth;
        bottom_ = page.BottomMargin ? std::int64_t{m.PageHeight} - page.BottomMargin
                                    : std::int64_t{m.OffsetY} + m.PrintableHeight;
    } else {
        left_ = top_ = 0;
        bottom_ = m.PageHeight;
    }
    if (const TfrBand* footer = bands.First(BandType::PageFooter)) bottom_ -= footer->Height;
    place_.rightEdge = right;
    columns_ = std::max(1, page.Columns);
    columnGap_ = page.ColumnGap;
    columnWidth_ = (right - left_ - (columns_ - 1) * columnGap_) / columns_;
}

void ReportRun::AddPage() {
    if (report_.EMFPages.Count() >= report_.MaxPages) {
        if (error.empty()) {
            error = kDamagedTemplate + ("it lays out more than " + std::to_string(report_.MaxPages) + " pages");
        }
        cancel = true;
        return;
    }
    report_.EMFPages.Add(*place_.page);
    if (report_.OnBeginPage) report_.OnBeginPage(place_.pageCounter);
}

void ReportRun::BuildPage(TfrPage& page, PageBands& bands) {
    place_.page = &page;
    bands_ = &bands;
    SetEdges(page, bands);
    if (continueOnSamePage_) {
        place_.curY = savedY_;
        place_.curBottom = savedBottom_;
    } else {
        place_.curBottom = bottom_;
    }
    place_.column = 0;
    xOffset_ = left_;
    if (!continueOnSamePage_) {
        AddPage();
        place_.curY = columnStart_ = top_;
        Show(BandType::Overlay);
        Show(BandType::None);
    }
    continueOnSamePage_ = false;
    if (report_.OnManualBuild) {
        report_.OnManualBuild(page);
    } else {
        const int pagesBefore = report_.EMFPages.Count();
        Show(BandType::ReportTitle);
        if (report_.EMFPages.Count() == pagesBefore) {
            TfrBand* header = bands.First(BandType::PageHeader);
            if (header && header->Has(kBandOnFirstPage)) ShowBand(header);
            Show(BandType::ColumnHeader);
        }
    }
    // Closing the page: the column footer, then the summary with the column footer counted as 0.
    Show(BandType::ColumnFooter);
    ignoreColumnFooter_ = true;
    Show(BandType::ReportSummary);
    ignoreColumnFooter_ = false;
    savedY_ = place_.curY;
    savedBottom_ = place_.curBottom;

    TfrBand* footer = bands.First(BandType::PageFooter);
    if (footer && ((place_.pageCounter == 0 && footer->Has(kBandOnFirstPage)) || footer->Has(kBandOnLastPage))) {
        // The footers of every page finished so far, this last one included.
        const std::uint16_t flags = footer->Flags;
        footer->Flags |= kBandOnFirstPage;
        FooterPass();
        footer->Flags = flags;
    }
    if (report_.OnEndPage) report_.OnEndPage(place_.pageCounter);
    ++place_.pageCounter;
}

int ReportRun::ColumnFooterHeight() const {
    if (ignoreColumnFooter_) return 0;
    const TfrBand* footer = bands_->First(BandType::ColumnFooter);
    return footer ? footer->Height : 0;
}

void ReportRun::FooterPass() {
    place_.column = 0;
    xOffset_ = left_;
    TfrBand* footer = bands_->First(BandType::PageFooter);
    if (footer && (place_.pageCounter != 0 || footer->Has(kBandOnFirstPage))) {
        for (; place_.pageCounter < report_.EMFPages.Count(); ++place_.pageCounter) {
            if (report_.OnEndPage) report_.OnEndPage(place_.pageCounter);
            ShowBand(footer);
        }
    }
    place_.pageCounter = report_.EMFPages.Count();
}

void ReportRun::NewColumnOrPage() {
    if (place_.column + 1 < columns_) {
        Show(BandType::ColumnFooter);
        ++place_.column;
        xOffset_ += columnWidth_ + columnGap_;
        place_.curY = columnStart_;
        Show(BandType::ColumnHeader);
    } else {
        NewPage();
    }
}

void ReportRun::NewPage() {
    report_.Progress(place_.pageCounter + 1, kProcessingLabel + std::to_string(place_.pageCounter + 1));
    Show(BandType::ColumnFooter);
    FooterPass();
    place_.curBottom = bottom_;
    AddPage();
    continueOnSamePage_ = false;
    place_.column = 0;
    xOffset_ = left_;
    Show(BandType::Overlay);
    place_.curY = columnStart_ = top_;
    Show(BandType::PageHeader);
    Show(BandType::ColumnHeader);
}

// A band is shown with the chain of its child bands: each child after its parent's objects and
// before its parent's end (the new page the parent asks for, OnEndBand). The chain is walked in a
// loop rather than by recursion, so that a long one cannot exhaust the stack, and a band that is
// being shown already is not shown again from within: a chain that loops back, or a header that
// does not fit on the very page it started, would otherwise start pages without end.
void ReportRun::ShowBand(TfrBand* first) {
    struct Shown {
        TfrBand* band;
        bool newPageAfter;
    };
    std::vector<Shown> shown;
    for (TfrBand* band = first; band && !cancel && !band->Showing;) {
        band->Showing = true;
        shown.push_back({band, false});
        band->ComputedHeight = -1;
        if (report_.OnBeginBand) report_.OnBeginBand(*band);
        TfrBand* child = nullptr;
        if (!band->Visible) {
            if (band->Has(kBandPrintChildIfInvisible)) child = band->Child;
        } else {
            if (band->Type == BandType::ColumnHeader) columnStart_ = place_.curY;
            if (band->Type == BandType::PageFooter) band->Top = SaturatedInt(place_.curBottom);
            if (band->Exists()) {
                band->ComputedHeight = std::max(band->ComputedHeight, band->Height);
                if (!KeepsItsPlace(band->Type)) {
                    const std::int64_t needed = band->Has(kBandStretched) ? StretchedHeight(*band) : band->Height;
                    band->ComputedHeight = SaturatedInt(needed);
                    if (place_.curY + needed > place_.curBottom && !band->Splitting) {
                        // A band that fits on an empty page moves there; one taller than a page is split.
                        if (place_.curBottom - top_ >= needed || place_.curY != top_) {
                            NewColumnOrPage();
                        } else {
                            band->Splitting = true;
                        }
                    }
                }
                DrawBandObjects(*band);
                band->Splitting = false;
                child = band->Child;
                shown.back().newPageAfter = !IsDataBand(band->Type) && band->Has(kBandFormNewPage);
            }
        }
        band = child;
    }
    for (auto at = shown.rbegin(); at != shown.rend(); ++at) {
        if (at->newPageAfter) NewPage();
        if (report_.OnEndBand) report_.OnEndBand(*at->band);
        at->band->Showing = false;
    }
}

std::int64_t ReportRun::StretchedHeight(TfrBand& band) {
    std::int64_t needed = band.Height;
    Guarded([&] {
        for (TfrView* object : band.Objects) {
            if (object->Kind() != ObjectKind::Memo) continue;
            auto& memo = static_cast<TfrMemoView&>(*object);
            TfrMemoView measured = memo;
            measured.Memo = output_.ExpandedText(memo);
            needed = std::max(needed, std::int64_t{memo.Top} + MemoTextHeight(measured, scratch_));
            output_.KeepExpanded(memo, std::move(measured.Memo));
        }
    });
    return needed;
}

void ReportRun::DrawBandObjects(TfrBand& band) {
    const std::int64_t dx = xOffset_ - left_;
    if (band.Type == BandType::PageFooter || band.Type == BandType::Overlay || band.Type == BandType::None) {
        const std::int64_t top =
            band.Type == BandType::PageFooter ? place_.curBottom : band.Type == BandType::Overlay ? band.Top : 0;
        Guarded([&] {
            for (TfrView* object : band.Objects) output_.Output(*object, dx, top);
        });
        return;
    }
    const int height = std::max(band.ComputedHeight, band.Height);
    if (band.Splitting) {
        DrawSplitBand(band, height);
        return;
    }
    if (place_.curBottom < place_.curY + height + ColumnFooterHeight() && place_.curY != top_) NewColumnOrPage();
    const std::int64_t top = place_.curY;
    Guarded([&] {
        for (TfrView* object : band.Objects) output_.Output(*object, dx, top);
    });
    place_.curY += height;
}

// A band taller than the page goes on over as many pages as it needs: each page takes the memo
// lines that fit whole, and the other objects whose top lies within its part of the band.
void ReportRun::DrawSplitBand(TfrBand& band, int height) {
    std::vector<SplitPiece> pieces;
    std::vector<WrappedMemo> wrapped(band.Objects.size());
    // Each memo's part on a page is a copy of the memo with that page's lines; the copy is made
    // from a memo without text, so that a page costs its own lines and not the whole memo's.
    std::vector<std::unique_ptr<TfrMemoView>> bare(band.Objects.size());
    const bool expanded = Guarded([&] {
        for (std::size_t i = 0; i < band.Objects.size(); ++i) {
            TfrView& object = *band.Objects[i];
            SplitPiece piece{object.Top, 1, 0};
            if (object.Kind() == ObjectKind::Memo) {
                auto& memo = static_cast<TfrMemoView&>(object);
                bare[i] = std::make_unique<TfrMemoView>(memo);
                bare[i]->Memo = output_.ExpandedText(memo);
                wrapped[i] = WrapMemo(*bare[i], scratch_);
                bare[i]->Memo.clear();
                piece.lineHeight = wrapped[i].lineHeight;
                piece.lines = wrapped[i].lines.size();
            }
            pieces.push_back(piece);
        }
    });
    if (!expanded) return;

    BandSplitter splitter(std::move(pieces), height);
    bool newPage = false;
    while (!splitter.Done() && !cancel) {
        const std::int64_t available = place_.curBottom - place_.curY;
        if (available <= 0) {
            // A page with no room at all takes no part, nor does a new one whose headers fill it:
            // every page after it would be the same.
            if (place_.curBottom - top_ <= 0 || newPage) break;
            NewPage();
            newPage = true;
            continue;
        }
        newPage = false;
        const SplitPart part = splitter.Next(available, place_.curY == top_);
        const std::int64_t dx = xOffset_ - left_, dy = place_.curY - part.from;
        const bool drawn = Guarded([&] {
            for (const SplitOutput& piece : part.outputs) {
                TfrView& object = *band.Objects[piece.piece];
                place_.object = &object;
                if (piece.lineCount == 0) {
                    output_.OutputAsIs(object, dx, dy, object.Memo);
                    continue;
                }
                // The lines of this part are drawn as a memo of their own.
                const TfrMemoView& memo = *bare[piece.piece];
                const auto& lines = wrapped[piece.piece].lines;
                TfrMemoView partMemo = memo;
                partMemo.Memo.assign(lines.begin() + static_cast<std::ptrdiff_t>(piece.firstLine),
                                     lines.begin() + static_cast<std::ptrdiff_t>(piece.firstLine + piece.lineCount));
                partMemo.Top = SaturatedInt(piece.partTop);
                const std::int64_t lineHeight = wrapped[piece.piece].lineHeight;
                partMemo.Height =
                    SaturatedInt(static_cast<std::int64_t>(piece.lineCount) * lineHeight + 2 * std::int64_t{memo.GapY});
                output_.OutputAsIs(partMemo, dx, dy, partMemo.Memo);
            }
        });
        if (!drawn) return;
        place_.curY += part.to - part.from;
        if (!splitter.Done()) {
            NewPage();
            newPage = true;
        }
    }
}

}  // namespace

RunResult TfrReport::Prepare() {
    // A template whose geometry is far out of bounds is not laid out at all.
    if (auto damage = DamagedGeometry(Template)) {
        EMFPages.Clear();
        return RunResult::Failed(*damage);
    }
    printer_.SelectNamedPrinter(Template);
    const DateTime now = Environment.now ? Environment.now() : 0;
    static const FixedReportLocale fixedLocale;
    FixedCanvas fixedCanvas;
    const ReportLocale& locale = Environment.locale ? *Environment.locale : fixedLocale;
    Canvas& scratch = Environment.scratch ? *Environment.scratch : fixedCanvas;

    // The copy keeps the template exactly, its printer name and change time included.
    const std::vector<std::uint8_t> saved = WriteTemplate(Template, Template.PrinterName, Template.Info.LastChange);
    ReportRun run(*this, locale, scratch, now);

    if (OnBeginDoc) OnBeginDoc();
    EMFPages.Clear();
    bool finished = true;
    if (!UsesProgressWindow()) {
        run.Walk();
    } else {
        // Two passes when asked for; the first only counts the pages.
        if (Template.DoublePassReport) {
            Environment.progress->Run(ProgressCaption(), kFirstPassLabel + std::string("1"), [&] { run.Walk(); }, run.cancel);
            EMFPages.Clear();
        }
        finished = Environment.progress->Run(ProgressCaption(), kProcessingLabel + std::string("1"), [&] { run.Walk(); },
                                             run.cancel);
    }
    if (OnEndDoc) OnEndDoc();

    // Whatever the run changed in the template goes: the template returns from its copy.
    LoadTemplate(saved, now);
    if (!run.error.empty()) {
        EMFPages.Clear();
        return RunResult::Failed(run.error);
    }
    return finished && !run.cancel ? RunResult::Done() : RunResult::Cancelled();
}

}  // namespace quillon
