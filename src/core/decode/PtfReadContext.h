#pragma once
// Value readers and small helpers shared by the track decoder and the
// geometry. The process-wide instance only records what the last load set
// (buffer start, track folder); decoding itself never depends on it, so a
// second load cannot disturb the objects of the first. The track folder
// that belongs to a loaded track is kept with that track's file object.

#include <cstdint>
#include <cstdio>
#include <string>

namespace vra {

class PtfReadContext {
public:
    static PtfReadContext& Instance();

    // Little-endian loads from an address the caller has bounds-checked.
    static std::int32_t ReadInt32(const std::uint8_t* p);
    static double ReadDouble(const std::uint8_t* p);
    static double ReadFloat(const std::uint8_t* p);

    const std::uint8_t* GetBufferStart() const { return bufferStart_; }
    void SetBufferStart(const std::uint8_t* start) { bufferStart_ = start; }
    const std::string& GetTrackFileName() const { return trackFileName_; }
    void SetTrackFileName(const std::string& name) { trackFileName_ = name; }

    // Length of an open file; the position is kept. -1 when it cannot be had.
    static long FileLength(std::FILE* file);
    // Half away from zero, saturated to the int range; NaN gives 0.
    static int RoundToInt(double x);
    // h, s, v in 0..1; h outside 0..1 is wrapped into it.
    static void HsvToRgb(float h, float s, float v, float& r, float& g, float& b);
    // Throws KtException with the "Error reported in" frame around detail.
    [[noreturn]] static void ThrowKtException(const char* sourceFile, int line, const std::string& detail);

private:
    const std::uint8_t* bufferStart_ = nullptr;
    std::string trackFileName_;
};

}  // namespace vra
