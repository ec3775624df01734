// Saving files: the target is replaced only by a complete file, and nothing else is left behind.

#include "common/SafeSave.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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
    EXPECT_EQ(save.Open(missing), "Cannot create file " + missing);
    fs::create_directories(folder / "dir");
    EXPECT_EQ(save.Open((folder / "dir").string()), "Cannot create file " + (folder / "dir").string());
    EXPECT_EQ(save.Commit(), "Stream write error") << "nothing open, nothing saved";
    EXPECT_EQ(Entries(), std::vector<std::string>{"dir"});
}

}  // namespace
}  // namespace quillon
