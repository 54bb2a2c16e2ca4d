#pragma once
// Folders made for files still to come, and taken away again when those files
// never come. Only a folder that this process's own mkdir made counts as
// made: whatever stood on the path before, a folder, a file or a link
// (dangling or not), is the user's and stays as it was. Taking away is rmdir
// alone, the deepest folder first, so that a folder someone filled meanwhile
// stays too. A stop signal takes them away as well (core/base/StopCleanup.h).
//
//     MadeFolders made;
//     bool ok = made.makeAll(folder, error);   // every missing folder on the way
//     ok = ok && WriteTheFiles();
//     if (ok) made.keep();                     // otherwise they go with made

#include <filesystem>
#include <system_error>
#include <vector>

namespace vra {

class MadeFolders {
public:
    MadeFolders() = default;
    // Takes away the folders made unless they were kept.
    ~MadeFolders();
    MadeFolders(const MadeFolders&) = delete;
    MadeFolders& operator=(const MadeFolders&) = delete;

    // Makes folder and every missing folder above it, one at a time. False,
    // with the system's reason, when one cannot be made or what stands on the
    // way is not a folder (a link is followed: a dangling one fails with the
    // reason its target cannot be reached); the folders made before stay
    // recorded.
    bool makeAll(const std::filesystem::path& folder, std::error_code& error);
    // Makes folder alone, when it is missing; its parent must exist. False as
    // makeAll(). True when a folder stands there now, made here or not.
    bool makeOne(const std::filesystem::path& folder, std::error_code& error);

    // They stay: nothing is taken away any more.
    void keep();
    // Takes away the folders made that are empty, the deepest first.
    void remove();

private:
    struct Made {
        std::filesystem::path folder;
        // Its entry among what a stop signal removes.
        int stopEntry;
    };
    // In the order they were made.
    std::vector<Made> made_;
};

}  // namespace vra
