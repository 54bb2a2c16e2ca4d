#include "core/document/TrackmapExport.h"

#include "core/base/FileUtil.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/document/ReplayFiles.h"
#include "core/platform/Prompts.h"

namespace vra {

std::filesystem::path WithExtension(std::filesystem::path path, std::string_view extension) {
    const std::string name = ToUpperAscii(path.filename().string());
    const std::string ext = ToUpperAscii(extension);
    if (name.size() < ext.size() || name.compare(name.size() - ext.size(), ext.size(), ext) != 0)
        path += std::string(extension);
    return path;
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
    auto chosen = prompts.saveFile(request);
    if (!chosen || chosen->empty()) return std::nullopt;
    return WithExtension(*chosen, ".bmp");
}

}  // namespace vra
