#pragma once
// Runs a command of the program's command line in the test process and keeps what it wrote.

#include <QStringList>
#include <QTextStream>

#include "cli/CommandLine.h"
#include "windows/help/HelpService.h"

namespace quillon {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs "quillon ARGUMENTS...", its debug switches taken out as the program's start takes them.
inline Outcome Quillon(QStringList arguments) {
    arguments.prepend("quillon");
    Outcome run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.exitCode = RunCommandLine(WithoutDebugSwitches(arguments), out, err);
    return run;
}

}  // namespace quillon
