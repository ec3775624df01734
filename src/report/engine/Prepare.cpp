// Preparation of a report: the page walk, bands shown from top to bottom with new columns and
// pages as they fill, and page footers. The objects of the bands are put out in PrepareObjects.cpp.

#include <algorithm>

#include "report/engine/Bands.h"
#include "report/engine/Expression.h"
#include "report/engine/FixedCanvas.h"
#include "report/engine/NameLookup.h"
#include "report/engine/ObjectOutput.h"
#include "report/engine/Report.h"
#include "report/engine/ReportRun.h"
#include "report/format/TemplateGeometry.h"
#include "report/format/TemplateLimits.h"
#include "report/format/TemplateStream.h"

namespace quillon {
namespace {

constexpr char kProcessingLabel[] = "Processing page:  ";
constexpr char kFirstPassLabel[] = "Performing 1st pass:  ";

}  // namespace

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

RunResult TfrReport::Prepare() {
    // A template too large, or whose geometry is far out of bounds, is not laid out at all.
    auto refused = OversizedTemplate(Template);
    if (!refused) refused = DamagedGeometry(Template);
    if (refused) {
        EMFPages.Clear();
        return RunResult::Failed(*refused);
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
            Environment.progress->Run(
                ProgressCaption(), kFirstPassLabel + std::string("1"), [&] { run.Walk(); }, run.cancel);
            EMFPages.Clear();
        }
        finished = Environment.progress->Run(
            ProgressCaption(), kProcessingLabel + std::string("1"), [&] { run.Walk(); }, run.cancel);
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
