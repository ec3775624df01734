#pragma once
// Finding where a file is to be written: the folder that holds it (an open descriptor) and its name
// in that folder. The path is walked one name at a time, as the system walks it, and symbolic links
// are followed on the way, so that the file a link points to is the one written. Working from the
// folder's descriptor, no path grows beyond what the system takes, however deep the folder lies.
//
// A link that stands in a shared folder (sticky and writable by everyone, as /tmp) is followed only
// when it belongs to the user or to the folder's owner: another user's link there is a trap that
// would make the user overwrite a file of their own. The system applies this rule when it follows
// links itself (fs.protected_symlinks); here it is applied whatever the system's setting.

#include <string>
#include <variant>

namespace quillon {

// The end of the walk. The descriptor is the caller's to close; the name is never a link (it may
// not exist yet).
struct PlaceInFolder {
    int folder = -1;
    std::string name;
};

// Why the walk stopped: the system's error number, or a message of its own.
struct WalkFailure {
    int error = 0;
    std::string message;  // when not empty, said instead of the error number's text
};

std::variant<PlaceInFolder, WalkFailure> WalkToWritePlace(const std::string& path);

}  // namespace quillon
