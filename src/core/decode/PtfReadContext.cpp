#include "core/decode/PtfReadContext.h"

#include "core/base/ByteCursor.h"
#include "core/base/RoundToInt.h"
#include "core/decode/KtException.h"

#include <fmt/format.h>

#include <climits>
#include <cmath>
#include <cstring>

namespace vra {

PtfReadContext& PtfReadContext::Instance() {
    static PtfReadContext context;
    return context;
}

std::int32_t PtfReadContext::ReadInt32(const std::uint8_t* p) {
    return LoadI32(p);
}

double PtfReadContext::ReadDouble(const std::uint8_t* p) {
    double v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

double PtfReadContext::ReadFloat(const std::uint8_t* p) {
    float v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

long PtfReadContext::FileLength(std::FILE* file) {
    if (!file) return -1;
    const long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long end = std::ftell(file);
    std::fseek(file, here, SEEK_SET);
    return end;
}

int PtfReadContext::RoundToInt(double x) {
    return vra::RoundToInt(x);
}

void PtfReadContext::HsvToRgb(float h, float s, float v, float& r, float& g, float& b) {
    r = g = b = v;
    if (s == 0) return;
    if (!std::isfinite(h)) h = 0;
    h -= std::floor(h);  // wrap into [0, 1); 1 becomes 0
    const float h6 = h * 6;
    int i = static_cast<int>(std::floor(h6));
    if (i > 5) i = 5;
    const float f = h6 - static_cast<float>(i);
    const float p = v * (1 - s);
    const float q = v * (1 - s * f);
    const float t = v * (1 - s * (1 - f));
    switch (i) {
        case 0:
            r = v;
            g = t;
            b = p;
            break;
        case 1:
            r = q;
            g = v;
            b = p;
            break;
        case 2:
            r = p;
            g = v;
            b = t;
            break;
        case 3:
            r = p;
            g = q;
            b = v;
            break;
        case 4:
            r = t;
            g = p;
            b = v;
            break;
        default:
            r = v;
            g = p;
            b = q;
            break;
    }
}

void PtfReadContext::ThrowKtException(const char* sourceFile, int line, const std::string& detail) {
    throw KtException(fmt::format("Error reported in {} near line {}\nError message:\n{}", sourceFile, line, detail));
}

}  // namespace vra
