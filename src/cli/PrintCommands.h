#pragma once
// "quillon printers [--json]" lists the installed printers; "quillon print [OPTIONS] TEXT"
// prepares the print report and prints it as the print dialog's OK would, on a printer or into a
// PDF file. Both need a QGuiApplication (Qt's printing reaches CUPS through it).

#include <QStringList>

class QTextStream;

namespace quillon {
class CommandArguments;
}

namespace quillon {

int RunPrintersCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err);
int RunPrintCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err);

}  // namespace quillon
