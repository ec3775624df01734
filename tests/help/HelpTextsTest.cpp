#include <cerrno>
#include <gtest/gtest.h>

#include "help/HelpAddress.h"
#include "help/HelpVersions.h"

namespace quillon {
namespace {

struct AddressRow {
    const char* name;
    const char* helpFile;
    const char* page;
    const char* window;
    HelpAddressPrefix prefix;
    const char* address;
};

constexpr AddressRow kAddresses[] = {
    {"FileAlone", "/q/quill.chm", "", "", HelpAddressPrefix::None, "/q/quill.chm"},
    {"PageWithBackslashes", "/q/quill.chm", "html\\quil3x2q.htm", "", HelpAddressPrefix::None,
     "/q/quill.chm::/html/quil3x2q.htm"},
    {"PageWithoutSlash", "/q/quill.chm", "html/quil3x2q.htm", "", HelpAddressPrefix::None,
     "/q/quill.chm::/html/quil3x2q.htm"},
    {"PageWithSlashGetsNoSecond", "/q/quill.chm", "/html/quil3x2q.htm", "", HelpAddressPrefix::None,
     "/q/quill.chm::/html/quil3x2q.htm"},
    {"PageWithoutFile", "", "html\\a.htm", "", HelpAddressPrefix::None, "/html/a.htm"},
    {"EncodedSpacesAndBlanks", " /my%20help/quill.chm ", " html/a%20b.htm ", "", HelpAddressPrefix::None,
     "/my help/quill.chm::/html/a b.htm"},
    {"BlankPageIsNoPage", "/q/quill.chm", "   ", "", HelpAddressPrefix::None, "/q/quill.chm"},
    {"WindowDefinition", "/q/quill.chm", "a.htm", " main ", HelpAddressPrefix::None, "/q/quill.chm::/a.htm>main"},
    {"WindowWithoutPage", "/q/quill.chm", "", "main", HelpAddressPrefix::None, "/q/quill.chm>main"},
    {"PrefixOne", "/q/quill.chm", "a.htm", "", HelpAddressPrefix::MkMsitStore, "mk:@MSITStore:/q/quill.chm::/a.htm"},
    {"PrefixTwo", "/q/quill.chm", "", "", HelpAddressPrefix::MsIts, "ms-its:/q/quill.chm"},
};

TEST(HelpAddress, FormedFromFilePageAndWindow) {
    for (const AddressRow& row : kAddresses) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FormHelpAddress(row.helpFile, row.page, row.window, row.prefix), row.address);
    }
}

TEST(HelpAddress, TakenApartAgain) {
    struct Row {
        const char* address;
        const char* helpFile;
        const char* page;
        const char* window;
    };
    const Row rows[] = {
        {"/q/quill.chm", "/q/quill.chm", "", ""},
        {"/q/quill.chm::/html/a.htm", "/q/quill.chm", "/html/a.htm", ""},
        {"/q/quill.chm::html\\a.htm", "/q/quill.chm", "/html/a.htm", ""},
        {"MK:@MSITSTORE:/q/quill.chm::/a.htm>main", "/q/quill.chm", "/a.htm", "main"},
        {"ms-its:/q/quill.chm>main", "/q/quill.chm", "", "main"},
        {"/q/quill.chm::", "/q/quill.chm", "", ""},
        // Folder names may hold what separates the parts: only what follows the ".chm" counts.
        {"/a>b/quill.chm", "/a>b/quill.chm", "", ""},
        {"/a>b/quill.chm::/html/a.htm>main", "/a>b/quill.chm", "/html/a.htm", "main"},
        {"ms-its:/a::b/Quill.CHM>main", "/a::b/Quill.CHM", "", "main"},
        {"/x.chm/quill.chm::a.htm", "/x.chm/quill.chm", "/a.htm", ""},
        {"/q/help::a.htm>main", "/q/help", "/a.htm", "main"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.address);
        const HelpAddressParts parts = SplitHelpAddress(row.address);
        EXPECT_EQ(parts.helpFile, row.helpFile);
        EXPECT_EQ(parts.page, row.page);
        EXPECT_EQ(parts.windowDefinition, row.window);
    }
}

