#include "cli/CompareCommand.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <algorithm>
#include <vector>

#include "cli/AnalyseCommand.h"
#include "cli/CommandError.h"
#include "cli/OptionReaders.h"
#include "platform/Regional.h"

namespace quillon {
namespace {

constexpr qsizetype kFewestNames = 2;
constexpr qsizetype kMostNames = 10;

struct ComparedName {
    QString dataText;             // the name as analysed
    std::optional<QString> date;  // as the date field shows it
    CoreNumbers core;
    std::array<std::string, kChartCellCount> chartCells;
};

// Whether every name has the number, all with the same final digit.
bool Shared(const std::vector<ComparedName>& names, CoreName name) {
    const std::optional<CoreNumber>& first = names.front().core[name];
    return first && std::all_of(names.begin(), names.end(), [&](const ComparedName& compared) {
               const std::optional<CoreNumber>& number = compared.core[name];
               return number && number->digit == first->digit;
           });
}

QJsonObject JsonOf(const std::vector<ComparedName>& names) {
    QJsonArray list;
    for (const ComparedName& compared : names) {
        QJsonObject object = CoreJson(compared.core);
        object.insert(QStringLiteral("name"), compared.dataText);
        if (compared.date) object.insert(QStringLiteral("date"), *compared.date);
        list.append(object);
    }
    QJsonArray shared;
    for (const CoreName name : kCoreNames) {
        if (Shared(names, name)) shared.append(QString::fromLatin1(KeyOf(name)));
    }
    return {{"names", list}, {"shared", shared}};
}

// The numbers in columns under the names, a row per number that any name has, the shared ones
// marked; then the chart of each name as analyse prints it.
void PrintReadable(QTextStream& out, LetterSystem system, const std::vector<ComparedName>& names) {
    constexpr qsizetype kTitleWidth = 16;
    constexpr qsizetype kGap = 3;
    // Per name: the heading, the date, then a cell per core number.
    std::vector<QStringList> columns;
    qsizetype width = 0;
    for (const ComparedName& compared : names) {
        QStringList cells{VisibleText(compared.dataText), VisibleText(compared.date.value_or(QStringLiteral("-")))};
        for (const CoreName name : kCoreNames) {
            const std::optional<CoreNumber>& number = compared.core[name];
            cells << (number ? QString::fromStdString(number->chain) : QStringLiteral("-"));
        }
        for (const QString& cell : cells) width = std::max(width, cell.size());
        columns.push_back(std::move(cells));
    }
    auto row = [&](const QString& title, qsizetype cell) {
        QString line = title.leftJustified(kTitleWidth);
        for (const QStringList& cells : columns) line += cells[cell].leftJustified(width + kGap);
        while (line.endsWith(QLatin1Char(' '))) line.chop(1);
        out << line << "\n";
    };

    out << QString::fromLatin1(DisplayName(system)) << "\n\n";
    row(QString(), 0);
    const bool anyDate =
        std::any_of(names.begin(), names.end(), [](const ComparedName& c) { return c.date.has_value(); });
    if (anyDate) row(QStringLiteral("Date"), 1);
    bool anyShared = false;
    for (std::size_t i = 0; i < kCoreNames.size(); ++i) {
        const CoreName name = kCoreNames[i];
        const bool any =
            std::any_of(names.begin(), names.end(), [name](const ComparedName& c) { return c.core[name].has_value(); });
        if (!any) continue;
        const bool shared = Shared(names, name);
        anyShared = anyShared || shared;
        row(QString::fromLatin1(TitleOf(name)) + (shared ? QStringLiteral(" *") : QString()),
            static_cast<qsizetype>(i) + 2);
    }
    if (anyShared) out << "\n* the same final digit for every name\n";
    for (std::size_t i = 0; i < names.size(); ++i) {
        out << "\n" << columns[i][0] << "\n";
        PrintChart(out, names[i].chartCells);
    }
}

}  // namespace

int RunCompareCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err) {
    const QStringList words = arguments.Words();
    if (words.size() < kFewestNames || words.size() > kMostNames) {
        return CommandError(
            err, ErrorKind::Usage,
            QStringLiteral("compare takes %1 to %2 names, not %3").arg(kFewestNames).arg(kMostNames).arg(words.size()));
    }
    const QStringList dates = arguments.Values(kDateOption);
    if (dates.size() > words.size()) {
        return CommandError(
            err, ErrorKind::Usage,
            QStringLiteral("compare has %1 dates for %2 names; the first --date is the first name's, and so on")
                .arg(dates.size())
                .arg(words.size()));
    }
    LetterSystem system = LetterSystem::Pythagorean;
    if (const int code = ReadSystem(arguments, system, err); code != kExitOk) return code;
    const bool foldAccents = FoldAccentsOf(arguments);

    // Each name as the Paste command puts it into the data field; there is no one to ask about
    // the Ys, so they stay consonants, as when the question is answered with Escape.
    std::vector<std::u16string> data;
    for (const QString& word : words) {
        data.push_back(NormalisePastedText(word.toStdU16String(), foldAccents));
        if (data.back().empty()) {
            return CommandError(err, ErrorKind::Usage, QStringLiteral("compare: name %1 is empty").arg(data.size()));
        }
    }
    std::vector<ComparedName> names;
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::optional<CivilDate> date;
        if (i < static_cast<std::size_t>(dates.size())) {
            date = ReadCommandDate(dates[static_cast<qsizetype>(i)], err);
            if (!date) return kExitUsage;
        }
        AnalysisValues values = AssembleAnalysis(data[i], system, foldAccents, date, CurrentDateSettings());
        ComparedName compared;
        // The text as given, in which a byte that is no UTF-8 is still shown as the byte.
        compared.dataText = QString::fromStdU16String(data[i]);
        if (values.date) compared.date = QString::fromStdString(values.date->dates);
        compared.core = std::move(values.core);
        compared.chartCells = ChartCellTexts(values.shown.chart);
        names.push_back(std::move(compared));
    }

    if (arguments.IsSet(kJsonOption)) {
        out << QJsonDocument(JsonOf(names)).toJson(QJsonDocument::Indented);
    } else {
        PrintReadable(out, system, names);
    }
    out.flush();
    return kExitOk;
}

}  // namespace quillon
