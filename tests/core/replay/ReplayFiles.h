#pragma once
// Helpers of the replay tests: built replays written to a temporary folder.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

namespace vra::testing {

// A folder of its own per test, removed afterwards.
class TempDir {
public:
    TempDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                (std::string("vra_replay_") + info->test_suite_name() + "_" + info->name() + "_" +
                 std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

    std::filesystem::path write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        const auto p = path_ / name;
        std::FILE* f = std::fopen(p.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        if (f) {
            if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return p;
    }

private:
    std::filesystem::path path_;
};

inline void Poke32(std::vector<std::uint8_t>& v, std::uint64_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v.at(static_cast<std::size_t>(at) + i) = static_cast<std::uint8_t>(x >> (8 * i));
}
inline void Poke16(std::vector<std::uint8_t>& v, std::uint64_t at, std::uint16_t x) {
    v.at(static_cast<std::size_t>(at)) = static_cast<std::uint8_t>(x);
    v.at(static_cast<std::size_t>(at) + 1) = static_cast<std::uint8_t>(x >> 8);
}

}  // namespace vra::testing
