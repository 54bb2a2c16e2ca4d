#include "core/base/CFileInfoArray.h"

#include "support/ScratchDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vra {
namespace {

using ::testing::ElementsAre;

class FileWalk : public ::testing::Test {
protected:
    void file(const std::string& rel, std::size_t size = 1) {
        const auto p = dir.path() / rel;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << std::string(size, 'x');
    }
    // Names relative to the scratch folder, in list order.
    std::vector<std::string> names(const CFileInfoArray& a) const {
        std::vector<std::string> out;
        for (const CFileInfo& f : a.items()) out.push_back(f.GetFilePath().lexically_relative(dir.path()).string());
        return out;
    }
    test::ScratchDir dir{"walk"};
};

TEST_F(FileWalk, SubFoldersComeFirstAndRecursionIsOptional) {
    file("b.rpy");
    file("a.RPY");
    file("notes.txt");
    file("sub/z.rpy");
    file("sub/deeper/y.rpy");
    file("other/x.Rpy");

    CFileInfoArray flat;
    EXPECT_EQ(flat.AddDir(dir.path(), "*.rpy", false, 0, false), 2);
    EXPECT_THAT(names(flat), ElementsAre("a.RPY", "b.rpy"));

    CFileInfoArray deep;
    EXPECT_EQ(deep.AddDir(dir.path(), "*.rpy", true, 0, false), 5);
    EXPECT_THAT(names(deep), ElementsAre("other/x.Rpy", "sub/deeper/y.rpy", "sub/z.rpy", "a.RPY", "b.rpy"));

    CFileInfoArray withFolders;
    std::atomic<int> counter{0};
    EXPECT_EQ(withFolders.AddDir(dir.path(), "*.*", true, 0, true, nullptr, &counter), 9);
    EXPECT_EQ(counter.load(), 9);
    EXPECT_THAT(names(withFolders), ElementsAre("other", "other/x.Rpy", "sub", "sub/deeper", "sub/deeper/y.rpy",
                                                "sub/z.rpy", "a.RPY", "b.rpy", "notes.txt"));
    EXPECT_TRUE(withFolders[0].IsFolder());
}

TEST_F(FileWalk, EmptyFolderWithMatchesOnlyBelowGivesNothingWithoutRecursion) {
    file("sub/a.rpy");
    CFileInfoArray a;
    EXPECT_EQ(a.AddDir(dir.path(), "*.rpy", false, 0, false), 0);
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(a.AddDir(dir.path() / "missing", "*.*", true, 0, true), 0);
}

TEST_F(FileWalk, StopFlagEndsTheWalk) {
    file("a.rpy");
    file("sub/b.rpy");
    std::atomic<bool> stop{true};
    CFileInfoArray a;
    EXPECT_EQ(a.AddDir(dir.path(), "*.*", true, 0, true, &stop), 0);
}

TEST_F(FileWalk, InsertionModesOrderBySizeAndPath) {
    file("m.rpy", 30);
    file("a.rpy", 10);
    file("z.rpy", 20);
    file("b.rpy", 20);
    auto run = [&](int mode) {
        CFileInfoArray a;
        a.AddDir(dir.path(), "*.rpy", false, mode, false);
        return names(a);
    };
    EXPECT_THAT(run(CFileInfoArray::AscendingSize), ElementsAre("a.rpy", "z.rpy", "b.rpy", "m.rpy"));
    EXPECT_THAT(run(CFileInfoArray::DescendingSize), ElementsAre("m.rpy", "b.rpy", "z.rpy", "a.rpy"));
    EXPECT_THAT(run(CFileInfoArray::AscendingPath), ElementsAre("a.rpy", "b.rpy", "m.rpy", "z.rpy"));
    EXPECT_THAT(run(CFileInfoArray::DescendingPath), ElementsAre("z.rpy", "m.rpy", "b.rpy", "a.rpy"));
    EXPECT_THAT(run(1), ElementsAre("a.rpy", "b.rpy", "m.rpy", "z.rpy"));
}

TEST_F(FileWalk, LinksToFoldersPipesAndUnreadableFoldersAreLeftOut) {
    file("top.rpy");
    file("sub/inner.rpy");
    std::filesystem::create_directory_symlink(dir.path(), dir.path() / "sub" / "up");
    std::filesystem::create_directory_symlink(dir.path() / "sub", dir.path() / "again");
    std::filesystem::create_symlink(dir.path() / "top.rpy", dir.path() / "linked.rpy");
    ::mkfifo((dir.path() / "pipe.rpy").c_str(), 0644);
    file("locked/hidden.rpy");
    ::chmod((dir.path() / "locked").c_str(), 0);

    CFileInfoArray a;
    a.AddDir(dir.path(), "*.rpy", true, 0, false);
    ::chmod((dir.path() / "locked").c_str(), 0755);
    std::vector<std::string> expected{"sub/inner.rpy", "linked.rpy", "top.rpy"};
    if (::geteuid() == 0) expected.insert(expected.begin(), "locked/hidden.rpy");  // root reads anything
    EXPECT_EQ(names(a), expected);
}

TEST_F(FileWalk, ListFilesGivesTheFlatWalksPaths) {
    file("b.rpy");
    file("a.RPY");
    file("notes.txt");
    file("sub/z.rpy");
    std::filesystem::create_directory(dir.path() / "folder.rpy");
    std::filesystem::create_directory_symlink(dir.path() / "sub", dir.path() / "dirlink.rpy");
    std::filesystem::create_symlink(dir.path() / "b.rpy", dir.path() / "linked.rpy");
    std::filesystem::create_symlink(dir.path() / "gone.rpy", dir.path() / "dangling.rpy");
    ::mkfifo((dir.path() / "pipe.rpy").c_str(), 0644);
    for (const char* mask : {"*.rpy", "*.*"}) {
        CFileInfoArray walked;
        walked.AddDir(dir.path(), mask, false, 0, false);
        std::vector<std::filesystem::path> expected;
        for (const CFileInfo& f : walked.items()) expected.push_back(f.GetFilePath());
        EXPECT_EQ(ListFiles(dir.path(), mask), expected) << mask;
    }
    EXPECT_THAT(ListFiles(dir.path(), "*.rpy"),
                ElementsAre(dir.path() / "a.RPY", dir.path() / "b.rpy", dir.path() / "linked.rpy"));
    EXPECT_TRUE(ListFiles(dir.path() / "missing", "*.*").empty());
}

TEST_F(FileWalk, RecordsNamesSizesAndDatesPast2038) {
    file("Race Day.final.rpy", 1234);
    const auto p = dir.path() / "Race Day.final.rpy";
    const std::int64_t in2040 = 2208988800;  // 2040-01-01
    struct timespec times[2] = {{in2040, 0}, {in2040, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, p.c_str(), times, 0), 0);
    CFileInfoArray a;
    ASSERT_EQ(a.AddDir(dir.path(), "*.*", false, 0, false), 1);
    const CFileInfo& f = a[0];
    EXPECT_EQ(f.GetFileName(), "Race Day.final.rpy");
    EXPECT_EQ(f.GetFileTitle(), "Race Day.final");
    EXPECT_EQ(f.GetFileExt(), ".rpy");
    EXPECT_EQ(f.GetLength(), 1234u);
    EXPECT_EQ(f.GetLastWriteTime(), in2040);
    EXPECT_EQ(f.GetLastAccessTime(), in2040);
    EXPECT_FALSE(f.IsFolder());
}

TEST(FileMask, MatchesIgnoringCase) {
    EXPECT_TRUE(MatchesMask("RACE.RPY", "*.rpy"));
    EXPECT_TRUE(MatchesMask("noext", "*.*"));
    EXPECT_TRUE(MatchesMask("a1.rdb", "a?.rdb"));
    EXPECT_FALSE(MatchesMask("race.rpy.txt", "*.rpy"));
    EXPECT_FALSE(MatchesMask("rpy", "*.rpy"));
    EXPECT_TRUE(MatchesMask(std::string(5000, 'a') + ".rpy", "*a*a*a*.rpy"));
}

}  // namespace
}  // namespace vra
