#pragma once
// The export run of a report: its prepared pages fed page by page and object by object to an export
// filter, with progress. A memo hands each line it would paint to the filter instead.

#include <string>

#include "common/SafeSave.h"
#include "report/engine/Report.h"
#include "report/export/ExportFilter.h"

namespace quillon {

// Exports into a file that is saved safely: an earlier file is replaced only by a complete one.
// Fails with "Cannot create file <name>" or "Stream write error"; a filter whose ConfirmOptions
// does not answer 1 cancels the export before any file is made. A cancel in the progress window
// still ends the document, so the file is complete for the pages exported.
RunResult ExportToFile(TfrReport& report, TfrExportFilter& filter, const std::string& fileName);

// The same into a save the caller has opened (standard output, say), which is committed when the
// export did not fail.
RunResult ExportToSave(TfrReport& report, TfrExportFilter& filter, SafeSave& save);

// The same into a stream of the caller's (memory, say); a write the stream refuses fails it.
RunResult ExportToStream(TfrReport& report, TfrExportFilter& filter, ExportStream& stream);

}  // namespace quillon
