// "quillon help": pages as text, the contents, failures and the debug switches.

#include <QDir>
#include <QTextStream>
#include <gtest/gtest.h>

#include "cli/CommandLine.h"
#include "cli/Screenshot.h"
#include "support/CommandOutcome.h"
#include "support/HelpTestSupport.h"
#include "windows/help/HelpService.h"

namespace quillon {
namespace {

const QString kProgram = QStringLiteral(QUILLON_PROGRAM);
const QString kBuiltHelpFile = QStringLiteral(QUILLON_HELP_FILE);

class HelpCommandLine : public ::testing::Test {
protected:
    HelpService help{[] {
        HelpStartup startup({QStringLiteral("quillon")});
        startup.modulePath = kProgram;
        return startup;
    }()};
    ScopedHelpService installed{help};
};

TEST_F(HelpCommandLine, PrintsAPageAsText) {
    const Outcome run =
        Quillon({QStringLiteral("help"), QStringLiteral("--text"), QStringLiteral("html/quil5n02.htm")});
    ASSERT_EQ(run.exitCode, kExitOk) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("The math calculator\n===================\n\n")))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Reduce  Takes the last digit off")));
    for (const char* spelling : {"html\\quil5n02.htm", "/html/quil5n02.htm", "::/html/quil5n02.htm"}) {
        EXPECT_EQ(Quillon({QStringLiteral("help"), QStringLiteral("--text"), QString::fromLatin1(spelling)}).out,
                  run.out)
            << spelling;
    }
    EXPECT_TRUE(Quillon({QStringLiteral("help"), QStringLiteral("--text")})
                    .out.startsWith(QStringLiteral("Quillon\n=======\n")));
}

TEST_F(HelpCommandLine, ListsTheContents) {
    const Outcome run = Quillon({QStringLiteral("help"), QStringLiteral("--list")});
    ASSERT_EQ(run.exitCode, kExitOk);
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 13);
    EXPECT_TRUE(lines.contains(QStringLiteral("  The Y question             html/yletter.htm")))
        << run.out.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("The math calculator          html/quil5n02.htm")))
        << run.out.toStdString();
}

TEST_F(HelpCommandLine, FailuresAndUsageErrorsSayWhatIsWrong) {
    const QString helpFile = help.FindHelpFile(QDir::currentPath());
    struct Row {
        QStringList arguments;
        int exitCode;
        QString err;
    };
    const Row rows[] = {
        {{QStringLiteral("help"), QStringLiteral("--text"), QStringLiteral("html/none.htm")},
         kExitFailure,
         QStringLiteral("quillon: the help file %1 has no page html/none.htm\n").arg(helpFile)},
        {{QStringLiteral("help"), QStringLiteral("html/quil5n02.htm")},
         kExitFailure,
         QStringLiteral("quillon: no display to open the help viewer on; try quillon help --text html/quil5n02.htm\n")},
        {{QStringLiteral("help"), QStringLiteral("--bogus")},
         kExitUsage,
         QStringLiteral("quillon: help has no option \"--bogus\"; see quillon help --help\n")},
        {{QStringLiteral("help"), QStringLiteral("a.htm"), QStringLiteral("b.htm")},
         kExitUsage,
         QStringLiteral("quillon: help takes one PAGE; see quillon help --help\n")},
        {{QStringLiteral("help"), QStringLiteral("--text"), QStringLiteral("--list")},
         kExitUsage,
         QStringLiteral("quillon: help takes --text or --list, not both\n")},
    };
    for (const Row& row : rows) {
        const Outcome run = Quillon(row.arguments);
        EXPECT_EQ(run.exitCode, row.exitCode) << row.arguments.join(' ').toStdString();
        EXPECT_EQ(run.err, row.err);
        EXPECT_TRUE(run.out.isEmpty());
    }
    const Outcome usage = Quillon({QStringLiteral("help"), QStringLiteral("--help")});
    EXPECT_EQ(usage.exitCode, kExitOk);
    EXPECT_TRUE(usage.out.startsWith(QStringLiteral("Usage: quillon help [--text | --list] [PAGE]\n")));
}

// Runs "quillon help ..." with another current folder.
Outcome HelpIn(const std::filesystem::path& folder, const QStringList& arguments) {
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(folder.string()));
    const Outcome run = Quillon(QStringList{QStringLiteral("help")} + arguments);
    QDir::setCurrent(previous);
    return run;
}

