#pragma once
// A check of a compiled help file's structure before chmlib reads it. chmlib trusts the lengths
// and offsets that a file gives: a damaged or hostile file makes it allocate gigabytes, divide by
// zero or read a compressed block past the end of its buffer. The check looks at what chmlib
// relies on (the headers, the directory entries of the compressed section's control data and
// reset table, and those two objects) and refuses a file where any of it is out of bounds.

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillon {

// For a file whose structure chmlib can read safely: the length of the compressed section, as
// uncompressed bytes, that its reset table covers with sound blocks (0 when the file has no
// compressed section); an object of the compressed section may only be read within it. Nothing
// for a file that is refused.
std::optional<std::uint64_t> CheckChmStructure(std::string_view file);

}  // namespace quillon
