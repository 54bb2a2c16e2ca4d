#include "core/settings/CoreIniEditor.h"

#include "core/base/FileUtil.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace vra;
using vra::test::ScratchDir;

namespace {

// As the simulation writes it: values padded with blanks before comments.
const std::string kCrlfIni =
    "[ Replay ]\r\n"
    "; record_telem_sample=99 in a comment must not count\r\n"
    "record_telem=1          ; master switch\r\n"
    "record_telem_at_physics_rate=0          ; 288 Hz\r\n"
    "record_telem_sample=28       ; blocks\r\n"
    "record_telem_state_a=31          ; state\r\n"
    "other_key=5\r\n";

// Another order, LF endings, tabs and blanks around the "=", a longer key
// first that the short one prefixes.
const std::string kLfIni =
    "record_telem_state_a\t=\t8\tcomment\n"
    "  record_telem_sample = 63 ;\n"
    "\trecord_telem_at_physics_rate= 2\n"
    "record_telem =   1\n";

void Put(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

std::string Get(const fs::path& p) {
    auto bytes = ReadWholeFile(p, 1 << 20);
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<unreadable>";
}

}  // namespace

TEST(CoreIni, ReadsKeysWhereverTheLinesPutThem) {
    EXPECT_EQ(ReadCoreIniValues(kCrlfIni), (CoreIniValues{1, 0, 28, 31}));
    EXPECT_EQ(ReadCoreIniValues(kLfIni), (CoreIniValues{1, 2, 63, 8}));
    EXPECT_EQ(ReadCoreIniValues("nothing here\n"), CoreIniValues{});
    EXPECT_EQ(ReadIniInt("record_telem_sample=28   ; c", kRecordTelemSample), 28);
    EXPECT_EQ(ReadIniInt("record_telem_sample=", kRecordTelemSample), 0);
    EXPECT_EQ(ReadIniInt("record_telem_sample 5\nrecord_telem_sample=7", kRecordTelemSample), 7);  // no "="
    EXPECT_EQ(ReadIniInt("x=1 record_telem=4\nrecord_telem=9", kRecordTelem), 9);  // key not first on its line

    EXPECT_EQ(ParseIniInt("  -12x"), -12);
    EXPECT_EQ(ParseIniInt("+7"), 7);
    EXPECT_EQ(ParseIniInt("abc"), 0);
    EXPECT_EQ(ParseIniInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseIniInt("-99999999999999999999"), -2147483647 - 1);
}

TEST(CoreIni, RewriteTouchesOnlyTheValueFields) {
    std::string text = kCrlfIni;
    // The field "28       " is 9 bytes: 28 becomes 0 followed by 8 blanks.
    ASSERT_TRUE(ReplaceIniInt(text, kRecordTelemSample, 0));
    EXPECT_EQ(text.size(), kCrlfIni.size());
    std::string expected = kCrlfIni;
    expected.replace(expected.find("28       ;"), 9, "0        ");
    EXPECT_EQ(text, expected);

    std::vector<std::string> missing;
    const std::string rewritten = CoreIniEditor::Rewrite(kCrlfIni, CoreIniValues{0, 1, 12, 0}, &missing);
    EXPECT_TRUE(missing.empty());
    EXPECT_EQ(rewritten.size(), kCrlfIni.size());
    EXPECT_EQ(ReadCoreIniValues(rewritten), (CoreIniValues{1, 1, 12, 0}));  // a block on: record_telem 1
    EXPECT_NE(rewritten.find("; record_telem_sample=99 in a comment"), std::string::npos);
    EXPECT_NE(rewritten.find("record_telem_at_physics_rate=1          ; 288 Hz\r\n"), std::string::npos);

    // Everything off writes 0 for all four, record_telem included.
    EXPECT_EQ(ReadCoreIniValues(CoreIniEditor::Rewrite(kLfIni, CoreIniValues{})), CoreIniValues{});
    EXPECT_EQ(ReadCoreIniValues(CoreIniEditor::Rewrite(kLfIni, CoreIniValues{0, 0, 0, 8})),
              (CoreIniValues{1, 0, 0, 8}));
}

TEST(CoreIni, NarrowFieldsWidenInTheirLineAndMissingKeysAreReported) {
    const std::string narrow = "record_telem_sample=1\r\nnext=2\r\n";
    std::string text = narrow;
    ASSERT_TRUE(ReplaceIniInt(text, kRecordTelemSample, 28));
    EXPECT_EQ(text, "record_telem_sample=28 \r\nnext=2\r\n");
    text = "record_telem_sample=1";
    ASSERT_TRUE(ReplaceIniInt(text, kRecordTelemSample, -2147483647 - 1));
    EXPECT_EQ(text, "record_telem_sample=-2147483648 ");

    std::vector<std::string> missing;
    const std::string only = "a=1\nrecord_telem_sample=0    \n";
    const std::string out = CoreIniEditor::Rewrite(only, CoreIniValues{0, 0, 4, 0}, &missing);
    EXPECT_EQ(out, "a=1\nrecord_telem_sample=4    \n");  // nothing written after the file's first "="
    EXPECT_EQ(missing,
              (std::vector<std::string>{"record_telem", "record_telem_at_physics_rate", "record_telem_state_a"}));
    CoreIniEditor::WriteResult result;
    result.missingKeys = {"record_telem"};
    EXPECT_EQ(CoreIniEditor::Message(result),
              "Replay telemetry settings updated successfully.\r\ncore.ini contains no record_telem; not changed");
}

TEST(CoreIni, DataRateAndPresets) {
    CoreIniValues v;
    EXPECT_EQ(DataRateText(v), "0 bytes = 0 kb/minute");
    v.record_telem_sample = 28;
    EXPECT_EQ(DataRateText(v), "328320 bytes = 320 kb/minute");
    v.record_telem_at_physics_rate = 1;
    EXPECT_EQ(DataRateText(v), "2626560 bytes = 2565 kb/minute");
    v.record_telem_at_physics_rate = 2;  // a stored 2 shows checked and counts x 8
    EXPECT_TRUE(PhysicsRateChecked(v));
    EXPECT_EQ(DataRateBytesPerMinute(v), 2626560);
    SetPhysicsRate(v, false);
    EXPECT_EQ(v.record_telem_at_physics_rate, 0);
    SetPhysicsRate(v, true);
    EXPECT_EQ(v.record_telem_at_physics_rate, 1);
    v.record_telem_sample = 63;
    SetPhysicsRate(v, false);
    EXPECT_EQ(DataRateBytesPerMinute(v), 51840 + 172800 + 146880 + 146880 + 34560 + 51840);

    CoreIniValues p{0, 1, 3, 0x60};
    SetRecommended(p);
    EXPECT_EQ(p, (CoreIniValues{1, 0, 28, 0x7F}));  // other state bits kept
    TurnOffEverything(p);
    EXPECT_EQ(p, CoreIniValues{});
}

TEST(CoreIni, WritingTheFileKeepsItSafe) {
    ScratchDir dir("coreini");
    const fs::path file = dir / "CORE.INI";
    Put(file, kCrlfIni);
    ::chmod(file.c_str(), 0640);
    EXPECT_EQ(CoreIniEditor::Locate(dir.path()), file);
    ASSERT_EQ(CoreIniEditor::Read(file), (CoreIniValues{1, 0, 28, 31}));

    auto result = CoreIniEditor::Write(file, CoreIniValues{1, 0, 0, 0});
    EXPECT_EQ(result.status, CoreIniEditor::Status::Ok);
    EXPECT_EQ(CoreIniEditor::Message(result), "Replay telemetry settings updated successfully.");
    EXPECT_EQ(Get(file).size(), kCrlfIni.size());
    EXPECT_EQ(CoreIniEditor::Read(file), (CoreIniValues{1, 0, 0, 0}));
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);  // no temporary left

    // Read-only, whoever runs the program (the administrator included): the
    // message, the bytes as they were.
    const std::string before = Get(file);
    ::chmod(file.c_str(), 0444);
    result = CoreIniEditor::Write(file, CoreIniValues{1, 1, 63, 31});
    EXPECT_EQ(result.status, CoreIniEditor::Status::NotWritable);
    EXPECT_EQ(CoreIniEditor::Message(result),
              "Could not open core.ini for write.\r\nMake sure it isn't set to read-only");
    EXPECT_EQ(Get(file), before);

    result = CoreIniEditor::Write(dir / "missing.ini", CoreIniValues{});
    EXPECT_EQ(result.status, CoreIniEditor::Status::ReadFailed);
    EXPECT_EQ(CoreIniEditor::Message(result), "Error reading from core.ini");
    EXPECT_FALSE(fs::exists(dir / "missing.ini"));
    EXPECT_FALSE(CoreIniEditor::Read(dir / "missing.ini"));
}
