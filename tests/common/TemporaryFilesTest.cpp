// Temporary files when a signal ends the program: removed first, and the program ends by that
// signal; a signal ignored at start stays ignored.

#include "common/TemporaryFiles.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace quillon {
namespace {

namespace fs = std::filesystem;

TEST(TemporaryFiles, ASignalRemovesThemAndEndsTheProgramUnlessItWasIgnored) {
    const fs::path folder = fs::temp_directory_path() / ("quillon-signals-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    struct Case {
        int signal;
        bool ignoredAtStart;
    };
    for (const Case c : {Case{SIGQUIT, false}, Case{SIGTERM, false}, Case{SIGINT, false}, Case{SIGPIPE, false},
                         Case{SIGUSR1, false}, Case{SIGXFSZ, false}, Case{SIGHUP, true}, Case{SIGINT, true}}) {
        const fs::path kept = folder / "kept";
        const fs::path temporary = folder / ".quillon-temporary";
        const fs::path forgotten = folder / "forgotten";
        for (const fs::path& file : {kept, temporary, forgotten}) std::ofstream(file) << "x";
        const pid_t child = ::fork();
        if (child == 0) {
            if (c.ignoredAtStart) std::signal(c.signal, SIG_IGN);
            RemoveTemporaryFilesOnSignals();
            RememberTemporaryFile(temporary.c_str());
            RememberTemporaryFile(forgotten.c_str());
            ForgetTemporaryFile(forgotten.c_str());
            ::raise(c.signal);
            std::_Exit(7);  // reached only when the signal did not end the program
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        if (c.ignoredAtStart) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7) << c.signal << " stays ignored";
            EXPECT_TRUE(fs::exists(temporary));
        } else {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << c.signal << " ends it as before";
            EXPECT_FALSE(fs::exists(temporary)) << c.signal;
        }
        EXPECT_TRUE(fs::exists(kept));
        EXPECT_TRUE(fs::exists(forgotten)) << "a forgotten file is its owner's again";
    }
    fs::remove_all(folder);
}

TEST(TemporaryFiles, AHeldSignalWaitsForTheWorkThenRemovesFilesAndFoldersWhole) {
    const fs::path parent = fs::temp_directory_path() / ("quillon-held-" + std::to_string(::getpid()));
    fs::create_directories(parent);
    const fs::path done = parent / "work-done";
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        RemoveTemporaryFilesOnSignals();
        const std::string folder = CreateTemporaryFolder(parent.string(), "job-");
        std::ofstream(folder + "/job.pdf") << "x";
        std::string name;
        const int file = CreateTemporaryFile(AT_FDCWD, (parent.string() + "/.quillon-").c_str(), name);
        const std::string made = folder + "\n" + name + "\n";
        [[maybe_unused]] const ssize_t told = ::write(pipeEnds[1], made.data(), made.size());
        {
            EndingSignalsHeld held;
            ::raise(SIGTERM);
            std::ofstream(done) << "finished";  // reached: the signal waits
        }
        ::close(file);
        std::_Exit(7);  // not reached: the signal is taken when the hold ends
    }
    ::close(pipeEnds[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    char told[8192] = {};
    [[maybe_unused]] const ssize_t got = ::read(pipeEnds[0], told, sizeof told - 1);
    ::close(pipeEnds[0]);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_TRUE(fs::exists(done));
    const std::string names(told);
    EXPECT_NE(names.find("/job-"), std::string::npos) << names;
    EXPECT_NE(names.find("/.quillon-"), std::string::npos) << names;
    EXPECT_EQ(std::distance(fs::directory_iterator(parent), fs::directory_iterator()), 1) << "only the work's own file";
    fs::remove_all(parent);
}

}  // namespace
}  // namespace quillon
