#pragma once
// Desktop services that answer as a test says, at once or when the test says so, and note what
// they were asked.

#include <QStringList>
#include <vector>

#include "platform/ShellServices.h"

namespace quillon {

class RecordingShell final : public ShellServices {
public:
    explicit RecordingShell(bool opens = true) : opens(opens) {}

    void Open(const QString& address, OpenDone done) override {
        opened << address;
        if (deferred) {
            waiting.push_back(std::move(done));
        } else {
            done(opens);
        }
    }
    void Beep() override { ++beeps; }

    bool opens;
    bool deferred = false;
    std::vector<OpenDone> waiting;
    QStringList opened;
    int beeps = 0;

private:
    ScopedShellServices scope_{*this};
};

}  // namespace quillon
