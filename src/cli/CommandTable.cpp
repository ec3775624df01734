#include "cli/CommandTable.h"

#include <QTextStream>
#include <algorithm>
#include <vector>

#include "cli/CommandError.h"
#include "cli/CommandSpecs.h"
#include "cli/Options.h"
#include "common/Utf8.h"

namespace quillon {
namespace {

const CommandSpec* const kCommands[] = {&kAnalyseCommand,  &kCompareCommand,  &kPrepareCommand, &kExportCommand,
                                        &kTemplateCommand, &kPrintersCommand, &kPrintCommand,   &kLinksCommand,
                                        &kCalcCommand,     &kBatchCommand,    &kHelpCommand};

// The synopses of the command list stay within 84 columns; that of --screenshot, among the
// program's options, within 72.
constexpr int kCommandSynopsisWidth = 84;
constexpr int kScreenshotSynopsisWidth = 72;

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
    const std::u16string_view text(reinterpret_cast<const char16_t*>(argument.utf16()),
                                   static_cast<std::size_t>(argument.size()));
    QString result = argument;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsEscapedByteAt(text, i)) result[static_cast<qsizetype>(i)] = QChar::ReplacementCharacter;
    }
    return result;
}

std::string FileNameBytes(const QString& argument) {
    return Utf16EscapedToBytes(std::u16string_view(reinterpret_cast<const char16_t*>(argument.utf16()),
                                                   static_cast<std::size_t>(argument.size())));
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

QStringList SynopsisItems(std::span<const OptionSpec> options) {
    std::vector<const OptionSpec*> ordered;
    for (const OptionSpec& option : options) ordered.push_back(&option);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const OptionSpec* a, const OptionSpec* b) { return a->synopsis.order < b->synopsis.order; });
    QStringList items;
    QStringList groups;
    QStringList alternatives;
    for (const OptionSpec* option : ordered) {
        const SynopsisForm& form = option->synopsis;
        if (form.among) {
            const QString group = QString::fromUtf8(form.among);
            if (!groups.contains(group)) items << QLatin1Char('[') + group + QLatin1Char(']');
            groups << group;
            continue;
        }
        QString text = TypedNames(*option).constFirst();
        if (option->valueName) {
            text += QLatin1Char(' ') + QString::fromLatin1(form.value ? form.value : option->valueName);
        }
        alternatives << text;
        if (form.orNext) continue;
        text = alternatives.join(QStringLiteral(" | "));
        alternatives.clear();
        if (!form.required) text = QLatin1Char('[') + text + QLatin1Char(']');
        items << (form.repeated ? text + QStringLiteral("...") : text);
    }
    return items;
}

QString WrappedSynopsis(const QString& lead, const QStringList& items, int indent, int width) {
    // The breaks are those of the command list, with "  " in front, wherever the text stands.
    const qsizetype start = 2 + lead.size() + 1;
    const QString under(indent + lead.size() + 1, QLatin1Char(' '));
    QString text = lead;
    qsizetype column = start - 1;
    for (const QString& item : items) {
        if (column > start && column + 1 + item.size() > width) {
            text += QLatin1Char('\n') + under + item;
            column = start + item.size();
        } else {
            text += QLatin1Char(' ') + item;
            column += 1 + item.size();
        }
    }
    return text;
}

QString CommandSynopsis(const CommandSpec& command, int indent, bool shortened) {
    QStringList items = SynopsisItems(command.options);
    if (shortened && command.usageOptions >= 0) {
        items = items.mid(0, command.usageOptions) << QStringLiteral("[OPTIONS]");
    }
    if (*command.before) items.prepend(QString::fromUtf8(command.before));
    if (*command.after) items << QString::fromUtf8(command.after);
    return WrappedSynopsis(QString::fromLatin1(command.name), items, indent, kCommandSynopsisWidth);
}

QString ProgramUsage() {
    QString text = QStringLiteral(
        "Usage: quillon [COMMAND] [OPTIONS]\n"
        "\n"
        "Without a command Quillon opens its analysis window.\n"
        "\n"
        "Commands:\n");
    for (const CommandSpec* command : kCommands) {
        text += QStringLiteral("  ") + CommandSynopsis(*command, 2) + QLatin1Char('\n') +
                QString::fromUtf8(command->description);
    }
    // --screenshot leads its synopsis as a command's name does.
    const OptionSpec& screenshot = kScreenshotOptions[0];
    const QStringList items =
        QStringList{QString::fromLatin1(screenshot.valueName)} + SynopsisItems(ScreenshotOptions().subspan(1));
    return text + QStringLiteral("\nOptions:\n  ") +
           WrappedSynopsis(TypedNames(screenshot).constFirst(), items, 2, kScreenshotSynopsisWidth) +
           QStringLiteral(
               "\n"
               "      Writes PNG images of the windows into DIR.\n"
               "  -h, --help       Shows this text; after a command, that command's usage.\n"
               "  -v, --version    Shows the version.\n"
               "  -debug, /debug   Writes the help's diagnostic log HHDebug.txt; goes with the\n"
               "                   window and with every command.\n");
}

QString CommandUsage(const CommandSpec& command) {
    // The synopsis' further lines stand under the options behind "Usage: quillon " as they do in
    // the command list.
    const QString prefix = QStringLiteral("Usage: quillon ");
    QString text = prefix + CommandSynopsis(command, prefix.size(), command.usage != nullptr) + QLatin1Char('\n');
    if (command.usage) return text + QString::fromUtf8(command.usage);
    text += QString::fromUtf8(command.description);
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
