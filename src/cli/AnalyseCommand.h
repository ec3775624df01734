#pragma once
// What "analyse" and "prepare" share: their options, and the window's state and field texts for a
// text (and a date) as the analysis window would have them after pasting it and calculating.

#include <QString>
#include <QStringList>
#include <optional>

#include "cli/CommandTable.h"
#include "cli/OptionReaders.h"
#include "numerology/Analysis.h"
#include "numerology/Dates.h"
#include "report/content/ReportVariables.h"

class QTextStream;

namespace quillon {

struct AnalysisRequest {
    LetterSystem system = LetterSystem::Pythagorean;
    VowelYChoice vowelY;
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
    AnalysisState state;
    ReportSource source;  // the texts the report's value callback reads
    QString dataText;     // the data field's text, vowel Ys in lowercase
};

// Runs the analysis (and the date calculation) of a request; returns an exit code.
int Analyse(const AnalysisRequest& request, CommandAnalysis& analysis, QTextStream& err);

// "quillon analyse": the analysis as the window lays it out, or its report values as JSON.
int RunAnalyseCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err);

}  // namespace quillon
