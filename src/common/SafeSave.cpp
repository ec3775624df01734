#include "common/SafeSave.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

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

}  // namespace

SafeSave::~SafeSave() { Abandon(); }

std::optional<std::string> SafeSave::Open(const std::string& path) {
    Abandon();
    path_ = path;
    failed_ = false;
    const std::string cannotCreate = std::string(kCannotCreateFile) + path;

    // Where the name leads: something that is not a regular file is written to as it is.
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) return cannotCreate;
    if (exists && !S_ISREG(info.st_mode)) {
        descriptor_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (descriptor_ < 0) return cannotCreate;
        ownsDescriptor_ = true;
        return std::nullopt;
    }

    const auto target = FollowLinks(path);
    if (!target) return cannotCreate;
    target_ = *target;
    std::string temporary = FolderOf(target_) + "/." + target_.substr(target_.rfind('/') + 1) + ".XXXXXX";
    descriptor_ = ::mkstemp(temporary.data());
    if (descriptor_ < 0) return cannotCreate;
    ownsDescriptor_ = true;
    temporary_ = temporary;
    // The saved file keeps the mode of the one it replaces; a new one gets the usual mode, not the
    // private one of a temporary file.
    mode_t mode = 0;
    if (exists) {
        mode = info.st_mode & 07777;
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
    path_ = "-";
    failed_ = false;
    descriptor_ = STDOUT_FILENO;
    ownsDescriptor_ = false;
}

bool SafeSave::Write(const void* data, std::size_t size) {
    if (descriptor_ < 0) failed_ = true;
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0 && !failed_) {
        const ssize_t written = ::write(descriptor_, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            failed_ = true;
            break;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return !failed_;
}

std::optional<std::string> SafeSave::Commit() {
    if (descriptor_ < 0) return std::string(kStreamWriteError);
    if (SyncFailed(descriptor_)) failed_ = true;
    const bool direct = temporary_.empty();
    if (ownsDescriptor_ && ::close(descriptor_) != 0) failed_ = true;
    descriptor_ = -1;
    ownsDescriptor_ = false;
    if (failed_) {
        Abandon();
        return std::string(kStreamWriteError);
    }
    if (!direct && std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        Abandon();
        return std::string(kCannotCreateFile) + path_;
    }
    temporary_.clear();
    return std::nullopt;
}

void SafeSave::Abandon() {
    Close();
    if (!temporary_.empty()) {
        std::remove(temporary_.c_str());
        temporary_.clear();
    }
}

void SafeSave::Close() {
    if (descriptor_ >= 0 && ownsDescriptor_) ::close(descriptor_);
    descriptor_ = -1;
    ownsDescriptor_ = false;
}

}  // namespace quillon
