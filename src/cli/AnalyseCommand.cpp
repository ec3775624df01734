#include "cli/AnalyseCommand.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include "cli/CommandError.h"
#include "numerology/Dates.h"
#include "numerology/DigitChart.h"
#include "platform/Regional.h"

namespace quillon {
namespace {

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
        out << QString::fromStdString(source.chartCells[static_cast<std::size_t>(kFirstTotalCell + r)]).rightJustified(7) << "\n";
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

}  // namespace

int ReadAnalysisRequest(const CommandArguments& arguments, int textStart, AnalysisRequest& request, QTextStream& err) {
    const QStringList words = arguments.Words().mid(textStart);
    if (words.isEmpty()) {
        return CommandError(err, ErrorKind::Usage,
                            QStringLiteral("%1 needs a TEXT to analyse").arg(arguments.All().value(1)));
    }
    if (const int code = ReadSystem(arguments, request.system, err); code != kExitOk) return code;
    if (const int code = ReadVowelY(arguments, true, request.vowelY, err); code != kExitOk) return code;
    if (arguments.IsSet(QStringLiteral("date"))) request.date = arguments.Value(QStringLiteral("date"));
    request.output = OutputOf(arguments);
    request.templateFile = TemplateFileOf(arguments);
    request.json = arguments.IsSet(QStringLiteral("json"));
    // Words given without quotes are one text, as they would be typed.
    request.text = words.join(QLatin1Char(' '));
    return kExitOk;
}

int Analyse(const AnalysisRequest& request, CommandAnalysis& analysis, QTextStream& err) {
    std::u16string data = NormalisePastedText(request.text.toStdU16String());
    if (auto error = ApplyVowelY(data, request.vowelY)) return CommandError(err, ErrorKind::Usage, *error);

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

int RunAnalyseCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err) {
    AnalysisRequest request;
    if (const int code = ReadAnalysisRequest(arguments, 0, request, err); code != kExitOk) return code;
    CommandAnalysis analysis;
    if (const int code = Analyse(request, analysis, err); code != kExitOk) return code;
    if (request.json) {
        out << QJsonDocument(JsonOf(analysis.source, analysis.state, analysis.dataText))
                   .toJson(QJsonDocument::Indented);
    } else {
        PrintReadable(out, analysis.source);
    }
    out.flush();
    return kExitOk;
}

}  // namespace quillon
