// Saving files: the target is replaced only by a complete file, and nothing else is left behind.

#include "common/SafeSave.h"

#include <acl/libacl.h>
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/acl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

#include "common/TemporaryFiles.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

class SafeSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("quillon-save-" + std::to_string(::getpid()) + "-" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string Read(const fs::path& path) const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path folder;
};

TEST_F(SafeSaveTest, ANewFileAndAReplacedOneKeepingItsMode) {
    const fs::path file = folder / "out.txt";
    {
        SafeSave save;
        ASSERT_FALSE(save.Open(file.string()));
        EXPECT_TRUE(save.Write("first"));
        EXPECT_EQ(Entries().size(), 1u) << "a temporary file beside the target";
        EXPECT_FALSE(fs::exists(file)) << "the target appears only when it is complete";
        ASSERT_FALSE(save.Commit());
    }
    EXPECT_EQ(Read(file), "first");

    ::chmod(file.c_str(), 0600);
    SafeSave again;
    ASSERT_FALSE(again.Open(file.string()));
    again.Write("second");
    ASSERT_FALSE(again.Commit());
    EXPECT_EQ(Read(file), "second");
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "the replaced file's mode stays";
    EXPECT_EQ(Entries(), std::vector<std::string>{"out.txt"});
}

TEST_F(SafeSaveTest, AnAbandonedSaveLeavesTheEarlierFile) {
    const fs::path file = folder / "out.txt";
    std::ofstream(file) << "earlier";
    {
        SafeSave save;
        ASSERT_FALSE(save.Open(file.string()));
        save.Write("half of it");
    }  // not committed
    EXPECT_EQ(Read(file), "earlier");
    EXPECT_EQ(Entries(), std::vector<std::string>{"out.txt"});
}

TEST_F(SafeSaveTest, PlacesThatCannotTakeAFile) {
    SafeSave save;
    const std::string missing = (folder / "no" / "out.txt").string();
    EXPECT_EQ(save.Open(missing), "Cannot create file " + missing + ": No such file or directory");
    fs::create_directories(folder / "dir");
    EXPECT_EQ(save.Open((folder / "dir").string()),
              "Cannot create file " + (folder / "dir").string() + ": Is a directory");
    EXPECT_EQ(save.Commit(), "Stream write error: Bad file descriptor") << "nothing open, nothing saved";
    EXPECT_EQ(Entries(), std::vector<std::string>{"dir"});
}

TEST_F(SafeSaveTest, ALinkIsWrittenThroughAndStays) {
    const fs::path target = folder / "target.txt";
    std::ofstream(target) << "old";
    fs::create_symlink("target.txt", folder / "link.txt");  // relative, as people make them
    fs::create_directories(folder / "sub");
    fs::create_symlink("../link.txt", folder / "sub" / "chain.txt");  // a link to a link
    for (const fs::path& link : {folder / "link.txt", folder / "sub" / "chain.txt"}) {
        SafeSave save;
        ASSERT_FALSE(save.Open(link.string()));
        save.Write("new through " + link.filename().string());
        ASSERT_FALSE(save.Commit());
        EXPECT_TRUE(fs::is_symlink(link)) << "the link stays a link";
        EXPECT_EQ(Read(target), "new through " + link.filename().string());
    }
    EXPECT_EQ(Entries(), (std::vector<std::string>{"link.txt", "sub", "target.txt"})) << "no temporary file left";

    // A link to a file that does not exist yet makes the file where it points.
    fs::create_symlink("made.txt", folder / "dangling.txt");
    SafeSave save;
    ASSERT_FALSE(save.Open((folder / "dangling.txt").string()));
    save.Write("made");
    ASSERT_FALSE(save.Commit());
    EXPECT_TRUE(fs::is_symlink(folder / "dangling.txt"));
    EXPECT_EQ(Read(folder / "made.txt"), "made");

    // A loop of links is no file.
    fs::create_symlink("loop-b", folder / "loop-a");
    fs::create_symlink("loop-a", folder / "loop-b");
    EXPECT_EQ(save.Open((folder / "loop-a").string()),
              "Cannot create file " + (folder / "loop-a").string() + ": Too many levels of symbolic links");
}

