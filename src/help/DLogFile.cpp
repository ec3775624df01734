#include "help/DLogFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <system_error>

#include "common/Messages.h"
#include "help/LocaleIds.h"

namespace quillon {
namespace {

constexpr std::size_t kRuleLength = 80;

std::string Joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string joined;
    for (const std::string& part : parts) {
        if (!joined.empty()) joined += separator;
        joined += part;
    }
    return joined;
}

// A header line: the label as it stands, a tab, the value.
std::string Entry(std::string_view label, std::string_view value) {
    std::string line(label);
    line += '\t';
    line += value;
    return line;
}

std::string YesNo(bool yes) { return yes ? "YES" : "NO"; }

}  // namespace

bool IsWritableFolder(const std::filesystem::path& folder) {
    // Asked of the system, not tried with a file: a probe file of a fixed name in a shared folder
    // is a name someone else can plant a link under, and opening it for writing truncates what the
    // link leads to.
    std::error_code error;
    return std::filesystem::is_directory(folder, error) &&
           ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

std::string FormatLogLine(std::string_view text, bool timeStamps, std::string_view timeText) {
    std::string line = text == "-" || text == "=" ? std::string(kRuleLength, text.front()) : std::string(text);
    if (!line.empty() && (line.front() == '!' || line.front() == '-' || line.front() == '=')) return line.substr(1);
    if (timeStamps) line.insert(0, std::string(timeText) + "   ");
    return line;
}

std::vector<std::string> HeaderLines(const LogHeader& h) {
    const std::string system = h.systemName + " " + std::to_string(h.systemMajor) + "." +
                               std::to_string(h.systemMinor) + " (Build " + std::to_string(h.systemBuild) + ") " +
                               h.systemDetail;
    return {
        "=",
        Entry("!Log File:             ", h.logFile),
        Entry("!Date:                 ", h.dateTime),
        Entry("!Operating System:      ", system),
        // The identifiers as other systems write them, and the locale by the names this one uses.
        Entry("!SysLocale.DefaultLCID: ", LocaleIdText(h.localeId) + " " + h.locale + " (" + h.localeSource + ")"),
        Entry("!SysLocale.PriLangID:   ",
              LocaleIdText(PrimaryLanguageId(h.localeId)) + " " + h.language + " (" + h.languageName + ")"),
        Entry("!SysLocale.SubLangID:   ",
              LocaleIdText(SubLanguageId(h.localeId)) + " " + h.territory + " (" + h.territoryName + ")"),
        Entry("!DecimalSeparator:      ", h.decimalSeparator),
        "-",
        Entry("!EXE Path =          ", h.exePath),
        Entry("!EXE Version =       ", h.exeVersion),
        Entry("!Cmdline Param(s) =  ", Joined(h.parameters, " | ")),
        Entry("!Actual CmdLine =  ", h.commandLine),
        Entry("!_RunDir =           ", h.runFolder),
        Entry("!_ModuleName =       ", h.moduleName),
        Entry("!_ModuleDir =        ", h.moduleFolder),
        Entry("!_ModulePath =        ", h.modulePath),
        Entry("!Module Version =       ", h.moduleVersion),
        "-",
        Entry("!_hhInstalled =      ", YesNo(h.viewerInstalled)),
        Entry("!_hhVerStr =         ", h.viewerVersion),
        Entry("!_hhFriendlyVerStr = ", h.viewerFriendlyVersion),
        "-",
        Entry("!_ieInstalled =      ", YesNo(h.browserInstalled)),
        Entry("!_ieVerStr =         ", h.browserVersion),
        Entry("!_ieFriendlyVerStr = ", h.browserFriendlyVersion),
        "=",
    };
}

TDLogFile::TDLogFile(const std::filesystem::path& fileName, const LogSwitches& switches, const LogClock& clock,
                     const std::filesystem::path& temporaryFile)
    : fileName_(fileName), switches_(switches), clock_(clock) {
    std::error_code error;
    const std::filesystem::path folder = fileName.parent_path();
    if (!std::filesystem::is_directory(folder, error) || !IsWritableFolder(folder)) fileName_ = temporaryFile;
    // Only the user's own log is touched. In a shared folder a file or a link under the log's name
    // may be someone else's, and it is left as it is.
    struct stat entry {};
    if (::lstat(fileName_.c_str(), &entry) != 0 || entry.st_uid != ::geteuid()) return;
    // A link in the log's place is not looked through: it is removed like an old log, and never
    // has its target's permissions changed. A log of the user's own is readable by nobody else,
    // and writable again when it was made read-only; unless appending, the old log then goes.
    if (S_ISREG(entry.st_mode)) {
        using std::filesystem::perms;
        std::filesystem::permissions(fileName_, perms::owner_read | perms::owner_write,
                                     std::filesystem::perm_options::replace, error);
    }
    if (!switches_.append) std::filesystem::remove(fileName_, error);
}

void TDLogFile::WriteLine(std::string_view text) const {
    if (!switches_.debug) return;
    // The log may lie in the shared temporary folder, so a link put there in its place is not
    // followed, a pipe does not block, and a file of another user's is not written to. The log
    // holds names and the command line: only its owner can read it.
    const int file = ::open(fileName_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                            S_IRUSR | S_IWUSR);
    if (file < 0) return;
    struct stat opened {};
    if (::fstat(file, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_uid == ::geteuid()) {
        const std::string line =
            FormatLogLine(text, switches_.timeStamps, switches_.timeStamps ? clock_.TimeText() : "") + "\r\n";
        // Written with one call and without a buffer, the line is in the file when the call returns.
        [[maybe_unused]] const auto written = ::write(file, line.data(), line.size());
    }
    ::close(file);
}

void TDLogFile::ShowMessage(std::string_view text) const {
    CurrentMessages().Show(kApplicationTitle, text, MessageIcon::Warning);
    WriteLine(text);
}

void TDLogFile::WriteHeader(const LogHeader& header) const {
    if (!switches_.headerDump) return;
    for (const std::string& line : HeaderLines(header)) WriteLine(line);
}

}  // namespace quillon
