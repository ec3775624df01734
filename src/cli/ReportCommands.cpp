#include "cli/ReportCommands.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include "cli/AnalyseCommand.h"
#include "cli/CommandError.h"
#include "cli/ReportJson.h"
#include "cli/TemplateCommands.h"
#include "platform/QtReportLocale.h"
#include "platform/Regional.h"
#include "report/content/TemplateData.h"
#include "report/engine/FixedCanvas.h"
#include "report/export/ExportRun.h"
#include "report/export/RtfExport.h"
#include "report/format/TemplateStream.h"
#include "windows/report/ReportSurroundings.h"

namespace quillon {

int ReportFailure(QTextStream& err, const std::string& text) {
    // The engine breaks its messages' lines with carriage returns.
    QString message = MessageText(text);
    message.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return CommandError(err, ErrorKind::Failure, message.trimmed());
}

int LoadCommandReport(TfrReport& report, bool print, const AnalysisRequest& request, const ReportSource& source,
                      QTextStream& err) {
    RunResult loaded;
    if (request.templateFile) {
        const auto bytes = ReadTemplateFile(*request.templateFile, err);
        if (!bytes) return kExitFailure;
        loaded = report.LoadTemplate(StreamOf(*bytes), Now());
    } else {
        const auto stream = UnwrapReportForm(print ? PrintReportForm() : ExportReportForm());
        loaded =
            stream ? report.LoadTemplate(*stream, Now()) : RunResult::Failed("the carried template cannot be read");
    }
    if (loaded.IsFailed()) return ReportFailure(err, loaded.message);
    report.OnGetValue = [&source](const std::string& name, Value& value) {
        value = ToValue(GetReportValue(source, name));
    };
    report.Environment.now = [] { return Now(); };
    report.ShowProgress = false;
    return kExitOk;
}

namespace {

// "-o -": the file goes to standard output, as a command line's output does.
RunResult ExportToStandardOutput(TfrReport& report, TfrExportFilter& filter) {
    SafeSave save;
    if (auto error = save.OpenStandardOutput()) return RunResult::Failed(*error);
    return ExportToSave(report, filter, save);
}

}  // namespace

int RunPrepareCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err) {
    const QString which = arguments.Words().value(0);
    const bool print = which == QLatin1String("print");
    if (!print && which != QLatin1String("export")) {
        return CommandError(err, ErrorKind::Usage,
                            QStringLiteral("usage: quillon prepare print|export [OPTIONS] --json TEXT"));
    }
    AnalysisRequest request;
    if (const int code = ReadAnalysisRequest(arguments, 1, request, err); code != kExitOk) return code;
    CommandAnalysis analysis;
    if (const int code = Analyse(request, analysis, err); code != kExitOk) return code;

    TfrPrinter printer;
    TfrReport report(printer, print ? kPrintReportName : kExportReportName);
    if (const int code = LoadCommandReport(report, print, request, analysis.source, err); code != kExitOk) return code;
    // Text is measured with fixed metrics here, so the pages do not depend on the fonts installed.
    QtReportLocale locale;
    FixedCanvas scratch;
    report.Environment.locale = &locale;
    report.Environment.scratch = &scratch;
    if (const RunResult prepared = report.Prepare(); prepared.IsFailed()) return ReportFailure(err, prepared.message);
    const RunResult written = WritePreparedPagesJson(report, out);
    out.flush();
    if (written.IsFailed()) return ReportFailure(err, written.message);
    return kExitOk;
}

int RunExportCommand(const CommandArguments& arguments, QTextStream&, QTextStream& err) {
    AnalysisRequest request;
    if (const int code = ReadAnalysisRequest(arguments, 0, request, err); code != kExitOk) return code;
    if (!request.output) return CommandError(err, ErrorKind::Usage, QStringLiteral("export needs -o FILE"));
    CommandAnalysis analysis;
    if (const int code = Analyse(request, analysis, err); code != kExitOk) return code;

    // The Export button's pipeline: the export template prepared with the user's formats and
    // the window's fonts, written by an RTF writer with the window's settings.
    TfrPrinter printer;
    TfrReport report(printer, kExportReportName);
    if (const int code = LoadCommandReport(report, false, request, analysis.source, err); code != kExitOk) return code;
    // The window's regional formats and text measures (the command shows no progress window).
    ReportSurroundings surroundings;
    report.Environment = surroundings.Environment();
    if (const RunResult prepared = report.Prepare(); prepared.IsFailed()) return ReportFailure(err, prepared.message);
    TfrRTFExport writer;
    ConfigureAsExportButton(writer);
    const RunResult exported = *request.output == QLatin1String("-")
                                   ? ExportToStandardOutput(report, writer)
                                   : ExportToFile(report, writer, FileNameBytes(*request.output));
    if (exported.IsFailed()) return ReportFailure(err, exported.message);
    return kExitOk;
}

}  // namespace quillon
