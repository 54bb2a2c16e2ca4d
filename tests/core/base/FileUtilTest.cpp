#include "core/base/FileUtil.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {
void Touch(const fs::path& p, const std::string& text = "x") {
    std::ofstream(p, std::ios::binary) << text;
}
}  // namespace

TEST(FileUtil, FindsSimulationFilesIgnoringCase) {
    const vra::test::ScratchDir scratch("case");
    const fs::path& dir = scratch.path();
    fs::create_directories(dir / "Tracks" / "oval");
    Touch(dir / "Tracks" / "oval" / "OVAL.DAT");
    Touch(dir / "velmar.EXE");

    EXPECT_EQ(vra::FindCaseInsensitive(dir, "VELMAR.exe"), dir / "velmar.EXE");
    EXPECT_EQ(vra::ResolveCaseInsensitive(dir, "tracks\\OVAL/oval.dat"), dir / "Tracks" / "oval" / "OVAL.DAT");
    EXPECT_FALSE(vra::FindCaseInsensitive(dir, "missing.ini"));
    EXPECT_FALSE(vra::ResolveCaseInsensitive(dir, "tracks/none/oval.dat"));
}

TEST(FileUtil, BoundedReadsRefuseShortAndOversizedFiles) {
    const vra::test::ScratchDir scratch("bounded");
    const fs::path& dir = scratch.path();
    Touch(dir / "ten", "0123456789");
    EXPECT_FALSE(vra::ReadWholeFile(dir / "ten", 9));
    EXPECT_FALSE(vra::ReadWholeFile(dir, 100)) << "a folder is not a file";

    vra::BinaryFile f(dir / "ten");
    ASSERT_TRUE(f.isOpen());
    EXPECT_EQ(f.size(), 10u);
    std::uint8_t buf[4];
    EXPECT_TRUE(f.readAt(6, buf));
    EXPECT_FALSE(f.readAt(7, buf));
    EXPECT_FALSE(f.readAt(~0ull, buf));
}

TEST(FileUtil, PlainNamesAreOneEntryAndNothingElse) {
    EXPECT_TRUE(vra::IsPlainName("DEMO"));
    EXPECT_TRUE(vra::IsPlainName("a..b"));
    const std::string_view bad[] = {"", ".", "..", "../x", "a/b", "a\\b", std::string_view("a\0b", 3)};
    for (std::string_view name : bad) EXPECT_FALSE(vra::IsPlainName(name)) << name;
}
