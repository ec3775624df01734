#include "help/HelpVersions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

namespace quillon {
namespace {

struct Release {
    FileVersion from;
    const char* name;
};

// Each release from its first version on, the newest first; the last entry names every older version.
constexpr Release kViewerReleases[] = {
    {{5, 2, 3626, 0}, "1.4"},  {{4, 74, 9273, 0}, "1.33"}, {{4, 74, 8857, 0}, "1.32"},  {{4, 74, 8793, 0}, "1.31"},
    {{4, 74, 8702, 0}, "1.3"}, {{4, 73, 8561, 0}, "1.22"}, {{4, 73, 8474, 0}, "1.21a"}, {{4, 73, 8412, 0}, "1.21"},
    {{4, 73, 8252, 0}, "1.2"}, {{4, 72, 8164, 0}, "1.1b"}, {{4, 72, 7325, 0}, "1.1a"},  {{4, 72, 7323, 0}, "1.1"},
    {{4, 72, 7290, 0}, "1.0"}, {{0, 0, 0, 0}, "< 1.0"},
};
constexpr FileVersion kViewer14a{5, 2, 3669, 0};

constexpr Release kBrowserReleases[] = {
    {{6, 0, 3790, 0}, "Internet Explorer 6 (Windows Server 2003)"},
    {{6, 0, 3718, 0}, "Internet Explorer 6 (Windows Server 2003 RC2)"},
    {{6, 0, 3663, 0}, "Internet Explorer 6 (Windows Server 2003 RC1)"},
    {{6, 0, 2900, 2180}, "Internet Explorer 6 (Windows XP SP2)"},
    {{6, 0, 2800, 1106}, "Internet Explorer 6 SP1"},
    {{6, 0, 2712, 300}, "Internet Explorer 6 (Windows XP + minor update)"},
    {{6, 0, 2600, 0}, "Internet Explorer 6 (Windows XP)"},
    {{6, 0, 2479, 6}, "Internet Explorer 6 Public Preview (Beta) Refresh"},
    {{6, 0, 2462, 0}, "Internet Explorer 6 Public Preview (Beta)"},
    {{5, 50, 4807, 2300}, "Internet Explorer 5.5 Service Pack 2"},
    {{5, 50, 4522, 1800}, "Internet Explorer 5.5 Service Pack 1"},
    {{5, 50, 4308, 2900}, "Internet Explorer 5.5 Advanced Security Privacy Beta"},
    {{5, 50, 4134, 600}, "Internet Explorer 5.5"},
    {{5, 50, 4134, 100}, "Internet Explorer 5.5 for Windows Me (4.90.3000)"},
    {{5, 50, 4030, 2400}, "Internet Explorer 5.5 & Internet Tools Beta"},
    {{5, 50, 3825, 1300}, "Internet Explorer 5.5 Developer Preview"},
    {{5, 0, 2919, 6400}, "Internet Explorer 5.01"},
    {{5, 0, 2919, 6307}, "Internet Explorer 5.01"},
    {{5, 0, 2919, 3800}, "Internet Explorer 5.01 (Windows 2000 RC2, build 5.00.2128)"},
    {{5, 0, 2919, 800}, "Internet Explorer 5.01 (Windows 2000 RC1, build 5.00.2072)"},
    {{5, 0, 2723, 2900}, "Internet Explorer 5.0 updated"},
    {{5, 0, 2721, 1400}, "Internet Explorer 5.0 updated"},
    {{5, 0, 2614, 0}, "Internet Explorer 5.0b"},
    {{5, 0, 2314, 0}, "Internet Explorer 5.0a"},
    {{5, 0, 2014, 0}, "Internet Explorer 5.0"},
    {{5, 0, 910, 0}, "Internet Explorer 5 Beta (Beta 2)"},
    {{5, 0, 518, 0}, "Internet Explorer 5 Developer Preview (Beta 1)"},
    {{4, 72, 3612, 0}, "Internet Explorer 4.01 Service Pack 2 (SP2)"},
    {{4, 72, 3110, 0}, "Internet Explorer 4.01 Service Pack 1 (SP1)"},
    {{4, 72, 2106, 0}, "Internet Explorer 4.01"},
    {{4, 71, 1712, 0}, "Internet Explorer 4.0"},
    {{4, 71, 1008, 0}, "Internet Explorer 4.0 Platform Preview 2.0 (PP2)"},
    {{4, 71, 544, 0}, "Internet Explorer 4.0 Platform Preview 1.0 (PP1)"},
    {{4, 70, 1300, 0}, "Internet Explorer 3.02"},
    {{4, 70, 1215, 0}, "Internet Explorer 3.01"},
    {{4, 70, 1158, 0}, "Internet Explorer 3.0 (OSR2)"},
    {{4, 70, 1155, 0}, "Internet Explorer 3.0"},
    {{4, 40, 520, 0}, "Internet Explorer 2.0"},
    {{4, 40, 308, 0}, "Internet Explorer 1.0 (Plus!)"},
    {{0, 0, 0, 0}, "< Internet Explorer 1.0 (Plus!)"},
};

// The name of the newest release that the version reaches; the last entry of a table starts at 0.
template <std::size_t N>
std::string NameOfRelease(const Release (&releases)[N], const FileVersion& version) {
    for (const Release& release : releases) {
        if (version >= release.from) return release.name;
    }
    return {};
}

std::optional<std::uint16_t> Field(std::string_view text) {
    std::uint16_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

}  // namespace

std::string VersionText(const FileVersion& version) {
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." + std::to_string(version.release) +
           "." + std::to_string(version.build);
}

std::optional<FileVersion> ParseVersionText(std::string_view text) {
    std::array<std::uint16_t, 4> fields{};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t point = i + 1 < fields.size() ? text.find('.') : text.size();
        if (point == std::string_view::npos) return std::nullopt;
        const auto field = Field(text.substr(0, point));
        if (!field) return std::nullopt;
        fields[i] = *field;
        text.remove_prefix(std::min(point + 1, text.size()));
    }
    return FileVersion{fields[0], fields[1], fields[2], fields[3]};
}

std::string ViewerFriendlyVersion(std::string_view versionText) {
    const auto version = ParseVersionText(versionText);
    if (!version) return {};
    if (*version > kViewer14a) return "> 1.4a";
    if (*version == kViewer14a) return "1.4a";
    return NameOfRelease(kViewerReleases, *version);
}

FileVersion AdjustedBrowserVersion(const FileVersion& version) {
    if (version.major == 4 && version.minor <= 70 && version.build == 0) {
        return {version.major, version.minor, 0, version.release};
    }
    return version;
}

std::string BrowserFriendlyVersion(std::string_view versionText) {
    const auto version = ParseVersionText(versionText);
    if (!version) return {};
    if (version->major > 6) return ">= Internet Explorer " + std::string(versionText);
    return NameOfRelease(kBrowserReleases, *version);
}

std::string SharedLibraryVersionText(std::string_view fileName) {
    const std::size_t so = fileName.rfind(".so.");
    if (so == std::string_view::npos) return {};
    std::string_view numbers = fileName.substr(so + 4);
    std::vector<std::uint16_t> fields;
    while (!numbers.empty() && fields.size() < 4) {
        const std::size_t point = numbers.find('.');
        const auto field = Field(numbers.substr(0, point));
        if (!field) return {};
        fields.push_back(*field);
        numbers.remove_prefix(point == std::string_view::npos ? numbers.size() : point + 1);
    }
    if (fields.empty()) return {};
    fields.resize(4, 0);
    return VersionText({fields[0], fields[1], fields[2], fields[3]});
}

}  // namespace quillon
