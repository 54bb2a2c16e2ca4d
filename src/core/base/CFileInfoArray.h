#pragma once
// Collecting the files of a folder that match a mask, optionally through all
// its sub-folders. Used to find replays, databases and the newest replay.
//
// The walk is safe on folders the user does not control (discs, shared
// drives): an unreadable folder is skipped, links to folders are not
// followed, and a folder reached twice (a bind mount, a loop) is walked once.
// Entries of one folder come in name order, so "the first listed" means the
// same thing on every machine.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vra {

class CFileInfo {
public:
    static constexpr std::uint32_t kAttributeFolder = 0x10;
    static constexpr std::uint32_t kAttributeNormal = 0x80;

    // Fills the record for the entry name inside folder.
    bool Create(const std::filesystem::path& folder, const std::string& name, std::uint32_t userValue = 0);

    const std::filesystem::path& GetFilePath() const { return path_; }
    // The name without folder and extension; the extension with its dot;
    // both together.
    std::string GetFileTitle() const;
    std::string GetFileExt() const;
    std::string GetFileName() const;

    std::uint32_t GetUserValue() const { return userValue_; }
    std::uint32_t GetAttributes() const { return attributes_; }
    bool IsFolder() const { return attributes_ != 0xFFFFFFFFu && (attributes_ & kAttributeFolder) != 0; }
    std::uint64_t GetLength() const { return size_; }
    // Seconds since 1970, 64-bit so that dates after 2038 stay right. The
    // creation time is the birth time where the file system keeps one, else
    // the last write time.
    std::int64_t GetCreationTime() const { return creationTime_; }
    std::int64_t GetLastAccessTime() const { return lastAccessTime_; }
    std::int64_t GetLastWriteTime() const { return lastWriteTime_; }

private:
    std::uint32_t userValue_ = 0;
    std::filesystem::path path_;
    std::uint32_t attributes_ = 0xFFFFFFFFu;
    std::uint64_t size_ = 0;
    std::int64_t creationTime_ = 0;
    std::int64_t lastAccessTime_ = 0;
    std::int64_t lastWriteTime_ = 0;
};

class CFileInfoArray {
public:
    // Where AddFile puts a new record.
    enum InsertMode : int {
        Append = 0,
        AscendingSize = 2,   // before the first record that is not smaller
        DescendingSize = 3,  // before the first record that is smaller
        AscendingPath = 4,   // before the first record whose path is not lower (bytes, case-sensitive)
        DescendingPath = 5,  // before the first record whose path is not higher
    };

    virtual ~CFileInfoArray() = default;

    // Adds the entries of folder matching mask; with recurse the sub-folders'
    // entries come first, folder by folder; with includeFolders the
    // sub-folders themselves are added too. Stops as soon as *stop is set;
    // counts every added entry into *counter. Returns the number added.
    int AddDir(const std::filesystem::path& folder, std::string_view mask, bool recurse, int insertMode,
               bool includeFolders, const std::atomic<bool>* stop = nullptr, std::atomic<int>* counter = nullptr);
    // Inserts the record as insertMode says; returns its index.
    virtual int AddFile(const CFileInfo& info, int insertMode);

    int GetSize() const { return static_cast<int>(items_.size()); }
    bool empty() const { return items_.empty(); }
    const CFileInfo& operator[](int i) const { return items_.at(static_cast<std::size_t>(i)); }
    const std::vector<CFileInfo>& items() const { return items_; }
    void RemoveAll() { items_.clear(); }

private:
    struct Walk;
    int addDir(Walk& walk, const std::filesystem::path& folder);

    std::vector<CFileInfo> items_;
};

// The files of folder (not its sub-folders) matching mask, in name order: the
// paths AddDir would add, without reading each file's size and times, for a
// caller that only opens them.
std::vector<std::filesystem::path> ListFiles(const std::filesystem::path& folder, std::string_view mask);

// Whether name matches a mask of "*" and "?" wildcards, ignoring ASCII case.
// "*.*" matches every name, as users of the simulation expect.
bool MatchesMask(std::string_view name, std::string_view mask);

}  // namespace vra
