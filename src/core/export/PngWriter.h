#pragma once
// Pictures as PNG files: 8-bit RGB and no time stamp, so that the same
// pixels always give the same bytes.

#include "core/base/RgbImage.h"

namespace vra {

class OutputSink;

class PngWriter {
public:
    // False when the picture is empty or the encoder or sink failed.
    static bool Write(const RgbImage& image, OutputSink& out);
};

}  // namespace vra
