#include "cli/Generate.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include "cli/CommandTable.h"

namespace quillon {
namespace {

QString TroffEscaped(QString text) { return text.replace(QLatin1Char('-'), QStringLiteral("\\-")); }

// The value of an option in troff: the names to put in (FILE) in italics, the words to type
// (chaldean) in bold, the rest as it is: "\fIKEY\fP=\fIDIGIT\fP".
QString TroffValue(const QString& value) {
    static const QRegularExpression runs(QStringLiteral("[A-Z]+|[a-z]+|[^A-Za-z]+"));
    QString troff;
    for (const QRegularExpressionMatch& run : runs.globalMatch(value)) {
        const QString text = run.captured();
        if (text.at(0).isUpper()) {
            troff += QStringLiteral("\\fI") + text + QStringLiteral("\\fP");
        } else if (text.at(0).isLower()) {
            troff += QStringLiteral("\\fB") + text + QStringLiteral("\\fP");
        } else {
            troff += TroffEscaped(text);
        }
    }
    return troff;
}

// An option's paragraph: its names and value as the tag, then its text.
QString OptionParagraph(const OptionSpec& option) {
    QStringList names;
    for (const QString& name : TypedNames(option)) {
        names << QStringLiteral("\\fB") + TroffEscaped(name) + QStringLiteral("\\fP");
    }
    QString tag = names.join(QStringLiteral(", "));
    if (option.valueName) tag += QLatin1Char(' ') + TroffValue(QString::fromLatin1(option.valueName));
    return QStringLiteral(".TP\n") + tag + QLatin1Char('\n') + QString::fromUtf8(option.manual) + QLatin1Char('\n');
}

QString OptionParagraphs(std::span<const OptionSpec> options) {
    QString troff;
    for (const OptionSpec& option : options) {
        if (*option.manual) troff += OptionParagraph(option);
    }
    return troff;
}

// Bash: the lines indented for their place in the script.
QString Indented(const char* text, int by) {
    QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (!line.isEmpty()) line.prepend(QString(by, QLatin1Char(' ')));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// What the completion offers for an option's value, or nothing for a value typed freely.
QString ValueCompletion(const OptionSpec& option) {
    switch (option.completion) {
        case ValueCompletion::Printers:
            return QStringLiteral(
                "local -a printers\n"
                "mapfile -t printers < <(_quillon_printers \"$1\")\n"
                "_quillon_offer \"${printers[@]}\"");
        case ValueCompletion::WhereClauses:
            return QStringLiteral(
                "local key=${cur%%=*}\n"
                "case $cur in\n"
                "    vowels=* | consonants=* | total=* | date=* | namedate=*)\n"
                "        _quillon_offer \"$key=\"{0..9}\n"
                "        _quillon_trim_breaks\n"
                "        ;;\n"
                "    expression=* | soulurge=* | personality=* | lifepath=* | birthday=* | maturity=*)\n"
                "        _quillon_offer \"$key=\"{0..9} \"$key=\"{11,22,33}\n"
                "        _quillon_trim_breaks\n"
                "        ;;\n"
                "    *=*) ;;\n"
                "    *)\n"
                "        _quillon_offer vowels= consonants= total= date= namedate= expression= soulurge= \\\n"
                "            personality= lifepath= birthday= maturity=\n"
                "        compopt -o nospace\n"
                "        ;;\n"
                "esac");
        case ValueCompletion::Auto: break;
    }
    const QString value = QString::fromLatin1(option.valueName);
    if (value == QLatin1String("FILE") || value == QLatin1String("OUTPUT")) return QStringLiteral("_filedir");
    if (value == QLatin1String("DIR")) return QStringLiteral("_filedir -d");
    QStringList words;
    for (const QString& word : value.split(QLatin1Char('|'))) {
        if (!word.isEmpty() && word == word.toLower() && word.at(0).isLetter()) words << word;
    }
    return words.isEmpty() ? QString() : QStringLiteral("_quillon_offer ") + words.join(QLatin1Char(' '));
}

// The "case $prev in" of the values of a command's options.
QString ValueCases(std::span<const OptionSpec> options) {
    QString cases;
    for (const OptionSpec& option : options) {
        if (!option.valueName) continue;
        const QString completion = ValueCompletion(option);
        if (completion.isEmpty()) continue;
        cases += QStringLiteral("                    ") + TypedNames(option).join(QStringLiteral(" | ")) +
                 QStringLiteral(")\n") + Indented(completion.toUtf8().constData(), 24) +
                 QStringLiteral("                        ;;\n");
    }
    return QStringLiteral("                case $prev in\n") + cases + QStringLiteral("                esac\n");
}

QStringList AllNames(std::span<const OptionSpec> options) {
    QStringList names;
    for (const OptionSpec& option : options) names << TypedNames(option);
    return names;
}

}  // namespace

QString ManualSections() {
    QString troff = QStringLiteral(".SH COMMANDS\n");
    for (const CommandSpec* command : Commands()) {
        troff += QStringLiteral(".SS %1\n").arg(QString::fromLatin1(command->name));
        troff += QString::fromUtf8(command->manualSynopsis) + QStringLiteral("\n.PP\n");
        troff += QString::fromUtf8(command->manual) + QLatin1Char('\n');
        troff += OptionParagraphs(command->options);
    }
    // --screenshot first, with the options that go with it indented under it.
    const std::span<const OptionSpec> screenshot = ScreenshotOptions();
    troff += QStringLiteral(".SH OPTIONS\n") + OptionParagraph(screenshot.front());
    troff += QStringLiteral(".RS\n") + OptionParagraphs(screenshot.subspan(1)) + QStringLiteral(".RE\n");
    return troff + OptionParagraphs(ProgramOptions());
}

QString BashCompletion() {
    QStringList commandNames;
    QSet<QString> valueOptions;
    QString valueCases;
    QString optionCases;
    QString wordCases;
    const auto addValueOptions = [&valueOptions](std::span<const OptionSpec> options) {
        for (const OptionSpec& option : options) {
            if (option.valueName) {
                for (const QString& name : TypedNames(option)) valueOptions.insert(name);
            }
        }
    };
    for (const CommandSpec* command : Commands()) {
        const QString name = QString::fromLatin1(command->name);
        commandNames << name;
        addValueOptions(command->options);
        valueCases += QStringLiteral("            %1)\n").arg(name) + ValueCases(command->options) +
                      QStringLiteral("                ;;\n");
        optionCases += QStringLiteral("        %1) options=(%2) ;;\n")
                           .arg(name, AllNames(command->options).join(QLatin1Char(' ')));
        if (*command->completeWords) {
            wordCases += QStringLiteral("        %1)\n").arg(name) + Indented(command->completeWords, 12) +
                         QStringLiteral("            ;;\n");
        }
    }
    addValueOptions(ScreenshotOptions());
    QStringList valueNames = valueOptions.values();
    valueNames.sort();
    QStringList programOptions = AllNames(ProgramOptions());
    programOptions.insert(0, TypedNames(ScreenshotOptions().front()).constFirst());

    QString script =
        QStringLiteral(R"sh(# bash completion for quillon(1)                             -*- shell-script -*-
#
# Made by "quillon --generate bash" from the program's command definitions. Completes the
# commands, each command's options, the values of options that take one of a fixed set, file and
# folder names where a command takes them, the printers that "quillon printers" lists, the help
# pages that "quillon help --list" names and the calculator's keys in braces.
# Built on the helpers of the bash-completion package (_init_completion, _filedir).

# Offers the candidates that begin with the word being completed ($cur of _quillon). They are
# taken as they are: compgen -W would expand them, and its output would be split and globbed.
_quillon_offer()
{
    local candidate
    COMPREPLY=()
    for candidate; do
        [[ $candidate == "$cur"* ]] && COMPREPLY+=("$candidate")
    done
}

# Readline replaces only the part of the word after its last = or : (both break words), so the
# candidates lose what comes before that.
_quillon_trim_breaks()
{
    local break_char prefix= candidate i
    for break_char in = :; do
        if [[ $COMP_WORDBREAKS == *"$break_char"* && $cur == *"$break_char"* ]]; then
            candidate=${cur%"$break_char"*}$break_char
            ((${#candidate} > ${#prefix})) && prefix=$candidate
        fi
    done
    for i in "${!COMPREPLY[@]}"; do
        COMPREPLY[i]=${COMPREPLY[i]#"$prefix"}
    done
}

# The installed printers, without the marks "* " (the default one) and "  " before the names.
_quillon_printers()
{
    local line
    while IFS= read -r line; do
        [[ $line ]] && printf '%s\n' "${line:2}"
    done < <("$1" printers 2>/dev/null)
}

_quillon()
{
    local cur prev words cword split
    _init_completion -s -n =: || return

    # The words before the current one, without the debug switches, which may stand anywhere.
    local -a args=()
    local i word screenshot=
    for ((i = 1; i < cword; i++)); do
        word=${words[i]}
        case ${word,,} in
            -debug | /debug) continue ;;
            --screenshot) screenshot=1 ;;
        esac
        args+=("$word")
    done

    local command=
    [[ ${args[0]} != -* ]] && command=${args[0]}

    # The words after the command that are not options or their values, and whether "--" has
    # ended the options.
    local -a positional=()
    local options_ended= value_next= first=0
    [[ $command ]] && first=1
    for word in "${args[@]:first}"; do
        if [[ $value_next ]]; then
            value_next=
        elif [[ $options_ended || $word != -* || $word == - ]]; then
            positional+=("$word")
        elif [[ $word == -- ]]; then
            options_ended=1
        else
            case $word in
                @VALUE_OPTIONS@) value_next=1 ;;
            esac
        fi
    done

    if [[ ! $options_ended && ($value_next || $split == true) ]]; then
        case $command in
@VALUE_CASES@        esac
        # A value that is typed freely (a text, a date, a number) has nothing to offer.
        return
    fi

    local want_options=
    [[ ! $options_ended && $cur == -* ]] && want_options=1

    if [[ $screenshot ]]; then
        [[ $want_options ]] && _quillon_offer @SCREENSHOT_OPTIONS@
        return
    fi

    if [[ ! $command ]]; then
        if [[ $cur == -* ]]; then
            _quillon_offer @PROGRAM_OPTIONS@
        elif ((${#args[@]} == 0)); then
            _quillon_offer @COMMANDS@
        fi
        return
    fi

    local -a options
    case $command in
@OPTION_CASES@        *) return ;;
    esac
    if [[ $want_options ]]; then
        _quillon_offer "${options[@]}" --help
        return
    fi

    case $command in
@WORD_CASES@    esac
} &&
    complete -F _quillon quillon

# ex: filetype=sh
)sh");
    valueCases +=
        QStringLiteral("            '')\n") + ValueCases(ScreenshotOptions()) + QStringLiteral("                ;;\n");
    script.replace(QStringLiteral("@VALUE_OPTIONS@"), valueNames.join(QStringLiteral(" | ")));
    script.replace(QStringLiteral("@VALUE_CASES@"), valueCases);
    script.replace(QStringLiteral("@SCREENSHOT_OPTIONS@"), AllNames(ScreenshotOptions()).join(QLatin1Char(' ')));
    script.replace(QStringLiteral("@PROGRAM_OPTIONS@"), programOptions.join(QLatin1Char(' ')));
    script.replace(QStringLiteral("@COMMANDS@"), commandNames.join(QLatin1Char(' ')));
    script.replace(QStringLiteral("@OPTION_CASES@"), optionCases);
    script.replace(QStringLiteral("@WORD_CASES@"), wordCases);
    return script;
}

}  // namespace quillon
