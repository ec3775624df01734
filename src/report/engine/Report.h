#pragma once
// The report component: its template (pages with their objects, the template variables, the
// report information) and the loading and saving of that template in the report stream format.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <functional>

#include "report/engine/Canvas.h"
#include "report/engine/Page.h"
#include "report/engine/PreparedPages.h"
#include "report/engine/Printer.h"
#include "report/engine/Values.h"

namespace quillon {

struct TemplateVariable {
    std::string Name;
    std::string Value;  // an expression; empty gives an empty text
    friend bool operator==(const TemplateVariable&, const TemplateVariable&) = default;
};

struct TemplateVariables {
    // Variables in list order; a name that begins with a blank is a category heading.
    std::vector<TemplateVariable> Variables;
    std::vector<TemplateVariable> FieldAliases;
    std::vector<TemplateVariable> BandDataSources;

    // The variable of that name, compared without regard to case; headings are not variables.
    const TemplateVariable* Find(std::string_view name) const;
    void Clear();
};

// Dates are days since 1899-12-30 with the time of day as the fraction.
using DateTime = double;

struct ReportInfo {
    std::string Comment, Name, Author;
    std::string VersionMajor, VersionMinor, VersionRelease, VersionBuild;
    std::string Password;  // the password's bytes
    std::uint8_t Protection = 0;
    DateTime Created = 0;
    DateTime LastChange = 0;
};

struct ReportTemplate {
    bool PrintToDefault = false;
    bool DoublePassReport = false;
    // The printer the template asks for; "\x01" stands for the virtual printer.
    std::string PrinterName;
    std::vector<TfrPage> Pages;
    TemplateVariables Variables;
    ReportInfo Info;
};

inline constexpr std::string_view kVirtualPrinterMarker = "\x01";

// Days since 1899-12-30 for a calendar date and time of day.
DateTime ToDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// A band of a template page during a run (see Prepare).
struct TfrBand;
class TfrExportFilter;

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

// What a run needs from its surroundings: the locale for values, a canvas to measure text on,
// the progress window (none: the run goes without one) and the clock.
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

    // Replaces the template by the one in the stream (from its version byte on). A stream that
    // cannot be read is reported in a message box captioned "Error"; returns whether it was read.
    bool LoadTemplate(std::span<const std::uint8_t> stream, DateTime now);
    // The template as a stream, with now as its last change.
    std::vector<std::uint8_t> SaveTemplate(DateTime now) const;

    // Builds the prepared pages from the template; true when pages were built and not
    // cancelled. An error inside an object is shown at the end in a box captioned "Error" and
    // leaves no pages. The template is the same afterwards.
    bool Prepare();

    // Writes the prepared pages to a file through an export filter. The file is written beside
    // the target under a temporary name and takes the target's name only when it is complete,
    // so a failed export leaves an earlier file as it was; failures are shown in the error box.
    // Returns whether the file was written.
    bool ExportToFile(TfrExportFilter& filter, const std::string& fileName);

    TfrEMFPages EMFPages;
    ReportEnvironment Environment;

    bool ShowProgress = true;
    std::string Title;
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

    // The error text of the last run, empty when it went well.
    const std::string& LastError() const { return lastError_; }

private:
    TfrPrinter& printer_;
    std::string lastError_;
};

}  // namespace quillon
