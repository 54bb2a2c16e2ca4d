#pragma once
// A name taken from a replay (a track's: Windows-1252 bytes) as it is spelt
// on disk. A simulation folder copied from Windows keeps those bytes on some
// file systems and has its names turned into UTF-8 on others; both are found.

#include <filesystem>
#include <optional>
#include <string_view>

namespace vra {

// The entry of dir named name, ASCII case ignored: spelt with the replay's
// own bytes or, when there is none such and the name is not plain ASCII,
// with the same characters in UTF-8.
std::optional<std::filesystem::path> FindReplayNamed(const std::filesystem::path& dir, std::string_view name);

}  // namespace vra
