#include "decode/KtTrackFile.h"

#include "decode/KtException.h"
#include "decode/KtTrack.h"
#include "ScratchDir.h"
#include "track/DatContainerWriter.h"
#include "track/DclBitWriter.h"
#include "track/ImplodeWriter.h"
#include "track/PtfBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using vra::KtException;
using vra::KtTrackFile;
using vra::simkit::DatContainerWriter;
using vra::simkit::DclBitWriter;
using vra::simkit::ImplodeWriter;
using Bytes = std::vector<std::uint8_t>;

namespace {

const std::string kCannotOpen = "Error: cannot open track file";
const std::string kCannotUncompress = "Error: cannot uncompress ptf file";

// Bytes that pass the loose file's check (root id 1, class id 2), marked so
// that a test can tell which entry was taken.
Bytes StreamMarked(const std::string& marker) {
    Bytes b(8 + marker.size(), 0);
    b[0] = 1;
    b[4] = 2;
    std::copy(marker.begin(), marker.end(), b.begin() + 8);
    return b;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A small but complete track: a straight and a left corner.
Bytes TrackStream() {
    using namespace vra::simkit;
    TrackDesc track;
    track.segments.push_back(New(StraightSegment(0, 0, 0, 100)));
    track.segments.push_back(New(CornerSegment(100, 0, 0, 50, 1.5)));
    return PtfBuilder::Build(Ref<TrackDesc>(New(track)));
}

// What a load ends in: "" when the constructor and Parse both succeed,
// otherwise the text of the KtException. Anything else escapes the test.
std::string LoadError(const fs::path& tracks, const std::string& name, bool parse = true) {
    try {
        KtTrackFile file(tracks, name);
        if (parse) file.Parse();
        return "";
    } catch (const KtException& e) {
        return e.what();
    }
}

class TrackFileTest : public ::testing::Test {
protected:
    // A folder per test under one unique to the process, so that parallel
    // runs never share one.
    void SetUp() override {
        static const vra::test::ScratchDir root("trackfile");
        tracks = root.path() / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(tracks);
        fs::create_directories(tracks);
    }
    fs::path Folder(const std::string& name) {
        fs::create_directories(tracks / name);
        return tracks / name;
    }
    fs::path tracks;
};

}  // namespace

TEST_F(TrackFileTest, PrefersALooseStreamFoundIgnoringCase) {
    const fs::path folder = Folder("Daytona Oval");
    ASSERT_TRUE(DatContainerWriter().stored("x.ptf", StreamMarked("packed")).write(folder / "daytona oval.DAT"));
    KtTrackFile packed(tracks, "DAYTONA OVAL");
    EXPECT_EQ(packed.GetBuffer(), StreamMarked("packed"));
    EXPECT_EQ(packed.TrackFolder(), folder);

    // Loose files that are no stream are passed over: ids the wrong way
    // round, too short for both ids, empty, a folder.
    for (const Bytes& loose : std::vector<Bytes>{{2, 0, 0, 0, 1, 0, 0, 0, 9, 9}, {1, 0, 0, 0, 2, 0, 0}, {}}) {
        ASSERT_TRUE(vra::simkit::WriteLoosePtf(folder / "Daytona Oval.Ptf", loose));
        EXPECT_EQ(KtTrackFile(tracks, "DAYTONA OVAL").GetBuffer(), StreamMarked("packed"));
    }
    fs::remove(folder / "Daytona Oval.Ptf");
    fs::create_directories(folder / "Daytona Oval.Ptf");
    EXPECT_EQ(KtTrackFile(tracks, "DAYTONA OVAL").GetBuffer(), StreamMarked("packed"));
    fs::remove(folder / "Daytona Oval.Ptf");

    ASSERT_TRUE(vra::simkit::WriteLoosePtf(folder / "Daytona Oval.Ptf", StreamMarked("loose")));
    KtTrackFile loose(tracks, "DAYTONA OVAL");
    EXPECT_EQ(loose.GetBuffer(), StreamMarked("loose"));
    EXPECT_FALSE(loose.IsCompressed());
    EXPECT_EQ(loose.GetStoredSize(), StreamMarked("loose").size());
    EXPECT_EQ(loose.GetUncompressedSize(), StreamMarked("loose").size());
}

TEST_F(TrackFileTest, WalksTheDirectoryToTheFirstStreamEntry) {
    const fs::path oval = Folder("oval");
    const Bytes stream = StreamMarked(std::string(300, 'k'));
    const std::string longName = std::string(40, 'x') + ".ptf.bak";  // longer than 31, merely contains ".ptf"
    DatContainerWriter dat;
    dat.stored("asphalt.bmp", Text("BMtexture"))
        .imploded("grass.bmp", Text("BMgrass"), 4)
        .stored(std::string(251, 'n') + ".txt", Text("longest name"))
        .stored(std::string("cut\0.ptf", 8), Text("name ends at its NUL"))
        .stored("OVAL.PTF", Text("the match is case-sensitive"))
        .imploded(longName, stream, 5)
        .stored("oval.ptf", Text("later entries are not looked at"));
    ASSERT_TRUE(dat.write(oval / "oval.dat"));
    KtTrackFile file(tracks, "oval");
    EXPECT_TRUE(file.IsCompressed());
    EXPECT_EQ(file.GetUncompressedSize(), stream.size());
    EXPECT_EQ(file.GetStoredSize(), ImplodeWriter::Literals(stream, 5).size());
    EXPECT_EQ(file.GetBuffer(), stream);

    // Equal sizes: the bytes are the stream, even ones that would expand.
    const Bytes imploded = ImplodeWriter::Literals(Text("abc"), 6);
    ASSERT_TRUE(DatContainerWriter().stored("oval.ptf", imploded).write(oval / "oval.dat"));
    KtTrackFile stored(tracks, "oval");
    EXPECT_FALSE(stored.IsCompressed());
    EXPECT_EQ(stored.GetBuffer(), imploded);
}

TEST_F(TrackFileTest, RefusesNamesThatLeaveTheTracksFolder) {
    // The simulation's tracks folder, and streams that crafted names could
    // reach from it.
    const fs::path sim = tracks / "sim" / "tracks";
    fs::create_directories(sim);
    fs::create_directories(tracks / "outside");
    const Bytes stream = StreamMarked("x");
    ASSERT_TRUE(vra::simkit::WriteLoosePtf(tracks / "outside" / "outside.ptf", stream));
    ASSERT_TRUE(vra::simkit::WriteLoosePtf(sim / "..ptf", stream));            // "." + ".ptf"
    ASSERT_TRUE(vra::simkit::WriteLoosePtf(tracks / "sim" / "...ptf", stream));  // ".." + ".ptf"
    ASSERT_EQ(LoadError(tracks, "outside", false), "");

    for (const std::string& name : std::vector<std::string>{"../../outside", "..\\..\\outside", "x/../../../outside", "/outside", ".", "..",
                                   "", std::string("outside\0", 8)})
        EXPECT_EQ(LoadError(sim, name, false), kCannotOpen) << name;
}

TEST_F(TrackFileTest, ReportsAMissingCutOrInconsistentContainerAsCannotOpen) {
    EXPECT_EQ(LoadError(tracks, "nowhere"), kCannotOpen);
    const fs::path oval = Folder("oval");
    EXPECT_EQ(LoadError(tracks, "oval"), kCannotOpen);
    // The directory ends (a tag other than 5) before the stream's entry.
    ASSERT_TRUE(DatContainerWriter().stored("a.bmp", Text("a")).tag(4).stored("oval.ptf", StreamMarked("x")).write(oval / "oval.dat"));
    EXPECT_EQ(LoadError(tracks, "oval"), kCannotOpen);

    DatContainerWriter dat;
    dat.stored("a.bmp", Text("texture")).stored("oval.ptf", StreamMarked("stream"));
    const Bytes whole = dat.bytes();
    // Cut anywhere before the stream's last byte, the container fails; in
    // particular a cut directory no longer loops or reads stale values.
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        ASSERT_TRUE(vra::simkit::WriteLoosePtf(oval / "oval.dat", Bytes(whole.begin(), whole.begin() + cut)));
        EXPECT_EQ(LoadError(tracks, "oval", false), kCannotOpen) << cut;
    }

