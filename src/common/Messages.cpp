#include "common/Messages.h"

#include <cstdio>
#include <utility>

namespace quillon {
namespace {

// Without a screen, a message is a line on standard error, as every message of the command line.
class StandardErrorMessages final : public Messages {
public:
    void Show(std::string_view, std::string_view text, MessageIcon) override {
        std::fprintf(stderr, "quillon: %.*s\n", static_cast<int>(text.size()), text.data());
    }
};

StandardErrorMessages& Fallback() {
    static StandardErrorMessages fallback;
    return fallback;
}

Messages*& Installed() {
    static Messages* installed = &Fallback();
    return installed;
}

}  // namespace

Messages& CurrentMessages() { return *Installed(); }

Messages* SwapInstalled(Messages* messages) { return std::exchange(Installed(), messages ? messages : &Fallback()); }

void ShowApplicationError(std::string_view text) {
    CurrentMessages().Show(kApplicationTitle, text, MessageIcon::Error);
}

}  // namespace quillon
