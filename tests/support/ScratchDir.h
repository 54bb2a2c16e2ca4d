#pragma once
// A fresh folder for one test, unique to the process so that parallel test
// runs (ctest -j, several build trees) never share files. Removed at the end.

#include <atomic>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace vra::test {

class ScratchDir {
public:
    explicit ScratchDir(const std::string& name) {
        static std::atomic<int> counter{0};
        // Directly in the temporary folder: a shared parent would stay
        // behind, and removing it could race with another run making its own.
        path_ = std::filesystem::temp_directory_path() /
                ("vra-test-" + name + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& child) const { return path_ / child; }

private:
    std::filesystem::path path_;
};

}  // namespace vra::test
