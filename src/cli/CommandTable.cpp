#include "cli/CommandTable.h"

#include <QTextStream>

#include "cli/CommandError.h"
#include "cli/CommandSpecs.h"
#include "cli/Options.h"
#include "common/Utf8.h"

namespace quillon {
namespace {

const CommandSpec* const kCommands[] = {&kAnalyseCommand, &kCompareCommand,  &kPrepareCommand, &kExportCommand,
                                        &kTemplateCommand, &kPrintersCommand, &kPrintCommand,  &kLinksCommand,
                                        &kCalcCommand,    &kBatchCommand,    &kHelpCommand};

constexpr OptionSpec kScreenshotOptions[] = {
    Described(kScreenshotOption, "", R"man(Writes PNG images of the windows into the folder
.IR DIR ,
which is created if need be, without showing anything on the screen:
.B analysis.png
(the analysis window),
.B ydialog.png
(the Y question, when the text holds a Y),
.B date.png
(the date calculator),
.BR links.png ,
.BR calculator.png ,
.BR help.png ,
.B print\-dialog.png
and the first pages of the two reports,
.B print\-page.png
and
.BR export\-page.png .
.B \-\-screenshot
may be combined with these:)man"),
    Described(kDataOption, "", "The text, pasted into the analysis window."),
    WithManual(kSystemOption, "The letter system of the window."),
    WithManual(kDateOption, "A date, typed into the date calculator and calculated."),
    WithManual(kFoldAccentsOption, "Accented letters valued as their base letters in the window."),
};

constexpr OptionSpec kProgramOptions[] = {
    {"h,help", nullptr, "", "Shows the usage of every command, or, after a command, that command's usage."},
    {"v,version", nullptr, "", "Shows the version."},
    {"-debug,/debug", nullptr, "", R"man(Switches on the help's diagnostic log
.B HHDebug.txt
(see
.BR FILES );
any letter case, anywhere on the command line before
.BR \-\- ,
with the window and with every command.)man"},
};

QString Indented(const QString& text, int by) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (!line.isEmpty()) line.prepend(QString(by, QLatin1Char(' ')));
    }
    return lines.join(QLatin1Char('\n'));
}

// An option as its usage names it: "-o, --output FILE".
QString OptionTitle(const OptionSpec& option) {
    QString title = TypedNames(option).join(QStringLiteral(", "));
    if (option.valueName) title += QLatin1Char(' ') + QString::fromLatin1(option.valueName);
    return title;
}

}  // namespace

QStringList TypedNames(const OptionSpec& option) {
    QStringList names;
    for (const QString& name : QString::fromLatin1(option.names).split(QLatin1Char(','))) {
        if (name.startsWith(QLatin1Char('-')) || name.startsWith(QLatin1Char('/'))) {
            names << name;
        } else {
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        }
    }
    return names;
}

std::span<const CommandSpec* const> Commands() { return kCommands; }

const CommandSpec* FindCommand(const QString& name) {
    for (const CommandSpec* command : kCommands) {
        if (name == QLatin1String(command->name)) return command;
    }
    return nullptr;
}

std::span<const OptionSpec> ProgramOptions() { return kProgramOptions; }
std::span<const OptionSpec> ScreenshotOptions() { return kScreenshotOptions; }

CommandArguments::CommandArguments(const QStringList& arguments, std::span<const OptionSpec> options, int words)
    : arguments_(arguments), words_(words) {
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    for (const OptionSpec& option : options) {
        const QStringList names = QString::fromLatin1(option.names).split(QLatin1Char(','));
        known_ << names;
        parser_.addOption(option.valueName ? QCommandLineOption(names, {}, QString::fromLatin1(option.valueName))
                                           : QCommandLineOption(names));
    }
}

QString CommandArguments::Known(const OptionSpec& option) const {
    const QString name = QString::fromLatin1(option.names).section(QLatin1Char(','), 0, 0);
    return known_.contains(name) ? name : QString();
}

bool CommandArguments::IsSet(const OptionSpec& option) const {
    const QString name = Known(option);
    return !name.isEmpty() && parser_.isSet(name);
}

