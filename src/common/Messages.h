#pragma once
// Message boxes, as the program's code sees them. The windows and the core report through
// CurrentMessages(); the program installs boxes on the screen, the tests a recorder, and the
// command line a writer of escaped lines on standard error. The default, left only where nothing
// is installed (a test, a benchmark), writes the text to standard error as it is.

#include <string>
#include <string_view>

#include "common/Scoped.h"

namespace quillon {

enum class MessageIcon { Error, Warning, Information };

class Messages {
public:
    virtual ~Messages() = default;
    // Shows a modal message with one OK button.
    virtual void Show(std::string_view caption, std::string_view text, MessageIcon icon) = 0;
};

// The caption of the application's standard error box.
inline constexpr std::string_view kApplicationTitle = "Quillon";

Messages& CurrentMessages();

// Makes messages the current ones (null: the default) and returns the ones current before.
Messages* SwapInstalled(Messages* messages);
// Installs messages for the lifetime of this object and puts back the previous ones after.
using ScopedMessages = Scoped<Messages>;

// Shows an error in the application's standard error box.
void ShowApplicationError(std::string_view text);

}  // namespace quillon
