#pragma once
// Helpers of the replay tests: built replays written to a scratch folder, and
// byte pokes for damaging them.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ScratchDir.h"
#include "base/FileUtil.h"

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

inline void Poke32(std::vector<std::uint8_t>& v, std::uint64_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v.at(static_cast<std::size_t>(at) + i) = static_cast<std::uint8_t>(x >> (8 * i));
}
inline void Poke16(std::vector<std::uint8_t>& v, std::uint64_t at, std::uint16_t x) {
    v.at(static_cast<std::size_t>(at)) = static_cast<std::uint8_t>(x);
    v.at(static_cast<std::size_t>(at) + 1) = static_cast<std::uint8_t>(x >> 8);
}

}  // namespace vra::testing
