#include "help/HelpEnvironment.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "help/AsciiText.h"
#include "help/DLogFile.h"
#include "help/HelpVersions.h"

namespace quillon {
namespace {

constexpr std::size_t kCommandLineLimit = 254;

bool Exists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

}  // namespace

std::string TemporaryLogName(std::string_view userName) {
    const std::string_view log = kLogFileName;
    const std::size_t dot = log.rfind('.');
    std::string name(log.substr(0, dot));
    name += '-';
    // A name from a user database could hold anything; the file name keeps to one folder.
    for (const char c : userName) name += c == '/' || static_cast<unsigned char>(c) < ' ' ? '_' : c;
    name += log.substr(dot);
    return name;
}

bool IsDebugSwitch(std::string_view argument) {
    const std::string lower = AsciiLowerCase(argument);
    return lower == "-debug" || lower == "/debug";
}

std::filesystem::path RunFolderOf(std::string_view firstWord, const std::filesystem::path& currentFolder,
                                  std::string_view searchPath) {
    if (firstWord.empty()) return {};
    if (firstWord.find('/') != std::string_view::npos) {
        return (currentFolder / firstWord).lexically_normal().parent_path();
    }
    while (!searchPath.empty()) {
        const std::size_t colon = searchPath.find(':');
        const std::string_view folder = searchPath.substr(0, colon);
        if (!folder.empty() && Exists(std::filesystem::path(folder) / firstWord)) {
            return std::filesystem::path(folder).lexically_normal();
        }
        searchPath.remove_prefix(colon == std::string_view::npos ? searchPath.size() : colon + 1);
    }
    return {};
}

std::string CommandLineText(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty()) line += ' ';
        if (argument.empty() || argument.find_first_of(" \t\"") != std::string::npos) {
            line += '"';
            for (char c : argument) {
                if (c == '"') line += '\\';
                line += c;
            }
            line += '"';
        } else {
            line += argument;
        }
    }
    if (line.size() > kCommandLineLimit) line.resize(kCommandLineLimit);
    return line;
}

std::filesystem::path SystemTemporaryFolder() {
    std::error_code error;
    if (const char* tmpdir = std::getenv("TMPDIR"); tmpdir && std::filesystem::is_directory(tmpdir, error)) {
        return tmpdir;
    }
    return "/tmp";
}

std::string CurrentUserName() {
    const uid_t user = ::geteuid();
    std::string buffer(16384, '\0');
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name &&
        *found->pw_name) {
        return found->pw_name;
    }
    return std::to_string(user);
}

HelpEnvironment ProbeHelpEnvironment(const HelpEnvironmentInputs& inputs) {
    HelpEnvironment environment;
    environment.modulePath = inputs.modulePath;
    environment.moduleFolder = inputs.modulePath.parent_path();
    environment.moduleName = inputs.modulePath.filename().string();
    environment.moduleVersion = inputs.moduleVersion;
    environment.runFolder = RunFolderOf(inputs.arguments.empty() ? std::string_view() : inputs.arguments.front(),
                                        inputs.currentFolder, inputs.searchPath);
    environment.temporaryFolder = inputs.temporaryFolder;
    const bool moduleFolderWritable = IsWritableFolder(environment.moduleFolder);
    environment.logFolder = moduleFolderWritable ? environment.moduleFolder : inputs.temporaryFolder;
    environment.temporaryLogFile = inputs.temporaryFolder / TemporaryLogName(inputs.userName);
    environment.logFile = moduleFolderWritable ? environment.moduleFolder / kLogFileName : environment.temporaryLogFile;
    environment.systemProgramFolder = inputs.systemProgramFolder;

    if (!inputs.arguments.empty()) {
        environment.parameters.assign(inputs.arguments.begin() + 1, inputs.arguments.end());
    }
    environment.commandLine = CommandLineText(inputs.arguments);
    environment.debugMode = Exists(environment.moduleFolder / kDebugFileName);
    for (const std::string& parameter : environment.parameters) {
        if (parameter == "--") break;  // after "--" everything is text
        if (IsDebugSwitch(parameter)) environment.debugMode = true;
    }

    environment.viewerPath = inputs.viewerPath;
    environment.viewerVersion = inputs.viewerVersion;
    environment.viewerInstalled = !environment.viewerVersion.empty();
    environment.viewerFriendlyVersion = ViewerFriendlyVersion(environment.viewerVersion);
    // The browser component that the help viewer of other systems is built on has no counterpart
    // here: it is recorded as absent.
    environment.browserInstalled = false;
    return environment;
}

std::vector<std::filesystem::path> HelpFileCandidates(const std::filesystem::path& currentFolder,
                                                      const std::filesystem::path& moduleFolder) {
    return {currentFolder / kHelpFileName, moduleFolder / kHelpFileName,
            (moduleFolder / ".." / "share" / "quillon" / kHelpFileName).lexically_normal()};
}

std::filesystem::path FindHelpFile(const std::filesystem::path& currentFolder,
                                   const std::filesystem::path& moduleFolder) {
    const std::vector<std::filesystem::path> candidates = HelpFileCandidates(currentFolder, moduleFolder);
    for (const std::filesystem::path& candidate : candidates) {
        if (Exists(candidate)) return candidate;
    }
    return candidates.front();
}

}  // namespace quillon
