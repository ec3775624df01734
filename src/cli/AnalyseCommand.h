#pragma once
// What "analyse" and "prepare" share: their options, and the window's state and field texts for a
// text (and a date) as the analysis window would have them after pasting it and calculating.

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <string>

#include "cli/CommandTable.h"
#include "cli/OptionReaders.h"
#include "numerology/Analysis.h"
#include "numerology/AnalysisValues.h"
#include "numerology/CoreNumbers.h"
#include "numerology/Dates.h"
#include "numerology/DigitChart.h"
#include "report/content/ReportVariables.h"

class QTextStream;

namespace quillon {

struct AnalysisRequest {
    LetterSystem system = LetterSystem::Pythagorean;
    VowelYChoice vowelY;
    bool foldAccents = false;
    std::optional<QString> date;  // read as the date field reads typed text
    bool json = false;
    std::optional<QString> output;        // -o FILE
    std::optional<QString> templateFile;  // --template FILE: a report template stream
    QString text;
};

// Reads the options and the text; the text starts after the first textStart words (the command's
// own words, such as prepare's print). Returns an exit code, 0 when the request is good.
int ReadAnalysisRequest(const CommandArguments& arguments, int textStart, AnalysisRequest& request, QTextStream& err);

struct CommandAnalysis {
    AnalysisValues values;
    ReportSource source;  // the texts the report's value callback reads, made of the values
};

// Runs the analysis (and the date calculation) of a request; returns an exit code.
int Analyse(const AnalysisRequest& request, CommandAnalysis& analysis, QTextStream& err);

// The core numbers as "analyse --json" gives them: {"expression": {"chain", "digit", "master"}, ...},
// the numbers of the date only when there is one.
QJsonObject CoreJson(const CoreNumbers& core);

// The digit chart as analyse prints it: the digits 1 to 9 and a total over the rows of vowels,
// consonants and their total (the chart cells of a report).
void PrintChart(QTextStream& out, const std::array<std::string, kChartCellCount>& chartCells);

// "quillon analyse": the analysis as the window lays it out, or its report values as JSON.
int RunAnalyseCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err);

}  // namespace quillon
