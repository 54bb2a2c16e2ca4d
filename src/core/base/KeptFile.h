#pragma once
// A file that no writer of this process replaces while it is kept: the
// replay a batch run reads. It is known by its identity on the disk, not by
// a name, so that no name of an output reaches it: a link, a second (hard)
// name, or a path through a folder made only during the run. AtomicFile
// checks its target once the folders on the way stand and its links are
// followed, and refuses a kept file with KeptFileError().
//
//     const KeptFile kept(replay);   // for as long as the run writes
//     ... every output goes through AtomicFile ...

#include <filesystem>
#include <string_view>
#include <system_error>

struct stat;

namespace vra {

// The reason given for an output that is the kept file.
inline constexpr std::string_view kOutputIsReplayText = "The output file is this replay file itself!";

class KeptFile {
public:
    // Keeps the regular file at path (its links followed); nothing when there
    // is none: a pipe or a device is never replaced anyway.
    explicit KeptFile(const std::filesystem::path& path);
    ~KeptFile();
    KeptFile(const KeptFile&) = delete;
    KeptFile& operator=(const KeptFile&) = delete;

    // Whether the file st describes is kept by a live KeptFile.
    static bool IsKept(const struct stat& st);

private:
    bool kept_ = false;
    unsigned long long device_ = 0;
    unsigned long long inode_ = 0;
};

// The failure of a write aimed at a kept file; its message is
// kOutputIsReplayText.
std::error_code KeptFileError();
bool IsKeptFileError(std::error_code error);

}  // namespace vra
