#include "batch/OutputFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>

namespace quillon {
namespace {

namespace fs = std::filesystem;

class OutputFileTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillon-output-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Path(const std::string& name) const { return (folder_ / name).string(); }

    static std::string Content(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void Put(const std::string& path, const std::string& content) { std::ofstream(path, std::ios::binary) << content; }

    // Everything in the folder, hidden temporary files included.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder_;
};

TEST_F(OutputFileTest, ANewFileAppearsOnlyOnCommit) {
    OutputFile file;
    ASSERT_FALSE(file.Open(Path("out.csv")));
    ASSERT_FALSE(file.Write("a,b\n"));
    EXPECT_FALSE(fs::exists(Path("out.csv")));
    EXPECT_EQ(Entries().size(), 1u) << "the temporary file beside it";
    ASSERT_FALSE(file.Commit());
    EXPECT_EQ(Content(Path("out.csv")), "a,b\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"out.csv"});
}

TEST_F(OutputFileTest, FailuresLeaveNothingAndKeepThePreviousFile) {
    {
        OutputFile file;
        const auto error = file.Open(Path("missing/out.csv"));
        ASSERT_TRUE(error);
        EXPECT_EQ(*error, "cannot write " + Path("missing/out.csv") + ": No such file or directory");
        EXPECT_TRUE(Entries().empty());
    }
    {
        OutputFile file;
        const auto error = file.Open(folder_.string());
        ASSERT_TRUE(error);
        EXPECT_EQ(*error, "cannot write " + folder_.string() + ": Is a directory");
    }
    Put(Path("out.csv"), "previous\n");
    {
        OutputFile file;
        ASSERT_FALSE(file.Open(Path("out.csv")));
        ASSERT_FALSE(file.Write("half a run"));
        file.Abandon();
    }
    {
        OutputFile file;  // dropped without a commit, as when the run throws
        ASSERT_FALSE(file.Open(Path("out.csv")));
        ASSERT_FALSE(file.Write("half a run"));
    }
    EXPECT_EQ(Content(Path("out.csv")), "previous\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"out.csv"});
}

TEST_F(OutputFileTest, ReplacingKeepsPermissionsAndLinks) {
    Put(Path("out.csv"), "previous\n");
    ASSERT_EQ(chmod(Path("out.csv").c_str(), 0640), 0);
    fs::create_directory(folder_ / "sub");
    fs::create_symlink("../out.csv", folder_ / "sub" / "link.csv");
    fs::create_symlink("sub/link.csv", folder_ / "link-to-link.csv");
    fs::create_symlink("fresh.csv", folder_ / "dangling.csv");

    for (const char* name : {"link-to-link.csv", "dangling.csv"}) {
        OutputFile file;
        ASSERT_FALSE(file.Open(Path(name)));
        ASSERT_FALSE(file.Write(std::string("through ") + name + "\n"));
        ASSERT_FALSE(file.Commit());
    }
    EXPECT_TRUE(fs::is_symlink(folder_ / "link-to-link.csv"));
    EXPECT_TRUE(fs::is_symlink(folder_ / "sub" / "link.csv"));
    EXPECT_EQ(Content(Path("out.csv")), "through link-to-link.csv\n");
    EXPECT_EQ(fs::status(Path("out.csv")).permissions() & fs::perms::all, fs::perms(0640));
    EXPECT_TRUE(fs::is_symlink(folder_ / "dangling.csv"));
    EXPECT_EQ(Content(Path("fresh.csv")), "through dangling.csv\n");
}

TEST_F(OutputFileTest, DevicesAndPipesAreWrittenDirectly) {
    {
        OutputFile file;
        ASSERT_FALSE(file.Open("/dev/null"));
        ASSERT_FALSE(file.Write("nothing\n"));
        ASSERT_FALSE(file.Commit());
        EXPECT_TRUE(fs::is_character_file("/dev/null"));
    }
    ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = Content(Path("pipe")); });
    {
        OutputFile file;
        ASSERT_FALSE(file.Open(Path("pipe")));
        ASSERT_FALSE(file.Write("through the pipe\n"));
        ASSERT_FALSE(file.Commit());
    }
    reader.join();
    EXPECT_EQ(received, "through the pipe\n");
    EXPECT_TRUE(fs::is_fifo(Path("pipe")));
    EXPECT_EQ(Entries(), std::vector<std::string>{"pipe"});
}

}  // namespace
}  // namespace quillon
