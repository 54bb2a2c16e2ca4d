#include "core/base/FileUtil.h"
#include "core/laps/ReplayDatabaseLoader.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"

#include "simkit/replay/DatabaseWriter.h"
#include "support/ScratchDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vra {
namespace {

using simkit::DbDesc;
using simkit::SimpleDbRecord;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct Read {
    std::string database, path;
    int laps = 0;  // race laps of driver 0
};

std::vector<Read> ReadAll(const std::filesystem::path& folder) {
    ReplayDatabaseLoader loader;
    std::vector<Read> out;
    if (!loader.FindDatabases(folder)) return out;
    while (loader.Next()) out.push_back({loader.Name(), loader.RecordPath(), loader.GetDrivers()->LapCount(3, 0)});
    return out;
}

std::vector<std::string> Paths(const std::vector<Read>& reads) {
    std::vector<std::string> out;
    for (const Read& r : reads) out.push_back(r.database + ":" + r.path);
    return out;
}

void WriteBytes(const std::filesystem::path& p, std::span<const std::uint8_t> bytes) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

DbDesc ThreeRecords(int version) {
    DbDesc d;
    d.version = static_cast<std::uint8_t>(version);
    d.records = {SimpleDbRecord("one.rpy", "OVAL", 3, 2, 40000), SimpleDbRecord("sub\\two.rpy", "OVAL", 2, 3, 41000),
                 SimpleDbRecord("three.rpy", "RING", 4, 1, 42000)};
    return d;
}

// The database "z" that must always still be read after a damaged "a".
DbDesc Witness() {
    DbDesc d;
    d.label = "WITNESS [udf]";
    d.records = {SimpleDbRecord("w.rpy", "OVAL", 2, 4, 50000)};
    return d;
}

TEST(ReplayDatabase, KitDatabasesOfBothVersionsReadWhole) {
    test::ScratchDir dir("rdb");
    auto v1 = ThreeRecords(1);
    v1.label = "OLD DISC [CDFS]";
    v1.records[0].drivers[1].physics = 3;  // not stored in version 1
    ASSERT_TRUE(simkit::WriteDatabase(dir / "a_old.rdb", v1));
    auto v2 = ThreeRecords(2);
    v2.records[0].drivers[0].physics = 4;
    v2.records[1].path = "deep\\" + std::string(290, 'p') + ".rpy";  // past every older reader's limit
    v2.records[2].gameMode = 1;
    std::filesystem::create_directories(dir / "nested");
    ASSERT_TRUE(simkit::WriteDatabase(dir / "nested" / "b_new.rdb", v2));

    ReplayDatabaseLoader loader;
    ASSERT_TRUE(loader.FindDatabases(dir.path()));
    std::vector<std::string> seen;
    while (loader.Next()) {
        const Header& h = *loader.GetHeader();
        const Drivers& d = *loader.GetDrivers();
        seen.push_back(loader.Name() + "|" + loader.Label() + "|" + loader.RecordPath() + "|" + h.trackName + "|" +
                       std::to_string(d.drivers.size()) + "|" + std::to_string(d.drivers[0].physics) + "|" +
                       std::to_string(h.gameMode) + "|" + std::to_string(d.LapWordAt(3, 1, 1)));
    }
    const std::string longPath = "deep\\" + std::string(290, 'p') + ".rpy";
    // Sub-folders are walked before the folder's own files.
    EXPECT_THAT(seen, ElementsAre("b_new|RACES [iso9660]|one.rpy|OVAL|3|4|0|40250",
                                  "b_new|RACES [iso9660]|" + longPath + "|OVAL|2|1|0|41250",
                                  "b_new|RACES [iso9660]|three.rpy|RING|4|1|1|42250",
                                  "a_old|OLD DISC [CDFS]|one.rpy|OVAL|3|255|0|40250",
                                  "a_old|OLD DISC [CDFS]|sub\\two.rpy|OVAL|2|255|0|41250",
                                  "a_old|OLD DISC [CDFS]|three.rpy|RING|4|255|0|42250"));
}

TEST(ReplayDatabase, EmptyDatabaseAndMissingFolderGiveNoRecords) {
    test::ScratchDir dir("rdb");
    DbDesc empty;
    ASSERT_TRUE(simkit::WriteDatabase(dir / "a.rdb", empty));
    ASSERT_TRUE(simkit::WriteDatabase(dir / "b.rdb", Witness()));
    EXPECT_THAT(Paths(ReadAll(dir.path())), ElementsAre("b:w.rpy"));
    ReplayDatabaseLoader none;
    EXPECT_FALSE(none.FindDatabases(dir / "missing"));
    EXPECT_FALSE(none.Next());
}

// Every cut of the first database keeps its whole records before the cut
// and never costs the second database a record.
TEST(MalformedReplayDatabase, TruncationAtEveryByteOfHeaderAndRecord) {
    test::ScratchDir dir("rdb");
    const DbDesc a = ThreeRecords(2);
    const auto bytes = simkit::BuildDatabase(a);
    const auto offsets = simkit::DatabaseRecordOffsets(a);
    ASSERT_EQ(offsets.back(), bytes.size());
    ASSERT_TRUE(simkit::WriteDatabase(dir / "z.rdb", Witness()));
    // The header and the first record, byte by byte.
    for (std::size_t cut = 0; cut <= offsets[1]; ++cut) {
        WriteBytes(dir / "a.rdb", std::span(bytes).first(cut));
        std::vector<std::string> expected;
        if (cut == offsets[1]) expected.push_back("a:one.rpy");
        expected.push_back("z:w.rpy");
        ASSERT_EQ(Paths(ReadAll(dir.path())), expected) << "cut at " << cut;
    }
}

// Two databases joined into one file: the second's start is no record, and a
// record whose stored header is not one of a replay the program reads ends
// the read as damage does; the next database still reads.
TEST(MalformedReplayDatabase, ARecordOfAnUnreadableHeaderEndsTheDatabase) {
    test::ScratchDir dir("rdb");
    auto joined = simkit::BuildDatabase(ThreeRecords(2));
    const auto second = simkit::BuildDatabase(ThreeRecords(2));
    joined.insert(joined.end(), second.begin(), second.end());
    WriteBytes(dir / "a.rdb", joined);
    ASSERT_TRUE(simkit::WriteDatabase(dir / "z.rdb", ThreeRecords(1)));
    EXPECT_THAT(Paths(ReadAll(dir.path())), ElementsAre("a:one.rpy", "a:sub\\two.rpy", "a:three.rpy", "z:one.rpy",
                                                        "z:sub\\two.rpy", "z:three.rpy"));
    // The version a joined start reads as, and an older simulation's.
    for (std::uint32_t version : {1296385026u, 4u}) {
        DbDesc d = ThreeRecords(2);
        d.records[1].version = version;
        ASSERT_TRUE(simkit::WriteDatabase(dir / "a.rdb", d));
        EXPECT_THAT(Paths(ReadAll(dir.path())), ElementsAre("a:one.rpy", "z:one.rpy", "z:sub\\two.rpy", "z:three.rpy"));
    }
}

TEST(MalformedReplayDatabase, DamagedDatabasesAreSkippedAndTheNextStillReads) {
    test::ScratchDir dir("rdb");
    ASSERT_TRUE(simkit::WriteDatabase(dir / "z.rdb", Witness()));
    const DbDesc good = ThreeRecords(2);
    const auto offsets = simkit::DatabaseRecordOffsets(good);

    struct Case {
        std::string name;
        std::function<void(DbDesc&)> tweak;
        std::vector<std::string> expected;  // records of "a" before the witness
    };
    const std::vector<Case> cases = {
        {"wrong magic", [](DbDesc& d) { d.magic = "VELMRRACDDA"; }, {}},
        {"long magic", [](DbDesc& d) { d.magic = "VELMRRACDDBX"; }, {}},
        {"version 3", [](DbDesc& d) { d.version = 3; }, {}},
        {"version 0", [](DbDesc& d) { d.version = 0; }, {}},
        {"loaded count 65535", [](DbDesc& d) { d.records[1].loadedCount = 65535; }, {"a:one.rpy"}},
        {"fifty drivers",
         [](DbDesc& d) { d.records[1] = SimpleDbRecord("two.rpy", "OVAL", 50, 1, 40000); },
         {"a:one.rpy"}},
        {"lap count 2^32-1",
         [](DbDesc& d) {
             d.records[2].drivers[0].laps[3].resize(600, {1000, 1});
         },
         {"a:one.rpy", "a:sub\\two.rpy"}},
    };
    for (const Case& c : cases) {
        DbDesc d = good;
        c.tweak(d);
        ASSERT_TRUE(simkit::WriteDatabase(dir / "a.rdb", d));
        auto expected = c.expected;
        expected.push_back("z:w.rpy");
        EXPECT_EQ(Paths(ReadAll(dir.path())), expected) << c.name;
    }

    // A count field at its largest, patched into the bytes.
    auto bytes = simkit::BuildDatabase(good);
    const std::uint32_t huge = 0xFFFFFFFFu;
    const std::size_t lapCountAt = [&] {
        // The race-lap count of the first driver of record 0: search the
        // record for the count the kit wrote (2) after the car id (10).
        const std::uint8_t pattern[] = {10, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0};
        auto it = std::search(bytes.begin() + static_cast<std::ptrdiff_t>(offsets[0]),
                              bytes.begin() + static_cast<std::ptrdiff_t>(offsets[1]), std::begin(pattern),
                              std::end(pattern));
        return static_cast<std::size_t>(it - bytes.begin()) + 8;
    }();
    std::memcpy(bytes.data() + lapCountAt, &huge, 4);
    WriteBytes(dir / "a.rdb", bytes);
    EXPECT_THAT(Paths(ReadAll(dir.path())), ElementsAre("z:w.rpy"));

    // An unterminated path at the end of the file.
    bytes = simkit::BuildDatabase(good);
    bytes.insert(bytes.end(), 5000, 'x');
    WriteBytes(dir / "a.rdb", bytes);
    EXPECT_THAT(Paths(ReadAll(dir.path())), ElementsAre("a:one.rpy", "a:sub\\two.rpy", "a:three.rpy", "z:w.rpy"));

    // An unterminated label.
    bytes = {'V', 'E', 'L', 'M', 'R', 'R', 'A', 'C', 'D', 'D', 'B', 0, 2};
    bytes.insert(bytes.end(), 9000, 'L');
    WriteBytes(dir / "a.rdb", bytes);
    EXPECT_THAT(Paths(ReadAll(dir.path())), ElementsAre("z:w.rpy"));

    // A folder with the database extension, and an unreadable database.
    std::filesystem::remove(dir / "a.rdb");
    std::filesystem::create_directories(dir / "x.rdb");
    ASSERT_TRUE(simkit::WriteDatabase(dir / "b.rdb", good));
    ::chmod((dir / "b.rdb").c_str(), 0);
    const auto reads = Paths(ReadAll(dir.path()));
    ::chmod((dir / "b.rdb").c_str(), 0644);
    if (::geteuid() != 0) {
        EXPECT_THAT(reads, ElementsAre("z:w.rpy"));
    }
}

}  // namespace
}  // namespace vra
