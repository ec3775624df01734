#pragma once
// The program's command line: the commands of cli/CommandTable.h and the program's own options.
// It answers without opening a window, from the same analysis and the same report value table as
// the analysis window.

#include <QStringList>

#include "cli/CommandError.h"

class QTextStream;

namespace quillon {

enum class StartMode { Window, Screenshot, CommandLine };

// Decides from the arguments (program name first, debug switches taken out) what the program is
// to do, before any application object exists: no arguments open the window, "--screenshot"
// (before any "--", after which everything is text) renders the windows, anything else is a
// command.
StartMode ModeOf(const QStringList& arguments);

// Whether the command of the arguments needs a widgets application rather than a plain one.
bool NeedsWidgets(const QStringList& arguments);

// Runs a command; returns the process exit code: 0 on success, 1 when the command failed, 2 for a
// usage error. Output goes to out, messages to err.
int RunCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace quillon
