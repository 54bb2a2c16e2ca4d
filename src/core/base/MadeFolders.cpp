#include "core/base/MadeFolders.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace vra {

namespace fs = std::filesystem;

MadeFolders::~MadeFolders() {
    remove();
}

bool MadeFolders::makeOne(const fs::path& folder, std::error_code& error) {
    error.clear();
    if (::mkdir(folder.c_str(), 0777) == 0) {
        made_.push_back(folder);
        return true;
    }
    if (errno != EEXIST) {
        error.assign(errno, std::generic_category());
        return false;
    }
    // Something was there already: fine when it is a folder or leads to one.
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) {
        error.assign(errno, std::generic_category());
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        error = std::make_error_code(std::errc::not_a_directory);
        return false;
    }
    return true;
}

bool MadeFolders::makeAll(const fs::path& folder, std::error_code& error) {
    error.clear();
    // Component by component from the top, "." and ".." as they are written:
    // each is made or found by the system itself, so that what counts as
    // made is exactly what was made.
    fs::path at;
    for (const fs::path& part : folder) {
        if (part.empty()) continue;
        at /= part;
        if (!makeOne(at, error)) return false;
    }
    return true;
}

void MadeFolders::remove() {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) ::rmdir(it->c_str());
    made_.clear();
}

}  // namespace vra
