#include "common/Messages.h"

#include <cstdio>

namespace quillon {
namespace {

// Without a screen, a message is a line on standard error, as every message of the command line.
class StandardErrorMessages final : public Messages {
public:
    void Show(std::string_view, std::string_view text, MessageIcon) override {
        std::fprintf(stderr, "quillon: %.*s\n", static_cast<int>(text.size()), text.data());
    }
};

Messages*& Installed() {
    static StandardErrorMessages fallback;
    static Messages* installed = &fallback;
    return installed;
}

}  // namespace

Messages& CurrentMessages() { return *Installed(); }

ScopedMessages::ScopedMessages(Messages& messages) : previous_(Installed()) { Installed() = &messages; }

ScopedMessages::~ScopedMessages() { Installed() = previous_; }

void ShowApplicationError(std::string_view text) {
    CurrentMessages().Show(kApplicationTitle, text, MessageIcon::Error);
}

}  // namespace quillon
