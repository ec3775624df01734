#pragma once
// Runs the program's command line in the test process and keeps what it printed.

#include <QString>
#include <QStringList>
#include <QTextStream>

#include "app/CommandLine.h"

namespace quillon {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

// The arguments without the program name.
inline Outcome Quillon(QStringList arguments) {
    arguments.prepend(QStringLiteral("quillon"));
    Outcome run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.exitCode = RunCommandLine(arguments, out, err);
    return run;
}

}  // namespace quillon
