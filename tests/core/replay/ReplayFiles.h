#pragma once
// Helpers of the replay tests: built replays, a scratch folder to write them to, and byte pokes for damaging them.

#include "core/base/FileUtil.h"
#include "core/replay/ReplayFormat.h"

#include "simkit/replay/ReplayBuilder.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vra::testing {

class TempDir : public test::ScratchDir {
public:
    TempDir() : ScratchDir("replay") {}
    std::filesystem::path write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        const auto p = path() / name;
        EXPECT_TRUE(WriteFileAtomic(p, bytes)) << p;
        return p;
    }
};

// A race on a 1000 m track; driver i laps in 8000 + 250 i ms from 2010 ms.
inline simkit::ReplayBuilder RaceReplay(int drivers = 3, int laps = 3) {
    simkit::ReplayBuilder b;
    b.drivers(drivers).trackLength(1000).session(Race, laps, 8000, 2010);
    return b;
}

inline void Poke32(std::vector<std::uint8_t>& v, std::uint64_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v.at(static_cast<std::size_t>(at) + i) = static_cast<std::uint8_t>(x >> (8 * i));
}
inline void Poke16(std::vector<std::uint8_t>& v, std::uint64_t at, std::uint16_t x) {
    v.at(static_cast<std::size_t>(at)) = static_cast<std::uint8_t>(x);
    v.at(static_cast<std::size_t>(at) + 1) = static_cast<std::uint8_t>(x >> 8);
}

}  // namespace vra::testing
