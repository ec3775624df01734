#include "common/SafeSave.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "common/TemporaryFiles.h"

namespace quillon {
namespace {

// Links are followed this many times at most, as the system itself does.
constexpr int kMaxLinkHops = 40;

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The path a chain of symbolic links ends at; the end need not exist (a link to a file yet to be
// made). Nothing when the chain is too long.
std::optional<std::string> FollowLinks(std::string path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), buffer, sizeof buffer - 1);
        if (length < 0) return std::nullopt;
        const std::string link(buffer, static_cast<std::size_t>(length));
        path = !link.empty() && link.front() == '/' ? link : FolderOf(path) + "/" + link;
    }
    return std::nullopt;
}

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

// Copies the finished file into the target itself, so that every hard link to it sees the new
// content. The system's error number on failure, 0 on success.
int CopyInto(const std::string& from, const std::string& target) {
    const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0) return errno;
    const int destination = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
    if (destination < 0) {
        const int error = errno;
        ::close(source);
        return error;
    }
    int error = 0;
    char block[1 << 16];
    while (error == 0) {
        const ssize_t got = ::read(source, block, sizeof block);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) error = errno;
        if (got <= 0) break;
        error = WriteAll(destination, block, static_cast<std::size_t>(got));
    }
    if (error == 0 && ::fsync(destination) != 0) error = errno;
    if (::close(destination) != 0 && error == 0) error = errno;
    ::close(source);
    return error;
}

}  // namespace

SafeSave::~SafeSave() { Abandon(); }

std::optional<std::string> SafeSave::Open(const std::string& path) {
    Abandon();
    path_ = path;
    failed_ = false;
    error_ = 0;
    inPlace_ = false;
    const std::string cannotCreate = std::string(kCannotCreateFile) + path;

    // Where the name leads: something that is not a regular file is written to as it is.
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) return WithReason(cannotCreate, EISDIR);
    if (exists && !S_ISREG(info.st_mode)) {
        descriptor_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (descriptor_ < 0) return WithReason(cannotCreate, errno);
        ownsDescriptor_ = true;
        return std::nullopt;
    }

    const auto target = FollowLinks(path);
    if (!target) return WithReason(cannotCreate, ELOOP);
    target_ = *target;
    // A file the user may not write is not replaced either, as opening it for writing would
    // refuse (a folder that lets the user rename would not).
    if (exists && ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) return WithReason(cannotCreate, errno);
    // A short name of its own beside the target: the target's name may already be as long as a
    // name can be.
    std::string temporary = FolderOf(target_) + "/.quillon-XXXXXX";
    descriptor_ = ::mkstemp(temporary.data());
    if (descriptor_ < 0) return WithReason(cannotCreate, errno);
    ownsDescriptor_ = true;
    temporary_ = temporary;
    RememberTemporaryFile(temporary_.c_str());
    // The saved file keeps the owner, group and mode of the one it replaces (the owner only when
    // the user may give files away, as root may); a new one gets the usual mode, not the private
    // one of a temporary file. A file with other hard links is written in place at the end, so
    // that every link sees the new content.
    mode_t mode = 0;
    if (exists) {
        if (::fchown(descriptor_, info.st_uid, info.st_gid) != 0) {
            // Not allowed to give the file away: the group alone, when the user belongs to it.
            [[maybe_unused]] const int ignored = ::fchown(descriptor_, static_cast<uid_t>(-1), info.st_gid);
        }
        mode = info.st_mode & 07777;
        inPlace_ = info.st_nlink > 1;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(descriptor_, mode);
    return std::nullopt;
}

void SafeSave::OpenStandardOutput() {
    Abandon();
    path_.assign(1, '-');  // (assigning the literal trips a false warning of GCC 12)
    failed_ = false;
    error_ = 0;
    inPlace_ = false;
    descriptor_ = STDOUT_FILENO;
    ownsDescriptor_ = false;
}

bool SafeSave::Write(const void* data, std::size_t size) {
    if (descriptor_ < 0 && !failed_) Fail(EBADF);
    if (failed_) return false;
    if (const int error = WriteAll(descriptor_, static_cast<const char*>(data), size); error != 0) Fail(error);
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
    if (SyncFailed(descriptor_)) Fail(errno);
    const bool direct = temporary_.empty();
    if (ownsDescriptor_ && ::close(descriptor_) != 0) Fail(errno);
    descriptor_ = -1;
    ownsDescriptor_ = false;
    if (failed_) {
        Abandon();
        return WriteFailure();
    }
    if (!direct && inPlace_) {
        // The temporary copy is complete and on the disk; it goes only when the target holds it.
        if (const int error = CopyInto(temporary_, target_); error != 0) {
            ForgetTemporaryFile(temporary_.c_str());
            std::string message = WithReason(std::string(kStreamWriteError), error);
            message.append(" (the new content is in ").append(temporary_).append(")");
            temporary_.clear();
            return message;
        }
        Abandon();
        return std::nullopt;
    }
    if (!direct && std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        Abandon();
        return WithReason(std::string(kCannotCreateFile) + path_, error);
    }
    ForgetTemporaryFile(temporary_.c_str());
    temporary_.clear();
    return std::nullopt;
}

void SafeSave::Abandon() {
    Close();
    if (!temporary_.empty()) {
        std::remove(temporary_.c_str());
        ForgetTemporaryFile(temporary_.c_str());
        temporary_.clear();
    }
}

void SafeSave::Close() {
    if (descriptor_ >= 0 && ownsDescriptor_) ::close(descriptor_);
    descriptor_ = -1;
    ownsDescriptor_ = false;
}

}  // namespace quillon
