#pragma once
// Saving a file so that a failed save never destroys what was there: a regular file (or a new one)
// is written under a temporary name beside it, flushed to the disk and only then renamed over the
// target, keeping the target's mode (and owner and group, where the user may set them). A
// symbolic link is followed and the file it points to is saved that way, the link stays; a file
// with other hard links is written in place once the temporary copy is complete, so that the links
// keep sharing it. A file the user may not write is not replaced. What is not a regular file (a
// device, a pipe, a socket, a terminal) is written to directly, because renaming over it would
// replace it instead of writing to it. Every write is checked; a device that takes fewer bytes
// than given fails the save. Messages end with the system's reason ("No space left on device").

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

class SafeSave {
public:
    SafeSave() = default;
    // A save that is not committed is abandoned: the temporary file goes, the target stays.
    ~SafeSave();
    SafeSave(const SafeSave&) = delete;
    SafeSave& operator=(const SafeSave&) = delete;

    // Starts saving to the path. The error is "Cannot create file ", the path and the reason.
    std::optional<std::string> Open(const std::string& path);
    // Starts writing to standard output (a command line's "-o -").
    void OpenStandardOutput();

    // Writes all bytes; false (and the save fails at the end) when fewer were taken.
    bool Write(const void* data, std::size_t size);
    bool Write(std::string_view bytes) { return Write(bytes.data(), bytes.size()); }

    // "Stream write error" and the reason once a write has failed, else nothing.
    std::optional<std::string> WriteFailure() const;

    // Finishes the save. The error is "Stream write error" and the reason when a write or the
    // flush to the disk failed (the target then stays as it was), or "Cannot create file " and the
    // path when the finished file cannot take the target's name.
    std::optional<std::string> Commit();
    // Gives the save up: the temporary file goes, the target stays as it was.
    void Abandon();

private:
    void Close();
    void Fail(int error);

    int descriptor_ = -1;
    bool ownsDescriptor_ = false;
    bool failed_ = false;
    int error_ = 0;         // the system's reason of the first failure
    bool inPlace_ = false;  // the target has other hard links
    std::string path_;       // as given, for messages
    std::string target_;     // the file that is replaced, links followed
    std::string temporary_;  // empty when writing directly
};

inline constexpr std::string_view kStreamWriteError = "Stream write error";
inline constexpr std::string_view kCannotCreateFile = "Cannot create file ";

}  // namespace quillon
