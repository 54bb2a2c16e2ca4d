// mksim <folder>: writes a demo simulation folder.
// mksim --fuzz-seeds <dir>: writes the seed corpus of the replay reader's fuzz target.
// mksim --large-fuzz-seed <dir>: writes its seed larger than the reader's block.
#include "simkit/replay/DemoSim.h"
#include "simkit/track/DemoTrack.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--fuzz-seeds") == 0) {
        if (vra::simkit::WriteReplayFuzzSeeds(argv[2])) return 0;
        std::fprintf(stderr, "mksim: cannot write the seeds to %s\n", argv[2]);
        return 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "--large-fuzz-seed") == 0) {
        if (vra::simkit::WriteLargeReplayFuzzSeed(argv[2])) return 0;
        std::fprintf(stderr, "mksim: cannot write the large seed to %s\n", argv[2]);
        return 1;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr,
                     "usage: mksim <folder>\n       mksim --fuzz-seeds <dir>\n       mksim --large-fuzz-seed <dir>\n");
        return 2;
    }
    if (!vra::simkit::WriteDemoSim(argv[1]) || !vra::simkit::WriteDemoTrack(argv[1])) {
        std::fprintf(stderr, "mksim: cannot write the demo simulation to %s\n", argv[1]);
        return 1;
    }
    return 0;
}
