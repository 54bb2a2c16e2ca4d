#include "core/laps/SimFolders.h"

#include "core/base/FileUtil.h"
#include "core/laps/ReplayDatabase.h"

#include <string>

namespace vra {

namespace {

std::filesystem::path Child(const std::filesystem::path& base, std::string_view name) {
    if (auto found = FindCaseInsensitive(base, name)) return *found;
    return base / std::string(name);
}

}  // namespace

std::filesystem::path ReplayFolder(const std::filesystem::path& simFolder) {
    return Child(simFolder, "replay");
}

std::filesystem::path DatabaseFolder(const std::filesystem::path& simFolder) {
    return Child(ReplayFolder(simFolder), kDatabaseFolderName);
}

}  // namespace vra
