#pragma once
// The simulation's folders that hold replays, found whatever their case.

#include <filesystem>
#include <string_view>

namespace vra {

// simFolder/replay, found ignoring case; the plain join when there is none.
std::filesystem::path ReplayFolder(const std::filesystem::path& simFolder);
// The database folder under the replay folder, found ignoring case; the
// plain join (to be created) when there is none.
std::filesystem::path DatabaseFolder(const std::filesystem::path& simFolder);

}  // namespace vra
