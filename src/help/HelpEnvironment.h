#pragma once
// The environment record of the help integration, filled once at start-up: where the program
// runs from, where its log goes, whether debug mode is on and which help viewer was found. The
// probes get what the system would tell them (the arguments, the program's path, the current and
// the temporary folder) as inputs, so that tests can pin them.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The file names the help integration uses.
inline constexpr std::string_view kHelpFileName = "quill.chm";
inline constexpr std::string_view kLogFileName = "HHDebug.txt";
inline constexpr std::string_view kDebugFileName = "debug.debug";

// The log's name in the temporary folder, which every user shares: one log per user,
// "HHDebug-alice.txt", so that nobody writes to or deletes another user's log.
std::string TemporaryLogName(std::string_view userName);

struct HelpEnvironment {
    std::filesystem::path modulePath;    // the running executable
    std::filesystem::path moduleFolder;  // its folder
    std::string moduleName;              // its file name
    std::string moduleVersion;
    std::filesystem::path runFolder;  // the folder of the program named by the first word
    std::filesystem::path temporaryFolder;
    std::filesystem::path logFolder;         // the module folder when writable, else the temporary folder
    std::filesystem::path logFile;           // HHDebug.txt in the module folder, or the temporary log file
    std::filesystem::path temporaryLogFile;  // the user's own log in the temporary folder
    // Where the external viewer programs of host types 1 and 2 are looked for, the stand-in for
    // the system's own program folder.
    std::filesystem::path systemProgramFolder;
    bool debugMode = false;
    std::vector<std::string> parameters;  // the arguments after the program's name
    std::string commandLine;              // the whole command line as typed, at most 254 characters

    std::string viewerPath;
    std::string viewerVersion;
    bool viewerInstalled = false;
    std::string viewerFriendlyVersion;
    std::string browserVersion;
    bool browserInstalled = false;
    std::string browserFriendlyVersion;
};

struct HelpEnvironmentInputs {
    std::vector<std::string> arguments;  // the program's name first
    std::filesystem::path modulePath;
    std::string moduleVersion;
    std::filesystem::path currentFolder;
    std::filesystem::path temporaryFolder;
    std::string userName;    // the user the program runs as
    std::string searchPath;  // the PATH variable
    std::filesystem::path systemProgramFolder;
    std::string viewerPath;     // the viewer library's file, empty when none was loaded
    std::string viewerVersion;  // its version text, empty when unknown
};

// "-debug" or "/debug", in any letter case.
bool IsDebugSwitch(std::string_view argument);

// The folder of the program named by the first word of the command line: a word with a slash is a
// path (relative to the current folder), a bare name is looked for in the search path.
std::filesystem::path RunFolderOf(std::string_view firstWord, const std::filesystem::path& currentFolder,
                                  std::string_view searchPath);

// The command line as a shell would take it back: the words joined by blanks, a word with blanks
// or quotes in double quotes, cut at 254 characters.
std::string CommandLineText(const std::vector<std::string>& arguments);

// The platform's temporary folder: TMPDIR when it names a folder, else /tmp.
std::filesystem::path SystemTemporaryFolder();
// The name of the user the program runs as; the user's number when the system knows no name.
std::string CurrentUserName();

HelpEnvironment ProbeHelpEnvironment(const HelpEnvironmentInputs& inputs);

// The places where the help file is looked for, in order: the current folder, the program's folder
// and the data folder of an installation (share/quillon beside the program's bin folder).
std::vector<std::filesystem::path> HelpFileCandidates(const std::filesystem::path& currentFolder,
                                                      const std::filesystem::path& moduleFolder);
// The first candidate that exists; the first one when none does, so that a message names the file
// that the current folder was expected to hold.
std::filesystem::path FindHelpFile(const std::filesystem::path& currentFolder,
                                   const std::filesystem::path& moduleFolder);

}  // namespace quillon
