#include "common/TemporaryFiles.h"

#include <dirent.h>
#include <limits.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace quillon {
namespace {

// A fixed table, so that the signal handler reads it without allocating or locking: a slot is
// claimed, filled, then marked ready; the handler removes the files of ready slots only.
struct Slot {
    std::atomic<bool> claimed{false};
    std::atomic<bool> ready{false};
    int folder = AT_FDCWD;
    bool wholeFolder = false;
    char path[PATH_MAX] = {};
};
constexpr int kSlots = 32;
Slot slots[kSlots];

constexpr int kEndingSignals[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGPIPE,   SIGALRM, SIGTERM, SIGUSR1,
                                  SIGUSR2, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGPOLL};

// How many holds are in force, and the signal that came meanwhile (0 for none).
std::atomic<int> holds{0};
std::atomic<int> pendingSignal{0};

// Removes the files of a folder (one level: temporary folders hold files) and the folder itself.
// Only system calls, so that the signal handler may use it.
void RemoveFolderWhole(const char* path) {
    const int folder = ::open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder >= 0) {
        alignas(8) char buffer[4096];
        for (;;) {
            const long got = ::syscall(SYS_getdents64, folder, buffer, sizeof buffer);
            if (got <= 0) break;
            for (long offset = 0; offset < got;) {
                const auto* entry = reinterpret_cast<const struct dirent64*>(buffer + offset);
                offset += entry->d_reclen;
                const char* name = entry->d_name;
                if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
                ::unlinkat(folder, name, entry->d_type == DT_DIR ? AT_REMOVEDIR : 0);
            }
        }
        ::close(folder);
    }
    ::rmdir(path);
}

void RemoveAll() {
    // Only async-signal-safe calls here.
    for (Slot& slot : slots) {
        if (!slot.ready.load()) continue;
        if (slot.wholeFolder) {
            RemoveFolderWhole(slot.path);
        } else {
            ::unlinkat(slot.folder, slot.path, 0);
        }
    }
}

[[noreturn]] void RemoveAndEnd(int signal) {
    RemoveAll();
    std::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    std::raise(signal);
    std::_Exit(128 + signal);  // not reached: the default action ends the program
}

// Takes the signal that waited, when there is one and nobody else has taken it.
void TakePendingSignal() {
    if (const int signal = pendingSignal.exchange(0); signal != 0) RemoveAndEnd(signal);
}

void OnEndingSignal(int signal) {
    // The order matters against a hold ending in another thread at this moment: the signal is
    // recorded first and the holds read after, while the hold's end lowers the count first and
    // reads the signal after; so one of the two sees the other, and the exchange lets one take it.
    int expected = 0;
    pendingSignal.compare_exchange_strong(expected, signal);
    if (holds.load() == 0) TakePendingSignal();
}

bool Remember(int folder, const char* path, bool wholeFolder) {
    const std::size_t length = std::strlen(path);
    if (length == 0 || length >= PATH_MAX) return false;
    for (Slot& slot : slots) {
        bool expected = false;
        if (!slot.claimed.compare_exchange_strong(expected, true)) continue;
        slot.folder = folder;
        slot.wholeFolder = wholeFolder;
        std::memcpy(slot.path, path, length + 1);
        slot.ready.store(true);
        return true;
    }
    return false;
}

void Forget(int folder, const char* path, bool wholeFolder) {
    for (Slot& slot : slots) {
        if (!slot.ready.load() || slot.folder != folder || slot.wholeFolder != wholeFolder ||
            std::strcmp(slot.path, path) != 0) {
            continue;
        }
        slot.ready.store(false);
        slot.path[0] = '\0';
        slot.claimed.store(false);
        return;
    }
}

// Six letters and digits from the system's random source, so that another user cannot guess the
// name ahead (the file is made exclusively in any case).
std::string RandomSuffix() {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[6] = {};
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        // No random source: the process, the time and a counter make the name unlikely to clash.
        static std::atomic<unsigned> counter{0};
        unsigned mixed = static_cast<unsigned>(::getpid()) * 2654435761u ^ static_cast<unsigned>(::time(nullptr)) ^
                         counter.fetch_add(7919);
        for (unsigned char& byte : bytes) {
            byte = static_cast<unsigned char>(mixed);
            mixed = mixed * 1103515245u + 12345u;
        }
    }
    std::string suffix;
    for (const unsigned char byte : bytes) suffix += kLetters[byte % (sizeof kLetters - 1)];
    return suffix;
}

constexpr int kNameTries = 100;

}  // namespace

bool RememberTemporaryFile(int folder, const char* name) { return Remember(folder, name, false); }
void ForgetTemporaryFile(int folder, const char* name) { Forget(folder, name, false); }
bool RememberTemporaryFolder(const char* path) { return Remember(AT_FDCWD, path, true); }
void ForgetTemporaryFolder(const char* path) { Forget(AT_FDCWD, path, true); }

int CreateTemporaryFile(int folder, const char* prefix, std::string& name) {
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        const std::string candidate = prefix + RandomSuffix();
        // A signal between making the file and naming it would leave it behind.
        EndingSignalsHeld held;
        const int descriptor =
            ::openat(folder, candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0600);
        if (descriptor < 0 && errno == EEXIST) continue;
        if (descriptor < 0) return -1;
        RememberTemporaryFile(folder, candidate.c_str());
        name = candidate;
        return descriptor;
    }
    errno = EEXIST;
    return -1;
}

std::string CreateTemporaryFolder(const std::string& parent, const char* prefix) {
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        const std::string candidate = parent + "/" + prefix + RandomSuffix();
        EndingSignalsHeld held;
        if (::mkdir(candidate.c_str(), 0700) != 0) {
            if (errno == EEXIST) continue;
            return {};
        }
        RememberTemporaryFolder(candidate.c_str());
        return candidate;
    }
    errno = EEXIST;
    return {};
}

void RemoveTemporaryFolder(const std::string& path) {
    EndingSignalsHeld held;
    RemoveFolderWhole(path.c_str());
    ForgetTemporaryFolder(path.c_str());
}

std::string TemporaryFolderPath() {
    const char* folder = std::getenv("TMPDIR");
    if (folder && folder[0] != '\0') return folder;
    return "/tmp";
}

void RemoveTemporaryFilesOnSignals() {
    for (const int signal : kEndingSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
        struct sigaction handler {};
        handler.sa_handler = OnEndingSignal;
        // Calls interrupted by a signal that is held back go on as if nothing had come.
        handler.sa_flags = SA_RESTART;
        sigemptyset(&handler.sa_mask);
        for (const int other : kEndingSignals) sigaddset(&handler.sa_mask, other);
        ::sigaction(signal, &handler, nullptr);
    }
}

EndingSignalsHeld::EndingSignalsHeld() { holds.fetch_add(1); }

EndingSignalsHeld::~EndingSignalsHeld() {
    if (holds.fetch_sub(1) == 1) TakePendingSignal();
}

}  // namespace quillon
