#pragma once
// "quillon --screenshot DIR": renders the windows as a person would see them into PNG files, so
// that anyone can look at them without a display.

#include <QStringList>

class QTextStream;

namespace quillon {

// Parses the screenshot options and writes the images; returns the process exit code. Needs a
// QApplication.
int RunScreenshot(const QStringList& arguments, QTextStream& err);

}  // namespace quillon
