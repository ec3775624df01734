#pragma once
// How the command line ends: its exit codes, and the one writer of its messages on standard error.

#include <QString>
#include <string>

#include "common/Messages.h"

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
// The same for every line of a text that keeps its line breaks.
QString TerminalText(const QString& text);

// Writes "quillon: " and the message, its control characters escaped, on err; returns the exit
// code of the kind. A failure's message keeps its lines, each escaped; a usage error is one line.
int CommandError(QTextStream& err, ErrorKind kind, const QString& message);
// A message of the core, in UTF-8; the bytes of a file name in it that are no UTF-8 are shown as
// escapes ("\xFF").
QString MessageText(const std::string& message);

// A message that ends nothing (a message box the calculator showed, a note that nothing was
// found), written as the errors are.
void CommandNote(QTextStream& err, const QString& message);

// The messages of the core (the help code's warnings, a window's error box) while a command or the
// screenshots run: written on err as the command's own notes, escaped alike.
class CommandMessages final : public Messages {
public:
    explicit CommandMessages(QTextStream& err) : err_(err) {}
    void Show(std::string_view caption, std::string_view text, MessageIcon icon) override;

private:
    QTextStream& err_;
};

}  // namespace quillon
