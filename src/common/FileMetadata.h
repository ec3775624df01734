#pragma once
// What a file carries besides its bytes, and that a saved file must keep when it takes the place of
// the one it replaces: owner and group, the mode bits exactly, the access control list and the
// extended attributes (what `cp --preserve=all` keeps).

#include <sys/stat.h>

namespace quillon {

// Gives the file `to` what the file `from` carries (`info` is from's status). False when any of it
// cannot be given (the user may not give a file away or into that group, the file system or the
// user's rights refuse an attribute): the caller then writes into `from` itself rather than replace
// it by a file with other rights. Both descriptors are open files, not paths.
bool CarryMetadata(int from, int to, const struct stat& info);

}  // namespace quillon
