#pragma once
// Every command of the command line, each defined once: its name, its usage, its options, whether
// it needs the widgets and the function that runs it. The command list of "quillon --help",
// "quillon COMMAND --help", the options each command's parser knows, the decision between a
// widgets application and a plain one, the man page's COMMANDS and OPTIONS sections and the bash
// completion all come from these definitions.

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <span>
#include <string>

class QTextStream;

namespace quillon {

// What the completion offers for an option's value. Auto: files for FILE, INPUT and OUTPUT,
// folders for DIR, the words of a value such as "csv|tsv|jsonl", nothing for a free text.
enum class ValueCompletion { Auto, Printers, WhereClauses };

// How an option stands in its command's synopsis (the usage line of "quillon --help" and of
// "quillon COMMAND --help"): by its first name, with its value, in brackets, "[-o FILE]", unless
// said otherwise here.
struct SynopsisForm {
    int order = 0;                // options stand by order, those of one order as the command lists them
    const char* value = nullptr;  // another name for the value in the synopsis: "[--date DATE]"
    bool required = false;        // "-o FILE", without brackets
    bool repeated = false;        // "[--where KEY=DIGIT]..."
    bool orNext = false;          // "[--odd | --even]": this option or the next one
    const char* among = nullptr;  // the options of one such text stand as one "[analyse's options]"
};

struct OptionSpec {
    // "system", or "o,output" for a short and a long name; a name written with its prefix
    // ("-debug", "/debug") is typed as it stands.
    const char* names;
    const char* valueName = nullptr;  // "FILE", "pythagorean|chaldean"; none for a switch
    const char* help = "";            // a line for COMMAND --help
    const char* manual = "";          // the man page's paragraph in troff; none: described elsewhere
    ValueCompletion completion = ValueCompletion::Auto;
    SynopsisForm synopsis = {};
};

// The names of an option as they are typed: "-o", "--output".
QStringList TypedNames(const OptionSpec& option);

// The same option with another paragraph on the man page, for a command that means it otherwise.
constexpr OptionSpec WithManual(OptionSpec option, const char* manual) {
    option.manual = manual;
    return option;
}

// The same option with a command's own line of help and paragraph on the man page.
constexpr OptionSpec Described(OptionSpec option, const char* help, const char* manual) {
    option.help = help;
    return WithManual(option, manual);
}

// The same option standing otherwise in the command's synopsis.
constexpr OptionSpec InSynopsis(OptionSpec option, SynopsisForm form) {
    option.synopsis = form;
    return option;
}

class CommandArguments;
using CommandRun = int (*)(const CommandArguments& arguments, QTextStream& out, QTextStream& err);

struct CommandSpec {
    const char* name;
    // The words of the synopsis before the options ("print|export") and after them ("[--] TEXT");
    // the synopsis is made of these and the options (see SynopsisForm).
    const char* before = "";
    const char* after = "";
    // The command's entry in "quillon --help" after its synopsis, indented by six.
    const char* description = "";
    std::span<const OptionSpec> options;
    // Export measures text with the window's fonts, help may open its viewer, calc works the
    // calculator window, print and printers reach the printers through Qt's printing: they need a
    // widgets application, which runs off-screen without a display.
    bool needsWidgets;
    CommandRun run;
    // A text of its own for COMMAND --help after the usage line, instead of the description and the
    // options; that usage line shows the first usageOptions options of the synopsis, then
    // "[OPTIONS]" (all of them: -1).
    const char* usage = nullptr;
    int usageOptions = -1;
    const char* manualSynopsis = "";
    const char* manual = "";
    // Bash that completes the command's words other than options (see the completion script for
    // the variables it has); none: nothing to offer.
    const char* completeWords = "";
};

// The commands in the order "quillon --help" lists them.
std::span<const CommandSpec* const> Commands();
const CommandSpec* FindCommand(const QString& name);
// The options of the program as a whole and those that go with --screenshot.
std::span<const OptionSpec> ProgramOptions();
std::span<const OptionSpec> ScreenshotOptions();

// The program's arguments arrive as bytes (main decodes them with BytesToUtf16Escaped, so that a
// file name that is no UTF-8 names its own file). As text, each escaped byte is U+FFFD; as a file
// name, the bytes are given back.
QString AsText(const QString& argument);
std::string FileNameBytes(const QString& argument);

// The arguments of a command as its options read them.
class CommandArguments {
public:
    // words: how many positional arguments name the command (the command's name: 1; none: 0).
    CommandArguments(const QStringList& arguments, std::span<const OptionSpec> options, int words = 1);

    // Reads the options; an option the command does not have, or one without its value, is a
    // usage error naming it, written on err. Returns the exit code, 0 when all is read.
    int Parse(const QString& who, QTextStream& err);

    // Whether the option was given; an option the command does not have never is. Options are
    // looked up by their definitions (cli/Options.h), never by a name typed again.
    bool IsSet(const OptionSpec& option) const;
    // Values and words as text: the bytes of an argument that are no UTF-8 are U+FFFD each. An
    // option the command does not have has none.
    QString Value(const OptionSpec& option) const { return AsText(FileValue(option)); }
    QStringList Values(const OptionSpec& option) const;
    // The positional arguments after the command's name.
    QStringList Words() const;
    const QStringList& All() const { return arguments_; }
    // A value or word that names a file, kept exactly as given: FileNameBytes gives its bytes.
    QString FileValue(const OptionSpec& option) const;
    QString FileWord(qsizetype index) const { return parser_.positionalArguments().mid(words_).value(index); }

private:
    // The name the parser knows the option by, or none when the command does not have it.
    QString Known(const OptionSpec& option) const;

    QStringList arguments_;
    QCommandLineParser parser_;
    QStringList known_;
    int words_;
};

// The synopsis of options: each as its SynopsisForm says, in their order ("[--json]",
// "[--odd | --even]", "[analyse's options]").
QStringList SynopsisItems(std::span<const OptionSpec> options);
// A synopsis wrapped as the command list shows it: the lead word (a command's name) and the items
// after it, no line passing width columns with "  " in front, the lines after the first indented
// by indent and the length of the lead, so that they stand under the first item.
QString WrappedSynopsis(const QString& lead, const QStringList& items, int indent, int width);

// A command's synopsis from its name on ("analyse [--system pythagorean|chaldean] ..."), wrapped
// as the command list shows it with its further lines indented by indent; shortened to the usage
// line of a command's own usage text.
QString CommandSynopsis(const CommandSpec& command, int indent = 2, bool shortened = false);

// "quillon --help" and "quillon COMMAND --help".
QString ProgramUsage();
QString CommandUsage(const CommandSpec& command);

}  // namespace quillon
