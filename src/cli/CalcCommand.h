#pragma once
// "quillon calc [--json] [--clipboard TEXT] KEYS...": keys typed and buttons clicked in the math
// calculator window, with no window on the screen. The window is the program's own, created with the
// others as at start-up, so the command answers exactly as the window would.

#include <QString>
#include <QStringList>

class QTextStream;

namespace quillon {
class CommandArguments;
}

namespace quillon {

struct Windows;

// Needs a QApplication.
int RunCalcCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err);

// Shows the calculator window as the Calculator button does and plays the keys into it (the KEYS
// language of the command). Returns an error text for keys that cannot be read, before any is played.
QString PlayCalculatorKeys(Windows& windows, const QString& keys);

}  // namespace quillon
