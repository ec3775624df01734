#pragma once
// The report commands: "quillon prepare print|export [OPTIONS] --json TEXT" prepares one of the
// two reports for the state the window would have and prints the prepared pages as JSON;
// "quillon export [OPTIONS] -o FILE TEXT" writes the RTF file the Export button writes.

#include <QStringList>

class QTextStream;

namespace quillon {

int RunPrepareCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
// Needs a QGuiApplication: text is measured with the fonts the window uses.
int RunExportCommand(const QStringList& arguments, QTextStream& err);

}  // namespace quillon
