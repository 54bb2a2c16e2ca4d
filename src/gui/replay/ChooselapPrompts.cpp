#include "gui/replay/ChooselapPrompts.h"

#include "gui/platform/Cp1252.h"
#include "gui/replay/ChooseLapForReport.h"
#include "gui/replay/Chooselap.h"
#include "gui/replay/MergeParameters.h"

#include <QFile>

namespace vra {

std::optional<vra::LapChoice> ChooselapPrompts::chooseLap(const vra::LapChoiceRequest& request) {
    if (!request.drivers) return std::nullopt;
    Chooselap dialog(request, *this, waitBox_, parentWidget());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Result();
}

int ChooselapPrompts::chooseLoadedLap(const vra::LoadedLapChoiceRequest& request) {
    std::array<QString, 5> texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = request.fileNames ? QFile::decodeName(QByteArray::fromStdString(request.texts[i]))
                                     : Cp1252ToQString(request.texts[i]);
    ChooseLapForReport dialog(request.title, texts, *this, parentWidget());
    if (dialog.exec() != QDialog::Accepted) return -1;
    return dialog.Choice();
}

std::optional<vra::MergeAdvantages> ChooselapPrompts::mergeParameters(const vra::MergeParametersRequest& request) {
    MergeParameters dialog(request, *this, parentWidget());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Advantages();
}

}  // namespace vra
