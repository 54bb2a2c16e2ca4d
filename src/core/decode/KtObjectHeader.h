#pragma once
// The three int32 values that open every object body: 1, 0 and the version
// (or a fixed third value for the classes without a version).

#include <cstdint>
#include <initializer_list>

namespace vra {

class PtfCursor;

class KtObjectHeader {
public:
    struct Checks {
        const char* className;  // without the "Kt" prefix, as in the messages
        const char* source;     // reporting unit, e.g. "decode\\KtTexture"
        int firstLine;
        int secondLine;
        int versionLine;
        const char* secondPrefix = "";  // put before "Second value of"
    };

    // Reads and checks the header; returns the version. The version message
    // lists the accepted versions as "a or b" / "a, b or c".
    static std::int32_t Read(PtfCursor& pos, const Checks& checks, std::initializer_list<std::int32_t> versions);

    // For the classes whose third value is fixed instead of a version:
    // "Third value of <class> is v, it should be <expected>" at versionLine.
    static void ReadFixed(PtfCursor& pos, const Checks& checks, std::int32_t expectedThird);

    // Variant of the version message: its offset line reads "@ 0x = ".
    static std::int32_t ReadTrackHeader(PtfCursor& pos, const Checks& checks);
};

}  // namespace vra
