#pragma once
// Writes an output file so that a failed run never leaves a half-written or destroyed file.
//
// A regular file, or a name that does not exist yet, is written to a temporary file in the same
// folder, which replaces the target only on Commit; Abandon (or destruction without Commit) removes
// it and leaves the target as it was. A symbolic link is followed to the file it names, which is
// then replaced the same way, so the link stays a link. Devices, pipes and terminals, and "-" for
// standard output, are written directly: they cannot be replaced, and what was written to them
// cannot be taken back.

#include <optional>
#include <string>
#include <string_view>

namespace quillon {

class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    // Opens path for writing ("-" is standard output). Returns the error message, or nothing.
    std::optional<std::string> Open(const std::string& path);
    void OpenStandardOutput();
    // Writes all the bytes.
    std::optional<std::string> Write(std::string_view bytes);
    // Makes the written bytes the target's content.
    std::optional<std::string> Commit();
    // Drops what was written, where that is possible.
    void Abandon();
    // The temporary file being written, empty when writing directly; for a signal handler that
    // has to remove it when the program is stopped.
    const std::string& TemporaryPath() const { return temporary_; }

private:
    // "cannot write PATH: reason".
    std::string Failure(int error) const;

    std::string path_;        // as given, for messages
    std::string target_;      // the file the temporary one replaces (links followed)
    std::string temporary_;   // empty when writing directly
    int fd_ = -1;
    bool ownsFd_ = false;
};

}  // namespace quillon
