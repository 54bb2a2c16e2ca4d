#pragma once
// Least-squares polynomial of up to 21 coefficients over (x, y) points.

#include "core/base/Point2D.h"

#include <array>
#include <span>
#include <string>

namespace vra {

class CPolynomialSolver {
public:
    static constexpr int kMaxCoefficients = 21;

    virtual ~CPolynomialSolver() = default;

    // Fits sum coef[c] x^c, c = 0 .. m - 1. Fails for m outside 1 .. 21, for
    // fewer distinct x values than coefficients (the system is singular, and
    // rounding must not decide otherwise) and for a coefficient that is not
    // a finite number.
    bool Fit(std::span<const Point2D> points, int m);
    // Gauss-Jordan elimination with partial pivoting, in place, over an
    // m x m row-major matrix.
    static bool Solve(std::span<double> matrix, std::span<double> v, int m);
    double Evaluate(double x) const;

    int count = 0;
    std::array<double, kMaxCoefficients> coef{};
};

// The fitted polynomial as the chart's trend label shows it: every term
// whose coefficient is not exactly 0, each but the last term's slot
// followed by "+" and a line break.
std::string PolynomialLabel(const CPolynomialSolver& solver);

}  // namespace vra
