#pragma once
// "quillon prepare print|export [OPTIONS] --json TEXT": prepares one of the two reports for the
// state the window would have and prints the prepared pages as JSON.

#include <QStringList>

class QTextStream;

namespace quillon {

int RunPrepareCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace quillon
