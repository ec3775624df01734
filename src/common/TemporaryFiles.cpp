#include "common/TemporaryFiles.h"

#include <limits.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>

namespace quillon {
namespace {

// A fixed table, so that the signal handler reads it without allocating or locking: a slot is
// claimed, filled, then marked ready; the handler removes the files of ready slots only.
struct Slot {
    std::atomic<bool> claimed{false};
    std::atomic<bool> ready{false};
    char path[PATH_MAX] = {};
};
constexpr int kSlots = 32;
Slot slots[kSlots];

constexpr int kEndingSignals[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGPIPE,   SIGALRM, SIGTERM, SIGUSR1,
                                  SIGUSR2, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGPOLL};

void RemoveAndEnd(int signal) {
    // Only async-signal-safe calls here.
    for (Slot& slot : slots) {
        if (slot.ready.load()) ::unlink(slot.path);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

bool RememberTemporaryFile(const char* path) {
    const std::size_t length = std::strlen(path);
    if (length == 0 || length >= PATH_MAX) return false;
    for (Slot& slot : slots) {
        bool expected = false;
        if (!slot.claimed.compare_exchange_strong(expected, true)) continue;
        std::memcpy(slot.path, path, length + 1);
        slot.ready.store(true);
        return true;
    }
    return false;
}

void ForgetTemporaryFile(const char* path) {
    for (Slot& slot : slots) {
        if (!slot.ready.load() || std::strcmp(slot.path, path) != 0) continue;
        slot.ready.store(false);
        slot.path[0] = '\0';
        slot.claimed.store(false);
        return;
    }
}

void RemoveTemporaryFilesOnSignals() {
    for (const int signal : kEndingSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
        struct sigaction handler {};
        handler.sa_handler = RemoveAndEnd;
        sigemptyset(&handler.sa_mask);
        for (const int other : kEndingSignals) sigaddset(&handler.sa_mask, other);
        ::sigaction(signal, &handler, nullptr);
    }
}

}  // namespace quillon
