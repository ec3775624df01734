#pragma once
// What the build makes from the command definitions: the man page's COMMANDS and OPTIONS sections
// (troff) and the bash completion script. "quillon --generate man|bash" prints them.

#include <QString>

namespace quillon {

QString ManualSections();
QString BashCompletion();

}  // namespace quillon
