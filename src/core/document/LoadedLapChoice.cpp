#include "core/document/LoadedLapChoice.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/platform/Prompts.h"
#include "core/replay/Drivers.h"

namespace vra {

int ChooseLoadedLap(const CRpyGraphDoc& doc, Prompts& prompts) {
    if (doc.LapCount() == 0) {
        prompts.alert(kNoLapLoadedText);
        return -1;
    }
    LoadedLapChoiceRequest request;
    request.title = kChooseReportLapTitle;
    request.fileNames = true;
    int used = 0, first = -1;
    for (int i = 0; i < CRpyGraphDoc::kSlotMaximum; ++i) {
        if (!doc.IsSlotUsed(i)) continue;
        ++used;
        if (first < 0) first = i;
        const LapSlot& s = doc.Slot(i);
        // Never empty for a used slot: an empty text would hide its button.
        std::string name = s.drivers ? s.drivers->path.filename().string() : std::string();
        request.texts[static_cast<std::size_t>(i)] = name.empty() ? "?" : std::move(name);
    }
    if (used == 1) return first;
    const int chosen = prompts.chooseLoadedLap(request);
    // A button of a free slot chooses nothing.
    return doc.IsSlotUsed(chosen) ? chosen : -1;
}

}  // namespace vra
