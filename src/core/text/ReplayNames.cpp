#include "core/text/ReplayNames.h"

#include "core/base/FileUtil.h"
#include "core/text/WebText.h"

#include <algorithm>

namespace vra {

std::optional<std::filesystem::path> FindReplayNamed(const std::filesystem::path& dir, std::string_view name) {
    if (auto found = FindCaseInsensitive(dir, name)) return found;
    const bool ascii = std::ranges::all_of(name, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) return std::nullopt;
    return FindCaseInsensitive(dir, Cp1252ToUtf8(name));
}

}  // namespace vra
