#pragma once
// How a band of track looks: up to seven textures. The number of slots
// present decides how many slot records follow a texture-coordinates
// reference in the objects that use the appearance.

#include "core/decode/CountedPtr.h"
#include "core/decode/KtObject.h"
#include "core/decode/KtTexture.h"

#include <array>
#include <cstdint>

namespace vra {

class PtfCursor;

class KtAppearance : public KtObject {
public:
    static constexpr int kSlots = 7;

    struct Slot {
        CountedPtr<KtTexture> texture;
        bool present = false;
    };

    KtAppearance(PtfCursor& pos, std::int32_t id);

    const std::array<Slot, kSlots>& GetSlots() const { return slots_; }
    bool IsSlotPresent(int slot) const { return slot >= 0 && slot < kSlots && slots_[slot].present; }
    int GetPresentSlotCount() const;
    const std::array<double, 3>& GetValues() const { return values_; }

private:
    std::array<Slot, kSlots> slots_;
    std::array<double, 3> values_{};
};

}  // namespace vra
