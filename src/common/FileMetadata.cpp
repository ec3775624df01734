#include "common/FileMetadata.h"

#include <acl/libacl.h>
#include <sys/acl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace quillon {
namespace {

// The file system keeps no list or has none for this file: nothing to carry.
bool Unsupported(int error) { return error == ENOTSUP || error == ENOSYS; }

bool CarryOwner(int to, const struct stat& info) {
    if (::fchown(to, info.st_uid, info.st_gid) == 0) return true;
    // Only root may give a file away; the group alone is enough when the owner is the user.
    return info.st_uid == ::geteuid() && ::fchown(to, static_cast<uid_t>(-1), info.st_gid) == 0;
}

bool CarryAccessList(int from, int to) {
    acl_t list = ::acl_get_fd(from);
    if (!list) return Unsupported(errno);
    // A list that says no more than the mode bits is carried by them.
    const bool extended = ::acl_equiv_mode(list, nullptr) == 1;
    const bool carried = !extended || ::acl_set_fd(to, list) == 0;
    ::acl_free(list);
    return carried;
}

// The access control list travels as its own attribute; every other attribute is copied as it is.
bool IsAccessListAttribute(const char* name) {
    return std::strcmp(name, "system.posix_acl_access") == 0 || std::strcmp(name, "system.posix_acl_default") == 0;
}

bool CarryAttributes(int from, int to) {
    ssize_t size = ::flistxattr(from, nullptr, 0);
    if (size < 0) return Unsupported(errno);
    std::vector<char> names(static_cast<std::size_t>(size) + 1);
    size = ::flistxattr(from, names.data(), names.size());
    if (size < 0) return false;
    for (const char* name = names.data(); name < names.data() + size; name += std::strlen(name) + 1) {
        if (IsAccessListAttribute(name)) continue;
        const ssize_t length = ::fgetxattr(from, name, nullptr, 0);
        if (length < 0) return false;
        std::vector<char> value(static_cast<std::size_t>(length) + 1);
        const ssize_t got = ::fgetxattr(from, name, value.data(), value.size());
        if (got < 0 || ::fsetxattr(to, name, value.data(), static_cast<std::size_t>(got), 0) != 0) return false;
    }
    return true;
}

}  // namespace

bool CarryMetadata(int from, int to, const struct stat& info) {
    // The owner first: giving a file away clears its set-user and set-group bits, which the mode
    // then puts back; the list after the mode, whose group bits it sets to its mask.
    if (!CarryOwner(to, info)) return false;
    if (::fchmod(to, info.st_mode & 07777) != 0) return false;
    return CarryAccessList(from, to) && CarryAttributes(from, to);
}

}  // namespace quillon
