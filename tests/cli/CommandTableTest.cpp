#include "cli/CommandTable.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <gtest/gtest.h>
#include <string_view>

#include "cli/CommandError.h"
#include "cli/Generate.h"
#include "cli/Screenshot.h"
#include "support/CommandOutcome.h"

namespace quillon {
namespace {

QString NameOf(const CommandSpec& command) { return QString::fromLatin1(command.name); }

// What a command's parser knows, its --help lists and its man section describes.
TEST(CommandTable, HelpAndManualNameEveryOptionTheParserKnows) {
    const QString manual = ManualSections();
    for (const CommandSpec* command : Commands()) {
        const Outcome help = Quillon({NameOf(*command), QStringLiteral("--help")});
        ASSERT_EQ(help.exitCode, kExitOk) << command->name;
        const qsizetype section = manual.indexOf(QStringLiteral(".SS %1\n").arg(NameOf(*command)));
        ASSERT_GE(section, 0) << command->name;
        for (const OptionSpec& option : command->options) {
            for (const QString& name : TypedNames(option)) {
                EXPECT_TRUE(help.out.contains(name)) << command->name << " --help lacks " << name.toStdString();
                // The parser takes the option, with a value where it has one.
                QStringList arguments = {QStringLiteral("quillon"), NameOf(*command), name};
                if (option.valueName) arguments << QStringLiteral("x");
                CommandArguments parsed(arguments, command->options);
                QString written;
                QTextStream err(&written);
                EXPECT_EQ(parsed.Parse(NameOf(*command), err), kExitOk) << written.toStdString();
                EXPECT_TRUE(parsed.IsSet(option)) << name.toStdString();
            }
        }
    }
}

// Each option stands in the synopsis as its form says; a group once, where its first option stands.
TEST(Synopsis, ItemsFollowTheForms) {
    constexpr SynopsisForm kGroup{.among = "shared options"};
    constexpr OptionSpec options[] = {
        InSynopsis({"late"}, {.order = 1}),
        {"json"},
        InSynopsis({"a"}, kGroup),
        {"o,output", "FILE"},
        InSynopsis({"date", "TEXT"}, {.value = "DATE", .repeated = true}),
        InSynopsis({"odd"}, {.orNext = true}),
        {"even"},
        InSynopsis({"b", "X"}, kGroup),
        InSynopsis({"first", "N"}, {.order = -1, .required = true}),
    };
    EXPECT_EQ(SynopsisItems(options).join(' '),
              "--first N [--json] [shared options] [-o FILE] [--date DATE]... [--odd | --even] [--late]");
}

// The breaks fall where the next item would pass the width in the command list ("  " in front),
// never before the first item, whatever the indent of the further lines.
TEST(Synopsis, WrapsUnderTheFirstItem) {
    const QStringList items = {"[--alpha]", "[--beta B]", "[--gamma]", "TEXT"};
    const struct {
        int indent, width;
        QString expected;
    } rows[] = {
        {2, 100, "cmd [--alpha] [--beta B] [--gamma] TEXT"},
        {2, 26, "cmd [--alpha] [--beta B]\n      [--gamma] TEXT"},
        {15, 26, "cmd [--alpha] [--beta B]\n                   [--gamma] TEXT"},
        {2, 25, "cmd [--alpha]\n      [--beta B]\n      [--gamma] TEXT"},
        {2, 5, "cmd [--alpha]\n      [--beta B]\n      [--gamma]\n      TEXT"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(WrappedSynopsis("cmd", items, row.indent, row.width), row.expected) << row.indent << " " << row.width;
    }
}

// Every option of a command stands in its synopsis; those of a group are options of analyse, whose
// usage the group's name refers to.
TEST(CommandTable, SynopsisNamesEveryOption) {
    const std::span<const OptionSpec> analyse = FindCommand(QStringLiteral("analyse"))->options;
    for (const CommandSpec* command : Commands()) {
        const QString synopsis = CommandSynopsis(*command);
        for (const OptionSpec& option : command->options) {
            const QString name = TypedNames(option).constFirst();
            SCOPED_TRACE(command->name + (" " + name.toStdString()));
            if (option.synopsis.among) {
                EXPECT_TRUE(synopsis.contains(QStringLiteral("[%1]").arg(option.synopsis.among)));
                EXPECT_TRUE(std::any_of(analyse.begin(), analyse.end(), [&option](const OptionSpec& known) {
                    return std::string_view(known.names) == option.names;
                }));
            } else {
                EXPECT_TRUE(synopsis.contains(QRegularExpression(QRegularExpression::escape(name) + "[ \\]]")))
                    << synopsis.toStdString();
            }
        }
    }
}

// An option the command does not have is a usage error naming the command and the option, the
// same for every command; a command that is none is named too.
TEST(CommandTable, UnknownOptionsAndCommandsAreNamed) {
    for (const CommandSpec* command : Commands()) {
        const Outcome run = Quillon({NameOf(*command), QStringLiteral("--no-such"), QStringLiteral("X")});
        EXPECT_EQ(run.exitCode, kExitUsage) << command->name;
        EXPECT_EQ(
            run.err,
            QStringLiteral("quillon: %1 has no option \"--no-such\"; see quillon %1 --help\n").arg(NameOf(*command)));
    }
    const Outcome unknown = Quillon({QStringLiteral("analyze"), QStringLiteral("X")});
    EXPECT_EQ(unknown.exitCode, kExitUsage);
    EXPECT_EQ(unknown.err, QStringLiteral("quillon: unknown command \"analyze\"; see quillon --help\n"));
}

TEST(CommandTable, WidgetsOnlyForTheCommandsThatWorkWindowsOrPrinters) {
    QStringList withWidgets;
    for (const CommandSpec* command : Commands()) {
        if (NeedsWidgets({QStringLiteral("quillon"), NameOf(*command)})) withWidgets << NameOf(*command);
    }
    EXPECT_EQ(withWidgets.join(QLatin1Char(' ')), QStringLiteral("export printers print calc help"));
    EXPECT_FALSE(NeedsWidgets({QStringLiteral("quillon"), QStringLiteral("nosuch")}));
    EXPECT_FALSE(NeedsWidgets({QStringLiteral("quillon")}));
}

// --system is read once for every command and for --screenshot, with one message; a date is
// upper-cased the same way for analyse and batch, so a month's name may be typed in any case.
TEST(SharedOptions, OneReadingEverywhere) {
    const QString wrongSystem = QStringLiteral("quillon: --system takes pythagorean or chaldean, not \"greek\"\n");
    for (const QString& command :
         {QStringLiteral("analyse X"), QStringLiteral("prepare print X"), QStringLiteral("export -o - X"),
          QStringLiteral("batch"), QStringLiteral("print --pdf - X")}) {
        QStringList arguments = command.split(QLatin1Char(' '));
        arguments.insert(1, QStringLiteral("--system"));
        arguments.insert(2, QStringLiteral("greek"));
        const Outcome run = Quillon(arguments);
        EXPECT_EQ(run.exitCode, kExitUsage) << command.toStdString();
        EXPECT_EQ(run.err, wrongSystem) << command.toStdString();
    }
    QTemporaryDir folder;
    QString screenshotErr;
    QTextStream err(&screenshotErr);
    EXPECT_EQ(RunScreenshot({"quillon", "--screenshot", folder.filePath("shots"), "--system", "greek"}, err),
              kExitUsage);
    EXPECT_EQ(screenshotErr, wrongSystem);
    EXPECT_FALSE(QDir(folder.filePath("shots")).exists()) << "a wrong option makes no folder";

    const Outcome analyse = Quillon({"analyse", "--json", "--date", "29 dec 1985", "MARY"});
    ASSERT_EQ(analyse.exitCode, kExitOk) << analyse.err.toStdString();
    QTemporaryDir names;
    QFile list(names.filePath("names.txt"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("MARY\n");
    list.close();
    const QString rows = names.filePath("rows.jsonl");
    const Outcome batch = Quillon({"batch", "--format", "jsonl", "--date", "29 dec 1985", "-o", rows, list.fileName()});
    ASSERT_EQ(batch.exitCode, kExitOk) << batch.err.toStdString();
    QFile written(rows);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString dateTotal = QJsonDocument::fromJson(analyse.out.toUtf8()).object().value("DateTotal").toString();
    EXPECT_FALSE(dateTotal.isEmpty());
    EXPECT_TRUE(written.readAll().contains(dateTotal.toUtf8())) << dateTotal.toStdString();
}

// Every message goes out as one line per line of text with its control characters escaped; the
// kind gives the exit code.
TEST(CommandErrorWriter, EscapesAndExitsByKind) {
    QString written;
    QTextStream err(&written);
    EXPECT_EQ(CommandError(err, ErrorKind::Usage, QStringLiteral("a\nb\x1b[31m")), kExitUsage);
    EXPECT_EQ(CommandError(err, ErrorKind::Failure, QStringLiteral("c\nd\x07")), kExitFailure);
    EXPECT_EQ(written, QStringLiteral("quillon: a b\\x1B[31m\nquillon: c\nd\\x07\n"));
    const Outcome show = Quillon({"template", "show", QStringLiteral("/no/such/a\x1b[31mb")});
    EXPECT_EQ(show.exitCode, kExitFailure);
    EXPECT_TRUE(show.err.contains(QStringLiteral("a\\x1B[31mb"))) << show.err.toStdString();

    // A message of the core (a warning of the help log, an error box of a window) goes out alike,
    // and the bytes of a name that are no UTF-8 show as the bytes they are.
    written.clear();
    CommandMessages messages(err);
    const ScopedMessages toErr(messages);
    ShowApplicationError("log \"/tmp/\xFF\x1B[2J\"\ncannot be written");
    EXPECT_EQ(written, QStringLiteral("quillon: log \"/tmp/\\xFF\\x1B[2J\"\ncannot be written\n"));
}

}  // namespace
}  // namespace quillon
