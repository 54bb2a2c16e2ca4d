#include "core/decode/KtTrackFile.h"

#include "core/decode/KtException.h"
#include "core/decode/KtTrack.h"

#include "simkit/track/DatContainerWriter.h"
#include "simkit/track/DclBitWriter.h"
#include "simkit/track/ImplodeWriter.h"
#include "simkit/track/PtfBuilder.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace fs = std::filesystem;
using namespace vra;
using namespace vra::simkit;
using Bytes = std::vector<std::uint8_t>;

namespace {

const std::string kCannotOpen = "Error: cannot open track file";
const std::string kCannotUncompress = "Error: cannot uncompress ptf file";
// Bytes that pass the loose file's check (root id 1, class id 2), marked so
// that a test can tell which entry was taken.
Bytes StreamMarked(const std::string& marker) {
    Bytes b(8 + marker.size(), 0);
    b[0] = 1, b[4] = 2;
    std::copy(marker.begin(), marker.end(), b.begin() + 8);
    return b;
}

Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

// A small track of two segments in which every object class appears.
Bytes TrackStream() {
    return PtfBuilder::Build(Ref<TrackDesc>(EveryClassTrack()));
}

// "" when the constructor and Parse both succeed, else the KtException's text.
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
    // A folder per test under one unique to the process, holding the folder of track "oval".
    void SetUp() override {
        static const vra::test::ScratchDir root("trackfile");
        tracks = root.path() / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        oval = tracks / "oval";
        fs::remove_all(tracks);
        fs::create_directories(oval);
    }
    // Writes the file of track "oval" and loads it.
    std::string LoadOval(const Bytes& dat, bool parse = false) {
        EXPECT_TRUE(WriteLoosePtf(oval / "oval.dat", dat));
        return LoadError(tracks, "oval", parse);
    }
    fs::path tracks;
    fs::path oval;
};

}  // namespace

TEST_F(TrackFileTest, PrefersALooseStreamFoundIgnoringCase) {
    const fs::path folder = tracks / "Daytona Oval";
    fs::create_directories(folder);
    ASSERT_TRUE(DatContainerWriter().stored("x.ptf", StreamMarked("packed")).write(folder / "daytona oval.DAT"));
    KtTrackFile packed(tracks, "DAYTONA OVAL");
    EXPECT_EQ(packed.GetBuffer(), StreamMarked("packed"));
    EXPECT_EQ(packed.TrackFolder(), folder);

    // Loose files that are no stream are passed over: ids the wrong way
    // round, too short for both ids, empty, a folder (the one-byte entry).
    const fs::path loosePtf = folder / "Daytona Oval.Ptf";
    for (const Bytes& loose : std::vector<Bytes>{{2, 0, 0, 0, 1, 0, 0, 0, 9, 9}, {1, 0, 0, 0, 2, 0, 0}, {}, {9}}) {
        fs::remove(loosePtf);
        if (loose.size() == 1)
            fs::create_directories(loosePtf);
        else
            ASSERT_TRUE(WriteLoosePtf(loosePtf, loose));
        EXPECT_EQ(KtTrackFile(tracks, "DAYTONA OVAL").GetBuffer(), StreamMarked("packed"));
    }
    fs::remove(loosePtf);
    ASSERT_TRUE(WriteLoosePtf(loosePtf, StreamMarked("loose")));
    KtTrackFile loose(tracks, "DAYTONA OVAL");
    EXPECT_EQ(loose.GetBuffer(), StreamMarked("loose"));
    EXPECT_FALSE(loose.IsCompressed());
    EXPECT_EQ(std::vector<std::size_t>({loose.GetStoredSize(), loose.GetUncompressedSize()}),
              std::vector<std::size_t>(2, StreamMarked("loose").size()));
}

