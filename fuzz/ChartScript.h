#pragma once
// The byte language of the chart fuzz target, shared with its seed writer:
// each step is an operation byte followed by its operands.

#include <cstdint>

namespace vra::fuzz {

enum ChartOp : std::uint8_t {
    kSetData = 0,  // count, curve, x axis, y axis, count value bytes (255: 8 raw bytes follow)
    kLayout,       // width u16, height u16
    kSetRange,     // kind, axis, min, max, step (value bytes)
    kCommand,      // id - 40000
    kMove,         // x u16, y u16, left
    kButton,       // which (0 down, 1 up, 2 double, 3 right down, 4 right up), x u16, y u16
    kKey,          // key
    kDeleteKey,    //
    kDeleteCurve,  // index
    kFormat,       // kind, axis, length, bytes
    kLook,         // which, value
    kDerived,      // curve, which, parameter u16
    kResetAll,     //
    kObjects,      // which, a, b
    kArchive,      // which, length u16, bytes
    kOpCount
};

// Values the operands pick from; 255 reads a raw double instead.
inline constexpr double kValueTable[] = {0.0,    1.0,   -1.0,   0.5,       100.0,           -7.3, 1e15,
                                         1e-300, 1e308, -1e308, 45000.5,   45000.428530093, 2e6,  0.1,
                                         1e-9,   3.0,   10.2,   -657434.0, 2958465.0,       12.0, 34.5};

}  // namespace vra::fuzz
