#include "cli/CommandLine.h"

#include <QCommandLineParser>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <optional>

#include "cli/CalcCommand.h"
#include "cli/AnalyseCommand.h"
#include "cli/BatchCommand.h"
#include "cli/LinksCommand.h"
#include "cli/PrintCommands.h"
#include "cli/ReportCommands.h"
#include "cli/TemplateCommands.h"
#include "common/Version.h"
#include "numerology/Analysis.h"
#include "report/content/ReportVariables.h"
#include "cli/HelpCommand.h"
#include "windows/help/HelpService.h"

namespace quillon {
namespace {

const QString kAnalyse = QStringLiteral("analyse");

QString VersionText() { return QStringLiteral("Quillon Ver. ") + QString::fromLatin1(kVersion); }

// Each command's usage: its synopsis and what it does. "quillon --help" shows them all,
// "quillon COMMAND --help" the command's own.
struct CommandUsage {
    const char* name;
    const char* text;
    bool answersHelpItself = false;  // the command prints a longer usage of its own
};

constexpr CommandUsage kCommandUsages[] = {
    {"analyse",
     "analyse [--system pythagorean|chaldean] [--vowel-y all|N[,N...]] [--date TEXT]\n"
     "          [--json] [--] TEXT\n"
     "      Analyses TEXT as the window would after pasting it: trimmed, at most 40\n"
     "      characters, a to z upper-cased. --vowel-y reads the Ys at those 1-based\n"
     "      positions (or every Y) as vowels. --date reduces a date typed in the short\n"
     "      date format of your regional settings (LANG, LC_TIME) and combines it with\n"
     "      the name. --json prints the report's values as JSON.\n"},
    {"prepare",
     "prepare print|export [analyse's options] [--template FILE] [--json] [--] TEXT\n"
     "      Prepares the print or the export report for TEXT and prints its pages as\n"
     "      JSON: paper, margins, page metrics and every object with its final text.\n"},
    {"export",
     "export [analyse's options] [--template FILE] -o FILE [--] TEXT\n"
     "      Writes the RTF file the Export button writes (the date group with --date).\n"
     "      -o - writes it to standard output.\n"},
    {"template",
     "template save print|export -o FILE\n"
     "      Writes the report stream of a template as the program carries it\n"
     "      (-o - to standard output).\n"
     "  template show FILE\n"
     "      Reads a report template stream and prints what it holds as JSON.\n"},
    {"printers",
     "printers [--json]\n"
     "      Lists the installed printers in the system's order, the default one marked\n"
     "      with \"* \"; --json gives {\"printers\": [{\"name\", \"default\"}], \"current\"}.\n"},
    {"print",
     "print [--printer NAME] [--pages LIST] [--copies N] [--no-collate] [--odd | --even]\n"
     "        [--template FILE] [--pdf FILE] [analyse's options] [--] TEXT\n"
     "      Prepares the print report for TEXT and prints it as the print dialog's OK\n"
     "      would: on the default printer (or NAME), all pages (or LIST such as\n"
     "      1,3,5-12), 1 copy, collated. --pdf writes the sheets to FILE instead;\n"
     "      --template prints a report template stream of your own.\n"},
    {"links",
     "links [--json]\n"
     "      Lists the web pages of the links window: caption and address.\n",
     true},
    {"calc",
     "calc [--json] [--clipboard TEXT] [--] KEYS...\n"
     "      Types KEYS into the math calculator window and prints its display;\n"
     "      quillon calc --help lists the keys.\n",
     true},
    {"batch",
     "batch [INPUT] [-o OUTPUT] [--format csv|tsv|jsonl] [--column NAME|N]\n"
     "        [--date-column NAME|N] [--date DATE] [--system ...] [--vowel-y none|all]\n"
     "        [--where KEY=DIGIT]... [--threads N] [--no-header]\n"
     "      Analyses every name of a list or a CSV column; see quillon batch --help.\n",
     true},
    {"help",
     "help [--text | --list] [PAGE]\n"
     "      Opens the help viewer at PAGE or the start page; --text prints the page\n"
     "      as plain text, --list the table of contents.\n",
     true},
};

QString Usage() {
    QString text = QStringLiteral(
        "Usage: quillon [COMMAND] [OPTIONS]\n"
        "\n"
        "Without a command Quillon opens its analysis window.\n"
        "\n"
        "Commands:\n");
    for (const CommandUsage& usage : kCommandUsages) text += QStringLiteral("  ") + QString::fromUtf8(usage.text);
    return text + QStringLiteral(
                      "\n"
                      "Options:\n"
                      "  --screenshot DIR [--data TEXT] [--system pythagorean|chaldean]\n"
                      "               [--date TEXT]\n"
                      "      Writes PNG images of the windows into DIR.\n"
                      "  -h, --help       Shows this text; after a command, that command's usage.\n"
                      "  -v, --version    Shows the version.\n"
                      "  -debug, /debug   Writes the help's diagnostic log HHDebug.txt; goes with the\n"
                      "                   window and with every command.\n");
}

// The usage of one command, or nothing for a command that answers --help itself.
std::optional<QString> UsageOf(const QString& command) {
    for (const CommandUsage& usage : kCommandUsages) {
        if (command == QLatin1String(usage.name) && !usage.answersHelpItself) {
            // The synopsis' continuation lines are indented for the command table ("  " in front
            // of the command); behind "Usage: quillon " they move right by the difference, so
            // that they stay under the options. The description lines keep their place.
            const QString prefix = QStringLiteral("Usage: quillon ");
            QStringList lines = QString::fromUtf8(usage.text).split(QLatin1Char('\n'));
            for (qsizetype i = 1; i < lines.size() && lines[i].startsWith(QLatin1String("        ")); ++i) {
                lines[i].prepend(QString(prefix.size() - 2, QLatin1Char(' ')));
            }
            return prefix + lines.join(QLatin1Char('\n'));
        }
    }
    return std::nullopt;
}

// Whether the arguments after the command ask for help (an argument after "--" is text).
bool AsksForHelp(const QStringList& arguments) {
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--")) return false;
        if (arguments[i] == QLatin1String("-h") || arguments[i] == QLatin1String("--help")) return true;
    }
    return false;
}

QJsonObject JsonOf(const ReportSource& source, const AnalysisState& state, const QString& dataText) {
    QJsonObject object;
    for (const std::string& name : ReportVariableNames()) {
        const ReportValue value = GetReportValue(source, name);
        const QString key = QString::fromStdString(name);
        if (const auto* text = std::get_if<std::string>(&value)) {
            object.insert(key, QString::fromStdString(*text));
        } else if (const auto* number = std::get_if<std::int32_t>(&value)) {
            object.insert(key, *number);
        }
    }
    object.insert(QStringLiteral("VowelSum"), state.VowelSum);
    object.insert(QStringLiteral("ConsonantSum"), state.ConsonantSum);
    object.insert(QStringLiteral("NumberSum"), state.NumberSum);
    object.insert(QStringLiteral("GrandTotal"), state.GrandTotal);
    object.insert(QStringLiteral("DateDigitSum"), state.DateDigitSum);
    object.insert(QStringLiteral("DataText"), dataText);
    return object;
}

// The analysis laid out like the window: the data between its two rows, each with its total,
// then the chart. The rows are framed by bars so that their blanks show.
void PrintReadable(QTextStream& out, const ReportSource& source) {
    auto row = [&out](const char* label, const std::string& text, const std::string& total) {
        out << QString::fromLatin1(label).leftJustified(12) << "|" << VisibleText(QString::fromStdString(text)) << "|  "
            << QString::fromStdString(total) << "\n";
    };
    out << QString::fromStdString(source.method) << "\n\n";
    row("Vowels", source.vowels, source.vTotal);
    row("Data", source.data, source.total);
    row("Consonants", source.consonants, source.cTotal);
    out << "\n" << QString().leftJustified(12);
    for (int digit = 1; digit <= 9; ++digit) out << QString::number(digit).rightJustified(4);
    out << "  Total\n";
    const char* rowNames[] = {"Vowels", "Consonants", "Total"};
    for (int r = 0; r < 3; ++r) {
        out << QString::fromLatin1(rowNames[r]).leftJustified(12);
        for (int digit = 1; digit <= 9; ++digit) {
            out << QString::fromStdString(source.chartCells[static_cast<std::size_t>((digit - 1) * 3 + r)])
                       .rightJustified(4);
        }
        out << QString::fromStdString(source.chartCells[static_cast<std::size_t>(27 + r)]).rightJustified(7)
            << "\n";
    }
    if (source.datePanelVisible) {
        auto line = [&out](const char* label, const std::string& text) {
            out << QString::fromLatin1(label).leftJustified(14) << VisibleText(QString::fromStdString(text)) << "\n";
        };
        out << "\n";
        line("Date:", source.dates);
        line("Date Total:", source.dateTotal);
        line("Month + Day:", source.monthDay);
        line("Day:", source.dayTotal);
        line("Name + Date:", source.nameDate);
    }
}

int RunAnalyse(const AnalysisRequest& request, QTextStream& out, QTextStream& err) {
    CommandAnalysis analysis;
    if (const int code = Analyse(request, analysis, err); code != kExitOk) return code;
    if (request.json) {
        out << QJsonDocument(JsonOf(analysis.source, analysis.state, analysis.dataText)).toJson(QJsonDocument::Indented);
    } else {
        PrintReadable(out, analysis.source);
    }
    out.flush();
    return kExitOk;
}

int AnalyseCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    AnalysisRequest request;
    if (const int code = ParseAnalysisRequest(arguments, 1, request, err); code != kExitOk) return code;
    return RunAnalyse(request, out, err);
}

}  // namespace

