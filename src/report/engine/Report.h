#pragma once
// The report component: its template, the prepared pages built from it, and the surroundings a
// run needs (the user's formats, a canvas to measure text on, the progress window, the clock).

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "report/engine/Canvas.h"
#include "report/engine/LayoutLimits.h"
#include "report/engine/PreparedPages.h"
#include "report/engine/Printer.h"
#include "report/engine/RunResult.h"
#include "report/engine/Values.h"
#include "report/format/Template.h"

namespace quillon {

struct TfrBand;

// The most pages a report is laid out on, unless the caller sets another limit. The analysis
// reports fill one; more than this comes only from a damaged template (a tall band split over
// pages with next to no room), and would fill a disk when exported or a printer's tray when
// printed.
inline constexpr int kMaxPreparedPages = 100000;

// The modal progress window of a run, as the engine sees it.
class ReportProgress {
public:
    virtual ~ReportProgress() = default;
    // Shows the window with its caption and first label and runs the job once it is visible;
    // returns false when the window was closed with Cancel (which also sets cancel).
    virtual bool Run(const std::string& caption, const std::string& firstLabel, const std::function<void()>& job,
                     bool& cancel) = 0;
    virtual void SetLabel(const std::string& text) = 0;
    // Lets pending window messages through, so that Cancel can take effect.
    virtual void ProcessEvents() = 0;
};

// What a run needs from its surroundings: the locale for values (none: fixed formats), a canvas
// to measure text on (none: fixed metrics), the progress window (none: the run goes without one)
// and the clock (none: the start of 1899-12-30).
struct ReportEnvironment {
    const ReportLocale* locale = nullptr;
    Canvas* scratch = nullptr;
    ReportProgress* progress = nullptr;
    std::function<DateTime()> now;
};

class TfrReport {
public:
    TfrReport(TfrPrinter& printer, std::string name) : Name(std::move(name)), printer_(printer) {}

    // The component's name, "frReport1" for instance.
    std::string Name;
    ReportTemplate Template;

    TfrPrinter& Printer() { return printer_; }

    // Replaces the template by the one in the stream (from its version byte on); the printer layer
    // takes the printer the template names and settles each page's paper. A stream that cannot be
    // read fails with "Unsupported FRF format", one whose geometry is out of bounds with "The
    // template is damaged: ..." (ReadTemplate).
    RunResult LoadTemplate(std::span<const std::uint8_t> stream, DateTime now);
    // The template as a stream, with the current printer and now as its last change.
    std::vector<std::uint8_t> SaveTemplate(DateTime now) const;

    // Builds the prepared pages from the template. Cancelled when the user cancels in the progress
    // window (the pages built so far stay); failed when an object's value cannot be worked out,
    // with the error box's message, when the template is too large (OversizedTemplate) or its
    // geometry damaged (DamagedGeometry), or when it passes MaxPages, MaxLines, MaxBytes or
    // MaxValues, and then no pages are left. The template is the same afterwards.
    RunResult Prepare();

    TfrEMFPages EMFPages;
    ReportEnvironment Environment;

    bool ShowProgress = true;
    // More pages than this fail the run as a damaged template; more lines or bytes on the pages,
    // or more values worked out, than these (LayoutLimits.h) as a template too large to lay out.
    int MaxPages = kMaxPreparedPages;
    std::size_t MaxLines = kMaxPreparedLines;
    std::size_t MaxBytes = kMaxPreparedBytes;
    std::size_t MaxValues = kMaxValuesWorkedOut;
    std::string Title;
    // Settings of the print run.
    bool PrintIfEmpty = true;
    int DefaultCopies = 1;
    bool DefaultCollate = true;
    bool ShowPrintDialog = true;
    bool RebuildPrinter = false;

    // Events, each used only when set.
    std::function<void(const std::string& name, Value& value)> OnGetValue;
    std::function<void()> OnBeginDoc;
    std::function<void()> OnEndDoc;
    std::function<void(int page)> OnBeginPage;
    std::function<void(int page)> OnEndPage;
    std::function<void(const TfrBand& band)> OnBeginBand;
    std::function<void(const TfrBand& band)> OnEndBand;
    std::function<void(int page)> OnProgress;
    // May change the copy of the text; a changed copy is output as it is.
    std::function<void(std::vector<std::string>& text, const TfrView& view)> OnBeforePrint;
    // Replaces the standard band walk of a page.
    std::function<void(TfrPage& page)> OnManualBuild;

    // The progress window's caption: "Preparing report", with " - " and the title when there is one.
    std::string ProgressCaption() const;
    // Whether a run shows the progress window: it has one, ShowProgress is on and no OnProgress
    // handler takes the reports instead.
    bool UsesProgressWindow() const { return ShowProgress && !OnProgress && Environment.progress; }
    // Reports progress: to OnProgress with the page number, or as the progress window's first
    // label; then lets pending messages through so that Cancel is heard.
    void Progress(int page, const std::string& label);

private:
    TfrPrinter& printer_;
};

}  // namespace quillon
