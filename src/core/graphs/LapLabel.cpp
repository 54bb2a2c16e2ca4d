#include "core/graphs/LapLabel.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/replay/Drivers.h"
#include "core/text/LapTime.h"

namespace vra {

std::string LapLabel(const LapSlot& slot) {
    if (!slot.drivers || slot.driver < 0 || std::size_t(slot.driver) >= slot.drivers->drivers.size()) return {};
    const Drivers::Driver& d = slot.drivers->drivers[std::size_t(slot.driver)];
    std::string text;
    if (!d.firstName.empty()) text = d.firstName.substr(0, 1) + " ";
    text += d.lastName + " ";
    if (slot.session >= 0 && slot.session < kSessionKinds)
        text += FormatLapTime(slot.drivers->LapWordAt(slot.session, slot.driver, slot.lap));
    return text;
}

}  // namespace vra
