#pragma once
// The help hook: the application's help requests (a context number, a pop-up, a jump to a named
// topic) pass through THookHelpSystem, which shows context requests with the help viewer and hands
// everything else back to the application's classic help, which has no help file here and shows
// nothing. Every step is written to the diagnostic log. The viewer and the starting of external
// programs are reached through interfaces, so that none of this needs a window system.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

struct HelpEnvironment;
class TDLogFile;

// The commands of the viewer control.
enum class HtmlHelpCommand { DisplayTopic = 0, HelpContext = 15, CloseAll = 18 };

// The help viewer control, as the help code calls it.
class HtmlHelpControl {
public:
    virtual ~HtmlHelpControl() = default;
    // Runs a command for an address; returns whether a viewer window came back (and is in front).
    virtual bool HtmlHelp(std::string_view address, HtmlHelpCommand command, std::uint32_t data) = 0;
};

// Starts a program as the shell's "open" does, without waiting for it.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // Returns 0 when the program started, else the errno value of the failure.
    virtual int Start(const std::filesystem::path& program, const std::vector<std::string>& parameters) = 0;
};

// Starts programs with posix_spawn.
class SpawnProgramStarter final : public ProgramStarter {
public:
    int Start(const std::filesystem::path& program, const std::vector<std::string>& parameters) override;
};

// Where the help code reaches the viewer, the log and the rest of its surroundings.
struct HelpSystem {
    const HelpEnvironment& environment;
    const TDLogFile& log;
    HtmlHelpControl* viewer;  // null when the viewer library could not be loaded
    ProgramStarter& programs;
};

// Which viewer shows the help: the control, or one of two external programs.
enum class HelpHostType : std::uint8_t { HtmlHelpControl = 0, KeyHH = 1, HH = 2 };

// The application's help: the handler that its help requests go to first, and the classic help
// that gets what the handler passes on.
class ApplicationHelp {
public:
    // Gets the command and its data; sets callHelp to pass the request on to the classic help.
    using Handler = std::function<bool(std::uint16_t command, std::intptr_t data, bool& callHelp)>;

    Handler OnHelp;

    bool HelpCommand(std::uint16_t command, std::intptr_t data);
    bool HelpContext(int context);
    // Asks for the topic of that name: the contents command, then the command request
    // JumpID("","topic").
    bool HelpJump(std::string_view topic);

    // How many requests reached the classic help; it has no help file and shows nothing.
    int ClassicHelpRequests() const { return classicHelpRequests_; }

private:
    int classicHelpRequests_ = 0;
};

// Error codes: 0 success; 1 the viewer is not installed; 2, 3 the external viewer program of host
// type 1 or 2 is missing.
int HHHelpContext(HelpSystem& help, const std::string& helpFile, int context, const std::string& windowDefinition,
                  HelpHostType hostType);
int ShowContext(HelpSystem& help, const std::string& address, int context, HelpHostType hostType);
// Shows and logs the text of a non-zero error code.
void HHShowError(HelpSystem& help, int code);

class THookHelpSystem {
public:
    // Installs the hook as the application's help handler, remembering the previous one.
    THookHelpSystem(HelpSystem& help, ApplicationHelp& application, std::string helpFile, std::string windowDefinition,
                    HelpHostType hostType);
    // Closes the viewer's windows (host type 0) and puts the previous handler back.
    ~THookHelpSystem();
    THookHelpSystem(const THookHelpSystem&) = delete;
    THookHelpSystem& operator=(const THookHelpSystem&) = delete;

    bool HelpHook(std::uint16_t command, std::intptr_t data, bool& callHelp);

    // Whether the previous handler is asked first; off.
    bool chain = false;
    // Replace the display of a context or pop-up request; none in this program.
    std::function<void(int context)> contextCallback;
    std::function<void(int context, int x, int y)> popupCallback;

    int PopupX() const { return popupX_; }
    int PopupY() const { return popupY_; }

private:
    HelpSystem& help_;
    ApplicationHelp& application_;
    std::string helpFile_;
    std::string windowDefinition_;
    HelpHostType hostType_;
    ApplicationHelp::Handler previous_;
    int popupX_ = 0;
    int popupY_ = 0;
};

}  // namespace quillon
