#pragma once
// A counted list of references: the count, and when it is not 0 the list
// word and that many references. Null references are not added, so the
// list may be shorter than its count. Every reference takes at least 4
// bytes, so a huge count ends at the end of the image.

#include "core/decode/CountedPtr.h"
#include "core/decode/KtObjectFactory.h"
#include "core/decode/PtfCursor.h"

#include <cstdint>
#include <vector>

namespace vra {

template <typename T>
void ReadCountedList(PtfCursor& pos, std::uint32_t& count, std::int32_t& word, std::vector<CountedPtr<T>>& list,
                     bool (KtObjectFactory::*read)(PtfCursor&, CountedPtr<T>&)) {
    count = pos.U32();
    if (count == 0) return;
    word = pos.I32();
    for (std::uint32_t i = 0; i < count; ++i) {
        CountedPtr<T> item;
        if ((pos.Factory().*read)(pos, item)) list.push_back(std::move(item));
    }
}

}  // namespace vra
