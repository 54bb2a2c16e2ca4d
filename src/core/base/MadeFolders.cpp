#include "core/base/MadeFolders.h"

#include "core/base/StopCleanup.h"

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
    int failure = 0;
    {
        // A stop signal never falls between making the folder and registering it.
        const StopSignalHold hold;
        failure = ::mkdir(folder.c_str(), 0777) == 0 ? 0 : errno;
        if (failure == 0) made_.push_back({folder, RegisterStopCleanup(folder, true)});
    }
    if (failure == 0) return true;
    if (failure != EEXIST) {
        error.assign(failure, std::generic_category());
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

void MadeFolders::keep() {
    for (Made& made : made_) UnregisterStopCleanup(made.stopEntry);
    made_.clear();
}

void MadeFolders::remove() {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) ::rmdir(it->folder.c_str());
    keep();
}

}  // namespace vra
