#include "core/document/TrackmapExport.h"

#include "core/base/FileUtil.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/document/ReplayFiles.h"
#include "core/platform/Prompts.h"

#include <system_error>
#include <utility>

namespace vra {

std::filesystem::path WithExtension(std::filesystem::path path, std::string_view extension) {
    const std::string name = ToUpperAscii(path.filename().string());
    const std::string ext = ToUpperAscii(extension);
    if (name.size() < ext.size() || name.compare(name.size() - ext.size(), ext.size(), ext) != 0)
        path += std::string(extension);
    return path;
}

std::optional<std::filesystem::path> AskSavePath(Prompts& prompts, SaveFileRequest request,
                                                 std::string_view extension) {
    for (;;) {
        const auto chosen = prompts.saveFile(request);
        if (!chosen || chosen->empty()) return std::nullopt;
        const std::filesystem::path path = WithExtension(*chosen, extension);
        std::error_code ec;
        if (path == *chosen || !std::filesystem::exists(path, ec)) return path;
        if (prompts.messageText(ShownText().FileName(path.filename()).Text(kReplaceQuestion), {}, Icon::Warning,
                                Buttons::YesNo) == Button::Yes)
            return path;
        request.initialFolder = chosen->parent_path();
        request.defaultName = ShownText().FileName(chosen->filename());
    }
}

std::optional<std::filesystem::path> AskTrackmapBmpPath(const CRpyGraphDoc& document, Prompts& prompts) {
    if (!document.TrackLoaded() || !document.GetTrackPath()) {
        prompts.alert(kNoTrackLoadedText);
        return std::nullopt;
    }
    SaveFileRequest request;
    request.initialFolder = ReplayFolder(document.SimFolder());
    request.defaultName = SafeFileName(document.Title() + ".bmp");
    request.filters = {{"Bitmap files (*.bmp)", "*.bmp"}};
    return AskSavePath(prompts, std::move(request), ".bmp");
}

}  // namespace vra
