#include "common/PathWalk.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <deque>
#include <vector>

namespace quillon {
namespace {

// Links are followed this many times at most, as the system itself does.
constexpr int kMaxLinkHops = 40;

// Closes a descriptor when it goes out of scope, unless it is handed on.
class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() { Reset(-1); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return descriptor_; }
    void Reset(int descriptor) {
        if (descriptor_ >= 0) ::close(descriptor_);
        descriptor_ = descriptor;
    }
    int Release() {
        const int descriptor = descriptor_;
        descriptor_ = -1;
        return descriptor;
    }

private:
    int descriptor_;
};

void AppendNames(std::deque<std::string>& names, const std::string& path, bool atFront) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = path.find('/', start);
        const std::size_t end = slash == std::string::npos ? path.size() : slash;
        if (end > start) {
            std::string part = path.substr(start, end - start);
            if (part != ".") parts.push_back(std::move(part));
        }
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    if (atFront) {
        names.insert(names.begin(), parts.begin(), parts.end());
    } else {
        names.insert(names.end(), parts.begin(), parts.end());
    }
}

std::string UserName(uid_t user) {
    struct passwd entry {};
    struct passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name) {
        return found->pw_name;
    }
    return "user " + std::to_string(user);
}

std::string Joined(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

}  // namespace

std::variant<PlaceInFolder, WalkFailure> WalkToWritePlace(const std::string& path) {
    if (path.empty()) return WalkFailure{ENOENT, {}};
    const bool absolute = path.front() == '/';
    Descriptor folder(::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() < 0) return WalkFailure{errno, {}};
    // The folder as the user would name it, for messages only.
    std::string shown = absolute ? "/" : "";
    std::deque<std::string> names;
    AppendNames(names, path, false);
    // A path that names a folder ("/", "out/", "..") cannot take a file.
    if (names.empty() || path.back() == '/') return WalkFailure{EISDIR, {}};

    int hops = 0;
    while (!names.empty()) {
        const std::string name = std::move(names.front());
        names.pop_front();
        const bool last = names.empty();
        struct stat info {};
        if (name == "..") {
            if (last) return WalkFailure{EISDIR, {}};
        } else if (::fstatat(folder.Get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT && last) return PlaceInFolder{folder.Release(), name};
            return WalkFailure{errno, {}};
        } else if (S_ISLNK(info.st_mode)) {
            if (++hops > kMaxLinkHops) return WalkFailure{ELOOP, {}};
            struct stat holder {};
            if (::fstat(folder.Get(), &holder) != 0) return WalkFailure{errno, {}};
            const bool shared = (holder.st_mode & S_ISVTX) && (holder.st_mode & S_IWOTH);
            if (shared && info.st_uid != ::geteuid() && info.st_uid != holder.st_uid) {
                const std::string link = Joined(shown, name);
                return WalkFailure{EPERM, "the link " + link + " belongs to " + UserName(info.st_uid) +
                                              " and stands in the shared folder " +
                                              (shown.empty() ? std::string(".") : shown) + ", so it is not followed"};
            }
            std::vector<char> target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4095) + 1);
            const ssize_t length = ::readlinkat(folder.Get(), name.c_str(), target.data(), target.size());
            if (length < 0) return WalkFailure{errno, {}};
            if (length == 0) return WalkFailure{ENOENT, {}};
            const std::string to(target.data(), static_cast<std::size_t>(length));
            if (to.front() == '/') {
                folder.Reset(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
                if (folder.Get() < 0) return WalkFailure{errno, {}};
                shown = "/";
            }
            AppendNames(names, to, true);
            // A link to "/" or "." names a folder, not a file.
            if (names.empty()) return WalkFailure{EISDIR, {}};
            continue;
        } else if (last) {
            return PlaceInFolder{folder.Release(), name};
        }
        // A folder on the way (".." is the folder above the one reached, as the system takes it).
        const int next = ::openat(folder.Get(), name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) return WalkFailure{errno == ELOOP ? ENOTDIR : errno, {}};
        folder.Reset(next);
        shown = Joined(shown, name);
    }
    return WalkFailure{EISDIR, {}};  // not reached: the loop ends on the last name
}

}  // namespace quillon
