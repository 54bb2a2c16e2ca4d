#include "core/base/CFileInfoArray.h"

#include <algorithm>
#include <cctype>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <system_error>
#include <utility>

namespace vra {

namespace {

char Fold(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Iterative wildcard match with one backtrack point: linear in practice and
// never recursive, whatever the mask.
bool WildcardMatch(std::string_view name, std::string_view mask) {
    std::size_t n = 0, m = 0;
    std::size_t starM = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || (mask[m] != '*' && Fold(mask[m]) == Fold(name[n])))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starM = m++;
            starN = n;
        } else if (starM != std::string_view::npos) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

// The sub-folders and files of folder, each in name order; false when the
// folder cannot be read. A link to a folder is neither walked nor listed: on
// a disc or a shared drive it may point anywhere, up to its own parent.
bool ListFolder(const std::filesystem::path& folder, std::vector<std::string>& folders,
                std::vector<std::string>& files) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::filesystem::directory_entry& entry = *it;
        // The entry's own type as the listing gave it, without a stat of
        // every name; a file system that does not tell it is asked.
        std::error_code sec;
        const bool link = entry.is_symlink(sec);
        if (sec) continue;
        const std::string name = entry.path().filename().string();
        if (link) {
            const auto target = entry.status(sec);
            if (!sec && std::filesystem::is_regular_file(target)) files.push_back(name);
            continue;
        }
        // Only folders and plain files: a pipe or a device named like a
        // replay would block or never end when read.
        if (entry.is_directory(sec))
            folders.push_back(name);
        else if (!sec && entry.is_regular_file(sec))
            files.push_back(name);
    }
    if (ec && folders.empty() && files.empty()) return false;
    std::sort(folders.begin(), folders.end());
    std::sort(files.begin(), files.end());
    return true;
}

}  // namespace

std::vector<std::filesystem::path> ListFiles(const std::filesystem::path& folder, std::string_view mask) {
    std::vector<std::string> folders, files;
    std::vector<std::filesystem::path> paths;
    if (!ListFolder(folder, folders, files)) return paths;
    for (const std::string& name : files)
        if (MatchesMask(name, mask)) paths.push_back(folder / name);
    return paths;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
    if (mask == "*.*" || mask == "*") return true;
    return WildcardMatch(name, mask);
}

bool CFileInfo::Create(const std::filesystem::path& folder, const std::string& name, std::uint32_t userValue) {
    userValue_ = userValue;
    path_ = folder / name;
    struct statx sx {};
    if (::statx(AT_FDCWD, path_.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0) {
        attributes_ = 0xFFFFFFFFu;
        return false;
    }
    attributes_ = S_ISDIR(sx.stx_mode) ? kAttributeFolder : kAttributeNormal;
    size_ = S_ISDIR(sx.stx_mode) ? 0 : sx.stx_size;
    lastWriteTime_ = sx.stx_mtime.tv_sec;
    lastAccessTime_ = sx.stx_atime.tv_sec;
    creationTime_ = (sx.stx_mask & STATX_BTIME) ? sx.stx_btime.tv_sec : lastWriteTime_;
    return true;
}

std::string CFileInfo::GetFileTitle() const {
    const std::string name = GetFileName();
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string CFileInfo::GetFileExt() const {
    const std::string name = GetFileName();
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot);
}

std::string CFileInfo::GetFileName() const {
    return path_.filename().string();
}

struct CFileInfoArray::Walk {
    std::string mask;
    bool recurse = false;
    int insertMode = 0;
    bool includeFolders = false;
    const std::atomic<bool>* stop = nullptr;
    std::atomic<int>* counter = nullptr;
    std::set<std::pair<std::uint64_t, std::uint64_t>> visited;  // (device, inode)

    bool stopped() const { return stop && stop->load(); }
};

int CFileInfoArray::AddDir(const std::filesystem::path& folder, std::string_view mask, bool recurse, int insertMode,
                           bool includeFolders, const std::atomic<bool>* stop, std::atomic<int>* counter) {
    Walk walk;
    walk.mask = std::string(mask);
    walk.recurse = recurse;
    walk.insertMode = insertMode;
    walk.includeFolders = includeFolders;
    walk.stop = stop;
    walk.counter = counter;
    return addDir(walk, folder);
}

int CFileInfoArray::addDir(Walk& walk, const std::filesystem::path& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return 0;
    if (!walk.visited.insert({static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)}).second)
        return 0;

    std::vector<std::string> folders, files;
    if (!ListFolder(folder, folders, files)) return 0;  // unreadable: skipped

    int added = 0;
    for (const std::string& name : folders) {
        if (walk.stopped()) return added;
        if (walk.includeFolders) {
            CFileInfo info;
            if (info.Create(folder, name)) {
                AddFile(info, walk.insertMode);
                ++added;
                if (walk.counter) ++*walk.counter;
            }
        }
        if (walk.recurse) added += addDir(walk, folder / name);
    }
    for (const std::string& name : files) {
        if (walk.stopped()) return added;
        if (!MatchesMask(name, walk.mask)) continue;
        CFileInfo info;
        if (!info.Create(folder, name) || info.IsFolder()) continue;
        AddFile(info, walk.insertMode);
        ++added;
        if (walk.counter) ++*walk.counter;
    }
    return added;
}

int CFileInfoArray::AddFile(const CFileInfo& info, int insertMode) {
    auto at = items_.end();
    switch (insertMode) {
        case AscendingSize:
            at = std::find_if(items_.begin(), items_.end(),
                              [&](const CFileInfo& e) { return e.GetLength() >= info.GetLength(); });
            break;
        case DescendingSize:
            at = std::find_if(items_.begin(), items_.end(),
                              [&](const CFileInfo& e) { return e.GetLength() < info.GetLength(); });
            break;
        case AscendingPath:
            at = std::find_if(items_.begin(), items_.end(), [&](const CFileInfo& e) {
                return e.GetFilePath().native().compare(info.GetFilePath().native()) >= 0;
            });
            break;
        case DescendingPath:
            at = std::find_if(items_.begin(), items_.end(), [&](const CFileInfo& e) {
                return e.GetFilePath().native().compare(info.GetFilePath().native()) <= 0;
            });
            break;
        default:
            break;
    }
    return static_cast<int>(items_.insert(at, info) - items_.begin());
}

}  // namespace vra
