// Saving files: the target is replaced only by a complete file, and nothing else is left behind.

#include "common/SafeSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

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
    EXPECT_EQ(save.Open((folder / "dir").string()), "Cannot create file " + (folder / "dir").string() + ": Is a directory");
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

}  // namespace
}  // namespace quillon