TEST_F(TrackFileTest, WalksTheDirectoryToTheFirstStreamEntry) {
    const Bytes stream = StreamMarked(std::string(300, 'k'));
    const std::string longName = std::string(40, 'x') + ".ptf.bak";  // longer than 31, merely contains ".ptf"
    ASSERT_TRUE(DatContainerWriter()
                    .stored("asphalt.bmp", Text("BMtexture"))
                    .imploded("grass.bmp", Text("BMgrass"), 4)
                    .stored(std::string(251, 'n') + ".txt", Text("longest name"))
                    .stored(std::string("cut\0.ptf", 8), Text("name ends at its NUL"))
                    .stored("OVAL.PTF", Text("the match is case-sensitive"))
                    .imploded(longName, stream, 5)
                    .stored("oval.ptf", Text("later entries are not looked at"))
                    .write(oval / "oval.dat"));
    KtTrackFile file(tracks, "oval");
    EXPECT_TRUE(file.IsCompressed());
    EXPECT_EQ(file.GetUncompressedSize(), stream.size());
    EXPECT_EQ(file.GetStoredSize(), ImplodeWriter::Literals(stream, 5).size());
    EXPECT_EQ(file.GetBuffer(), stream);

    // Equal sizes: the bytes are the stream, even ones that would expand.
    const Bytes imploded = ImplodeWriter::Literals(Text("abc"), 6);
    ASSERT_EQ(LoadOval(DatContainerWriter().stored("oval.ptf", imploded).bytes()), "");
    EXPECT_FALSE(KtTrackFile(tracks, "oval").IsCompressed());
    EXPECT_EQ(KtTrackFile(tracks, "oval").GetBuffer(), imploded);
}

TEST_F(TrackFileTest, RefusesNamesThatLeaveTheTracksFolder) {
    // The simulation's tracks folder, and streams that crafted names could reach from it.
    const fs::path sim = tracks / "sim" / "tracks";
    fs::create_directories(sim);
    fs::create_directories(tracks / "outside");
    const Bytes stream = StreamMarked("x");
    ASSERT_TRUE(WriteLoosePtf(tracks / "outside" / "outside.ptf", stream));
    ASSERT_TRUE(WriteLoosePtf(sim / "..ptf", stream));              // "." + ".ptf"
    ASSERT_TRUE(WriteLoosePtf(tracks / "sim" / "...ptf", stream));  // ".." + ".ptf"
    ASSERT_EQ(LoadError(tracks, "outside", false), "");
    for (const std::string& name : std::vector<std::string>{"../../outside", "..\\..\\outside", "x/../../../outside",
                                                            "/outside", ".", "..", "", std::string("outside\0", 8)})
        EXPECT_EQ(LoadError(sim, name, false), kCannotOpen) << name;
}

