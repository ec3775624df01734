#include "help/hh_funcs.h"

#include <spawn.h>

#include <system_error>

#include "common/Messages.h"
#include "help/DLogFile.h"
#include "help/HelpAddress.h"
#include "help/HelpEnvironment.h"

extern char** environ;

namespace quillon {
namespace {

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string Joined(const std::vector<std::string>& parts) {
    std::string joined;
    for (const std::string& part : parts) {
        if (!joined.empty()) joined += ' ';
        joined += part;
    }
    return joined;
}

// Runs an external viewer program; a failure is shown and logged with the platform's error.
void RunProgram(HelpSystem& help, const std::filesystem::path& program, const std::vector<std::string>& parameters) {
    const int error = help.programs.Start(program, parameters);
    if (error == 0) return;
    help.log.ShowMessage("Function ShellExecute(" + program.string() + ", " + Joined(parameters) +
                         ")\rReturned: [Error:" + std::to_string(error) + "] " +
                         ShellErrorText(PlatformErrorOfErrno(error)));
}

// Host types 1 and 2: the external program, if it is there, gets the context number and the address.
int ShowWithProgram(HelpSystem& help, std::string_view programName, std::vector<std::string> parameters,
                    int missingCode) {
    const std::filesystem::path program = help.environment.systemProgramFolder / programName;
    std::error_code error;
    if (!std::filesystem::exists(program, error)) return missingCode;
    RunProgram(help, program, parameters);
    return 0;
}

}  // namespace

int SpawnProgramStarter::Start(const std::filesystem::path& program, const std::vector<std::string>& parameters) {
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), parameters.begin(), parameters.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    return ::posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ);
}

bool ApplicationHelp::HelpCommand(std::uint16_t command, std::intptr_t data) {
    bool callHelp = true;
    bool result = false;
    if (OnHelp) result = OnHelp(command, data, callHelp);
    // The classic help would show its help file here; the program has none, so nothing is shown.
    if (callHelp) ++classicHelpRequests_;
    return result;
}

bool ApplicationHelp::HelpContext(int context) { return HelpCommand(kHelpContext, context); }

bool ApplicationHelp::HelpJump(std::string_view topic) {
    const std::string command = "JumpID(\"\",\"" + std::string(topic) + "\")";
    const bool contents = HelpCommand(kHelpContents, 0);
    const bool jump = HelpCommand(kHelpCommand, reinterpret_cast<std::intptr_t>(command.c_str()));
    return contents && jump;
}

int HHHelpContext(HelpSystem& help, const std::string& helpFile, int context, const std::string& windowDefinition,
                  HelpHostType hostType) {
    help.log.WriteLine("HHHelpContext(" + Quoted(helpFile) + ", " + std::to_string(context) + ", " +
                       Quoted(windowDefinition) + ", " + std::to_string(static_cast<int>(hostType)) + ")");
    const HelpAddressPrefix prefix =
        hostType == HelpHostType::HH ? HelpAddressPrefix::MkMsitStore : HelpAddressPrefix::None;
    return ShowContext(help, FormHelpAddress(helpFile, "", windowDefinition, prefix), context, hostType);
}

int ShowContext(HelpSystem& help, const std::string& address, int context, HelpHostType hostType) {
    help.log.WriteLine("ShowContext(" + Quoted(address) + ", " + std::to_string(context) + ")");
    int result = 1;
    if (help.environment.viewerInstalled) {
        switch (hostType) {
            case HelpHostType::HtmlHelpControl:
                if (help.viewer) {
                    help.viewer->HtmlHelp(address, HtmlHelpCommand::HelpContext, static_cast<std::uint32_t>(context));
                    result = 0;
                }
                break;
            case HelpHostType::KeyHH:
                result = ShowWithProgram(help, "KeyHH.EXE", {"-win", "-#mapid", std::to_string(context), address}, 2);
                break;
            case HelpHostType::HH:
                result = ShowWithProgram(help, "HH.EXE", {"-mapid", std::to_string(context), address}, 3);
                break;
        }
    }
    help.log.WriteLine("  returned - " + std::to_string(result));
    return result;
}

void HHShowError(HelpSystem& help, int code) {
    if (code == 0) return;
    const std::string text = HHErrorText(code);
    CurrentMessages().Show(kApplicationTitle, text, MessageIcon::Warning);
    help.log.WriteLine("HHShowError(" + std::to_string(code) + "), " + Quoted(text));
}

THookHelpSystem::THookHelpSystem(HelpSystem& help, ApplicationHelp& application, std::string helpFile,
                                 std::string windowDefinition, HelpHostType hostType)
    : help_(help),
      application_(application),
      helpFile_(std::move(helpFile)),
      windowDefinition_(std::move(windowDefinition)),
      hostType_(hostType),
      previous_(application.OnHelp) {
    help_.log.WriteLine("THookHelpSystem.Create(" + Quoted(helpFile_) + "," + Quoted(windowDefinition_) + ", " +
                        std::to_string(static_cast<int>(hostType_)) + ")");
    application_.OnHelp = [this](std::uint16_t command, std::intptr_t data, bool& callHelp) {
        return HelpHook(command, data, callHelp);
    };
}

THookHelpSystem::~THookHelpSystem() {
    help_.log.WriteLine("THookHelpSystem.Destroy");
    if (hostType_ == HelpHostType::HtmlHelpControl && help_.viewer) {
        help_.viewer->HtmlHelp({}, HtmlHelpCommand::CloseAll, 0);
    }
    application_.OnHelp = previous_;
}

bool THookHelpSystem::HelpHook(std::uint16_t command, std::intptr_t data, bool& callHelp) {
    help_.log.WriteLine("THookHelpSystem.HelpHook(" + HelpCommandText(command) + ", " + std::to_string(data) + ")");
    bool result = true;
    if (chain && previous_) result = previous_(command, data, callHelp);
    callHelp = false;
    const int context = static_cast<int>(data);
    switch (command) {
        case kHelpContextPopup:
            if (popupCallback) {
                popupCallback(context, popupX_, popupY_);
                break;
            }
            [[fallthrough]];
        case kHelpContext:
            if (contextCallback) {
                contextCallback(context);
            } else {
                HHShowError(help_, HHHelpContext(help_, helpFile_, context, windowDefinition_, hostType_));
            }
            break;
        case kHelpSetPopupPos:
            // The position comes packed: x in the low and y in the high 16 bits, both signed.
            popupX_ = static_cast<std::int16_t>(static_cast<std::uint32_t>(data) & 0xFFFF);
            popupY_ = static_cast<std::int16_t>((static_cast<std::uint32_t>(data) >> 16) & 0xFFFF);
            break;
        default: callHelp = true; break;
    }
    return result;
}

}  // namespace quillon
