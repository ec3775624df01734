#pragma once
// The two report layouts of the analysis window, described in code: the print template of
// frReport1 and the export template of frReport2. The build turns them into the stored streams
// the program carries (see TemplateData.h); the program itself only loads those streams.

#include "report/format/Template.h"

namespace quillon {

// The network printer both templates name; no installed printer bears it, so loading them leaves
// the current printer in use.
inline constexpr const char* kTemplatePrinterName = "\\\\OFFICE\\HP LaserJet 4050";

ReportTemplate PrintTemplate();
ReportTemplate ExportTemplate();

}  // namespace quillon
