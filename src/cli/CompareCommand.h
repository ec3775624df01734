#pragma once
// "quillon compare": two to ten names side by side by their core numbers, the numbers they all
// share marked, and the digit chart of each.

class QTextStream;

namespace quillon {

class CommandArguments;

int RunCompareCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err);

}  // namespace quillon
