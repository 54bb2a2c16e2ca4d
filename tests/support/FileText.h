#pragma once
// A file's bytes as a string (empty when it cannot be read), for comparing
// what was written byte for byte; and all of a folder's files so.

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace vra::test {

inline std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Every file under a folder with its bytes (a folder as "/", a link as "->"
// and where it points, not followed), by its name relative to the folder.
inline std::map<std::string, std::string> FilesUnder(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
        std::string& entry = files[std::filesystem::relative(e.path(), folder).string()];
        if (e.is_symlink())
            entry = "->" + std::filesystem::read_symlink(e.path()).string();
        else
            entry = e.is_regular_file() ? ReadAll(e.path()) : "/";
    }
    return files;
}

}  // namespace vra::test
