#pragma once
// Saving a file so that a failed or interrupted save never destroys what was there, and every
// reader finds either the old content or the new, whole.
//
// A regular file (or a new one) is written under a temporary name beside it, flushed to the disk
// and only then renamed over the target, which keeps what the target carried: owner and group
// (where the user may set them), the mode bits exactly, the access control list and the extended
// attributes. A symbolic link is followed and the file it points to is saved that way, the link
// stays; another user's link in a shared folder is refused (see common/PathWalk.h).
//
// The target is written in place instead, from a complete temporary copy, where renaming would lose
// something: it has other hard links, which must keep sharing it; the replacement cannot carry its
// owner, group, list or attributes; or its folder does not let the user make files (the copy is
// then made in the temporary folder). Writing in place reserves the new size first (a full disk
// then fails before anything has changed), locks the target so that two saves take turns, holds the
// ending signals back until the target is whole and on the disk, and removes the copy only then.
//
// A file the user may not write is not replaced. What is not a regular file (a device, a pipe, a
// socket, a terminal) is written to directly, because renaming over it would replace it instead of
// writing to it. Every write is checked; a device that takes fewer bytes than given fails the save.
// Messages end with the system's reason ("No space left on device").

#include <sys/types.h>

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

    // Starts saving to the path (any bytes the system takes as a name). The error is "Cannot create
    // file ", the path and the reason.
    std::optional<std::string> Open(const std::string& path);
    // Starts writing to standard output (a command line's "-o -"); the error says when the program
    // was started with standard output closed.
    std::optional<std::string> OpenStandardOutput();

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
    void Reset();
    void Fail(int error);
    std::optional<std::string> OpenRegular(const std::string& cannotCreate, bool exists);
    std::optional<std::string> WriteInPlace();
    void RemoveTemporary();

    int descriptor_ = -1;  // where the bytes go: the temporary file, or the target when direct
    bool ownsDescriptor_ = false;
    bool failed_ = false;
    int error_ = 0;  // the system's reason of the first failure
    std::size_t written_ = 0;
    std::string path_;  // as given, for messages
    int folder_ = -1;   // the target's folder, links followed
    std::string name_;  // the target's name in it
    int target_ = -1;   // the existing target, open, when it is replaced or written in place
    mode_t mode_ = 0;   // the mode the replacement takes
    bool inPlace_ = false;
    int temporaryFolder_ = -1;  // where the temporary file is (the target's folder or the temporary folder)
    std::string temporary_;     // its name there; empty when writing directly
};

inline constexpr std::string_view kStreamWriteError = "Stream write error";
inline constexpr std::string_view kCannotCreateFile = "Cannot create file ";
inline constexpr std::string_view kStandardOutputClosed = "standard output is closed";

// Standard input, output and error that were closed when the program started get harmless
// stand-ins, so that the next file the program opens does not take their place and receive what
// was meant for the terminal; standard output gets one that refuses every write. Call first thing.
void KeepStandardStreamsOpen();
// Whether standard output was closed when the program started.
bool StandardOutputWasClosed();

}  // namespace quillon
