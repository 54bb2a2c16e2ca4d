#include "gui/replay/ChooselapPrompts.h"

#include "gui/replay/ChooseLapForReport.h"
#include "gui/replay/Chooselap.h"
#include "gui/replay/MergeParameters.h"

namespace vra {

std::optional<vra::LapChoice> ChooselapPrompts::chooseLap(const vra::LapChoiceRequest& request) {
    if (!request.drivers) return std::nullopt;
    Chooselap dialog(request, *this, waitBox_, parentWidget());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Result();
}

int ChooselapPrompts::chooseLoadedLap(const vra::LoadedLapChoiceRequest& request) {
    ChooseLapForReport dialog(request.title, request.texts, *this, parentWidget());
    if (dialog.exec() != QDialog::Accepted) return -1;
    return dialog.Choice();
}

std::optional<vra::MergeAdvantages> ChooselapPrompts::mergeParameters(const vra::MergeParametersRequest& request) {
    MergeParameters dialog(request, *this, parentWidget());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Advantages();
}

}  // namespace vra
