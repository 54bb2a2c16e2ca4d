#include "gui/replay/ChooselapPrompts.h"

#include "gui/replay/Chooselap.h"

namespace vra {

std::optional<vra::LapChoice> ChooselapPrompts::chooseLap(const vra::LapChoiceRequest& request) {
    if (!request.drivers) return std::nullopt;
    Chooselap dialog(request, *this, waitBox_, parentWidget());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Result();
}

}  // namespace vra
