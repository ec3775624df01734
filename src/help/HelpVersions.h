#pragma once
// File versions of the help components and the names of their releases: a version is four 16-bit
// numbers (major, minor, release, build) written in decimal joined by points, compared field by
// field from major to build. The friendly names are looked up in fixed tables. Plain functions.

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

struct FileVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t release = 0;
    std::uint16_t build = 0;

    auto operator<=>(const FileVersion&) const = default;
};

// "5.2.3669.0".
std::string VersionText(const FileVersion& version);
// Reads four numbers joined by points; anything else gives no version.
std::optional<FileVersion> ParseVersionText(std::string_view text);

// The release name of the help viewer for its file version ("1.4" for 5.2.3626.0 up to the next
// release); empty for an empty or unreadable version text.
std::string ViewerFriendlyVersion(std::string_view versionText);

// Old browser libraries wrote their version with the build in the release field: a version 4.x.y.0
// with x at most 70 becomes 4.x.0.y.
FileVersion AdjustedBrowserVersion(const FileVersion& version);

// The release name of the browser for its version; empty for an empty or unreadable version text.
std::string BrowserFriendlyVersion(std::string_view versionText);

// The version of a shared library as its file name gives it, padded to four numbers:
// "libchm.so.1.0.0" gives "1.0.0.0"; a name without numbers after ".so" gives an empty text.
std::string SharedLibraryVersionText(std::string_view fileName);

}  // namespace quillon
