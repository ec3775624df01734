#include "cli/PrintCommands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include "cli/AnalyseCommand.h"
#include "cli/CommandError.h"
#include "cli/Options.h"
#include "cli/ReportCommands.h"
#include "platform/QtPrinterDriver.h"
#include "report/content/TemplateData.h"
#include "report/engine/PrintRun.h"
#include "windows/report/ReportSurroundings.h"

namespace quillon {
namespace {

constexpr char kNoPrinter[] = "No printer is installed.";

}  // namespace

int RunPrintersCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err) {
    if (!arguments.Words().isEmpty()) {
        return CommandError(err, ErrorKind::Usage, QStringLiteral("printers takes no text"));
    }
    const bool json = arguments.IsSet(kJsonOption);

    QtPrinterDriver driver;
    const std::vector<std::string> names = driver.PrinterNames();
    // A script reading JSON gets JSON also when there is no printer; people get the message.
    if (names.empty() && !json) {
        CommandNote(err, QString::fromLatin1(kNoPrinter));
        return kExitOk;
    }
    const auto fallback = driver.DefaultPrinter();
    // The program starts on the default printer, as the window does.
    if (json) {
        QJsonArray printers;
        for (const std::string& name : names) {
            printers.append(QJsonObject{{"name", QString::fromStdString(name)}, {"default", fallback == name}});
        }
        const QJsonValue current =
            fallback ? QJsonValue(QString::fromStdString(*fallback)) : QJsonValue(QJsonValue::Null);
        out << QJsonDocument(QJsonObject{{"printers", printers}, {"current", current}}).toJson(QJsonDocument::Indented);
    } else {
        for (const std::string& name : names)
            out << (fallback == name ? "* " : "  ") << QString::fromStdString(name) << "\n";
    }
    out.flush();
    return kExitOk;
}

int RunPrintCommand(const CommandArguments& arguments, QTextStream&, QTextStream& err) {
    AnalysisRequest request;
    if (const int code = ReadAnalysisRequest(arguments, 0, request, err); code != kExitOk) return code;
    if (arguments.IsSet(kOddOption) && arguments.IsSet(kEvenOption)) {
        return CommandError(err, ErrorKind::Usage, QStringLiteral("--odd and --even exclude each other"));
    }
    // The dialog prints one copy for a count below one; a command asks for what it means. (What is
    // no number, or too many, is said as the dialog says it.)
    if (arguments.IsSet(kCopiesOption)) {
        bool number = false;
        const long long copies = arguments.Value(kCopiesOption).toLongLong(&number);
        if (number && copies < 1) {
            return CommandError(err, ErrorKind::Usage,
                                QStringLiteral("--copies takes a number from 1 to %1, not \"%2\"")
                                    .arg(kMaxCopies)
                                    .arg(arguments.Value(kCopiesOption)));
        }
    }
    CommandAnalysis analysis;
    if (const int code = Analyse(request, analysis, err); code != kExitOk) return code;

    QtPrinterDriver driver;
    TfrPrinter printer(driver);
    const bool toPdf = arguments.IsSet(kPdfOption);
    int chosen = -1;
    if (arguments.IsSet(kPrinterOption)) {
        chosen = printer.IndexOf(arguments.Value(kPrinterOption).toStdString());
        if (chosen < 0) {
            return CommandError(err, ErrorKind::Usage,
                                QStringLiteral("no printer is named \"%1\"").arg(arguments.Value(kPrinterOption)));
        }
        printer.SelectPrinter(chosen);
    } else if (!toPdf && !printer.HasInstalledPrinters()) {
        return CommandError(err, ErrorKind::Failure, QString::fromLatin1(kNoPrinter));
    } else if (!toPdf && !driver.DefaultPrinter()) {
        // The window would start on the first printer; a command does not guess.
        QStringList installed;
        for (const std::string& name : driver.PrinterNames()) installed << QString::fromStdString(name);
        return CommandError(err, ErrorKind::Failure,
                            QStringLiteral("There is no default printer; choose one with --printer (installed: %1)")
                                .arg(installed.join(QStringLiteral(", "))));
    }

    TfrReport report(printer, kPrintReportName);
    if (const int code = LoadCommandReport(report, true, request, analysis.source, err); code != kExitOk) return code;
    if (chosen >= 0) {
        // The printer asked for wins over the one the template names.
        report.Template.PrintToDefault = true;
        printer.SelectPrinter(chosen);
        for (TfrPage& page : report.Template.Pages) printer.ApplyPaperTo(page);
    }
    // The window's regional formats and text measures (the command shows no progress window).
    ReportSurroundings surroundings;
    report.Environment = surroundings.Environment();
    if (const RunResult prepared = report.Prepare(); prepared.IsFailed()) return ReportFailure(err, prepared.message);

    PrintRequest print;
    print.pages = arguments.Value(kPagesOption).toStdString();
    print.copies = arguments.IsSet(kCopiesOption) ? arguments.Value(kCopiesOption).toStdString() : std::string("1");
    print.collate = !arguments.IsSet(kNoCollateOption);
    print.parity = arguments.IsSet(kOddOption)    ? PrintParity::Odd
                   : arguments.IsSet(kEvenOption) ? PrintParity::Even
                                                  : PrintParity::All;
    const std::optional<std::string> pdfFile =
        toPdf ? std::optional(FileNameBytes(arguments.FileValue(kPdfOption))) : std::nullopt;
    if (const RunResult printed = PrintPages(report, print, pdfFile); printed.IsFailed()) {
        return ReportFailure(err, printed.message);
    }
    return kExitOk;
}

}  // namespace quillon
