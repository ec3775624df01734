#include "cli/CommandLine.h"

#include <QTextStream>

#include "cli/CommandTable.h"
#include "cli/Generate.h"
#include "common/Version.h"

namespace quillon {
namespace {

QString VersionText() { return QStringLiteral("Quillon Ver. ") + QString::fromLatin1(kVersion); }

// Whether the arguments after the command ask for help (an argument after "--" is text).
bool AsksForHelp(const QStringList& arguments) {
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--")) return false;
        if (arguments[i] == QLatin1String("-h") || arguments[i] == QLatin1String("--help")) return true;
    }
    return false;
}

int Print(QTextStream& out, const QString& text) {
    out << text;
    out.flush();
    return kExitOk;
}

}  // namespace

StartMode ModeOf(const QStringList& arguments) {
    if (arguments.size() <= 1) return StartMode::Window;
    // After "--" everything is text, "--screenshot" too.
    const qsizetype textFrom = arguments.indexOf(QStringLiteral("--"));
    if (arguments.mid(0, textFrom < 0 ? arguments.size() : textFrom).contains(QStringLiteral("--screenshot"))) {
        return StartMode::Screenshot;
    }
    return StartMode::CommandLine;
}

bool NeedsWidgets(const QStringList& arguments) {
    const CommandSpec* command = FindCommand(arguments.value(1));
    return command && command->needsWidgets;
}

int RunCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    CommandMessages messages(err);
    const ScopedMessages messagesToErr(messages);
    if (arguments.size() < 2) {
        return CommandError(err, ErrorKind::Usage, QStringLiteral("no command given; see quillon --help"));
    }
    const QString& first = arguments.at(1);
    if (first == QLatin1String("-h") || first == QLatin1String("--help")) return Print(out, ProgramUsage());
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) return Print(out, VersionText() + "\n");
    // The build writes the man page's generated sections and the completion script this way.
    if (first == QLatin1String("--generate") && arguments.size() == 3) {
        if (arguments[2] == QLatin1String("man")) return Print(out, ManualSections());
        if (arguments[2] == QLatin1String("bash")) return Print(out, BashCompletion());
    }
    const CommandSpec* command = FindCommand(first);
    if (!command) {
        return CommandError(err, ErrorKind::Usage,
                            QStringLiteral("unknown command \"%1\"; see quillon --help").arg(first));
    }
    if (AsksForHelp(arguments)) return Print(out, CommandUsage(*command));
    CommandArguments commandArguments(arguments, command->options);
    if (const int code = commandArguments.Parse(first, err); code != kExitOk) return code;
    return command->run(commandArguments, out, err);
}

}  // namespace quillon
