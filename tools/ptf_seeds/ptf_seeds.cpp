// Writes small object streams for the ptf_stream fuzz target's seed corpus:
// every class at each of its versions, a plain oval, and a few edge shapes.
#include "simkit/track/PtfBuilder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

using namespace vra::simkit;

namespace {

bool Save(const std::filesystem::path& folder, const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// An oval of two 200 m straights and two half circles of radius 60 m,
// with three surfaces across the track.
std::shared_ptr<TrackDesc> Oval() {
    const double pi = std::numbers::pi;
    auto track = New<TrackDesc>();
    auto edge = [](double offset, std::int32_t code) {
        auto f = New<FSectionDesc>();
        f->startOffset = offset;
        f->endOffset = offset;
        f->code = code;
        return f;
    };
    auto left = edge(8, 1), inner = edge(5, 2), outer = edge(-5, 3), right = edge(-8, 4);
    const std::vector<SegmentDesc> pieces = {StraightSegment(0, 0, 0, 200), CornerSegment(200, 0, 0, 60, pi),
                                             StraightSegment(200, 120, pi, 200), CornerSegment(0, 120, pi, 60, pi)};
    for (const SegmentDesc& piece : pieces) {
        auto s = New(piece);
        s->fSections.refs = {left, inner, outer, right};
        track->segments.push_back(s);
    }
    return track;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ptf_seeds <folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    bool ok = true;
    auto save = [&](const std::string& name, const std::shared_ptr<TrackDesc>& track) {
        ok = Save(folder, name, PtfBuilder::Build(Ref<TrackDesc>(track))) && ok;
    };

    save("every-class-first-versions.ptf", EveryClassTrack(ClassVersions{}));
    save("every-class-second-versions.ptf", EveryClassTrack(ClassVersions{8, 2, 3, 5, 6, 1, 1, 3, 6}));
    save("every-class-wsection-7.ptf", EveryClassTrack(ClassVersions{6, 2, 3, 4, 7, 2, 5, 2, 6}));
    save("oval.ptf", Oval());

    auto empty = New<TrackDesc>();
    save("empty.ptf", empty);

    auto holes = New<TrackDesc>();
    holes->version = 8;
    holes->segments = {Ref<SegmentDesc>(), New(StraightSegment(0, 0, 0, 50)), Ref<SegmentDesc>()};
    save("null-segments.ptf", holes);

    for (int first : {0, 1, 2}) {
        auto track = New<TrackDesc>();
        auto segment = New(StraightSegment(0, 0, 0, 10));
        auto x = New<XSectionDesc>();
        x->version = 3;
        x->firstType = static_cast<std::uint8_t>(first);
        x->secondType = 2;
        x->trailing = first == 0 ? XSectionDesc::Chain({2}) : XSectionDesc::Chain({first, 3 - first});
        segment->xSections.refs = {x};
        track->segments = {segment};
        save("xsection-chain-" + std::to_string(first) + ".ptf", track);
    }

    auto shared = New<TrackDesc>();
    auto piece = New(StraightSegment(0, 0, 0, 25));
    shared->segments = {piece, piece, piece};
    save("shared-segment.ptf", shared);

    return ok ? 0 : 1;
}
