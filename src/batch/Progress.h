#pragma once
// The progress line of a long batch run, as text. When and where it is shown is the caller's
// business: the core reads no clock.

#include <cstdint>
#include <optional>
#include <string>

namespace quillon::batch {

// For example "quillon: 512.0 MB of 1.0 GB (50%), 3912334 names/s, 0:42 left"; without a known
// total, "quillon: 512.0 MB read, 3912334 names/s".
std::string FormatProgress(std::uint64_t bytesRead, std::optional<std::uint64_t> totalBytes, std::uint64_t rows,
                           double elapsedSeconds);

}  // namespace quillon::batch