TEST_F(SafeSaveTest, APipeIsWrittenToNotReplaced) {
    const fs::path fifo = folder / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] {
        std::ifstream in(fifo, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        received = bytes.str();
    });
    {
        SafeSave save;
        ASSERT_FALSE(save.Open(fifo.string()));
        save.Write("through the pipe");
        EXPECT_FALSE(save.Commit());
    }
    reader.join();
    EXPECT_EQ(received, "through the pipe");
    EXPECT_TRUE(fs::is_fifo(fifo)) << "still a pipe";
    EXPECT_EQ(Entries(), std::vector<std::string>{"pipe"});
}

TEST_F(SafeSaveTest, DevicesAreWrittenToAndAFullOneFails) {
    SafeSave null;
    ASSERT_FALSE(null.Open("/dev/null"));
    EXPECT_TRUE(null.Write("nothing"));
    EXPECT_FALSE(null.Commit());
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    // A full device of our own where one can be made (root can); else the system's /dev/full,
    // which the save only writes to.
    fs::path full = folder / "full";
    if (::mknod(full.c_str(), S_IFCHR | 0666, ::makedev(1, 7)) != 0) full = "/dev/full";
    if (!fs::exists(full)) GTEST_SKIP() << "no full device here";
    SafeSave save;
    ASSERT_FALSE(save.Open(full.string()));
    EXPECT_FALSE(save.Write("no room"));
    EXPECT_EQ(save.Commit(), "Stream write error: No space left on device");
    EXPECT_TRUE(fs::is_character_file(full)) << "the device is still a device";
}

TEST_F(SafeSaveTest, TheReplacedFilesOwnerGroupModeAndLinksStay) {
    // Owner and group can be kept only by root; the rest holds for everyone.
    const fs::path file = folder / "shared.txt";
    std::ofstream(file) << "old";
    ::chmod(file.c_str(), 0640);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(file.c_str(), 1234, 5678), 0);
    }
    const fs::path link = folder / "hard-link.txt";
    fs::create_hard_link(file, link);
    SafeSave save;
    ASSERT_FALSE(save.Open(file.string()));
    save.Write("new");
    ASSERT_FALSE(save.Commit());
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(info.st_uid, 1234u);
        EXPECT_EQ(info.st_gid, 5678u);
    }
    EXPECT_EQ(Read(link), "new") << "the hard link keeps sharing the file";
    EXPECT_EQ(info.st_nlink, 2u);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"hard-link.txt", "shared.txt"}));
}

TEST_F(SafeSaveTest, AFileTheUserMayNotWriteIsNotReplaced) {
    // As root, a read-only file is written as an open for writing would (root may); as anyone
    // else it is refused though the folder would let the name be taken.
    const fs::path file = folder / "read-only.txt";
    std::ofstream(file) << "kept";
    ::chmod(file.c_str(), 0444);
    SafeSave save;
    const auto opened = save.Open(file.string());
    if (::geteuid() == 0) {
        EXPECT_FALSE(opened);
    } else {
        EXPECT_EQ(opened, "Cannot create file " + file.string() + ": Permission denied");
        EXPECT_EQ(Read(file), "kept");
    }
}

TEST_F(SafeSaveTest, TheLongestNamesCanBeSaved) {
    const fs::path file = folder / std::string(255, 'n');
    SafeSave save;
    ASSERT_FALSE(save.Open(file.string()));
    save.Write("long");
    ASSERT_FALSE(save.Commit());
    EXPECT_EQ(Read(file), "long");
}

TEST_F(SafeSaveTest, StandardOutput) {
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const int savedOut = ::dup(STDOUT_FILENO);
    ::dup2(pipeEnds[1], STDOUT_FILENO);
    ::close(pipeEnds[1]);
    {
        SafeSave save;
        save.OpenStandardOutput();
        save.Write("to stdout");
        EXPECT_FALSE(save.Commit());
    }
    ::dup2(savedOut, STDOUT_FILENO);
    ::close(savedOut);
    char buffer[32] = {};
    const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer - 1);
    ::close(pipeEnds[0]);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(std::max<ssize_t>(got, 0))), "to stdout");
}

// Runs the work in a child process, as the user nobody when the tests run as root (so that a
// second user's rights apply); the child's exit code, or 128 + the signal that ended it.
int InChild(const std::function<int()>& work, bool asNobody = false) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (asNobody && ::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
             ::setresuid(65534, 65534, 65534) != 0)) {
            std::_Exit(99);
        }
        std::_Exit(work());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int Save(const fs::path& path, const std::string& content) {
    SafeSave save;
    if (save.Open(path.string())) return 2;
    save.Write(content);
    return save.Commit() ? 1 : 0;
}

