#pragma once
// A report template as its stream holds it: the header, the pages with their objects, the
// template variable list and the report information block.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/format/DateTime.h"
#include "report/format/Page.h"

namespace quillon {

// The format version this program reads and writes; also the first byte of a prepared page's
// object stream.
inline constexpr std::uint8_t kStreamVersion = 25;

// The printer name that stands for the virtual printer.
inline constexpr std::string_view kVirtualPrinterMarker = "\x01";

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
    // The printer the template asks for; kVirtualPrinterMarker stands for the virtual printer.
    std::string PrinterName;
    std::vector<TfrPage> Pages;
    TemplateVariables Variables;
    ReportInfo Info;
};

// Compares two names as the template does: ASCII letters without regard to case, every other
// byte exactly.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace quillon
