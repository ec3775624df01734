#pragma once
// "quillon template save print|export -o FILE" and "quillon template show FILE": the report
// templates as the program carries them, and any template stream read back as JSON.

#include <QStringList>

class QTextStream;

namespace quillon {

int RunTemplateCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace quillon
