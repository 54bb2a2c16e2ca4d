#include "core/document/CarNumberText.h"

#include <fmt/format.h>

namespace vra {

std::string CarNumberText(std::int16_t number) {
    std::string text = fmt::format("{}", number);
    std::size_t keep = text.size();
    if (number >= 3000)
        keep = 3;
    else if (number >= 2000 || number < 0)
        keep = 2;
    if (text.size() > keep) text.erase(0, text.size() - keep);
    return text;
}

}  // namespace vra
