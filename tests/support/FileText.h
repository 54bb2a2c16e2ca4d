#pragma once
// A file's bytes as a string (empty when it cannot be read), for comparing
// what was written byte for byte.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace vra::test {

inline std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace vra::test
