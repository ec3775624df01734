#include "batch/OutputFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {
namespace {

constexpr int kMaxLinkHops = 40;

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links from path to the name they finally lead to, which need not exist.
// Returns nothing, with error set, when a link cannot be read or the links go round in a circle.
std::optional<std::string> FollowLinks(std::string path, int& error) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat status {};
        if (lstat(path.c_str(), &status) != 0) {
            if (errno == ENOENT) return path;
            error = errno;
            return std::nullopt;
        }
        if (!S_ISLNK(status.st_mode)) return path;
        std::string target(static_cast<std::size_t>(status.st_size > 0 ? status.st_size : 4096) + 1, '\0');
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            error = errno;
            return std::nullopt;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.starts_with('/') ? target : FolderOf(path) + "/" + target;
    }
    error = ELOOP;
    return std::nullopt;
}

// The permissions a newly created file gets: everyone may read and write, less the umask. The
// umask can only be read by setting it; this runs before any other thread creates files.
mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

OutputFile::~OutputFile() { Abandon(); }

std::string OutputFile::Failure(int error) const {
    return "cannot write " + path_ + ": " + std::strerror(error);
}

std::optional<std::string> OutputFile::Open(const std::string& path) {
    if (path == "-") {
        OpenStandardOutput();
        return std::nullopt;
    }
    Abandon();
    path_ = path;
    int error = 0;
    const auto target = FollowLinks(path, error);
    if (!target) return Failure(error);

    struct stat status {};
    const bool exists = stat(target->c_str(), &status) == 0;
    if (exists && S_ISDIR(status.st_mode)) return Failure(EISDIR);
    if (exists && !S_ISREG(status.st_mode)) {
        // A device, a pipe or a terminal: written as it is.
        fd_ = open(target->c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0) return Failure(errno);
        ownsFd_ = true;
        return std::nullopt;
    }

    // A hidden name beside the target, short enough for any file system.
    temporary_ = FolderOf(*target) + "/." + BaseNameOf(*target).substr(0, 200) + ".XXXXXX";
    fd_ = mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        temporary_.clear();
        return Failure(errno);
    }
    ownsFd_ = true;
    target_ = *target;
    // The replacement keeps the permissions and, where allowed, the owner of the file it replaces.
    if (exists) {
        fchmod(fd_, status.st_mode & 07777);
        if (fchown(fd_, status.st_uid, status.st_gid) != 0) {
            // Only the superuser may give a file away; the file then belongs to whoever runs us.
        }
    } else {
        fchmod(fd_, NewFileMode());
    }
    return std::nullopt;
}

void OutputFile::OpenStandardOutput() {
    Abandon();
    path_ = "-";
    fd_ = STDOUT_FILENO;
    ownsFd_ = false;
}

std::optional<std::string> OutputFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return Failure(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return std::nullopt;
}

std::optional<std::string> OutputFile::Commit() {
    if (fd_ < 0) return std::nullopt;
    if (temporary_.empty()) {
        const int fd = fd_;
        fd_ = -1;
        if (ownsFd_ && close(fd) != 0) return Failure(errno);
        return std::nullopt;
    }
    // The data reaches the disk before the name does, so that a crash leaves the old file or the
    // whole new one.
    int error = fsync(fd_) != 0 ? errno : 0;
    if (close(fd_) != 0 && error == 0) error = errno;
    fd_ = -1;
    if (error != 0) {
        Abandon();
        return Failure(error);
    }
    if (rename(temporary_.c_str(), target_.c_str()) != 0) {
        error = errno;
        Abandon();
        return Failure(error);
    }
    temporary_.clear();
    return std::nullopt;
}

void OutputFile::Abandon() {
    if (fd_ >= 0 && ownsFd_) close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) {
        unlink(temporary_.c_str());
        temporary_.clear();
    }
}

}  // namespace quillon
