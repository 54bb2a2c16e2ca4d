#include "core/document/ReplayFiles.h"

#include "core/base/FileUtil.h"

#include <system_error>
#include <utility>

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

std::filesystem::path WithExtension(std::filesystem::path path, std::string_view extension, ExtensionRule rule) {
    // Only the file's own name counts: a folder called "x.rpy" is no extension.
    // Case does not matter, as on the simulation's home file system.
    const std::string name = ToUpperAscii(path.filename().string());
    const std::string ext = ToUpperAscii(extension);
    const bool has = rule == ExtensionRule::InName
                         ? name.find(ext) != std::string::npos
                         : name.size() >= ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0;
    if (!has) path += std::string(extension);
    return path;
}

std::optional<std::filesystem::path> AskSavePath(Prompts& prompts, SaveFileRequest request, std::string_view extension,
                                                 ExtensionRule rule) {
    for (;;) {
        const auto chosen = prompts.saveFile(request);
        if (!chosen || chosen->empty()) return std::nullopt;
        const std::filesystem::path path = WithExtension(*chosen, extension, rule);
        std::error_code ec;
        // The dialog asked about the name as typed; an appended name is another one.
        if (path == *chosen || !std::filesystem::exists(path, ec)) return path;
        if (prompts.messageText(ShownText().FileName(path.filename()).Text(kReplaceQuestion), {}, Icon::Warning,
                                Buttons::YesNo) == Button::Yes)
            return path;
        // No: back to the dialog with the name as the user left it.
        request.initialFolder = chosen->parent_path();
        request.defaultName = ShownText().FileName(chosen->filename());
    }
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
    return AskSavePath(prompts, std::move(request), extension, ExtensionRule::InName);
}

bool IsSameFile(const std::filesystem::path& source, const std::filesystem::path& destination) {
    if (source.string() == destination.string()) return true;
    std::error_code ec;
    if (!std::filesystem::exists(destination, ec)) return false;
    return std::filesystem::equivalent(source, destination, ec) && !ec;
}

}  // namespace vra