TEST(HelpCommandNames, EveryCommandAndAnUnknownOne) {
    const std::pair<unsigned, const char*> rows[] = {
        {1, "1 (HELP_CONTEXT)"},
        {2, "2 (HELP_QUIT)"},
        {3, "3 (HELP_INDEX or HELP_CONTENTS)"},
        {4, "4 (HELP_HELPONHELP)"},
        {5, "5 (HELP_SETINDEX or HELP_SETCONTENTS)"},
        {8, "8 (HELP_CONTEXTPOPUP)"},
        {9, "9 (HELP_FORCEFILE)"},
        {10, "10 (HELP_CONTEXTMENU)"},
        {11, "11 (HELP_FINDER)"},
        {12, "12 (HELP_WM_HELP)"},
        {13, "13 (HELP_SETPOPUP_POS)"},
        {257, "257 (HELP_KEY)"},
        {258, "258 (HELP_COMMAND)"},
        {261, "261 (HELP_PARTIALKEY)"},
        {513, "513 (HELP_MULTIKEY)"},
        {515, "515 (HELP_SETWINPOS)"},
        {0, "0 (\?\?)"},
        {6, "6 (\?\?)"},
        {259, "259 (\?\?)"},
    };
    for (const auto& [command, text] : rows) EXPECT_EQ(HelpCommandText(command), text);
}

TEST(HelpErrorTexts, CodesOfTheHelpIntegration) {
    EXPECT_EQ(HHErrorText(0), "");
    EXPECT_EQ(HHErrorText(1), "MS Html Help is not installed on this PC.");
    EXPECT_EQ(HHErrorText(2), "System file KeyHH.EXE was not found in the Windows folder.");
    EXPECT_EQ(HHErrorText(3), "System file HH.EXE was not found in the Windows folder.");
    EXPECT_EQ(HHErrorText(4), "Unknown error returned by HHHelpContext");
    EXPECT_EQ(HHErrorText(-1), "Unknown error returned by HHHelpContext");
}

TEST(HelpErrorTexts, FailuresToStartAProgram) {
    const std::pair<int, const char*> rows[] = {
        {2, "File Not Found"},
        {3, "Path Not Found"},
        {5, "Access Denied"},
        {8, "Insufficient Memory"},
        {19, "Media Is Write Protected"},
        {21, "Device Not Ready"},
        {32, "File In Use"},
        {33, "File In Use"},
        {39, "Disk Full"},
        {112, "Disk Full"},
        {276, "Corrupt File Or Disk"},
        {1005, "Corrupt File Or Disk"},
        {1392, "Corrupt File Or Disk"},
        {1393, "Corrupt File Or Disk"},
        {1009, "Corrupt Registry"},
        {1358, "Corrupt Registry"},
        {1150, "Windows Version Incorrect"},
        {1151, "Not A Windows Or MSDos Program"},
        {0, "General Failure"},
        {4, "General Failure"},
        {1152, "General Failure"},
    };
    for (const auto& [error, text] : rows) EXPECT_EQ(ShellErrorText(error), text) << error;
    // This system's errors fall into the same texts.
    const std::pair<int, const char*> errnos[] = {
        {ENOENT, "File Not Found"},  {ENOTDIR, "Path Not Found"},     {EACCES, "Access Denied"},
        {EPERM, "Access Denied"},    {ENOMEM, "Insufficient Memory"}, {EROFS, "Media Is Write Protected"},
        {ETXTBSY, "File In Use"},    {ENOSPC, "Disk Full"},           {ENOEXEC, "Not A Windows Or MSDos Program"},
        {EINVAL, "General Failure"},
    };
    for (const auto& [error, text] : errnos) EXPECT_EQ(ShellErrorText(PlatformErrorOfErrno(error)), text) << error;
}

TEST(FileVersions, WrittenReadAndCompared) {
    EXPECT_EQ(VersionText({5, 2, 3669, 0}), "5.2.3669.0");
    EXPECT_EQ(ParseVersionText("65535.0.12.7"), (FileVersion{65535, 0, 12, 7}));
    for (const char* bad :
         {"", "5.2.3669", "5.2.3669.0.1", "5.2.x.0", "5..1.0", "65536.0.0.0", "-1.0.0.0", " 5.2.1.0"}) {
        EXPECT_FALSE(ParseVersionText(bad).has_value()) << bad;
    }
    EXPECT_LT((FileVersion{4, 74, 9273, 0}), (FileVersion{5, 0, 0, 0}));
    EXPECT_LT((FileVersion{5, 2, 3669, 0}), (FileVersion{5, 2, 3669, 1}));
    EXPECT_EQ(AdjustedBrowserVersion({4, 70, 1300, 0}), (FileVersion{4, 70, 0, 1300}));
    EXPECT_EQ(AdjustedBrowserVersion({4, 71, 1712, 0}), (FileVersion{4, 71, 1712, 0}));
    EXPECT_EQ(AdjustedBrowserVersion({4, 70, 1300, 5}), (FileVersion{4, 70, 1300, 5}));
    EXPECT_EQ(AdjustedBrowserVersion({5, 0, 2014, 0}), (FileVersion{5, 0, 2014, 0}));
}

