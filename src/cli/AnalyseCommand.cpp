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

// The values of the list that JSON gives: the report's names as the report answers them, so that
// the date group is there only with a date, and the others as the analysis has them.
QJsonObject JsonOf(const CommandAnalysis& analysis) {
    QJsonObject object;
    for (const ValueName& name : kValueNames) {
        if (!name.InJson()) continue;
        const QString key = QString::fromLatin1(name.key);
        if (name.id == ValueId::Core) {
            object.insert(key, CoreJson(analysis.values.core));
            continue;
        }
        const FieldValue value =
            name.InReport() ? GetReportValue(analysis.source, name.key) : ValueOf(analysis.values, name);
        if (const auto* text = std::get_if<std::string>(&value)) {
            object.insert(key, QString::fromStdString(*text));
        } else if (const auto* number = std::get_if<std::int32_t>(&value)) {
            object.insert(key, *number);
        }
    }
    return object;
}

// The analysis laid out like the window: the data between its two rows, each with its total,
// then the chart. The rows are framed by bars so that their blanks show. The core numbers follow.
void PrintReadable(QTextStream& out, const CommandAnalysis& analysis) {
    const ReportSource& source = analysis.source;
    auto row = [&out](const char* label, const std::string& text, const std::string& total) {
        out << QString::fromLatin1(label).leftJustified(12) << "|" << VisibleText(QString::fromStdString(text)) << "|  "
            << QString::fromStdString(total) << "\n";
    };
    out << QString::fromStdString(source.method) << "\n\n";
    row("Vowels", source.vowels, source.vTotal);
    row("Data", source.data, source.total);
    row("Consonants", source.consonants, source.cTotal);
    out << "\n";
    PrintChart(out, source.chartCells);
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
    out << "\nCore numbers:\n";
    for (const CoreName name : kCoreNames) {
        const std::optional<CoreNumber>& number = analysis.values.core[name];
        if (!number) continue;
        out << QString::fromLatin1(TitleOf(name)).leftJustified(14) << QString::fromStdString(number->chain);
        if (number->master) out << "   master " << *number->master;
        out << "\n";
    }
}

}  // namespace

QJsonObject CoreJson(const CoreNumbers& core) {
    QJsonObject object;
    for (const CoreName name : kCoreNames) {
        const std::optional<CoreNumber>& number = core[name];
        if (!number) continue;
        object.insert(
            QString::fromLatin1(KeyOf(name)),
            QJsonObject{{"chain", QString::fromStdString(number->chain)},
                        {"digit", number->digit},
                        {"master", number->master ? QJsonValue(*number->master) : QJsonValue(QJsonValue::Null)}});
    }
    return object;
}

void PrintChart(QTextStream& out, const std::array<std::string, kChartCellCount>& chartCells) {
    out << QString().leftJustified(12);
    for (int digit = 1; digit <= 9; ++digit) out << QString::number(digit).rightJustified(4);
    out << "  Total\n";
    const char* rowNames[] = {"Vowels", "Consonants", "Total"};
    for (int r = 0; r < 3; ++r) {
        out << QString::fromLatin1(rowNames[r]).leftJustified(12);
        for (int digit = 1; digit <= 9; ++digit) {
            out << QString::fromStdString(chartCells[static_cast<std::size_t>((digit - 1) * 3 + r)]).rightJustified(4);
        }
        out << QString::fromStdString(chartCells[static_cast<std::size_t>(kFirstTotalCell + r)]).rightJustified(7)
            << "\n";
    }
}

int ReadAnalysisRequest(const CommandArguments& arguments, int textStart, AnalysisRequest& request, QTextStream& err) {
    const QStringList words = arguments.Words().mid(textStart);
    if (words.isEmpty()) {
        return CommandError(err, ErrorKind::Usage,
                            QStringLiteral("%1 needs a TEXT to analyse").arg(arguments.All().value(1)));
    }
    if (const int code = ReadSystem(arguments, request.system, err); code != kExitOk) return code;
    if (const int code = ReadVowelY(arguments, true, request.vowelY, err); code != kExitOk) return code;
    request.foldAccents = FoldAccentsOf(arguments);
    if (arguments.IsSet(kDateOption)) request.date = arguments.Value(kDateOption);
    request.output = OutputOf(arguments);
    request.templateFile = TemplateFileOf(arguments);
    request.json = arguments.IsSet(kJsonOption);
    // Words given without quotes are one text, as they would be typed.
    request.text = words.join(QLatin1Char(' '));
    return kExitOk;
}

int Analyse(const AnalysisRequest& request, CommandAnalysis& analysis, QTextStream& err) {
    std::u16string data = NormalisePastedText(request.text.toStdU16String(), request.foldAccents);
    if (auto error = ApplyVowelY(data, request.vowelY, request.foldAccents)) {
        return CommandError(err, ErrorKind::Usage, *error);
    }

    std::optional<CivilDate> date;
    if (request.date) {
        date = ReadCommandDate(*request.date, err);
        if (!date) return kExitUsage;
    }
    analysis.values = AssembleAnalysis(data, request.system, request.foldAccents, date, CurrentDateSettings());
    analysis.source = ReportSourceOf(analysis.values);
    return kExitOk;
}

int RunAnalyseCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err) {
    AnalysisRequest request;
    if (const int code = ReadAnalysisRequest(arguments, 0, request, err); code != kExitOk) return code;
    CommandAnalysis analysis;
    if (const int code = Analyse(request, analysis, err); code != kExitOk) return code;
    if (request.json) {
        out << QJsonDocument(JsonOf(analysis)).toJson(QJsonDocument::Indented);
    } else {
        PrintReadable(out, analysis);
    }
    out.flush();
    return kExitOk;
}

}  // namespace quillon
