#include "core/base/AtomicFile.h"

#include "core/base/FileUtil.h"
#include "core/base/KeptFile.h"

#include "support/FileSizeLimit.h"
#include "support/ScratchDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace fs = std::filesystem;
using namespace vra;
using vra::test::FileSizeLimit;
using vra::test::ScratchDir;

namespace {

void Put(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

std::string Get(const fs::path& p) {
    auto bytes = ReadWholeFile(p, 1 << 24);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<unreadable>");
}

std::set<std::string> Entries(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

// Bytes that differ from their neighbours, so a block written twice or
// skipped shows.
std::string Pattern(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return s;
}

fs::perms Mode(const fs::path& p) {
    return fs::status(p).permissions() & fs::perms::mask;
}

}  // namespace

TEST(AtomicFile, ReplacesTheTargetWholeAndKeepsItsMode) {
    const ScratchDir dir("atomic-replace");
    const fs::path target = dir / "settings.ini";
    Put(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);

    // Streamed in uneven pieces across the writer's internal buffering.
    const std::string content = Pattern(300'000);
    AtomicFile file(target);
    ASSERT_TRUE(file.isOpen());
    for (std::size_t at = 0; at < content.size(); at += 999)
        ASSERT_TRUE(file.write(std::string_view(content).substr(at, 999)));
    ASSERT_TRUE(file.commit()) << file.error().message();

    EXPECT_EQ(Get(target), content);
    EXPECT_EQ(Mode(target), fs::perms::owner_read | fs::perms::owner_write) << "a private file stays private";
    EXPECT_THAT(Entries(dir.path()), testing::ElementsAre("settings.ini")) << "no temporary file is left";

    // A new file is made; an empty content is a content too.
    ASSERT_TRUE(WriteFileAtomic(dir / "new.txt", std::string_view("a\r\nb\r\n")));
    EXPECT_EQ(Get(dir / "new.txt"), "a\r\nb\r\n");
    ASSERT_TRUE(WriteFileAtomic(dir / "new.txt", std::string_view()));
    EXPECT_EQ(Get(dir / "new.txt"), "");
}

// The temporary name does not grow with the target's: a name near the file
// system's limit of 255 bytes is saved, and the temporary stays beside it.
TEST(AtomicFile, ANameOfTwoHundredFiftyBytesIsSaved) {
    const ScratchDir dir("atomic-long");
    const fs::path target = dir / (std::string(246, 'n') + ".rpy");
    AtomicFile file(target);
    ASSERT_TRUE(file.isOpen()) << file.error().message();
    EXPECT_EQ(file.tempPath().parent_path(), dir.path());
    ASSERT_TRUE(file.write(std::string_view("lap")));
    ASSERT_TRUE(file.commit()) << file.error().message();
    EXPECT_EQ(Get(target), "lap");
    EXPECT_THAT(Entries(dir.path()), testing::ElementsAre(target.filename().string()));
}

TEST(AtomicFile, NeverOpensWhatLiesAtATemporaryName) {
    const ScratchDir dir("atomic-names");
    const fs::path target = dir / "out.txt";
    const fs::path victim = dir / "victim.txt";
    Put(target, "old");
    Put(victim, "precious");
    Put(dir / "a.tmp", "stale");
    fs::create_symlink(victim, dir / "b.tmp");
    fs::create_symlink(dir / "nowhere", dir / "c.tmp");
    // The names an earlier version used, and a link planted there.
    fs::create_symlink(victim, dir / "out.txt.tmp");

    std::vector<std::string> tried;
    const char* names[] = {"a.tmp", "b.tmp", "c.tmp", "d.tmp"};
    {
        AtomicFile file(target, [&](unsigned attempt) {
            tried.push_back(names[std::min(attempt, 3u)]);
            return tried.back();
        });
        ASSERT_TRUE(file.isOpen());
        EXPECT_EQ(file.tempPath(), dir / "d.tmp");
        ASSERT_TRUE(file.write(std::string_view("new")));
        ASSERT_TRUE(file.commit());
    }
    EXPECT_THAT(tried, testing::ElementsAre("a.tmp", "b.tmp", "c.tmp", "d.tmp"));
    ASSERT_TRUE(WriteFileAtomic(target, std::string_view("newer")));

    EXPECT_EQ(Get(target), "newer");
    EXPECT_EQ(Get(dir / "a.tmp"), "stale");
    EXPECT_EQ(Get(victim), "precious");
    EXPECT_TRUE(fs::is_symlink(dir / "b.tmp"));
    EXPECT_TRUE(fs::is_symlink(dir / "c.tmp"));
    EXPECT_FALSE(fs::exists(dir / "nowhere")) << "a dangling link is not brought to life";
    EXPECT_TRUE(fs::is_symlink(dir / "out.txt.tmp"));
    EXPECT_THAT(Entries(dir.path()),
                testing::UnorderedElementsAre("out.txt", "victim.txt", "a.tmp", "b.tmp", "c.tmp", "out.txt.tmp"));
}

TEST(AtomicFile, ALinkedTargetIsReplacedBehindTheLink) {
    const ScratchDir dir("atomic-link");
    fs::create_directories(dir / "dotfiles");
    Put(dir / "dotfiles" / "app.ini", "old");
    fs::create_symlink(dir / "dotfiles" / "app.ini", dir / "app.ini");

    ASSERT_TRUE(WriteFileAtomic(dir / "app.ini", std::string_view("new")));
    EXPECT_TRUE(fs::is_symlink(dir / "app.ini")) << "the user's link is kept";
    EXPECT_EQ(Get(dir / "dotfiles" / "app.ini"), "new");
    EXPECT_THAT(Entries(dir / "dotfiles"), testing::ElementsAre("app.ini"));
}

// A kept file is refused under every name that reaches it, and written
// again once it is no longer kept.
TEST(AtomicFile, AKeptFileIsNeverReplaced) {
    const ScratchDir dir("atomic-kept");
    Put(dir / "kept.rpy", "replay");
    fs::create_symlink(dir / "kept.rpy", dir / "link.txt");
    fs::create_hard_link(dir / "kept.rpy", dir / "second.txt");
    fs::create_directories(dir / "x");
    {
        const KeptFile kept(dir / "link.txt");
        for (const fs::path& name :
             {dir / "kept.rpy", dir / "link.txt", dir / "second.txt", dir / "x" / ".." / "link.txt"}) {
            std::error_code error;
            EXPECT_FALSE(WriteFileAtomic(name, std::string_view("new"), &error)) << name;
            EXPECT_TRUE(IsKeptFileError(error)) << name << ": " << error.message();
        }
        EXPECT_TRUE(WriteFileAtomic(dir / "other.txt", std::string_view("new")));
    }
    EXPECT_EQ(Get(dir / "kept.rpy"), "replay");
    EXPECT_THAT(Entries(dir.path()),
                testing::UnorderedElementsAre("kept.rpy", "link.txt", "second.txt", "x", "other.txt"));
    ASSERT_TRUE(WriteFileAtomic(dir / "link.txt", std::string_view("new")));
    EXPECT_EQ(Get(dir / "kept.rpy"), "new");
}

TEST(AtomicFile, AnyFailureLeavesTheOldFileAndNoTemporary) {
    const ScratchDir dir("atomic-fail");
    const fs::path target = dir / "out.bin";
    const std::string old = Pattern(5000);
    Put(target, old);
    auto untouched = [&](const char* what) {
        EXPECT_EQ(Get(target), old) << what;
        EXPECT_THAT(Entries(dir.path()), testing::ElementsAre("out.bin")) << what;
    };

    // The writer gives up half way.
    EXPECT_FALSE(WriteFileAtomic(target, [](OutputSink& out) { return out.write(std::string_view("half")) && false; }));
    untouched("writer failed");

    // The disk fills while a large file is streamed: the failure comes from a
    // write, part of the content is already on the disk.
    {
        FileSizeLimit diskFull(100'000);
        ASSERT_TRUE(diskFull.active());
        std::error_code why;
        EXPECT_FALSE(WriteFileAtomic(target, std::string_view(Pattern(1'000'000)), &why));
        EXPECT_EQ(why, std::errc::file_too_large);
    }
    untouched("disk full while streaming");

    // The disk fills with the last buffered bytes: nothing failed until the
    // file was flushed at the end.
    {
        FileSizeLimit diskFull(10);
        AtomicFile file(target);
        ASSERT_TRUE(file.isOpen());
        EXPECT_TRUE(file.write(std::string_view("more than ten bytes")));
        EXPECT_FALSE(file.commit());
        EXPECT_TRUE(file.tempPath().empty());
    }
    untouched("disk full at the final flush");

    // A dropped file is discarded, not half written over the target.
    {
        AtomicFile file(target);
        ASSERT_TRUE(file.write(std::string_view("abandoned")));
    }
    untouched("never committed");

    // The target's name is taken by a folder; its folder does not exist.
    fs::create_directory(dir / "folder");
    EXPECT_FALSE(WriteFileAtomic(dir / "folder", std::string_view("x")));
    EXPECT_THAT(Entries(dir.path()), testing::UnorderedElementsAre("out.bin", "folder"));
    EXPECT_TRUE(fs::is_empty(dir / "folder"));
    EXPECT_FALSE(WriteFileAtomic(dir / "missing" / "x.txt", std::string_view("x")));
    EXPECT_FALSE(fs::exists(dir / "missing"));
}
