#pragma once
// A picture as plain bytes: rows of 8-bit red, green and blue from the top,
// so that core writers need no drawing library.

#include <cstdint>
#include <vector>

namespace vra {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width x height x 3 bytes

    bool Valid() const {
        return width > 0 && height > 0 &&
               pixels.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
    }
};

}  // namespace vra
