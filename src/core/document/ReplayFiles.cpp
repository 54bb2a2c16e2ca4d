#include "core/document/ReplayFiles.h"

#include "core/base/FileUtil.h"

namespace vra {

std::filesystem::path ReplayFolder(const std::string& simFolder) {
    const std::filesystem::path base(simFolder);
    if (auto found = ResolveCaseInsensitive(base, "replay")) {
        std::error_code ec;
        if (std::filesystem::is_directory(*found, ec)) return *found;
    }
    return base;
}

std::string SafeFileName(std::string_view name) {
    std::string out(name);
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) c = '_';
    }
    return out;
}

std::optional<std::filesystem::path> AskDestination(Prompts& prompts, const std::filesystem::path& folder,
                                                    const ShownText& defaultName, const FileFilter& filter,
                                                    std::string_view extension) {
    SaveFileRequest request;
    request.initialFolder = folder;
    for (const ShownText::Part& part : defaultName.Parts()) {
        if (part.fileName)
            request.defaultName.FileName(SafeFileName(part.bytes));
        else
            request.defaultName.Text(SafeFileName(part.bytes));
    }
    request.filters = {filter};
    for (;;) {
        auto chosen = prompts.saveFile(request);
        if (!chosen || chosen->empty()) return std::nullopt;
        // Only the file's own name counts: a folder called "x.rpy" is no extension.
        // Case does not matter, as on the simulation's home file system.
        const std::string file = ToUpperAscii(chosen->filename().string());
        if (file.find(ToUpperAscii(extension)) != std::string::npos) return chosen;
        // The dialog asked about the name as typed; the name written is another one.
        const std::string typed = chosen->filename().string();
        *chosen += std::string(extension);
        std::error_code ec;
        if (!std::filesystem::exists(*chosen, ec)) return chosen;
        if (prompts.messageText(ShownText().FileName(chosen->filename()).Text(kReplaceQuestion), {}, Icon::Warning,
                                Buttons::YesNo) == Button::Yes)
            return chosen;
        // No: back to the dialog with the name as the user left it.
        request.initialFolder = chosen->parent_path();
        request.defaultName = ShownText().FileName(typed);
    }
}

bool IsSameFile(const std::filesystem::path& source, const std::filesystem::path& destination) {
    if (source.string() == destination.string()) return true;
    std::error_code ec;
    if (!std::filesystem::exists(destination, ec)) return false;
    return std::filesystem::equivalent(source, destination, ec) && !ec;
}

}  // namespace vra
