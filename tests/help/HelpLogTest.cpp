#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "help/DLogFile.h"
#include "help/HelpEnvironment.h"
#include "help/LocaleIds.h"
#include "support/HelpTestSupport.h"

namespace quillon {
namespace {

using test::FixedClock;
using test::LogLines;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

TEST(LogLine, RulesStampsAndBangs) {
    struct Row {
        const char* name;
        const char* text;
        bool stamps;
        std::string line;
    };
    const Row rows[] = {
        {"DashRule", "-", true, std::string(79, '-')},
        {"EqualsRule", "=", true, std::string(79, '=')},
        {"BangLoses", "!Log File: x", true, "Log File: x"},
        {"DashLoses", "-x", true, "x"},
        {"DoubleDash", "--", true, "-"},
        {"Stamped", "THookHelpSystem.Destroy", true, "12:34:56   THookHelpSystem.Destroy"},
        {"Unstamped", "THookHelpSystem.Destroy", false, "THookHelpSystem.Destroy"},
        {"EmptyStamped", "", true, "12:34:56   "},
        {"BangInside", "a!b", true, "12:34:56   a!b"},
    };
    for (const Row& row : rows) EXPECT_EQ(FormatLogLine(row.text, row.stamps, "12:34:56"), row.line) << row.name;
}

LogHeader SampleHeader() {
    LogHeader header;
    header.logFile = "/p/HHDebug.txt";
    header.dateTime = "07/12/2026 12:34:56";
    header.systemName = "Linux";
    header.systemMajor = 6;
    header.systemMinor = 1;
    header.systemBuild = 76;
    header.systemDetail = "Debian GNU/Linux 12 (bookworm)";
    header.locale = "en_GB.UTF-8";
    header.localeSource = "LANG";
    header.language = "en";
    header.languageName = "English";
    header.territory = "GB";
    header.territoryName = "United Kingdom";
    header.localeId = 0x0809;
    header.decimalSeparator = ".";
    header.exePath = "/p/quillon";
    header.exeVersion = "3.41.0.0";
    header.parameters = {"-DEBUG", "help"};
    header.commandLine = "/p/quillon -DEBUG help";
    header.runFolder = "/p";
    header.moduleName = "quillon";
    header.moduleFolder = "/p";
    header.modulePath = "/p/quillon";
    header.moduleVersion = "3.41.0.0";
    header.viewerInstalled = true;
    header.viewerVersion = "1.0.0.0";
    header.viewerFriendlyVersion = "< 1.0";
    return header;
}

TEST(LogHeaderLines, InOrderWithTheirValuesAfterATab) {
    const std::vector<std::string> expected = {
        "=",
        "!Log File:             \t/p/HHDebug.txt",
        "!Date:                 \t07/12/2026 12:34:56",
        "!Operating System:      \tLinux 6.1 (Build 76) Debian GNU/Linux 12 (bookworm)",
        "!SysLocale.DefaultLCID: \t0x0809 (2057) en_GB.UTF-8 (LANG)",
        "!SysLocale.PriLangID:   \t0x0009 (9) en (English)",
        "!SysLocale.SubLangID:   \t0x0002 (2) GB (United Kingdom)",
        "!DecimalSeparator:      \t.",
        "-",
        "!EXE Path =          \t/p/quillon",
        "!EXE Version =       \t3.41.0.0",
        "!Cmdline Param(s) =  \t-DEBUG | help",
        "!Actual CmdLine =  \t/p/quillon -DEBUG help",
        "!_RunDir =           \t/p",
        "!_ModuleName =       \tquillon",
        "!_ModuleDir =        \t/p",
        "!_ModulePath =        \t/p/quillon",
        "!Module Version =       \t3.41.0.0",
        "-",
        "!_hhInstalled =      \tYES",
        "!_hhVerStr =         \t1.0.0.0",
        "!_hhFriendlyVerStr = \t< 1.0",
        "-",
        "!_ieInstalled =      \tNO",
        "!_ieVerStr =         \t",
        "!_ieFriendlyVerStr = \t",
        "=",
    };
    EXPECT_EQ(HeaderLines(SampleHeader()), expected);
}

TEST(LocaleIds, LanguageAndTerritoryToTheIdentifierAndItsParts) {
    struct Row {
        const char* language;
        const char* territory;
        std::uint16_t id;
        const char* text;
        const char* primary;
        const char* sub;
    };
    const Row rows[] = {
        {"en", "US", 0x0409, "0x0409 (1033)", "0x0009 (9)", "0x0001 (1)"},
        {"en", "GB", 0x0809, "0x0809 (2057)", "0x0009 (9)", "0x0002 (2)"},
        {"de", "DE", 0x0407, "0x0407 (1031)", "0x0007 (7)", "0x0001 (1)"},
        {"fr", "FR", 0x040C, "0x040C (1036)", "0x000C (12)", "0x0001 (1)"},
        {"es", "ES", 0x0C0A, "0x0C0A (3082)", "0x000A (10)", "0x0003 (3)"},
        {"zh", "CN", 0x0804, "0x0804 (2052)", "0x0004 (4)", "0x0002 (2)"},
        {"es", "US", 0x540A, "0x540A (21514)", "0x000A (10)", "0x0015 (21)"},
        {"en", "", 0, "0x0000 (0)", "0x0000 (0)", "0x0000 (0)"},
        {"C", "", 0, "0x0000 (0)", "0x0000 (0)", "0x0000 (0)"},
        {"xx", "YY", 0, "0x0000 (0)", "0x0000 (0)", "0x0000 (0)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.language) + "_" + row.territory);
        const std::uint16_t id = LocaleIdentifier(row.language, row.territory);
        EXPECT_EQ(id, row.id);
        EXPECT_EQ(LocaleIdText(id), row.text);
        EXPECT_EQ(LocaleIdText(PrimaryLanguageId(id)), row.primary);
        EXPECT_EQ(LocaleIdText(SubLanguageId(id)), row.sub);
    }
}

class LogFile : public ::testing::Test {
protected:
    TDLogFile Make(const std::filesystem::path& file, bool debug, bool append = false) {
        LogSwitches switches;
        switches.debug = debug;
        switches.append = append;
        return TDLogFile(file, switches, clock, temporaryLog);
    }

    void SetUp() override { std::filesystem::create_directory(temp / "tmp"); }

    TempFolder temp;
    FixedClock clock;
    std::filesystem::path temporaryLog = temp / "tmp" / "HHDebug-tester.txt";
};

TEST_F(LogFile, DebugModeRewritesTheFileWithTheHeaderAndStampedLines) {
    const auto file = temp / "HHDebug.txt";
    WriteFile(file, "an old log\r\n");
    const TDLogFile log = Make(file, true);
    log.WriteHeader(SampleHeader());
    log.WriteLine("THookHelpSystem.Destroy");

    const std::vector<std::string> lines = LogLines(file);
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_EQ(lines[0], std::string(79, '='));
    EXPECT_EQ(lines[1], "Log File:             \t/p/HHDebug.txt");
    EXPECT_EQ(lines[8], std::string(79, '-'));
    EXPECT_EQ(lines[26], std::string(79, '='));
    EXPECT_EQ(lines[27], "12:34:56   THookHelpSystem.Destroy");
    EXPECT_EQ(ReadFile(file).find("an old log"), std::string::npos);
}

TEST_F(LogFile, WithoutDebugAnOldFileIsDeletedAndNothingWritten) {
    const auto file = temp / "HHDebug.txt";
    WriteFile(file, "an old log\r\n");
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    const TDLogFile log = Make(file, false);
    log.WriteHeader(SampleHeader());
    log.WriteLine("THookHelpSystem.Destroy");
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(LogFile, AppendModeKeepsTheOldLines) {
    const auto file = temp / "HHDebug.txt";
    WriteFile(file, "an old log\r\n");
    Make(file, true, true).WriteLine("next");
    EXPECT_EQ(ReadFile(file), "an old log\r\n12:34:56   next\r\n");
}

TEST_F(LogFile, AFolderThatCannotTakeTheFileMovesItToTheTemporaryFolder) {
    WriteFile(temp / "a-file", "");
    for (const auto& folder : {temp / "a-file", temp / "missing" / "parent"}) {
        SCOPED_TRACE(folder.string());
        const TDLogFile log = Make(folder / "HHDebug.txt", true);
        EXPECT_EQ(log.FileName(), temporaryLog);
        log.WriteLine("moved");
        EXPECT_EQ(LogLines(log.FileName()).back(), "12:34:56   moved");
        std::filesystem::remove(log.FileName());
    }
}

TEST_F(LogFile, ALinkInThePlaceOfTheLogIsNotFollowed) {
    const auto target = temp / "someone-elses-file";
    WriteFile(target, "keep\n");
    std::filesystem::permissions(target, std::filesystem::perms::owner_read);
    std::filesystem::create_symlink(target, temp / "HHDebug.txt");
    Make(temp / "HHDebug.txt", true, true).WriteLine("dropped");
    EXPECT_EQ(ReadFile(target), "keep\n");
    EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms::owner_read);

    // Out of append mode the link goes, and the log is a file of its own.
    Make(temp / "HHDebug.txt", true).WriteLine("written");
    EXPECT_FALSE(std::filesystem::is_symlink(temp / "HHDebug.txt"));
    EXPECT_EQ(ReadFile(temp / "HHDebug.txt"), "12:34:56   written\r\n");
    EXPECT_EQ(ReadFile(target), "keep\n");
}

// The log holds names and the command line, and it may lie in the shared temporary folder: it is
// its owner's alone, and what another user put under its name is neither written to nor deleted.
TEST_F(LogFile, TheLogIsItsOwnersAlone) {
    const auto perms = [](const std::filesystem::path& path) { return std::filesystem::status(path).permissions(); };
    const auto ownerOnly = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;
    Make(temp / "HHDebug.txt", true).WriteLine("new");
    EXPECT_EQ(perms(temp / "HHDebug.txt"), ownerOnly);
    std::filesystem::permissions(temp / "HHDebug.txt", std::filesystem::perms::all);
    Make(temp / "HHDebug.txt", true, true).WriteLine("appended");
    EXPECT_EQ(perms(temp / "HHDebug.txt"), ownerOnly) << "an old log of the owner's is closed to others";

    // A pipe in the log's place takes no line and does not stop the program.
    ASSERT_EQ(::mkfifo(temporaryLog.c_str(), 0600), 0);
    Make(temp / "missing" / "HHDebug.txt", true, true).WriteLine("dropped");
    EXPECT_TRUE(std::filesystem::is_fifo(temporaryLog));
    std::filesystem::remove(temporaryLog);

    WriteFile(temporaryLog, "theirs\n");
    std::filesystem::permissions(temporaryLog, std::filesystem::perms::all);
    if (::chown(temporaryLog.c_str(), 65534, 65534) != 0) GTEST_SKIP() << "giving a file to another user needs root";
    for (const bool debug : {true, false}) {
        const TDLogFile log = Make(temp / "missing" / "HHDebug.txt", debug);
        log.WriteHeader(SampleHeader());
        EXPECT_EQ(ReadFile(temporaryLog), "theirs\n") << debug;
        EXPECT_EQ(perms(temporaryLog), std::filesystem::perms::all) << debug;
    }
}

TEST(HelpEnvironmentRecord, DebugSwitchesInAnyCase) {
    for (const char* on : {"-debug", "/debug", "-DEBUG", "/Debug", "-dEbUg"}) EXPECT_TRUE(IsDebugSwitch(on)) << on;
    for (const char* off : {"debug", "--debug", "-debug ", "/debugx", "-d", ""})
        EXPECT_FALSE(IsDebugSwitch(off)) << off;
}

class Environment : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(temp / "bin");
        std::filesystem::create_directories(temp / "tmp");
        inputs.modulePath = temp / "bin" / "quillon";
        inputs.moduleVersion = "3.41.0.0";
        inputs.currentFolder = temp.Path();
        inputs.temporaryFolder = temp / "tmp";
        inputs.userName = "tester";
        inputs.arguments = {"./bin/quillon", "analyse", "MARY 12"};
        inputs.viewerPath = "/usr/lib/libchm.so.1.0.0";
        inputs.viewerVersion = "1.0.0.0";
    }

