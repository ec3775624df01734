#pragma once
// "quillon help": the help viewer at a page, or a page of the help file as plain text, or the
// table of contents, without the analysis window.

#include <QString>
#include <QStringList>
#include <optional>

class QTextStream;

namespace quillon {
class CommandArguments;
}

namespace quillon {

class ChmFile;

// Runs "help" (arguments: program name, "help", options and the page); returns the exit code. The
// viewer needs a QApplication on a real display; the text forms need a QGuiApplication.
int RunHelpCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err);

// A page of a help file as plain text: headings, paragraphs, lists and tables as a reader of a
// terminal expects them, control characters written as escapes. Nothing when the page cannot be
// read.
std::optional<QString> HelpPageText(const ChmFile& file, const QString& page);

}  // namespace quillon