TEST_F(HelpCommandLine, WhatCannotBeShownIsAnErrorAndControlCharactersAreEscaped) {
    test::TempFolder temp;
    const auto damaged = temp / "damaged";
    std::filesystem::create_directories(damaged);
    test::WriteFile(damaged / "quill.chm", test::ReadFile(kBuiltHelpFile.toStdString()).substr(0, 20000));
    const auto controls = temp / "controls";
    std::filesystem::create_directories(controls);
    ASSERT_TRUE(
        test::CompileHelpFile(controls,
                              {{"html/a.htm",
                                "<h1>Red &#27;[31m</h1><p>bell\x07 &#155;2J</p><pre>x\x1B]0;t\x07</pre>"
                                "<table><tr><td>a<table><tr><td>b</td></tr></table></td><td>c</td></tr></table>"}},
                              "<ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Red &#27;[31m\">"
                              "<param name=\"Local\" value=\"html/a.htm\"></object></ul>"));
    const QString built = help.FindHelpFile(QDir::currentPath());
    const QString damagedFile = QString::fromStdString((damaged / "quill.chm").string());
    struct Row {
        std::filesystem::path folder;
        QStringList arguments;
        int exitCode;
        QString out;
        QString err;
    };
    const std::filesystem::path here = QDir::currentPath().toStdString();
    const Row rows[] = {
        {here, {"--text", "/"}, kExitFailure, {}, "/ in the help file " + built + " is a folder, not a page"},
        {here, {"--text", "html/"}, kExitFailure, {}, "html/ in the help file " + built + " is a folder, not a page"},
        {here,
         {"--text", "images/help.png"},
         kExitFailure,
         {},
         "images/help.png in the help file " + built + " is not an HTML page"},
        {here,
         {"images\\help.png"},
         kExitFailure,
         {},
         "images\\help.png in the help file " + built + " is not an HTML page"},
        {here,
         {"--text", "html/\x1B[2J.htm"},
         kExitFailure,
         {},
         "the help file " + built + " has no page html/\\x1B[2J.htm"},
        {damaged,
         {"--text", "html/quil5n02.htm"},
         kExitFailure,
         {},
         "cannot read the page html/quil5n02.htm of the help file " + damagedFile},
        {damaged,
         {"--list"},
         kExitFailure,
         {},
         "cannot read the table of contents quill.hhc of the help file " + damagedFile},
        {controls,
         {"--text"},
         kExitOk,
         "Red \\x1B[31m\n=========\n\nbell\\x07 \\x9B2J\n\n    x\\x1B]0;t\\x07\n\na b  c\n",
         {}},
        {controls, {"--list"}, kExitOk, "Red \\x1B[31m  html/a.htm\n", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const Outcome run = HelpIn(row.folder, row.arguments);
        EXPECT_EQ(run.exitCode, row.exitCode);
        EXPECT_EQ(run.out.toStdString(), row.out.toStdString());
        EXPECT_EQ(run.err.toStdString(), row.err.isEmpty() ? "" : "quillon: " + row.err.toStdString() + "\n");
    }
}

TEST_F(HelpCommandLine, AMissingHelpFileIsNamed) {
    test::TempFolder temp;
    const QString folder = QString::fromStdString(temp.Path().string());
    HelpStartup startup({QStringLiteral("quillon")});
    startup.modulePath = folder + QStringLiteral("/bin/quillon");
    HelpService elsewhere(startup);
    ScopedHelpService installedElsewhere(elsewhere);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder);
    const Outcome run = Quillon({QStringLiteral("help"), QStringLiteral("--text")});
    QDir::setCurrent(previous);
    EXPECT_EQ(run.exitCode, kExitFailure);
    EXPECT_EQ(run.err, QStringLiteral("quillon: cannot open the help file %1/quill.chm\n").arg(folder));
}

TEST_F(HelpCommandLine, DebugSwitchesGoWithEveryCommandAndTheWindow) {
    auto mode = [](QStringList arguments) {
        arguments.prepend(QStringLiteral("quillon"));
        return ModeOf(WithoutDebugSwitches(arguments));
    };
    EXPECT_EQ(mode({QStringLiteral("-debug")}), StartMode::Window);
    EXPECT_EQ(mode({QStringLiteral("/DEBUG"), QStringLiteral("-Debug")}), StartMode::Window);
    EXPECT_EQ(mode({QStringLiteral("/debug"), QStringLiteral("--screenshot"), QStringLiteral("d")}),
              StartMode::Screenshot);
    const Outcome run = Quillon({QStringLiteral("analyse"), QStringLiteral("-DEBUG"), QStringLiteral("MARY")});
    EXPECT_EQ(run.exitCode, kExitOk) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("|MARY|"))) << run.out.toStdString();
    EXPECT_EQ(Quillon({QStringLiteral("/debug"), QStringLiteral("help"), QStringLiteral("--list")}).exitCode, kExitOk);

    // After "--" everything is text: neither a debug switch nor --screenshot.
    EXPECT_EQ(mode({QStringLiteral("analyse"), QStringLiteral("--"), QStringLiteral("--screenshot")}),
              StartMode::CommandLine);
    const Outcome text = Quillon({QStringLiteral("analyse"), QStringLiteral("--"), QStringLiteral("-debug")});
    EXPECT_EQ(text.exitCode, kExitOk) << text.err.toStdString();
    EXPECT_TRUE(text.out.contains(QStringLiteral("|-DEBUG|"))) << text.out.toStdString();
    HelpStartup startup(
        {QStringLiteral("quillon"), QStringLiteral("analyse"), QStringLiteral("--"), QStringLiteral("-debug")});
    startup.modulePath = kProgram;
    EXPECT_FALSE(HelpService(startup).Environment().debugMode);
}

// --screenshot needs its folder and takes no command or text besides its own options.
TEST_F(HelpCommandLine, ScreenshotsNeedTheirFolder) {
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--screenshot")}, QStringList{QStringLiteral("--screenshot"), QString()},
          QStringList{QStringLiteral("analyse"), QStringLiteral("--screenshot"), QStringLiteral("d")}}) {
        QString errors;
        QTextStream err(&errors);
        EXPECT_EQ(RunScreenshot(QStringList{QStringLiteral("quillon")} + arguments, err), kExitUsage)
            << arguments.join(' ').toStdString();
        err.flush();
        EXPECT_TRUE(errors.startsWith(QStringLiteral("quillon: "))) << errors.toStdString();
    }
}

}  // namespace
}  // namespace quillon
