// The viewer window on the built help file, the viewer control, and "quillon help".

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTextStream>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "../app/CommandOutcome.h"
#include "../app/RecordingMessages.h"
#include "HelpTestSupport.h"
#include "app/CommandLine.h"
#include "tools/HelpService.h"

namespace quillon {
namespace {

const QString kProgram = QStringLiteral(QUILLON_PROGRAM);
const QString kBuiltHelpFile = QStringLiteral(QUILLON_HELP_FILE);

class Viewer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.Loaded());
        auto file = ChmFile::Open(library, kBuiltHelpFile.toStdString());
        ASSERT_NE(file, nullptr);
        window = std::make_unique<HelpViewerWindow>(std::move(file));
        window->ShowPage({});
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QTreeWidgetItem* ContentsItem(const QString& title) const {
        const auto items = window->Contents->findItems(title, Qt::MatchExactly | Qt::MatchRecursive);
        return items.isEmpty() ? nullptr : items.front();
    }

    ChmLibrary library;
    std::unique_ptr<HelpViewerWindow> window;
    RecordingMessages messages;
};

TEST_F(Viewer, OpensAtTheStartPageWithContentsAndIndex) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quillon Help"));
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/quillon.htm"));
    EXPECT_EQ(window->Contents->topLevelItemCount(), 8);
    ASSERT_NE(ContentsItem(QStringLiteral("The Y question")), nullptr);
    EXPECT_EQ(ContentsItem(QStringLiteral("The Y question"))->parent(), ContentsItem(QStringLiteral("Quillon")));
    EXPECT_EQ(window->Contents->currentItem(), ContentsItem(QStringLiteral("Quillon")));
    EXPECT_GT(window->Index->count(), 40);
    EXPECT_FALSE(window->BackBtn->isEnabled());
    EXPECT_FALSE(window->ForwardBtn->isEnabled());
}

TEST_F(Viewer, LinksContentsBackForwardAndHome) {
    emit window->Browser->anchorClicked(QUrl(QStringLiteral("letters.htm")));
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/letters.htm"));
    EXPECT_EQ(window->Contents->currentItem(), ContentsItem(QStringLiteral("The letter systems")));

    QTreeWidgetItem* chart = ContentsItem(QStringLiteral("The digit chart"));
    window->Contents->scrollToItem(chart);
    QTest::mouseClick(window->Contents->viewport(), Qt::LeftButton, {},
                      window->Contents->visualItemRect(chart).center());
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/chart.htm"));

    window->BackBtn->click();
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/letters.htm"));
    EXPECT_EQ(window->BackBtn->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Left));
    window->BackBtn->click();
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/quillon.htm"));
    EXPECT_FALSE(window->BackBtn->isEnabled());
    window->ForwardBtn->click();
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/letters.htm"));
    window->HomeBtn->click();
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/quillon.htm"));
}

TEST_F(Viewer, TheIndexFindsAKeywordAsItIsTyped) {
    QTest::keyClicks(window->IndexFilter, QStringLiteral("rtf"));
    ASSERT_NE(window->Index->currentItem(), nullptr);
    EXPECT_EQ(window->Index->currentItem()->text(), QStringLiteral("RTF file"));
    QTest::keyClick(window->IndexFilter, Qt::Key_Return);
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/print.htm"));
}

TEST_F(Viewer, PicturesStyleSheetsAndMissingPagesComeFromTheHelpFile) {
    window->ShowPage(QStringLiteral("html\\quil5n02.htm"));
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/quil5n02.htm"));
    const QImage picture =
        window->Browser->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("../images/help.png")))
            .value<QImage>();
    EXPECT_EQ(picture.size(), QSize(16, 16));
    const QByteArray css =
        window->Browser->loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("../quillon.css")))
            .toByteArray();
    EXPECT_TRUE(css.contains("h1")) << css.constData();
    EXPECT_FALSE(
        window->Browser->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("none.png"))).isValid());

    window->ShowPage(QStringLiteral("/html/none.htm"));
    EXPECT_TRUE(
        window->Browser->toPlainText().contains(QStringLiteral("This page is not in the help file: /html/none.htm")));
}

TEST(ViewerControl, ShowsTopicsReusesItsWindowAndClosesAll) {
    RecordingMessages messages;
    const ChmLibrary library;
    HelpViewers viewers(library);
    const std::string file = kBuiltHelpFile.toStdString();
    EXPECT_TRUE(viewers.HtmlHelp(file + "::/html/quil3x2q.htm", HtmlHelpCommand::DisplayTopic, 0));
    ASSERT_EQ(viewers.Windows().size(), 1u);
    HelpViewerWindow* window = viewers.Windows().front();
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/quil3x2q.htm"));
    EXPECT_TRUE(window->isVisible());
    // The help file maps no context numbers: a context shows the start page.
    EXPECT_TRUE(viewers.HtmlHelp("mk:@MSITStore:" + file, HtmlHelpCommand::HelpContext, 1000));
    EXPECT_EQ(viewers.Windows().size(), 1u);
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/quillon.htm"));

    EXPECT_FALSE(viewers.HtmlHelp("/nowhere/quill.chm", HtmlHelpCommand::DisplayTopic, 0));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Cannot open the help file \"/nowhere/quill.chm\".");
    EXPECT_FALSE(viewers.HtmlHelp({}, HtmlHelpCommand::CloseAll, 0));
    EXPECT_TRUE(viewers.Windows().empty());
}

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
    EXPECT_EQ(lines.size(), 12);
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
    ASSERT_TRUE(test::CompileHelpFile(
        controls,
        {{"html/a.htm", "<h1>Red &#27;[31m</h1><p>bell\x07 &#155;2J</p><pre>x\x1B]0;t\x07</pre>"
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
        {here, {"--text", "images/help.png"}, kExitFailure, {},
         "images/help.png in the help file " + built + " is not an HTML page"},
        {here, {"images\\help.png"}, kExitFailure, {},
         "images\\help.png in the help file " + built + " is not an HTML page"},
        {here, {"--text", "html/\x1B[2J.htm"}, kExitFailure, {},
         "the help file " + built + " has no page html/\\x1B[2J.htm"},
        {damaged, {"--text", "html/quil5n02.htm"}, kExitFailure, {},
         "cannot read the page html/quil5n02.htm of the help file " + damagedFile},
        {damaged, {"--list"}, kExitFailure, {},
         "cannot read the table of contents quill.hhc of the help file " + damagedFile},
        {controls, {"--text"}, kExitOk,
         "Red \\x1B[31m\n=========\n\nbell\\x07 \\x9B2J\n\n    x\\x1B]0;t\\x07\n\na b  c\n", {}},
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
    EXPECT_EQ(ModeOf({QStringLiteral("quillon"), QStringLiteral("-debug")}), StartMode::Window);
    EXPECT_EQ(ModeOf({QStringLiteral("quillon"), QStringLiteral("/DEBUG"), QStringLiteral("-Debug")}),
              StartMode::Window);
    EXPECT_EQ(ModeOf({QStringLiteral("quillon"), QStringLiteral("/debug"), QStringLiteral("--screenshot"),
                      QStringLiteral("d")}),
              StartMode::Screenshot);
    const Outcome run = Quillon({QStringLiteral("analyse"), QStringLiteral("-DEBUG"), QStringLiteral("MARY")});
    EXPECT_EQ(run.exitCode, kExitOk) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("|MARY|"))) << run.out.toStdString();
    EXPECT_EQ(Quillon({QStringLiteral("/debug"), QStringLiteral("help"), QStringLiteral("--list")}).exitCode, kExitOk);
}

}  // namespace
}  // namespace quillon
