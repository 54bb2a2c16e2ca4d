#include "core/settings/RecentFileList.h"

#include <fmt/format.h>

#include <algorithm>

namespace vra {

std::string RecentFileList::ValueName(std::size_t index) {
    return fmt::format("File{}", index + 1);
}

void RecentFileList::ReadList(const SettingsStore& store) {
    entries_.clear();
    for (std::size_t i = 0; i < size_; ++i) {
        auto value = store.readString(SettingsKey::Program, ValueName(i));
        if (value && !value->empty() && std::find(entries_.begin(), entries_.end(), *value) == entries_.end())
            entries_.push_back(*value);
    }
}

std::vector<SettingsChange> RecentFileList::Changes() const {
    std::vector<SettingsChange> changes;
    for (std::size_t i = 0; i < size_; ++i) {
        if (i < entries_.size())
            changes.push_back({ValueName(i), SettingsValue{entries_[i]}});
        else
            changes.push_back({ValueName(i), std::nullopt});
    }
    return changes;
}

bool RecentFileList::WriteList(SettingsStore& store) const {
    return store.apply(SettingsKey::Program, Changes());
}

void RecentFileList::Add(const std::string& path) {
    if (path.empty() || size_ == 0) return;
    auto it = std::find(entries_.begin(), entries_.end(), path);
    if (it != entries_.end()) entries_.erase(it);
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > size_) entries_.resize(size_);
}

void RecentFileList::Remove(std::size_t index) {
    if (index < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace vra