StartMode ModeOf(const QStringList& arguments) {
    if (arguments.size() <= 1) return StartMode::Window;
    // After "--" everything is text, "--screenshot" too.
    const qsizetype textFrom = arguments.indexOf(QStringLiteral("--"));
    if (arguments.mid(0, textFrom < 0 ? arguments.size() : textFrom).contains(QStringLiteral("--screenshot"))) {
        return StartMode::Screenshot;
    }
    return StartMode::CommandLine;
}

int RunCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (arguments.size() < 2) return UsageError(err, QStringLiteral("no command given; see quillon --help"));
    const QString& first = arguments.at(1);
    if (first == QLatin1String("-h") || first == QLatin1String("--help")) {
        out << Usage();
        out.flush();
        return kExitOk;
    }
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        out << VersionText() << "\n";
        out.flush();
        return kExitOk;
    }
    if (AsksForHelp(arguments)) {
        if (const auto usage = UsageOf(first)) {
            out << *usage;
            out.flush();
            return kExitOk;
        }
    }
    if (first == kAnalyse) return AnalyseCommand(arguments, out, err);
    if (first == QLatin1String("prepare")) return RunPrepareCommand(arguments, out, err);
    if (first == QLatin1String("export")) return RunExportCommand(arguments, err);
    if (first == QLatin1String("template")) return RunTemplateCommand(arguments, out, err);
    if (first == QLatin1String("links")) return RunLinksCommand(arguments, out, err);
    if (first == QLatin1String("calc")) return RunCalcCommand(arguments, out, err);
    if (first == QLatin1String("help")) return RunHelpCommand(arguments, out, err);
    if (first == QLatin1String("batch")) return RunBatchCommand(arguments, out, err);
    if (first == QLatin1String("printers")) return RunPrintersCommand(arguments, out, err);
    if (first == QLatin1String("print")) return RunPrintCommand(arguments, out, err);
    return UsageError(err, QStringLiteral("unknown command \"%1\"; see quillon --help").arg(first));
}

}  // namespace quillon
