#pragma once
// The most-recently-used list of opened replays shown in the File menu, kept
// in the program's settings between runs. The newest entry comes first; a
// path opened again moves to the front instead of appearing twice.

#include "core/platform/SettingsStore.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vra {

class RecentFileList {
public:
    static constexpr std::size_t kDefaultSize = 7;

    explicit RecentFileList(std::size_t size = kDefaultSize) : size_(size) {}

    // Reads "File1".."FileN" from the program key; empty and missing values
    // end nothing: later entries still count.
    void ReadList(const SettingsStore& store);
    // Writes the list back in one batch, removing the names of slots now
    // empty; false when the store refused.
    bool WriteList(SettingsStore& store) const;
    // That batch, for a caller that stores more values with it.
    std::vector<SettingsChange> Changes() const;

    void Add(const std::string& path);
    void Remove(std::size_t index);

    std::size_t Size() const { return size_; }
    const std::vector<std::string>& Entries() const { return entries_; }

    static std::string ValueName(std::size_t index);

private:
    std::size_t size_;
    std::vector<std::string> entries_;
};

}  // namespace vra
