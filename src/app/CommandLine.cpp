#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <optional>

#include "app/TemplateCommands.h"
#include "numerology/Analysis.h"
#include "numerology/Dates.h"
#include "platform/Regional.h"
#include "report/content/ReportVariables.h"

namespace quillon {
namespace {

const QString kAnalyse = QStringLiteral("analyse");

QString VersionText() { return QStringLiteral("Quillon Ver. 3.41"); }

QString Usage() {
    return QStringLiteral(
        "Usage: quillon [COMMAND] [OPTIONS]\n"
        "\n"
        "Without a command Quillon opens its analysis window.\n"
        "\n"
        "Commands:\n"
        "  analyse [--system pythagorean|chaldean] [--vowel-y all|N[,N...]] [--date TEXT]\n"
        "          [--json] [--] TEXT\n"
        "      Analyses TEXT as the window would after pasting it: trimmed, at most 40\n"
        "      characters, a to z upper-cased. --vowel-y reads the Ys at those 1-based\n"
        "      positions (or every Y) as vowels. --date reduces a date typed in the short\n"
        "      date format of your regional settings (LANG, LC_TIME) and combines it with\n"
        "      the name. --json prints the report's values as JSON.\n"
        "  template save print|export -o FILE\n"
        "      Writes the report stream of a template as the program carries it.\n"
        "  template show FILE\n"
        "      Reads a report template stream and prints what it holds as JSON.\n"
        "\n"
        "Options:\n"
        "  --screenshot DIR [--data TEXT] [--system chaldean] [--date TEXT]\n"
        "      Writes PNG images of the windows into DIR.\n"
        "  -h, --help       Shows this text.\n"
        "  -v, --version    Shows the version.\n");
}

// A usage error: the message on one line, exit code 2.
int UsageError(QTextStream& err, const QString& message) {
    err << "quillon: " << message << "\n";
    err.flush();
    return kExitUsage;
}

struct AnalyseRequest {
    LetterSystem system = LetterSystem::Pythagorean;
    std::optional<QString> vowelY;  // "all" or a list of positions
    std::optional<QString> date;    // read as the date field reads typed text
    bool json = false;
    QString text;
};

// Marks the Ys that --vowel-y names as vowels; returns an error message, or nothing on success.
std::optional<QString> ApplyVowelY(std::u16string& data, const QString& spec) {
    if (spec.compare(QStringLiteral("all"), Qt::CaseInsensitive) == 0) {
        for (char16_t& c : data) {
            if (c == u'Y') c = u'y';
        }
        return std::nullopt;
    }
    const QStringList parts = spec.split(QLatin1Char(','));
    std::vector<qsizetype> positions;
    for (const QString& part : parts) {
        bool ok = false;
        const qsizetype position = part.trimmed().toLongLong(&ok);
        if (!ok || position < 1) {
            return QStringLiteral("--vowel-y takes \"all\" or 1-based positions such as 4 or 2,5: \"%1\"").arg(spec);
        }
        if (position > static_cast<qsizetype>(data.size()) || data[static_cast<std::size_t>(position - 1)] != u'Y') {
            return QStringLiteral("--vowel-y: position %1 of \"%2\" holds no Y")
                .arg(position)
                .arg(QString::fromStdU16String(data));
        }
        positions.push_back(position);
    }
    for (qsizetype position : positions) data[static_cast<std::size_t>(position - 1)] = u'y';
    return std::nullopt;
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
        out << QString::fromLatin1(label).leftJustified(12) << "|" << QString::fromStdString(text) << "|  "
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
            out << QString::fromLatin1(label).leftJustified(14) << QString::fromStdString(text) << "\n";
        };
        out << "\n";
        line("Date:", source.dates);
        line("Date Total:", source.dateTotal);
        line("Month + Day:", source.monthDay);
        line("Day:", source.dayTotal);
        line("Name + Date:", source.nameDate);
    }
}

