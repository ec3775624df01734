#pragma once
// How the command line ends: its exit codes, and the one writer of its messages on standard error.

#include <QString>
#include <string>

class QTextStream;

namespace quillon {

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// What went wrong decides the exit code: a request that could not be carried out is a failure
// (1), a request that is wrongly put a usage error (2).
enum class ErrorKind { Failure, Usage };

// The text with its control characters written as escapes ("\x1B"), so that data shown on a
// terminal can neither move the cursor nor change colours, nor break a line.
QString VisibleText(const QString& text);

// Writes "quillon: " and the message, its control characters escaped, on err; returns the exit
// code of the kind. A failure's message keeps its lines, each escaped; a usage error is one line.
int CommandError(QTextStream& err, ErrorKind kind, const QString& message);
// A message of the core, in UTF-8; the bytes of a file name in it that are no UTF-8 are shown as
// escapes ("\xFF").
QString MessageText(const std::string& message);

// A message that ends nothing (a message box the calculator showed, a note that nothing was
// found), written as the errors are.
void CommandNote(QTextStream& err, const QString& message);

}  // namespace quillon
