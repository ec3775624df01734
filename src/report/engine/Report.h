#pragma once
// The report component: its template (pages with their objects, the template variables, the
// report information) and the loading and saving of that template in the report stream format.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "report/engine/Page.h"
#include "report/engine/Printer.h"

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

private:
    TfrPrinter& printer_;
};

}  // namespace quillon
