#include "help/HelpAddress.h"

#include <cerrno>

#include "help/AsciiText.h"

namespace quillon {
namespace {

constexpr std::string_view kMkMsitStore = "mk:@MSITStore:";
constexpr std::string_view kMsIts = "ms-its:";

// "%20" becomes a space, then blanks and control characters at both ends go.
std::string Cleaned(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 3) == "%20") {
            result += ' ';
            i += 2;
        } else {
            result += text[i];
        }
    }
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t first = 0;
    while (first < result.size() && isBlank(result[first])) ++first;
    std::size_t last = result.size();
    while (last > first && isBlank(result[last - 1])) --last;
    return result.substr(first, last - first);
}

}  // namespace

std::string FormHelpAddress(std::string_view helpFile, std::string_view page, std::string_view windowDefinition,
                            HelpAddressPrefix prefix) {
    std::string address = Cleaned(helpFile);
    const std::string cleanPage = Cleaned(page);
    if (!cleanPage.empty()) {
        if (!address.empty()) address += "::";
        address += ChmObjectPath(cleanPage);
    }
    if (const std::string window = Cleaned(windowDefinition); !window.empty()) address += ">" + window;
    switch (prefix) {
        case HelpAddressPrefix::None: break;
        case HelpAddressPrefix::MkMsitStore: address.insert(0, kMkMsitStore); break;
        case HelpAddressPrefix::MsIts: address.insert(0, kMsIts); break;
    }
    return address;
}

std::string ChmObjectPath(std::string_view page) {
    std::string path(page);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    if (!path.starts_with('/')) path.insert(path.begin(), '/');
    return path;
}

HelpAddressParts SplitHelpAddress(std::string_view address) {
    for (std::string_view prefix : {kMkMsitStore, kMsIts}) {
        if (AsciiLowerCase(address.substr(0, prefix.size())) == AsciiLowerCase(prefix)) {
            address.remove_prefix(prefix.size());
            break;
        }
    }
    // A folder may hold ">" or "::" in its name, so both are looked for only after the help file's
    // name, which ends in ".chm" followed by nothing, "::" or ">".
    std::size_t fileEnd = 0;
    const std::string lower = AsciiLowerCase(address);
    for (std::size_t at = lower.find(".chm"); at != std::string::npos; at = lower.find(".chm", at + 1)) {
        const std::string_view after = address.substr(at + 4);
        if (after.empty() || after.starts_with("::") || after.starts_with('>')) {
            fileEnd = at + 4;
            break;
        }
    }
    HelpAddressParts parts;
    std::string_view rest = address.substr(fileEnd);
    if (const std::size_t window = rest.rfind('>'); window != std::string_view::npos) {
        parts.windowDefinition = rest.substr(window + 1);
        rest = rest.substr(0, window);
    }
    const std::size_t separator = rest.find("::");
    parts.helpFile = std::string(address.substr(0, fileEnd)).append(rest.substr(0, separator));
    if (separator != std::string_view::npos) {
        if (const std::string page = Cleaned(rest.substr(separator + 2)); !page.empty()) {
            parts.page = ChmObjectPath(page);
        }
    }
    return parts;
}

std::string HelpCommandText(unsigned command) {
    const char* name = "??";
    switch (command) {
        case 1: name = "HELP_CONTEXT"; break;
        case 2: name = "HELP_QUIT"; break;
        case 3: name = "HELP_INDEX or HELP_CONTENTS"; break;
        case 4: name = "HELP_HELPONHELP"; break;
        case 5: name = "HELP_SETINDEX or HELP_SETCONTENTS"; break;
        case 8: name = "HELP_CONTEXTPOPUP"; break;
        case 9: name = "HELP_FORCEFILE"; break;
        case 10: name = "HELP_CONTEXTMENU"; break;
        case 11: name = "HELP_FINDER"; break;
        case 12: name = "HELP_WM_HELP"; break;
        case 13: name = "HELP_SETPOPUP_POS"; break;
        case 257: name = "HELP_KEY"; break;
        case 258: name = "HELP_COMMAND"; break;
        case 261: name = "HELP_PARTIALKEY"; break;
        case 513: name = "HELP_MULTIKEY"; break;
        case 515: name = "HELP_SETWINPOS"; break;
        default: break;
    }
    return std::to_string(command) + " (" + name + ")";
}

std::string HHErrorText(int code) {
    switch (code) {
        case 0: return {};
        case 1: return "MS Html Help is not installed on this PC.";
        case 2: return "System file KeyHH.EXE was not found in the Windows folder.";
        case 3: return "System file HH.EXE was not found in the Windows folder.";
        default: return "Unknown error returned by HHHelpContext";
    }
}

std::string ShellErrorText(int platformError) {
    switch (platformError) {
        case 2: return "File Not Found";
        case 3: return "Path Not Found";
        case 5: return "Access Denied";
        case 8: return "Insufficient Memory";
        case 19: return "Media Is Write Protected";
        case 21: return "Device Not Ready";
        case 32:
        case 33: return "File In Use";
        case 39:
        case 112: return "Disk Full";
        case 276:
        case 1005:
        case 1392:
        case 1393: return "Corrupt File Or Disk";
        case 1009:
        case 1358: return "Corrupt Registry";
        case 1150: return "Windows Version Incorrect";
        case 1151: return "Not A Windows Or MSDos Program";
        default: return "General Failure";
    }
}

int PlatformErrorOfErrno(int errnoValue) {
    switch (errnoValue) {
        case ENOENT: return 2;
        case ENOTDIR:
        case ELOOP:
        case ENAMETOOLONG: return 3;
        case EACCES:
        case EPERM: return 5;
        case ENOMEM:
        case E2BIG: return 8;
        case EROFS: return 19;
        case EIO: return 21;
        case ETXTBSY: return 32;
        case ENOSPC:
        case EDQUOT: return 39;
        case ENOEXEC: return 1151;
        default: return 31;  // no entry of its own: "General Failure"
    }
}

}  // namespace quillon
