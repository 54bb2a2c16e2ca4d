// Writes the seed corpus of the race-line fuzz target into the folder given
// on the command line: files of the road course the target builds, whole,
// short, past its end, with broken records and with broken headers.
#include "simkit/track/RaceLineWriter.h"
#include "simkit/track/TrackLayout.h"

#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

using vra::simkit::RaceLineWriter;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: raceline_seeds <corpus folder>\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    const auto course = vra::simkit::TrackLayout::RoadCourse();
    const RaceLineWriter whole = RaceLineWriter::ForLayout(course);
    const std::size_t records = whole.bytes().size() / 24;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();

    std::vector<std::pair<std::string, RaceLineWriter>> seeds = {
        {"whole.lp", whole},
        {"empty.lp", RaceLineWriter()},
        {"header-only.lp", RaceLineWriter().declaredCount(5)},
        {"short-header.lp", RaceLineWriter().offsets({1.0f}).truncatedTo(9)},
        {"few.lp", RaceLineWriter().offsets({0.0f, 2.5f, -3.0f, 6.0f})},
        {"cut-record.lp", RaceLineWriter().offsets({1, 2, 3}).truncatedTo(16 + 24 * 2 + 11)},
        {"count-below.lp", RaceLineWriter().offsets({1, 2, 3, 4}).declaredCount(2)},
        {"count-huge.lp", RaceLineWriter().offsets({1, 2, 3}).declaredCount(0xFFFFFFFFu)},
        {"not-numbers.lp", RaceLineWriter().offsets({nan, 1.0f, inf, -inf, 2.0f})},
        {"huge-offsets.lp", RaceLineWriter().offsets({3.0e38f, -3.0e38f, 1.0e-40f})},
    };
    // One record past the end of the track.
    RaceLineWriter past = RaceLineWriter::ForLayout(course);
    std::vector<float> longer(records + 1, 0.5f);
    past.offsets(longer);
    seeds.emplace_back("past-end.lp", past);

    for (const auto& [name, writer] : seeds) {
        if (!writer.write(dir / name)) {
            std::fprintf(stderr, "cannot write %s\n", name.c_str());
            return 1;
        }
    }
    return 0;
}
