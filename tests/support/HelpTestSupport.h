#pragma once
// What the help tests share: a temporary folder, a pinned clock, the lines of a log and compiling
// help files of their own; with them the reading and writing of whole files (support/Files.h).

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "help/DLogFile.h"
#include "support/Files.h"

namespace quillon::test {

// A fresh folder that is removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillon-help-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

class FixedClock final : public LogClock {
public:
    std::string TimeText() const override { return "12:34:56"; }
    std::string DateTimeText() const override { return "07/12/2026 12:34:56"; }
};

// The lines of a log, split at CR LF; a file that does not end in CR LF gets a last line "<unended>".
inline std::vector<std::string> LogLines(const std::filesystem::path& path) {
    const std::string bytes = ReadFile(path);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.emplace_back("<unended>");
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// Compiles folder/quill.chm from pages (object path and HTML, the first one the start page) and,
// when given, a table of contents; false when the compiler fails.
inline bool CompileHelpFile(const std::filesystem::path& folder,
                            const std::vector<std::pair<std::string, std::string>>& pages,
                            const std::string& contents = {}, const std::string& title = "Test Help") {
    const std::filesystem::path source = folder / "help-source";
    std::string project = "[OPTIONS]\nCompiled file=quill.chm\nDefault topic=" + pages.front().first +
                          "\nTitle=" + title + "\n" + (contents.empty() ? "" : "Contents file=quill.hhc\n") +
                          "\n[FILES]\n";
    for (const auto& [path, html] : pages) {
        std::filesystem::create_directories((source / path).parent_path());
        WriteFile(source / path, html);
        project += path + "\n";
    }
    if (!contents.empty()) WriteFile(source / "quill.hhc", contents);
    WriteFile(source / "quill.hhp", project);
    const std::string command = "cd '" + source.string() + "' && '" QUILLON_CHMCMD "' quill.hhp >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return false;
    std::filesystem::rename(source / "quill.chm", folder / "quill.chm");
    std::filesystem::remove_all(source);
    return true;
}

}  // namespace quillon::test
