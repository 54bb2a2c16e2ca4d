#pragma once
// A drawing surface that draws nothing, for runs that only walk the geometry
// (fuzzing, timing): every point maps to the device origin unless a subclass
// maps it.

#include "core/track/CoreDisplay.h"

namespace vra::test {

using NullDisplay = BlankDisplay;

}  // namespace vra::test