TEST_F(SafeSaveTest, AHardLinkedTargetIsWholeOldOrWholeNewWhateverMomentASignalComes) {
    // An alarm (which ends the program) at chosen moments over the whole save, the in-place copy
    // included; each time the target and its link hold one complete version and nothing is left.
    const fs::path file = folder / "t.csv";
    const fs::path link = folder / "h.csv";
    const std::string old(2 << 20, 'o');
    const std::string fresh(3 << 20, 'n');
    const auto start = std::chrono::steady_clock::now();
    std::ofstream(file, std::ios::binary) << old;
    fs::create_hard_link(file, link);
    ASSERT_EQ(Save(file, fresh), 0);
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    constexpr int kRaces = 40;
    int interrupted = 0;
    for (int race = 0; race < kRaces; ++race) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << old;
        const int code = InChild([&] {
            RemoveTemporaryFilesOnSignals();
            itimerval timer{};
            timer.it_value.tv_usec = 1 + static_cast<long>(whole.count() * 3 / 2 * race / kRaces);
            ::setitimer(ITIMER_REAL, &timer, nullptr);
            return Save(file, fresh);
        });
        interrupted += code == 128 + SIGALRM;
        const std::string now = Read(file);
        EXPECT_TRUE(now == old || now == fresh) << "race " << race << ": " << now.size() << " bytes";
        EXPECT_EQ(Read(link), now);
        EXPECT_EQ(Entries(), (std::vector<std::string>{"h.csv", "t.csv"})) << "race " << race;
    }
    EXPECT_GT(interrupted, 0) << "some saves were cut off";
}

