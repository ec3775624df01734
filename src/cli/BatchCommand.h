#pragma once
// "quillon batch": the command-line side of a batch run. It reads the options, the regional date
// settings and today's date, opens the input and the output, and reports skipped rows and
// progress; the run itself is the batch core's.

#include <QStringList>

class QTextStream;

namespace quillon {
class CommandArguments;
}

namespace quillon {

// Returns the exit code: 0 when every row was analysed, 1 when rows were skipped, 2 for a usage
// error, an input that cannot be read or an output that cannot be written.
int RunBatchCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err);

}  // namespace quillon
