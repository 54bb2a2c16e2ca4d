#pragma once
// Units of the engine-block values as people outside the simulation read
// them. Each takes the single-precision value of a block and computes in
// double precision.

namespace vra {

constexpr double WattsToHorsepower(float watts) {
    return watts * 0.0013410219;
}
constexpr double CelsiusToFahrenheit(float celsius) {
    return celsius * 1.8 + 32;
}
constexpr double RadiansToDegrees(float radians) {
    return radians * 57.295826;
}

}  // namespace vra