TEST_F(SafeSaveTest, TwoSavesOfAHardLinkedTargetTakeTurns) {
    const fs::path file = folder / "t.rtf";
    std::ofstream(file) << "old";
    fs::create_hard_link(file, folder / "h.rtf");
    for (int round = 0; round < 8; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        std::vector<pid_t> children;
        for (const char letter : {'a', 'b'}) {
            const pid_t child = ::fork();
            if (child == 0) {
                char go = 0;
                ::close(ready[1]);
                [[maybe_unused]] const ssize_t got = ::read(ready[0], &go, 1);  // both start at once
                std::_Exit(Save(file, std::string(16 << 20, letter)));
            }
            children.push_back(child);
        }
        ::close(ready[0]);
        ::close(ready[1]);
        for (const pid_t child : children) {
            int status = 0;
            ::waitpid(child, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        const std::string now = Read(file);
        EXPECT_TRUE(now == std::string(16 << 20, 'a') || now == std::string(16 << 20, 'b')) << "round " << round;
    }
}

TEST_F(SafeSaveTest, AFullDiskWhileWritingInPlaceChangesNothing) {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
    const fs::path small = folder / "small";
    fs::create_directories(small);
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=3m") != 0) GTEST_SKIP() << "no tmpfs here";
    // Room for the old file (1 MiB) and the new one's copy (1.75 MiB), not for the old file grown.
    const std::string old(1 << 20, 'o');
    std::ofstream(small / "t.csv", std::ios::binary) << old;
    fs::create_hard_link(small / "t.csv", small / "h.csv");
    SafeSave save;
    ASSERT_FALSE(save.Open((small / "t.csv").string()));
    save.Write(std::string(7 << 18, 'n'));
    EXPECT_EQ(save.Commit(), "Stream write error: No space left on device");
    EXPECT_EQ(Read(small / "h.csv"), old);
    EXPECT_EQ(fs::file_size(small / "t.csv"), old.size());
    EXPECT_EQ(std::distance(fs::directory_iterator(small), fs::directory_iterator()), 2) << "no copy left";
    ::umount(small.c_str());
}

TEST_F(SafeSaveTest, TheReplacementKeepsTheAccessListAttributesAndExactMode) {
    const fs::path file = folder / "private.rtf";
    std::ofstream(file) << "old";
    ::chmod(file.c_str(), 0600);
    acl_t list = ::acl_from_text("u::rw-,u:65534:r--,g::---,m::r--,o::---");
    ASSERT_TRUE(list);
    const bool lists = ::acl_set_file(file.c_str(), ACL_TYPE_ACCESS, list) == 0;
    ::acl_free(list);
    const bool attributes = ::setxattr(file.c_str(), "user.note", "kept", 4, 0) == 0;
    if (!lists && !attributes) GTEST_SKIP() << "no access lists or attributes on this file system";
    struct stat before {};
    ::stat(file.c_str(), &before);
    ASSERT_EQ(Save(file, "new"), 0);
    EXPECT_EQ(Read(file), "new");
    struct stat after {};
    ::stat(file.c_str(), &after);
    EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777) << "the group bits stay the list's mask";
    if (lists) {
        acl_t kept = ::acl_get_file(file.c_str(), ACL_TYPE_ACCESS);
        ASSERT_TRUE(kept);
        char* text = ::acl_to_any_text(kept, nullptr, ',', TEXT_NUMERIC_IDS);
        EXPECT_STREQ(text, "user::rw-,user:65534:r--,group::---,mask::r--,other::---");
        ::acl_free(text);
        ::acl_free(kept);
    }
    if (attributes) {
        char value[8] = {};
        EXPECT_EQ(::getxattr(file.c_str(), "user.note", value, sizeof value), 4);
        EXPECT_STREQ(value, "kept");
    }
    EXPECT_EQ(Entries(), std::vector<std::string>{"private.rtf"});
}

TEST_F(SafeSaveTest, WhatTheReplacementCannotCarryIsKeptByWritingInPlace) {
    // A second user may write two files of root's but neither give a copy root's ownership nor
    // make files in the read-only folder: both are written in place and stay root's.
    if (::geteuid() != 0) GTEST_SKIP() << "a second user needs root";
    const fs::path shared = folder / "shared.csv";
    fs::create_directories(folder / "ro");
    const fs::path readOnlyFolder = folder / "ro" / "f.rtf";
    for (const fs::path& file : {shared, readOnlyFolder}) {
        std::ofstream(file) << "old";
        ::chmod(file.c_str(), 0666);
    }
    ::chmod(folder.c_str(), 0777);
    ::chmod((folder / "ro").c_str(), 0555);
    EXPECT_EQ(InChild([&] { return Save(shared, "by nobody") + 10 * Save(readOnlyFolder, "in place"); }, true), 0);
    for (const auto& [file, content] : {std::pair{shared, "by nobody"}, std::pair{readOnlyFolder, "in place"}}) {
        EXPECT_EQ(Read(file), content);
        struct stat info {};
        ::stat(file.c_str(), &info);
        EXPECT_EQ(info.st_uid, 0u) << file;
        EXPECT_EQ(info.st_mode & 07777, 0666u) << file;
    }
    EXPECT_EQ(Entries(), (std::vector<std::string>{"ro", "shared.csv"}));
}

TEST_F(SafeSaveTest, AnotherUsersLinkInASharedFolderIsNotFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a link to another user needs root";
    const fs::path shared = folder / "tmp";
    fs::create_directories(shared);
    ::chmod(shared.c_str(), 01777);
    const fs::path victim = folder / "victim.txt";
    std::ofstream(victim) << "mine";
    const fs::path link = shared / "report.rtf";
    fs::create_symlink(victim, link);
    struct Case {
        uid_t owner;
        mode_t folderMode;
        bool followed;
    };
    for (const Case c :
         {Case{1234, 01777, false}, Case{0, 01777, true}, Case{1234, 0777, true}, Case{1234, 01775, true}}) {
        ::chmod(shared.c_str(), c.folderMode);
        ASSERT_EQ(::lchown(link.c_str(), c.owner, c.owner), 0);
        SafeSave save;
        const auto error = save.Open(link.string());
        if (c.followed) {
            EXPECT_FALSE(error) << c.owner << " " << std::oct << c.folderMode;
        } else {
            EXPECT_EQ(error, "Cannot create file " + link.string() + ": the link " + link.string() +
                                 " belongs to user 1234 and stands in the shared folder " + shared.string() +
                                 ", so it is not followed");
        }
        save.Abandon();
        EXPECT_EQ(Read(victim), "mine");
    }
}

TEST_F(SafeSaveTest, APathAsLongAsTheSystemTakesCanBeSaved) {
    // The temporary name is longer than the target's; working from the folder, it fits.
    fs::path deep = folder;
    while (deep.string().size() < 4088 - 260) deep /= std::string(250, 'd');
    deep /= std::string(4088 - 7 - deep.string().size(), 'e');
    fs::create_directories(deep);
    const fs::path file = deep / "f.rtf";
    ASSERT_EQ(file.string().size(), 4088u);
    ASSERT_EQ(Save(file, "deep"), 0);
    EXPECT_EQ(Read(file), "deep");
    ASSERT_EQ(Save(file, "deeper"), 0);
    EXPECT_EQ(Read(file), "deeper");
}

}  // namespace
}  // namespace quillon