TEST_F(TrackFileTest, ReportsAMissingCutOrInconsistentContainerAsCannotOpen) {
    EXPECT_EQ(LoadError(tracks, "nowhere"), kCannotOpen);
    EXPECT_EQ(LoadError(tracks, "oval"), kCannotOpen);
    // The directory ends (a tag other than 5) before the stream's entry.
    EXPECT_EQ(
        LoadOval(DatContainerWriter().stored("a.bmp", Text("a")).tag(4).stored("oval.ptf", StreamMarked("x")).bytes()),
        kCannotOpen);

    DatContainerWriter dat;
    dat.stored("a.bmp", Text("texture")).stored("oval.ptf", StreamMarked("stream"));
    const Bytes whole = dat.bytes();
    // Cut anywhere before the stream's last byte, the container fails; in
    // particular a cut directory no longer loops or reads stale values.
    for (std::size_t cut = 0; cut < whole.size(); ++cut)
        EXPECT_EQ(LoadOval(Bytes(whole.begin(), whole.begin() + cut)), kCannotOpen) << cut;

    // Stored bytes beyond the end of the file, whatever the arithmetic.
    auto poked = [&](std::initializer_list<std::size_t> fields, std::uint32_t v) {
        Bytes bad = whole;
        for (std::size_t at : fields)
            for (int i = 0; i < 4; ++i) bad[dat.recordOffset(1) + at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        return LoadOval(bad);
    };
    for (std::uint32_t offset : {std::uint32_t(whole.size() - 3), 0xFFFFFFF0u})
        EXPECT_EQ(poked({10}, offset), kCannotOpen) << offset;
    for (std::uint32_t size : {0xFFFFFFFFu, 0xFFFFFFFCu}) EXPECT_EQ(poked({2, 6}, size), kCannotOpen) << size;
}

TEST_F(TrackFileTest, RefusesStreamsThatDoNotExpandToTheirSize) {
    auto load = [&](Bytes stored, std::uint32_t declared) {
        return LoadOval(DatContainerWriter().raw("oval.ptf", std::move(stored), declared).bytes());
    };
    const Bytes twenty = Text("twenty bytes of data");
    const Bytes full = ImplodeWriter::Literals(twenty, 6);
    const struct {
        Bytes stored;
        std::uint32_t declared;
        const char* why;
    } refused[] = {
        {full, 21, "end marker before the size"},
        {Bytes(full.begin(), full.end() - 4), 20, "stream cut short"},
        {ImplodeWriter::Literals(twenty, 7), 20, "dictionary code"},
        {DclBitWriter(1, 6).literal('a').end().bytes(), 1, "coded literals"},
        {DclBitWriter(0, 6).literal('a').copy(4, 2).end().bytes(), 5, "copy from before the start"},
        {Bytes{0}, 5, "one stored byte"},
        {Bytes{}, 5, "nothing stored"},
        // Sizes no stream of this length can expand to, refused before any memory is set aside.
        {full, 0xFFFFFFFFu, "huge"},
        {full, static_cast<std::uint32_t>(189 * full.size() + 1025), "beyond the ratio"},
    };
    for (const auto& r : refused) EXPECT_EQ(load(r.stored, r.declared), kCannotUncompress) << r.why;

    // A stream with more data than declared stops at the declared size.
    ASSERT_EQ(load(full, 12), "");
    EXPECT_EQ(KtTrackFile(tracks, "oval").GetBuffer(), Text("twenty bytes"));
}

TEST_F(TrackFileTest, ParsesTheStreamIntoTheTrack) {
    const Bytes stream = TrackStream();
    ASSERT_TRUE(DatContainerWriter()
                    .stored("oval.bmp", Text("texture"))
                    .raw("oval.ptf", ImplodeWriter::WithCopies(stream, 4), static_cast<std::uint32_t>(stream.size()))
                    .write(oval / "oval.dat"));
    fs::create_directories(tracks / "loose");
    ASSERT_TRUE(WriteLoosePtf(tracks / "loose" / "loose.ptf", stream));
    for (const char* name : {"OVAL", "LOOSE"}) {
        KtTrackFile file(tracks, name);
        EXPECT_EQ(file.GetBuffer(), stream);
        file.Parse();
        ASSERT_TRUE(file.GetTrack()) << name;
        EXPECT_EQ(file.GetTrack()->GetSegments().size(), 2u) << name;
        EXPECT_TRUE(file.GetBuffer().empty());
    }
    EXPECT_EQ(LoadOval(DatContainerWriter().stored("oval.ptf", Bytes{0, 0, 0, 0}).bytes(), true),
              "ptf file holds no track");
}

// Never a crash, a hang or an unbounded allocation (the sanitizer build runs this too).
TEST_F(TrackFileTest, SurvivesMutatedContainers) {
    const Bytes stream = TrackStream();
    const Bytes whole =
        DatContainerWriter()
            .stored("sky.bmp", Text("BM sky"))
            .raw("oval.ptf", ImplodeWriter::WithCopies(stream, 5), static_cast<std::uint32_t>(stream.size()))
            .bytes();
    EXPECT_EQ(LoadOval(whole, true), "");
    for (std::size_t i = 0; i < whole.size(); ++i)
        for (std::uint8_t x : {0x01, 0x80, 0xFF}) {
            Bytes bad = whole;
            bad[i] ^= x;
            (void)LoadOval(bad, true);
        }
}
