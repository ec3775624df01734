#pragma once
// The help integration's diagnostic log, "HHDebug.txt". Lines are written only in debug mode, each
// one appended, ended with CR LF and flushed at once, so that the file tells what happened even
// when the program ends abruptly. Nothing here ever stops the program: a folder that cannot take
// the file moves it to the temporary folder, and a line that cannot be written is dropped.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The clock and the regional time format, which the log does not read itself.
class LogClock {
public:
    virtual ~LogClock() = default;
    // The time of day in the locale's time format, for the stamp in front of a line.
    virtual std::string TimeText() const = 0;
    // Date and time, for the header.
    virtual std::string DateTimeText() const = 0;
};

struct LogSwitches {
    bool debug = false;
    bool timeStamps = true;
    bool headerDump = true;
    bool append = false;
};

// Whether the user may create files in the folder (its write and search permissions, as the system
// grants them to this process); nothing is created to find out.
bool IsWritableFolder(const std::filesystem::path& folder);

// One line of the log as it is written, without its CR LF. A text that is exactly "-" or "=" is a
// rule of 80 such characters. A text beginning with "!", "-" or "=" loses that character and gets
// no time stamp, so rules come out 79 characters long; any other text gets the time and three
// blanks in front when time stamps are on.
std::string FormatLogLine(std::string_view text, bool timeStamps, std::string_view timeText);

// What the header tells, each value as it is to be written.
struct LogHeader {
    std::string logFile;
    std::string dateTime;
    std::string systemName;  // for example "Linux"
    int systemMajor = 0;
    int systemMinor = 0;
    int systemBuild = 0;
    std::string systemDetail;    // the kernel's version text
    std::string locale;          // the locale's name, for example "en_GB.UTF-8"
    std::string localeSource;    // the variable it came from
    std::string language;        // "en"
    std::string languageName;    // "English"
    std::string territory;       // "GB"
    std::string territoryName;   // "United Kingdom"
    std::uint16_t localeId = 0;  // the locale identifier of the language and territory, 0 unknown
    std::string decimalSeparator;
    std::string exePath;
    std::string exeVersion;
    std::vector<std::string> parameters;
    std::string commandLine;
    std::string runFolder;
    std::string moduleName;
    std::string moduleFolder;
    std::string modulePath;
    std::string moduleVersion;
    bool viewerInstalled = false;
    std::string viewerVersion;
    std::string viewerFriendlyVersion;
    bool browserInstalled = false;
    std::string browserVersion;
    std::string browserFriendlyVersion;
};

// The header's texts in order, each to go through FormatLogLine: rules and "!" lines.
std::vector<std::string> HeaderLines(const LogHeader& header);

class TDLogFile {
public:
    // Creates the log for the file name. When the file's folder is missing or cannot take a file,
    // the log goes to the user's own file in the temporary folder instead. Unless appending, an
    // existing log of the user's is deleted, in debug mode and out of it; a file of another user's
    // is neither deleted nor written to. The log is created readable by its owner only.
    TDLogFile(const std::filesystem::path& fileName, const LogSwitches& switches, const LogClock& clock,
              const std::filesystem::path& temporaryFile);

    const std::filesystem::path& FileName() const { return fileName_; }
    bool DebugMode() const { return switches_.debug; }

    // Writes a line in debug mode.
    void WriteLine(std::string_view text) const;
    // Shows the text in a message box, always, and writes it in debug mode.
    void ShowMessage(std::string_view text) const;
    // Writes the header in debug mode with the header dump on.
    void WriteHeader(const LogHeader& header) const;

private:
    std::filesystem::path fileName_;
    LogSwitches switches_;
    const LogClock& clock_;
};

}  // namespace quillon
