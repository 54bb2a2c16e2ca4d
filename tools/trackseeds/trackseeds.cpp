// Writes the seed corpora of the implode and track_container fuzz targets
// from the test kit's builders: trackseeds <repo>/fuzz/corpus
#include "core/base/FileUtil.h"

#include "simkit/track/DatContainerWriter.h"
#include "simkit/track/DclBitWriter.h"
#include "simkit/track/ImplodeWriter.h"
#include "simkit/track/PtfBuilder.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace vra::simkit;
using Bytes = std::vector<std::uint8_t>;

namespace {

bool ok = true;

void Put(const fs::path& file, const Bytes& bytes) {
    if (!vra::WriteFileAtomic(file, bytes)) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        ok = false;
    }
}

Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

Bytes TrackStream(int segments) {
    TrackDesc track;
    double x = 0;
    for (int i = 0; i < segments; ++i) {
        if (i % 2 == 0) {
            track.segments.push_back(New(StraightSegment(x, 0, 0, 120)));
            x += 120;
        } else {
            track.segments.push_back(New(CornerSegment(x, 0, 0, 40 + 10 * i, i % 4 == 1 ? 0.8 : -0.6)));
        }
    }
    return PtfBuilder::Build(Ref<TrackDesc>(New(track)));
}

void ImplodeSeeds(const fs::path& dir) {
    fs::create_directories(dir);
    Put(dir / "published.bin", {0x00, 0x04, 0x82, 0x24, 0x25, 0x8f, 0x80, 0x7f});
    std::string text;
    for (int i = 0; i < 60; ++i) text += "segment " + std::to_string(i % 7) + " corner left\n";
    for (std::uint8_t dict : {4, 5, 6}) {
        Put(dir / ("literals-" + std::to_string(dict) + ".bin"), ImplodeWriter::Literals(Text("track.ptf"), dict));
        Put(dir / ("copies-" + std::to_string(dict) + ".bin"), ImplodeWriter::WithCopies(Text(text), dict));
    }
    // Short copies with their two low distance bits, long copies, overlaps.
    DclBitWriter w(0, 6);
    for (char c : std::string("abcdefgh")) w.literal(static_cast<std::uint8_t>(c));
    w.copy(2, 1).copy(2, 7).copy(10, 1).copy(300, 3).copy(518, 12).end();
    Put(dir / "handmade.bin", w.bytes());
    Put(dir / "coded-literals.bin", DclBitWriter(1, 6).literal('a').end().bytes());
    Put(dir / "before-start.bin", DclBitWriter(0, 4).literal('a').copy(5, 4).end().bytes());
}

void ContainerSeeds(const fs::path& dir) {
    fs::create_directories(dir);
    const Bytes small = TrackStream(2);
    const Bytes larger = TrackStream(8);
    Put(dir / "stored.dat", DatContainerWriter().stored("fuzz.ptf", small).bytes());
    Put(dir / "literals.dat", DatContainerWriter().imploded("fuzz.ptf", small, 6).bytes());
    Put(dir / "copies.dat",
        DatContainerWriter()
            .stored("sky.bmp", Text("BMsky"))
            .raw("fuzz.ptf", ImplodeWriter::WithCopies(larger, 4), static_cast<std::uint32_t>(larger.size()))
            .bytes());
    Put(dir / "long-names.dat", DatContainerWriter()
                                    .imploded(std::string(40, 't') + ".bmp", Text("texture"), 5)
                                    .stored(std::string("x\0.ptf", 6), Text("skipped"))
                                    .imploded("fuzz.ptf.old", small, 5)
                                    .bytes());
    Put(dir / "no-track.dat", DatContainerWriter().stored("fuzz.ptf", Bytes{0, 0, 0, 0}).bytes());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: trackseeds <fuzz corpus folder>\n");
        return 2;
    }
    const fs::path root = argv[1];
    ImplodeSeeds(root / "implode");
    ContainerSeeds(root / "track_container");
    return ok ? 0 : 1;
}
