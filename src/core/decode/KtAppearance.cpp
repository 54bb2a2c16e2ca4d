#include "core/decode/KtAppearance.h"

#include "core/decode/KtException.h"
#include "core/decode/KtObjectFactory.h"
#include "core/decode/PtfCursor.h"

#include <fmt/format.h>

namespace vra {

namespace {
void Check(bool ok, int line, const char* text) {
    if (!ok) throw KtException(fmt::format("Error in file decode\\KtAppearance @ line {}{}", line, text));
}
}  // namespace

KtAppearance::KtAppearance(PtfCursor& pos, std::int32_t id) : KtObject(id) {
    Check(pos.I32() == 1, 21, "\nFirst value of Appearance is not a 1 which it should be.");
    Check(pos.I32() == 0, 33, "\nSecond value of Appearance is not a 0 which it should be.");
    Check(pos.I32() == 2, 45, "\nThird value of Appearance is not a 2 which it should be.");
    for (Slot& slot : slots_) slot.present = pos.Factory().ReadTexture(pos, slot.texture);
    for (double& v : values_) v = pos.F64();
    pos.Skip(76);
}

int KtAppearance::GetPresentSlotCount() const {
    int n = 0;
    for (const Slot& slot : slots_) n += slot.present ? 1 : 0;
    return n;
}

}  // namespace vra
