#include "cli/AnalyseCommand.h"

#include <QCommandLineParser>
#include <QTextStream>
#include <utility>

#include "cli/CommandLine.h"
#include "numerology/Dates.h"
#include "platform/Regional.h"

namespace quillon {
namespace {

// Marks the Ys that --vowel-y names as vowels; returns an error message, or nothing on success.
std::optional<QString> ApplyVowelY(std::u16string& data, const QString& wanted) {
    if (wanted.compare(QStringLiteral("all"), Qt::CaseInsensitive) == 0) {
        for (char16_t& c : data) {
            if (c == u'Y') c = u'y';
        }
        return std::nullopt;
    }
    std::vector<qsizetype> positions;
    for (const QString& part : wanted.split(QLatin1Char(','))) {
        bool ok = false;
        const qsizetype position = part.trimmed().toLongLong(&ok);
        if (!ok || position < 1) {
            return QStringLiteral("--vowel-y takes \"all\" or 1-based positions such as 4 or 2,5: \"%1\"").arg(wanted);
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

}  // namespace

QString VisibleText(const QString& text) {
    QString visible;
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code < 0x20 || (code >= 0x7F && code < 0xA0)) {
            visible += QStringLiteral("\\x") + QString::number(code, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        } else {
            visible += c;
        }
    }
    return visible;
}

int CommandError(QTextStream& err, int code, const QString& message) {
    QStringList lines = message.split(QLatin1Char('\n'));
    for (QString& line : lines) line = VisibleText(line);
    err << "quillon: " << lines.join(QLatin1Char('\n')) << "\n";
    err.flush();
    return code;
}

int UsageError(QTextStream& err, const QString& message) {
    return CommandError(err, kExitUsage, QString(message).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

int ParseAnalysisRequest(const QStringList& arguments, int textStart, AnalysisRequest& request, QTextStream& err,
                         QCommandLineParser* withOptions) {
    QCommandLineParser ownParser;
    QCommandLineParser& parser = withOptions ? *withOptions : ownParser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    const QCommandLineOption system(QStringLiteral("system"), {}, QStringLiteral("pythagorean|chaldean"));
    const QCommandLineOption vowelY(QStringLiteral("vowel-y"), {}, QStringLiteral("all|N[,N...]"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption date(QStringLiteral("date"), {}, QStringLiteral("TEXT"));
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")}, {}, QStringLiteral("FILE"));
    const QCommandLineOption templateFile(QStringLiteral("template"), {}, QStringLiteral("FILE"));
    parser.addOptions({system, vowelY, json, date, output, templateFile});
    if (!parser.parse(arguments)) return UsageError(err, parser.errorText());
    // The commands share this parser, but not every option means something to each of them: one
    // a command does not take is an error, not silently ignored.
    const QString command = arguments.value(1);
    const std::pair<const QCommandLineOption*, bool> taken[] = {
        {&json, command == QLatin1String("analyse") || command == QLatin1String("prepare")},
        {&output, command == QLatin1String("export")},
        {&templateFile, command != QLatin1String("analyse")},
    };
    for (const auto& [option, takes] : taken) {
        if (parser.isSet(*option) && !takes) {
            return UsageError(err, QStringLiteral("%1 takes no --%2").arg(command, option->names().constLast()));
        }
    }

    const QStringList positional = parser.positionalArguments().mid(textStart);
    if (positional.isEmpty()) {
        return UsageError(err, QStringLiteral("%1 needs a TEXT to analyse").arg(arguments.value(1)));
    }
    if (parser.isSet(system)) {
        const auto chosen = LetterSystemFromName(parser.value(system).toStdString());
        if (!chosen) {
            return UsageError(err, QStringLiteral("--system takes pythagorean or chaldean, not \"%1\"").arg(parser.value(system)));
        }
        request.system = *chosen;
    }
    if (parser.isSet(vowelY)) request.vowelY = parser.value(vowelY);
    if (parser.isSet(date)) request.date = parser.value(date);
    if (parser.isSet(output)) request.output = parser.value(output);
    if (parser.isSet(templateFile)) request.templateFile = parser.value(templateFile);
    request.json = parser.isSet(json);
    // Words given without quotes are one text, as they would be typed.
    request.text = positional.join(QLatin1Char(' '));
    return kExitOk;
}

std::optional<CivilDate> ReadCommandDate(const QString& text, QTextStream& err) {
    const DateReading reading = ReadDate(text.toUpper().toStdU16String(), CurrentDateSettings(), Today());
    if (const auto* error = std::get_if<DateError>(&reading)) {
        err << "quillon: " << VisibleText(QString::fromStdString(error->message)) << "\n";
        err.flush();
        return std::nullopt;
    }
    return std::get<CivilDate>(reading);
}

int Analyse(const AnalysisRequest& request, CommandAnalysis& analysis, QTextStream& err) {
    std::u16string data = NormalisePastedText(request.text.toStdU16String());
    if (request.vowelY) {
        if (auto error = ApplyVowelY(data, *request.vowelY)) return UsageError(err, *error);
    }

    AnalysisState& state = analysis.state;
    ReportSource& source = analysis.source;
    state.letterSystem = request.system;
    if (request.date) {
        // As with the date panel open and calculated: the date result is there before the name's
        // analysis, which combines the two.
        const auto day = ReadCommandDate(*request.date, err);
        if (!day) return kExitFailure;
        const DateTotals totals = CalculateDate(*day);
        state.DateDigitSum = totals.dateDigitSum;
        source.dates = QString::fromStdU16String(FormatDate(*day, CurrentDateSettings())).toStdString();
        source.dateTotal = totals.dateTotal;
        source.monthDay = totals.monthDay;
        source.dayTotal = totals.dayTotal;
        source.datePanelVisible = true;
    }
    const AnalysisShown shown = RunAnalysis(state, data);

    analysis.dataText = QString::fromStdU16String(data);
    source.method = std::string(DisplayName(state.letterSystem));
    source.data = analysis.dataText.toStdString();
    source.vowels = shown.vowels;
    source.consonants = shown.constants;
    source.vTotal = shown.vTotal;
    source.cTotal = shown.cTotal;
    source.total = shown.total;
    source.chartCells = ChartCellTexts(shown.chart);
    source.nameDate = shown.nameDate;
    source.dateDigitSum = state.DateDigitSum;
    return kExitOk;
}

}  // namespace quillon
