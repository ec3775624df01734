#include "batch/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quillon::batch {

InputFile::~InputFile() {
    if (ownsFd_) close(fd_);
}

std::optional<std::string> InputFile::Open(const std::string& path) {
    path_ = path;
    if (path == "-") {
        fd_ = STDIN_FILENO;
    } else {
        fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) return "cannot read " + path + ": " + std::strerror(errno);
        ownsFd_ = true;
    }
    struct stat status {};
    if (fstat(fd_, &status) == 0) {
        if (S_ISDIR(status.st_mode)) return "cannot read " + path + ": " + std::strerror(EISDIR);
        if (S_ISREG(status.st_mode)) size_ = static_cast<std::uint64_t>(status.st_size);
    }
    // The file is read once from start to end.
    posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    return std::nullopt;
}

ReadResult InputFile::Read(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = read(fd_, buffer, size);
        if (got >= 0) return {static_cast<std::size_t>(got), std::nullopt};
        if (errno != EINTR) return {0, "cannot read " + path_ + ": " + std::strerror(errno)};
    }
}

}  // namespace quillon::batch
