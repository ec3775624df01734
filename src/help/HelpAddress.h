#pragma once
// Help addresses and the help system's fixed texts: how the address of a help page is formed from
// a help file, a page and a window definition and taken apart again, the names of the application's
// help commands as the log writes them, and the error texts of the help integration and of
// starting an external program. Plain functions, no state.

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// What stands in front of an address for the viewer that is to read it.
enum class HelpAddressPrefix { None = 0, MkMsitStore = 1, MsIts = 2 };

// Forms the address of a page: in the help file, the page and the window definition every "%20"
// becomes a space and blanks at both ends are removed; a page gets "/" for every backslash and a
// leading "/" when it has none, and follows the help file after "::"; a window definition follows
// after ">". Example: ("c:/q/quill.chm", "html\\a.htm", "", None) gives "c:/q/quill.chm::/html/a.htm".
std::string FormHelpAddress(std::string_view helpFile, std::string_view page, std::string_view windowDefinition,
                            HelpAddressPrefix prefix);

// A page as the path of an object in a help file: a leading "/" and forward slashes, so that
// "html\a.htm", "html/a.htm" and "/html/a.htm" are the same page.
std::string ChmObjectPath(std::string_view page);

// An address taken apart. The page is empty when the address names only the help file; otherwise
// it starts with "/" and uses "/" between its parts.
struct HelpAddressParts {
    std::string helpFile;
    std::string page;
    std::string windowDefinition;
};

// Takes an address apart: an optional prefix ("mk:@MSITStore:" or "ms-its:", in any letter case),
// the help file, "::" and the page, ">" and the window definition. The page and the window are
// looked for after the help file's ".chm" (any letter case), so that folder names may hold "::"
// and ">"; an address without ".chm" is taken apart at its first "::" and its last ">".
HelpAddressParts SplitHelpAddress(std::string_view address);

// The application's help commands that the program issues or handles itself.
inline constexpr std::uint16_t kHelpContext = 1;
inline constexpr std::uint16_t kHelpContents = 3;
inline constexpr std::uint16_t kHelpContextPopup = 8;
inline constexpr std::uint16_t kHelpSetPopupPos = 13;
inline constexpr std::uint16_t kHelpCommand = 258;

// A help command as the log writes it: the number and its name, "1 (HELP_CONTEXT)"; "??" names a
// number that is no help command.
std::string HelpCommandText(unsigned command);

// The texts of the help integration's error codes: 1 the viewer is missing, 2 and 3 the external
// viewer programs are missing; 0 (success) has no text.
std::string HHErrorText(int code);

// The text of a failure to start a program, by the error number of the platform that the shell's
// "open" reports ("File Not Found" for 2); unknown numbers give "General Failure".
std::string ShellErrorText(int platformError);
// The number of that table which stands for an errno value of this system.
int PlatformErrorOfErrno(int errnoValue);

}  // namespace quillon
