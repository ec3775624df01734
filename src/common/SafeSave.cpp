#include "common/SafeSave.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>
#include <variant>

#include "common/FileMetadata.h"
#include "common/PathWalk.h"
#include "common/TemporaryFiles.h"

namespace quillon {
namespace {

constexpr char kTemporaryPrefix[] = ".quillon-";

bool SyncFailed(int descriptor) {
    // Pipes, terminals and some devices cannot be synchronised; that is no failure of the save.
    return ::fsync(descriptor) != 0 && errno != EINVAL && errno != EROFS && errno != ENOTSUP;
}

// A message with the system's reason after it, when there is one.
std::string WithReason(std::string message, int error) {
    if (error != 0) message.append(": ").append(std::strerror(error));
    return message;
}

// Writes all bytes; the system's error number on failure, 0 on success.
int WriteAll(int descriptor, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(descriptor, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        if (written == 0) return ENOSPC;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

// Copies the complete temporary file over the target's bytes from the start, cuts the target to
// that size and puts it on the disk. The system's error number on failure, 0 on success.
int CopyOver(int from, int to, off_t size) {
    char block[1 << 16];
    for (off_t offset = 0; offset < size;) {
        const ssize_t got = ::pread(from, block, sizeof block, offset);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno;
        if (got == 0) return EIO;  // the copy is shorter than it was a moment ago
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::pwrite(to, block + done, static_cast<std::size_t>(got - done), offset + done);
            if (put < 0 && errno == EINTR) continue;
            if (put < 0) return errno;
            if (put == 0) return ENOSPC;
            done += put;
        }
        offset += got;
    }
    if (::ftruncate(to, size) != 0) return errno;
    if (::fsync(to) != 0) return errno;
    return 0;
}

void CloseDescriptor(int& descriptor) {
    if (descriptor >= 0) ::close(descriptor);
    descriptor = -1;
}

// The path of a file in a folder held open, for messages: the system knows where the folder is.
std::string PathOf(int folder, const std::string& name) {
    char buffer[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(folder);
    const ssize_t length = ::readlink(link.c_str(), buffer, sizeof buffer);
    if (length <= 0 || length >= static_cast<ssize_t>(sizeof buffer)) return name;
    std::string path(buffer, static_cast<std::size_t>(length));
    if (path.back() != '/') path += '/';
    return path + name;
}

bool standardOutputClosed = false;

}  // namespace

SafeSave::~SafeSave() { Abandon(); }

std::optional<std::string> SafeSave::Open(const std::string& path) {
    Abandon();
    path_ = path;
    const std::string cannotCreate = std::string(kCannotCreateFile) + path;

    auto walked = WalkToWritePlace(path);
    if (const auto* failure = std::get_if<WalkFailure>(&walked)) {
        return failure->message.empty() ? WithReason(cannotCreate, failure->error)
                                        : cannotCreate + ": " + failure->message;
    }
    auto& place = std::get<PlaceInFolder>(walked);
    folder_ = place.folder;
    name_ = std::move(place.name);

    // Where the name leads: something that is not a regular file is written to as it is.
    struct stat info {};
    const bool exists = ::fstatat(folder_, name_.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT) return WithReason(cannotCreate, errno);
    if (exists && S_ISDIR(info.st_mode)) return WithReason(cannotCreate, EISDIR);
    if (exists && !S_ISREG(info.st_mode)) {
        descriptor_ = ::openat(folder_, name_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW);
        if (descriptor_ < 0) return WithReason(cannotCreate, errno);
        ownsDescriptor_ = true;
        return std::nullopt;
    }
    return OpenRegular(cannotCreate, exists);
}

std::optional<std::string> SafeSave::OpenRegular(const std::string& cannotCreate, bool exists) {
    struct stat info {};
    if (exists) {
        // Opened as a plain save would open it, so that what it refuses is refused here too; read
        // access, where the user has it, lets its attributes be read.
        const int flags = O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
        target_ = ::openat(folder_, name_.c_str(), O_RDWR | flags);
        if (target_ < 0 && errno == EACCES) target_ = ::openat(folder_, name_.c_str(), O_WRONLY | flags);
        if (target_ < 0 || ::fstat(target_, &info) != 0) return WithReason(cannotCreate, errno);
    }
    // The temporary file stands beside the target, where the folder lets the user make one. Else an
    // existing target is written in place from a copy in the temporary folder.
    const bool besideTarget = ::faccessat(folder_, ".", W_OK | X_OK, AT_EACCESS) == 0;
    if (!besideTarget && !exists) return WithReason(cannotCreate, errno);
    temporaryFolder_ =
        besideTarget ? ::dup(folder_) : ::open(TemporaryFolderPath().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (temporaryFolder_ >= 0) descriptor_ = CreateTemporaryFile(temporaryFolder_, kTemporaryPrefix, temporary_);
    if (descriptor_ < 0) {
        const int error = errno;
        if (besideTarget) return WithReason(cannotCreate, error);
        return WithReason(cannotCreate + ": its folder takes no new file, and the temporary folder " +
                              TemporaryFolderPath() + " cannot hold a copy",
                          error);
    }
    ownsDescriptor_ = true;
    if (exists) {
        mode_ = info.st_mode & 07777;
        inPlace_ = info.st_nlink > 1 || !besideTarget || !CarryMetadata(target_, descriptor_, info);
    } else {
        // A new file gets the usual mode, not the private one of a temporary file.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode_ = 0666 & ~mask;
        ::fchmod(descriptor_, mode_);
    }
    if (!inPlace_) CloseDescriptor(target_);
    return std::nullopt;
}

std::optional<std::string> SafeSave::OpenStandardOutput() {
    Abandon();
    path_.assign(1, '-');  // (assigning the literal trips a false warning of GCC 12)
    if (standardOutputClosed) return std::string(kStandardOutputClosed);
    descriptor_ = STDOUT_FILENO;
    ownsDescriptor_ = false;
    return std::nullopt;
}

bool SafeSave::Write(const void* data, std::size_t size) {
    if (descriptor_ < 0 && !failed_) Fail(EBADF);
    if (failed_) return false;
    if (const int error = WriteAll(descriptor_, static_cast<const char*>(data), size); error != 0) Fail(error);
    if (!failed_) written_ += size;
    return !failed_;
}

std::optional<std::string> SafeSave::WriteFailure() const {
    if (!failed_) return std::nullopt;
    return WithReason(std::string(kStreamWriteError), error_);
}

void SafeSave::Fail(int error) {
    if (!failed_) error_ = error;
    failed_ = true;
}

std::optional<std::string> SafeSave::Commit() {
    if (descriptor_ < 0) return WithReason(std::string(kStreamWriteError), failed_ ? error_ : EBADF);
    const bool direct = temporary_.empty();
    if (direct ? SyncFailed(descriptor_) : ::fsync(descriptor_) != 0) Fail(errno);
    if (failed_) {
        auto failure = WriteFailure();
        Abandon();
        return failure;
    }
    if (direct) {
        if (ownsDescriptor_ && ::close(descriptor_) != 0) Fail(errno);
        descriptor_ = -1;
        auto failure = WriteFailure();
        Abandon();
        return failure;
    }
    if (inPlace_) return WriteInPlace();
    // Writing may have cleared the set-user and set-group bits of the replacement: they go back.
    ::fchmod(descriptor_, mode_);
    const int closed = ::close(descriptor_);
    descriptor_ = -1;
    if (closed != 0) {
        Fail(errno);
        auto failure = WriteFailure();
        Abandon();
        return failure;
    }
    if (::renameat(temporaryFolder_, temporary_.c_str(), folder_, name_.c_str()) != 0) {
        const int error = errno;
        Abandon();
        return WithReason(std::string(kCannotCreateFile) + path_, error);
    }
    ForgetTemporaryFile(temporaryFolder_, temporary_.c_str());
    temporary_.clear();
    Abandon();
    return std::nullopt;
}

std::optional<std::string> SafeSave::WriteInPlace() {
    const auto size = static_cast<off_t>(written_);
    // Two saves of one file take turns: the second writes once the first is done.
    while (::flock(target_, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        Fail(errno);
        auto failure = WriteFailure();
        Abandon();
        return failure;
    }
    // From the reservation on, a signal would leave the target neither old nor new: lengthened
    // with zeros, or half old and half new. The ending signals wait until it is whole again.
    EndingSignalsHeld held;
    // The room for the new content first: when the disk cannot give it, nothing has changed.
    struct stat before {};
    ::fstat(target_, &before);
    if (size > 0) {
        if (const int error = ::posix_fallocate(target_, 0, size); error != 0) {
            if (::ftruncate(target_, before.st_size) != 0) {
                // The reservation lengthened the file and it cannot be cut back: the old bytes are
                // all there, followed by zeros.
            }
            Fail(error);
            auto failure = WriteFailure();
            Abandon();
            return failure;
        }
    }
    const int error = CopyOver(descriptor_, target_, size);
    if (error != 0) {
        // The target is damaged; the new content stays in the temporary file, which is kept.
        ForgetTemporaryFile(temporaryFolder_, temporary_.c_str());
        std::string message = WithReason(std::string(kStreamWriteError), error);
        message.append(" (the new content is in ").append(PathOf(temporaryFolder_, temporary_)).append(")");
        temporary_.clear();
        Abandon();
        return message;
    }
    Abandon();
    return std::nullopt;
}

void SafeSave::RemoveTemporary() {
    if (temporary_.empty()) return;
    ::unlinkat(temporaryFolder_, temporary_.c_str(), 0);
    ForgetTemporaryFile(temporaryFolder_, temporary_.c_str());
    temporary_.clear();
}

void SafeSave::Abandon() {
    if (ownsDescriptor_) CloseDescriptor(descriptor_);
    descriptor_ = -1;
    RemoveTemporary();
    CloseDescriptor(target_);
    CloseDescriptor(temporaryFolder_);
    CloseDescriptor(folder_);
    Reset();
}

void SafeSave::Reset() {
    ownsDescriptor_ = false;
    failed_ = false;
    error_ = 0;
    written_ = 0;
    name_.clear();
    mode_ = 0;
    inPlace_ = false;
}

void KeepStandardStreamsOpen() {
    const std::pair<int, const char*> streams[] = {
        {STDIN_FILENO, "/dev/null"}, {STDOUT_FILENO, "/dev/full"}, {STDERR_FILENO, "/dev/null"}};
    for (const auto& [descriptor, standIn] : streams) {
        if (::fcntl(descriptor, F_GETFD) != -1) continue;
        if (descriptor == STDOUT_FILENO) standardOutputClosed = true;
        const int opened = ::open(standIn, descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != descriptor) {
            ::dup2(opened, descriptor);
            ::close(opened);
        }
    }
}

bool StandardOutputWasClosed() { return standardOutputClosed; }

}  // namespace quillon
