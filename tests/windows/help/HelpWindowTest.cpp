// The help as a person meets it: F1 and the Help buttons, the viewer window, the help service's
// start-up and "quillon help".

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextStream>
#include <QToolButton>
#include <QTreeWidget>
#include <cctype>
#include <gtest/gtest.h>

#include "support/HelpTestSupport.h"
#include "support/RecordingMessages.h"
#include "windows/analysis/Numb.h"
#include "windows/help/HelpService.h"

namespace quillon {
namespace {

using test::LogLines;
using test::TempFolder;
using test::WriteFile;

const QString kProgram = QUILLON_PROGRAM;
const QString kBuiltHelpFile = QUILLON_HELP_FILE;

QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// Runs the test in another current folder and goes back after.
class CurrentFolder {
public:
    explicit CurrentFolder(const QString& folder) : previous_(QDir::currentPath()) { QDir::setCurrent(folder); }
    ~CurrentFolder() { QDir::setCurrent(previous_); }

private:
    QString previous_;
};

// A help file of its own, whose start page carries a marker.
void CompileMarkerHelpFile(const std::filesystem::path& folder) {
    const std::string page = "<html><head><title>Marker</title></head><body><p>MARKER PAGE</p></body></html>";
    ASSERT_TRUE(test::CompileHelpFile(folder, {{"html/quillon.htm", page}}, {}, "Marker Help"));
}

HelpStartup StartupBeside(const QString& modulePath, QStringList arguments = {"quillon"}) {
    HelpStartup startup(std::move(arguments));
    startup.modulePath = modulePath;
    return startup;
}

class HelpWindows : public ::testing::Test {
protected:
    RecordingMessages messages;
};

TEST_F(HelpWindows, F1AndTheDateCalculatorsHelpShowTheirPagesInOneViewer) {
    HelpService help(StartupBeside(kProgram));
    ScopedHelpService installed(help);
    {
        TCalcFrm window;
        window.show();
        QTest::keyClick(window.Data, Qt::Key_F1);
        ASSERT_EQ(help.Viewers().Windows().size(), 1u);
        HelpViewerWindow* viewer = help.Viewers().Windows().front();
        EXPECT_TRUE(viewer->isVisible());
        EXPECT_EQ(viewer->CurrentPage(), "/html/quillon.htm");
        EXPECT_TRUE(viewer->Browser->toPlainText().contains("Your first analysis"));

        window.DtHelpBtn->click();
        EXPECT_EQ(help.Viewers().Windows().size(), 1u);
        EXPECT_EQ(viewer->CurrentPage(), "/html/quil3x2q.htm");
        window.HelpBtn->click();
        EXPECT_EQ(viewer->CurrentPage(), "/html/quillon.htm");
        // A minimised viewer comes back.
        viewer->showMinimized();
        QTest::keyClick(window.Data, Qt::Key_F1);
        EXPECT_FALSE(viewer->isMinimized());
        // The math calculator's Help button.
        help.ShowTopic(window.HelpFilePath() + "::/html/quil5n02.htm");
        EXPECT_EQ(viewer->CurrentPage(), "/html/quil5n02.htm");
    }
    EXPECT_TRUE(help.Viewers().Windows().empty()) << "the analysis window closes the viewer when it goes";
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(HelpWindows, AHelpFileInTheFolderStartedFromWins) {
    TempFolder temp;
    CompileMarkerHelpFile(temp.Path());
    HelpService help(StartupBeside(kProgram));
    ScopedHelpService installed(help);
    const CurrentFolder started(Q(temp.Path()));
    TCalcFrm window;
    EXPECT_EQ(window.HelpFilePath(), Q(temp / "quill.chm"));
    window.HelpBtnClick();
    ASSERT_EQ(help.Viewers().Windows().size(), 1u);
    EXPECT_TRUE(help.Viewers().Windows().front()->Browser->toPlainText().contains("MARKER PAGE"));
    EXPECT_EQ(help.Viewers().Windows().front()->windowTitle(), "Marker Help");
}

TEST_F(HelpWindows, AFolderWithoutAGoodHelpFileLeadsToTheOneBesideTheProgram) {
    TempFolder temp;
    HelpService help(StartupBeside(kProgram));
    ScopedHelpService installed(help);
    const CurrentFolder started(Q(temp.Path()));
    const std::string builtFile = test::ReadFile(kBuiltHelpFile.toStdString());
    for (const std::string& local : {std::string("<none>"), std::string(), builtFile.substr(0, 1000)}) {
        SCOPED_TRACE(local.size());
        if (local != "<none>") WriteFile(temp / "quill.chm", local);
        TCalcFrm window;
        EXPECT_EQ(QFileInfo(window.HelpFilePath()).canonicalFilePath(), QFileInfo(kBuiltHelpFile).canonicalFilePath());
    }
}

TEST_F(HelpWindows, FolderNamesMayHoldTheSeparatorsOfAHelpAddress) {
    TempFolder temp;
    const auto folder = temp / "a>b::c";
    std::filesystem::create_directories(folder);
    CompileMarkerHelpFile(folder);
    HelpService help(StartupBeside(kProgram));
    ScopedHelpService installed(help);
    const CurrentFolder started(Q(folder));
    TCalcFrm window;
    QTest::keyClick(window.Data, Qt::Key_F1);
    ASSERT_EQ(help.Viewers().Windows().size(), 1u);
    EXPECT_EQ(help.Viewers().Windows().front()->File().FileName(), (folder / "quill.chm").string());
    EXPECT_TRUE(help.Viewers().Windows().front()->Browser->toPlainText().contains("MARKER PAGE"));
    EXPECT_TRUE(messages.shown.empty());

    EXPECT_FALSE(help.ShowTopic(Q(temp / "none" / "quill.chm")));
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(HelpWindows, WithoutTheViewerLibraryTheHelpSaysSo) {
    HelpStartup startup = StartupBeside(kProgram);
    startup.viewerLibrary = "libchm-quillon-missing.so.1";
    HelpService help(startup);
    ScopedHelpService installed(help);
    EXPECT_FALSE(help.Environment().viewerInstalled);
    TCalcFrm window;
    QTest::keyClick(window.Data, Qt::Key_F1);
    EXPECT_TRUE(help.Viewers().Windows().empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.starts_with("The help viewer cannot be started: libchm-quillon-missing.so.1"))
        << messages.shown[0].text;
    EXPECT_TRUE(messages.shown[0].text.ends_with("It needs the library chmlib (Debian package libchm1)."));

    help.Application().HelpContext(1);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, "MS Html Help is not installed on this PC.");
}

TEST_F(HelpWindows, DebugModeLogsTheStartAndEveryRequestThroughTheHook) {
    TempFolder temp;
    std::filesystem::create_directories(temp / "bin");
    WriteFile(temp / "bin" / "HHDebug.txt", "an old log\r\n");
    HelpService help(StartupBeside(Q(temp / "bin" / "quillon"), {"quillon", "-DEBUG"}));
    ScopedHelpService installed(help);
    {
        TCalcFrm window;
        // The math calculator's F1: a jump to a named topic, which shows nothing.
        EXPECT_TRUE(help.HelpJump("IDH_CALCULATOR"));
        EXPECT_TRUE(help.Viewers().Windows().empty());
    }
    const std::vector<std::string> lines = LogLines(temp / "bin" / "HHDebug.txt");
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_EQ(lines[0], std::string(79, '='));
    EXPECT_EQ(lines[1], "Log File:             \t" + (temp / "bin" / "HHDebug.txt").string());
    EXPECT_EQ(lines[11], "Cmdline Param(s) =  \t-DEBUG");
    EXPECT_EQ(lines[19], "_hhInstalled =      \tYES");
    EXPECT_EQ(lines[26], std::string(79, '='));
    // Each request's line, stamped with the time; the jump's data is a pointer, so only its start is
    // compared.
    const std::vector<std::string> requests = {
        "THookHelpSystem.Create(\"" + QDir::currentPath().toStdString() + "/quill.chm\",\"\", 0)",
        "THookHelpSystem.HelpHook(3 (HELP_INDEX or HELP_CONTENTS), 0)",
        "THookHelpSystem.HelpHook(258 (HELP_COMMAND), ",
        "THookHelpSystem.Destroy",
    };
    const std::string stampShape = "00:00:00   ";
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const std::string& line = lines[27 + i];
        ASSERT_GT(line.size(), stampShape.size()) << line;
        for (std::size_t c = 0; c < stampShape.size(); ++c) {
            EXPECT_EQ(std::isdigit(static_cast<unsigned char>(line[c])) ? '0' : line[c], stampShape[c]) << line;
        }
        EXPECT_TRUE(line.substr(stampShape.size()).starts_with(requests[i])) << line;
    }
}

}  // namespace
}  // namespace quillon
