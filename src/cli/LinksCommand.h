#pragma once
// "quillon links [--json]": the pages of the links window, in the window's order.

#include <QStringList>

class QTextStream;

namespace quillon {
class CommandArguments;
}

namespace quillon {

// Prints one line per link (caption, then address) or, with --json, an array of objects with
// "caption", "url" and "group". Returns the process exit code.
int RunLinksCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err);

}  // namespace quillon
