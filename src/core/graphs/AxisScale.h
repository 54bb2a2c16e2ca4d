#pragma once
// The mapping between pixels and values along one axis, and the choice of
// "nice" tick marks over it, shared by the plot panel and the rulers.

#include <vector>

namespace vra {

struct AxisTicks {
    int exponent = 0;
    double step = 0.0;  // in units of 10^exponent
    std::vector<double> positions;
    std::vector<double> values;
    int Count() const { return static_cast<int>(values.size()); }
};

class AxisScale {
public:
    AxisScale() = default;
    AxisScale(double p1, double p2, double u1, double u2);

    double P1() const { return p1_; }
    double P2() const { return p2_; }
    double U1() const { return u1_; }
    double U2() const { return u2_; }
    double K() const { return k_; }

    // Not truncated. An empty range or an empty pixel span maps everything to
    // the first pixel.
    double ToPixelF(double v) const;
    // Truncated toward zero for drawing; held within +-2^30 so that far-off
    // or non-finite values still give a drawable coordinate.
    int ToPixel(double v) const;
    double ToValue(double p) const;

    // Ticks for n labels; no ticks for a range that cannot be divided.
    AxisTicks ComputeTicks(int n) const;

    static int Magnitude(double v);
    static double ChooseStep(int n, double a, double b);

private:
    double p1_ = 0, p2_ = 0, u1_ = 0, u2_ = 0, k_ = 0;
};

// Clamps a pixel coordinate to what a painter can take.
int ClampPixel(double p);

}  // namespace vra