QString CommandArguments::FileValue(const OptionSpec& option) const {
    const QString name = Known(option);
    return name.isEmpty() ? QString() : parser_.value(name);
}

QStringList CommandArguments::Values(const OptionSpec& option) const {
    const QString name = Known(option);
    QStringList values = name.isEmpty() ? QStringList() : parser_.values(name);
    for (QString& value : values) value = AsText(value);
    return values;
}

QStringList CommandArguments::Words() const {
    QStringList words = parser_.positionalArguments().mid(words_);
    for (QString& word : words) word = AsText(word);
    return words;
}

QString AsText(const QString& argument) {
    const std::u16string_view text(reinterpret_cast<const char16_t*>(argument.utf16()), static_cast<std::size_t>(argument.size()));
    QString result = argument;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsEscapedByteAt(text, i)) result[static_cast<qsizetype>(i)] = QChar::ReplacementCharacter;
    }
    return result;
}

std::string FileNameBytes(const QString& argument) {
    return Utf16EscapedToBytes(
        std::u16string_view(reinterpret_cast<const char16_t*>(argument.utf16()), static_cast<std::size_t>(argument.size())));
}

int CommandArguments::Parse(const QString& who, QTextStream& err) {
    if (parser_.parse(arguments_)) return kExitOk;
    // An option the command does not have is named as it was given.
    const QStringList unknown = parser_.unknownOptionNames();
    if (unknown.isEmpty()) return CommandError(err, ErrorKind::Usage, parser_.errorText());
    const QString option = (unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + unknown.first();
    const QString usage = who.startsWith(QLatin1Char('-')) ? QStringLiteral("quillon --help")
                                                           : QStringLiteral("quillon %1 --help").arg(who);
    return CommandError(err, ErrorKind::Usage,
                        QStringLiteral("%1 has no option \"%2\"; see %3").arg(who, option, usage));
}

QString ProgramUsage() {
    QString text = QStringLiteral(
        "Usage: quillon [COMMAND] [OPTIONS]\n"
        "\n"
        "Without a command Quillon opens its analysis window.\n"
        "\n"
        "Commands:\n");
    for (const CommandSpec* command : kCommands) text += QStringLiteral("  ") + QString::fromUtf8(command->summary);
    return text + QStringLiteral(
                      "\n"
                      "Options:\n"
                      "  --screenshot DIR [--data TEXT] [--system pythagorean|chaldean]\n"
                      "               [--date TEXT] [--fold-accents]\n"
                      "      Writes PNG images of the windows into DIR.\n"
                      "  -h, --help       Shows this text; after a command, that command's usage.\n"
                      "  -v, --version    Shows the version.\n"
                      "  -debug, /debug   Writes the help's diagnostic log HHDebug.txt; goes with the\n"
                      "                   window and with every command.\n");
}

QString CommandUsage(const CommandSpec& command) {
    if (command.usage) return QString::fromUtf8(command.usage);
    // The synopsis' continuation lines are indented for the command list ("  " in front of the
    // command); behind "Usage: quillon " they move right by the difference, so that they stay
    // under the options. The description lines keep their place.
    const QString prefix = QStringLiteral("Usage: quillon ");
    QStringList lines = QString::fromUtf8(command.summary).split(QLatin1Char('\n'));
    for (qsizetype i = 1; i < lines.size() && lines[i].startsWith(QLatin1String("        ")); ++i) {
        lines[i].prepend(QString(prefix.size() - 2, QLatin1Char(' ')));
    }
    QString text = prefix + lines.join(QLatin1Char('\n'));
    // Then every option the command's parser knows, with its line of help.
    text += QStringLiteral("\nOptions:\n");
    for (const OptionSpec& option : command.options) {
        const QString title = QStringLiteral("  ") + OptionTitle(option);
        text += title.size() < 24 ? title.leftJustified(24) : title + QLatin1Char('\n') + QString(24, QLatin1Char(' '));
        text += Indented(QString::fromUtf8(option.help), 24).mid(24) + QLatin1Char('\n');
    }
    return text + QStringLiteral("  -h, --help            Shows this text.\n");
}

}  // namespace quillon
