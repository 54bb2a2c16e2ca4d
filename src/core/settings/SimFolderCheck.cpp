#include "core/settings/SimFolderCheck.h"

#include "core/base/FileUtil.h"

#include <system_error>

namespace vra {

std::optional<std::filesystem::path> FindSimExecutable(std::string_view simFolder) {
    // The folder may have been typed with a trailing separator of either kind.
    while (simFolder.size() > 1 && (simFolder.back() == '\\' || simFolder.back() == '/')) simFolder.remove_suffix(1);
    if (simFolder.empty()) return std::nullopt;
    auto found = FindCaseInsensitive(std::filesystem::path(std::string(simFolder)), kSimExecutableName);
    if (!found) return std::nullopt;
    std::error_code ec;
    if (std::filesystem::is_directory(*found, ec)) return std::nullopt;
    return found;
}

bool CheckSimExecutable(std::string_view simFolder, Prompts& prompts, const SettingsDialogRequest& request) {
    if (FindSimExecutable(simFolder)) return true;
    prompts.alert(kSimExecutableMissingText);
    prompts.editSettings(request);
    return false;
}

}  // namespace vra
