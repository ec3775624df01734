#pragma once
// Message boxes on the screen, over the window that is active.

#include "common/Messages.h"

namespace quillon {

class QtMessages final : public Messages {
public:
    void Show(std::string_view caption, std::string_view text, MessageIcon icon) override;
};

}  // namespace quillon
