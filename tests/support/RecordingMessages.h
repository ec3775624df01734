#pragma once
// Messages that tests read instead of boxes on the screen.

#include <string>
#include <vector>

#include "common/Messages.h"

namespace quillon {

class RecordingMessages final : public Messages {
public:
    struct Message {
        std::string caption;
        std::string text;
        MessageIcon icon;
    };

    void Show(std::string_view caption, std::string_view text, MessageIcon icon) override {
        shown.push_back({std::string(caption), std::string(text), icon});
    }

    std::vector<Message> shown;

private:
    ScopedMessages scope_{*this};
};

}  // namespace quillon