    // Stored bytes beyond the end of the file, whatever the arithmetic.
    const std::size_t record = dat.recordOffset(1);
    auto poked = [&](std::initializer_list<std::size_t> fields, std::uint32_t v) {
        Bytes bad = whole;
        for (std::size_t at : fields)
            for (int i = 0; i < 4; ++i) bad[record + at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        EXPECT_TRUE(vra::simkit::WriteLoosePtf(oval / "oval.dat", bad));
        return LoadError(tracks, "oval", false);
    };
    for (std::uint32_t offset : {std::uint32_t(whole.size() - 3), 0xFFFFFFF0u})
        EXPECT_EQ(poked({10}, offset), kCannotOpen) << offset;
    for (std::uint32_t size : {0xFFFFFFFFu, 0xFFFFFFFCu}) EXPECT_EQ(poked({2, 6}, size), kCannotOpen) << size;
}

TEST_F(TrackFileTest, RefusesStreamsThatDoNotExpandToTheirSize) {
    const fs::path oval = Folder("oval");
    auto load = [&](Bytes stored, std::uint32_t declared) {
        EXPECT_TRUE(DatContainerWriter().raw("oval.ptf", std::move(stored), declared).write(oval / "oval.dat"));
        return LoadError(tracks, "oval", false);
    };
    const Bytes twenty = Text("twenty bytes of data");
    const Bytes full = ImplodeWriter::Literals(twenty, 6);

    EXPECT_EQ(load(full, 21), kCannotUncompress) << "end marker before the size";
    EXPECT_EQ(load(Bytes(full.begin(), full.end() - 4), 20), kCannotUncompress) << "stream cut short";
    EXPECT_EQ(load(ImplodeWriter::Literals(twenty, 7), 20), kCannotUncompress) << "dictionary code";
    EXPECT_EQ(load(DclBitWriter(1, 6).literal('a').end().bytes(), 1), kCannotUncompress) << "coded literals";
    EXPECT_EQ(load(DclBitWriter(0, 6).literal('a').copy(4, 2).end().bytes(), 5), kCannotUncompress)
        << "copy from before the start";
    EXPECT_EQ(load(Bytes{0}, 5), kCannotUncompress) << "one stored byte";
    EXPECT_EQ(load(Bytes{}, 5), kCannotUncompress) << "nothing stored";

    // Sizes no stream of this length can expand to are refused before any
    // memory is set aside for them.
    EXPECT_EQ(load(full, 0xFFFFFFFFu), kCannotUncompress);
    EXPECT_EQ(load(full, static_cast<std::uint32_t>(189 * full.size() + 1025)), kCannotUncompress);

    // A stream with more data than declared stops at the declared size.
    ASSERT_EQ(load(full, 12), "");
    KtTrackFile file(tracks, "oval");
    EXPECT_EQ(file.GetBuffer(), Text("twenty bytes"));
}

TEST_F(TrackFileTest, ParsesTheStreamIntoTheTrack) {
    const Bytes stream = TrackStream();
    const fs::path oval = Folder("oval");
    ASSERT_TRUE(DatContainerWriter()
                    .stored("oval.bmp", Text("texture"))
                    .raw("oval.ptf", ImplodeWriter::WithCopies(stream, 4), static_cast<std::uint32_t>(stream.size()))
                    .write(oval / "oval.dat"));
    const fs::path loose = Folder("loose");
    ASSERT_TRUE(vra::simkit::WriteLoosePtf(loose / "loose.ptf", stream));
    for (const char* name : {"OVAL", "LOOSE"}) {
        KtTrackFile file(tracks, name);
        EXPECT_EQ(file.GetBuffer(), stream);
        file.Parse();
        ASSERT_TRUE(file.GetTrack()) << name;
        EXPECT_EQ(file.GetTrack()->GetSegments().size(), 2u) << name;
        EXPECT_TRUE(file.GetBuffer().empty());
    }

    const fs::path empty = Folder("empty");
    ASSERT_TRUE(DatContainerWriter().stored("empty.ptf", Bytes{0, 0, 0, 0}).write(empty / "empty.dat"));
    EXPECT_EQ(LoadError(tracks, "empty"), "ptf file holds no track");
}

// Malformed containers end in an error or a track, never in a crash, a hang
// or an unbounded allocation (the sanitizer build runs this too; cuts are
// covered above).
TEST_F(TrackFileTest, SurvivesMutatedContainers) {
    const Bytes stream = TrackStream();
    DatContainerWriter dat;
    dat.stored("sky.bmp", Text("BM sky"))
        .raw("oval.ptf", ImplodeWriter::WithCopies(stream, 5), static_cast<std::uint32_t>(stream.size()));
    const Bytes whole = dat.bytes();
    const fs::path file = Folder("oval") / "oval.dat";
    ASSERT_TRUE(vra::simkit::WriteLoosePtf(file, whole));
    EXPECT_EQ(LoadError(tracks, "oval"), "");
    for (std::size_t i = 0; i < whole.size(); ++i) {
        for (std::uint8_t x : {0x01, 0x80, 0xFF}) {
            Bytes bad = whole;
            bad[i] ^= x;
            ASSERT_TRUE(vra::simkit::WriteLoosePtf(file, bad));
            (void)LoadError(tracks, "oval");
        }
    }
}