    TempFolder temp;
    HelpEnvironmentInputs inputs;
};

TEST_F(Environment, RecordsTheModuleTheRunFolderAndTheViewer) {
    const HelpEnvironment environment = ProbeHelpEnvironment(inputs);
    EXPECT_EQ(environment.moduleFolder, temp / "bin");
    EXPECT_EQ(environment.moduleName, "quillon");
    EXPECT_EQ(environment.runFolder, temp / "bin");
    EXPECT_EQ(environment.logFolder, temp / "bin");
    EXPECT_EQ(environment.logFile, temp / "bin" / "HHDebug.txt");
    EXPECT_EQ(environment.parameters, (std::vector<std::string>{"analyse", "MARY 12"}));
    EXPECT_EQ(environment.commandLine, "./bin/quillon analyse \"MARY 12\"");
    EXPECT_FALSE(environment.debugMode);
    EXPECT_TRUE(environment.viewerInstalled);
    EXPECT_EQ(environment.viewerFriendlyVersion, "< 1.0");
    EXPECT_FALSE(environment.browserInstalled);
    EXPECT_EQ(environment.browserFriendlyVersion, "");
    // Probing the folder leaves nothing behind.
    EXPECT_FALSE(std::filesystem::exists(temp / "bin" / "$_Temp_$.$$$"));

    inputs.viewerVersion.clear();
    EXPECT_FALSE(ProbeHelpEnvironment(inputs).viewerInstalled);
}

TEST_F(Environment, DebugModeFromASwitchOrAFileBesideTheProgram) {
    inputs.arguments = {"quillon", "-DEBUG"};
    EXPECT_TRUE(ProbeHelpEnvironment(inputs).debugMode);
    inputs.arguments = {"/debug"};  // the program's own name is no switch
    EXPECT_FALSE(ProbeHelpEnvironment(inputs).debugMode);
    WriteFile(temp / "bin" / "debug.debug", "");
    EXPECT_TRUE(ProbeHelpEnvironment(inputs).debugMode);
}

TEST(WritableFolder, IsAskedWithoutMakingAFileThatALinkCouldRedirect) {
    TempFolder temp;
    // Someone planted a link under the name an earlier probe file had; it must lead nowhere.
    WriteFile(temp.Path() / "victim", "precious");
    std::filesystem::create_symlink(temp.Path() / "victim", temp.Path() / "$_Temp_$.$$$");
    EXPECT_TRUE(IsWritableFolder(temp.Path()));
    EXPECT_EQ(ReadFile(temp.Path() / "victim"), "precious");
    EXPECT_TRUE(std::filesystem::is_symlink(temp.Path() / "$_Temp_$.$$$"));
    EXPECT_FALSE(IsWritableFolder(temp.Path() / "victim")) << "a file is no folder";
    EXPECT_FALSE(IsWritableFolder(temp.Path() / "missing"));
    if (::geteuid() != 0) {
        ::chmod(temp.Path().c_str(), 0555);
        EXPECT_FALSE(IsWritableFolder(temp.Path()));
        ::chmod(temp.Path().c_str(), 0755);
    }
}

TEST_F(Environment, AnUnwritableProgramFolderSendsTheLogToTheUsersOwnFileInTheTemporaryFolder) {
    inputs.modulePath = temp / "not-there" / "quillon";
    const HelpEnvironment environment = ProbeHelpEnvironment(inputs);
    EXPECT_EQ(environment.logFolder, temp / "tmp");
    EXPECT_EQ(environment.logFile, temp / "tmp" / "HHDebug-tester.txt");
    EXPECT_EQ(environment.temporaryLogFile, environment.logFile);
    EXPECT_EQ(TemporaryLogName("a/b\x1B"), "HHDebug-a_b_.txt");
}

TEST_F(Environment, RunFolderOfABareNameComesFromTheSearchPath) {
    WriteFile(temp / "bin" / "quillon", "");
    const std::string searchPath = "/nowhere::" + (temp / "bin").string();
    EXPECT_EQ(RunFolderOf("quillon", "/elsewhere", searchPath), temp / "bin");
    EXPECT_EQ(RunFolderOf("missing-program", "/elsewhere", searchPath), std::filesystem::path());
    EXPECT_EQ(RunFolderOf("../x/./quillon", "/a/b", ""), std::filesystem::path("/a/x"));
}

TEST(HelpEnvironmentRecord, CommandLineIsQuotedAndCut) {
    EXPECT_EQ(CommandLineText({"quillon", "", "say \"hi\""}), "quillon \"\" \"say \\\"hi\\\"\"");
    EXPECT_EQ(CommandLineText({"quillon", std::string(300, 'x')}).size(), 254u);
}

TEST_F(Environment, HelpFileFromTheCurrentFolderFirstThenBesideTheProgramThenInstalled) {
    const auto current = temp / "work";
    const auto installed = temp / "share" / "quillon";
    std::filesystem::create_directories(current);
    std::filesystem::create_directories(installed);
    EXPECT_EQ(FindHelpFile(current, temp / "bin"), current / "quill.chm") << "none exists: the expected one";
    WriteFile(installed / "quill.chm", "");
    EXPECT_EQ(FindHelpFile(current, temp / "bin"), installed / "quill.chm");
    WriteFile(temp / "bin" / "quill.chm", "");
    EXPECT_EQ(FindHelpFile(current, temp / "bin"), temp / "bin" / "quill.chm");
    WriteFile(current / "quill.chm", "");
    EXPECT_EQ(FindHelpFile(current, temp / "bin"), current / "quill.chm");
}

}  // namespace
}  // namespace quillon
