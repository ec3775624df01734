#include "cli/PrintCommands.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include "cli/AnalyseCommand.h"
#include "cli/CommandLine.h"
#include "cli/ReportCommands.h"
#include "platform/QtPrinterDriver.h"
#include "windows/report/ReportSurroundings.h"
#include "report/engine/PrintRun.h"

namespace quillon {
namespace {

constexpr char kNoPrinter[] = "No printer is installed.";

int Message(QTextStream& err, int code, const QString& text) {
    return CommandError(err, code, text);
}

}  // namespace

int RunPrintersCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption json(QStringLiteral("json"));
    parser.addOption(json);
    if (!parser.parse(arguments)) return UsageError(err, parser.errorText());
    if (parser.positionalArguments().size() > 1) return UsageError(err, QStringLiteral("printers takes no text"));

    QtPrinterDriver driver;
    const std::vector<std::string> names = driver.PrinterNames();
    // A script reading JSON gets JSON also when there is no printer; people get the message.
    if (names.empty() && !parser.isSet(json)) return Message(err, kExitOk, QString::fromLatin1(kNoPrinter));
    const auto fallback = driver.DefaultPrinter();
    // The program starts on the default printer, as the window does.
    if (parser.isSet(json)) {
        QJsonArray printers;
        for (const std::string& name : names) {
            printers.append(QJsonObject{{"name", QString::fromStdString(name)}, {"default", fallback == name}});
        }
        const QJsonValue current = fallback ? QJsonValue(QString::fromStdString(*fallback)) : QJsonValue(QJsonValue::Null);
        out << QJsonDocument(QJsonObject{{"printers", printers}, {"current", current}}).toJson(QJsonDocument::Indented);
    } else {
        for (const std::string& name : names) out << (fallback == name ? "* " : "  ") << QString::fromStdString(name) << "\n";
    }
    out.flush();
    return kExitOk;
}

int RunPrintCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption printerOption(QStringLiteral("printer"), {}, QStringLiteral("NAME"));
    const QCommandLineOption pages(QStringLiteral("pages"), {}, QStringLiteral("LIST"));
    const QCommandLineOption copies(QStringLiteral("copies"), {}, QStringLiteral("N"));
    const QCommandLineOption noCollate(QStringLiteral("no-collate"));
    const QCommandLineOption odd(QStringLiteral("odd"));
    const QCommandLineOption even(QStringLiteral("even"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), {}, QStringLiteral("FILE"));
    parser.addOptions({printerOption, pages, copies, noCollate, odd, even, pdf});
    AnalysisRequest request;
    if (const int code = ParseAnalysisRequest(arguments, 1, request, err, &parser); code != kExitOk) return code;
    if (parser.isSet(odd) && parser.isSet(even)) return UsageError(err, QStringLiteral("--odd and --even exclude each other"));
    CommandAnalysis analysis;
    if (const int code = Analyse(request, analysis, err); code != kExitOk) return code;

    QtPrinterDriver driver;
    TfrPrinter printer(driver);
    const bool toPdf = parser.isSet(pdf);
    int chosen = -1;
    if (parser.isSet(printerOption)) {
        chosen = printer.IndexOf(parser.value(printerOption).toStdString());
        if (chosen < 0) return UsageError(err, QStringLiteral("no printer is named \"%1\"").arg(parser.value(printerOption)));
        printer.SelectPrinter(chosen);
    } else if (!toPdf && !printer.HasInstalledPrinters()) {
        return Message(err, kExitFailure, QString::fromLatin1(kNoPrinter));
    } else if (!toPdf && !driver.DefaultPrinter()) {
        // The window would start on the first printer; a command does not guess.
        QStringList installed;
        for (const std::string& name : driver.PrinterNames()) installed << QString::fromStdString(name);
        return Message(err, kExitFailure,
                       QStringLiteral("There is no default printer; choose one with --printer (installed: %1)")
                           .arg(installed.join(QStringLiteral(", "))));
    }

    TfrReport report(printer, "frReport1");
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
    print.pages = parser.value(pages).toStdString();
    print.copies = parser.isSet(copies) ? parser.value(copies).toStdString() : std::string("1");
    print.collate = !parser.isSet(noCollate);
    print.parity = parser.isSet(odd) ? PrintParity::Odd : parser.isSet(even) ? PrintParity::Even : PrintParity::All;
    const std::optional<std::string> pdfFile = toPdf ? std::optional(parser.value(pdf).toStdString()) : std::nullopt;
    if (const RunResult printed = PrintPages(report, print, pdfFile); printed.IsFailed()) {
        return ReportFailure(err, printed.message);
    }
    (void)out;
    return kExitOk;
}

}  // namespace quillon