int RunAnalyse(const AnalyseRequest& request, QTextStream& out, QTextStream& err) {
    std::u16string data = NormalisePastedText(request.text.toStdU16String());
    if (request.vowelY) {
        if (auto error = ApplyVowelY(data, *request.vowelY)) return UsageError(err, *error);
    }

    AnalysisState state;
    state.letterSystem = request.system;
    ReportSource source;
    if (request.date) {
        // As with the date panel open and calculated: the date result is there before the name's
        // analysis, which combines the two.
        const DateSettings settings = CurrentDateSettings();
        const DateReading reading = ReadDate(request.date->toUpper().toStdU16String(), settings, Today());
        if (const auto* error = std::get_if<DateError>(&reading)) {
            err << "quillon: " << QString::fromStdString(error->message) << "\n";
            err.flush();
            return kExitFailure;
        }
        const CivilDate& date = std::get<CivilDate>(reading);
        const DateTotals totals = CalculateDate(date);
        state.DateDigitSum = totals.dateDigitSum;
        source.dates = QString::fromStdU16String(FormatDate(date, settings)).toStdString();
        source.dateTotal = totals.dateTotal;
        source.monthDay = totals.monthDay;
        source.dayTotal = totals.dayTotal;
        source.datePanelVisible = true;
    }
    const AnalysisShown shown = RunAnalysis(state, data);

    const QString dataText = QString::fromStdU16String(data);
    source.method = std::string(DisplayName(state.letterSystem));
    source.data = dataText.toStdString();
    source.vowels = shown.vowels;
    source.consonants = shown.constants;
    source.vTotal = shown.vTotal;
    source.cTotal = shown.cTotal;
    source.total = shown.total;
    source.chartCells = ChartCellTexts(shown.chart);
    source.nameDate = shown.nameDate;
    source.dateDigitSum = state.DateDigitSum;

    if (request.json) {
        out << QJsonDocument(JsonOf(source, state, dataText)).toJson(QJsonDocument::Indented);
    } else {
        PrintReadable(out, source);
    }
    out.flush();
    return kExitOk;
}

int Analyse(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption system(QStringLiteral("system"), {}, QStringLiteral("pythagorean|chaldean"));
    const QCommandLineOption vowelY(QStringLiteral("vowel-y"), {}, QStringLiteral("all|N[,N...]"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption date(QStringLiteral("date"), {}, QStringLiteral("TEXT"));
    parser.addOptions({system, vowelY, json, date});
    if (!parser.parse(arguments)) return UsageError(err, parser.errorText());

    QStringList positional = parser.positionalArguments();
    positional.removeFirst();  // the command itself
    if (positional.isEmpty()) return UsageError(err, QStringLiteral("analyse needs a TEXT to analyse"));

    AnalyseRequest request;
    if (parser.isSet(system)) {
        const auto chosen = LetterSystemFromName(parser.value(system).toStdString());
        if (!chosen) {
            return UsageError(err, QStringLiteral("--system takes pythagorean or chaldean, not \"%1\"")
                                       .arg(parser.value(system)));
        }
        request.system = *chosen;
    }
    if (parser.isSet(vowelY)) request.vowelY = parser.value(vowelY);
    if (parser.isSet(date)) request.date = parser.value(date);
    request.json = parser.isSet(json);
    // Words given without quotes are one text, as they would be typed.
    request.text = positional.join(QLatin1Char(' '));
    return RunAnalyse(request, out, err);
}

}  // namespace

StartMode ModeOf(const QStringList& arguments) {
    if (arguments.size() <= 1) return StartMode::Window;
    if (arguments.contains(QStringLiteral("--screenshot"))) return StartMode::Screenshot;
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
    if (first == kAnalyse) return Analyse(arguments, out, err);
    if (first == QLatin1String("template")) return RunTemplateCommand(arguments, out, err);
    return UsageError(err, QStringLiteral("unknown command \"%1\"; see quillon --help").arg(first));
}

}  // namespace quillon
