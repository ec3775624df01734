#pragma once
// What "analyse" and "prepare" share: their options, and the window's state and field texts for a
// text (and a date) as the analysis window would have them after pasting it and calculating.

#include <QString>
#include <QStringList>
#include <optional>

#include "numerology/Analysis.h"
#include "numerology/Dates.h"
#include "report/content/ReportVariables.h"

class QCommandLineParser;
class QTextStream;

namespace quillon {

struct AnalysisRequest {
    LetterSystem system = LetterSystem::Pythagorean;
    std::optional<QString> vowelY;  // "all" or a list of positions
    std::optional<QString> date;    // read as the date field reads typed text
    bool json = false;
    std::optional<QString> output;        // -o FILE
    std::optional<QString> templateFile;  // --template FILE: a report template stream
    QString text;
};

// Parses the options and the text; the text starts after the first textStart positional
// arguments (the command and its own words). A command with options of its own adds them to the
// parser it hands in and reads them from it afterwards. Returns an exit code, 0 when the request
// is good.
int ParseAnalysisRequest(const QStringList& arguments, int textStart, AnalysisRequest& request, QTextStream& err,
                         QCommandLineParser* parser = nullptr);

struct CommandAnalysis {
    AnalysisState state;
    ReportSource source;  // the texts the report's value callback reads
    QString dataText;     // the data field's text, vowel Ys in lowercase
};

// Reads a date given on the command line the way the date field reads typed text; an unreadable
// one is reported on err and gives nothing.
std::optional<CivilDate> ReadCommandDate(const QString& text, QTextStream& err);

// Runs the analysis (and the date calculation) of a request; returns an exit code.
int Analyse(const AnalysisRequest& request, CommandAnalysis& analysis, QTextStream& err);

// The text with its control characters written as escapes ("\x1B"), so that data shown on a
// terminal can neither move the cursor nor change colours, nor break a line.
QString VisibleText(const QString& text);

// A command's error: "quillon: " and the message, its control characters escaped, on standard
// error; returns the exit code given. A message of several lines keeps them, each escaped.
int CommandError(QTextStream& err, int code, const QString& message);
// A usage error: the message on one line, exit code 2.
int UsageError(QTextStream& err, const QString& message);

}  // namespace quillon
