#include "core/document/TrackmapExport.h"

#include "core/base/FileUtil.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/document/ReplayFiles.h"
#include "core/platform/Prompts.h"

#include <utility>

namespace vra {

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
