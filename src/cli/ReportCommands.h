#pragma once
// The report commands: "quillon prepare print|export [OPTIONS] --json TEXT" prepares one of the
// two reports for the state the window would have and prints the prepared pages as JSON;
// "quillon export [OPTIONS] -o FILE TEXT" writes the RTF file the Export button writes.

#include <QStringList>
#include <string>

#include "cli/AnalyseCommand.h"
#include "report/engine/Report.h"

class QTextStream;

namespace quillon {
class CommandArguments;
}

namespace quillon {

// Loads the report's template (the carried print or export template, or the --template file),
// answers its names from the analysis and runs it without a progress window; returns an exit code.
int LoadCommandReport(TfrReport& report, bool print, const AnalysisRequest& request, const ReportSource& source,
                      QTextStream& err);
// An engine failure as one message on err (its line breaks kept), exit code 1.
int ReportFailure(QTextStream& err, const std::string& text);

int RunPrepareCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err);
// Needs a QGuiApplication: text is measured with the fonts the window uses.
int RunExportCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err);

}  // namespace quillon