TEST(FileVersions, ViewerReleaseAtEveryEdge) {
    const std::pair<const char*, const char*> rows[] = {
        {"", ""},
        {"not a version", ""},
        {"6.0.0.0", "> 1.4a"},
        {"5.2.3669.1", "> 1.4a"},
        {"5.2.3669.0", "1.4a"},
        {"5.2.3668.65535", "1.4"},
        {"5.2.3626.0", "1.4"},
        {"5.2.3625.9", "1.33"},
        {"4.74.9273.0", "1.33"},
        {"4.74.9272.0", "1.32"},
        {"4.74.8857.0", "1.32"},
        {"4.74.8856.0", "1.31"},
        {"4.74.8793.0", "1.31"},
        {"4.74.8792.0", "1.3"},
        {"4.74.8702.0", "1.3"},
        {"4.74.8701.0", "1.22"},
        {"4.73.8561.0", "1.22"},
        {"4.73.8560.0", "1.21a"},
        {"4.73.8474.0", "1.21a"},
        {"4.73.8473.0", "1.21"},
        {"4.73.8412.0", "1.21"},
        {"4.73.8411.0", "1.2"},
        {"4.73.8252.0", "1.2"},
        {"4.73.8251.0", "1.1b"},
        {"4.72.8164.0", "1.1b"},
        {"4.72.8163.0", "1.1a"},
        {"4.72.7325.0", "1.1a"},
        {"4.72.7324.0", "1.1"},
        {"4.72.7323.0", "1.1"},
        {"4.72.7322.0", "1.0"},
        {"4.72.7290.0", "1.0"},
        {"4.72.7289.0", "< 1.0"},
        {"1.0.0.0", "< 1.0"},
    };
    for (const auto& [version, name] : rows) EXPECT_EQ(ViewerFriendlyVersion(version), name) << version;
}

TEST(FileVersions, BrowserReleaseAtEveryEdge) {
    // Each release at its first version, and the version just below it, which belongs to the
    // release before.
    const std::pair<FileVersion, const char*> releases[] = {
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
    };
    const auto below = [](FileVersion v) {
        if (v.build > 0) return FileVersion{v.major, v.minor, v.release, static_cast<std::uint16_t>(v.build - 1)};
        return FileVersion{v.major, v.minor, static_cast<std::uint16_t>(v.release - 1), 65535};
    };
    for (std::size_t i = 0; i < std::size(releases); ++i) {
        const auto& [from, name] = releases[i];
        EXPECT_EQ(BrowserFriendlyVersion(VersionText(from)), name) << VersionText(from);
        const char* before = i + 1 < std::size(releases) ? releases[i + 1].second : "< Internet Explorer 1.0 (Plus!)";
        EXPECT_EQ(BrowserFriendlyVersion(VersionText(below(from))), before) << VersionText(below(from));
    }
    EXPECT_EQ(BrowserFriendlyVersion("6.65535.0.0"), "Internet Explorer 6 (Windows Server 2003)");
    EXPECT_EQ(BrowserFriendlyVersion("7.0.5730.11"), ">= Internet Explorer 7.0.5730.11");
    EXPECT_EQ(BrowserFriendlyVersion(""), "");
}

TEST(FileVersions, SharedLibraryVersionFromItsFileName) {
    const std::pair<const char*, const char*> rows[] = {
        {"libchm.so.1.0.0", "1.0.0.0"},
        {"libchm.so.1", "1.0.0.0"},
        {"libx.so.2.40.1.7", "2.40.1.7"},
        {"libx.so.2.40.1.7.9", "2.40.1.7"},
        {"libchm.so", ""},
        {"libchm.so.1a", ""},
        {"", ""},
        {"libx.so.1.99999", ""},
    };
    for (const auto& [name, version] : rows) EXPECT_EQ(SharedLibraryVersionText(name), version) << name;
}

}  // namespace
}  // namespace quillon
